#include "app/about_text.h"

#include <QStringList>

QString AboutText(int major, int minor, int revision) {
    return QStringList{
        QStringLiteral("Make 3D Anaglyphs from 2D images "),
        QStringLiteral("with a Single Click!"),
        QString(),
        QStringLiteral("Zarvik V%1.%2.%3").arg(major).arg(minor).arg(revision),
        QStringLiteral("Written by the Zarvik developers."),
        QStringLiteral("Questions and reports: see the README that comes with Zarvik."),
    }
        .join(QStringLiteral("\r\n"));
}

QString AboutText() {
    return AboutText(ZARVIK_VERSION_MAJOR, ZARVIK_VERSION_MINOR, ZARVIK_VERSION_PATCH);
}

#include "app/background_menu.h"

#include <QAction>
#include <QMenu>

namespace {

QAction* AddChoice(QMenu& menu, const char* name, const QString& caption) {
    QAction* action = menu.addAction(caption);
    action->setObjectName(QString::fromUtf8(name));
    action->setCheckable(true);
    return action;
}

}  // namespace

BackgroundMenu AddBackgroundMenu(QMenu& window) {
    BackgroundMenu m;
    m.mnuBackground = window.addMenu(QStringLiteral("Background"));
    m.mnuBackground->setObjectName(QStringLiteral("mnuBackground"));
    m.mnuBackground->menuAction()->setObjectName(QStringLiteral("mnuBackground"));
    m.mnuBackgroundWhite =
        AddChoice(*m.mnuBackground, "mnuBackgroundWhite", QStringLiteral("White"));
    m.mnuBackgroundBlack =
        AddChoice(*m.mnuBackground, "mnuBackgroundBlack", QStringLiteral("Black"));
    m.mnuBackgroundOther =
        AddChoice(*m.mnuBackground, "mnuBackgroundOther", QStringLiteral("Other..."));
    return m;
}

void ShowBackgroundCheck(const BackgroundMenu& menu, unsigned background) {
    menu.mnuBackgroundWhite->setChecked(background == 0xFFFFFF);
    menu.mnuBackgroundBlack->setChecked(background == 0x000000);
    menu.mnuBackgroundOther->setChecked(background != 0xFFFFFF && background != 0x000000);
}

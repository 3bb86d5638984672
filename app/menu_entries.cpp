#include "app/menu_entries.h"

#include <QMenu>
#include <QMenuBar>

QMenu* AddMenu(QMenuBar& bar, const char* name, const char* caption) {
    QMenu* menu = bar.addMenu(QString::fromUtf8(caption));
    menu->setObjectName(QString::fromUtf8(name));
    menu->menuAction()->setObjectName(QString::fromUtf8(name));
    return menu;
}

QMenu* AddSubmenu(QMenu& parent, const char* name, const char* caption) {
    QMenu* menu = parent.addMenu(QString::fromUtf8(caption));
    menu->setObjectName(QString::fromUtf8(name));
    menu->menuAction()->setObjectName(QString::fromUtf8(name));
    return menu;
}

QAction* AddEntry(QMenu& menu, const char* name, const QString& caption, bool checkable) {
    QAction* action = menu.addAction(caption);
    action->setObjectName(QString::fromUtf8(name));
    action->setCheckable(checkable);
    return action;
}

QAction* AddSeparator(QMenu& menu, const char* name) {
    QAction* separator = menu.addSeparator();
    separator->setObjectName(QString::fromUtf8(name));
    return separator;
}

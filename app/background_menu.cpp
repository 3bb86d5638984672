#include "app/background_menu.h"

#include <QAction>
#include <QMenu>

#include "app/menu_entries.h"

BackgroundMenu AddBackgroundMenu(QMenu& window) {
    BackgroundMenu m;
    m.mnuBackground = window.addMenu(QStringLiteral("Background"));
    m.mnuBackground->setObjectName(QStringLiteral("mnuBackground"));
    m.mnuBackground->menuAction()->setObjectName(QStringLiteral("mnuBackground"));
    m.mnuBackgroundWhite =
        AddEntry(*m.mnuBackground, "mnuBackgroundWhite", QStringLiteral("White"), true);
    m.mnuBackgroundBlack =
        AddEntry(*m.mnuBackground, "mnuBackgroundBlack", QStringLiteral("Black"), true);
    m.mnuBackgroundOther =
        AddEntry(*m.mnuBackground, "mnuBackgroundOther", QStringLiteral("Other..."), true);
    return m;
}

void ShowBackgroundCheck(const BackgroundMenu& menu, unsigned background) {
    menu.mnuBackgroundWhite->setChecked(background == 0xFFFFFF);
    menu.mnuBackgroundBlack->setChecked(background == 0x000000);
    menu.mnuBackgroundOther->setChecked(background != 0xFFFFFF && background != 0x000000);
}

#pragma once
// Window › Background: what transparent pixels of an opened picture are laid over.
class QAction;
class QMenu;

struct BackgroundMenu {
    QMenu* mnuBackground = nullptr;
    QAction* mnuBackgroundWhite = nullptr;
    QAction* mnuBackgroundBlack = nullptr;
    QAction* mnuBackgroundOther = nullptr;  // "Other...": a colour dialog
};

// Adds the submenu at the end of `window`; the three entries are checkable.
BackgroundMenu AddBackgroundMenu(QMenu& window);

// Checks the entry that names `background` (0xRRGGBB): White, Black or Other.
void ShowBackgroundCheck(const BackgroundMenu& menu, unsigned background);

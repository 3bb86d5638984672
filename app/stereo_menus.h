#pragma once
// The "Stereo" menu: how the two views become one picture. Each submenu is an
// option group indexed as in core/stereo_choices.h.
#include <array>

class QAction;
class QMenu;
class QMenuBar;

struct StereoMenus {
    QMenu* mnuStereo = nullptr;
    QMenu* mnuMethod = nullptr;
    std::array<QAction*, 4> mnuMethods{};  // "Colour", "Half-Colour", "Grey", "Dubois"
    QMenu* mnuGlasses = nullptr;
    std::array<QAction*, 3> mnuGlassesKinds{};  // "Red-Cyan", "Green-Magenta", "Amber-Blue"
    QMenu* mnuLayout = nullptr;
    std::array<QAction*, 6> mnuLayouts{};  // "Anaglyph", "Side by Side", ...
};

// Adds the menu at the end of the bar, its entries checkable and unchecked.
void AddStereoMenus(QMenuBar& bar, StereoMenus& menus);

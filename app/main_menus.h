#pragma once
// The main window's menu bar, entry by entry, named as the handlers know them.
// Option groups are arrays of checkable actions indexed from 0.
#include <array>

#include "app/background_menu.h"
#include "app/parallax_menus.h"
#include "app/scene_menus.h"
#include "app/stereo_menus.h"
#include "app/view_menus.h"

class QAction;
class QMenu;
class QMenuBar;
class QObject;

struct MainMenus {
    QMenu* mnuFile = nullptr;
    QAction* mnuFileOpen = nullptr;
    QAction* mnuFileSaveAs = nullptr;
    QAction* mnuFileSep1 = nullptr;
    QAction* mnuFileReload = nullptr;

    QMenu* mnuWindowFrame = nullptr;
    QMenu* mnuAddFrame = nullptr;
    std::array<QAction*, 2> mnuFrameYesNo{};  // "No", "Yes"
    QMenu* mnuFrameColor = nullptr;
    std::array<QAction*, 2> mnuBlackWhite{};  // "Black", "White"
    QMenu* mnuFrameType = nullptr;
    std::array<QAction*, 2> mnuFrameFull{};  // "Sides Only", "Full"
    BackgroundMenu background;               // Window › Background

    QMenu* mnuCues = nullptr;
    std::array<QAction*, 10> mnuCue{};
    SceneMenus scene;  // Cues › Scene

    QMenu* mnuBlurs = nullptr;
    std::array<QAction*, 6> mnuBlur{};

    QMenu* mnuWarpShift = nullptr;
    QAction* mnuWarp = nullptr;
    QAction* mnuShift = nullptr;
    QAction* mnuSetWarpShift = nullptr;
    QAction* mnuSep2 = nullptr;
    QMenu* mnuLens = nullptr;
    std::array<QAction*, 2> mnuRedBlue{};  // "Red - Blue", "Blue - Red"

    StereoMenus stereo;  // "Stereo", just before "Anaglyph"

    // Commands on the menu bar itself.
    QAction* mnuAnaglyph = nullptr;
    QAction* mnuDepthGrain = nullptr;
    QAction* mnuBatch = nullptr;  // "About"

    ParallaxMenus parallax;  // the scaled strength's entries in File and WarpDepth
    ViewMenus view;          // View, Open Recent, exports, Quit
};

// Fills the bar in display order. Every entry is enabled and unchecked, as designed;
// each action and menu carries its entry's name as object name.
MainMenus BuildMainMenus(QMenuBar& bar);

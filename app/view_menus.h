#pragma once
// The window's own commands, apart from the conversion's choices: the View menu
// (zoom, which stage is shown, the live result), and File's Open Recent, the exports
// of the other views and Quit.
#include <array>

class QAction;
class QMenu;
class QMenuBar;
struct MainMenus;

struct ViewMenus {
    QMenu* mnuView = nullptr;
    QAction* mnuZoomIn = nullptr;
    QAction* mnuZoomOut = nullptr;
    QAction* mnuFitToWindow = nullptr;
    QAction* mnuActualSize = nullptr;
    // "Original", "Depth Map", "Second View", "Result", on keys 1 to 4.
    std::array<QAction*, 4> mnuStage{};
    QAction* mnuLiveResult = nullptr;

    QMenu* mnuFileRecent = nullptr;
    QAction* mnuFileExportDepth = nullptr;
    QAction* mnuFileExportSecond = nullptr;
    QAction* mnuFileExportLeft = nullptr;
    QAction* mnuFileExportRight = nullptr;
    QAction* mnuFileQuit = nullptr;
};

// Adds the View menu after File, and the new File entries around the classic ones;
// also gives "Anaglyph" its key (F5) and the entries that need a word their tooltips.
void AddViewMenus(QMenuBar& bar, MainMenus& m);

#pragma once
// Cues › Scene: the classic depth from the cue alone, or the cue laid over a layout
// of the scene.
#include <array>

class QAction;
class QMenu;

struct SceneMenus {
    QMenu* mnuScene = nullptr;
    // "Classic", "Auto", "Landscape", "Portrait", "Flat", by core::Scene.
    std::array<QAction*, 5> mnuSceneChoice{};
};

// Adds the submenu at the end of the Cues menu.
void AddSceneMenus(QMenu& cues, SceneMenus& menus);

#pragma once
// The menu entries of the scaled strength: File › Open Depth Map and Close Depth Map,
// and under WarpDepth the Strength group and Screen Plane….
#include <array>

class QAction;
class QMenu;

// Classic, then the scaled strengths, in % of the picture's width.
inline constexpr std::array<double, 5> kStrengthPercents = {0, 1, 2, 3, 5};

struct ParallaxMenus {
    QAction* mnuOpenDepthMap = nullptr;
    QAction* mnuCloseDepthMap = nullptr;
    QMenu* mnuStrength = nullptr;
    std::array<QAction*, kStrengthPercents.size()> mnuStrengthLevel{};  // "Classic", "1 %", ...
    QAction* mnuScreenPlane = nullptr;
};

// Appends the entries to the File and WarpDepth menus.
void AddParallaxMenus(QMenu& file, QMenu& warp_depth, ParallaxMenus& menus);

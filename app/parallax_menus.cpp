#include "app/parallax_menus.h"

#include <QAction>
#include <QMenu>
#include <QString>

#include "app/menu_entries.h"

namespace {

QString StrengthCaption(double percent) {
    return percent == 0 ? QStringLiteral("Classic") : QStringLiteral("%1 %").arg(percent);
}

}  // namespace

void AddParallaxMenus(QMenu& file, QMenu& warp_depth, ParallaxMenus& menus) {
    menus.mnuOpenDepthMap = AddEntry(file, "mnuOpenDepthMap", QStringLiteral("Open &Depth Map"));
    menus.mnuCloseDepthMap = AddEntry(file, "mnuCloseDepthMap", QStringLiteral("Close Depth Map"));
    warp_depth.addSeparator()->setObjectName(QStringLiteral("mnuParallaxSep"));
    menus.mnuStrength = warp_depth.addMenu(QStringLiteral("Strength"));
    menus.mnuStrength->setObjectName(QStringLiteral("mnuStrength"));
    menus.mnuStrength->menuAction()->setObjectName(QStringLiteral("mnuStrength"));
    for (std::size_t i = 0; i < kStrengthPercents.size(); ++i) {
        menus.mnuStrengthLevel[i] = AddEntry(*menus.mnuStrength, "mnuStrengthLevel",
                                             StrengthCaption(kStrengthPercents[i]), true);
        menus.mnuStrengthLevel[i]->setObjectName(QStringLiteral("mnuStrengthLevel") +
                                                 QString::number(i));
    }
    menus.mnuScreenPlane = AddEntry(warp_depth, "mnuScreenPlane", QStringLiteral("Screen Plane…"));
}

#include "app/stereo_menus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QString>
#include <initializer_list>

#include "app/menu_entries.h"

void AddStereoMenus(QMenuBar& bar, StereoMenus& m) {
    m.mnuStereo = bar.addMenu(QStringLiteral("Stereo"));
    m.mnuStereo->setObjectName(QStringLiteral("mnuStereo"));
    m.mnuStereo->menuAction()->setObjectName(QStringLiteral("mnuStereo"));
    m.mnuMethod = AddSubmenu(*m.mnuStereo, "mnuMethod", "Method");
    m.mnuMethods =
        AddGroup<4>(*m.mnuMethod, "mnuMethods", {"Colour", "Half-Colour", "Grey", "Dubois"});
    m.mnuGlasses = AddSubmenu(*m.mnuStereo, "mnuGlasses", "Glasses");
    m.mnuGlassesKinds =
        AddGroup<3>(*m.mnuGlasses, "mnuGlassesKinds", {"Red-Cyan", "Green-Magenta", "Amber-Blue"});
    m.mnuLayout = AddSubmenu(*m.mnuStereo, "mnuLayout", "Layout");
    m.mnuLayouts = AddGroup<6>(*m.mnuLayout, "mnuLayouts",
                               {"Anaglyph", "Side by Side", "Cross-Eye", "Half Side by Side",
                                "Top-Bottom", "Half Top-Bottom"});
}

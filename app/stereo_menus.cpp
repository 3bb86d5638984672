#include "app/stereo_menus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QString>
#include <initializer_list>

namespace {

QMenu* AddSubmenu(QMenu& parent, const char* name, const char* caption) {
    QMenu* menu = parent.addMenu(QString::fromUtf8(caption));
    menu->setObjectName(QString::fromUtf8(name));
    menu->menuAction()->setObjectName(QString::fromUtf8(name));
    return menu;
}

template <std::size_t N>
std::array<QAction*, N> AddGroup(QMenu& menu, const char* name,
                                 std::initializer_list<const char*> captions) {
    std::array<QAction*, N> group{};
    std::size_t i = 0;
    for (const char* caption : captions) {
        group[i] = menu.addAction(QString::fromUtf8(caption));
        group[i]->setCheckable(true);
        group[i]->setObjectName(QString::fromUtf8(name) + QString::number(i));
        ++i;
    }
    return group;
}

}  // namespace

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

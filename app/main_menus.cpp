#include "app/main_menus.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QString>
#include <initializer_list>

#include "app/menu_entries.h"

#include "depth/gray_scale.h"

namespace {

void AddFileMenu(QMenuBar& bar, MainMenus& m) {
    m.mnuFile = AddMenu(bar, "mnuFile", "&File");
    m.mnuFileOpen = AddEntry(*m.mnuFile, "mnuFileOpen", QStringLiteral("&Open Picture"));
    m.mnuFileOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    m.mnuFileSaveAs = AddEntry(*m.mnuFile, "mnuFileSaveAs", QStringLiteral("&Save Result As"));
    m.mnuFileSaveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    m.mnuFileSep1 = AddSeparator(*m.mnuFile, "mnuFileSep1");
    m.mnuFileReload = AddEntry(*m.mnuFile, "mnuFileReload", QStringLiteral("&ReLoad"));
}

void AddWindowMenu(QMenuBar& bar, MainMenus& m) {
    m.mnuWindowFrame = AddMenu(bar, "mnuWindowFrame", "Window");
    m.mnuAddFrame = AddSubmenu(*m.mnuWindowFrame, "mnuAddFrame", "Add Frame");
    m.mnuFrameYesNo = AddGroup<2>(*m.mnuAddFrame, "mnuFrameYesNo", {"No", "Yes"});
    m.mnuFrameColor = AddSubmenu(*m.mnuWindowFrame, "mnuFrameColor", "Frame Color");
    m.mnuBlackWhite = AddGroup<2>(*m.mnuFrameColor, "mnuBlackWhite", {"Black", "White"});
    m.mnuFrameType = AddSubmenu(*m.mnuWindowFrame, "mnuFrameType", "Frame Type");
    m.mnuFrameFull = AddGroup<2>(*m.mnuFrameType, "mnuFrameFull", {"Sides Only", "Full"});
    m.background = AddBackgroundMenu(*m.mnuWindowFrame);
}

void AddCuesMenu(QMenuBar& bar, MainMenus& m) {
    m.mnuCues = AddMenu(bar, "mnuCues", "Cues");
    for (std::size_t i = 0; i < m.mnuCue.size(); ++i) {
        const std::string_view caption = GrayScale::kCueCaptions[i];
        m.mnuCue[i] = AddEntry(*m.mnuCues, "mnuCue",
                               QString::fromUtf8(caption.data(), qsizetype(caption.size())), true);
        m.mnuCue[i]->setObjectName(QStringLiteral("mnuCue") + QString::number(i));
    }
}

void AddBlurMenu(QMenuBar& bar, MainMenus& m) {
    m.mnuBlurs = AddMenu(bar, "mnuBlurs", "Blur");
    m.mnuBlur =
        AddGroup<6>(*m.mnuBlurs, "mnuBlur", {"None", "Smere", "Blur", "Mean", "Median", "Max"});
}

void AddWarpDepthMenu(QMenuBar& bar, MainMenus& m) {
    m.mnuWarpShift = AddMenu(bar, "mnuWarpShift", "WarpDepth");
    m.mnuWarp = AddEntry(*m.mnuWarpShift, "mnuWarp", QStringLiteral("Warp"), true);
    m.mnuShift = AddEntry(*m.mnuWarpShift, "mnuShift", QStringLiteral("Added Depth"), true);
    m.mnuSetWarpShift =
        AddEntry(*m.mnuWarpShift, "mnuSetWarpShift", QStringLiteral("Set Warp and Shift"));
    m.mnuSep2 = AddSeparator(*m.mnuWarpShift, "mnuSep2");
    m.mnuLens = AddSubmenu(*m.mnuWarpShift, "mnuLens", "Lens");
    m.mnuRedBlue = AddGroup<2>(*m.mnuLens, "mnuRedBlue", {"Red - Blue", "Blue - Red"});
}

QAction* AddCommand(QMenuBar& bar, const char* name, const char* caption) {
    QAction* action = bar.addAction(QString::fromUtf8(caption));
    action->setObjectName(QString::fromUtf8(name));
    return action;
}

}  // namespace

MainMenus BuildMainMenus(QMenuBar& bar) {
    MainMenus m;
    AddFileMenu(bar, m);
    AddWindowMenu(bar, m);
    AddCuesMenu(bar, m);
    AddSceneMenus(*m.mnuCues, m.scene);
    AddBlurMenu(bar, m);
    AddWarpDepthMenu(bar, m);
    AddParallaxMenus(*m.mnuFile, *m.mnuWarpShift, m.parallax);
    AddStereoMenus(bar, m.stereo);
    m.mnuAnaglyph = AddCommand(bar, "mnuAnaglyph", "Anaglyph");
    m.mnuDepthGrain = AddCommand(bar, "mnuDepthGrain", "Grain");
    m.mnuBatch = AddCommand(bar, "mnuBatch", "About");
    AddViewMenus(bar, m);
    return m;
}

#include "app/view_menus.h"

#include <QAction>
#include <QActionGroup>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include "app/main_menus.h"

namespace {

QAction* Entry(QMenu& menu, const char* name, const QString& caption, const QKeySequence& key) {
    QAction* action = menu.addAction(caption);
    action->setObjectName(QString::fromUtf8(name));
    action->setShortcut(key);
    return action;
}

// Not yet in the menu: placed among the File entries by the caller.
QAction* ExportEntry(QMenu& file, const char* name, const char* caption) {
    auto* action = new QAction(QString::fromUtf8(caption), &file);
    action->setObjectName(QString::fromUtf8(name));
    return action;
}

void AddZoomEntries(QMenu& view, ViewMenus& v) {
    v.mnuZoomIn = Entry(view, "mnuZoomIn", QStringLiteral("Zoom &In"), QKeySequence::ZoomIn);
    v.mnuZoomOut = Entry(view, "mnuZoomOut", QStringLiteral("Zoom &Out"), QKeySequence::ZoomOut);
    v.mnuFitToWindow = Entry(view, "mnuFitToWindow", QStringLiteral("&Fit to Window"),
                             QKeySequence(Qt::CTRL | Qt::Key_0));
    v.mnuActualSize = Entry(view, "mnuActualSize", QStringLiteral("&Actual Size"),
                            QKeySequence(Qt::CTRL | Qt::Key_1));
    v.mnuActualSize->setToolTip(QStringLiteral("One picture pixel to one screen pixel"));
}

void AddStageEntries(QMenu& view, ViewMenus& v) {
    static constexpr std::array<const char*, 4> kCaptions = {"&Original", "&Depth Map",
                                                             "&Second View", "&Result"};
    static constexpr std::array<const char*, 4> kTips = {
        "The picture as opened (hold Space to see it from any other view)",
        "Near is bright, far is dark", "The view for the other eye",
        "The anaglyph, as Save Result As writes it"};
    auto* group = new QActionGroup(&view);
    for (std::size_t i = 0; i < kCaptions.size(); ++i) {
        QAction* action = Entry(view, "mnuStage", QString::fromUtf8(kCaptions[i]),
                                QKeySequence(Qt::Key_1 + static_cast<int>(i)));
        action->setObjectName(QStringLiteral("mnuStage") + QString::number(i));
        action->setCheckable(true);
        action->setToolTip(QString::fromUtf8(kTips[i]));
        group->addAction(action);
        v.mnuStage[i] = action;
    }
    v.mnuStage[3]->setChecked(true);
}

void AddFileEntries(MainMenus& m) {
    ViewMenus& v = m.view;
    QMenu& file = *m.mnuFile;
    v.mnuFileRecent = new QMenu(QStringLiteral("Open Rec&ent"), &file);
    v.mnuFileRecent->setObjectName(QStringLiteral("mnuFileRecent"));
    file.insertMenu(m.mnuFileSaveAs, v.mnuFileRecent);
    v.mnuFileExportDepth = ExportEntry(file, "mnuFileExportDepth", "Export De&pth Map...");
    v.mnuFileExportSecond = ExportEntry(file, "mnuFileExportSecond", "Export Second &View...");
    v.mnuFileExportLeft = ExportEntry(file, "mnuFileExportLeft", "Export &Left View...");
    v.mnuFileExportLeft->setToolTip(QStringLiteral("What the left eye sees, as a picture"));
    v.mnuFileExportRight = ExportEntry(file, "mnuFileExportRight", "Export Ri&ght View...");
    v.mnuFileExportRight->setToolTip(QStringLiteral("What the right eye sees, as a picture"));
    file.insertActions(m.mnuFileSep1, {v.mnuFileExportDepth, v.mnuFileExportSecond,
                                       v.mnuFileExportLeft, v.mnuFileExportRight});
    file.addSeparator();
    v.mnuFileQuit = Entry(file, "mnuFileQuit", QStringLiteral("&Quit"), QKeySequence::Quit);
    // Some platforms give Quit no standard key.
    if (v.mnuFileQuit->shortcut().isEmpty())
        v.mnuFileQuit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    file.setToolTipsVisible(true);
    m.mnuFileReload->setToolTip(
        QStringLiteral("Put the opened picture back in place of the result"));
}

void AddTooltips(MainMenus& m) {
    m.mnuAnaglyph->setShortcut(QKeySequence(Qt::Key_F5));
    m.mnuAnaglyph->setToolTip(QStringLiteral("Make the anaglyph from the opened picture (F5)"));
    m.mnuBlur[1]->setToolTip(QStringLiteral("Smear the depth map sideways"));
    m.mnuShift->setToolTip(QStringLiteral("Push the whole picture further into the screen"));
    m.mnuWarp->setToolTip(QStringLiteral("Bend the depth map by the Warp value"));
    m.mnuDepthGrain->setToolTip(QStringLiteral("Set the depth levels the second view moves by"));
    for (QMenu* menu : {m.mnuBlurs, m.mnuWarpShift, m.mnuCues}) menu->setToolTipsVisible(true);
}

}  // namespace

void AddViewMenus(QMenuBar& bar, MainMenus& m) {
    ViewMenus& v = m.view;
    v.mnuView = new QMenu(QStringLiteral("&View"), &bar);
    v.mnuView->setObjectName(QStringLiteral("mnuView"));
    v.mnuView->menuAction()->setObjectName(QStringLiteral("mnuView"));
    bar.insertMenu(m.mnuWindowFrame->menuAction(), v.mnuView);
    AddZoomEntries(*v.mnuView, v);
    v.mnuView->addSeparator();
    AddStageEntries(*v.mnuView, v);
    v.mnuView->addSeparator();
    v.mnuLiveResult = v.mnuView->addAction(QStringLiteral("&Live Result"));
    v.mnuLiveResult->setObjectName(QStringLiteral("mnuLiveResult"));
    v.mnuLiveResult->setCheckable(true);
    v.mnuLiveResult->setChecked(true);
    v.mnuLiveResult->setToolTip(
        QStringLiteral("Convert again after every change of a choice, without Anaglyph"));
    v.mnuView->setToolTipsVisible(true);
    AddFileEntries(m);
    AddTooltips(m);
}

// Cues › Scene: the choice, its check marks, and the layout a run followed on the
// status line.
#include <QAction>
#include <QStatusBar>

#include "app/frm_qelun.h"

void frmQelun::mnuSceneChoice_Click(int index) {
    choices_.scene.scene = static_cast<std::int16_t>(index);
    ShowSceneChecks();
    ChoicesChanged();
}

void frmQelun::ConnectSceneMenus() {
    const auto& actions = menus_.scene.mnuSceneChoice;
    for (int i = 0; i < static_cast<int>(actions.size()); ++i)
        connect(actions[static_cast<std::size_t>(i)], &QAction::triggered, this,
                [this, i] { mnuSceneChoice_Click(i); });
}

// A stored number outside the menu converts as classic, and is shown so.
void frmQelun::ShowSceneChecks() {
    const int checked = static_cast<int>(core::SceneOf(choices_.scene));
    const auto& actions = menus_.scene.mnuSceneChoice;
    for (int i = 0; i < static_cast<int>(actions.size()); ++i)
        actions[static_cast<std::size_t>(i)]->setChecked(i == checked);
}

// A classic run says nothing: a window that never chooses a scene makes no status
// line of its own for it.
void frmQelun::ShowScenePicked(const std::string& picked) {
    if (picked.empty()) return;
    statusBar()->showMessage(QStringLiteral("Scene: ") + QString::fromStdString(picked));
}

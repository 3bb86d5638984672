#include "app/scene_menus.h"

#include <QAction>
#include <QMenu>
#include <QString>

void AddSceneMenus(QMenu& cues, SceneMenus& menus) {
    cues.addSeparator()->setObjectName(QStringLiteral("mnuSceneSep"));
    menus.mnuScene = cues.addMenu(QStringLiteral("Scene"));
    menus.mnuScene->setObjectName(QStringLiteral("mnuScene"));
    menus.mnuScene->menuAction()->setObjectName(QStringLiteral("mnuScene"));
    const char* const captions[] = {"Classic", "Auto", "Landscape", "Portrait", "Flat"};
    for (std::size_t i = 0; i < menus.mnuSceneChoice.size(); ++i) {
        QAction* action = menus.mnuScene->addAction(QString::fromUtf8(captions[i]));
        action->setCheckable(true);
        action->setObjectName(QStringLiteral("mnuSceneChoice") + QString::number(i));
        menus.mnuSceneChoice[i] = action;
    }
}

#pragma once
// The command line's --scene: which layout the depth map follows.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace convert_tool {

// The scene number for "auto", "landscape", "portrait" or "flat"; the message for
// anything else.
struct SceneArgument {
    std::optional<std::int16_t> scene;
    QString error;
};
SceneArgument ParseSceneArgument(const QString& text);

}  // namespace convert_tool

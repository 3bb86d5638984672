#include "tools/scene_options.h"

#include <array>

#include "core/scene_choices.h"
#include "depth/scene_choice.h"

namespace convert_tool {

SceneArgument ParseSceneArgument(const QString& text) {
    // Classic is what leaving the option out gives, so it is not offered by name.
    constexpr std::array kChosen = {core::Scene::kAuto, core::Scene::kLandscape,
                                    core::Scene::kPortrait, core::Scene::kFlat};
    QStringList names;
    for (const core::Scene scene : kChosen) {
        const std::string_view name = depth::SceneName(scene);
        const QString word = QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
        if (text == word) return {static_cast<std::int16_t>(scene), {}};
        names << word;
    }
    return {
        std::nullopt,
        QStringLiteral("--scene: '%1' is not one of %2").arg(text, names.join(QLatin1Char('|')))};
}

}  // namespace convert_tool

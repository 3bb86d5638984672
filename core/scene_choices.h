#pragma once
// How the depth map follows the scene: the classic colour cue alone, or the cue laid
// over a layout of the scene (a ground receding upward with the sky farthest, a
// centred subject before its surround, or none) and smoothed along the picture's edges.
#include <cstdint>

namespace core {

enum class Scene : std::int16_t {
    kClassic = 0,
    kAuto = 1,
    kLandscape = 2,
    kPortrait = 3,
    kFlat = 4
};

struct SceneChoices {
    std::int16_t scene = 0;  // a Scene; anything outside them: classic

    friend bool operator==(const SceneChoices&, const SceneChoices&) = default;
};

// The scene a stored or given number stands for; classic for any other number.
inline Scene SceneOf(const SceneChoices& choices) {
    return choices.scene >= 1 && choices.scene <= 4 ? static_cast<Scene>(choices.scene)
                                                    : Scene::kClassic;
}

}  // namespace core

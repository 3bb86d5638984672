#pragma once
// How the two views become one picture: the anaglyph join's method and glasses, or
// a layout that puts the views next to each other. The defaults give the classic
// anaglyph.
#include <cstdint>

namespace core {

enum class JoinMethod : std::int16_t { kColour = 0, kHalfColour = 1, kGrey = 2, kDubois = 3 };
enum class GlassesType : std::int16_t { kRedCyan = 0, kGreenMagenta = 1, kAmberBlue = 2 };
enum class StereoLayout : std::int16_t {
    kAnaglyph = 0,
    kSideBySide = 1,
    kCrossEye = 2,
    kHalfSideBySide = 3,
    kTopBottom = 4,
    kHalfTopBottom = 5,
};

inline constexpr std::int16_t kJoinMethodCount = 4;
inline constexpr std::int16_t kGlassesCount = 3;
inline constexpr std::int16_t kStereoLayoutCount = 6;

// Stored as plain numbers (settings_table.cpp); a number outside its range reads as 0.
struct StereoChoices {
    std::int16_t method = 0;   // a JoinMethod
    std::int16_t glasses = 0;  // a GlassesType
    std::int16_t layout = 0;   // a StereoLayout

    JoinMethod Method() const {
        return method >= 0 && method < kJoinMethodCount ? static_cast<JoinMethod>(method)
                                                        : JoinMethod::kColour;
    }
    GlassesType Glasses() const {
        return glasses >= 0 && glasses < kGlassesCount ? static_cast<GlassesType>(glasses)
                                                       : GlassesType::kRedCyan;
    }
    StereoLayout Layout() const {
        return layout >= 0 && layout < kStereoLayoutCount ? static_cast<StereoLayout>(layout)
                                                          : StereoLayout::kAnaglyph;
    }
    // The join the program has always made: the classic stage makes it, byte for byte.
    bool Classic() const {
        return Layout() == StereoLayout::kAnaglyph && Method() == JoinMethod::kColour &&
               Glasses() == GlassesType::kRedCyan;
    }

    friend bool operator==(const StereoChoices&, const StereoChoices&) = default;
};

}  // namespace core

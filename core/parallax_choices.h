#pragma once
// The scaled strength: parallax in proportion to the picture's width, and the depth
// that lies on the screen. A parallax of 0 keeps the classic conversion, whose second
// view moves three depth bands by one to three pixels whatever the picture's size.
namespace core {

inline constexpr double kMinParallaxPercent = 0.1;
inline constexpr double kMaxParallaxPercent = 10.0;
// Chosen by looking at photographs through red/cyan glasses: with the screen a little
// above the middle of the depth range, the scene mostly lies behind the screen (which
// is easy on the eyes) while its nearest parts still come out of it.
inline constexpr double kDefaultScreenPlane = 60.0;

struct ParallaxChoices {
    // From the nearest to the farthest depth, in % of the picture's width; 0: classic.
    double parallax_percent = 0.0;
    // The depth with no parallax, in % of the depth range from far (0) to near (100).
    double screen_plane = kDefaultScreenPlane;

    bool Scaled() const { return parallax_percent > 0.0; }

    friend bool operator==(const ParallaxChoices&, const ParallaxChoices&) = default;
};

}  // namespace core

// Depth that follows the scene, through the conversion call: synthetic scenes with a
// known layout come out in the right order under each layout, textures do not turn
// into relief, "auto" names what it picked, and without a scene nothing changes.
#include "depth/scene_depth.h"

#include "depth/scene_choice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "conversion/run.h"
#include "core/depth_levels.h"
#include "tests/support/fake_progress.h"
#include "tests/support/pictures.h"

namespace {

using core::Scene;
using platform::RGB;

constexpr int kWidth = 240;
constexpr int kHeight = 160;
constexpr int kHorizon = 56;  // the sky's last row + 1

// A texture value from -1 to 1 that changes from each pixel to the next.
int Grain(int x, int y) {
    const unsigned h = static_cast<unsigned>(x) * 73856093u ^ static_cast<unsigned>(y) * 19349663u;
    return static_cast<int>((h >> 7) % 201) - 100;
}

// A smooth blue sky over a textured brown ground.
platform::Rgb SkyOverGround(int x, int y) {
    if (y < kHorizon) return RGB(110 + y / 2, 150 + y / 2, 215);
    const int g = Grain(x, y) * 25 / 100;
    return RGB(100 + g, 95 + g, 60 + g);
}

// A sharp-grained dark red disc in the middle of a finely textured green surround.
platform::Rgb DiscOnTexture(int x, int y) {
    const int dx = x - kWidth / 2, dy = y - kHeight / 2;
    if (dx * dx + dy * dy < 40 * 40) {
        const int g = ((x + y) % 2 == 0) ? 35 : -35;
        return RGB(170 + g, 30 + g / 2, 30 + g / 2);
    }
    const int g = Grain(x, y) * 12 / 100;
    return RGB(90 + g, 110 + g, 90 + g);
}

platform::Rgb PlainGrey(int, int) {
    return RGB(128, 128, 128);
}

struct Converted {
    conversion::Result result;
    core::PixelGrid depth;
};

Converted Convert(testing_support::ColorAt picture, int scene, int bits = 24,
                  const conversion::Request& request = {}) {
    const platform::Display display(bits);
    conversion::Choices choices;
    choices.scene.scene = static_cast<std::int16_t>(scene);
    testing_support::FakeProgress progress;
    Converted c{conversion::Run(testing_support::MakePicture(display, kWidth, kHeight, picture),
                                display, choices, progress, request),
                {}};
    if (c.result.outcome == conversion::Outcome::kConverted) {
        platform::PictureSurface surface(display);
        surface.SetPicture({c.result.views.depth_map, std::nullopt});
        c.depth = testing_support::ReadGrid(surface);
    }
    return c;
}

bool SameBytes(const platform::Bitmap& a, const platform::Bitmap& b) {
    return a.Width() == b.Width() && a.Height() == b.Height() &&
           std::equal(a.Bits().begin(), a.Bits().end(), b.Bits().begin(), b.Bits().end());
}

struct Box {
    int x0, y0, x1, y1;  // x1, y1 past the end
};

double Mean(const core::PixelGrid& depth, Box b) {
    double sum = 0.0;
    for (int y = b.y0; y < b.y1; ++y)
        for (int x = b.x0; x < b.x1; ++x) sum += depth(x, y).Red;
    return sum / ((b.x1 - b.x0) * (b.y1 - b.y0));
}

// The mean depth step from each pixel to the next one along its row: the relief of
// a texture, which a layout's gentle slope hardly adds to.
double Relief(const core::PixelGrid& depth, Box b) {
    double sum = 0.0;
    for (int y = b.y0; y < b.y1; ++y)
        for (int x = b.x0; x + 1 < b.x1; ++x)
            sum += std::abs(depth(x + 1, y).Red - depth(x, y).Red);
    return sum / ((b.x1 - b.x0 - 1) * (b.y1 - b.y0));
}

constexpr Box kSky{0, 4, kWidth, kHorizon - 4};
constexpr Box kFarGround{0, kHorizon + 4, kWidth, kHorizon + 16};
constexpr Box kNearGround{0, kHeight - 16, kWidth, kHeight - 4};
constexpr Box kDisc{kWidth / 2 - 25, kHeight / 2 - 25, kWidth / 2 + 25, kHeight / 2 + 25};
constexpr Box kTopLeft{4, 4, 60, 40};
constexpr Box kBottomLeft{4, kHeight - 40, 60, kHeight - 4};

// Each layout's own promise, on the scene it is made for and on the other one.
struct OrderCase {
    const char* name;
    testing_support::ColorAt picture;
    Scene scene;
    bool (*holds)(const core::PixelGrid&);
};

const OrderCase kOrders[] = {
    {"LandscapeSkyFarthestGroundRecedingUpward", SkyOverGround, Scene::kLandscape,
     [](const core::PixelGrid& d) {
         return Mean(d, kSky) < 10 && Mean(d, kSky) + 20 < Mean(d, kFarGround) &&
                Mean(d, kFarGround) + 40 < Mean(d, kNearGround);
     }},
    {"PortraitSkyStillFarthest", SkyOverGround, Scene::kPortrait,
     [](const core::PixelGrid& d) {
         return Mean(d, kSky) < 10 && Mean(d, kSky) + 20 < Mean(d, kFarGround) &&
                Mean(d, kSky) + 20 < Mean(d, kNearGround);
     }},
    {"PortraitDiscBeforeSurround", DiscOnTexture, Scene::kPortrait,
     [](const core::PixelGrid& d) {
         return Mean(d, kDisc) > Mean(d, kTopLeft) + 80 &&
                Mean(d, kDisc) > Mean(d, kBottomLeft) + 80;
     }},
    {"LandscapeBottomBeforeTop", DiscOnTexture, Scene::kLandscape,
     [](const core::PixelGrid& d) { return Mean(d, kBottomLeft) > Mean(d, kTopLeft) + 80; }},
    // No layout: the darker disc is nearer, as the classic cue has it, and the
    // surround keeps one depth from top to bottom.
    {"FlatFollowsTheCueAlone", DiscOnTexture, Scene::kFlat,
     [](const core::PixelGrid& d) {
         return Mean(d, kDisc) > Mean(d, kTopLeft) + 80 &&
                std::abs(Mean(d, kBottomLeft) - Mean(d, kTopLeft)) < 10;
     }},
};

class SceneOrderTest : public testing::TestWithParam<OrderCase> {};

TEST_P(SceneOrderTest, PutsTheSceneInOrder) {
    const OrderCase& c = GetParam();
    const Converted converted = Convert(c.picture, static_cast<int>(c.scene));
    ASSERT_EQ(converted.result.outcome, conversion::Outcome::kConverted);
    EXPECT_EQ(converted.result.scene_picked, depth::SceneName(c.scene));
    const core::PixelGrid& d = converted.depth;
    EXPECT_TRUE(c.holds(d)) << "sky " << Mean(d, kSky) << ", far ground " << Mean(d, kFarGround)
                            << ", near ground " << Mean(d, kNearGround) << ", disc "
                            << Mean(d, kDisc) << ", top left " << Mean(d, kTopLeft)
                            << ", bottom left " << Mean(d, kBottomLeft);
}

INSTANTIATE_TEST_SUITE_P(Layouts, SceneOrderTest, testing::ValuesIn(kOrders),
                         [](const auto& info) { return std::string(info.param.name); });

// The surround's grain is relief in the classic map and gone under every layout.
TEST(SceneTextureTest, FineTextureDoesNotBecomeRelief) {
    const Box patch{8, 8, 56, 36};
    const double classic = Relief(Convert(DiscOnTexture, 0).depth, patch);
    ASSERT_GT(classic, 5.0);
    for (const Scene scene : {Scene::kLandscape, Scene::kPortrait, Scene::kFlat}) {
        const double smoothed =
            Relief(Convert(DiscOnTexture, static_cast<int>(scene)).depth, patch);
        EXPECT_LT(smoothed, classic / 4) << depth::SceneName(scene);
    }
}

struct PickCase {
    const char* name;
    testing_support::ColorAt picture;
    const char* picked;
};

class ScenePickTest : public testing::TestWithParam<PickCase> {};

TEST_P(ScenePickTest, AutoSaysWhatItPicked) {
    const Converted converted = Convert(GetParam().picture, static_cast<int>(Scene::kAuto));
    ASSERT_EQ(converted.result.outcome, conversion::Outcome::kConverted);
    EXPECT_EQ(converted.result.scene_picked, GetParam().picked);
}

INSTANTIATE_TEST_SUITE_P(Evidence, ScenePickTest,
                         testing::Values(PickCase{"SkyAtTheTop", SkyOverGround, "landscape"},
                                         PickCase{"CentredSubject", DiscOnTexture, "portrait"},
                                         PickCase{"NothingToGoOn", PlainGrey, "flat"}),
                         [](const auto& info) { return std::string(info.param.name); });

// The layout holds on every display whose depth map has grey levels to spare; the
// 15- and 16-bit maps run from 0 to 31.
TEST(SceneDisplayTest, LandscapeOrderOnEveryTrueColourDisplay) {
    for (const int bits : {15, 16, 24, 32}) {
        const core::PixelGrid d = Convert(SkyOverGround, 2, bits).depth;
        const double top = bits <= 16 ? 31.0 : 255.0;
        EXPECT_LT(Mean(d, kSky), Mean(d, kFarGround)) << bits;
        EXPECT_LT(Mean(d, kFarGround), Mean(d, kNearGround)) << bits;
        EXPECT_GT(Mean(d, kNearGround), top * 0.6) << bits;
    }
}

// Classic, and any number outside the menu, runs no scene step at all.
TEST(SceneClassicTest, NoSceneLeavesEveryViewAsItWas) {
    const Converted plain = Convert(SkyOverGround, 0);
    ASSERT_EQ(plain.result.outcome, conversion::Outcome::kConverted);
    EXPECT_EQ(plain.result.scene_picked, "");
    for (const int scene : {-1, 5, 300}) {
        const Converted other = Convert(SkyOverGround, scene);
        EXPECT_EQ(other.result.scene_picked, "") << scene;
        const conversion::Views& a = other.result.views;
        const conversion::Views& b = plain.result.views;
        EXPECT_TRUE(SameBytes(a.depth_map, b.depth_map)) << scene;
        EXPECT_TRUE(SameBytes(a.second_view, b.second_view)) << scene;
        EXPECT_TRUE(SameBytes(a.anaglyph.bitmap, b.anaglyph.bitmap)) << scene;
    }
}

// A cancel inside the scene step ends the run as cancelled, with no views.
TEST(SceneCancelTest, CancelInsideTheSceneStepEndsTheRun) {
    const platform::Display display(24);
    conversion::Choices choices;
    choices.scene.scene = static_cast<std::int16_t>(Scene::kAuto);
    testing_support::FakeProgress progress;
    progress.on_yield = [&progress](int) {
        if (!progress.long_steps.empty()) progress.Cancel();
    };
    const conversion::Result result =
        conversion::Run(testing_support::MakePicture(display, kWidth, kHeight, SkyOverGround),
                        display, choices, progress);
    EXPECT_EQ(result.outcome, conversion::Outcome::kCancelled);
    EXPECT_EQ(progress.long_steps, (std::vector<bool>{true, false}));
}

// A depth map from a file is the picture's own depth: no scene is laid over it.
TEST(SceneImportedDepthTest, ImportedDepthBypassesTheScene) {
    core::DepthLevels imported{kWidth, kHeight, {}};
    for (int i = 0; i < kWidth * kHeight; ++i)
        imported.levels.push_back(static_cast<std::uint8_t>(i % kWidth));
    const Converted classic = Convert(SkyOverGround, 0, 24, {.depth_from = &imported});
    const Converted scene =
        Convert(SkyOverGround, static_cast<int>(Scene::kAuto), 24, {.depth_from = &imported});
    ASSERT_EQ(scene.result.outcome, conversion::Outcome::kConverted);
    EXPECT_EQ(scene.result.scene_picked, "");
    EXPECT_TRUE(SameBytes(classic.result.views.depth_map, scene.result.views.depth_map));
}

}  // namespace

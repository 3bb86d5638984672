// The stereo stage inside whole conversions: which view lands where for each layout
// on every display, what "Blue - Red" and "Added Depth" do to the views, the colour
// join against the classic anaglyph, and a layout too large for a bitmap.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "conversion/run.h"
#include "core/ddb_helper.h"
#include "stereo/stereo_layouts.h"
#include "tests/support/pictures.h"

namespace {

using core::StereoLayout;
using platform::Rgb;
using testing_support::MakePicture;

constexpr int kDepths[] = {8, 15, 16, 24, 32};

// A bright block on a varied ground, so the depth cue puts it in an upper band and
// the second view differs from the picture.
Rgb Scene(int x, int y) {
    if (x >= 4 && x < 7) return platform::RGB(250, 245, 240);
    return platform::RGB((x * 23 + y * 7) & 255, (255 - x * 19) & 255, (x * y * 13 + 40) & 255);
}

struct Colours {
    int width = 0;
    int height = 0;
    std::vector<Rgb> cells;
    Rgb At(int x, int y) const { return cells[static_cast<std::size_t>(y * width + x)]; }
};

// How the display shows a bitmap.
Colours Shown(const platform::Display& display, const platform::Bitmap& bitmap) {
    platform::PictureSurface surface(display);
    surface.ReplaceImage(bitmap);
    return {bitmap.Width(), bitmap.Height(), testing_support::SurfaceColors(surface)};
}

// The columns first .. first + width - 1 of every row.
std::vector<Rgb> Columns(const Colours& c, int first, int width) {
    std::vector<Rgb> cells;
    for (int y = 0; y < c.height; ++y)
        for (int x = first; x < first + width; ++x) cells.push_back(c.At(x, y));
    return cells;
}

struct Converted {
    Colours anaglyph;
    Colours picture;
    Colours second_view;
};

Converted Convert(int bits, int width, int height, const core::Choices& choices) {
    const platform::Display display(bits);
    const platform::Picture picture = MakePicture(display, width, height, Scene);
    core::Progress progress;
    const conversion::Result result = conversion::Run(picture, display, choices, progress);
    EXPECT_EQ(result.outcome, conversion::Outcome::kConverted) << result.Failure();
    return {Shown(display, result.views.anaglyph.bitmap), Shown(display, picture.bitmap),
            Shown(display, result.views.second_view)};
}

core::Choices WithLayout(StereoLayout layout) {
    core::Choices choices;
    choices.stereo.layout = static_cast<std::int16_t>(layout);
    return choices;
}

// Side by side puts the left view first, cross-eye the right one, which with "Blue -
// Red" is the picture.
TEST(StereoStage, SideBySideAndSwappedCrossEyePutThePictureLeft) {
    for (const auto& [layout, lens] :
         {std::pair{StereoLayout::kSideBySide, 0}, {StereoLayout::kCrossEye, 1}})
        for (const int bits : kDepths) {
            SCOPED_TRACE(testing::Message() << bits << " bits, lens " << lens);
            core::Choices choices = WithLayout(layout);
            choices.settings.Lens = static_cast<std::int16_t>(lens);
            const Converted c = Convert(bits, 9, 4, choices);
            ASSERT_EQ(c.anaglyph.width, 18);
            ASSERT_EQ(c.anaglyph.height, 4);
            // At 15 and 16 bits the cues see the raw fields: nothing reaches a moving band.
            if (bits != 15 && bits != 16) {
                EXPECT_NE(c.picture.cells, c.second_view.cells);
            }
            EXPECT_EQ(Columns(c.anaglyph, 0, 9), c.picture.cells);
            EXPECT_EQ(Columns(c.anaglyph, 9, 9), c.second_view.cells);
        }
}

// The right view moves glbShift columns as the classic join moves its green and
// blue: every pixel x to x + s where 0 < x + s < W - 1.
TEST(StereoStage, AddedDepthShiftsTheRightView) {
    core::Choices choices = WithLayout(StereoLayout::kTopBottom);
    choices.settings.DoShift = true;
    choices.values.glbShift = 2;
    const Converted c = Convert(24, 9, 4, choices);
    Colours right = c.second_view;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x + 2 < 8; ++x)
            right.cells[static_cast<std::size_t>(y * 9 + x + 2)] = c.second_view.At(x, y);
    ASSERT_EQ(c.anaglyph.height, 8);
    EXPECT_EQ(std::vector<Rgb>(c.anaglyph.cells.begin(), c.anaglyph.cells.begin() + 36),
              c.picture.cells);
    EXPECT_EQ(std::vector<Rgb>(c.anaglyph.cells.begin() + 36, c.anaglyph.cells.end()), right.cells);
}

// The colour join of the two views, worked by the new join, is the classic anaglyph.
TEST(StereoStage, ColourJoinOfTheViewsIsTheClassicAnaglyph) {
    for (const int bits : {24, 32}) {
        const platform::Display display(bits);
        const platform::Picture picture = MakePicture(display, 13, 5, Scene);
        core::Progress progress;
        const conversion::Result result =
            conversion::Run(picture, display, core::Choices{}, progress);
        platform::PictureSurface left(display), right(display), classic(display);
        left.SetPicture(picture);
        right.ReplaceImage(result.views.second_view);
        classic.ReplaceImage(result.views.anaglyph.bitmap);
        const core::PixelGrid joined =
            stereo::Compose(testing_support::ReadGrid(left), testing_support::ReadGrid(right), {});
        EXPECT_EQ(joined, testing_support::ReadGrid(classic)) << bits << " bits";
    }
}

// At 15 and 16 bits the fields are widened for the join and narrowed after: the
// channels the right view gives come back unchanged.
TEST(StereoStage, HalfColourKeepsTheRightViewsFieldsOnSixteenBitDisplays) {
    for (const int bits : {15, 16}) {
        core::Choices choices;
        choices.stereo.method = static_cast<std::int16_t>(core::JoinMethod::kHalfColour);
        const Converted c = Convert(bits, 9, 4, choices);
        for (std::size_t n = 0; n < c.anaglyph.cells.size(); ++n) {
            EXPECT_EQ(platform::GreenOf(c.anaglyph.cells[n]),
                      platform::GreenOf(c.second_view.cells[n]));
            EXPECT_EQ(platform::BlueOf(c.anaglyph.cells[n]),
                      platform::BlueOf(c.second_view.cells[n]));
        }
    }
}

TEST(StereoStage, ALayoutLargerThanABitmapFailsTheStep) {
    const platform::Display display(24);
    const platform::Picture picture = MakePicture(display, 16400, 1, Scene);
    core::Progress progress;
    const conversion::Result result =
        conversion::Run(picture, display, WithLayout(StereoLayout::kSideBySide), progress);
    EXPECT_EQ(result.outcome, conversion::Outcome::kFailed);
    EXPECT_EQ(result.failed_step, "anaglyph");
    EXPECT_NE(result.reason.find("32767"), std::string::npos) << result.reason;
}

}  // namespace

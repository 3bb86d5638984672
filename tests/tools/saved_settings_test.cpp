// --saved-settings starts from what the desktop program stored, read from the
// store of the user running it (here a store in a temporary folder); without it the
// store is not read at all.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/tools/sample_views.h"
#include "tests/tools/test_files.h"

namespace tools_test {
namespace {

// A store with blue-red lenses and a white frame on all four sides, three pixels
// wide; every other key is missing and reads as its default.
class SavedSettingsTest : public testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(folder_.Path("config/Zarvik"));
        WriteBytes(folder_.Path("config/Zarvik/Zarvik.conf"),
                   "[Settings]\nLens=1\nShowFrame=1\nFrameColor=1\nFrameType=1\nglbShift=3\n");
    }
    std::vector<std::string> Store() const {
        return {"XDG_CONFIG_HOME=" + folder_.Path("config"), "HOME=" + folder_.Root()};
    }
    static bool Framed(const Views& v, int x, int y) {
        const int w = v.picture.width();
        const int h = v.picture.height();
        return x < 3 || y < 3 || x > w - 3 || y > h - 3;
    }

    TempFolder folder_;
};

TEST_F(SavedSettingsTest, StartsFromTheStoredSettings) {
    const Views v = ConvertSample({"--saved-settings"}, Store());
    ASSERT_TRUE(SameSize(v));
    EXPECT_TRUE(EveryPixel(v.anaglyph, [&](int x, int y) {
        const QRgb a = v.anaglyph.pixel(x, y);
        if (Framed(v, x, y)) return a == qRgb(255, 255, 255);
        return JoinsViews(a, v.second.pixel(x, y), v.picture.pixel(x, y));
    }));
}

TEST_F(SavedSettingsTest, OptionsChangeTheStoredSettingsForTheRun) {
    const Views v =
        ConvertSample({"--saved-settings", "--lens", "red-blue", "--no-frame"}, Store());
    ASSERT_TRUE(SameSize(v));
    EXPECT_TRUE(EveryPixel(v.anaglyph, [&](int x, int y) {
        return JoinsViews(v.anaglyph.pixel(x, y), v.picture.pixel(x, y), v.second.pixel(x, y));
    }));
}

TEST_F(SavedSettingsTest, WithoutTheOptionTheStoreIsIgnored) {
    const Views v = ConvertSample({}, Store());
    ASSERT_TRUE(SameSize(v));
    EXPECT_TRUE(EveryPixel(v.anaglyph, [&](int x, int y) {
        return JoinsViews(v.anaglyph.pixel(x, y), v.picture.pixel(x, y), v.second.pixel(x, y));
    }));
}

TEST(SavedSettingsEmptyStoreTest, AnEmptyStoreGivesTheDefaults) {
    TempFolder empty;
    const std::vector<std::string> store = {"XDG_CONFIG_HOME=" + empty.Path("config"),
                                            "HOME=" + empty.Root()};
    EXPECT_EQ(ConvertSample({"--saved-settings"}, store).anaglyph, ConvertSample({}).anaglyph);
    // Reading never writes the store.
    EXPECT_FALSE(Exists(empty.Path("config/Zarvik/Zarvik.conf")));
}

}  // namespace
}  // namespace tools_test

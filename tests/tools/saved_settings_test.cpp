// --saved-settings starts from what the desktop program stored, read from the store
// of the user running it (here one in a temporary folder); without the option the
// store is not read at all. A store that is not what the desktop program writes
// gives the fallbacks the store's rules give. The converter never writes the store.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <random>

#include "tests/tools/convert_process.h"
#include "tests/tools/test_files.h"

namespace tools_test {
namespace {

namespace fs = std::filesystem;

class SavedSettingsTest : public testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(folder_.Path("config/Zarvik"));
        WritePattern(folder_.Path("in.png"), 23, 17);
    }

    // The anaglyph these options make, with the store as it is now in reach.
    std::string Convert(std::vector<std::string> options) {
        const std::string output = folder_.Path("out" + std::to_string(++runs_) + ".bmp");
        options.insert(options.end(), {folder_.Path("in.png"), output});
        const ConvertRun run = RunConvert(
            options, {"XDG_CONFIG_HOME=" + folder_.Path("config"), "HOME=" + folder_.Root()});
        EXPECT_EQ(run.status, 0) << run.err;
        // Qt may warn about a value it cannot make sense of; the converter itself
        // has nothing to report.
        EXPECT_EQ(run.err.find("zarvik-convert"), std::string::npos) << run.err;
        return ReadBytes(output);
    }

    TempFolder folder_;
    const std::string store_ = folder_.Path("config/Zarvik/Zarvik.conf");
    int runs_ = 0;
};

// Blue-red lenses and a white frame on all four sides, three pixels wide (glbShift,
// without added depth); every other key is missing and reads as its default.
TEST_F(SavedSettingsTest, StartsFromTheStoredSettingsAndOptionsChangeThem) {
    const std::string defaults = Convert({"--saved-settings"});  // no store yet
    WriteBytes(store_, "[Settings]\nLens=1\nShowFrame=1\nFrameColor=1\nFrameType=1\nglbShift=3\n");
    EXPECT_EQ(Convert({}), defaults) << "without the option the store is not read";
    const std::string stored = Convert({"--saved-settings"});
    EXPECT_NE(stored, defaults);
    EXPECT_EQ(stored, Convert({"--lens", "blue-red", "--frame", "full", "--frame-color", "white",
                               "--added-depth=3", "--no-added-depth"}));
    EXPECT_EQ(Convert({"--saved-settings", "--lens", "red-blue", "--no-frame"}),
              Convert({"--added-depth=3", "--no-added-depth"}));
}

TEST_F(SavedSettingsTest, UnreadableValuesReadAsZeroAndFalse) {
    WriteBytes(store_,
               "[Settings]\nglbShift=abc\nglbWarp=99999999999999999999\nDepth4=@Invalid()\n"
               "Depth3=1, 2\nDepth2=@ByteArray(\\xff\\xfe)\nDepth1=1e400\nDepth0=nan\n"
               "DoWarp=maybe\nDoShift=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x5nosuch)\n"
               "CueColor=\\x1\\x2\nDepthCue=\nBlurChoice=ninety\nLens=@Rect(1 2 3 4)\n"
               "FrameColor=" +
                   std::string(100000, '9') + "\nShowFrame=--1\nFrameType=1 1\nCue=\"\n");
    const std::string damaged = Convert({"--saved-settings"});
    WriteBytes(store_,
               "[Settings]\nglbShift=0\nglbWarp=0\nDepth4=0\nDepth3=0\nDepth2=0\nDepth1=0\n"
               "Depth0=0\nDoWarp=False\nDoShift=False\nCueColor=0\nDepthCue=0\nBlurChoice=0\n"
               "Lens=0\nFrameColor=0\nShowFrame=0\nFrameType=0\nCue=0\n");
    EXPECT_EQ(damaged, Convert({"--saved-settings"}));
    // and the zeros are not the defaults, or this would prove nothing
    EXPECT_NE(damaged, Convert({}));
}

// Each reads as a store without keys, and is left as it was.
TEST_F(SavedSettingsTest, AStoreTheProgramDidNotWriteGivesTheDefaults) {
    const std::string defaults = Convert({});
    const std::string store = store_;
    const std::pair<const char*, std::function<bool()>> stores[] = {
        {"missing", [] { return true; }},
        {"random bytes",
         [store] {
             std::mt19937 random(20240601);
             std::string bytes(8192, '\0');
             for (char& b : bytes) b = static_cast<char>(random() & 0xff);
             WriteBytes(store, bytes);
             return true;
         }},
        // Reading a pipe would wait for a writer for ever.
        {"pipe", [store] { return mkfifo(store.c_str(), 0644) == 0; }},
        // False when this user reads it anyway (root).
        {"unreadable", [store] {
             WriteBytes(store, "[Settings]\nLens=1\nShowFrame=1\n");
             fs::permissions(store, fs::perms::none);
             return access(store.c_str(), R_OK) != 0;
         }}};
    for (const auto& [name, make] : stores) {
        SCOPED_TRACE(name);
        fs::remove(store_);
        if (!make()) continue;
        const auto before = Snapshot(folder_.Path("config"));
        EXPECT_EQ(Convert({"--saved-settings"}), defaults);
        EXPECT_EQ(Snapshot(folder_.Path("config")), before);
    }
}

}  // namespace
}  // namespace tools_test

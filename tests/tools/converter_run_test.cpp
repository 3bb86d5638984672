// The converter run as a user or a script runs it: the whole conversion in every
// display format, the exit statuses (0 for a run that works or the help, 1 for a
// picture that fails, 2 for a command line it will not run), the settings store it
// may start from, and writes that fail. A failed write fails its picture with one
// line naming the file, and whatever was at that name before is still there, whole,
// with nothing of the attempt beside it. What each stage does is checked on the stage.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/support/disk_faults.h"  // FileSizeLimit
#include "tests/tools/convert_run.h"

namespace tools_test {
namespace {

namespace fs = std::filesystem;
using testing::HasSubstr;

// The anaglyph's red comes from the picture and its green and blue from the second
// view, each through its mask; the depth map is grey. Every view is written in the
// format its name gives (a bitmap for GIF, which Qt guessing from the name could not
// write), and 24 bits a pixel show every colour as 32 do.
TEST(WholeRunTest, EveryDisplayFormatConvertsEveryView) {
    const auto read_rgb = [](const std::string& path) {
        return ReadPicture(path).convertToFormat(QImage::Format_RGB32);
    };
    // A kept channel of a mask: c x 0.99 with the gain held in single precision and the
    // product rounded whole. The gain is a hair above 0.99, so a product that would
    // end in exactly .5 (c = 50, 150, 250) goes up: 99 c / 100 with halves rounded up.
    const auto masked = [](int channel) { return (99 * channel + 50) / 100; };
    TempFolder folder;
    const std::string input = ZARVIK_SAMPLE_PICTURE;
    const std::string anaglyph = folder.Path("résultat ü.bmp");
    const std::string second = folder.Path("второй вид.PNG");
    const std::string depth = folder.Path("карта глубины.gif");
    const QImage picture = read_rgb(input);
    ASSERT_FALSE(picture.isNull());
    QImage full;
    for (const int bits : {32, 24, 16, 15, 8}) {
        SCOPED_TRACE(bits);
        const ConvertRun run = RunConvert({"--display-bpp", std::to_string(bits), input, anaglyph,
                                           "--second-view", second, "--depth-map", depth});
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err + run.out, "");
        const QImage a = read_rgb(anaglyph), s = read_rgb(second), d = read_rgb(depth);
        EXPECT_EQ(ReadBytes(second).substr(0, 4), "\x89PNG");
        EXPECT_EQ(ReadBytes(depth).substr(0, 2), "BM");
        for (const QImage& view : {a, s, d}) ASSERT_EQ(view.size(), picture.size());
        EXPECT_TRUE(bits != 24 || a == full);
        if (bits != 32) continue;
        full = a;
        EXPECT_NE(s, picture) << "the depth bands moved some of it";
        int wrong = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) {
                const QRgb p = picture.pixel(x, y), v = s.pixel(x, y), g = d.pixel(x, y);
                wrong += qRed(a.pixel(x, y)) != masked(qRed(p)) ||
                         qGreen(a.pixel(x, y)) != masked(qGreen(v)) ||
                         qBlue(a.pixel(x, y)) != masked(qBlue(v)) || qRed(g) != qGreen(g) ||
                         qGreen(g) != qBlue(g);
            }
        EXPECT_EQ(wrong, 0);
    }
}

// A usage error reads and writes nothing and points to --help.
TEST(ExitStatusTest, TwoForAUsageErrorZeroForHelpAndVersion) {
    TempFolder folder;
    const ConvertRun run = RunConvert({"--depth-map", folder.Path("depth.bmp"), "--depth-cue",
                                       "abc", ZARVIK_SAMPLE_PICTURE, folder.Path("out.bmp")});
    EXPECT_EQ(run.status, 2);
    EXPECT_THAT(run.err, HasSubstr("--help"));
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(Snapshot(folder.Root()).empty());
    EXPECT_EQ(RunConvert({"--help"}).status, 0);
    EXPECT_EQ(RunConvert({"--version"}).status, 0);
}

// --saved-settings starts from what the desktop program stored, read from the store
// of the user running it (here one in a temporary folder); without the option the
// store is not read at all. A pipe in its place, which would make a reader wait for
// a writer for ever, reads as a store without keys. The converter never writes it.
TEST(SavedSettingsTest, StartsFromTheStoreWhenAskedAndLeavesItAsItWas) {
    TempFolder folder;
    fs::create_directories(folder.Path("config/Zarvik"));
    const std::string store = folder.Path("config/Zarvik/Zarvik.conf");
    const auto convert = [&folder](std::vector<std::string> options) {
        options.insert(options.end(), {ZARVIK_SAMPLE_PICTURE, folder.Path("out.bmp")});
        EXPECT_EQ(RunConvert(options, {"XDG_CONFIG_HOME=" + folder.dir.filePath("config")}).status,
                  0);
        return ReadBytes(folder.Path("out.bmp"));
    };
    const std::string defaults = convert({});
    // Blue-red lenses and a white frame on all four sides, three pixels wide (glbShift,
    // without added depth); every other key is missing and reads as its default.
    WriteBytes(store, "[Settings]\nLens=1\nShowFrame=1\nFrameColor=1\nFrameType=1\nglbShift=3\n");
    EXPECT_EQ(convert({}), defaults) << "without the option the store is not read";
    EXPECT_EQ(convert({"--saved-settings"}),
              convert({"--lens", "blue-red", "--frame", "full", "--frame-color", "white",
                       "--added-depth=3", "--no-added-depth"}));
    EXPECT_EQ(convert({"--saved-settings", "--lens", "red-blue", "--no-frame"}),
              convert({"--added-depth=3", "--no-added-depth"}));
    EXPECT_EQ(ReadBytes(store),
              "[Settings]\nLens=1\nShowFrame=1\nFrameColor=1\nFrameType=1\nglbShift=3\n");
    fs::remove(store);
    ASSERT_EQ(mkfifo(store.c_str(), 0644), 0);
    EXPECT_EQ(convert({"--saved-settings"}), defaults);
}

// The folder is made as needed and --format chooses the format; a second input with
// the base name of an earlier one fails rather than overwrite its anaglyph.
TEST(OutputDirTest, EveryPictureConvertsUnderItsBaseNameOnce) {
    TempFolder folder;
    fs::create_directory(folder.Path("a"));
    WritePattern(folder.Path("x.png"), 7, 5);
    WritePattern(folder.Path("a/x.bmp"), 3, 9);
    const std::string out = folder.Path("sortie ß/deeper");
    const ConvertRun run = RunConvert(
        {folder.Path("x.png"), folder.Path("a/x.bmp"), "--output-dir", out, "--format", "PNG"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(Lines(run.err), 1) << run.err;
    EXPECT_THAT(run.err, HasSubstr("cannot convert \"" + folder.Path("a/x.bmp") + "\""));
    EXPECT_EQ(ReadPicture(out + "/x.anaglyph.png").size(), QSize(7, 5));
    EXPECT_EQ(ReadBytes(out + "/x.anaglyph.png").substr(0, 4), "\x89PNG");
}

// A failed write: status 1 and one line naming `target`, with `reason` after it.
void ExpectWriteRefused(const ConvertRun& run, const std::string& target,
                        const std::string& reason = "") {
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(Lines(run.err), 1) << run.err;
    EXPECT_THAT(run.err, HasSubstr("cannot write \"" + target + "\": " + reason));
}

// A size limit a byte short of the whole file makes the write fail in its last flush,
// the latest a writer can notice. A write "over" a pipe through a temporary file
// would put a plain file in its place; a write into it would wait for a reader.
TEST(FailedWriteTest, FailsThePictureAndLeavesWhatWasThere) {
    TempFolder folder;
    const std::string input = folder.Path("in.png");
    const std::string anaglyph = folder.Path("anaglyph.png");
    const std::string pipe = folder.Path("pipe.bmp");
    WritePattern(input, 90, 60);
    ASSERT_EQ(RunConvert({input, anaglyph}).status, 0);
    const rlim_t limit = fs::file_size(anaglyph) - 1;
    ASSERT_GE(limit, 1024u) << "the one line on stderr must still fit";
    WriteBytes(anaglyph, "earlier result");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0666), 0);
    const auto before = Snapshot(folder.Root());
    ConvertRun run;
    {
        const FileSizeLimit limited(limit);
        run = RunConvert({input, anaglyph});
    }
    ExpectWriteRefused(run, anaglyph);
    ExpectWriteRefused(RunConvert({input, pipe}), pipe,
                       "Path/File access error: it is a device, pipe or socket");
    EXPECT_EQ(Snapshot(folder.Root()), before);
}

}  // namespace
}  // namespace tools_test

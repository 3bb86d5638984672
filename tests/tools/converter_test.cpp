// The converter: from its command line to the settings a conversion runs with (the
// classic ones, and --method, --glasses, --layout and --scene), then run as a user or
// a script runs it: the whole conversion in every display format, the line --verbose
// writes about what "auto" picked, the settings store it may start from, and writes
// that fail. What each stage does is checked on the stage; the exit statuses of
// refused command lines and of pictures that fail, with the files they leave, are
// checked with the file safety cases.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QImage>
#include <array>
#include <cstdlib>
#include <filesystem>

#include "tests/support/disk_faults.h"  // FileSizeLimit
#include "tests/tools/convert_run.h"
#include "tools/convert_options.h"
#include "tools/run_settings.h"

namespace tools_test {
namespace {

namespace fs = std::filesystem;
using namespace convert_tool;
using testing::HasSubstr;

// Cue, DepthCue, CueColor; DoWarp, glbWarp, DoShift, glbShift; Lens, ShowFrame,
// FrameType, FrameColor.
using Chosen = std::array<int, 11>;

// Each option changes its own settings and no other; a later choice replaces an
// earlier one.
TEST(RunSettingsTest, EachOptionChoosesItsOwnSettings) {
    const std::pair<QStringList, Chosen> cases[] = {
        {{}, {0, 0, 0, 0, 24, 0, 6, 0, 0, 0, 0}},
        // The entry brings its cue numbers, as choosing it in the menu does; raw
        // numbers go on after it, wherever they stand on the line.
        {{"--cue", "magenta"}, {6, 2, 4, 0, 24, 0, 6, 0, 0, 0, 0}},
        {{"--depth-cue", "5", "--cue-color=-1", "--cue", "magenta"},
         {6, 5, -1, 0, 24, 0, 6, 0, 0, 0, 0}},
        {{"--cue", "saturation", "--depth-cue", "-32768", "--cue-color=+32767"},
         {9, -32768, 32767, 0, 24, 0, 6, 0, 0, 0, 0}},
        // Warp and added depth turn on with their defaults or the given number.
        {{"--warp", "--added-depth"}, {0, 0, 0, 1, 24, 1, 6, 0, 0, 0, 0}},
        {{"--warp=7", "--added-depth=-12"}, {0, 0, 0, 1, 7, 1, -12, 0, 0, 0, 0}},
        {{"--warp=7", "--no-warp", "--added-depth", "--no-added-depth"},
         {0, 0, 0, 0, 7, 0, 6, 0, 0, 0, 0}},
        {{"--lens", "blue-red", "--frame", "full", "--frame-color", "white"},
         {0, 0, 0, 0, 24, 0, 6, 1, 1, 1, 1}},
        {{"--lens", "blue-red", "--lens", "red-blue", "--frame", "full", "--frame", "sides",
          "--frame-color", "white", "--frame-color", "black"},
         {0, 0, 0, 0, 24, 0, 6, 0, 1, 0, 0}},
        {{"--frame", "full", "--no-frame"}, {0, 0, 0, 0, 24, 0, 6, 0, 0, 1, 0}},
        // A frame colour alone draws no frame.
        {{"--frame-color=white"}, {0, 0, 0, 0, 24, 0, 6, 0, 0, 0, 1}}};
    for (const auto& [options, chosen] : cases) {
        const ParseResult parsed = ParseCommandLine(options + QStringList{"in", "out"});
        EXPECT_EQ(parsed.status, ParseStatus::kRun) << parsed.error.toStdString();
        const RunSettings run = ResolveSettings(parsed.options);
        const core::ConversionSettings& s = run.settings;
        EXPECT_EQ(Chosen({s.Cue, s.DepthCue, s.CueColor, s.DoWarp, run.values.glbWarp, s.DoShift,
                          run.values.glbShift, s.Lens, s.ShowFrame, s.FrameType, s.FrameColor}),
                  chosen)
            << options.join(u' ').toStdString();
    }
}

// Each refusal names what is wrong. Without these refusals a run could write over
// an input, give several pictures one depth map, or wrap a number round.
TEST(CommandLineTest, RefusesWhatCannotBeCarriedOutSayingWhy) {
    const std::pair<QStringList, const char*> cases[] = {
        {{"--bogus", "in", "out"}, "unknown option '--bogus'"},
        {{"in"}, "no output file"},
        {{"in", "in", "out"}, "several inputs need --output-dir"},
        {{"--added-depth=32768", "in", "out"}, "--added-depth: '32768'"},
        {{"--levels", "50,100,150,200", "in", "out"}, "five whole numbers"},
        {{"--display-bpp", "12", "in", "out"}, "'12'"},
        {{"--depth-map", "out", "--output-dir", "dir", "in", "in"}, "single input"},
        {{"--parallax", "20", "in", "out"}, "--parallax: '20' is not a number from 0.1 to 10"},
        {{"--parallax", "0.05", "in", "out"}, "--parallax: '0.05'"},
        {{"--screen-plane", "101", "in", "out"}, "--screen-plane: '101'"},
        {{"--screen-plane", "far", "in", "out"}, "--screen-plane: 'far'"},
        {{"--depth-from-invert", "in", "out"}, "--depth-from-invert needs --depth-from"},
        {{"--depth-from", "", "in", "out"}, "--depth-from: the file name is empty"},
        {{"--left-view", "l.png", "a", "b", "--output-dir", "d"}, "need a single input"},
        {{"--glasses", "red-blue", "in", "out"},
         "--glasses: 'red-blue' is not one of red-cyan|green-magenta|amber-blue"},
        {{"--scene", "classic", "in", "out"},
         "--scene: 'classic' is not one of auto|landscape|portrait|flat"},
        {{"-j", "0", "in", "out"}, "--jobs: '0' is not a whole number from 1 to 256"},
        {{"--jobs", "two", "in", "out"}, "--jobs: 'two'"},
        {{"--quality", "101", "in", "out"}, "--quality: '101' is not a whole number from 0 to 100"},
        {{"--png-compression", "10", "in", "out"}, "--png-compression: '10'"},
        {{"--depth-cue", "abc", "in", "out"}, "--depth-cue: 'abc' is not a whole number"},
        {{"--background", "red", "in", "out"},
         "--background: 'red' is not white, black or #rrggbb"},
    };
    for (const auto& [arguments, says] : cases) {
        const ParseResult parsed = ParseCommandLine(arguments);
        EXPECT_EQ(parsed.status, ParseStatus::kUsageError) << says;
        EXPECT_TRUE(parsed.error.contains(QString::fromUtf8(says))) << parsed.error.toStdString();
    }
}

// Each option sets its own choice and no classic setting, a later choice replaces an
// earlier one, and without --scene the depth stays classic.
TEST(StereoAndSceneOptionsTest, EachOptionChoosesItsOwnSetting) {
    using Picked = std::array<int, 4>;  // method, glasses, layout, scene
    const std::pair<QStringList, Picked> cases[] = {
        {{}, {0, 0, 0, 0}},
        {{"--method", "dubois"}, {3, 0, 0, 0}},
        {{"--method=half-colour", "--glasses", "green-magenta"}, {1, 1, 0, 0}},
        {{"--glasses", "amber-blue", "--layout", "half-top-bottom"}, {0, 2, 5, 0}},
        {{"--layout", "cross-eye", "--layout", "side-by-side", "--method", "grey"}, {2, 0, 1, 0}},
        {{"--layout", "half-side-by-side"}, {0, 0, 3, 0}},
        {{"--layout=top-bottom"}, {0, 0, 4, 0}},
        {{"--scene", "auto"}, {0, 0, 0, 1}},
        {{"--scene=landscape"}, {0, 0, 0, 2}},
        {{"--scene", "portrait"}, {0, 0, 0, 3}},
        {{"--scene", "flat"}, {0, 0, 0, 4}},
        {{"--scene", "flat", "--scene", "auto"}, {0, 0, 0, 1}},
    };
    for (const auto& [options, picked] : cases) {
        const std::string named = options.join(u' ').toStdString();
        const ParseResult parsed = ParseCommandLine(options + QStringList{"in", "out"});
        ASSERT_EQ(parsed.status, ParseStatus::kRun) << parsed.error.toStdString();
        const RunSettings run = ResolveSettings(parsed.options);
        EXPECT_EQ(
            Picked({run.stereo.method, run.stereo.glasses, run.stereo.layout, run.scene.scene}),
            picked)
            << named;
        EXPECT_EQ(run.settings, core::ConversionSettings{}) << named;
    }
}

// The sample is a landscape under a sky; --verbose names the pick, and without it
// the converter stays as quiet as ever.
TEST(StereoAndSceneOptionsTest, VerboseSaysWhichSceneAutoPicked) {
    TempFolder folder;
    const ConvertRun verbose =
        RunConvert({"--scene", "auto", "--verbose", ZARVIK_SAMPLE_PICTURE, folder.Path("out.bmp")});
    EXPECT_EQ(verbose.status, 0) << verbose.err;
    EXPECT_THAT(verbose.err, HasSubstr("sample.png\": scene landscape\n"));
    const ConvertRun quiet =
        RunConvert({"--scene", "auto", ZARVIK_SAMPLE_PICTURE, folder.Path("out.bmp")});
    EXPECT_EQ(quiet.status, 0);
    EXPECT_EQ(quiet.err, "");
    const ConvertRun classic =
        RunConvert({"--verbose", ZARVIK_SAMPLE_PICTURE, folder.Path("out.bmp")});
    EXPECT_EQ(classic.err, "");
}

// The mean over every pixel and channel of how far two pictures of one size differ.
double MeanChannelDistance(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * a.width() * a.height());
}

// The anaglyph's red comes from the picture and its green and blue from the second
// view, each through its mask; the depth map is grey. Every view is written in the
// format its name gives (a bitmap for a name without an extension), 24 bits a pixel
// show every colour as 32 do, and 8 show them as near as the palette can.
TEST(WholeRunTest, EveryDisplayFormatConvertsEveryView) {
    // A kept channel of a mask: c x 0.99 with the gain held in single precision and the
    // product rounded whole. The gain is a hair above 0.99, so a product that would
    // end in exactly .5 (c = 50, 150, 250) goes up: 99 c / 100 with halves rounded up.
    const auto masked = [](int channel) { return (99 * channel + 50) / 100; };
    TempFolder folder;
    const std::string anaglyph = folder.Path("résultat ü.bmp");
    const std::string second = folder.Path("второй вид.PNG");
    const std::string depth = folder.Path("карта глубины");
    const QImage picture = ReadRgb(ZARVIK_SAMPLE_PICTURE);
    QImage full;
    for (const int bits : {32, 24, 16, 15, 8}) {
        SCOPED_TRACE(bits);
        const ConvertRun run =
            RunConvert({"--display-bpp", std::to_string(bits), ZARVIK_SAMPLE_PICTURE, anaglyph,
                        "--second-view", second, "--depth-map", depth});
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err + run.out, "");
        const QImage a = ReadRgb(anaglyph), s = ReadRgb(second), d = ReadRgb(depth);
        EXPECT_EQ(ReadBytes(second).substr(0, 4), "\x89PNG");
        EXPECT_EQ(ReadBytes(depth).substr(0, 2), "BM");
        for (const QImage& view : {a, s, d}) ASSERT_EQ(view.size(), picture.size());
        EXPECT_TRUE(bits != 24 || a == full);
        // A palette shows the true-colour anaglyph to its nearest entries, within half a
        // step (25) of its colour cube on average; ORing the masks' indices was off by
        // about 80.
        if (bits == 8) {
            EXPECT_LT(MeanChannelDistance(a, full), 25.0);
        }
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

// --saved-settings starts from what the desktop program stored, read from the store
// of the user running it (here one in a temporary folder); without the option the
// store is not read at all. A pipe in its place, which
// would make a reader wait for a writer for ever, reads as a store without keys.
TEST(SavedSettingsTest, StartsFromTheStoreWhenAsked) {
    TempFolder folder;
    fs::create_directories(folder.Path("config/Zarvik"));
    const std::string store = folder.Path("config/Zarvik/Zarvik.conf");
    const auto convert = [&folder](std::vector<std::string> options) {
        options.insert(options.end(), {ZARVIK_SAMPLE_PICTURE, folder.Path("out.bmp")});
        EXPECT_EQ(RunConvert(options, {"XDG_CONFIG_HOME=" + folder.dir.filePath("config")}).status,
                  0);
        return ReadBytes(folder.Path("out.bmp"));
    };
    // Blue-red lenses and a white frame on all four sides, three pixels wide (glbShift,
    // without added depth); every other key is missing and reads as its default.
    WriteBytes(store, "[Settings]\nLens=1\nShowFrame=1\nFrameColor=1\nFrameType=1\nglbShift=3\n");
    const std::string defaults = convert({});
    EXPECT_EQ(convert({"--saved-settings"}),
              convert({"--lens", "blue-red", "--frame", "full", "--frame-color", "white",
                       "--added-depth=3", "--no-added-depth"}));
    fs::remove(store);
    ASSERT_EQ(mkfifo(store.c_str(), 0644), 0);
    EXPECT_EQ(convert({"--saved-settings"}), defaults);
}

// A failed write: status 1 and one line naming `target`, with `reason` after it.
void ExpectWriteRefused(const ConvertRun& run, const std::string& target,
                        const std::string& reason = "") {
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(Lines(run.err), 1) << run.err;
    EXPECT_THAT(run.err, HasSubstr("cannot write \"" + target + "\": " + reason));
}

// A failed write leaves what was at the name before, whole, with nothing of the
// attempt beside it. A size limit a byte short of the whole file makes the write
// fail in its last flush, the latest a writer can notice. A write "over" a pipe
// through a temporary file would put a plain file in its place; a write into it
// would wait for a reader for ever.
TEST(FailedWriteTest, FailsThePictureAndLeavesWhatWasThere) {
    TempFolder folder;
    const std::string anaglyph = folder.Path("anaglyph.png");
    const std::string pipe = folder.Path("pipe.bmp");
    ASSERT_EQ(RunConvert({ZARVIK_SAMPLE_PICTURE, anaglyph}).status, 0);
    const rlim_t limit = fs::file_size(anaglyph) - 1;
    WriteBytes(anaglyph, "earlier result");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0666), 0);
    ConvertRun run;
    {
        const FileSizeLimit limited(limit);
        run = RunConvert({ZARVIK_SAMPLE_PICTURE, anaglyph});
    }
    ExpectWriteRefused(run, anaglyph);
    ExpectWriteRefused(RunConvert({ZARVIK_SAMPLE_PICTURE, pipe}), pipe,
                       "Path/File access error: it is a device, pipe or socket");
    EXPECT_EQ(ReadBytes(anaglyph), "earlier result");
    EXPECT_TRUE(fs::is_fifo(pipe));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), {}), 2);
}

}  // namespace
}  // namespace tools_test

// The converter never loses a file and never calls a failure a success, run as a user
// runs it: outputs that are inputs under any name, batches that would write over a
// later input, empty and missing names, names that are folders, links or too long,
// extensions it cannot write, transparency and the help written to a full disk. The
// exit status is 2 for a command line it will not run, 1 for a picture that fails.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QImage>
#include <filesystem>
#include <map>

#include "tests/tools/convert_run.h"

namespace tools_test {
namespace {

namespace fs = std::filesystem;
using testing::HasSubstr;

struct SafetyCase {
    const char* name;
    // "%" at the start of a word stands for the test's folder, which is also the
    // working folder, so a word without it may be a relative name.
    std::vector<std::string> arguments;
    int status;
    const char* says;  // in the one line on stderr
};

// clang-format off
const SafetyCase kCases[] = {
    {"OutputIsTheInput", {"%a.png", "%a.png"}, 2, "is the input"},
    {"OutputByDotDot", {"%a.png", "%dir/../a.png"}, 2, "an output never replaces an input"},
    {"OutputIsASymbolicLink", {"%a.png", "%link.png"}, 2, "is the input"},
    {"OutputIsAHardLink", {"%a.png", "%hard.png"}, 2, "is the input"},
    {"DepthMapIsTheInput", {"%a.png", "%out.bmp", "--depth-map", "%./a.png"}, 2, "the depth map"},
    {"SecondViewIsTheInput", {"%a.png", "%out.bmp", "--second-view", "%link.png"}, 2,
     "the second view"},
    {"LeftViewIsTheInput", {"%a.png", "%out.bmp", "--left-view", "%a.png"}, 2, "is the input"},
    {"RightViewIsTheDepthMapRead",
     {"%a.png", "%out.bmp", "--depth-from", "%b.png", "--right-view", "%b.png"}, 2,
     "the depth map read"},
    // Names of new files: the same place by any way there.
    {"DepthMapIsTheOutput", {"%a.png", "%out.bmp", "--depth-map", "%dir/../out.bmp"}, 2,
     "are the same file"},
    {"DepthMapIsTheRelativeOutput", {"%a.png", "out.bmp", "--depth-map", "%out.bmp"}, 2,
     "are the same file"},
    {"DepthMapIsTheOutputByAFolderLink",
     {"%a.png", "%dir/out.bmp", "--depth-map", "%dirlink/out.bmp"}, 2, "are the same file"},
    {"DepthMapIsTheOutputByAMissingFolder",
     {"%a.png", "%dir/out.bmp", "--depth-map", "%dir/sub/../out.bmp"}, 2, "are the same file"},
    // The first input's anaglyph would replace the second input before it is read.
    {"BatchOutputIsALaterInput", {"--output-dir", "%", "%a.png", "%a.anaglyph.bmp"}, 2,
     "is the input"},
    {"BatchTwoInputsOneOutput", {"--output-dir", "%out", "%a.png", "%dir/a.png"}, 2,
     "are the same file"},
    {"EmptyOutputName", {"%a.png", ""}, 2, "the output: the file name is empty"},
    {"EmptyDepthMapName", {"%a.png", "%out.bmp", "--depth-map", ""}, 2, "the file name is empty"},
    {"OptionWithoutItsValue", {"%a.png", "%out.bmp", "--depth-map"}, 2, "--depth-map needs a value"},
    {"OutputDirBeforeAnOption", {"%a.png", "--output-dir", "--format", "png"}, 2,
     "--output-dir needs a value"},
    {"OutputDirIsAFile", {"--output-dir", "%b.png", "%a.png"}, 2, "is not a folder"},
    {"OutputDirUnderAFile", {"--output-dir", "%b.png/out", "%a.png"}, 2,
     "a part of the path is not a folder"},
    {"OutputIsAFolder", {"%a.png", "%dir"}, 2, "is a folder"},
    {"OutputNameTooLong", {"%a.png", "%" + std::string(300, 'x') + ".bmp"}, 2, "name too long"},
    {"OutputInALinkLoop", {"%a.png", "%loop1/out.bmp"}, 2, "too many levels of symbolic links"},
    {"UnwritableExtension", {"%a.png", "%out.jxl"}, 2,
     "cannot write .jxl pictures; the extension must be one of bmp, png, jpg, jpeg"},
    {"UnwritableDepthMapExtension", {"%a.png", "%out.bmp", "--depth-map", "%depth.gif"}, 2,
     "cannot write .gif pictures"},
    // Read problems are the picture's: status 1, and still nothing written.
    {"MissingInputWithASimilarName", {"%holiday", "%out.bmp"}, 1, "File not found"},
    {"InputInALinkLoop", {"%loop1", "%out.bmp"}, 1, "too many levels of symbolic links"},
    {"InputNameTooLong", {"%" + std::string(300, 'y') + ".png", "%out.bmp"}, 1, "name too long"},
    {"InputUnderAFile", {"%b.png/a.png", "%out.bmp"}, 1, "a part of the path is not a folder"},
    {"InputIsAFolder", {"%dir", "%out.bmp"}, 1, "it is a folder"},
    {"BadBitmapHeader", {"%bits7.bmp", "%out.bmp"}, 1, "the bits per pixel are 7"},
    {"MissingDepthMapToRead", {"%a.png", "%out.bmp", "--depth-from", "%no such map.png"}, 1,
     "no such map.png\": File not found"},
    // What works: a batch into its inputs' own folder.
    {"BatchIntoItsOwnFolder", {"--output-dir", "%", "%a.png", "%b.png"}, 0, ""},
};
// clang-format on

std::map<std::string, std::string> Contents(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_symlink())
            files[entry.path()] = "link to " + fs::read_symlink(entry).string();
        else if (entry.is_regular_file())
            files[entry.path()] = ReadBytes(entry.path());
        else
            files[entry.path()] = "folder";
    }
    return files;
}

void MakeFiles(const TempFolder& f) {
    fs::copy_file(ZARVIK_SAMPLE_PICTURE, f.Path("a.png"));
    fs::copy_file(ZARVIK_SAMPLE_PICTURE, f.Path("holiday.png"));
    QImage other(5, 4, QImage::Format_RGB32);
    other.fill(qRgb(200, 40, 90));
    ASSERT_TRUE(other.save(QString::fromStdString(f.Path("b.png"))));
    ASSERT_TRUE(other.save(QString::fromStdString(f.Path("a.anaglyph.bmp"))));
    fs::create_directory(f.Path("dir"));
    fs::create_directory_symlink(f.Path("dir"), f.Path("dirlink"));
    fs::copy_file(ZARVIK_SAMPLE_PICTURE, f.Path("dir/a.png"));
    fs::create_symlink(f.Path("a.png"), f.Path("link.png"));
    fs::create_hard_link(f.Path("a.png"), f.Path("hard.png"));
    fs::create_symlink(f.Path("loop2"), f.Path("loop1"));
    fs::create_symlink(f.Path("loop1"), f.Path("loop2"));
    std::string bitmap = ReadBytes(f.Path("a.anaglyph.bmp"));
    bitmap[28] = 7;  // bits per pixel
    WriteBytes(f.Path("bits7.bmp"), bitmap);
}

class FileSafetyTest : public testing::TestWithParam<SafetyCase> {};

// A refusal is one line and leaves every file as it was, adding none; a run that
// works adds its output and changes nothing else.
TEST_P(FileSafetyTest, RefusesOrWritesOnlyItsOutput) {
    const SafetyCase& c = GetParam();
    TempFolder f;
    MakeFiles(f);
    const auto before = Contents(f.Path());
    std::vector<std::string> arguments;
    for (const std::string& word : c.arguments)
        arguments.push_back(!word.empty() && word[0] == '%' ? f.Path(word.substr(1)) : word);
    const QString working = QDir::currentPath();
    QDir::setCurrent(f.dir.path());
    const ConvertRun run = RunConvert(arguments);
    QDir::setCurrent(working);

    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_THAT(run.err, HasSubstr(c.says));
    // A usage error's line is followed by the pointer to --help.
    EXPECT_EQ(Lines(run.err), c.status) << run.err;
    if (c.status == 2) {
        EXPECT_THAT(run.err, HasSubstr("--help"));
    }
    auto after = Contents(f.Path());
    if (c.status == 0) {  // the batch: a.anaglyph.bmp over the old one, and b.anaglyph.bmp
        EXPECT_FALSE(QImage(QString::fromStdString(f.Path("b.anaglyph.bmp"))).isNull());
        EXPECT_NE(after[f.Path("a.anaglyph.bmp")], before.at(f.Path("a.anaglyph.bmp")));
        after.erase(f.Path("b.anaglyph.bmp"));
        after[f.Path("a.anaglyph.bmp")] = before.at(f.Path("a.anaglyph.bmp"));
    }
    EXPECT_EQ(after, before) << "the run changed or added another file";
}

INSTANTIATE_TEST_SUITE_P(Cases, FileSafetyTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<SafetyCase>& info) {
                             return info.param.name;
                         });

// Transparent pixels hiding red: laid over white they keep the anaglyph's red
// channel full, over black empty; the hidden red shows in neither.
TEST(BackgroundOptionTest, TransparentPixelsTakeTheChosenBackground) {
    TempFolder f;
    QImage picture(6, 4, QImage::Format_ARGB32);
    picture.fill(qRgba(255, 0, 0, 0));
    ASSERT_TRUE(picture.save(QString::fromStdString(f.Path("hidden.png"))));
    const auto red_of = [&](std::vector<std::string> options) {
        options.insert(options.end(), {f.Path("hidden.png"), f.Path("out.png")});
        const ConvertRun run = RunConvert(options);
        EXPECT_EQ(run.status, 0) << run.err;
        const QImage out(QString::fromStdString(f.Path("out.png")));
        return std::pair{qRed(out.pixel(0, 0)), qGreen(out.pixel(0, 0))};
    };
    EXPECT_EQ(red_of({}), std::pair(252, 252));  // white, through the 0.99 masks
    EXPECT_EQ(red_of({"--background", "black"}), std::pair(0, 0));
    EXPECT_EQ(red_of({"--background=#ff0000"}), std::pair(252, 0));
}

// The help and the version are a success; the help that cannot be written is a
// failure, not a success.
TEST(HelpOutputTest, AFullDiskFailsTheHelp) {
    EXPECT_EQ(RunConvert({"--help"}).status, 0);
    EXPECT_EQ(RunConvert({"--version"}).status, 0);
    QProcess process;
    process.setStandardOutputFile(QStringLiteral("/dev/full"));
    process.start(QStringLiteral(ZARVIK_CONVERT_PATH), {QStringLiteral("--help")});
    ASSERT_TRUE(process.waitForFinished(60'000));
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_THAT(process.readAllStandardError().toStdString(),
                HasSubstr("cannot write to standard output: No space left on device"));
}

}  // namespace
}  // namespace tools_test

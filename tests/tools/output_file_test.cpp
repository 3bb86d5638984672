// The files a conversion writes: their format follows their extension, their size is
// the picture's, and with --output-dir each input's anaglyph gets a name of its own.
// A write the machine or the file system refuses fails the picture with one line
// that names the file, and whatever was at that name before is still there, whole,
// with nothing of the attempt beside it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QImageWriter>
#include <filesystem>
#include <optional>

#include "tests/support/disk_faults.h"  // FileSizeLimit
#include "tests/tools/convert_process.h"
#include "tests/tools/test_files.h"
#include "tools/output_format.h"

namespace tools_test {
namespace {

namespace fs = std::filesystem;
using testing::HasSubstr;

// TIFF and WebP are written only where Qt has a writer for them; any other name
// gets a Windows bitmap.
TEST(OutputFormatTest, ExtensionChoosesTheFormat) {
    const std::pair<const char*, QByteArray> cases[] = {
        {"out.bmp", "bmp"},   {"out.png", "png"},  {"OUT.PNG", "png"},   {"out.jpg", "jpeg"},
        {"a/b.JpEg", "jpeg"}, {"out.tif", "tiff"}, {"out.tiff", "tiff"}, {"out.webp", "webp"},
        {"out.xyz", "bmp"},   {"out.gif", "bmp"},  {"out", "bmp"},       {"a.png/out", "bmp"}};
    const auto writable = QImageWriter::supportedImageFormats();
    for (const auto& [path, format] : cases)
        EXPECT_EQ(convert_tool::FormatForPath(QString::fromUtf8(path)),
                  writable.contains(format) ? format : QByteArray("bmp"))
            << path;
}

// The name keeps everything before the last dot of the input's file name.
TEST(OutputDirTest, AnaglyphNameFollowsTheInputsBaseName) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"first.png", "bmp", "dir/first.anaglyph.bmp"},
        {"/else/where/second.photo.jpg", "png", "dir/second.photo.anaglyph.png"},
        {"no extension", "bmp", "dir/no extension.anaglyph.bmp"},
        {".hidden", "bmp", "dir/.hidden.anaglyph.bmp"}};
    for (const auto& [input, extension, output] : cases)
        EXPECT_EQ(convert_tool::OutputPathInDir("dir", input, extension), output) << input;
}

std::string Signature(const std::string& path, std::size_t length) {
    return ReadBytes(path).substr(0, length);
}

// The anaglyph, the depth map and the second view, each in the format its name
// gives (a bitmap for GIF, which Qt guessing from the name could not write), at the
// picture's size; a conversion that works says nothing.
TEST(OutputFileTest, EveryViewInItsFormatUnderNonAsciiNames) {
    TempFolder folder;
    fs::create_directory(folder.Path("mes images été"));
    const std::string input = folder.Path("mes images été/Grüße 写真.png");
    WritePattern(input, 23, 9);
    const ConvertRun run = RunConvert({input, folder.Path("résultat ü.JPG"), "--depth-map",
                                       folder.Path("карта глубины.png"),
                                       "--second-view=" + folder.Path("второй вид.gif")});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err + run.out, "");
    const std::pair<const char*, std::string> files[] = {{"résultat ü.JPG", "\xFF\xD8\xFF"},
                                                         {"карта глубины.png", "\x89PNG"},
                                                         {"второй вид.gif", "BM"}};
    for (const auto& [name, signature] : files) {
        EXPECT_EQ(Signature(folder.Path(name), signature.size()), signature) << name;
        EXPECT_EQ(ReadPicture(folder.Path(name)).size(), QSize(23, 9)) << name;
    }
}

// The folder is made as needed and --format chooses the format; a second input with
// the base name of an earlier one fails rather than overwrite its anaglyph. Pictures
// that convert say nothing, even several of them.
TEST(OutputDirTest, EveryPictureConvertsUnderItsBaseNameOnce) {
    TempFolder folder;
    fs::create_directories(folder.Path("a"));
    fs::create_directories(folder.Path("b"));
    WritePattern(folder.Path("first.png"), 7, 5);
    WritePattern(folder.Path("a/x.png"), 8, 2);
    WritePattern(folder.Path("b/x.bmp"), 3, 9);
    const std::string out = folder.Path("sortie ß/deeper");
    const ConvertRun run =
        RunConvert({folder.Path("first.png"), folder.Path("a/x.png"), folder.Path("b/x.bmp"),
                    "--output-dir", out, "--format", "PNG"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(LineCount(run.err), 1) << run.err;
    EXPECT_THAT(run.err, HasSubstr(CannotConvert(folder.Path("b/x.bmp"))));
    EXPECT_EQ(ReadPicture(out + "/first.anaglyph.png").size(), QSize(7, 5));
    EXPECT_EQ(ReadPicture(out + "/x.anaglyph.png").size(), QSize(8, 2));
    EXPECT_EQ(Signature(out + "/first.anaglyph.png", 4), "\x89PNG");
}

TEST(OutputDirTest, AFileInTheFolderPlaceFailsWithOneLine) {
    TempFolder folder;
    WritePattern(folder.Path("in.png"), 3, 3);
    WriteBytes(folder.Path("taken"), "not a folder");
    const ConvertRun run =
        RunConvert({"--output-dir", folder.Path("taken"), folder.Path("in.png")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(LineCount(run.err), 1) << run.err;
    EXPECT_THAT(run.err,
                HasSubstr("cannot create the output folder \"" + folder.Path("taken") + "\""));
    EXPECT_EQ(ReadBytes(folder.Path("taken")), "not a folder");
}

// A failed write: status 1 and one line naming `target`, with `reason` after it.
void ExpectWriteRefused(const ConvertRun& run, const std::string& target,
                        const std::string& reason = "") {
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(LineCount(run.err), 1) << run.err;
    EXPECT_THAT(run.err, HasSubstr("cannot write \"" + target + "\": " + reason));
}

// A write that fails part way: at a size limit a kilobyte into the file (a new one),
// in the last flush at a limit a byte short of the whole file, and in an encoder that
// refuses the picture once the file is open (WebP stops at 16383 pixels a side).
TEST(FailedWriteTest, LeavesWhatWasThere) {
    TempFolder folder;
    WritePattern(folder.Path("in.png"), 90, 60);
    WritePattern(folder.Path("wide.bmp"), 17000, 2);
    const struct {
        const char* input;
        const char* output;
        rlim_t limit;  // 0: none; 1: a byte short of the whole file
        bool earlier;  // a file is at the name before
    } cases[] = {{"in.png", "new.png", 1024, false},
                 {"in.png", "out.png", 1, true},
                 {"in.png", "out.tif", 1, true},
                 {"wide.bmp", "out.webp", 0, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.output);
        const std::string input = folder.Path(c.input);
        const std::string output = folder.Path(c.output);
        rlim_t limit = c.limit;
        if (limit == 1) {
            ASSERT_EQ(RunConvert({input, output}).status, 0);
            limit = fs::file_size(output) - 1;
            ASSERT_GE(limit, 1024u) << "the one line on stderr must still fit";
        }
        if (c.earlier) WriteBytes(output, "earlier result");
        const auto before = Snapshot(folder.Root());
        ConvertRun run;
        {
            std::optional<FileSizeLimit> limited;
            if (limit != 0) limited.emplace(limit);
            run = RunConvert({input, output});
        }
        ExpectWriteRefused(run, output);
        EXPECT_EQ(Snapshot(folder.Root()), before);
    }
}

// Each target is tried as the anaglyph, then as the depth map beside an anaglyph that
// can be written. A write "over" a pipe through a temporary file would put a plain
// file in its place; a write into it would wait for a reader for ever.
TEST(UnwritableTargetTest, FailsThePictureAndStaysWhatItWas) {
    TempFolder folder;
    const std::string input = folder.Path("in.png");
    const std::string anaglyph = folder.Path("anaglyph.bmp");
    WritePattern(input, 5, 4);
    WriteBytes(folder.Path("plain"), "earlier result");
    fs::create_directory(folder.Path("folder.bmp"));
    ASSERT_EQ(mkfifo(folder.Path("pipe.bmp").c_str(), 0666), 0);
    const auto before = Snapshot(folder.Root());
    const std::pair<const char*, const char*> targets[] = {
        {"plain/out.bmp", ""},
        {"folder.bmp", "Path/File access error: it is a folder"},
        {"pipe.bmp", "Path/File access error: it is a device, pipe or socket"}};
    for (const auto& [name, reason] : targets) {
        const std::string target = folder.Path(name);
        ExpectWriteRefused(RunConvert({input, target}), target, reason);
        ExpectWriteRefused(RunConvert({input, anaglyph, "--depth-map", target}), target, reason);
        EXPECT_EQ(ReadPicture(anaglyph).size(), QSize(5, 4)) << name;
        fs::remove(anaglyph);
    }
    EXPECT_EQ(Snapshot(folder.Root()), before);
}

}  // namespace
}  // namespace tools_test

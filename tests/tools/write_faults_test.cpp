// Writes the machine or the file system refuses: the picture fails with one line
// that names the file, and whatever was at that name before is still there, whole,
// with nothing of the attempt beside it.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "tests/app/disk_faults.h"  // FileSizeLimit
#include "tests/tools/convert_process.h"
#include "tests/tools/test_files.h"

namespace tools_test {
namespace {

namespace fs = std::filesystem;

struct LimitCase {
    const char* name;
    const char* extension;
    std::int64_t limit;  // bytes a file may have; below 0: the anaglyph's size less this
};

class FileSizeLimitTest : public testing::TestWithParam<LimitCase> {};

TEST_P(FileSizeLimitTest, AFailedWriteLeavesTheEarlierFileWhole) {
    const LimitCase& c = GetParam();
    TempFolder folder;
    const std::string input = folder.Path("in.png");
    const std::string output = folder.Path(std::string("out") + c.extension);
    WritePattern(input, 90, 60);
    ASSERT_EQ(RunConvert({input, output}).status, 0);
    const auto full = static_cast<std::int64_t>(fs::file_size(output));
    const auto limit = static_cast<rlim_t>(c.limit >= 0 ? c.limit : full + c.limit);
    ASSERT_LT(limit, full);
    ASSERT_GE(limit, 1024u) << "the one line on stderr must still fit";
    WriteBytes(output, "earlier result");
    const auto before = Snapshot(folder.Root());

    ConvertRun run;
    {
        const FileSizeLimit limited(limit);
        run = RunConvert({input, output});
    }
    ExpectWriteRefused(run, output);
    EXPECT_EQ(Snapshot(folder.Root()), before);
}

INSTANTIATE_TEST_SUITE_P(Limits, FileSizeLimitTest,
                         testing::Values(LimitCase{"PngAtOneKilobyte", ".png", 1024},
                                         LimitCase{"PngOneByteShort", ".png", -1},
                                         LimitCase{"TiffOneByteShort", ".tif", -1}),
                         CaseName());

// WebP stops at 16383 pixels a side, so the encoder refuses this picture after the
// file has been opened: the failure comes in the middle of the write.
TEST(EncoderFailureTest, LeavesTheEarlierFileWhole) {
    TempFolder folder;
    WritePattern(folder.Path("wide.bmp"), 17000, 2);
    const std::string output = folder.Path("out.webp");
    WriteBytes(output, "earlier result");
    const auto before = Snapshot(folder.Root());
    ExpectWriteRefused(RunConvert({folder.Path("wide.bmp"), output}), output);
    EXPECT_EQ(Snapshot(folder.Root()), before);
}

struct TargetCase {
    const char* name;
    const char* target;                                   // in the test's folder
    std::function<bool(const std::string& target)> make;  // what is there; true when made
    const char* reason;
};

class UnwritableTargetTest : public testing::TestWithParam<TargetCase> {};

// The target is tried as the anaglyph, then as the depth map beside an anaglyph that
// can be written. A write "over" a pipe through a temporary file would put a plain
// file in its place; a write into it would wait for a reader for ever.
TEST_P(UnwritableTargetTest, FailsThePictureAndStaysWhatItWas) {
    const TargetCase& c = GetParam();
    TempFolder folder;
    const std::string input = folder.Path("in.png");
    const std::string target = folder.Path(c.target);
    WritePattern(input, 5, 4);
    ASSERT_TRUE(c.make(target));
    const auto before = Snapshot(folder.Root());

    ExpectWriteRefused(RunConvert({input, target}), target, c.reason);
    const std::string anaglyph = folder.Path("anaglyph.bmp");
    ExpectWriteRefused(RunConvert({input, anaglyph, "--depth-map", target}), target, c.reason);

    EXPECT_EQ(ReadPicture(anaglyph).size(), QSize(5, 4));
    fs::remove(anaglyph);
    EXPECT_EQ(Snapshot(folder.Root()), before);
}

constexpr const char* kNotAFile = "Path/File access error: it is a device, pipe or socket";

INSTANTIATE_TEST_SUITE_P(
    Targets, UnwritableTargetTest,
    testing::Values(TargetCase{"InsideAFile", "plain/out.bmp",
                               [](const std::string& t) {
                                   WriteBytes(fs::path(t).parent_path(), "earlier result");
                                   return true;
                               },
                               ""},
                    TargetCase{"AFolder", "out.bmp",
                               [](const std::string& t) { return fs::create_directory(t); },
                               "Path/File access error: it is a folder"},
                    TargetCase{"Pipe", "special.bmp",
                               [](const std::string& t) { return mkfifo(t.c_str(), 0666) == 0; },
                               kNotAFile}),
    CaseName());

}  // namespace
}  // namespace tools_test

// Writes the machine or the file system refuses: the picture fails with one line
// that names the file, and whatever was at that name before is still there, whole,
// with nothing of the attempt beside it.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "tests/app/disk_faults.h"
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
                         testing::Values(LimitCase{"BmpAtOneKilobyte", ".bmp", 1024},
                                         LimitCase{"BmpOneByteShort", ".bmp", -1},
                                         LimitCase{"PngAtOneKilobyte", ".png", 1024},
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
    const char* target;  // in the test's folder
    // Makes what is at `target`; false when this user could write there anyway, or
    // cannot make it.
    std::function<bool(const std::string& target)> make;
    const char* reason;
};

class UnwritableTargetTest : public testing::TestWithParam<TargetCase> {};

// The target is tried as the anaglyph, then as the depth map beside an anaglyph that
// can be written. A write "over" a pipe or a device through a temporary file would
// put a plain file in its place (as root, even over /dev/null).
TEST_P(UnwritableTargetTest, FailsThePictureAndStaysWhatItWas) {
    const TargetCase& c = GetParam();
    TempFolder folder;
    const std::string input = folder.Path("in.png");
    const std::string target = folder.Path(c.target);
    WritePattern(input, 5, 4);
    if (!c.make(target)) GTEST_SKIP() << "this user can write there, or cannot make it";
    const auto before = Snapshot(folder.Root());

    ExpectWriteRefused(RunConvert({input, target}), target, c.reason);
    const std::string anaglyph = folder.Path("anaglyph.bmp");
    ExpectWriteRefused(RunConvert({input, anaglyph, "--depth-map", target}), target, c.reason);

    EXPECT_EQ(ReadPicture(anaglyph).size(), QSize(5, 4));
    fs::remove(anaglyph);
    EXPECT_EQ(Snapshot(folder.Root()), before);
}

bool Earlier(const std::string& path) {
    WriteBytes(path, "earlier result");
    return true;
}

constexpr const char* kNotAFile = "Path/File access error: it is a device, pipe or socket";

INSTANTIATE_TEST_SUITE_P(
    Targets, UnwritableTargetTest,
    testing::Values(
        TargetCase{"InsideAFile", "plain/out.bmp",
                   [](const std::string& t) { return Earlier(fs::path(t).parent_path()); }, ""},
        TargetCase{"AFolder", "out.bmp",
                   [](const std::string& t) { return fs::create_directory(t); },
                   "Path/File access error: it is a folder"},
        TargetCase{"InAFolderWithoutWritePermission", "locked/out.bmp",
                   [](const std::string& t) {
                       const fs::path folder = fs::path(t).parent_path();
                       fs::create_directory(folder);
                       Earlier(t);
                       fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
                       return access(folder.c_str(), W_OK) != 0;
                   },
                   ""},
        TargetCase{"ReadOnlyFile", "out.bmp",
                   [](const std::string& t) {
                       Earlier(t);
                       fs::permissions(t, fs::perms::owner_read);
                       return access(t.c_str(), W_OK) != 0;
                   },
                   ""},
        TargetCase{"Pipe", "special.bmp",
                   [](const std::string& t) { return mkfifo(t.c_str(), 0666) == 0; }, kNotAFile},
        // A null device of the test's own, so that a write that got through harms nothing.
        TargetCase{"CharacterDevice", "special.bmp",
                   [](const std::string& t) {
                       return mknod(t.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
                   },
                   kNotAFile}),
    CaseName());

// A small disk of its own, where the user may mount one.
class DiskTest : public testing::Test {
  protected:
    void SetUp() override {
        fs::create_directory(folder_.Path("disk"));
        disk_ = std::make_unique<TinyDisk>(folder_.Path("disk"), 64 * 1024);
        if (!disk_->Mounted()) GTEST_SKIP() << "this user cannot mount a small disk for the test";
        WritePattern(input_, 90, 60);  // about 16 KB as a bitmap
        WriteBytes(output_, "earlier result");
    }

    TempFolder folder_;
    std::unique_ptr<TinyDisk> disk_;
    const std::string input_ = folder_.Path("in.png");
    const std::string output_ = folder_.Path("disk/out.bmp");
};

TEST_F(DiskTest, AFullDiskKeepsTheEarlierFileAndTheNextWriteWorks) {
    ASSERT_TRUE(disk_->Fill());
    const auto before = Snapshot(disk_->Folder());
    ExpectWriteRefused(RunConvert({input_, output_}), output_);
    EXPECT_EQ(Snapshot(disk_->Folder()), before);

    disk_->Empty();
    const ConvertRun converted = RunConvert({input_, output_});
    EXPECT_EQ(converted.status, 0) << converted.err;
    EXPECT_EQ(ReadPicture(output_).size(), QSize(90, 60));
}

TEST_F(DiskTest, AReadOnlyDiskStopsEveryWriteEvenForRoot) {
    ASSERT_TRUE(disk_->MakeReadOnly());
    const auto before = Snapshot(disk_->Folder());
    for (const std::string& target : {output_, folder_.Path("disk/new.bmp")})
        ExpectWriteRefused(RunConvert({input_, target}), target);
    EXPECT_EQ(Snapshot(disk_->Folder()), before);
}

}  // namespace
}  // namespace tools_test

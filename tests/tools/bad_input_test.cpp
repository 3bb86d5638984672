// Inputs that are not pictures, or not whole ones: the picture fails with one line
// that names the file and the reason, and its output is neither made nor touched.
#include <gtest/gtest.h>

#include <QBuffer>
#include <filesystem>
#include <fstream>
#include <functional>

#include "tests/tools/convert_process.h"
#include "tests/tools/test_files.h"

namespace tools_test {
namespace {

std::string EncodedSample(const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ReadPicture(SamplePicture()).save(&buffer, format);
    return bytes.toStdString();
}

std::string Head(const std::string& bytes, std::size_t count) {
    return bytes.substr(0, count);
}

struct BadInput {
    const char* name;
    const char* file;                              // made in the test's folder
    std::function<void(const std::string&)> make;  // nothing: leave it missing
    const char* reason;                            // part of the failure line
};

void PrintTo(const BadInput& c, std::ostream* out) {
    *out << c.name;
}

class BadInputTest : public testing::TestWithParam<BadInput> {};

TEST_P(BadInputTest, FailsWithOneLineAndLeavesTheOutputAlone) {
    const BadInput& c = GetParam();
    TempFolder folder;
    const std::string input = folder.Path(c.file);
    if (c.make) c.make(input);
    const std::string output = folder.Path("out.bmp");
    WriteBytes(output, "earlier result");
    const ConvertRun run = RunConvert({input, output});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(LineCount(run.err), 1) << run.err;
    EXPECT_NE(run.err.find("\"" + input + "\""), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(c.reason), std::string::npos) << run.err;
    EXPECT_EQ(ReadBytes(output), "earlier result");
}

INSTANTIATE_TEST_SUITE_P(
    Files, BadInputTest,
    testing::Values(
        BadInput{"Missing", "missing.png", nullptr, "File not found"},
        BadInput{"Empty", "empty.png", [](const std::string& p) { WriteBytes(p, ""); }, "empty"},
        BadInput{"Text", "notes.txt",
                 [](const std::string& p) { WriteBytes(p, "just some words\n"); },
                 "Invalid picture"},
        BadInput{"TextNamedAsPicture", "fake.jpg",
                 [](const std::string& p) { WriteBytes(p, "not a JPEG at all\n"); },
                 "Invalid picture"},
        BadInput{"PngCutInItsHeader", "cut.png",
                 [](const std::string& p) { WriteBytes(p, Head(EncodedSample("png"), 30)); },
                 "Invalid picture"},
        BadInput{"PngCutInItsData", "half.png",
                 [](const std::string& p) {
                     const std::string png = EncodedSample("png");
                     WriteBytes(p, Head(png, png.size() / 2));
                 },
                 "Invalid picture"},
        BadInput{"JpegCutInItsHeader", "cut.jpg",
                 [](const std::string& p) { WriteBytes(p, Head(EncodedSample("jpeg"), 100)); },
                 "Invalid picture"},
        BadInput{"JpegCutInItsData", "half.jpg",
                 [](const std::string& p) {
                     const std::string jpeg = EncodedSample("jpeg");
                     WriteBytes(p, Head(jpeg, jpeg.size() / 2));
                 },
                 "the file ends before the picture does"},
        BadInput{"Directory", "folder.png",
                 [](const std::string& p) { std::filesystem::create_directory(p); }, "folder"}),
    [](const testing::TestParamInfo<BadInput>& info) { return std::string(info.param.name); });

TEST(UnreadableInputTest, FailsWithOneLineSayingPermissionDenied) {
    TempFolder folder;
    const std::string input = folder.Path("locked.png");
    WritePattern(input, 4, 4);
    std::filesystem::permissions(input, std::filesystem::perms::none);
    if (std::ifstream(input).is_open())
        GTEST_SKIP() << "this user reads files without read permission (root)";
    const ConvertRun run = RunConvert({input, folder.Path("out.bmp")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(LineCount(run.err), 1) << run.err;
    EXPECT_NE(run.err.find("Permission denied"), std::string::npos) << run.err;
    EXPECT_FALSE(Exists(folder.Path("out.bmp")));
}

}  // namespace
}  // namespace tools_test

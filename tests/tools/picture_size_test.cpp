// The grids count pixels in 16-bit integers: 32767 a side converts, one more is
// refused before the picture is decoded, with a line that says why.
#include <gtest/gtest.h>

#include "tests/tools/convert_process.h"
#include "tests/tools/test_files.h"

namespace tools_test {
namespace {

TEST(PictureSizeTest, ThirtyTwoThousandSevenHundredSixtySevenWideConverts) {
    TempFolder folder;
    WritePattern(folder.Path("wide.bmp"), 32767, 2);
    const ConvertRun run = RunConvert({folder.Path("wide.bmp"), folder.Path("out.png")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadPicture(folder.Path("out.png")).size(), QSize(32767, 2));
}

struct TooLarge {
    const char* name;
    int width;
    int height;
};

void PrintTo(const TooLarge& c, std::ostream* out) {
    *out << c.name;
}

class PictureTooLargeTest : public testing::TestWithParam<TooLarge> {};

TEST_P(PictureTooLargeTest, IsRefusedWithOneLine) {
    const TooLarge& c = GetParam();
    TempFolder folder;
    const std::string input = folder.Path("large.bmp");
    WritePattern(input, c.width, c.height);
    const ConvertRun run = RunConvert({input, folder.Path("out.bmp")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(LineCount(run.err), 1) << run.err;
    EXPECT_NE(run.err.find(input), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(std::to_string(c.width) + " x " + std::to_string(c.height)),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("32767"), std::string::npos) << run.err;
    EXPECT_FALSE(Exists(folder.Path("out.bmp")));
}

INSTANTIATE_TEST_SUITE_P(Sides, PictureTooLargeTest,
                         testing::Values(TooLarge{"Wide", 32768, 2}, TooLarge{"High", 2, 32768}),
                         [](const testing::TestParamInfo<TooLarge>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace tools_test

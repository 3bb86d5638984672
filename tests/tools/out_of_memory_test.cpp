// The real converter with too little memory: an address-space limit makes an
// allocation fail wherever the limit falls, in the reading, in any stage of the
// conversion or in the writing. Every run must end with status 1, one line saying
// why and no file, or convert whole: never a crash, never a success without its file.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <iostream>
#include <set>

#include "tests/support/sanitized.h"
#include "tests/tools/convert_run.h"

namespace tools_test {
namespace {

constexpr bool kSanitized = ZARVIK_ADDRESS_SANITIZED;

// The least limit, in steps of 8 MB, under which the converter starts at all: below
// it the system's loader, not the program, gives up.
std::size_t StartingLimit() {
    std::size_t low = 8, high = 4096;
    while (high - low > 8) {
        const std::size_t middle = (low + high) / 2;
        if (RunConvert({"--version"}, {}, middle).status == 0)
            high = middle;
        else
            low = middle;
    }
    return high;
}

TEST(OutOfMemoryTest, EveryLimitFailsCleanlyOrConverts) {
    if (kSanitized) GTEST_SKIP() << "the address sanitizer reserves terabytes of address space";
    TempFolder folder;
    const std::string input = folder.Path("big.png");
    const std::string output = folder.Path("out.png");
    const QImage picture = QImage(QStringLiteral(ZARVIK_SAMPLE_PICTURE)).scaled(1600, 1200);
    ASSERT_TRUE(picture.save(QString::fromStdString(input)));

    std::set<std::string> reasons;
    bool converted = false;
    // A conversion of this picture takes some 60 MB beyond the program's start.
    for (std::size_t megabytes = StartingLimit(); !converted; megabytes += 6) {
        SCOPED_TRACE(megabytes);
        ASSERT_LT(megabytes, 4096u) << "never converted";
        const ConvertRun run =
            RunConvert({"--blur", "median", "--warp", input, output}, {}, megabytes);
        converted = run.status == 0;
        if (converted) {
            EXPECT_EQ(QImage(QString::fromStdString(output)).size(), picture.size());
            EXPECT_EQ(run.err, "");
            continue;
        }
        EXPECT_EQ(run.status, 1) << run.err;
        EXPECT_EQ(Lines(run.err), 1) << run.err;
        EXPECT_FALSE(std::filesystem::exists(output)) << run.err;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1)
            << "something of the attempt is left";
        reasons.insert(run.err);
    }
    // The limits fell in more than one place: the failures name different steps.
    EXPECT_GE(reasons.size(), 3u);
    for (const std::string& reason : reasons) std::cout << reason;
}

}  // namespace
}  // namespace tools_test

// The size limit follows what a conversion holds at once: a picture whose conversion
// fits in the memory available is taken, a larger one is refused saying how much it
// would need.
#include "io/memory_budget.h"

#include <gtest/gtest.h>

namespace {

TEST(MemoryBudgetTest, RefusesOnlyWhatDoesNotFitAndSaysWhatItWouldNeed) {
    const QSize large(20000, 20000);
    const qint64 needed = pictureio::ConversionBytes(qint64(20000) * 20000);
    // At least the seven 4-byte surfaces and pictures a conversion holds.
    EXPECT_GE(needed, qint64(20000) * 20000 * 28);
    EXPECT_EQ(pictureio::MemoryRefusal(large, needed), std::nullopt);
    const auto refused = pictureio::MemoryRefusal(large, needed - 1);
    ASSERT_TRUE(refused);
    EXPECT_EQ(
        refused->toStdString(),
        "Out of memory: converting a 20000 x 20000 picture would need " +
            QString::number(double(needed) / 1e9, 'f', 1).toStdString() + " GB; this machine has " +
            QString::number(double(needed - 1) / 1e9, 'f', 1).toStdString() + " GB available");
    // The pixel budget and the refusal agree.
    const qint64 available = qint64(3) << 30;
    const qint64 pixels = pictureio::PixelsThatFit(available);
    EXPECT_LE(pictureio::ConversionBytes(pixels), available);
    EXPECT_GT(pictureio::ConversionBytes(pixels + 1), available);
}

// What this machine has now is read and is a plausible amount.
TEST(MemoryBudgetTest, ReadsWhatTheMachineHasAvailable) {
    const qint64 available = pictureio::AvailableBytes();
    EXPECT_GT(available, qint64(16) << 20);
    EXPECT_LT(available, qint64(1) << 50);
}

}  // namespace

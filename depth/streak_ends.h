#pragma once
// Where a warp streak stops.
//
// The end ordinate y - grey / w is worked out in double and handed to the line in
// single precision; the line rounds it half to even to a row `last` and covers the
// rows from its own row y toward `last`, leaving `last` itself out. So for w > 0 a
// streak covers rows last + 1 .. y (white at row 100 with w = 24 ends at 89.375, row
// 89, and covers rows 90 .. 100), a streak whose end rounds to its own row covers
// nothing, not even its own pixel, and for w < 0 a streak covers rows y .. last - 1.
#include <array>
#include <cstdint>

namespace depth {

class StreakEnds {
  public:
    explicit StreakEnds(int warp);  // warp is not 0

    // Works out `last` of every grey for streaks that start in row y.
    void MoveToRow(int y);
    int Last(std::uint8_t grey) const { return last_[grey]; }

    // The most rows one streak can cover for this warp: |y - last| is at most
    // 255 / |w| + 1/2 plus the single-precision error, well below one more row.
    static int MaxLength(int warp);

  private:
    std::array<double, 256> quotients_{};
    std::array<int, 256> last_{};
};

}  // namespace depth

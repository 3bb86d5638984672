// The byte runs of the hot paths (32-bit pixels to grid cells and back, OR-ing views,
// filling blanks), with ordinary and streaming stores and both instruction sets,
// for every length up to a few vector blocks and every alignment of the output,
// against byte-by-byte statements of what they write.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "core/rows32.h"
#include "platform/streaming.h"
#include "tests/support/every_run.h"

namespace {

using byte_runs::CheckEveryRun;
using core::rows32::Instructions;
using Bytes = std::vector<std::uint8_t>;

TEST(ByteRuns, WriteTheirStatedBytesAndNothingElse) {
    std::mt19937 rng(3);
    Bytes pixels(4 * 70);  // 70 pixels: four blocks and a tail; also the OR's operands
    for (std::uint8_t& b : pixels) b = static_cast<std::uint8_t>(rng());
    const std::uint8_t *from = pixels.data(), *onto = pixels.data() + 80;
    Bytes cells, encoded, ored, words;
    for (std::size_t p = 0; p < 70; ++p) {
        cells.insert(cells.end(), &pixels[4 * p], &pixels[4 * p + 3]);
        encoded.insert(encoded.end(), {pixels[4 * p], pixels[4 * p + 1], pixels[4 * p + 2], 0});
    }
    for (std::size_t i = 0; i < 80; ++i) ored.push_back(from[i] | onto[i]);
    for (int i = 0; i < 40; ++i) words.insert(words.end(), {0xD2, 0xE1, 0xF0, 0x04});

    for (const bool stream : {false, true}) {
        SCOPED_TRACE(stream ? "streaming" : "ordinary");
        for (const Instructions set : {Instructions::kBest, Instructions::kBaseline}) {
            CheckEveryRun(cells, 3, [&](std::uint8_t* out, std::size_t count) {
                core::rows32::Decode(pixels.data(), reinterpret_cast<core::PixelTriple*>(out),
                                     count, stream, set);
            });
            CheckEveryRun(encoded, 4, [&](std::uint8_t* out, std::size_t count) {
                core::rows32::Encode(reinterpret_cast<const core::PixelTriple*>(cells.data()), out,
                                     count, stream, set);
            });
        }
        CheckEveryRun(ored, 1, [&](std::uint8_t* to, std::size_t count) {
            platform::streaming::OrBytes(from, onto, to, count, stream);
        });
        Bytes in_place(onto, onto + 80);  // the OR may also land on one of its own inputs
        platform::streaming::OrBytes(from, in_place.data(), in_place.data(), 80, stream);
        EXPECT_EQ(in_place, ored);
        CheckEveryRun(words, 4, [&](std::uint8_t* to, std::size_t count) {
            platform::streaming::FillWords(to, count, 0x04F0E1D2u, stream);
        });
    }
}

}  // namespace

#pragma once
// What the warp needs to know of a pixel value, worked out through the display once
// per distinct value: the colour that reading the pixel gives, its grey, and the pixel
// value that a line drawn in that colour puts down (on 8-bit displays the nearest
// system palette entry, on 15 and 16 bits the fields of the widened colour, on 32 bits
// the value without its fourth byte).
#include <cstdint>
#include <vector>

#include "platform/color.h"
#include "platform/display.h"

namespace depth {

class DrawnColors {
  public:
    struct Entry {
        platform::Rgb color = 0;
        std::uint32_t drawn = 0;
        std::uint8_t grey = 0;
    };

    explicit DrawnColors(const platform::Display& display);

    const Entry& Of(std::uint32_t pixel) {
        const std::size_t slot = SlotOf(pixel);
        if (keys_[slot] != pixel) Fill(slot, pixel);
        return entries_[slot];
    }

  private:
    // Up to 16 bits a pixel value is its own slot; wider values share a hashed table.
    std::size_t SlotOf(std::uint32_t pixel) const {
        return hashed_ ? (pixel * 2654435761u) >> (32 - kHashBits) : pixel;
    }
    void Fill(std::size_t slot, std::uint32_t pixel);

    static constexpr int kHashBits = 12;
    const platform::Display* display_;
    bool hashed_;
    std::vector<std::int64_t> keys_;  // -1: empty
    std::vector<Entry> entries_;
};

}  // namespace depth

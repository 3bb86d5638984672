#include "depth/drawn_colors.h"

#include <cmath>

namespace depth {

DrawnColors::DrawnColors(const platform::Display& display)
    : display_(&display), hashed_(display.BytesPerPixel() > 2) {
    const std::size_t slots =
        hashed_ ? std::size_t{1} << kHashBits : std::size_t{1} << (8 * display.BytesPerPixel());
    keys_.assign(slots, -1);
    entries_.resize(slots);
}

void DrawnColors::Fill(std::size_t slot, std::uint32_t pixel) {
    const platform::Rgb color = display_->PixelToColor(pixel);
    const int sum = platform::RedOf(color) + platform::GreenOf(color) + platform::BlueOf(color);
    keys_[slot] = pixel;
    entries_[slot] = {color, display_->ColorToPixel(color),
                      static_cast<std::uint8_t>(std::nearbyint(sum / 3.0))};
}

}  // namespace depth

#pragma once
// The display that every picture surface draws for: its pixel format, its system
// palette (8 bits per pixel only), its device capabilities, and the yield to the
// window system (the old toolkit's DoEvents), which whoever runs the event loop
// installs.
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "platform/color.h"
#include "platform/nearest_entries.h"
#include "platform/palette.h"

namespace platform {

enum class PixelLayout { Indexed8, Rgb555, Rgb565, Bgr24, Bgrx32 };

inline constexpr int SIZEPALETTE = 104;
inline constexpr int NUMRESERVED = 106;

class Display {
  public:
    // 8, 15, 16, 24 or 32; throws std::invalid_argument otherwise.
    explicit Display(int bits_per_pixel = 32);

    static bool IsSupportedDepth(int bits_per_pixel);

    // The depth the display was made with: 15 for the 5-5-5 layout.
    int Depth() const { return depth_; }
    // What a bitmap header reports: 16 for both 16-bit layouts, as the old platform did.
    int HeaderBitsPixel() const { return depth_ == 15 ? 16 : depth_; }
    PixelLayout Layout() const { return layout_; }
    int BytesPerPixel() const { return (HeaderBitsPixel() + 7) / 8; }

    // Index 104 (SIZEPALETTE) and 106 (NUMRESERVED); 0 for anything else and on
    // displays without a palette.
    int GetDeviceCaps(int index) const;
    const PaletteTable& SystemPalette() const { return system_palette_; }
    int GetSystemPaletteEntries(int start, int count, std::span<PaletteEntry> out) const;

    // The pixel value a colour is drawn with; at 8 bits the nearest system entry.
    std::uint32_t ColorToPixel(Rgb color) const;
    // At 8 bits, what ColorToPixel looks the nearest entry up in; none otherwise.
    const NearestEntries* Nearest() const { return nearest_.get(); }
    // The colour a pixel value shows, with 8-bit channels as a real display reports
    // them (5- and 6-bit fields are widened by repeating their top bits).
    Rgb PixelToColor(std::uint32_t pixel) const;

    static std::uint32_t LoadPixel(const std::uint8_t* p, int bytes_per_pixel);
    static void StorePixel(std::uint8_t* p, int bytes_per_pixel, std::uint32_t pixel);

    void SetEventPump(std::function<void()> pump) { pump_ = std::move(pump); }
    void DoEvents() const {
        if (pump_) pump_();
    }

  private:
    int depth_;
    PixelLayout layout_;
    PaletteTable system_palette_{};
    std::shared_ptr<const NearestEntries> nearest_;  // 8 bits per pixel only
    std::function<void()> pump_;
};

}  // namespace platform

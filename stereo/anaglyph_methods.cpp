#include "stereo/anaglyph_methods.h"

#include <array>

#include "stereo/anaglyph_dubois.h"
#include "stereo/channel_masks.h"

namespace stereo {

namespace {

using core::GlassesType;
using core::JoinMethod;
using core::PixelTriple;

// DimChannel for every byte, looked up rather than recomputed per channel.
const std::array<std::uint8_t, 256>& DimTable() {
    static const std::array<std::uint8_t, 256> table = [] {
        std::array<std::uint8_t, 256> t{};
        for (int c = 0; c < 256; ++c)
            t[static_cast<std::size_t>(c)] = DimChannel(static_cast<std::uint8_t>(c));
        return t;
    }();
    return table;
}

PixelTriple Pick(LeftChannels from_left, PixelTriple l, PixelTriple r) {
    return {from_left.blue ? l.Blue : r.Blue, from_left.green ? l.Green : r.Green,
            from_left.red ? l.Red : r.Red};
}

PixelTriple Grey(std::uint8_t v) {
    return {v, v, v};
}

// The per-pixel rule of each method, given both views' pixels and the split.
struct ColourJoin {
    const std::array<std::uint8_t, 256>& dim = DimTable();
    PixelTriple operator()(LeftChannels split, PixelTriple l, PixelTriple r) const {
        const PixelTriple p = Pick(split, l, r);
        return {dim[p.Blue], dim[p.Green], dim[p.Red]};
    }
};
struct HalfColourJoin {
    PixelTriple operator()(LeftChannels split, PixelTriple l, PixelTriple r) const {
        return Pick(split, Grey(Luma601(l)), r);
    }
};
struct GreyJoin {
    PixelTriple operator()(LeftChannels split, PixelTriple l, PixelTriple r) const {
        return Pick(split, Grey(Luma601(l)), Grey(Luma601(r)));
    }
};

template <typename Join>
void JoinWith(const Join& join, LeftChannels split, std::span<const PixelTriple> left,
              std::span<const PixelTriple> right, std::span<PixelTriple> out) {
    for (std::size_t x = 0; x < out.size(); ++x) out[x] = join(split, left[x], right[x]);
}

}  // namespace

std::uint8_t Luma601(PixelTriple p) {
    return static_cast<std::uint8_t>((299u * p.Red + 587u * p.Green + 114u * p.Blue + 500u) /
                                     1000u);
}

LeftChannels LeftChannelsOf(GlassesType glasses) {
    switch (glasses) {
        case GlassesType::kGreenMagenta:
            return {false, true, false};
        case GlassesType::kAmberBlue:
            return {false, true, true};
        case GlassesType::kRedCyan:
            break;
    }
    return {false, false, true};
}

void JoinRow(std::span<const PixelTriple> left, std::span<const PixelTriple> right,
             std::span<PixelTriple> out, JoinMethod method, GlassesType glasses) {
    const LeftChannels split = LeftChannelsOf(glasses);
    switch (method) {
        case JoinMethod::kColour:
            JoinWith(ColourJoin{}, split, left, right, out);
            return;
        case JoinMethod::kHalfColour:
            JoinWith(HalfColourJoin{}, split, left, right, out);
            return;
        case JoinMethod::kGrey:
            JoinWith(GreyJoin{}, split, left, right, out);
            return;
        case JoinMethod::kDubois:
            DuboisRow(left, right, out, glasses);
            return;
    }
}

}  // namespace stereo

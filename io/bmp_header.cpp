#include "io/bmp_header.h"

#include <algorithm>
#include <array>
#include <string>

#include "io/little_endian.h"

namespace pictureio {

namespace {

using Bytes = std::span<const std::uint8_t>;

std::string Number(std::int64_t value) {
    return std::to_string(value);
}

struct Info {
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t planes = 0;
    std::uint32_t bits = 0;
    std::uint32_t compression = 0;
    std::uint32_t colours_used = 0;
};

// The file header is 14 bytes; the information header after it says its own size.
// Sizes 12 (the old OS/2 one), 40, 52, 56, 108 and 124 are the ones writers use.
constexpr std::size_t kInfoAt = 14;
constexpr std::array<std::uint32_t, 6> kInfoSizes = {12, 40, 52, 56, 108, 124};

Info ReadInfo(Bytes file, std::uint32_t info_size) {
    Info info;
    if (info_size == 12) {
        info.width = Little16(file, 18);
        info.height = Little16(file, 20);
        info.planes = Little16(file, 22);
        info.bits = Little16(file, 24);
        return info;
    }
    info.width = static_cast<std::int32_t>(Little32(file, 18));
    info.height = static_cast<std::int32_t>(Little32(file, 22));
    info.planes = Little16(file, 26);
    info.bits = Little16(file, 28);
    info.compression = Little32(file, 30);
    info.colours_used = Little32(file, 46);
    return info;
}

constexpr std::uint32_t kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6;

std::optional<std::string> ImpossibleCompression(const Info& info) {
    if (info.compression > kAlphaBitFields || info.compression == 4 || info.compression == 5)
        return "the compression is " + Number(info.compression) +
               "; a bitmap is uncompressed (0), run-length coded (1 or 2) or bit fields (3 or 6)";
    if (info.compression == kRle8 && info.bits != 8)
        return "the compression is 8-bit run lengths (1), but the bits per pixel are " +
               Number(info.bits);
    if (info.compression == kRle4 && info.bits != 4)
        return "the compression is 4-bit run lengths (2), but the bits per pixel are " +
               Number(info.bits);
    if ((info.compression == kBitFields || info.compression == kAlphaBitFields) &&
        info.bits != 16 && info.bits != 32)
        return "the compression is bit fields, but the bits per pixel are " + Number(info.bits) +
               ", not 16 or 32";
    return std::nullopt;
}

std::optional<std::string> ImpossibleInfo(const Info& info) {
    if (info.width <= 0)
        return "the width is " + Number(info.width) + " pixels; it must be at least 1";
    if (info.height == 0) return "the height is 0 pixels";
    if (info.planes != 1) return "the plane count is " + Number(info.planes) + "; it must be 1";
    constexpr std::array<std::uint32_t, 6> kBits = {1, 4, 8, 16, 24, 32};
    if (std::find(kBits.begin(), kBits.end(), info.bits) == kBits.end())
        return "the bits per pixel are " + Number(info.bits) +
               "; a bitmap has 1, 4, 8, 16, 24 or 32";
    if (info.bits <= 8 && info.colours_used > (1u << info.bits))
        return "the palette has " + Number(info.colours_used) + " colours; " + Number(info.bits) +
               " bits per pixel have at most " + Number(1 << info.bits);
    return ImpossibleCompression(info);
}

}  // namespace

std::optional<std::string> ImpossibleBmpField(Bytes file) {
    if (file.size() < kInfoAt + 4) return std::nullopt;
    if (file[0] != 'B' || file[1] != 'M') return "the file does not start with \"BM\"";
    const std::uint32_t info_size = Little32(file, kInfoAt);
    if (std::find(kInfoSizes.begin(), kInfoSizes.end(), info_size) == kInfoSizes.end())
        return "the information header's size is " + Number(info_size) +
               "; it is 12, 40, 52, 56, 108 or 124 bytes";
    if (file.size() < kInfoAt + info_size) return std::nullopt;
    if (auto impossible = ImpossibleInfo(ReadInfo(file, info_size))) return impossible;
    const std::uint32_t offset = Little32(file, 10);
    if (offset < kInfoAt + info_size)
        return "the pixel data offset is " + Number(offset) + ", inside the headers (they end at " +
               Number(std::int64_t(kInfoAt + info_size)) + ")";
    if (offset > file.size())
        return "the pixel data offset is " + Number(offset) + ", past the end of the file (" +
               Number(std::int64_t(file.size())) + " bytes)";
    return std::nullopt;
}

}  // namespace pictureio

#include "io/picture_length.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "io/little_endian.h"

namespace pictureio {

namespace {

using Bytes = std::span<const std::uint8_t>;

std::uint32_t Big16(Bytes b, std::size_t at) {
    return static_cast<std::uint32_t>((b[at] << 8) | b[at + 1]);
}

// Uncompressed rows are padded to whole 32-bit words and start where the file
// header says. Run-length coded pictures have no length to check.
bool BmpEndsEarly(Bytes file) {
    constexpr std::size_t kInfoAt = 14;
    if (file.size() < kInfoAt + 4) return true;
    const std::uint32_t info_size = Little32(file, kInfoAt);
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t bits = 0;
    std::uint32_t compression = 0;
    if (info_size == 12) {  // the old OS/2 header, 16-bit sides
        if (file.size() < kInfoAt + 12) return true;
        width = Little16(file, 18);
        height = Little16(file, 20);
        bits = Little16(file, 24);
    } else if (info_size >= 40) {
        if (file.size() < kInfoAt + 40) return true;
        width = static_cast<std::int32_t>(Little32(file, 18));
        height = static_cast<std::int32_t>(Little32(file, 22));
        bits = Little16(file, 28);
        compression = Little32(file, 30);
    } else {
        return false;
    }
    constexpr std::uint32_t kRgb = 0, kBitFields = 3, kAlphaBitFields = 6;
    if (compression != kRgb && compression != kBitFields && compression != kAlphaBitFields)
        return false;
    const std::int64_t row_bytes = (std::abs(width) * bits + 31) / 32 * 4;
    const std::int64_t rows = std::abs(height);
    if (row_bytes == 0 || rows == 0) return false;
    const std::int64_t offset = Little32(file, 10);
    const auto size = static_cast<std::int64_t>(file.size());
    return offset > size || rows > (size - offset) / row_bytes;
}

// The pixels that a GIF's LZW codes stand for, counted without decoding them: each
// new dictionary entry is one pixel longer than the entry it extends. Stops at the
// end code, at a code that cannot occur, or once `wanted` pixels are counted.
std::int64_t LzwPixels(const std::vector<std::uint8_t>& codes, int min_code_size,
                       std::int64_t wanted) {
    if (min_code_size < 1 || min_code_size > 11) return wanted;  // the decoder's call
    const int clear = 1 << min_code_size;
    const int end = clear + 1;
    std::array<std::int32_t, 4096> length{};
    std::fill_n(length.begin(), clear, 1);
    int code_size = min_code_size + 1;
    int next = clear + 2;
    int previous = -1;
    std::int64_t pixels = 0;
    std::uint32_t bits = 0;
    int held = 0;
    std::size_t at = 0;
    while (pixels < wanted) {
        for (; held < code_size && at < codes.size(); held += 8)
            bits |= std::uint32_t{codes[at++]} << held;
        if (held < code_size) break;
        const int code = static_cast<int>(bits & ((1u << code_size) - 1));
        bits >>= code_size;
        held -= code_size;
        if (code == clear) {
            code_size = min_code_size + 1;
            next = clear + 2;
            previous = -1;
            continue;
        }
        if (code == end || (previous < 0 && code > clear) || code > next) break;
        std::int32_t produced = 1;
        if (previous >= 0) {
            produced = code < next ? length[static_cast<std::size_t>(code)]
                                   : length[static_cast<std::size_t>(previous)] + 1;
            if (next < 4096) {
                length[static_cast<std::size_t>(next)] =
                    length[static_cast<std::size_t>(previous)] + 1;
                ++next;
                if (next == (1 << code_size) && code_size < 12) ++code_size;
            }
        }
        pixels += produced;
        previous = code;
    }
    return pixels;
}

// Skips sub-blocks up to and including their zero terminator; false if the file ends first.
bool SkipSubBlocks(Bytes file, std::size_t& at) {
    while (at < file.size()) {
        const std::size_t count = file[at++];
        if (count == 0) return true;
        at += count;
    }
    return false;
}

std::size_t ColourTableBytes(std::uint8_t packed) {
    return (packed & 0x80) ? std::size_t{3} << ((packed & 7) + 1) : 0;
}

// Only the first image counts: it is the picture that is read.
bool GifEndsEarly(Bytes file) {
    constexpr std::size_t kScreenEnd = 13;
    if (file.size() < kScreenEnd) return true;
    std::size_t at = kScreenEnd + ColourTableBytes(file[10]);
    while (at < file.size()) {
        const std::uint8_t kind = file[at++];
        if (kind == 0x21) {  // an extension: its label, then its sub-blocks
            if (++at > file.size() || !SkipSubBlocks(file, at)) return true;
            continue;
        }
        if (kind != 0x2c) return false;  // the trailer, or not a GIF at all: the decoder's call
        if (at + 10 > file.size()) return true;
        const std::int64_t wanted = std::int64_t{Little16(file, at + 4)} * Little16(file, at + 6);
        at += 9 + ColourTableBytes(file[at + 8]);
        if (at >= file.size()) return true;
        const int min_code_size = file[at++];
        std::vector<std::uint8_t> codes;
        while (at < file.size()) {
            const std::size_t count = file[at++];
            if (count == 0) break;
            const std::size_t taken = std::min(count, file.size() - at);
            codes.insert(codes.end(), file.begin() + static_cast<std::ptrdiff_t>(at),
                         file.begin() + static_cast<std::ptrdiff_t>(at + taken));
            at += taken;
        }
        return LzwPixels(codes, min_code_size, wanted) < wanted;
    }
    return true;
}

bool IsFrameMarker(std::uint8_t marker) {
    return marker >= 0xc0 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 && marker != 0xcc;
}

bool IsHuffmanFrame(std::uint8_t marker) {
    return marker <= 0xc7;
}

// What a JPEG's frame header says about the least data its scans can take: with
// Huffman coding, every block of a DC scan costs at least one bit, and each MCU holds
// at least one block, so a file needs one byte for every eight MCUs.
struct Frame {
    std::int64_t mcus = 0;
    bool huffman = false;
};

Frame ReadFrame(Bytes segment, std::uint8_t marker) {
    if (segment.size() < 8) return {};
    const std::int64_t height = Big16(segment, 3);
    const std::int64_t width = Big16(segment, 5);
    int h_max = 1;
    int v_max = 1;
    for (std::size_t c = 0; c < segment[7] && 10 + 3 * c < segment.size(); ++c) {
        h_max = std::max(h_max, segment[9 + 3 * c] >> 4);
        v_max = std::max(v_max, segment[9 + 3 * c] & 15);
    }
    const std::int64_t mcu_width = 8 * h_max;
    const std::int64_t mcu_height = 8 * v_max;
    return {((width + mcu_width - 1) / mcu_width) * ((height + mcu_height - 1) / mcu_height),
            IsHuffmanFrame(marker)};
}

// The entropy-coded data of a scan ends at the first marker that is neither a
// stuffed zero nor a restart marker. Returns that marker's offset, or the file's
// size if the file ends first.
std::size_t ScanEnd(Bytes file, std::size_t at) {
    while (at < file.size()) {
        const void* found = std::memchr(file.data() + at, 0xff, file.size() - at);
        if (!found) return file.size();
        at = static_cast<std::size_t>(static_cast<const std::uint8_t*>(found) - file.data());
        if (at + 1 >= file.size()) return file.size();
        const std::uint8_t next = file[at + 1];
        if (next != 0x00 && next != 0xff && (next < 0xd0 || next > 0xd7)) return at;
        at += next == 0xff ? 1 : 2;
    }
    return file.size();
}

// Walks the segments to the end-of-image marker. A file without it was cut: a
// progressive picture cut between two scans decodes without a word of warning.
bool JpegEndsEarly(Bytes file) {
    std::size_t at = 2;
    Frame frame;
    std::int64_t entropy_bytes = 0;
    bool scanned = false;
    while (at < file.size()) {
        if (file[at] != 0xff) return false;  // not where a marker belongs: the decoder's call
        while (at < file.size() && file[at] == 0xff) ++at;
        if (at >= file.size()) return true;
        const std::uint8_t marker = file[at++];
        if (marker == 0xd9) return scanned && frame.huffman && entropy_bytes * 8 < frame.mcus;
        if (marker == 0x01 || (marker >= 0xd0 && marker <= 0xd7)) continue;
        if (at + 2 > file.size()) return true;
        const std::size_t length = Big16(file, at);
        if (length < 2) return false;
        if (at + length > file.size()) return true;
        if (IsFrameMarker(marker)) frame = ReadFrame(file.subspan(at, length), marker);
        at += length;
        if (marker == 0xda) {
            scanned = true;
            const std::size_t end = ScanEnd(file, at);
            entropy_bytes += static_cast<std::int64_t>(end - at);
            at = end;
        }
    }
    return true;
}

}  // namespace

bool EndsBeforeThePicture(std::string_view format, std::span<const std::uint8_t> file) {
    if (format == "bmp") return BmpEndsEarly(file);
    if (format == "gif") return GifEndsEarly(file);
    if (format == "jpeg" || format == "jpg") return JpegEndsEarly(file);
    return false;
}

}  // namespace pictureio

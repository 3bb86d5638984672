#pragma once
// Which field of a Windows bitmap's header cannot be, for the message of a BMP that
// Qt's reader refuses with only "Unable to read image data".
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace pictureio {

// The first impossible field of the file's headers, in words ("the bits per pixel
// are 7; a bitmap has 1, 4, 8, 16, 24 or 32"); nothing when every field read is
// possible or the file is too short to hold them (a cut file has its own message).
std::optional<std::string> ImpossibleBmpField(std::span<const std::uint8_t> file);

}  // namespace pictureio

#pragma once
// Whether a picture file holds as much data as its header promises. Qt's BMP, GIF
// and JPEG readers fill in whatever a file cut short lacks and report success, and a
// few bytes of header can make them allocate and decode gigabytes for nothing; this
// check runs on the file's bytes before any decoder sees them.
#include <cstdint>
#include <span>
#include <string_view>

namespace pictureio {

// True when `file`, a picture in Qt's `format` ("bmp", "gif", "jpeg"), ends before
// the picture that its header describes, or is too short to hold it at all. Other
// formats, and files whose header is not even readable, are left to their decoder:
// false.
bool EndsBeforeThePicture(std::string_view format, std::span<const std::uint8_t> file);

}  // namespace pictureio

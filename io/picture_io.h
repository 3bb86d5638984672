#pragma once
// Picture files to and from the display's own pixel format, through Qt's image
// readers and writers. Shared by the desktop program and the command-line converter.
#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QString>
#include <optional>

#include "platform/display.h"
#include "platform/picture_surface.h"

namespace pictureio {

// Error numbers in the failure messages follow the old runtime's numbering.
inline constexpr int kErrFileNotFound = 53;
inline constexpr int kErrPermissionDenied = 70;
inline constexpr int kErrPathAccess = 75;
inline constexpr int kErrOutOfMemory = 7;
inline constexpr int kErrInvalidPicture = 481;

struct FileError {
    int number = 0;
    QString description;
};

struct LoadedPicture {
    std::optional<platform::Picture> picture;
    FileError error;  // set when picture is empty
    // The file's bytes that the picture was decoded from; empty when the file was too
    // large to hold in memory and was decoded straight from the disk.
    QByteArray bytes;
};

// Reads any picture Qt reads (BMP, JPEG, PNG, GIF; TIFF and WebP with the image
// formats plugins). Refuses, before decoding, a picture wider or higher than 32767
// pixels or one whose conversion would not fit in this machine's memory.
// Transparent and partly transparent pixels are laid over `background` (0xRRGGBB)
// and a colour profile is applied: the picture is the sRGB one a viewer shows.
LoadedPicture LoadPictureFile(const QString& path, const platform::Display& display,
                              std::uint32_t background = 0xFFFFFF);

// True when the file at `path` is a plain file holding exactly `bytes` (not empty).
// Decoders are deterministic, so such a file decodes to the picture those bytes
// gave before; comparing costs a fraction of decoding again.
bool FileHolds(const QString& path, const QByteArray& bytes);

platform::Picture PictureFromImage(const QImage& image, const platform::Display& display);
QImage ImageFromBitmap(const platform::Bitmap& bitmap, const platform::Display& display);
// The pixels inside `area` of ImageFromBitmap's image, written into `image`, an RGB32
// image of the bitmap's size; the other pixels are left alone.
void ImageAreaFromBitmap(const platform::Bitmap& bitmap, const platform::Display& display,
                         QRect area, QImage& image);

// How the compressing formats are written; -1 leaves the writer's own default.
struct WriteSettings {
    int quality = -1;          // JPEG and WebP, 0..100
    int png_compression = -1;  // zlib level 0..9
};

// Writes the bitmap in the given Qt format ("bmp", "png", ...) through a temporary
// file that replaces `path` only once it is complete, so a failed save never
// damages an existing file. `quality` (0 to 100) is for the formats that have one;
// -1 leaves the writer's own. Returns the failure, if any.
std::optional<FileError> SaveBitmapFile(const platform::Bitmap& bitmap,
                                        const platform::Display& display, const QString& path,
                                        const char* format = "bmp",
                                        const WriteSettings& settings = {});

// The largest picture, in pixels, that a conversion can hold in this machine's memory.
qint64 PixelBudget();

}  // namespace pictureio

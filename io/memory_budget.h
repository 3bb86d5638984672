#pragma once
// Whether a conversion of a picture fits in what this machine can give it now. The
// limit follows what a conversion holds at its peak, so every picture that fits
// converts, and one that does not is refused before any memory is taken for it, with
// how much it would need.
#include <QSize>
#include <QString>
#include <QtGlobal>
#include <optional>

namespace pictureio {

// The bytes a conversion of a picture of `pixels` pixels holds at once at its peak.
qint64 ConversionBytes(qint64 pixels);

// The most pixels a conversion of which fits in `available` bytes.
qint64 PixelsThatFit(qint64 available);

// The memory the machine can give a new task now (MemAvailable); its physical memory
// where that cannot be read.
qint64 AvailableBytes();

// "Out of memory: ... would need N GB ..." when a conversion of a picture of `size`
// does not fit in `available` bytes; nothing when it does.
std::optional<QString> MemoryRefusal(QSize size, qint64 available);

}  // namespace pictureio

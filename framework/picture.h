#pragma once
// The one place that opens picture files. Every format the installed Qt image plugins
// read is a picture; EXIF orientation is applied, so sizes are the upright sizes.
#include <QImage>
#include <QSize>
#include <QString>
#include <functional>

// What the header of a picture file says, without decoding it.
struct PictureProbe {
    bool ok = false;
    QSize size; // upright size: width and height swapped for photos rotated by 90 or 270 degrees
};

// Reads only the header. Anything but a regular file (or a link to one) is refused without
// being opened, so a named pipe, socket or device never blocks. Also refused: no plugin
// recognises the content, no positive size, or more pixels than any decode may hold.
PictureProbe probePicture(const QString& path);

struct LoadedPicture {
    QImage image;
    QSize original; // upright full size of the picture
    bool isNull() const { return image.isNull(); }
};

// Decodes a picture upright. drawSize, when given, receives the upright full size and returns
// the size the picture will be drawn at; when that is smaller, the decode is scaled to it (JPEG
// then decodes at a reduced DCT size and no full-size buffer is made). Otherwise full size.
// A file that cannot be decoded, or whose decode would exceed the memory limit, gives a null
// image. Should the decode come out at another size than the header said, its size is the
// picture's size: drawSize is asked again with it, and the image is scaled to its answer.
LoadedPicture loadPicture(const QString& path, const std::function<QSize(QSize)>& drawSize = {});

namespace picture {
// Most pixels a picture may claim: well above real photographs, far below decompression bombs.
inline constexpr qint64 maxPixels = qint64(16384) * 16384;
// Most megabytes one decoded image may take.
inline constexpr int allocationLimitMB = 512;
} // namespace picture

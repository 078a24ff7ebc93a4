#pragma once
// The one place that opens picture files: PNG, JPEG, GIF, BMP, WebP, TIFF, HEIF (HEIC) and
// AVIF, SVG, icons and the plain formats of the toolkit (PBM, PGM, PPM, XBM, XPM, TGA, WBMP).
// Orientation (EXIF, TIFF, HEIF) is applied, so sizes are the upright sizes. Callable from
// any thread.
#include <QImage>
#include <QImageIOHandler>
#include <QSize>
#include <QString>
#include <functional>

// What the header of a picture file says, without decoding it.
struct PictureProbe {
    bool ok = false;
    QSize size; // upright size: width and height swapped for photos rotated by 90 or 270 degrees
    // The turn that makes the stored pixels upright (EXIF, TIFF or HEIF orientation).
    QImageIOHandler::Transformations transformation = QImageIOHandler::TransformationNone;
};

// Reads only the header, with the program's own parsers: no compressed metadata is inflated
// and no metadata walked beyond what size and orientation need, so a probe holds a few
// kilobytes whatever the file (at most the metadata box of a HEIF file, 128 KiB, and what
// the library builds from it). Anything but a regular file (or a link to
// one) is refused without being opened, so a named pipe, socket or device never blocks. Also
// refused: a kind of file no decoder here reads, no positive size, or more pixels than any
// decode may hold.
PictureProbe probePicture(const QString& path);

struct LoadedPicture {
    QImage image;
    QSize original; // upright full size of the picture
    bool isNull() const { return image.isNull(); }
};

// Decodes a picture upright, in sRGB. drawSize, when given, receives the upright full size and
// returns the size the picture will be drawn at; when that is smaller, the picture comes at
// that size (JPEG then decodes at a reduced DCT size, HEIF from a large enough thumbnail, SVG
// is drawn at it; other kinds are shrunk as they come, without a full-size copy). Otherwise
// full size. A colour profile in the file is applied after shrinking.
//
// Before decoding, the memory the decode will take is worked out from the header; a decode
// that would take more than picture::decodeLimitBytes is refused, and decodes running at the
// same time share picture::budgetBytes, a decode waiting for its share (decode_budget.h). A
// JPEG with more scans than encoders write, or whose scans would take seconds to run, is
// refused too. A file that cannot be decoded, or is refused, gives a null image. Should the
// decode come out at another size than the header said, its size is the picture's size:
// drawSize is asked again with it, and the image is shrunk to its answer.
LoadedPicture loadPicture(const QString& path, const std::function<QSize(QSize)>& drawSize = {});

namespace picture {
// Decodes the JPEG that `device` holds (a thumbnail embedded in a photo, at most `mostSide`
// pixels a side) within the limits and the budget of a photo's decode, as stored: grey or
// 32-bit colour, not turned. `work`, when given, receives the work its scans take
// (jpegScanWork). Null when it is not such a JPEG, or is refused, damaged or cancelled.
QImage decodeJpegThumbnail(QIODevice& device, int mostSide, qint64* work = nullptr);

// Most pixels a picture may claim: well above real photographs, far below decompression bombs.
inline constexpr qint64 maxPixels = qint64(16384) * 16384;
// Most megabytes one decoded image may take, as the toolkit's readers count it.
inline constexpr int allocationLimitMB = 512;
// Memory a decode of this picture at that drawn size (upright) would take; -1 when the file is
// refused before decoding. What loadPicture reserves from the budget.
qint64 decodeBytes(const QString& path, QSize drawn);

// Pictures are large and short-lived, and decoded on many threads: their buffers are mapped
// from the system and given back as soon as they are freed, rather than kept in the
// allocator's pools of whichever threads decoded them (where a long presentation would hold
// several full-size photos' worth of freed memory). Once, at the start, before any thread.
void giveBackLargeBuffers();

// Whether decoding this picture at that drawn size (upright) takes long enough for a user to
// wait, about a third of a second and more on one core: a HEIF or AVIF picture of more than
// two megapixels that has no thumbnail as large (its codec has no reduced decode), a JPEG of
// more than 40 megapixels, any other kind of more than 20. False when the file is refused.
bool slowToDecode(const QString& path, QSize drawn);
} // namespace picture

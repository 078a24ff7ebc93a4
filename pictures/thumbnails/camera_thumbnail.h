#pragma once
// The small picture that cameras and phones embed in a JPEG's EXIF data (typically 160 x 120),
// read with Exiv2 so that a thumbnail cell need not decode the photo.
//
// What read() guarantees:
// - Safe on any thread, any number at once; never throws; Exiv2's warnings never reach stderr.
// - Bounded: only a regular file is opened (a pipe or device never blocks), Exiv2 reads at most
//   kMaxMetadataBytes of it however large the file or its metadata segments, and the embedded
//   picture reaches the JPEG decoder only when it is a complete JPEG of at most kMaxBytes bytes
//   and kMaxSide pixels a side; it is decoded as the loader decodes a JPEG photo, its scans
//   counted and bounded first (picture::decodeJpegThumbnail).
// - The result is upright (the photo's orientation applied) and has the photo's proportions
//   (thumbnail_size::sameProportions). Black bands that pad a thumbnail to other proportions
//   are cropped off when what remains matches; otherwise there is no thumbnail.
// - It may be smaller than a cell needs: check with fitting::covers before using it, and draw
//   it where the photo itself would be drawn (fitting::fitRect of the photo's size).
#include <QImage>
#include <QImageIOHandler>
#include <QSize>
#include <QString>

namespace camera_thumbnail {

// Most bytes of a photo that are read to find its thumbnail. EXIF comes first in a JPEG; a
// file with more metadata in front of it than this is decoded instead.
inline constexpr long kMaxMetadataBytes = 1L << 20;
// Most bytes, and pixels a side, of an embedded thumbnail that is decoded.
inline constexpr int kMaxBytes = 1 << 20;
inline constexpr int kMaxSide = 1024;

// The thumbnail embedded in the JPEG at `path`, upright, for a photo whose upright full size is
// `photo` and whose EXIF orientation is `orientation` (as QImageReader::transformation()
// reports it for the photo). A null image when there is none, or none that may stand for the
// photo: not a JPEG file, no thumbnail, a thumbnail that is damaged, not a JPEG, too large, or
// of other proportions than the photo. `work`, when given, receives what decoding it took
// (picture::jpegScanWork): one that took real work is worth keeping in the shared cache.
QImage read(const QString& path, QSize photo, QImageIOHandler::Transformations orientation,
            qint64* work = nullptr);

} // namespace camera_thumbnail

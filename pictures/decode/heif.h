#pragma once
// HEIF (HEIC) and AVIF pictures through libheif. The orientation stored in the file (its
// irot and imir properties, which take precedence over any EXIF orientation in HEIF) is
// applied by the library: sizes here are upright.
#include "pictures/decode/picture_header.h"

#include <QImage>

class QIODevice;

namespace heif {

// True when the first bytes of a file open an ISO media file branded as a HEIF still picture
// (AVIF included).
bool isHeif(const QByteArray& start);

// The primary picture's upright size, sample depth, alpha and thumbnails. Only the file's
// box headers and its metadata box are read, and a metadata box larger than any real
// picture's is refused.
picture::Header readHeader(QIODevice& device);

// The smallest of a picture's `thumbnails` at least `target` large, with the proportions of the
// picture's `full` size within 2 %: its index, or -1 when none is, or `target` is invalid.
int chooseThumbnail(const QList<QSize>& thumbnails, QSize full, QSize target);

// Memory that decode() takes for that picture at that target size (see decode).
qint64 decodeBytes(const picture::Header& header, QSize target);

// Whether decode() at that target size decodes one of the file's thumbnails rather than the
// picture itself.
bool fromThumbnail(const picture::Header& header, QSize target);

// Decodes the primary picture upright, or the smallest of its thumbnails at least `target`
// large when there is one (target invalid: the picture itself). 8 bits per channel; the
// file's colour profile becomes the image's colour space. Null on any failure.
QImage decode(QIODevice& device, QSize target);

} // namespace heif

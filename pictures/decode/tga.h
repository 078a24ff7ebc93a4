#pragma once
// TGA (Truevision Targa) pictures as paint programs, ImageMagick and games write them:
// colour-mapped, true colour (15, 16, 24 or 32 bits) or grey, plain or run-length encoded,
// stored from any corner, with or without the footer of the format's second version. The
// toolkit's own reader takes only pictures that carry that footer and are not encoded.
#include "pictures/decode/picture_header.h"

#include <QByteArray>
#include <QImage>

class QIODevice;

namespace tga {

// The format has no signature: a file is taken for a TGA picture only when every field of
// its 18-byte header holds a value the format defines and the file is long enough for what
// the header says comes before the pixels. Gives the picture's size, stored as it reads
// from the file's first row (turned upright by decode), and where its pixels start.
picture::Header readHeader(const QByteArray& first18, qint64 fileSize);

// Memory decode() takes for a picture of that header at most.
qint64 decodeBytes(const picture::Header& header);

// The picture of the file open in `device`, upright, 32 bits per pixel (with alpha when the
// header gives the pixels alpha bits). Null when the file is not what its header says, its
// data ends before the last pixel, or there is not memory for it.
QImage decode(QIODevice& device);

} // namespace tga

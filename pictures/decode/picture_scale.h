#pragma once
// Finishing a decoded picture for the screen: made smaller, turned upright, in sRGB. Each
// step works on what the decoder gave without a full-size copy of it, so that a decode's
// memory is what the decoder itself holds.
#include <QImage>
#include <QImageIOHandler>

namespace picture {

// The picture at `size`, no larger than the picture in either direction, each pixel the mean
// of the area it covers. Null when the memory for the result is not there.
QImage shrink(const QImage& image, QSize size);
// What shrink holds besides the picture and the result, which is 32-bit: the rows of a band
// of the picture at a time, converted to pixels that can be summed, and their sums.
inline constexpr int kShrinkBand = 32;
qint64 shrinkBytes(QSize from, QSize to);

// The picture turned as `transformation` says (mirrored or flipped first, then turned a
// quarter to the right), as QImageReader's automatic transformation turns it.
QImage turned(const QImage& image, QImageIOHandler::Transformations transformation);

// Converts a picture that carries a colour space other than sRGB to sRGB; untagged and sRGB
// pictures stay as they are.
void toSrgb(QImage& image);

} // namespace picture

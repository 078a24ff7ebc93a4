#pragma once
// When a small picture made elsewhere (a camera's EXIF thumbnail, the desktop's thumbnail
// cache) may stand in for decoding the picture itself: it must have the picture's proportions
// and must not need enlarging. Pure functions of sizes, safe on any thread.
#include <QSize>

#include <algorithm>
#include <cstdlib>

namespace thumbnail_size {

// Whether `image` has the proportions of `picture`: the two ratios differ by at most 1 %, or
// one side of `image` is less than a pixel away from the exact proportion (a very long
// picture's small thumbnail is one or two pixels high, and any rounding is more than 1 %).
// Sizes without a positive width and height never match.
inline bool sameProportions(QSize image, QSize picture) {
    if (image.isEmpty() || picture.isEmpty()) return false;
    // Cross products of two sizes of at most 2^31 each stay within 64 bits.
    const qint64 across = qint64(image.width()) * picture.height();
    const qint64 down = qint64(image.height()) * picture.width();
    const qint64 diff = std::llabs(across - down);
    return double(diff) <= 0.01 * double(down) ||
           diff < std::max(picture.width(), picture.height());
}

// Whether `image`, standing for `picture` drawn at `drawn` device pixels, is at least as
// large as what decoding the picture for that place gives: `drawn` in both directions, or the
// whole picture when the picture is smaller than that (a decode is never enlarged either).
inline bool covers(QSize image, QSize picture, QSize drawn) {
    if (image.isEmpty() || picture.isEmpty() || drawn.isEmpty()) return false;
    const QSize needed = drawn.boundedTo(picture);
    return image.width() >= needed.width() && image.height() >= needed.height();
}

} // namespace thumbnail_size

#pragma once
// Drawing of the presentation's pictures: a picture scaled by the fitting rule onto a filled
// area (the picture view's backdrop, every cell of the strip) and a note's frame over it.
// Plain QImage work, safe on any thread.
#include <QColor>
#include <QImage>
#include <QRect>
#include <QSize>

namespace picture_compose {

// Device pixels that cover an area of `area` logical pixels at device pixel ratio dpr.
// At ratio 1 (or below, or not a number) the area itself.
QSize deviceSize(QSize area, qreal dpr);

// A 32-bit picture covering `area` logical pixels, composed in device pixels at ratio dpr:
// filled with `fill`, with `picture` drawn scaled into the rectangle the fitting rule gives
// for its upright full size `original` (the picture may have been decoded smaller than that).
// A null picture leaves only the fill; an empty area gives a null image.
QImage composeFitted(const QImage& picture, QSize original, QSize area, qreal dpr,
                     const QColor& fill);

// The largest frame line drawn: a wider line already covers any frame on a picture area.
inline constexpr int kMaxFrameLine = 1 << 14;

// Draws the outline of `frame` (logical pixels) inward with lines `thickness` pixels wide.
// A thickness below 1 draws nothing; one that reaches half the rectangle fills it.
void drawFrame(QImage& target, QRect frame, int thickness, const QColor& colour);

} // namespace picture_compose

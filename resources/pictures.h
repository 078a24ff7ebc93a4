#pragma once
// The six pictures carried inside the program. Each is decoded on first use and kept for
// the rest of the run, so every call returns the same image.
#include <QImage>

namespace pictures {

const QImage& bita();      // Italian flag, 28 x 28: backdrop of the right-hand language flag
const QImage& busa();      // United States flag, 28 x 28: backdrop of the left-hand flag
const QImage& notfound();  // placeholder for a picture that cannot be read
const QImage& eesci();     // exit cell of the thumbnail strip, Italian
const QImage& eexit();     // exit cell of the thumbnail strip, English
const QImage& vetrinova(); // product logo, 64 x 64

} // namespace pictures

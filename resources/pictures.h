#pragma once
// The six pictures carried inside the program. Each is decoded on first use and kept for
// the rest of the run, so every call returns the same image. The flags and the logo are
// drawn unscaled on their windows: on a screen of more device pixels than logical ones
// (dpr above 1) they come drawn for twice the pixels, with that ratio set, so that they cover
// the same logical size without being enlarged.
#include <QImage>

namespace pictures {

const QImage& bita(qreal dpr = 1);      // Italian flag, 28 x 28: the right-hand language flag
const QImage& busa(qreal dpr = 1);      // United States flag, 28 x 28: the left-hand flag
const QImage& notfound();               // placeholder for a picture that cannot be read
const QImage& eesci();                  // exit cell of the thumbnail strip, Italian
const QImage& eexit();                  // exit cell of the thumbnail strip, English
const QImage& vetrinova(qreal dpr = 1); // product logo, 64 x 64

} // namespace pictures

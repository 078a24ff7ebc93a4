#pragma once
// PNG decoding straight through libpng, fed by the program: the toolkit's reader has libpng
// inflate the image data to its end after the last row, and a few kilobytes of it can inflate
// for minutes. Here the data is handed over as the rows need it and no further.
#include <QIODevice>
#include <QImage>
#include <QSize>

namespace picture {

// Decodes the PNG that `device` holds from its current position, in the formats the toolkit's
// reader gives (1-bit, grey, palette, 32-bit or 64-bit colour) with the colour space its
// chunks describe. Reading stops once the last row is decoded: what follows is neither read
// nor inflated. Gives a null image when the file is damaged or cut short before its last row,
// when its header no longer says `stored` (the file changed since it was measured), or when
// the decode is no longer wanted (picture::cancelled, looked at between rows).
QImage decodePng(QIODevice& device, QSize stored);

} // namespace picture

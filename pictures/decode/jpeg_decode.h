#pragma once
// JPEG decoding straight through libjpeg: the strip decodes thousands of photos, and the
// toolkit's reader costs a tenth more than the library's own work (a small read buffer, a
// 24-bit copy of every row widened to 32 bits, scaling only by halves).
#include <QIODevice>
#include <QImage>
#include <QSize>

namespace picture {

// Decodes the JPEG that `file` holds from its current position, at `scaled` (one of the
// library's eighths of `stored`, as picture::jpegScaled gives), grey or 32-bit colour with
// its embedded colour profile. Gives a null image when the file is damaged beyond the
// library's repair, when its header no longer says `stored`, `components` and `progressive`
// (the file changed since it was measured), or when a scan beyond `scans` starts.
QImage decodeJpeg(QIODevice& file, QSize stored, int components, bool progressive, QSize scaled,
                  int scans);

// The size a JPEG is decoded at for `target`: the fewest eighths of `stored` that cover it
// (libjpeg scales while decoding), all of it when none does. What is left is shrunk after.
QSize jpegScaled(QSize stored, QSize target);

} // namespace picture

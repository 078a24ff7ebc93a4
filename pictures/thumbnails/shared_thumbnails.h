#pragma once
// The desktop's shared thumbnail cache, as file managers and other viewers keep it
// (freedesktop.org Thumbnail Managing Standard): PNG files in $XDG_CACHE_HOME/thumbnails
// (~/.cache/thumbnails by default), one folder per size class, each named by the MD5 of the
// picture's URI and tagged with the picture's URI, modification time and size.
//
// What it guarantees:
// - Safe on any thread, any number at once; never throws; prints nothing of its own (Qt's PNG
//   reader logs a damaged file under qt.gui.imageio).
// - read() gives a thumbnail only when it is what the cache promises: a regular file (not a
//   link, nor in a cache folder that is a link) of at most kMaxFileBytes, a PNG no larger than
//   its class, tagged with the picture's URI and its present modification time (and size, when
//   tagged, and to the nanosecond when tagged so by this program), of the picture's
//   proportions and large enough for the place it is drawn in; and not of a picture modified
//   in the second the thumbnail was written, which the standard's whole seconds cannot tell
//   apart.
//   Anything else is ignored. The size and tags come from the PNG's chunks before anything is
//   decoded, so a PNG too large for its class or the cell, or of another file, is never
//   decoded; text chunks are inflated only as far as a tag may be long, and never by the
//   decoder.
// - write() leaves either the whole new thumbnail or nothing: written to a temporary file in
//   the same folder, mode 0600, then renamed; folders it makes are 0700. The tags are tEXt
//   chunks, the only ones GLib's check of a thumbnail reads. It never writes for a
//   file inside the cache, into a cache folder that is a link, for a file changed since it
//   was decoded, or for one modified in the last few seconds (it may still be being written). A
//   read-only or full disk, or any other failure, gives false and nothing else.
#include "base/files.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

namespace shared_thumbnails {

// The size classes: a thumbnail fits a square of so many pixels, its larger side that long
// unless the picture is smaller.
enum class SizeClass { Normal, Large, XLarge, XXLarge };
int pixels(SizeClass size);

// The smallest class whose thumbnails are at least `drawn` (a picture's size as drawn in its
// place, device pixels); none when `drawn` is larger than every class or empty.
std::optional<SizeClass> classFor(QSize drawn);

// The cache's folder: $XDG_CACHE_HOME/thumbnails, read anew on each call.
QString folder();

// The picture's URI as the cache names it: "file://" and the absolute path, each byte outside
// the letters, digits and !$&'()*+,-.:=@_~/ written as %XX.
QByteArray uriOf(const QString& path);

// Where the cache keeps the thumbnail of class `size` of the picture file at `path`.
QString pathOf(const QString& path, SizeClass size);

// Most bytes a thumbnail file may have to be read.
inline constexpr qint64 kMaxFileBytes = qint64(8) << 20;

// The cached thumbnail of the picture file at `path`, whose upright full size is `picture`, for
// drawing at `drawn` device pixels (fitting::fitRect of the picture in its place): from the
// smallest class that covers `drawn`, or a larger one when that has none to give. A null image
// when none qualifies.
QImage read(const QString& path, QSize picture, QSize drawn);

// Keeps `image`, decoded from the picture file at `path` while the file was `decodedFrom`
// (files::stampOf before decoding), as that file's thumbnail of class `size`: scaled down so that
// its larger side is the class's, never enlarged, so `image` must be at least that large unless it
// is the whole picture (`picture`, the upright full size). True when the thumbnail is in place.
bool write(const QString& path, const QImage& image, QSize picture, SizeClass size,
           const files::Stamp& decodedFrom);

} // namespace shared_thumbnails

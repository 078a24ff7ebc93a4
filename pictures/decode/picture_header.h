#pragma once
// What a picture file's header says: its kind, its size, how to turn it upright and what its
// decoder will make of it. Read by the program's own parsers, which read only the bytes they
// need (a few dozen for most files; a directory for TIFF, the box tree for HEIF): no compressed
// chunk is inflated and no metadata walked beyond what size and orientation need, so a
// picture's probe costs the same whatever the file holds besides.
#include <QByteArray>
#include <QHash>
#include <QImageIOHandler>
#include <QList>
#include <QSize>
#include <functional>
#include <optional>
#include <utility>

class QIODevice;

namespace picture {

enum class Kind { None, Png, Jpeg, Gif, Bmp, WebP, Tiff, Heif, Svg, Ico, Tga, Other };

struct Header {
    Kind kind = Kind::None;
    QSize stored; // as the pixels are stored, before turning upright
    QImageIOHandler::Transformations transformation = QImageIOHandler::TransformationNone;
    int bits = 8;    // per sample
    int samples = 3; // per pixel, alpha included
    bool palette = false;
    bool progressive = false;      // JPEG: every scan is held in memory until the last
    qint64 chunkBytes = 0;         // TIFF: one decoded strip or tile; HEIF: all the items' data
    bool jpegInside = false;       // TIFF: its strips or tiles are JPEG pictures
    QList<QSize> thumbnails;       // HEIF: smaller versions stored beside the picture, upright
    QList<quint32> thumbnailItems; // HEIF: their items
    qint64 inputPixels = 0;        // HEIF: the largest picture a grid or overlay is made of
    int planeHalves = 6;           // HEIF: the decoder's planes, half bytes per pixel (3 for 4:2:0)
    QByteArray qtFormat;           // the toolkit's name of the format where its reader decodes it
    qint64 start = 0;              // where the picture's own bytes start (the PNG inside an icon)
    qint64 end = -1;               // and end; -1: at the end of the file

    bool ok() const { return kind != Kind::None && !stored.isEmpty(); }
    bool quarterTurn() const { return transformation & QImageIOHandler::TransformationRotate90; }
    QSize upright() const { return quarterTurn() ? stored.transposed() : stored; }
};

// Reads the header of the picture open in `device` (seekable), from its start. A file that
// is not a picture of a kind read here gives a header that is not ok().
Header readHeader(QIODevice& device);

// Where the strips or tiles of the first picture of the TIFF open in `device` lie, and how many
// bytes each has; none when the file does not say, they lie outside the file or they are more
// than `most`.
std::optional<QList<std::pair<qint64, qint64>>> tiffChunks(QIODevice& device, int most);

// An EXIF orientation (1 to 8) as the turn that makes the picture upright.
QImageIOHandler::Transformations fromExifOrientation(int orientation);

// The orientation tag of an EXIF block (a TIFF structure, after the "Exif\0\0" mark of a
// JPEG's APP1 segment); 1 when it has none or is damaged.
int exifOrientation(const QByteArray& tiff);

// One chunk of a PNG, by its header: where it starts (its length field), its data's length and
// its type.
struct PngChunk {
    qint64 at = 0;
    qint64 length = 0;
    QByteArray type;
    qint64 next() const { return at + 12 + length; } // where the chunk after it starts
    bool isText() const { return type == "tEXt" || type == "zTXt" || type == "iTXt"; }
};

// Most chunks walked before a PNG's image data: far more than any encoder writes.
inline constexpr int kMostPngChunks = 4096;

// The header of the chunk at `at` in `device`, when the eight bytes are there and within `end`.
std::optional<PngChunk> pngChunkAt(QIODevice& device, qint64 at, qint64 end);

// Calls `visit` with the chunks of the PNG in `device` whose signature is at `start`, in
// order, up to `end` (-1: the device's end), until it returns false, a chunk is cut short or
// kMostPngChunks were seen. Each is read by its header alone.
void forEachPngChunk(QIODevice& device, qint64 start, qint64 end,
                     const std::function<bool(const PngChunk&)>& visit);

// The text chunks (tEXt, zTXt, iTXt) of the PNG open in `device` that come before its image
// data, for the keys asked for: each key's first value, inflated no further than `maxBytes`; a
// longer value, or a damaged chunk, is left out. Chunks of other keys and kinds are passed by
// their length unread, so what a file holds besides costs nothing.
QHash<QByteArray, QByteArray> pngTexts(QIODevice& device, const QList<QByteArray>& keys,
                                       int maxBytes);

} // namespace picture

#pragma once
// Picture files made to hurt a viewer: a few kilobytes each that claim gigabytes of memory or
// minutes of decoding. Built byte by byte (the toolkit would need the whole picture in memory
// to write them). Used by the fault tests, the fuzz seeds and the picture benchmark.
#include <QByteArray>
#include <QImage>
#include <QImageIOHandler>
#include <QList>
#include <QString>
#include <array>
#include <optional>

namespace hostile {

// A 1 x 1 PNG carrying `chunks` compressed text chunks (zTXt), each inflating to `mb` MB.
QByteArray pngWithTextChunks(int chunks, int mb = 8);
// A 1 x 1 PNG with an ICC profile chunk of `bytes` bytes (whose profile is no real one).
QByteArray pngWithProfile(qint64 bytes);

// A black PNG of w x h pixels of the given colour type and bit depth, its rows deflated as
// they are made.
QByteArray blackPng(int w, int h, int colourType, int bitDepth);

// A black grey PNG of w x h pixels whose compressed image data goes on after the last row with
// `tail` bytes of zeros that no row needs: about a megabyte of file for each gigabyte.
QByteArray pngWithDataAfterRows(int w, int h, qint64 tail);

// A grey progressive JPEG of w x h pixels whose `scans` scans carry no data.
QByteArray emptyScansJpeg(int w, int h, int scans);

// A grey progressive JPEG of w x h pixels whose `scans` scans refine all its AC coefficients,
// each in end-of-band runs of 32,767 blocks: a few bytes a scan, 63 coefficients looked at in
// every block. Its one component's number is `component`.
QByteArray refinementScansJpeg(int w, int h, int scans, int component = 1);

// A PNG written by libpng itself, of any sample depth, colour type (libpng's numbers) and
// interlacing, as the toolkit's writer never makes them: a pattern of all levels, a palette
// (or grey level, or colour) made transparent by a tRNS chunk when asked. At 4 and 8 bits the
// palette is shorter than the indices reach.
QByteArray libpngWritten(int w, int h, int depth, int type, bool interlaced, bool transparency);

// A JPEG of one colour written by libjpeg: `samples` holds it as RGB, or in four bytes as the
// inks of a CMYK JPEG as print workflows write them. Its first component is sampled
// `sampling` times as densely as the others when given (cameras write 2 x 1 or 2 x 2).
// With `arithmetic`, progressive and arithmetic-coded.
QByteArray solidJpeg(int w, int h, const QByteArray& samples, QSize sampling = {},
                     bool arithmetic = false);

// A black TIFF, `bits` bits per sample, RGB, deflated in strips of `rowsPerStrip` rows, with
// `moreTags` tags of no meaning in its directory besides the ten it needs; a BigTIFF if `big`,
// its numbers big-endian if `bigEndian`; `samples` a pixel, the ones past three unnamed (not
// in a BigTIFF).
QByteArray blackTiff(int w, int h, int bits, int rowsPerStrip = 64, int moreTags = 0,
                     bool big = false, bool bigEndian = false, int samples = 3);

// A grey TIFF of w x h pixels whose one strip is the grey JPEG given, as a TIFF with JPEG
// compression (7) keeps it.
QByteArray jpegTiff(const QByteArray& jpeg, int w, int h);

// A HEIF file whose metadata holds `boxes` empty property boxes before the picture's size
// (100 x 100), and after it a crop to the fractions (numerator, denominator) of width and
// height, when given; `last` ends the metadata, whatever box it is or claims to be.
QByteArray heifWithManyBoxes(int boxes, std::optional<std::array<quint32, 4>> crop = {},
                             const QByteArray& last = {});

// A PNG chunk of the type given: its length, type, data and CRC.
QByteArray pngChunk(const char* type, const QByteArray& data);
// A JPEG segment of the marker given: the marker, its length and the data.
QByteArray jpegSegment(int marker, const QByteArray& data);

// An icon whose one image is the PNG given, its entry as long as said (else the whole PNG).
QByteArray icoWithPng(const QByteArray& png, qsizetype entryBytes = -1);

// Bytes packed as gzip does (.svgz); `fill` spaces are inserted before `tail` as they are
// packed, never all in memory at once.
QByteArray gzipped(const QByteArray& head, qint64 fill = 0, const QByteArray& tail = {});

// A 1 x 1 GIF whose frame follows a comment of `subBlocks` sub-blocks of one byte.
QByteArray gifWithComment(int subBlocks);
// A GIF of two colours in stripes a row high, however large.
QByteArray plainGif(int width, int height);

// A HEIC or AVIF picture made with libheif's encoders, turned by the file's own orientation
// (EXIF's numbers), with a thumbnail of that size when asked for and the image's colour
// profile, and its alpha channel if it has one. Empty when this libheif cannot encode it.
enum HeifKind { Heic, Avif };
QByteArray encodeHeif(const QImage& image, HeifKind kind, int orientation, int thumbnail = 0,
                      int quality = 90);

// The HEIF file given as phones write it: the extent of the picture as stored and the turn
// listed after it, where libheif 1.15 writes the turned extent with the turn before it. Empty
// when the file has no turn.
QByteArray asPhonesWrite(QByteArray heif);

// A HEIC picture as phones write it: a grid of `tile` x `tile` tiles (`tileHeight` high
// unless 0), each coded on its own (the edge tiles padded, the grid cropped to the picture's
// size), and a thumbnail `thumbnail` pixels wide (of even height) unless 0. With DataFirst,
// the coded data comes before the metadata, in a box of 64-bit size. With WideBoxes, the
// metadata boxes take their later versions: 32-bit item numbers, 16-bit property numbers,
// 64-bit data offsets from a base offset, extent indexes. With Overlay, the tiles are placed
// on an overlay rather than a grid; with Identity, the one tile is the picture, padding
// included. With SplitGrid, the grid's description is in the coded data, in two pieces stored
// the other way round. With ColumnBeyond (RowBeyond), the grid has a column (row) of tiles
// more than the picture needs. With Av1Tiles, the tiles are coded in AV1, as in an AVIF.
// With LateBrand, the file type box names three brands of other kinds before the HEIF ones.
// Empty when this libheif cannot encode HEVC (AV1). libheif writes no grids, so the file is
// put together here from single-picture files it does write.
enum GridLayout {
    DataAfter = 0,
    DataFirst = 1,
    WideBoxes = 2,
    Overlay = 4,
    Identity = 8,
    SplitGrid = 16,
    ColumnBeyond = 32,
    RowBeyond = 64,
    Av1Tiles = 128,
    LateBrand = 256
};
QByteArray encodeGridHeic(const QImage& image, int tile, int thumbnail, int quality = 50,
                          int tileHeight = 0, int layout = DataAfter);

// A TGA picture as the tools that write the format store it: ImageMagick's plain true colour
// (bottom row first, no footer), run-length encoded, grey, colour-mapped, 16-bit from the top
// right corner, and 32-bit with alpha from the top with the second version's footer.
enum TgaStyle { TgaPlain, TgaRle, TgaGrey, TgaMapped, Tga16TopRight, TgaAlphaFooter, TgaGreyAlpha };
QByteArray tga(const QImage& image, TgaStyle style);

// A HEIC of 64 x 63 pixels as libheif writes a picture of a size its coding does not divide:
// one tile of 64 x 64 in a grid, its size `grid` in the grid's description (64 x 63 as made),
// its ispe 64 x 63 whatever the grid says.
QByteArray heifGrid(QSize grid);

// A photo-like picture: smooth gradients with some detail, so the encoders work as on photos.
QImage photoLike(QSize size);

// The picture as the toolkit writes it: progressive where asked, stored turned by `turned`
// where the format has a tag for it. Empty when the toolkit cannot write it.
QByteArray encode(const QImage& image, const char* format, int quality = -1,
                  QImageIOHandler::Transformations turned = {}, bool progressive = false);

// The picture as a progressive JPEG of quality 85, as cameras' software and web tools write
// them.
QByteArray progressiveJpeg(const QImage& image);

struct File {
    QString name;
    QByteArray bytes;
    bool decodes = false;  // a picture the loader decodes within its budget
    qint64 sparseTail = 0; // bytes of nothing after `bytes`, never written (a hole in the file)
};
// Writes `f` at `path`, its tail as a hole; false when it could not be written.
bool write(const QString& path, const File& f);
// The set the fault tests and the benchmark run: the bombs of every kind above, and an SVG
// document that inflates to a gigabyte.
QList<File> all();

// Small ordinary pictures of the kinds above: decoding them first maps the decoders' code.
QList<File> ordinary();

} // namespace hostile

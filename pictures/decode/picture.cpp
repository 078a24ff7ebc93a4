#include "pictures/decode/picture.h"

#include "base/files.h"
#include "pictures/decode/decode_budget.h"
#include "pictures/decode/heif.h"
#include "pictures/decode/jpeg_decode.h"
#include "pictures/decode/picture_header.h"
#include "pictures/decode/picture_scale.h"
#include "pictures/decode/picture_streams.h"
#include "pictures/decode/png_decode.h"
#include "pictures/decode/tga.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QtEndian>
#include <algorithm>
#include <vector>
#include <zlib.h>

#include <fcntl.h>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using picture::Header;
using picture::Kind;

constexpr qint64 MB = 1024 * 1024;
// Encoders write a dozen scans or so; decoders of other programs stop at a few hundred.
constexpr int maxJpegScans = 100;
// What the coding of a sample can take at most: 64 coefficients of 11 bits, each with a code
// of up to 16 bits, 3.4 bytes a sample; besides, the segments of metadata.
constexpr qint64 maxJpegBytesPerSample = 4;
// SVG: the largest document drawn, and the memory its parsed form takes per byte of it.
constexpr qint64 maxSvgBytes = 16 * MB;
constexpr qint64 svgBytesPerByte = 12;

static_assert(qint64(picture::allocationLimitMB) << 20 == picture::decodeLimitBytes,
              "the toolkit's readers refuse what the budget refuses");

void setAllocationLimitOnce() {
    static const bool done = [] {
        QImageReader::setAllocationLimit(picture::allocationLimitMB);
        return true;
    }();
    (void)done;
}

// Opens a picture file, when it is a regular file, for reading.
bool openRegular(const QString& path, QFile& file) {
    files::Opened opened = files::openRegular(files::encodeName(path));
    if (!opened.fd.ok()) return false;
    file.setFileName(path);
    if (!file.open(opened.fd.get(), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return false;
    opened.fd.release(); // the file closes it now
    return true;
}

qint64 pixels(QSize s) {
    return qint64(s.width()) * s.height();
}

// A picture's header, read from a file opened as a picture file.
Header headerOf(QFile& file) {
    const Header h = picture::readHeader(file);
    return h.ok() && pixels(h.stored) <= picture::maxPixels ? h : Header();
}

// Whether a PNG carries transparency for a colour type that has no alpha of its own (which
// makes the toolkit's reader give 16-bit grey as 64-bit colour), and whether it has image
// data at all: its chunks before the data, by their headers.
struct PngChunks {
    bool ok = false;
    bool transparency = false;
    qint64 profileBytes = 0; // the ICC profile chunk, which the decoder holds whole
};

PngChunks pngChunks(QIODevice& f, const Header& h) {
    PngChunks c;
    picture::forEachPngChunk(f, h.start, h.end, [&c](const picture::PngChunk& chunk) {
        c.ok = chunk.type == "IDAT";
        c.transparency = c.transparency || chunk.type == "tRNS";
        if (chunk.type == "iCCP") c.profileBytes = chunk.length;
        return !c.ok;
    });
    return c;
}

// What the toolkit's PNG reader makes: 1-bit, 8-bit or 16-bit grey, palette, 32-bit or
// 64-bit colour.
qint64 pngBytes(const Header& h, bool transparency) {
    const QSize s = h.stored;
    if (h.samples == 1 && h.bits == 1) return (qint64(s.width()) + 31) / 32 * 4 * s.height();
    if (h.samples == 1 && h.bits <= 8) return pixels(s);
    if (h.samples == 1 && !h.palette) return pixels(s) * (transparency ? 8 : 2);
    return pixels(s) * (h.bits == 16 ? 8 : 4);
}

// What the toolkit's TIFF reader makes: 1-bit, grey or palette, 16-bit grey, 32-bit, 64-bit
// or floating point colour.
qint64 tiffBytes(const Header& h) {
    const QSize s = h.stored;
    if (h.samples == 1 && h.bits == 1) return (qint64(s.width()) + 31) / 32 * 4 * s.height();
    if (h.samples == 1 && h.bits <= 8) return pixels(s);
    if (h.samples == 1 && h.bits == 16 && !h.palette) return pixels(s) * 2;
    return pixels(s) * (h.bits <= 8 ? 4 : h.bits <= 16 ? 8 : 16);
}

// The markers of a JPEG from `start` (`length` bytes, or to the end): up to its first scan
// when that scan decodes the picture in one pass, otherwise through all its scans (or until
// they are too many).
picture::JpegMarkers jpegMarkers(QIODevice& f, bool progressive, qint64 start = 0,
                                 qint64 length = -1) {
    picture::JpegMarkers m;
    std::vector<char> buffer(64 * 1024);
    if (!f.seek(start)) return m;
    qint64 left = length < 0 ? f.size() - start : length;
    while (!m.ended() && !m.broken() && left > 0) {
        const qint64 n = f.read(buffer.data(), std::min(qint64(buffer.size()), left));
        if (n <= 0) break;
        left -= n;
        m.feed(buffer.data(), n);
        if (m.scans() >= 1 && !progressive && m.firstScanComplete()) break;
        if (m.scans() > maxJpegScans || m.work() > picture::kMostJpegWork) break;
    }
    return m;
}

// A TIFF whose strips or tiles are JPEG pictures: libtiff decodes each with libjpeg, through
// all its scans. Their scans are counted as a JPEG photo's are, the work of all of them
// together bounded alike; the file is read for it, so it is refused unread when its strips
// hold more than one decode may.
bool tiffJpegWithinLimits(QIODevice& f) {
    constexpr int mostChunks = 1 << 16;
    const auto chunks = picture::tiffChunks(f, mostChunks);
    if (!chunks) return false;
    qint64 bytes = 0, work = 0;
    for (const auto& [at, length] : *chunks)
        bytes += length;
    if (bytes > picture::decodeLimitBytes) return false;
    for (const auto& [at, length] : *chunks) {
        const picture::JpegMarkers m = jpegMarkers(f, true, at, length);
        work += m.work();
        if (m.scans() > maxJpegScans || work > picture::kMostJpegWork) return false;
    }
    return true;
}

// The size of an SVG document once inflated, counted without keeping it; -1 beyond the
// largest drawn.
qint64 svgDocumentBytes(QIODevice& f) {
    if (!f.seek(0)) return -1;
    if (f.peek(2) != "\x1F\x8B") return f.size() <= maxSvgBytes ? f.size() : -1;
    z_stream z{};
    if (inflateInit2(&z, 16 + MAX_WBITS) != Z_OK) return -1;
    std::vector<char> in(64 * 1024), out(64 * 1024);
    int status = Z_OK;
    while (status == Z_OK && qint64(z.total_out) <= maxSvgBytes) {
        if (z.avail_in == 0) {
            const qint64 n = f.read(in.data(), qint64(in.size()));
            if (n <= 0) break;
            z.next_in = reinterpret_cast<Bytef*>(in.data());
            z.avail_in = uInt(n);
        }
        z.next_out = reinterpret_cast<Bytef*>(out.data());
        z.avail_out = uInt(out.size());
        status = inflate(&z, Z_NO_FLUSH);
    }
    const qint64 total = qint64(z.total_out);
    inflateEnd(&z);
    return total <= maxSvgBytes ? total : -1;
}

struct Plan {
    qint64 bytes = -1;   // to reserve; refused when negative
    int jpegScans = 0;   // the scans the JPEG decoder may see
    qint64 jpegWork = 0; // what they make it do (picture::jpegScanWork)
    qint64 svgDocument = 0;
};

// What decoding the picture to `target` (as stored, before turning upright) takes.
Plan plan(const Header& h, QIODevice& file, QSize target) {
    Plan p;
    const QSize s = h.stored;
    qint64 decoder = 0;
    switch (h.kind) {
    case Kind::Png: {
        const PngChunks c = pngChunks(file, h);
        if (!c.ok) return p;
        // The profile's chunk, and the profile inflated from it.
        decoder = pngBytes(h, c.transparency) + 2 * c.profileBytes;
        break;
    }
    case Kind::Jpeg: {
        // The scans are counted by reading the file to its end: a file larger than any coding
        // of its picture (a sparse tail of gigabytes) is refused unread.
        if (file.size() > std::min(pixels(s) * h.samples * maxJpegBytesPerSample + 16 * MB,
                                   picture::decodeLimitBytes))
            return p;
        const picture::JpegMarkers m = jpegMarkers(file, h.progressive);
        const bool onePass = !h.progressive && m.firstScanComplete();
        if (m.scans() < 1 || m.scans() > maxJpegScans || m.work() > picture::kMostJpegWork)
            return p;
        const QSize d = picture::jpegScaled(s, target);
        // The decoded picture (grey or 32-bit), the one shrunk from it, every coefficient
        // when scans follow each other, and the segments the reader keeps.
        decoder = pixels(d) * (h.samples == 1 ? 1 : 4) + (d != target ? pixels(d) * 4 : 0) +
                  (onePass ? 0 : m.coefficientBytes()) + file.size();
        p.jpegScans = onePass ? 1 : m.scans();
        p.jpegWork = m.work();
        break;
    }
    case Kind::Gif:
        decoder = pixels(s) * 8;
        break;
    case Kind::Bmp:
        decoder = pixels(s) * (h.palette ? 1 : 4);
        break;
    // The reader reads the whole file; lossless pictures are decoded twice over.
    case Kind::WebP:
        decoder = pixels(s) * 8 + file.size();
        break;
    case Kind::Tiff:
        if (h.jpegInside && !tiffJpegWithinLimits(file)) return p;
        decoder = tiffBytes(h) + 2 * h.chunkBytes;
        break;
    case Kind::Heif:
        decoder = heif::decodeBytes(h, target);
        break;
    case Kind::Svg:
        p.svgDocument = svgDocumentBytes(file);
        if (p.svgDocument < 0) return p;
        decoder = p.svgDocument * svgBytesPerByte + pixels(target) * 4;
        break;
    case Kind::Ico:
        decoder = pixels(s) * 8;
        break;
    case Kind::Tga:
        decoder = tga::decodeBytes(h);
        break;
    case Kind::Other:
        decoder = pixels(s) * 8 + file.size();
        break;
    case Kind::None:
        return p;
    }
    // Finishing: the shrunk picture (32-bit), a turned copy, and for a picture decoded at
    // its size in another format, the 32-bit copy a colour profile is applied to; the bands
    // and sums the shrinking holds; the decoders' own state (rows, tables, inflate windows).
    const bool shrinks = target != s;
    const bool colour32 = ((h.kind == Kind::Png || h.kind == Kind::Tiff) && h.samples > 1) ||
                          h.kind == Kind::Jpeg || h.kind == Kind::WebP;
    const int copies = int(shrinks) + int(h.transformation != QImageIOHandler::TransformationNone) +
                       int(!shrinks && !colour32);
    p.bytes = decoder + copies * pixels(target) * 4 +
              (shrinks ? picture::shrinkBytes(s, target) : 0) + 4 * MB;
    return p;
}

// A decode by the toolkit's reader for the format. Its header must say what ours said: a
// file rewritten since would decode to another size than was planned for.
QImage decodeWithReader(QIODevice& device, const QByteArray& format, QSize stored,
                        QSize scaled = {}, bool sameHeader = true) {
    QImageReader reader(&device, format);
    reader.setAutoTransform(false);
    // The toolkit's BMP reader gives the height of a picture stored top down as it is stored,
    // negative.
    const QSize said = reader.size();
    if (sameHeader && (said.width() != stored.width() ||
                       std::abs(qint64(said.height())) != qint64(stored.height())))
        return {};
    if (scaled.isValid() && scaled != stored) reader.setScaledSize(scaled);
    QImage image;
    return reader.read(&image) ? image : QImage();
}

QImage decode(const Header& h, const Plan& p, QIODevice& file, QSize target) {
    switch (h.kind) {
    case Kind::Png: {
        picture::PngStream png(file, h.start, h.end);
        return picture::decodePng(png, h.stored);
    }
    case Kind::Jpeg: {
        if (!file.seek(0)) return {};
        if (h.samples == 1 || h.samples == 3)
            return picture::decodeJpeg(file, h.stored, h.samples, h.progressive,
                                       picture::jpegScaled(h.stored, target), p.jpegScans);
        // CMYK, which only print workflows write: the toolkit knows its conventions.
        picture::JpegStream jpeg(file, p.jpegScans);
        const QImage image = decodeWithReader(jpeg, "jpeg", h.stored, target);
        return jpeg.cut() ? QImage() : image;
    }
    case Kind::Heif:
        return file.seek(0) ? heif::decode(file, target == h.stored ? QSize() : target) : QImage();
    case Kind::Tga:
        return tga::decode(file);
    default: {
        if (!file.seek(0)) return {};
        picture::CancellableFile view(file);
        // The toolkit's GIF reader gives the size of the first frame as the header's.
        return decodeWithReader(view, h.qtFormat, h.stored, {}, h.kind != Kind::Gif);
    }
    }
}

// SVG: the toolkit measures the drawing itself (the document's root may not say), and then
// draws it at the size it is drawn. A root of no size and no view box leaves the probe
// guessing: drawn larger than planned for (the document parsed, the drawing and one copy of
// it), the drawing is measured again under a share planned for the size the toolkit gave.
LoadedPicture loadSvg(QFile& file, Header h, Plan p, const std::function<QSize(QSize)>& drawnSize) {
    for (bool replanned = false;; replanned = true) {
        const picture::BudgetShare share(p.bytes);
        if (!share.granted() || !file.seek(0)) return {};
        QImageReader reader(&file, h.qtFormat);
        const QSize full = reader.size();
        if (full.isEmpty() || pixels(full) > picture::maxPixels) return {};
        const QSize target = drawnSize(full);
        if (p.svgDocument * svgBytesPerByte + 2 * pixels(target) * 4 > p.bytes) {
            if (replanned) return {};
            h.stored = full;
            p = plan(h, file, target);
            continue;
        }
        reader.setScaledSize(target);
        LoadedPicture out;
        if (!reader.read(&out.image)) return {};
        out.original = full;
        return out;
    }
}

} // namespace

PictureProbe probePicture(const QString& path) {
    setAllocationLimitOnce();
    QFile file;
    if (!openRegular(path, file)) return {};
    const Header h = headerOf(file);
    if (!h.ok()) return {};
    return {true, h.upright(), h.transformation};
}

QImage picture::decodeJpegThumbnail(QIODevice& device, int mostSide, qint64* work) {
    setAllocationLimitOnce();
    const Header h = picture::readHeader(device);
    if (h.kind != Kind::Jpeg || h.stored.width() > mostSide || h.stored.height() > mostSide)
        return {};
    const Plan p = plan(h, device, h.stored);
    const picture::BudgetShare share(p.bytes);
    if (!share.granted()) return {};
    if (work) *work = p.jpegWork;
    const QImage image = decode(h, p, device, h.stored);
    return image.size() == h.stored ? image : QImage();
}

qint64 picture::decodeBytes(const QString& path, QSize drawn) {
    QFile file;
    if (!openRegular(path, file)) return -1;
    const Header h = headerOf(file);
    if (!h.ok()) return -1;
    drawn = drawn.expandedTo(QSize(1, 1)).boundedTo(h.upright());
    return plan(h, file, h.quarterTurn() ? drawn.transposed() : drawn).bytes;
}

void picture::giveBackLargeBuffers() {
    // A fixed threshold also stops the allocator from raising it after the first large free.
    ::mallopt(M_MMAP_THRESHOLD, 1 << 20);
    ::mallopt(M_TRIM_THRESHOLD, 4 << 20);
    // Every decoding thread (the lanes', libheif's, the AV1 decoder's own) would otherwise get
    // a pool of its own, each keeping its high-water mark of small buffers: over a long
    // presentation of AVIF photos that alone took the process past its memory budget.
    ::mallopt(M_ARENA_MAX, 2);
}

bool picture::slowToDecode(const QString& path, QSize drawn) {
    QFile file;
    if (!openRegular(path, file)) return false;
    const Header h = headerOf(file);
    if (!h.ok()) return false;
    drawn = drawn.expandedTo(QSize(1, 1)).boundedTo(h.upright());
    constexpr qint64 MP = 1000 * 1000;
    switch (h.kind) {
    case Kind::Heif:
        return pixels(h.stored) > 2 * MP &&
               !heif::fromThumbnail(h, h.quarterTurn() ? drawn.transposed() : drawn);
    case Kind::Jpeg:
        return pixels(h.stored) > 40 * MP;
    default:
        return pixels(h.stored) > 20 * MP;
    }
}

LoadedPicture loadPicture(const QString& path, const std::function<QSize(QSize)>& drawSize) {
    setAllocationLimitOnce();
    QFile file;
    if (!openRegular(path, file)) return {};
    const Header h = headerOf(file);
    if (!h.ok()) return {};
    const auto drawnSize = [&drawSize](QSize picture) {
        return drawSize ? drawSize(picture).expandedTo(QSize(1, 1)).boundedTo(picture) : picture;
    };
    LoadedPicture out;
    out.original = h.upright();
    QSize target = drawnSize(out.original);
    // The decoders work on the picture as stored; it is turned upright at the end.
    const auto stored = [&h](QSize upright) {
        return h.quarterTurn() ? upright.transposed() : upright;
    };
    const Plan p = plan(h, file, stored(target));
    if (h.kind == Kind::Svg) return loadSvg(file, h, p, drawnSize);
    const picture::BudgetShare share(p.bytes);
    if (!share.granted()) return {};

    QImage image = decode(h, p, file, stored(target));
    // More pixels than the header said: the file changed while it was read.
    if (image.isNull() || pixels(image.size()) > pixels(h.stored)) return {};
    const bool decodedSmaller =
        (h.kind == Kind::Jpeg || h.kind == Kind::Heif) && target != out.original;
    if (!decodedSmaller && image.size() != h.stored) {
        // The decoder made the picture another size than the header said, no larger (a GIF
        // whose frames do not fill its screen): what was decoded is the picture, drawn at
        // the size asked for it.
        out.original = stored(image.size());
        target = drawnSize(out.original);
    }
    out.image = picture::shrink(image, stored(target));
    image = QImage(); // the full-size picture goes before the turned copy is made
    out.image = picture::turned(out.image, h.transformation);
    picture::toSrgb(out.image);
    if (out.image.isNull()) return {};
    return out;
}

#include "pictures/decode/picture_header.h"

#include "pictures/decode/heif.h"
#include "pictures/decode/tga.h"

#include <QBuffer>
#include <QIODevice>
#include <QImageReader>
#include <QStringDecoder>
#include <QXmlStreamReader>
#include <QtEndian>
#include <algorithm>
#include <limits>
#include <optional>
#include <zlib.h>

namespace picture {

namespace {

using T = QImageIOHandler;

quint16 be16(const QByteArray& b, qsizetype at) {
    return qFromBigEndian<quint16>(b.constData() + at);
}
quint32 be32(const QByteArray& b, qsizetype at) {
    return qFromBigEndian<quint32>(b.constData() + at);
}
quint16 le16(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint16>(b.constData() + at);
}
quint32 le32(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint32>(b.constData() + at);
}

// Reads pieces of a file at given places, never beyond its end.
class Bytes {
  public:
    explicit Bytes(QIODevice& d) : d_(d), size_(d.size()) {}
    qint64 size() const { return size_; }
    // Exactly n bytes at pos, or nothing.
    QByteArray at(qint64 pos, qint64 n) const {
        if (pos < 0 || n < 0 || n > size_ - pos || !d_.seek(pos)) return {};
        QByteArray b = d_.read(n);
        return b.size() == n ? b : QByteArray();
    }
    // One byte, read through a window of the file: a GIF's comment may be tens of thousands
    // of one-byte blocks, walked a byte at a time.
    int byte(qint64 pos) const {
        if (pos < windowAt_ || pos - windowAt_ >= window_.size()) {
            windowAt_ = pos;
            window_ = at(pos, std::min<qint64>(4096, size_ - pos));
            if (window_.isEmpty()) return -1;
        }
        return quint8(window_[pos - windowAt_]);
    }

  private:
    QIODevice& d_;
    qint64 size_;
    mutable QByteArray window_;
    mutable qint64 windowAt_ = 0;
};

bool validSize(qint64 w, qint64 h) {
    return w > 0 && h > 0 && w <= std::numeric_limits<int>::max() &&
           h <= std::numeric_limits<int>::max();
}

Header sized(Kind kind, qint64 w, qint64 h) {
    Header header;
    if (!validSize(w, h)) return header;
    header.kind = kind;
    header.stored = QSize(int(w), int(h));
    return header;
}

const QByteArray pngSignature("\x89PNG\r\n\x1a\n", 8);

Header png(const Bytes& f, qint64 start) {
    const QByteArray b = f.at(start, 29);
    if (b.size() < 29 || !b.startsWith(pngSignature) || be32(b, 8) != 13 || b.mid(12, 4) != "IHDR")
        return {};
    Header h = sized(Kind::Png, be32(b, 16), be32(b, 20));
    const int depth = quint8(b[24]), type = quint8(b[25]);
    const bool valid =
        (type == 0 && (depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16)) ||
        (type == 3 && (depth == 1 || depth == 2 || depth == 4 || depth == 8)) ||
        ((type == 2 || type == 4 || type == 6) && (depth == 8 || depth == 16));
    if (!valid) return {};
    h.bits = depth;
    h.samples = type == 2 ? 3 : type == 4 ? 2 : type == 6 ? 4 : 1;
    h.palette = type == 3;
    h.qtFormat = "png";
    h.start = start;
    return h;
}

// JPEG: the frame header's size and components, the EXIF orientation before it, and a scan
// after it (a file cut before its image data is not a picture).
Header jpeg(const Bytes& f) {
    if (f.at(0, 2) != QByteArray("\xFF\xD8", 2)) return {};
    int orientation = 0;
    Header h;
    qint64 pos = 2, stray = 0;
    // Real files have a few dozen segments before their first scan.
    for (int segment = 0; segment < 4096; ++segment) {
        const QByteArray m = f.at(pos, 4);
        if (m.size() < 2) return {};
        if (quint8(m[0]) != 0xFF) {
            // Stray bytes before a marker, which the decoder passes over with a warning: as
            // many in all as a segment may hold.
            for (; stray < 65536 && f.byte(pos) >= 0 && f.byte(pos) != 0xFF; ++stray)
                ++pos;
            if (f.byte(pos) != 0xFF) return {};
            continue;
        }
        const int code = quint8(m[1]);
        if (code == 0xFF) { // fill byte before a marker
            ++pos;
            continue;
        }
        if (code == 0x01 || (code >= 0xD0 && code <= 0xD8)) { // markers without a length
            pos += 2;
            continue;
        }
        if (m.size() < 4 || code == 0xD9) return {};
        if (code == 0xDA) return h;
        const int length = be16(m, 2);
        if (length < 2) return {};
        const bool frame =
            code >= 0xC0 && code <= 0xCF && code != 0xC4 && code != 0xC8 && code != 0xCC;
        if (frame && h.kind == Kind::None) {
            const QByteArray s = f.at(pos + 4, length - 2);
            if (s.size() < 6) return {};
            const int components = quint8(s[5]);
            if (components < 1 || components > 4 || s.size() < 6 + 3 * components) return {};
            h = sized(Kind::Jpeg, be16(s, 3), be16(s, 1));
            if (!h.ok()) return {};
            h.bits = quint8(s[0]);
            h.samples = components;
            for (int c = 0; c < components; ++c) {
                const int hv = quint8(s[6 + 3 * c + 1]);
                if ((hv >> 4) < 1 || (hv >> 4) > 4 || (hv & 15) < 1 || (hv & 15) > 4) return {};
            }
            h.progressive = code == 0xC2 || code == 0xC6 || code == 0xCA || code == 0xCE;
            h.transformation = fromExifOrientation(orientation);
            h.qtFormat = "jpeg";
        }
        if (code == 0xE1 && orientation == 0 && h.kind == Kind::None) {
            const QByteArray exif = f.at(pos + 4, length - 2);
            if (exif.startsWith(QByteArray("Exif\0\0", 6)))
                orientation = exifOrientation(exif.mid(6));
        }
        pos += 2 + length;
    }
    return {};
}

// GIF: the screen's size, or the first frame's when the screen has none. A file cut before
// its first frame is not a picture.
Header gif(const Bytes& f) {
    const QByteArray b = f.at(0, 13);
    if (b.size() < 13 || (!b.startsWith("GIF87a") && !b.startsWith("GIF89a"))) return {};
    int w = le16(b, 6), h = le16(b, 8);
    qint64 pos = 13 + ((b[10] & 0x80) ? 3 * (2 << (b[10] & 7)) : 0);
    // Extensions (comments, application data) come before the frame in sub-blocks.
    for (int blocks = 0; blocks < 65536; ++blocks) {
        const int c = f.byte(pos);
        if (c == ',') {
            const QByteArray d = f.at(pos + 1, 8);
            if (d.size() < 8) return {};
            // A side the screen does not give ends where the first frame ends, as the
            // toolkit's reader draws it.
            if (w == 0) w = le16(d, 0) + le16(d, 4);
            if (h == 0) h = le16(d, 2) + le16(d, 6);
            Header header = sized(Kind::Gif, w, h);
            header.samples = 4;
            header.qtFormat = "gif";
            return header;
        }
        if (c != '!') return {};
        pos += 2; // extension introducer and label, then its sub-blocks up to an empty one
        for (int n = f.byte(pos); n != 0 && ++blocks < 65536; n = f.byte(pos)) {
            if (n < 0) return {};
            pos += 1 + n;
        }
        ++pos;
    }
    return {};
}

Header bmp(const Bytes& f) {
    const QByteArray b = f.at(0, 30);
    if (b.size() < 30 || !b.startsWith("BM")) return {};
    const quint32 info = le32(b, 14);
    qint64 w = 0, h = 0;
    int bits = 0;
    if (info == 12) {
        w = le16(b, 18);
        h = le16(b, 20);
        bits = le16(b, 24);
    } else if (info >= 40) {
        w = qint32(le32(b, 18));
        h = qint32(le32(b, 22));
        h = h < 0 ? -h : h; // stored top down
        bits = le16(b, 28);
    }
    Header header = sized(Kind::Bmp, w, h);
    header.palette = bits <= 8;
    header.samples = header.palette ? 1 : 4;
    header.qtFormat = "bmp";
    return header;
}

Header webp(const Bytes& f) {
    const QByteArray b = f.at(0, 30);
    if (b.size() < 30 || !b.startsWith("RIFF") || b.mid(8, 4) != "WEBP") return {};
    const QByteArray chunk = b.mid(12, 4);
    qint64 w = 0, h = 0;
    if (chunk == "VP8 " && b.mid(23, 3) == QByteArray("\x9D\x01\x2A", 3)) {
        w = le16(b, 26) & 0x3FFF;
        h = le16(b, 28) & 0x3FFF;
    } else if (chunk == "VP8L" && quint8(b[20]) == 0x2F) {
        const quint32 v = le32(b, 21);
        w = (v & 0x3FFF) + 1;
        h = ((v >> 14) & 0x3FFF) + 1;
    } else if (chunk == "VP8X") {
        w = (le32(b, 24) & 0xFFFFFF) + 1;
        h = (le32(b, 27) & 0xFFFFFF) + 1;
    }
    Header header = sized(Kind::WebP, w, h);
    header.samples = 4;
    header.qtFormat = "webp";
    return header;
}

// The first directory of a TIFF, classic or BigTIFF, by its entries.
class TiffDirectory {
  public:
    explicit TiffDirectory(const Bytes& f) : f_(f) {
        const QByteArray b = f.at(0, 16);
        if (b.size() < 8) return;
        little_ = b.startsWith("II");
        if (!little_ && !b.startsWith("MM")) return;
        const quint64 version = u16(b, 2);
        big_ = version == 43;
        if (version != 42 && !(big_ && b.size() == 16 && u16(b, 4) == 8 && u16(b, 6) == 0)) return;
        const quint64 directory = big_ ? u64(b, 8) : u32(b, 4);
        const QByteArray c =
            f.at(qint64(std::min<quint64>(directory, quint64(f.size()))), countBytes());
        if (c.isEmpty()) return;
        count_ = big_ ? u64(c, 0) : u16(c, 0);
        // The decoder refuses longer directories.
        if (count_ == 0 || count_ > 4096) return;
        entries_ = f.at(qint64(directory) + countBytes(), qint64(count_) * entryBytes());
    }
    bool ok() const { return !entries_.isEmpty(); }
    quint64 count() const { return count_; }
    quint64 tag(quint64 i) const { return u16(entries_, at(i)); }
    // How many values entry i has; false when they would not fit in the file (an array longer
    // than the file would only make the decoder allocate for it).
    bool values(quint64 i, quint64& n) const {
        n = big_ ? u64(entries_, at(i) + 4) : u32(entries_, at(i) + 4);
        const int size = typeBytes(i);
        return size == 0 || n <= quint64(f_.size()) / quint64(size);
    }
    // Value k of entry i, when it is an integer (short, long or 8-byte long); 0 otherwise.
    std::optional<quint64> value(quint64 i, quint64 k = 0) const {
        const quint64 type = u16(entries_, at(i) + 2);
        quint64 n = 0;
        if (!values(i, n) || k >= n || !(type == 3 || type == 4 || type == 16)) return 0;
        const int size = typeBytes(i);
        const qsizetype inlined = at(i) + (big_ ? 12 : 8);
        QByteArray v;
        if (quint64(size) * n <= quint64(inlineBytes()))
            v = entries_.mid(inlined + qsizetype(k) * size, size);
        else
            v = f_.at(qint64(big_ ? u64(entries_, inlined) : u32(entries_, inlined)) +
                          qint64(k) * size,
                      size);
        if (v.size() < size) return std::nullopt;
        return type == 3 ? u16(v, 0) : type == 4 ? u32(v, 0) : u64(v, 0);
    }

  private:
    int countBytes() const { return big_ ? 8 : 2; }
    int entryBytes() const { return big_ ? 20 : 12; }
    int inlineBytes() const { return big_ ? 8 : 4; }
    qsizetype at(quint64 i) const { return qsizetype(i) * entryBytes(); }
    int typeBytes(quint64 i) const {
        static const int bytes[] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8, 4, 0, 0, 8, 8, 8};
        const quint64 type = u16(entries_, at(i) + 2);
        return type < std::size(bytes) ? bytes[type] : 1;
    }
    quint64 u16(const QByteArray& d, qsizetype at) const {
        return little_ ? le16(d, at) : be16(d, at);
    }
    quint64 u32(const QByteArray& d, qsizetype at) const {
        return little_ ? le32(d, at) : be32(d, at);
    }
    quint64 u64(const QByteArray& d, qsizetype at) const {
        const quint64 a = u32(d, at), c = u32(d, at + 4);
        return little_ ? a | c << 32 : a << 32 | c;
    }
    const Bytes& f_;
    bool little_ = false, big_ = false;
    quint64 count_ = 0;
    QByteArray entries_;
};

// TIFF: the first directory's size, layout, compression and orientation tags.
Header tiff(const Bytes& f) {
    const TiffDirectory d(f);
    if (!d.ok()) return {};
    quint64 w = 0, h = 0, rows = 0, tileW = 0, tileH = 0, samples = 1, bits = 1, photometric = 1;
    quint64 compression = 1, planar = 1;
    int orientation = 1;
    for (quint64 i = 0; i < d.count(); ++i) {
        const std::optional<quint64> value = d.value(i);
        const quint64 v = value.value_or(0);
        switch (d.tag(i)) {
        case 256:
            w = v;
            break;
        case 257:
            h = v;
            break;
        case 258:
            bits = v;
            break;
        case 259:
            compression = v;
            break;
        case 262:
            photometric = v;
            break;
        case 274:
            orientation = int(std::min<quint64>(v, 9));
            break;
        case 277:
            samples = v;
            break;
        case 278:
            rows = v;
            break;
        case 284:
            planar = v;
            break;
        case 322:
            tileW = v;
            break;
        case 323:
            tileH = v;
            break;
        default:
            // The values of other tags may lie anywhere, even past the end, and be more than
            // the file could hold: the decoder passes over what it cannot read of them.
            continue;
        }
        quint64 n = 0;
        if (!value || !d.values(i, n)) return {};
    }
    // Old-style JPEG compression (6) hides its picture where no count of its scans can follow.
    if (samples < 1 || samples > 16 || bits < 1 || bits > 64 || compression == 6) return {};
    // The toolkit's reader takes 16-bit and floating point colour in planes as if its samples
    // were side by side, and leaves most of the picture as its memory was.
    if (planar == 2 && photometric == 2 && bits > 8) return {};
    Header header = sized(Kind::Tiff, qint64(std::min<quint64>(w, 1ull << 32)),
                          qint64(std::min<quint64>(h, 1ull << 32)));
    if (!header.ok()) return {};
    header.bits = int(bits);
    header.samples = int(samples);
    header.palette = photometric == 3;
    header.jpegInside = compression == 7;
    header.transformation = fromExifOrientation(orientation);
    const quint64 pixelBits = samples * bits;
    const quint64 chunk = tileW && tileH
                              ? tileW * tileH * pixelBits / 8
                              : std::min<quint64>(rows ? rows : h, h) * ((w * pixelBits + 7) / 8);
    header.chunkBytes = qint64(std::min<quint64>(chunk, quint64(1) << 40));
    header.qtFormat = "tiff";
    return header;
}

// The size an SVG document's root element gives, in the toolkit's pixels (90 per inch). The
// toolkit's reader takes points and picas there as pixels, and so the probe does: its size is
// the one the picture is decoded at. Its factors for millimetres and centimetres are cut to
// seven digits, so 2.54cm is 89.99999 pixels there, and so 89 once cut to whole pixels. A
// percentage is of `reference`; 0 when the text is no length.
double svgLength(QStringView text, double reference) {
    static const struct {
        const char* unit;
        double pixels;
    } units[] = {{"px", 1},        {"pt", 1},  {"pc", 1}, {"mm", 3.543307},
                 {"cm", 35.43307}, {"in", 90}, {"%", 0}};
    text = text.trimmed();
    double factor = 1;
    for (const auto& u : units)
        if (text.endsWith(QLatin1String(u.unit))) {
            text.chop(qsizetype(qstrlen(u.unit)));
            factor = u.pixels > 0 ? u.pixels : reference / 100;
            break;
        }
    bool ok = false;
    const double v = text.toDouble(&ok) * factor;
    return ok && v > 0 && v < 1e9 ? v : 0;
}

// The first bytes of an SVG document, inflated when it is compressed.
QByteArray svgStart(const Bytes& f) {
    const qint64 limit = 64 * 1024;
    const QByteArray b = f.at(0, std::min(f.size(), limit));
    if (!b.startsWith("\x1F\x8B")) return b;
    QByteArray out(int(limit), '\0');
    z_stream z{};
    if (inflateInit2(&z, 16 + MAX_WBITS) != Z_OK) return {};
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(b.constData()));
    z.avail_in = uInt(b.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    inflate(&z, Z_SYNC_FLUSH);
    out.truncate(qsizetype(z.total_out));
    inflateEnd(&z);
    return out;
}

Header svg(const Bytes& f) {
    const QByteArray start = svgStart(f);
    // Nothing but blanks before the first tag, once read in the encoding its byte order mark
    // (which Windows editors write) or its first character says.
    QStringDecoder text(
        QStringDecoder::encodingForData(start, u'<').value_or(QStringDecoder::Utf8));
    const QString head = text(start);
    const qsizetype open = head.indexOf(u'<');
    if (open < 0 || !head.left(open).trimmed().isEmpty()) return {};
    QXmlStreamReader xml(start);
    while (!xml.atEnd() && xml.readNext() != QXmlStreamReader::StartElement) {
    }
    if (!xml.isStartElement() || xml.name() != QLatin1String("svg")) return {};
    const QXmlStreamAttributes a = xml.attributes();
    const QList<QStringView> box =
        a.value(QLatin1String("viewBox"))
            .split(QRegularExpression(QStringLiteral("[\\s,]+")), Qt::SkipEmptyParts);
    const bool boxed = box.size() == 4 && box[2].toDouble() > 0 && box[3].toDouble() > 0;
    // Saturated so that rounding them stays defined: so large a side is refused anyway.
    const double bw = boxed ? std::min(box[2].toDouble(), 1e9) : 0,
                 bh = boxed ? std::min(box[3].toDouble(), 1e9) : 0;
    qint64 width = qint64(svgLength(a.value(QLatin1String("width")), bw));
    qint64 height = qint64(svgLength(a.value(QLatin1String("height")), bh));
    // Unless both sides are a pixel or more, the toolkit takes the view box's size, rounded;
    // without one it measures the drawing, and any size serves until then.
    if (width < 1 || height < 1) {
        width = boxed ? qRound64(bw) : 100;
        height = boxed ? qRound64(bh) : 100;
    }
    Header h = sized(Kind::Svg, width, height);
    h.samples = 4;
    h.qtFormat = f.at(0, 2) == "\x1F\x8B" ? "svgz" : "svg";
    return h;
}

// An icon: its first image, a PNG of its own or a bitmap the toolkit's reader decodes.
Header ico(const Bytes& f) {
    const QByteArray b = f.at(0, 22);
    if (b.size() < 22 || le16(b, 0) != 0 || (le16(b, 2) != 1 && le16(b, 2) != 2) || le16(b, 4) == 0)
        return {};
    const qint64 bytes = le32(b, 14), offset = le32(b, 18);
    if (bytes < 8 || offset < 22 || bytes > f.size() - offset) return {};
    if (f.at(offset, 8) == pngSignature) {
        Header h = png(f, offset);
        h.end = offset + bytes;
        return h;
    }
    Header h =
        sized(Kind::Ico, quint8(b[6]) ? quint8(b[6]) : 256, quint8(b[7]) ? quint8(b[7]) : 256);
    h.samples = 4;
    h.qtFormat = le16(b, 2) == 1 ? "ico" : "cur";
    return h;
}

// The remaining formats of the toolkit whose decoders hold nothing but the picture: their
// readers are asked on the file's first bytes.
Header other(const Bytes& f) {
    QByteArray start = f.at(0, std::min<qint64>(f.size(), 16 * 1024));
    QBuffer buffer(&start);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QByteArray format = reader.format();
    // TGA is read by the program's own reader (tga.h), which takes more of them.
    static const QList<QByteArray> plain = {"pbm", "pgm", "ppm", "xbm", "xpm", "wbmp"};
    if (!plain.contains(format)) return {};
    const QSize s = reader.size();
    Header h = sized(Kind::Other, s.width(), s.height());
    h.samples = 4;
    h.qtFormat = format;
    return h;
}

// The zlib stream `compressed` inflated, when it inflates to at most maxBytes.
std::optional<QByteArray> inflated(const QByteArray& compressed, int maxBytes) {
    z_stream z{};
    if (inflateInit(&z) != Z_OK) return std::nullopt;
    QByteArray out(maxBytes + 1, Qt::Uninitialized);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.constData()));
    z.avail_in = uInt(compressed.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    const int status = inflate(&z, Z_FINISH);
    const qint64 length = qint64(z.total_out);
    inflateEnd(&z);
    if (status != Z_STREAM_END || length > maxBytes) return std::nullopt;
    out.truncate(length);
    return out;
}

// The value of a text chunk's body after its key (and the key's terminating zero).
std::optional<QByteArray> textValue(const QByteArray& type, const QByteArray& rest, int maxBytes) {
    if (type == "tEXt") {
        if (rest.size() > maxBytes) return std::nullopt;
        return rest;
    }
    if (type == "zTXt") {
        if (rest.isEmpty() || rest[0] != '\0') return std::nullopt; // method 0: zlib
        return inflated(rest.mid(1), maxBytes);
    }
    // iTXt: compressed or not, method, language and translated key, each ended by a zero.
    if (rest.size() < 2) return std::nullopt;
    const bool compressed = rest[0] == '\1';
    const qsizetype language = rest.indexOf('\0', 2);
    const qsizetype translated = language < 0 ? -1 : rest.indexOf('\0', language + 1);
    if (translated < 0 || (compressed && rest[1] != '\0')) return std::nullopt;
    const QByteArray text = rest.mid(translated + 1);
    if (compressed) return inflated(text, maxBytes);
    if (text.size() > maxBytes) return std::nullopt;
    return text;
}

} // namespace

std::optional<PngChunk> pngChunkAt(QIODevice& device, qint64 at, qint64 end) {
    if (at < 0 || end - at < 8 || !device.seek(at)) return std::nullopt;
    const QByteArray head = device.read(8);
    if (head.size() < 8) return std::nullopt;
    return PngChunk{at, qint64(be32(head, 0)), head.mid(4)};
}

void forEachPngChunk(QIODevice& device, qint64 start, qint64 end,
                     const std::function<bool(const PngChunk&)>& visit) {
    if (end < 0) end = device.size();
    qint64 at = start + 8;
    for (int n = 0; n < kMostPngChunks; ++n) {
        const std::optional<PngChunk> chunk = pngChunkAt(device, at, end);
        if (!chunk || !visit(*chunk)) return;
        at = chunk->next();
    }
}

QHash<QByteArray, QByteArray> pngTexts(QIODevice& device, const QList<QByteArray>& keys,
                                       int maxBytes) {
    constexpr int kMaxKey = 79; // as the PNG standard has it
    const Bytes f(device);
    QHash<QByteArray, QByteArray> found;
    if (f.at(0, 8) != pngSignature) return found;
    // Deflate makes no stream much larger than what it holds.
    const qint64 mostRead = kMaxKey + 8 + qint64(maxBytes) * 2 + 1024;
    forEachPngChunk(device, 0, -1, [&](const PngChunk& chunk) {
        if (chunk.type == "IDAT" || chunk.type == "IEND") return false;
        if (!chunk.isText() || chunk.length > mostRead) return true;
        const qint64 length = chunk.length;
        const QByteArray body = f.at(chunk.at + 4, 4 + length + 4); // type, data, CRC
        if (body.size() != 8 + length) return false;                // the file is cut short
        const quint32 crc = be32(body, 4 + length);
        const uLong computed =
            ::crc32(0, reinterpret_cast<const Bytef*>(body.constData()), uInt(4 + length));
        const QByteArray data = body.mid(4, length);
        const qsizetype keyEnd = data.indexOf('\0');
        const QByteArray key = keyEnd > 0 && keyEnd <= kMaxKey ? data.left(keyEnd) : QByteArray();
        if (crc == computed && keys.contains(key) && !found.contains(key)) {
            if (const auto value = textValue(chunk.type, data.mid(keyEnd + 1), maxBytes))
                found.insert(key, *value);
        }
        return found.size() < keys.size();
    });
    return found;
}

std::optional<QList<std::pair<qint64, qint64>>> tiffChunks(QIODevice& device, int most) {
    const Bytes f(device);
    const TiffDirectory d(f);
    if (!d.ok()) return std::nullopt;
    std::optional<quint64> offsets, counts;
    for (quint64 i = 0; i < d.count(); ++i) {
        if (d.tag(i) == 273 || d.tag(i) == 324) offsets = i;
        if (d.tag(i) == 279 || d.tag(i) == 325) counts = i;
    }
    quint64 n = 0, m = 0;
    if (!offsets || !counts || !d.values(*offsets, n) || !d.values(*counts, m) || n != m ||
        n > quint64(most))
        return std::nullopt;
    QList<std::pair<qint64, qint64>> chunks;
    for (quint64 k = 0; k < n; ++k) {
        const std::optional<quint64> at = d.value(*offsets, k), bytes = d.value(*counts, k);
        if (!at || !bytes || *at > quint64(f.size()) || *bytes > quint64(f.size()) - *at)
            return std::nullopt;
        chunks.append({qint64(*at), qint64(*bytes)});
    }
    return chunks;
}

QImageIOHandler::Transformations fromExifOrientation(int orientation) {
    switch (orientation) {
    case 2:
        return T::TransformationMirror;
    case 3:
        return T::TransformationRotate180;
    case 4:
        return T::TransformationFlip;
    case 5:
        return T::TransformationFlipAndRotate90;
    case 6:
        return T::TransformationRotate90;
    case 7:
        return T::TransformationMirrorAndRotate90;
    case 8:
        return T::TransformationRotate270;
    default:
        return T::TransformationNone;
    }
}

int exifOrientation(const QByteArray& tiff) {
    if (tiff.size() < 8) return 1;
    const bool little = tiff.startsWith("II");
    if (!little && !tiff.startsWith("MM")) return 1;
    const auto u16 = [&](qsizetype at) { return little ? le16(tiff, at) : be16(tiff, at); };
    const auto u32 = [&](qsizetype at) { return little ? le32(tiff, at) : be32(tiff, at); };
    const quint32 directory = u32(4);
    if (directory > quint32(tiff.size()) - 2) return 1;
    const int count = u16(directory);
    for (int i = 0; i < count; ++i) {
        const qsizetype e = qsizetype(directory) + 2 + 12 * qsizetype(i);
        if (e + 12 > tiff.size()) break;
        if (u16(e) == 0x0112 && u16(e + 2) == 3) return u16(e + 8);
    }
    return 1;
}

Header readHeader(QIODevice& device) {
    const Bytes f(device);
    const QByteArray b = f.at(0, std::min<qint64>(f.size(), 32));
    if (b.size() < 4) return {};
    Header h;
    if (b.startsWith(pngSignature))
        h = png(f, 0);
    else if (b.startsWith("\xFF\xD8"))
        h = jpeg(f);
    else if (b.startsWith("GIF8"))
        h = gif(f);
    else if (b.startsWith("BM"))
        h = bmp(f);
    else if (b.startsWith("RIFF"))
        h = webp(f);
    else if (b.startsWith("II") || b.startsWith("MM"))
        h = tiff(f);
    else if (heif::isHeif(b))
        h = heif::readHeader(device);
    else if (b.startsWith(QByteArray("\0\0", 2)))
        h = ico(f);
    if (h.kind == Kind::None) h = svg(f);
    if (h.kind == Kind::None) h = other(f);
    // Last: a TGA header has no signature, only values that must make sense together.
    if (h.kind == Kind::None) h = tga::readHeader(f.at(0, 18), f.size());
    return h;
}

} // namespace picture

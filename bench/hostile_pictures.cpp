#include "bench/hostile_pictures.h"

#include <QBuffer>
#include <QColorSpace>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QStringEncoder>
#include <QtEndian>
#include <cstdio>
#include <cstring>
#include <jpeglib.h>
#include <libheif/heif.h>
#include <png.h>
#include <vector>
#include <zlib.h>

namespace hostile {

namespace {

QByteArray be32(quint32 v) {
    QByteArray out(4, '\0');
    qToBigEndian(v, out.data());
    return out;
}

QByteArray be16(quint16 v) {
    QByteArray out(2, '\0');
    qToBigEndian(v, out.data());
    return out;
}

QByteArray box(const char* type, const QByteArray& body) {
    return be32(quint32(8 + body.size())) + QByteArray(type, 4) + body;
}

QByteArray fullBox(const char* type, quint8 version, quint32 flags, const QByteArray& body) {
    return box(type, char(version) + be32(flags).mid(1) + body);
}

QByteArray le16(quint16 v) {
    QByteArray out(2, '\0');
    qToLittleEndian(v, out.data());
    return out;
}

QByteArray le32(quint32 v) {
    QByteArray out(4, '\0');
    qToLittleEndian(v, out.data());
    return out;
}

// `head`, `rows` copies of `row` and `tail` through one zlib stream (gzip's when asked),
// never all in memory at once.
QByteArray deflateRows(const QByteArray& row, qint64 rows, bool gzip = false,
                       const QByteArray& head = {}, const QByteArray& tail = {}) {
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, gzip ? 16 + MAX_WBITS : MAX_WBITS, 9, Z_DEFAULT_STRATEGY);
    QByteArray out;
    char buffer[65536];
    for (qint64 r = -1; r <= rows; ++r) {
        const bool last = r == rows;
        const QByteArray& in = r < 0 ? head : last ? tail : row;
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.constData()));
        z.avail_in = uInt(in.size());
        do {
            z.next_out = reinterpret_cast<Bytef*>(buffer);
            z.avail_out = sizeof buffer;
            deflate(&z, last ? Z_FINISH : Z_NO_FLUSH);
            out.append(buffer, qsizetype(sizeof buffer - z.avail_out));
        } while (z.avail_out == 0);
    }
    deflateEnd(&z);
    return out;
}

QByteArray pngHeader(int w, int h, int bitDepth, int colourType) {
    return QByteArray("\x89PNG\r\n\x1a\n", 8) +
           pngChunk("IHDR", be32(quint32(w)) + be32(quint32(h)) + char(bitDepth) +
                                char(colourType) + QByteArray(3, '\0'));
}

heif_error appendTo(heif_context*, const void* data, size_t size, void* out) {
    static_cast<QByteArray*>(out)->append(static_cast<const char*>(data), qsizetype(size));
    return {heif_error_Ok, heif_suberror_Unspecified, ""};
}

} // namespace

QByteArray jpegSegment(int marker, const QByteArray& data) {
    QByteArray out;
    out += char(0xFF);
    out += char(marker);
    out += char((data.size() + 2) >> 8);
    out += char((data.size() + 2) & 0xFF);
    return out + data;
}

QByteArray pngChunk(const char* type, const QByteArray& data) {
    const QByteArray body = QByteArray(type, 4) + data;
    const auto crc =
        quint32(crc32(0, reinterpret_cast<const Bytef*>(body.constData()), uInt(body.size())));
    return be32(quint32(data.size())) + body + be32(crc);
}

QByteArray pngWithTextChunks(int chunks, int mb) {
    QByteArray out = pngHeader(1, 1, 8, 2);
    const QByteArray text = deflateRows(QByteArray(1 << 20, ' '), mb);
    for (int i = 0; i < chunks; ++i)
        out += pngChunk("zTXt", QByteArray("Comment\0\0", 9) + text);
    out += pngChunk("IDAT", deflateRows(QByteArray(4, '\0'), 1));
    return out + pngChunk("IEND", {});
}

QByteArray pngWithProfile(qint64 bytes) {
    QByteArray profile = QByteArray("icc\0\0", 5) + QByteArray(bytes - 5, 'x');
    return pngHeader(1, 1, 8, 2) + pngChunk("iCCP", profile) +
           pngChunk("IDAT", deflateRows(QByteArray(4, '\0'), 1)) + pngChunk("IEND", {});
}

QByteArray blackPng(int w, int h, int colourType, int bitDepth) {
    QByteArray out = pngHeader(w, h, bitDepth, colourType);
    if (colourType == 3) out += pngChunk("PLTE", QByteArray::fromHex("0000004080c0"));
    const int samples = colourType == 2 ? 3 : colourType == 4 ? 2 : colourType == 6 ? 4 : 1;
    const qint64 rowBytes = (qint64(w) * samples * bitDepth + 7) / 8;
    out += pngChunk("IDAT", deflateRows(QByteArray(rowBytes + 1, '\0'), h));
    return out + pngChunk("IEND", {});
}

QByteArray pngWithDataAfterRows(int w, int h, qint64 tail) {
    z_stream z{};
    deflateInit(&z, 9);
    const auto pack = [&z](const QByteArray& in, int flush) {
        QByteArray out;
        char buffer[65536];
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.constData()));
        z.avail_in = uInt(in.size());
        do {
            z.next_out = reinterpret_cast<Bytef*>(buffer);
            z.avail_out = sizeof buffer;
            deflate(&z, flush);
            out.append(buffer, qsizetype(sizeof buffer - z.avail_out));
        } while (z.avail_out == 0);
        return out;
    };
    const QByteArray row(qsizetype(w) + 1, '\0');
    QByteArray data;
    for (int r = 0; r < h; ++r)
        data += pack(row, Z_NO_FLUSH);
    // After a full flush a block refers to nothing before it: the same block of a megabyte of
    // zeros may follow as often as wanted.
    data += pack({}, Z_FULL_FLUSH);
    const qint64 mb = 1 << 20;
    const QByteArray block = pack(QByteArray(mb, '\0'), Z_FULL_FLUSH);
    deflateEnd(&z);
    uLong adler = adler32(1, reinterpret_cast<const Bytef*>(row.constData()), uInt(row.size()));
    for (int r = 1; r < h; ++r)
        adler = adler32(adler, reinterpret_cast<const Bytef*>(row.constData()), uInt(row.size()));
    const QByteArray zeros(mb, '\0');
    const uLong adlerOfBlock =
        adler32(1, reinterpret_cast<const Bytef*>(zeros.constData()), uInt(mb));
    for (qint64 n = 0; n < tail / mb; ++n) {
        data += block;
        adler = adler32_combine(adler, adlerOfBlock, mb);
    }
    // The last block: stored, empty, final; then the checksum of all the stream holds.
    data += QByteArray("\x01\x00\x00\xFF\xFF", 5) + be32(quint32(adler));
    return pngHeader(w, h, 8, 0) + pngChunk("IDAT", data) + pngChunk("IEND", {});
}

namespace {
// The start of a grey progressive JPEG of w x h pixels, its one component numbered `component`:
// its table of quantizers, all ones, and its frame.
QByteArray greyProgressiveStart(int w, int h, int component) {
    QByteArray out("\xFF\xD8", 2);
    out += jpegSegment(0xDB, QByteArray(1, '\0') + QByteArray(64, '\1'));
    out += jpegSegment(0xC2, QByteArray::fromHex("08") + char(h >> 8) + char(h & 0xFF) +
                                 char(w >> 8) + char(w & 0xFF) + char(1) + char(component) +
                                 QByteArray::fromHex("1100"));
    return out;
}
} // namespace

QByteArray emptyScansJpeg(int w, int h, int scans) {
    QByteArray out = greyProgressiveStart(w, h, 1);
    // One code of one bit for each table: DC difference 0, end of band.
    const QByteArray counts = QByteArray(1, '\1') + QByteArray(15, '\0');
    out += jpegSegment(0xC4, QByteArray(1, '\0') + counts + QByteArray(1, '\0'));
    out += jpegSegment(0xC4, QByteArray(1, '\x10') + counts + QByteArray(1, '\0'));
    for (int i = 0; i < scans; ++i)
        out += jpegSegment(0xDA, QByteArray::fromHex("010100000000"));
    return out + QByteArray("\xFF\xD9", 2);
}

QByteArray refinementScansJpeg(int w, int h, int scans, int component) {
    QByteArray out = greyProgressiveStart(w, h, component);
    // DC: one code. AC: fifteen codes of four bits, the end-of-band runs of 2^r blocks and more.
    out += jpegSegment(0xC4, QByteArray(1, '\0') + QByteArray(1, '\1') + QByteArray(15, '\0') +
                                 QByteArray(1, '\0'));
    QByteArray runs;
    for (int r = 0; r < 15; ++r)
        runs += char(r << 4);
    out += jpegSegment(0xC4, QByteArray(1, '\x10') + QByteArray(3, '\0') + char(15) +
                                 QByteArray(12, '\0') + runs);
    // Each scan: runs of 32,767 blocks (code 14, then 14 bits of ones) and the rest in one run,
    // bytes of 0xFF followed by a stuffed zero.
    const qint64 blocks = qint64((w + 7) / 8) * ((h + 7) / 8);
    QByteArray data;
    quint32 bits = 0;
    int count = 0;
    const auto put = [&](quint32 value, int n) {
        bits = bits << n | value;
        count += n;
        while (count >= 8) {
            const char byte = char((bits >> (count - 8)) & 0xFF);
            data += byte;
            if (byte == '\xFF') data += '\0';
            count -= 8;
        }
    };
    for (qint64 left = blocks; left > 0;) {
        const qint64 run = std::min<qint64>(left, 32767);
        int r = 0;
        while ((qint64(2) << r) <= run)
            ++r;
        put(quint32(r), 4);
        put(quint32(run - (qint64(1) << r)), r);
        left -= run;
    }
    if (count > 0) put((1u << (8 - count)) - 1, 8 - count);
    for (int i = 0; i < scans; ++i)
        out += jpegSegment(0xDA, QByteArray(1, '\1') + char(component) +
                                     QByteArray::fromHex("00013F10")) +
               data;
    return out + QByteArray("\xFF\xD9", 2);
}

QByteArray solidJpeg(int w, int h, const QByteArray& samples, QSize sampling, bool arithmetic) {
    jpeg_compress_struct c{};
    jpeg_error_mgr errors{};
    c.err = jpeg_std_error(&errors);
    jpeg_create_compress(&c);
    unsigned char* memory = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &memory, &size);
    c.image_width = JDIMENSION(w);
    c.image_height = JDIMENSION(h);
    c.input_components = int(samples.size());
    c.in_color_space = samples.size() == 4 ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&c);
    if (sampling.isValid()) {
        c.comp_info[0].h_samp_factor = sampling.width();
        c.comp_info[0].v_samp_factor = sampling.height();
    }
    if (arithmetic) {
        c.arith_code = TRUE;
        jpeg_simple_progression(&c);
    }
    jpeg_start_compress(&c, TRUE);
    QByteArray row = samples.repeated(w);
    while (c.next_scanline < c.image_height) {
        JSAMPROW rows[] = {reinterpret_cast<JSAMPLE*>(row.data())};
        jpeg_write_scanlines(&c, rows, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    const QByteArray out(reinterpret_cast<const char*>(memory), qsizetype(size));
    std::free(memory);
    return out;
}

QByteArray blackTiff(int w, int h, int bits, int rowsPerStrip, int moreTags, bool big,
                     bool bigEndian, int samples) {
    const auto w16 = [bigEndian](quint16 v) { return bigEndian ? be16(v) : le16(v); };
    const auto w32 = [bigEndian](quint32 v) { return bigEndian ? be32(v) : le32(v); };
    const int strips = (h + rowsPerStrip - 1) / rowsPerStrip;
    const qint64 rowBytes = qint64(w) * samples * bits / 8;
    // Every strip holds the same rows but the last, which may hold fewer.
    const QByteArray full = deflateRows(QByteArray(rowBytes, '\0'), rowsPerStrip);
    const QByteArray last =
        deflateRows(QByteArray(rowBytes, '\0'), h - (strips - 1) * rowsPerStrip);
    struct Entry {
        quint16 tag, type;
        quint32 count, value;
    };
    // BigTIFF: a longer header, 8-byte counts and value fields, 8-byte strip offsets (type 16),
    // and the three bits per sample within their entry.
    const quint32 word = big ? 8 : 4, entryBytes = big ? 20 : 12;
    const int entries = 10 + moreTags;
    const quint32 bitsAt = 2 * word + (big ? 8 : 2) + quint32(entries) * entryBytes + word;
    const quint32 offsetsAt = bitsAt + (big ? 0 : 2 * quint32(samples));
    const quint32 countsAt = offsetsAt + word * quint32(strips);
    const quint32 dataAt = countsAt + 4 * quint32(strips);
    const quint16 offsetType = big ? 16 : 4;
    QList<Entry> ifd = {{256, 4, 1, quint32(w)},
                        {257, 4, 1, quint32(h)},
                        {258, 3, quint32(samples), bitsAt},
                        {259, 3, 1, 8},
                        {262, 3, 1, 2},
                        {273, offsetType, quint32(strips), strips == 1 ? dataAt : offsetsAt},
                        {277, 3, 1, quint32(samples)},
                        {278, 4, 1, quint32(rowsPerStrip)},
                        {279, 4, quint32(strips), strips == 1 ? quint32(last.size()) : countsAt},
                        {284, 3, 1, 1}};
    for (int k = 0; k < moreTags; ++k)
        ifd.append({quint16(40000 + k), 3, 1, 0}); // private tags, unknown to any reader
    const auto number = [&](quint64 v) {
        const QByteArray low = w32(quint32(v)), high = w32(quint32(v >> 32));
        return !big ? low : bigEndian ? high + low : low + high;
    };
    QByteArray out = QByteArray(bigEndian ? "MM" : "II") + w16(big ? 43 : 42);
    out += big ? w16(8) + w16(0) + number(16) + number(quint64(entries))
               : w32(8) + w16(quint16(entries));
    const QByteArray bitsInside = w16(quint16(bits)).repeated(3) + w16(0);
    for (const Entry& e : ifd) {
        // A BigTIFF's offsets, and its 8-byte values, fill the whole field.
        QByteArray value = e.type == 3 && e.count == 1            ? w16(quint16(e.value)) + w16(0)
                           : e.tag == 258 && big                  ? bitsInside
                           : big && (e.count > 1 || e.type == 16) ? number(e.value)
                                                                  : w32(e.value);
        out += w16(e.tag) + w16(e.type) + number(e.count) + value.leftJustified(int(word), '\0');
    }
    out += number(0);
    if (!big) out += w16(quint16(bits)).repeated(samples);
    // One strip's offset and byte count stand in the directory itself.
    QByteArray offsets, counts, data;
    for (int s = 0; s < strips; ++s) {
        const QByteArray& strip = s + 1 < strips ? full : last;
        offsets += number(dataAt + quint32(data.size()));
        counts += w32(quint32(strip.size()));
        data += strip;
    }
    return out + offsets + counts + data;
}

namespace {
// A classic little-endian TIFF: one directory right after the header, then `data`. Each entry
// is a tag, its type, count and value; a single short stands in its value field's first half.
QByteArray littleTiff(const QList<std::array<quint32, 4>>& ifd, const QByteArray& data) {
    QByteArray out = QByteArray("II*\0", 4) + le32(8) + le16(quint16(ifd.size()));
    for (const auto& e : ifd)
        out += le16(quint16(e[0])) + le16(quint16(e[1])) + le32(e[2]) +
               (e[1] == 3 && e[2] == 1 ? le16(quint16(e[3])) + le16(0) : le32(e[3]));
    return out + le32(0) + data;
}

// A colour picture in old-style JPEG compression, its whole JPEG stream named by the
// interchange format tags as well as by the strip.
QByteArray oldStyleJpegTiff(const QByteArray& jpeg, int w, int h) {
    const quint32 bitsAt = 8 + 2 + 11 * 12 + 4, dataAt = bitsAt + 6;
    return littleTiff({{256, 4, 1, quint32(w)},
                       {257, 4, 1, quint32(h)},
                       {258, 3, 3, bitsAt},
                       {259, 3, 1, 6},
                       {262, 3, 1, 6},
                       {273, 4, 1, dataAt},
                       {277, 3, 1, 3},
                       {278, 4, 1, quint32(h)},
                       {279, 4, 1, quint32(jpeg.size())},
                       {513, 4, 1, dataAt},
                       {514, 4, 1, quint32(jpeg.size())}},
                      le16(8).repeated(3) + jpeg);
}

// Colour, uncompressed, each sample in a plane of its own (one strip each), as some editors
// save.
QByteArray planarTiff(int w, int h, int bits) {
    const quint32 bitsAt = 8 + 2 + 10 * 12 + 4, offsetsAt = bitsAt + 6, countsAt = offsetsAt + 12;
    const quint32 plane = quint32(w * h * bits / 8);
    QByteArray tables = le16(quint16(bits)).repeated(3), counts, data;
    for (int s = 0; s < 3; ++s) {
        tables += le32(countsAt + 12 + quint32(s) * plane);
        counts += le32(plane);
        data += QByteArray(qsizetype(plane), char(200 - 70 * s));
    }
    return littleTiff({{256, 4, 1, quint32(w)},
                       {257, 4, 1, quint32(h)},
                       {258, 3, 3, bitsAt},
                       {259, 3, 1, 1},
                       {262, 3, 1, 2},
                       {273, 4, 3, offsetsAt},
                       {277, 3, 1, 3},
                       {278, 4, 1, quint32(h)},
                       {279, 4, 3, countsAt},
                       {284, 3, 1, 2}},
                      tables + counts + data);
}

// Grey, black, the whole picture in one tile (sides of a multiple of 16), as scanners and
// map software write large pictures.
QByteArray oneTileTiff(int w, int h) {
    const QByteArray tile = deflateRows(QByteArray(w, '\0'), h);
    return littleTiff({{256, 4, 1, quint32(w)},
                       {257, 4, 1, quint32(h)},
                       {258, 3, 1, 8},
                       {259, 3, 1, 8},
                       {262, 3, 1, 1},
                       {277, 3, 1, 1},
                       {284, 3, 1, 1},
                       {322, 4, 1, quint32(w)},
                       {323, 4, 1, quint32(h)},
                       {324, 4, 1, 8 + 2 + 11 * 12 + 4},
                       {325, 4, 1, quint32(tile.size())}},
                      tile);
}
} // namespace

QByteArray jpegTiff(const QByteArray& jpeg, int w, int h) {
    const quint32 dataAt = 8 + 2 + 10 * 12 + 4;
    // Tags in order, as libtiff writes them: the strips' byte counts are not the last.
    return littleTiff({{256, 4, 1, quint32(w)},
                       {257, 4, 1, quint32(h)},
                       {258, 3, 1, 8},
                       {259, 3, 1, 7},
                       {262, 3, 1, 1},
                       {273, 4, 1, dataAt},
                       {277, 3, 1, 1},
                       {278, 4, 1, quint32(h)},
                       {279, 4, 1, quint32(jpeg.size())},
                       {284, 3, 1, 1}},
                      jpeg);
}

QByteArray heifWithManyBoxes(int boxes, std::optional<std::array<quint32, 4>> crop,
                             const QByteArray& last) {
    const QByteArray full(4, '\0'); // version and flags of a full box
    QByteArray properties;
    for (int i = 0; i < boxes; ++i)
        properties += box("free", {});
    properties += box("ispe", full + be32(100) + be32(100));
    if (crop)
        properties += box("clap", be32((*crop)[0]) + be32((*crop)[1]) + be32((*crop)[2]) +
                                      be32((*crop)[3]) + QByteArray(16, '\0'));
    const int associated = crop ? 2 : 1;
    QByteArray association = QByteArray::fromHex("0001") + char(associated);
    for (int k = boxes + 1; k <= boxes + associated; ++k)
        association += QByteArray(1, char(0x80 | k >> 8)) + char(k & 0xFF);
    const QByteArray meta =
        full + box("hdlr", full + QByteArray(4, '\0') + "pict" + QByteArray(13, '\0')) +
        box("pitm", full + QByteArray::fromHex("0001")) +
        box("iinf", full + QByteArray::fromHex("0001") +
                        box("infe", QByteArray::fromHex("02000000000100006876633100"))) +
        box("iprp", box("ipco", properties) +
                        box("ipma", QByteArray::fromHex("00000001") + be32(1) + association)) +
        last;
    return box("ftyp", QByteArray("heic\0\0\0\0mif1heic", 16)) + box("meta", meta);
}

QByteArray icoWithPng(const QByteArray& png, qsizetype entryBytes) {
    return QByteArray("\0\0\1\0\1\0", 6) + QByteArray("\x20\x20\0\0\1\0\x20\0", 8) +
           le32(quint32(entryBytes < 0 ? png.size() : entryBytes)) + le32(22) + png;
}

// The bytes of a colour as TGA stores it: blue, green, red, and alpha when asked.
QByteArray bgr(QRgb c, bool alpha = false) {
    QByteArray out;
    out += char(qBlue(c));
    out += char(qGreen(c));
    out += char(qRed(c));
    if (alpha) out += char(qAlpha(c));
    return out;
}

QByteArray tga(const QImage& source, TgaStyle style) {
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int w = image.width(), h = image.height();
    const bool topDown = style == Tga16TopRight || style == TgaAlphaFooter;
    const bool rightToLeft = style == Tga16TopRight;
    const bool rle = style == TgaRle || style == TgaAlphaFooter;
    const int depth = style == TgaGrey || style == TgaMapped            ? 8
                      : style == Tga16TopRight || style == TgaGreyAlpha ? 16
                      : style == TgaAlphaFooter                         ? 32
                                                                        : 24;
    const int type = (style == TgaMapped                          ? 1
                      : style == TgaGrey || style == TgaGreyAlpha ? 3
                                                                  : 2) +
                     (rle ? 8 : 0);
    // A mapped picture's map starts at index 2, as some writers' maps do: its pixels count
    // from there.
    const int first = style == TgaMapped ? 2 : 0;
    QList<QRgb> colours;
    if (style == TgaMapped)
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w && colours.size() < 256 - first; ++x)
                if (!colours.contains(image.pixel(x, y))) colours << image.pixel(x, y);
    QByteArray out;
    out += char(0);                          // no identification field
    out += char(style == TgaMapped ? 1 : 0); // colour map
    out += char(type);
    out += le16(quint16(first)) + le16(quint16(colours.size())) + char(style == TgaMapped ? 24 : 0);
    out += le16(0) + le16(0) + le16(quint16(w)) + le16(quint16(h)) + char(depth);
    out += char((style == TgaAlphaFooter || style == TgaGreyAlpha ? 8
                 : style == Tga16TopRight                         ? 1
                                                                  : 0) |
                (rightToLeft ? 0x10 : 0) | (topDown ? 0x20 : 0));
    for (QRgb c : colours)
        out += bgr(c);
    const auto pixel = [&](QRgb c) -> QByteArray {
        switch (depth) {
        case 8:
            return QByteArray(1, char(style == TgaMapped ? first + colours.indexOf(c) : qGray(c)));
        case 16:
            if (style == TgaGreyAlpha) return QByteArray(1, char(qGray(c))) + char(qAlpha(c));
            return le16(quint16((qAlpha(c) > 127 ? 0x8000 : 0) | (qRed(c) >> 3) << 10 |
                                (qGreen(c) >> 3) << 5 | qBlue(c) >> 3));
        case 24:
            return bgr(c);
        default:
            return bgr(c, true);
        }
    };
    for (int row = 0; row < h; ++row) {
        const int y = topDown ? row : h - 1 - row;
        for (int column = 0; column < w;) {
            const QRgb c = image.pixel(rightToLeft ? w - 1 - column : column, y);
            if (!rle) {
                out += pixel(c);
                ++column;
                continue;
            }
            // One style starts each row with a packet of pixels stored as they are, as encoders
            // write stretches of changing colours.
            if (style == TgaAlphaFooter && column == 0) {
                constexpr int kRaw = 5;
                out += char(kRaw - 1);
                for (; column < kRaw; ++column)
                    out += pixel(image.pixel(rightToLeft ? w - 1 - column : column, y));
                continue;
            }
            // Runs of one colour as one packet, as encoders do, within a row.
            int run = 1;
            while (column + run < w && run < 128 &&
                   image.pixel(rightToLeft ? w - 1 - column - run : column + run, y) == c)
                ++run;
            out += char(0x80 | (run - 1)) + pixel(c);
            column += run;
        }
    }
    if (style == TgaAlphaFooter) out += le32(0) + le32(0) + QByteArray("TRUEVISION-XFILE.\0", 18);
    return out;
}

QByteArray gifWithComment(int subBlocks) {
    // A 1 x 1 screen without a colour table, the comment, then a frame of one pixel.
    return QByteArray("GIF89a\1\0\1\0\0\0\0!\xFE", 15) + QByteArray("\1x").repeated(subBlocks) +
           QByteArray("\0,\0\0\0\0\1\0\1\0\0\2\2\x44\1\0;", 17);
}

QByteArray plainGif(int width, int height) {
    // Four colours, codes of three bits: a clear code before every two pixels keeps the code
    // table from growing, so that no compressor is needed.
    QByteArray out = "GIF89a" + le16(quint16(width)) + le16(quint16(height)) +
                     QByteArray("\xF1\0\0", 3) + QByteArray::fromHex("208040d04020ffffff000000") +
                     ',' + le32(0) + le16(quint16(width)) + le16(quint16(height)) + '\0' + '\2';
    QByteArray data;
    quint32 bits = 0;
    int held = 0;
    const auto put = [&](quint32 code) {
        bits |= code << held;
        for (held += 3; held >= 8; held -= 8, bits >>= 8)
            data += char(bits & 0xFF);
    };
    for (qint64 pixel = 0, all = qint64(width) * height; pixel < all; pixel += 2) {
        put(4);
        put(quint32(pixel / width % 2)); // stripes a row high
        put(quint32((pixel + 1) / width % 2));
    }
    put(5);
    if (held > 0) data += char(bits & 0xFF);
    for (qsizetype at = 0; at < data.size(); at += 255)
        out += char(std::min<qsizetype>(255, data.size() - at)) + data.mid(at, 255);
    return out + QByteArray("\0;", 2);
}

QByteArray gzipped(const QByteArray& head, qint64 fill, const QByteArray& tail) {
    const qint64 row = 1 << 20;
    return deflateRows(QByteArray(row, ' '), fill / row, true, head + QByteArray(fill % row, ' '),
                       tail);
}

QByteArray encodeHeif(const QImage& source, HeifKind kind, int orientation, int thumbnail,
                      int quality) {
    const bool alpha = source.hasAlphaChannel();
    const QImage image =
        source.convertToFormat(alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    heif_context* context = heif_context_alloc();
    heif_encoder* encoder = nullptr;
    heif_image* picture = nullptr;
    heif_image_handle* handle = nullptr;
    QByteArray out;
    const heif_compression_format format =
        kind == Heic ? heif_compression_HEVC : heif_compression_AV1;
    if (heif_context_get_encoder_for_format(context, format, &encoder).code == heif_error_Ok &&
        heif_image_create(image.width(), image.height(), heif_colorspace_RGB,
                          alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB,
                          &picture)
                .code == heif_error_Ok) {
        heif_encoder_set_lossy_quality(encoder, quality);
        // The fastest settings: the pictures are for reading, not for keeping.
        heif_encoder_set_parameter(encoder, kind == Heic ? "preset" : "speed",
                                   kind == Heic ? "ultrafast" : "9");
        heif_image_add_plane(picture, heif_channel_interleaved, image.width(), image.height(), 8);
        int stride = 0;
        uint8_t* plane = heif_image_get_plane(picture, heif_channel_interleaved, &stride);
        for (int y = 0; y < image.height(); ++y)
            memcpy(plane + y * stride, image.constScanLine(y),
                   size_t(image.width()) * (alpha ? 4 : 3));
        // AVIF encoders describe Display P3 by its primaries (nclx), not by an ICC profile.
        const QByteArray icc = source.colorSpace().iccProfile();
        if (kind == Avif && source.colorSpace() == QColorSpace(QColorSpace::DisplayP3)) {
            heif_color_profile_nclx* nclx = heif_nclx_color_profile_alloc();
            heif_nclx_color_profile_set_color_primaries(nclx, heif_color_primaries_SMPTE_EG_432_1);
            heif_nclx_color_profile_set_transfer_characteristics(
                nclx, heif_transfer_characteristic_IEC_61966_2_1);
            heif_image_set_nclx_color_profile(picture, nclx);
            heif_nclx_color_profile_free(nclx);
        } else if (!icc.isEmpty()) {
            heif_image_set_raw_color_profile(picture, "prof", icc.constData(), size_t(icc.size()));
        }
        heif_encoding_options* options = heif_encoding_options_alloc();
        options->image_orientation = heif_orientation(orientation);
        heif_writer writer{1, appendTo};
        if (heif_context_encode_image(context, picture, encoder, options, &handle).code ==
                heif_error_Ok &&
            (thumbnail == 0 || heif_context_encode_thumbnail(context, picture, handle, encoder,
                                                             options, thumbnail, nullptr)
                                       .code == heif_error_Ok))
            heif_context_write(context, &writer, &out);
        heif_encoding_options_free(options);
    }
    if (handle) heif_image_handle_release(handle);
    if (picture) heif_image_release(picture);
    if (encoder) heif_encoder_release(encoder);
    heif_context_free(context);
    return out;
}

QByteArray heifGrid(QSize grid) {
    QImage image(64, 63, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray out = encodeHeif(image, Heic, 1);
    // The grid's description: version, flags (16-bit sizes), one row and one column, the size.
    const QByteArray made = QByteArray(4, '\0') + QByteArray::fromHex("0040003F");
    const qsizetype at = out.indexOf(made, out.indexOf("idat"));
    if (at < 0) return {};
    qToBigEndian(quint16(grid.width()), out.data() + at + 4);
    qToBigEndian(quint16(grid.height()), out.data() + at + 6);
    return out;
}

QImage photoLike(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = qRgb(x * 255 / size.width(), y * 255 / size.height(), (x ^ y) & 0xFF);
    }
    return image;
}

QByteArray encode(const QImage& image, const char* format, int quality,
                  QImageIOHandler::Transformations turned, bool progressive) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    writer.setTransformation(turned);
    writer.setProgressiveScanWrite(progressive);
    return writer.write(image) ? bytes : QByteArray();
}

QByteArray progressiveJpeg(const QImage& image) {
    return encode(image, "jpeg", 85, {}, true);
}

namespace {

// The coded picture of a file holding one HEVC (AV1) picture and nothing else, as
// encodeHeif() writes it: its decoder configuration (the hvcC or av1C box) and its data.
struct Coded {
    QByteArray config, data;
};
Coded codedOf(const QByteArray& file) {
    qsizetype at = 0;
    // A big-endian number of `n` bytes at `at`, read on; 0 past the end.
    const auto take = [&](int n) {
        quint64 v = 0;
        for (int k = 0; k < n; ++k, ++at)
            v = v << 8 | (at < file.size() ? quint8(file.at(at)) : 0);
        return v;
    };
    Coded c;
    qsizetype config = file.indexOf("hvcC");
    if (config < 0) config = file.indexOf("av1C");
    if (config < 4) return {};
    at = config - 4;
    c.config = file.mid(config - 4, qsizetype(take(4)));
    // The one item's one extent, wherever the location box's fields put it.
    at = file.indexOf("iloc");
    if (at < 0) return {};
    at += 4;
    const int version = int(take(1));
    take(3);
    const int sizes = int(take(1)), more = int(take(1));
    const int offsetSize = sizes >> 4, lengthSize = sizes & 15, baseSize = more >> 4;
    const int indexSize = version >= 1 ? more & 15 : 0;
    take(version < 2 ? 2 : 4); // items
    take(version < 2 ? 2 : 4); // the item's number
    if (version >= 1) take(2); // construction method
    take(2);                   // data reference
    const quint64 base = take(baseSize);
    if (take(2) != 1) return {};
    take(indexSize);
    const quint64 offset = base + take(offsetSize), length = take(lengthSize);
    c.data = file.mid(qsizetype(offset), qsizetype(length));
    return c;
}

} // namespace

QByteArray encodeGridHeic(const QImage& image, int tile, int thumbnail, int quality, int tileHeight,
                          int layout) {
    const QSize piece(tile, tileHeight > 0 ? tileHeight : tile);
    const int columns = (image.width() + piece.width() - 1) / piece.width() +
                        (layout & ColumnBeyond ? 1 : 0),
              rows = (image.height() + piece.height() - 1) / piece.height() +
                     (layout & RowBeyond ? 1 : 0);
    if (image.isNull() || piece.width() < 64 || piece.height() < 16 || columns > 256 ||
        rows > 256 || image.width() > 0xFFFF || image.height() > 0xFFFF)
        return {};
    const HeifKind coding = layout & Av1Tiles ? Avif : Heic;
    const char* codec = coding == Avif ? "av01" : "hvc1";
    QList<Coded> tiles;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            QImage part(piece, QImage::Format_RGB32);
            part.fill(Qt::black);
            QPainter(&part).drawImage(QPoint(-c * piece.width(), -r * piece.height()), image);
            tiles << codedOf(encodeHeif(part, coding, 1, 0, quality));
            if (tiles.last().data.isEmpty()) return {};
        }
    Coded small;
    QSize smallSize;
    if (thumbnail > 0) {
        // Of even height: HEVC codes none odd without a crop box, which this file leaves out.
        const int height = (qint64(image.height()) * thumbnail / image.width() + 1) / 2 * 2;
        const QImage t = image.scaled(thumbnail, std::max(height, 2), Qt::IgnoreAspectRatio,
                                      Qt::SmoothTransformation);
        smallSize = t.size();
        small = codedOf(encodeHeif(t, coding, 1, 0, quality));
        if (small.data.isEmpty()) return {};
    }
    // Items: 1 the grid (the primary picture), 2.. the tiles, then the thumbnail.
    const int tileCount = int(tiles.size());
    const quint16 thumbId = quint16(tileCount + 2);
    const int items = tileCount + 1 + (thumbnail > 0 ? 1 : 0);

    // Properties, numbered from 1: each distinct tile configuration, the tiles' size, the
    // grid's size, then the thumbnail's configuration and size.
    QList<QByteArray> configs;
    QList<int> configOf;
    for (const Coded& t : tiles) {
        if (!configs.contains(t.config)) configs << t.config;
        configOf << int(configs.indexOf(t.config)) + 1;
    }
    const auto ispe = [](QSize s) {
        return fullBox("ispe", 0, 0, be32(quint32(s.width())) + be32(quint32(s.height())));
    };
    QByteArray properties = configs.join();
    const int tileSize = int(configs.size()) + 1, gridSize = tileSize + 1;
    const bool overlay = layout & Overlay, identity = layout & Identity;
    if (identity && tiles.size() != 1) return {};
    properties += ispe(piece) + ispe(identity ? piece : image.size());
    if (thumbnail > 0) properties += small.config + ispe(smallSize);
    if (gridSize + 2 > 127) return {};

    const bool wide = layout & WideBoxes, split = layout & SplitGrid;
    if (wide && split) return {};
    const quint8 later = wide ? 1 : 0;
    // Item numbers, counts, and the derived picture's size and places: 32 bits wide, else 16.
    const auto number = [wide](int n) { return wide ? be32(quint32(n)) : be16(quint16(n)); };
    const auto property = [wide](int n, bool essential) {
        return wide ? be16(quint16((essential ? 0x8000 : 0) | n))
                    : QByteArray(1, char((essential ? 0x80 : 0) | n));
    };
    QByteArray infos, associations;
    const quint8 infe = wide ? 3 : 2;
    const char* made = identity ? "iden" : overlay ? "iovl" : "grid";
    infos += fullBox("infe", infe, 0, number(1) + be16(0) + made + '\0');
    associations += number(1) + char(1) + property(gridSize, false);
    QByteArray tileIds;
    for (int i = 0; i < tileCount; ++i) {
        tileIds += number(i + 2);
        infos += fullBox("infe", infe, 1 /* hidden */, number(i + 2) + be16(0) + codec + '\0');
        associations +=
            number(i + 2) + char(2) + property(configOf[i], true) + property(tileSize, false);
    }
    if (thumbnail > 0) {
        infos += fullBox("infe", infe, 0, number(thumbId) + be16(0) + codec + '\0');
        associations += number(thumbId) + char(2) + property(gridSize + 1, true) +
                        property(gridSize + 2, false);
    }
    QByteArray references = box("dimg", number(1) + be16(quint16(tileCount)) + tileIds);
    if (thumbnail > 0) references += box("thmb", number(thumbId) + be16(1) + number(1));
    // The derived picture's description: the grid's rows and columns, or the overlay's fill
    // colour (opaque black), then its size, then the overlay's place of each tile.
    QByteArray grid = QByteArray(1, '\0') + char(wide ? 1 : 0);
    grid += overlay ? be16(0) + be16(0) + be16(0) + be16(0xFFFF)
                    : QByteArray(1, char(rows - 1)) + char(columns - 1);
    grid += number(image.width()) + number(image.height());
    for (int i = 0; overlay && i < tileCount; ++i)
        grid += number(i % columns * piece.width()) + number(i / columns * piece.height());

    const QByteArray ftyp =
        box("ftyp", layout & LateBrand ? QByteArray("isom\0\0\0\0isomiso8iso9mif1heic", 28)
                                       : QByteArray("heic\0\0\0\0mif1heic", 16));
    // The locations depend on where the data starts, which depends on the locations' size
    // only: made twice, the second time with the data's true place. Wide, each extent's
    // offset counts from the data's start, its base offset, and has an index before it; the
    // grid's own location comes last.
    const auto meta = [&](quint32 dataAt) {
        QByteArray locations = number(items);
        const auto location = [&](int item, int method, quint32 base, quint32 offset,
                                  qsizetype length) {
            locations += number(item) + be16(quint16(method)) + be16(0);
            if (wide)
                locations += be32(base) + be16(1) + be32(0) + be32(0) + be32(offset);
            else
                locations += be16(1) + be32(base + offset);
            locations += be32(quint32(length));
        };
        if (!wide && !split) location(1, 1, 0, 0, grid.size());
        quint32 at = 0;
        if (split) { // the description's end first in the data, then its first four bytes
            const quint32 n = quint32(grid.size());
            locations += number(1) + be16(0) + be16(0) + be16(2) + be32(dataAt + n - 4) + be32(4) +
                         be32(dataAt) + be32(n - 4);
            at = n;
        }
        const auto extent = [&](int item, const QByteArray& data) {
            location(item, 0, dataAt, at, data.size());
            at += quint32(data.size());
        };
        for (int i = 0; i < tileCount; ++i)
            extent(i + 2, tiles[i].data);
        if (thumbnail > 0) extent(thumbId, small.data);
        if (wide) location(1, 1, 2, 2, grid.size()); // last, after 4 bytes of its box
        return fullBox("meta", 0, 0,
                       fullBox("hdlr", 0, 0, QByteArray(4, '\0') + "pict" + QByteArray(13, '\0')) +
                           fullBox("pitm", later, 0, number(1)) +
                           fullBox("iinf", later, 0, number(items) + infos) +
                           fullBox("iref", later, 0, references) +
                           box("iprp", box("ipco", properties) +
                                           fullBox("ipma", later, later,
                                                   be32(quint32(items)) + associations)) +
                           fullBox("iloc", wide ? 2 : 1, 0,
                                   QByteArray(wide ? "\x84\x44" : "\x44\x00", 2) + locations) +
                           box("idat", wide ? QByteArray(4, '\0') + grid : grid));
    };
    const qsizetype metaSize = meta(0).size();
    QByteArray data = split ? grid.mid(4) + grid.left(4) : QByteArray();
    for (const Coded& t : tiles)
        data += t.data;
    data += small.data;
    if (layout & DataFirst)
        return ftyp + be32(1) + "mdat" + be32(0) + be32(quint32(16 + data.size())) + data +
               meta(quint32(ftyp.size() + 16));
    return ftyp + meta(quint32(ftyp.size() + metaSize + 8)) + box("mdat", data);
}

QByteArray libpngWritten(int w, int h, int depth, int type, bool interlaced, bool transparency) {
    QByteArray out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_check_for_invalid_index(png, 0); // a palette shorter than its indices need
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep data, size_t n) {
            static_cast<QByteArray*>(png_get_io_ptr(p))
                ->append(reinterpret_cast<char*>(data), qsizetype(n));
        },
        nullptr);
    png_set_IHDR(png, info, png_uint_32(w), png_uint_32(h), depth, type,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE,
                 PNG_FILTER_TYPE_BASE);
    const int levels = 1 << std::min(depth, 8);
    png_color palette[256];
    png_byte alphas[256];
    for (int i = 0; i < 256; ++i) {
        palette[i] = {png_byte(i * 37), png_byte(255 - i), png_byte(i * 11)};
        alphas[i] = png_byte(i * 255 / std::max(levels - 1, 1));
    }
    if (type == PNG_COLOR_TYPE_PALETTE) png_set_PLTE(png, info, palette, levels * 3 / 4 + 1);
    png_color_16 key{};
    // Never 0: a key of 1 tells which of 1-bit grey's two colours is the transparent one.
    key.gray = key.red = key.green = key.blue = png_uint_16(std::max(levels / 3, 1));
    if (transparency)
        png_set_tRNS(png, info, type == PNG_COLOR_TYPE_PALETTE ? alphas : nullptr,
                     type == PNG_COLOR_TYPE_PALETTE ? levels / 2 : 0, &key);
    png_write_info(png, info);
    // A byte a sample, packed by the library below 8 bits; two bytes, most significant first,
    // at 16.
    png_set_packing(png);
    const size_t rowBytes = size_t(w) * png_get_channels(png, info) * (depth == 16 ? 2 : 1);
    std::vector<png_byte> pixels(rowBytes * size_t(h));
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = png_byte(i * 7 % size_t(levels));
    std::vector<png_bytep> rows;
    for (int y = 0; y < h; ++y)
        rows.push_back(pixels.data() + rowBytes * size_t(y));
    png_write_image(png, rows.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

QByteArray asPhonesWrite(QByteArray f) {
    const qsizetype ipco = f.indexOf("ipco"), ipma = f.indexOf("ipma");
    if (ipco < 0 || ipma < 0) return {};
    int index = 0, irot = 0, ispe = 0;
    qsizetype extent = -1;
    bool quarterTurn = false;
    for (qsizetype at = ipco + 4; at + 8 < ipma;
         at += qFromBigEndian<quint32>(f.constData() + at)) {
        const QByteArray type = f.mid(at + 4, 4);
        ++index;
        if (type == "irot" && !irot) {
            irot = index;
            quarterTurn = f[at + 8] & 1;
        }
        if (type == "ispe" && !ispe) {
            ispe = index;
            extent = at + 12;
        }
    }
    // Stored sideways when turned a quarter; a half turn keeps the extent.
    if (extent >= 0 && quarterTurn) {
        const QByteArray w = f.mid(extent, 4);
        f.replace(extent, 4, f.mid(extent + 4, 4));
        f.replace(extent + 4, 4, w);
    }
    // The first item's associations follow the box's version, flags and count, the item's
    // number and the associations' count.
    const qsizetype list = ipma + 15, count = quint8(f[list - 1]);
    qsizetype at = -1, it = -1;
    for (qsizetype i = list; i < list + count; ++i) {
        at = (f[i] & 0x7F) == irot ? i : at;
        it = (f[i] & 0x7F) == ispe ? i : it;
    }
    if (at < 0 || it < at) return {};
    std::swap(f[at], f[it]);
    return f;
}

QList<File> ordinary() {
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::gray);
    QList<File> files;
    for (const char* format : {"png", "jpeg", "tiff", "ico"})
        files.append({QLatin1String(format), encode(image, format)});
    files.append({"svgz", gzipped("<svg width='8' height='8'/>")});
    files.append({"png.ico", icoWithPng(pngWithTextChunks(1, 1))});
    files.append({"heic", encodeHeif(image, Heic, 1)});
    return files;
}

QList<File> all() {
    const QByteArray cutPng = encode(photoLike({32, 24}), "png");
    // A JPEG is read to its end for its scans unless it is larger than any coding of its
    // picture makes one: four bytes a sample and 16 MB.
    const QByteArray jpeg = encode(photoLike({64, 48}), "jpeg");
    const qint64 jpegTail = 64 * 48 * 3 * 4 + (16 << 20) - jpeg.size();
    // The metadata is looked for among the first 1024 boxes of a file.
    const QByteArray dataFirst = encodeGridHeic(photoLike({100, 40}), 64, 0, 50, 0, DataFirst);
    // Item locations in their latest version, claiming four billion items where the box holds
    // a few: counted no further than the box goes.
    QByteArray manyItems = encodeGridHeic(photoLike({100, 40}), 64, 0, 50, 0, WideBoxes);
    manyItems.replace(manyItems.indexOf("iloc") + 10, 4, be32(0xFFFFFFFF));
    // A JPEG strip whose byte count is missing: nothing says where its scans end.
    const QByteArray greyJpeg =
        encode(photoLike({64, 48}).convertToFormat(QImage::Format_Grayscale8), "jpeg");
    QByteArray countless = jpegTiff(greyJpeg, 64, 48);
    countless.replace(countless.indexOf(le16(279) + le16(4)), 2, le16(280));
    // Its strip said to go on for 513 MB: the picture, then nothing.
    QByteArray longStrip = jpegTiff(greyJpeg, 64, 48);
    const qint64 longStripTail = (qint64(513) << 20) - greyJpeg.size();
    longStrip.replace(longStrip.indexOf(le16(279) + le16(4)) + 8, 4, le32(513 << 20));
    const auto metaAfter = [&dataFirst](int boxes) {
        return QByteArray(dataFirst).insert(dataFirst.lastIndexOf("meta") - 4,
                                            box("free", QByteArray(4, 0)).repeated(boxes));
    };
    // Free space as the metadata's last box (the file's last box): a box with nothing in it.
    QByteArray emptyBox = dataFirst + box("free", {});
    const qsizetype metaAt = emptyBox.lastIndexOf("meta") - 4;
    emptyBox.replace(metaAt, 4, be32(quint32(emptyBox.size() - metaAt)));
    QByteArray privateTag = blackTiff(64, 48, 8, 16, 1);
    privateTag.replace(privateTag.indexOf(le16(40000) + le16(3)) + 2, 10,
                       le16(4) + le32(2) + le32(0x7FFFFFF0));
    QByteArray privateTagCount = privateTag;
    privateTagCount.replace(privateTag.indexOf(le16(40000) + le16(4)) + 4, 8,
                            le32(0x40000000) + le32(0));
    return {
        {"text-chunks.png", pngWithTextChunks(10), true},
        // The header, text chunks and image data: as many chunks as are walked through to a
        // PNG's image data, and one more.
        {"4094-text-chunks.png", pngWithTextChunks(4094, 0), true},
        {"4095-text-chunks.png", pngWithTextChunks(4095, 0)},
        // A chunk a decoder must understand to show the picture, in no version of PNG: no
        // picture, as libpng alone would have it.
        {"unknown-critical-chunk.png", pngHeader(1, 1, 8, 2) + pngChunk("VNOV", "x") +
                                           pngChunk("IDAT", deflateRows(QByteArray(4, '\0'), 1)) +
                                           pngChunk("IEND", {})},
        // A transparent grey beyond what two bits hold: libpng warns and passes it on.
        {"transparent-grey-out-of-range.png",
         pngHeader(4, 2, 2, 0) + pngChunk("tRNS", be16(200)) +
             pngChunk("IDAT", deflateRows(QByteArray("\0\x1b", 2), 2)) + pngChunk("IEND", {}),
         true},
        // The largest colour profile read, and one byte more.
        {"4-mb-profile.png", pngWithProfile(4 << 20), true},
        {"larger-profile.png", pngWithProfile((4 << 20) + 1)},
        // As long a comment as the probe reads through before a GIF's frame, and one block more.
        {"long-comment.gif", gifWithComment(65534), true},
        {"longer-comment.gif", gifWithComment(65535)},
        {"3000x2000.gif", plainGif(3000, 2000), true},
        {"3000x2000.bmp", encode(photoLike({3000, 2000}), "bmp"), true},
        {"grey16.png", blackPng(16384, 8192, 0, 16), true},
        {"grey8.png", blackPng(16384, 8192, 0, 8), true},
        {"mono.png", blackPng(16384, 8192, 0, 1), true},
        {"palette.png", blackPng(16384, 8192, 3, 8), true},
        // 16-bit colour takes 8 bytes a pixel decoded: 512 MB here.
        {"rgb16-of-64-mp.png", blackPng(8192, 8192, 2, 16)},
        {"empty-scans.jpg", emptyScansJpeg(16384, 16384, 300)},
        // Progressive with arithmetic coding: every coefficient is held as in any progressive.
        {"arithmetic-progressive.jpg", solidJpeg(4000, 3000, "abc", {}, true), true},
        // As long a directory as libtiff reads, and one entry more.
        {"4096-tags.tif", blackTiff(64, 64, 8, 16, 4086), true},
        {"4097-tags.tif", blackTiff(64, 64, 8, 16, 4087)},
        {"bigtiff.tif", blackTiff(2000, 1500, 8, 64, 0, true), true},
        {"one-strip-bigtiff.tif", blackTiff(64, 64, 8, 64, 0, true), true},
        {"big-endian-bigtiff.tif", blackTiff(300, 200, 8, 16, 0, true, true), true},
        {"big-endian.tif", blackTiff(300, 200, 16, 16, 0, false, true), true},
        // Shrunk, 16-bit samples make a 32-bit picture, not one of their own depth.
        {"16-bit-2000x1500.tif", blackTiff(2000, 1500, 16), true},
        // As many samples a pixel as a TIFF may have here (a camera's many bands), and one more.
        {"16-samples.tif", blackTiff(64, 48, 8, 64, 0, false, false, 16), true},
        {"17-samples.tif", blackTiff(64, 48, 8, 64, 0, false, false, 17)},
        // A private tag whose two values lie past the end of the file: the decoder passes over it.
        {"private-tag-past-the-end.tif", privateTag, true},
        // One that counts more values than the file could hold: passed over as well.
        {"private-tag-of-more-values-than-bytes.tif", privateTagCount, true},
        // Grey stays one byte a pixel at 8 bits, two at 16.
        {"grey8.tif",
         encode(photoLike({6000, 4000}).convertToFormat(QImage::Format_Grayscale8), "tiff"), true},
        {"grey16.tif",
         encode(photoLike({4000, 3000}).convertToFormat(QImage::Format_Grayscale16), "tiff"), true},
        // As many segments before the first scan as the probe walks through (eight of them the
        // writer's), and one more.
        {"4095-segments.jpg", QByteArray(jpeg).insert(2, jpegSegment(0xFE, {}).repeated(4087)),
         true},
        {"4096-segments.jpg", QByteArray(jpeg).insert(2, jpegSegment(0xFE, {}).repeated(4088))},
        // Stray bytes before markers, passed over as the decoder does: as many in all as a segment
        // holds, and one more.
        {"stray-bytes-before-the-frame.jpg",
         QByteArray(jpeg).insert(jpeg.indexOf("\xFF\xC0"), QByteArray(3, '\0')), true},
        {"64-kb-of-stray-bytes.jpg", QByteArray(jpeg).insert(2, QByteArray(65536, '\0')), true},
        {"more-stray-bytes.jpg", QByteArray(jpeg).insert(2, QByteArray(65537, '\0'))},
        // A comment that goes on past the first 64 KB read of the file, with bytes that would
        // end the picture if they were read as markers.
        {"comment-across-64-kb.jpg",
         encode(photoLike({64, 48}), "jpeg")
             .insert(2, jpegSegment(0xFE, QByteArray(65000, 'x')) +
                            jpegSegment(0xFE, QByteArray("\xFF\xD9").repeated(1000))),
         true},
        {"text-chunks.ico", icoWithPng(pngWithTextChunks(10)), true},
        // An icon whose entry ends in its picture's data: the rest of the file is not its own.
        {"png-past-its-entry.ico", icoWithPng(cutPng, cutPng.size() - 64)},
        // Its last pixel cut short by a byte.
        {"cut-in-its-last-pixel.tga", tga(photoLike({8, 8}), TgaPlain).chopped(1)},
        // Compressed, rows of five pixels as they are, the footer gone and the last one cut.
        {"cut-in-a-raw-packet.tga", tga(photoLike({5, 2}), TgaAlphaFooter).chopped(26 + 1)},
        // Compressed, its last run said to be of 128 pixels where one is left: as many as are.
        {"run-past-its-last-pixel.tga", tga(photoLike({1, 2}), TgaRle).replace(18 + 4, 1, "\xFF"),
         true},
        // A last pixel past the end of the colour map, as in a damaged file.
        {"index-past-map.tga", tga(photoLike({8, 8}), TgaMapped).chopped(1) + char(255), true},
        // Indices of 24 bits, with data enough for them: no TGA writes a map that way.
        {"mapped-with-24-bit-indices.tga",
         tga(photoLike({8, 8}), TgaMapped).replace(16, 1, "\x18") + QByteArray(128, '\0')},
        // TGA headers whose values do not make sense together, each refused.
        {"grey-of-24-bits.tga",
         tga(photoLike({8, 8}), TgaGrey).replace(16, 1, "\x18") + QByteArray(256, '\0')},
        {"grey-with-a-map.tga", tga(photoLike({8, 8}), TgaMapped).replace(2, 1, "\x03")},
        {"map-of-type-2.tga", tga(photoLike({8, 8}), TgaPlain).replace(1, 1, "\x02")},
        {"map-of-no-entries.tga", tga(photoLike({8, 8}), TgaMapped).replace(5, 2, "\0\0", 2)},
        {"map-of-8-bit-colours.tga", tga(photoLike({8, 8}), TgaMapped).replace(7, 1, "\x08")},
        {"map-start-without-a-map.tga", tga(photoLike({8, 8}), TgaPlain).replace(3, 1, "\x01")},
        {"interleaved.tga", tga(photoLike({8, 8}), TgaPlain).replace(17, 1, "\x40")},
        {"alpha-of-9-bits.tga", tga(photoLike({8, 8}), TgaAlphaFooter).replace(17, 1, "\x29")},
        {"mapped-without-a-map.tga", tga(photoLike({8, 8}), TgaMapped)
                                         .replace(1, 1, QByteArray(1, '\0'))
                                         .replace(3, 5, QByteArray(5, '\0'))},
        {"bilevel.tif", encode(photoLike({640, 480}).convertToFormat(QImage::Format_Mono), "tiff"),
         true},
        // As large a drawing as is drawn, and one column more.
        {"16384x16384.svg",
         "<svg xmlns='http://www.w3.org/2000/svg' width='16384' height='16384'/>", true},
        {"16385x16384.svg",
         "<svg xmlns='http://www.w3.org/2000/svg' width='16385' height='16384'/>"},
        // A byte order mark first, as Windows editors save; UTF-16, which the mark announces.
        {"with-a-byte-order-mark.svg",
         "\xEF\xBB\xBF<svg xmlns='http://www.w3.org/2000/svg' width='8' height='8'/>", true},
        {"in-utf-16.svg",
         QStringEncoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom)(
             QStringLiteral("<svg xmlns='http://www.w3.org/2000/svg' width='8' height='8'/>")),
         true},
        // No size and no view box: the toolkit measures the drawing, here past any picture's.
        {"drawing-past-the-limit.svg",
         "<svg xmlns='http://www.w3.org/2000/svg'><rect width='200000' height='200000'/></svg>"},
        {"inflates-to-1gb.svgz",
         gzipped("<svg xmlns='http://www.w3.org/2000/svg' width='10' height='10'><!--",
                 qint64(1) << 30, "--></svg>")},
        {"many-boxes.heic", heifWithManyBoxes(15000)},
        {"crop-without-height.heic", heifWithManyBoxes(0, std::array<quint32, 4>{50, 1, 50, 0})},
        {"grid-larger-than-declared.heic", heifGrid(QSize(16384, 16384))},
        {"metadata-the-1024th-box.heic", metaAfter(1021), true},
        {"metadata-the-1025th-box.heic", metaAfter(1022)},
        {"locations-of-4-billion-items.heic", manyItems},
        // Free space with nothing in it, among the metadata's boxes and before the metadata.
        {"empty-box-in-metadata.heic", emptyBox, true},
        {"empty-box-before-metadata.heic",
         QByteArray(dataFirst).insert(dataFirst.lastIndexOf("meta") - 4, box("free", {})), true},
        // Tiles beyond those that cover the picture would be decoded for nothing: here the
        // picture ends where the last column (row) of tiles begins.
        {"grid-with-a-column-beyond.heic",
         encodeGridHeic(photoLike({128, 64}), 64, 0, 50, 0, ColumnBeyond)},
        {"grid-with-a-row-beyond.heic",
         encodeGridHeic(photoLike({128, 64}), 64, 0, 50, 0, RowBeyond)},
        {"grid-of-2-by-1-tiles.heic", encodeGridHeic(photoLike({128, 64}), 64, 0), true},
        // As wide as a HEIF picture may be: a panorama of 32 tiles.
        {"grid-65535-wide.heic", encodeGridHeic(photoLike({65535, 64}), 2048, 0, 50, 64), true},
        {"heif-brand-named-fourth.heic",
         encodeGridHeic(photoLike({128, 64}), 64, 0, 50, 0, LateBrand), true},
        {"grid-of-av1-tiles.avif", encodeGridHeic(photoLike({128, 64}), 64, 0, 50, 0, Av1Tiles),
         true},
        {"grid-described-in-two-pieces.heic",
         encodeGridHeic(photoLike({100, 40}), 64, 0, 50, 0, SplitGrid), true},
        {"turned-as-phones-write.heic", asPhonesWrite(encodeHeif(photoLike({256, 128}), Heic, 6)),
         true},
        // A 16-bit picture in seven passes, its rows combined into the picture as they come.
        {"interlaced-16-bit-rgba.png",
         libpngWritten(1200, 800, 16, PNG_COLOR_TYPE_RGB_ALPHA, true, false), true},
        {"short-palette-with-trns.png",
         libpngWritten(37, 21, 4, PNG_COLOR_TYPE_PALETTE, true, true), true},
        {"refinement-scans.jpg", refinementScansJpeg(12648, 12648, 99)},
        {"data-after-rows.png", pngWithDataAfterRows(1, 1, qint64(10) << 30), true},
        // Old-style JPEG compression: nothing counts the scans of its picture to plan for.
        {"old-style-jpeg.tif", oldStyleJpegTiff(jpeg, 64, 48)},
        // The toolkit's reader reads 16-bit colour in planes as if its samples were side by
        // side: a picture it fills only in part, the rest whatever its memory held.
        {"colour-in-planes.tif", planarTiff(6, 4, 8), true},
        {"one-tile-of-4096x3072.tif", oneTileTiff(4096, 3072), true},
        {"16-bit-colour-in-planes.tif", planarTiff(6, 4, 16)},
        {"refinement-scans-in.tif", jpegTiff(refinementScansJpeg(8192, 8192, 99), 8192, 8192)},
        {"jpeg-in.tif", jpegTiff(greyJpeg, 64, 48), true},
        {"jpeg-without-its-byte-count-in.tif", countless},
        {"jpeg-in-a-513-mb-strip.tif", longStrip, false, longStripTail},
        {"as-large-as-a-jpeg-gets.jpg", jpeg, true, jpegTail},
        {"larger-than-a-jpeg-gets.jpg", jpeg, false, jpegTail + 1},
        // The header of a large progressive picture, then 20 GB that take no disk.
        {"sparse-tail.jpg", emptyScansJpeg(16384, 16384, 1).chopped(2), false, qint64(20) << 30}};
}

bool write(const QString& path, const File& f) {
    QFile out(path);
    return out.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           out.write(f.bytes) == f.bytes.size() && out.resize(f.bytes.size() + f.sparseTail);
}

} // namespace hostile

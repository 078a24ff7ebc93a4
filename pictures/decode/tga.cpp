#include "pictures/decode/tga.h"

#include <QIODevice>
#include <QtEndian>
#include <algorithm>

namespace tga {

namespace {

enum Base { Mapped = 1, TrueColour = 2, Grey = 3 };

struct Layout {
    bool ok = false;
    Base base = TrueColour;
    bool rle = false;
    int mapFirst = 0, mapLength = 0, mapBits = 0;
    int width = 0, height = 0, depth = 0;
    int alphaBits = 0;
    bool rightToLeft = false, topDown = false;
    qint64 mapAt = 0;    // where the colour map starts
    qint64 pixelsAt = 0; // where the pixels start
    int pixelBytes() const { return (depth + 7) / 8; }
    int mapEntryBytes() const { return (mapBits + 7) / 8; }
};

quint16 le16(const QByteArray& b, int at) {
    return qFromLittleEndian<quint16>(b.constData() + at);
}

bool oneOf(int v, std::initializer_list<int> values) {
    return std::find(values.begin(), values.end(), v) != values.end();
}

Layout layoutOf(const QByteArray& b) {
    Layout l;
    if (b.size() < 18) return l;
    const int idLength = quint8(b[0]), mapType = quint8(b[1]), type = quint8(b[2]);
    const int descriptor = quint8(b[17]);
    l.mapFirst = le16(b, 3);
    l.mapLength = le16(b, 5);
    l.mapBits = quint8(b[7]);
    l.width = le16(b, 12);
    l.height = le16(b, 14);
    l.depth = quint8(b[16]);
    l.alphaBits = descriptor & 0x0F;
    l.rightToLeft = descriptor & 0x10;
    l.topDown = descriptor & 0x20;
    if (!oneOf(type, {1, 2, 3, 9, 10, 11}) || mapType > 1 || (descriptor & 0xC0) ||
        l.alphaBits > 8 || l.width == 0 || l.height == 0)
        return l;
    l.base = Base(type & 7);
    l.rle = type & 8;
    // A map is either described fully or not at all.
    if (mapType == 1 ? (l.mapLength == 0 || !oneOf(l.mapBits, {15, 16, 24, 32}))
                     : (l.mapFirst != 0 || l.mapLength != 0))
        return l;
    const bool depthOk = l.base == Mapped       ? mapType == 1 && oneOf(l.depth, {8, 16})
                         : l.base == TrueColour ? oneOf(l.depth, {15, 16, 24, 32})
                                                : mapType == 0 && oneOf(l.depth, {8, 16});
    if (!depthOk) return l;
    l.mapAt = 18 + idLength;
    l.pixelsAt = l.mapAt + (mapType == 1 ? qint64(l.mapLength) * l.mapEntryBytes() : 0);
    l.ok = true;
    return l;
}

// 5 bits of a 15- or 16-bit colour as 8.
int five(int v) {
    return (v << 3) | (v >> 2);
}

// A colour of `bits` (15, 16, 24, 32) stored at p, as true-colour pixels and map entries
// store it; `alpha`: the alpha bits the header gives.
QRgb colourAt(const uchar* p, int bits, int alpha) {
    switch (bits) {
    case 15:
    case 16: {
        const int v = p[0] | (p[1] << 8);
        const int a = bits == 16 && alpha == 1 ? ((v & 0x8000) ? 255 : 0) : 255;
        return qRgba(five((v >> 10) & 31), five((v >> 5) & 31), five(v & 31), a);
    }
    case 24:
        return qRgb(p[2], p[1], p[0]);
    default:
        return qRgba(p[2], p[1], p[0], alpha == 8 ? p[3] : 255);
    }
}

// The most bytes the pixels may take: each pixel its own packet when encoded.
qint64 mostPixelBytes(const Layout& l) {
    return qint64(l.width) * l.height * (l.pixelBytes() + (l.rle ? 1 : 0));
}

} // namespace

picture::Header readHeader(const QByteArray& first18, qint64 fileSize) {
    const Layout l = layoutOf(first18);
    picture::Header h;
    if (!l.ok || l.pixelsAt >= fileSize) return h;
    h.kind = picture::Kind::Tga;
    h.stored = QSize(l.width, l.height);
    h.samples = l.alphaBits > 0 ? 4 : 3;
    h.palette = l.base == Mapped;
    h.start = l.pixelsAt;
    return h;
}

qint64 decodeBytes(const picture::Header& header) {
    const qint64 pixels = qint64(header.stored.width()) * header.stored.height();
    // The picture, and its pixels as read (at most a packet byte and four bytes each).
    return pixels * 4 + pixels * 5;
}

QImage decode(QIODevice& device) {
    if (!device.seek(0)) return {};
    const Layout l = layoutOf(device.read(18));
    if (!l.ok || !device.seek(l.mapAt)) return {};
    QList<QRgb> map;
    if (l.base == Mapped) {
        const QByteArray m = device.read(qint64(l.mapLength) * l.mapEntryBytes());
        if (m.size() != qint64(l.mapLength) * l.mapEntryBytes()) return {};
        map.reserve(l.mapLength);
        for (int i = 0; i < l.mapLength; ++i)
            map << colourAt(reinterpret_cast<const uchar*>(m.constData()) + i * l.mapEntryBytes(),
                            l.mapBits, l.alphaBits);
    }
    if (!device.seek(l.pixelsAt)) return {};
    const QByteArray data = device.read(std::min(mostPixelBytes(l), device.size() - l.pixelsAt));
    QImage image(l.width, l.height, l.alphaBits > 0 ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull()) return {};

    const int bytes = l.pixelBytes();
    const auto pixel = [&](const uchar* p) -> QRgb {
        switch (l.base) {
        case Mapped: {
            const int index = (bytes == 1 ? p[0] : p[0] | (p[1] << 8)) - l.mapFirst;
            return index >= 0 && index < map.size() ? map[index] : qRgb(0, 0, 0);
        }
        case Grey:
            return qRgba(p[0], p[0], p[0], bytes == 2 && l.alphaBits > 0 ? p[1] : 255);
        default:
            return colourAt(p, l.depth, l.alphaBits);
        }
    };
    const qint64 count = qint64(l.width) * l.height;
    qint64 k = 0; // pixels done, in the file's order
    const auto put = [&](QRgb c) {
        const int row = int(k / l.width), column = int(k % l.width);
        const int y = l.topDown ? row : l.height - 1 - row;
        const int x = l.rightToLeft ? l.width - 1 - column : column;
        reinterpret_cast<QRgb*>(image.scanLine(y))[x] = c;
        ++k;
    };
    const auto* at = reinterpret_cast<const uchar*>(data.constData());
    const auto* end = at + data.size();
    while (k < count) {
        if (!l.rle) {
            if (end - at < bytes) return {};
            put(pixel(at));
            at += bytes;
            continue;
        }
        if (at == end) return {};
        const int header = *at++;
        const qint64 n = std::min<qint64>((header & 0x7F) + 1, count - k);
        if (header & 0x80) {
            if (end - at < bytes) return {};
            const QRgb c = pixel(at);
            at += bytes;
            for (qint64 i = 0; i < n; ++i)
                put(c);
        } else {
            if (end - at < n * bytes) return {};
            for (qint64 i = 0; i < n; ++i, at += bytes)
                put(pixel(at));
        }
    }
    return image;
}

} // namespace tga

#include "pictures/decode/heif.h"

#include "pictures/decode/decode_budget.h"
#include "pictures/decode/picture.h"

#include <QColorSpace>
#include <QHash>
#include <QIODevice>
#include <QThread>
#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <libheif/heif.h>

namespace heif {

namespace {

// Real pictures' metadata boxes hold a few kilobytes (a few dozen for a phone's 48-megapixel
// grid with its depth and gain maps).
constexpr qint64 maxMetaBytes = 128 * 1024;
constexpr int maxThumbnails = 8;
// A phone's grid has a few dozen tiles; libheif takes at most 256 rows and columns.
constexpr int maxInputs = 256 * 256;
constexpr int maxExtents = 16;

// libheif reads through these, from the device the picture is open in. The library takes a
// failed read for a broken invariant and aborts: a file that shrank while it is read gives
// zeros instead, which decode to a damaged picture or none. So does a decode no longer wanted:
// the library cannot be stopped, but the tiles of a grid it has not read yet fail at once.
struct Source {
    QIODevice* device = nullptr;
    qint64 size = 0;
};

int64_t sourcePosition(void* s) {
    return static_cast<Source*>(s)->device->pos();
}

int sourceRead(void* data, size_t size, void* s) {
    const qint64 n =
        picture::cancelled()
            ? 0
            : static_cast<Source*>(s)->device->read(static_cast<char*>(data), qint64(size));
    if (n < qint64(size))
        memset(static_cast<char*>(data) + std::max<qint64>(n, 0), 0,
               size_t(qint64(size) - std::max<qint64>(n, 0)));
    return 0;
}

int sourceSeek(int64_t position, void* s) {
    return static_cast<Source*>(s)->device->seek(position) ? 0 : 1;
}

heif_reader_grow_status sourceGrow(int64_t target, void* s) {
    return target <= static_cast<Source*>(s)->size ? heif_reader_grow_status_size_reached
                                                   : heif_reader_grow_status_size_beyond_eof;
}

const heif_reader reader = {1, sourcePosition, sourceRead, sourceSeek, sourceGrow};

bool isBrand(const QByteArray& b) {
    static const QList<QByteArray> brands = {"heic", "heix", "heim", "heis", "hevc", "hevx",
                                             "mif1", "mif2", "msf1", "miaf", "avif", "avis"};
    return brands.contains(b);
}

quint64 be(const QByteArray& d, qsizetype at, int bytes) {
    quint64 v = 0;
    for (int i = 0; i < bytes; ++i)
        v = v << 8 | quint8(d[at + i]);
    return v;
}

constexpr quint32 fourcc(const char* s) {
    return quint32(quint8(s[0])) << 24 | quint32(quint8(s[1])) << 16 | quint32(quint8(s[2])) << 8 |
           quint8(s[3]);
}

// A box inside `d`: its type, where its content starts and where it ends.
struct Box {
    quint32 type = 0;
    qsizetype body = 0, end = 0;
};

// The boxes from `at` to `end` in `d`; false when one does not fit.
bool children(const QByteArray& d, qsizetype at, qsizetype end, QList<Box>& out) {
    while (at < end) {
        if (end - at < 8 || out.size() > 16384) return false;
        quint64 size = be(d, at, 4);
        qsizetype header = 8;
        if (size == 1) {
            if (end - at < 16) return false;
            size = be(d, at + 8, 8);
            header = 16;
        } else if (size == 0) {
            size = quint64(end - at);
        }
        if (size < quint64(header) || size > quint64(end - at)) return false;
        out.append({quint32(be(d, at + 4, 4)), at + header, at + qsizetype(size)});
        at += qsizetype(size);
    }
    return true;
}

// Reads big-endian fields one after another, refusing to read past the end.
class Fields {
  public:
    Fields(const QByteArray& d, qsizetype at, qsizetype end) : d_(d), at_(at), end_(end) {}
    quint64 next(int bytes) {
        if (bytes < 0 || bytes > 8 || end_ - at_ < bytes) {
            ok_ = false;
            return 0;
        }
        at_ += bytes;
        return be(d_, at_ - bytes, bytes);
    }
    bool ok() const { return ok_; }

  private:
    const QByteArray& d_;
    qsizetype at_, end_;
    bool ok_ = true;
};

// What the metadata box says of the picture, read here rather than by the library, which
// reads the data of every picture in the file to parse it.
// Where an item's data lies: in the file (method 0) or in the metadata's own data box
// (method 1), in extents from a base.
struct Location {
    int method = 0;
    quint64 base = 0;
    QList<std::pair<quint64, quint64>> extents; // offset, length (0: to the end)
};

struct Meta {
    quint32 primary = 0;
    QHash<quint32, quint32> types;
    QHash<quint32, Location> locations;
    QHash<quint32, QList<quint32>> inputs; // the pictures a derived one is made of (dimg)
    qsizetype idatBody = -1, idatEnd = -1; // the data box, when there is one
    QHash<quint32, QList<int>> properties; // indexes into `boxes` of each item's properties
    QList<Box> boxes;                      // the item properties
    QList<quint32> thumbnails;
    bool alpha = false;
    qint64 dataBytes = 0; // all items' data: what the library reads in whole to parse the file

    // The item's spatial extent as its ispe property states it.
    QSize extent(quint32 item) const {
        for (int p : properties.value(item)) {
            const Box& b = boxes[p];
            Fields f(data, b.body, b.end);
            if (b.type != fourcc("ispe")) continue;
            f.next(4);
            const quint64 w = f.next(4), h = f.next(4);
            if (f.ok() && w > 0 && h > 0 && w <= 65535 && h <= 65535) return QSize(int(w), int(h));
        }
        return {};
    }
    // The item's size as the library gives it: its spatial extent, then the crop and the
    // turns listed after it (the library's own files list a turn before the extent, which
    // then already is the turned size).
    QSize size(quint32 item) const {
        QSize s;
        for (int p : properties.value(item)) {
            const Box& b = boxes[p];
            Fields f(data, b.body, b.end);
            if (b.type == fourcc("ispe")) {
                f.next(4);
                const quint64 w = f.next(4), h = f.next(4);
                if (f.ok() && w > 0 && h > 0 && w <= 65535 && h <= 65535) s = QSize(int(w), int(h));
            } else if (b.type == fourcc("clap") && s.isValid()) {
                const quint64 wn = f.next(4), wd = f.next(4), hn = f.next(4), hd = f.next(4);
                if (f.ok() && wd > 0 && hd > 0)
                    s = s.boundedTo(QSize(int(std::min<quint64>((wn + wd / 2) / wd, 65535)),
                                          int(std::min<quint64>((hn + hd / 2) / hd, 65535))));
            } else if (b.type == fourcc("irot") && s.isValid() && (f.next(1) & 1)) {
                s.transpose();
            }
        }
        return s;
    }
    // The deepest samples of any picture in the file (a grid's tiles carry its depth).
    int bits() const {
        int most = 8;
        for (const Box& b : boxes)
            if (b.type == fourcc("pixi")) {
                Fields f(data, b.body, b.end);
                f.next(4);
                for (quint64 n = f.next(1); n > 0 && f.ok(); --n)
                    most = std::max(most, int(f.next(1)));
            }
        return std::min(most, 16);
    }
    // The decoder's planes in half samples per pixel: 2 for grey, 3 for 4:2:0, 4 for 4:2:2,
    // 6 for 4:4:4, the most any picture in the file has.
    int planeHalves() const {
        int most = 2;
        for (const Box& b : boxes) {
            int halves = 6;
            if (b.type == fourcc("hvcC") && b.end - b.body > 16) {
                static const int byFormat[] = {2, 3, 4, 6};
                halves = byFormat[data[b.body + 16] & 3];
            } else if (b.type == fourcc("av1C") && b.end - b.body > 2) {
                const int flags = quint8(data[b.body + 2]);
                halves = (flags & 0x10) ? 2 : (flags & 0x08) ? ((flags & 0x04) ? 3 : 4) : 6;
            } else {
                continue;
            }
            most = std::max(most, halves);
        }
        return most;
    }
    QByteArray data;
};

bool parseMeta(const QByteArray& d, Meta& m) {
    m.data = d;
    QList<Box> top;
    if (!children(d, 12, d.size(), top)) return false; // after the box and its version
    for (const Box& box : top) {
        Fields f(d, box.body, box.end);
        // The boxes read here with a version; the others, free space among them, may be empty.
        const bool full = box.type == fourcc("pitm") || box.type == fourcc("iinf") ||
                          box.type == fourcc("iloc") || box.type == fourcc("iref");
        const int version = full ? int(f.next(1)) : 0;
        f.next(full ? 3 : 0);
        if (box.type == fourcc("pitm")) {
            m.primary = quint32(f.next(version == 0 ? 2 : 4));
        } else if (box.type == fourcc("iinf")) {
            f.next(version == 0 ? 2 : 4);
            QList<Box> entries;
            if (!children(d, box.body + (version == 0 ? 6 : 8), box.end, entries)) return false;
            for (const Box& e : entries) {
                Fields g(d, e.body, e.end);
                const int v = int(g.next(1));
                g.next(3);
                if (e.type != fourcc("infe") || v < 2) continue;
                const auto id = quint32(g.next(v == 2 ? 2 : 4));
                g.next(2); // protection
                const auto type = quint32(g.next(4));
                if (g.ok()) m.types.insert(id, type);
            }
        } else if (box.type == fourcc("iloc")) {
            const int sizes = int(f.next(1)), more = int(f.next(1));
            const int offsetBytes = sizes >> 4, lengthBytes = sizes & 15;
            const int baseBytes = more >> 4, indexBytes = version >= 1 ? more & 15 : 0;
            int extents = 0;
            for (quint64 n = f.next(version < 2 ? 2 : 4); n > 0 && f.ok(); --n) {
                const auto id = quint32(f.next(version < 2 ? 2 : 4));
                Location l;
                if (version >= 1) l.method = int(f.next(2) & 15);
                f.next(2);
                l.base = f.next(baseBytes);
                for (quint64 e = f.next(2); e > 0 && f.ok(); --e) {
                    if (++extents > 65536) return false;
                    f.next(indexBytes);
                    const quint64 offset = f.next(offsetBytes), length = f.next(lengthBytes);
                    m.dataBytes += qint64(std::min<quint64>(length, quint64(1) << 40));
                    if (l.extents.size() < maxExtents) l.extents.append({offset, length});
                }
                m.locations.insert(id, l);
            }
            if (!f.ok()) return false;
        } else if (box.type == fourcc("iref")) {
            QList<Box> refs;
            if (!children(d, box.body + 4, box.end, refs)) return false;
            for (const Box& r : refs) {
                Fields g(d, r.body, r.end);
                const auto from = quint32(g.next(version == 0 ? 2 : 4));
                for (quint64 n = g.next(2); n > 0 && g.ok(); --n) {
                    const auto to = quint32(g.next(version == 0 ? 2 : 4));
                    if (g.ok() && r.type == fourcc("dimg") && m.inputs[from].size() < maxInputs)
                        m.inputs[from] << to;
                    if (!g.ok() || to != m.primary) continue;
                    if (r.type == fourcc("thmb") && m.thumbnails.size() < maxThumbnails)
                        m.thumbnails << from;
                    if (r.type == fourcc("auxl")) m.alpha = true;
                }
            }
        } else if (box.type == fourcc("idat")) {
            m.idatBody = box.body;
            m.idatEnd = box.end;
        } else if (box.type == fourcc("iprp")) {
            QList<Box> parts;
            if (!children(d, box.body, box.end, parts)) return false;
            for (const Box& part : parts) {
                if (part.type == fourcc("ipco") && !children(d, part.body, part.end, m.boxes))
                    return false;
                if (part.type != fourcc("ipma")) continue;
                Fields g(d, part.body, part.end);
                const int v = int(g.next(1));
                const bool wide = (g.next(3) & 1) != 0;
                for (quint64 n = g.next(4); n > 0 && g.ok(); --n) {
                    const auto item = quint32(g.next(v < 1 ? 2 : 4));
                    for (quint64 k = g.next(1); k > 0 && g.ok(); --k) {
                        const quint64 index = g.next(wide ? 2 : 1) & (wide ? 0x7FFF : 0x7F);
                        if (index > 0) m.properties[item] << int(index - 1);
                    }
                }
                if (!g.ok()) return false;
            }
        }
        if (!f.ok()) return false;
    }
    for (const QList<int>& list : std::as_const(m.properties))
        for (int p : list)
            if (p >= m.boxes.size()) return false;
    return m.primary != 0;
}

// The file's metadata box, found by the top-level box headers; empty when the file does not
// start with a file type box or its metadata box is larger than real ones.
QByteArray metaBox(QIODevice& d) {
    const qint64 size = d.size();
    qint64 pos = 0;
    for (int box = 0; box < 1024 && pos < size; ++box) {
        if (!d.seek(pos)) return {};
        const QByteArray h = d.read(16);
        if (h.size() < 8) return {};
        qint64 length = qFromBigEndian<quint32>(h.constData());
        const QByteArray type = h.mid(4, 4);
        if (length == 1 && h.size() == 16)
            length = qint64(
                std::min<quint64>(qFromBigEndian<quint64>(h.constData() + 8), quint64(size)));
        else if (length == 0)
            length = size - pos;
        if (length < 8 || (box == 0 && type != "ftyp")) return {};
        if (type == "meta") {
            if (length < 12 || length > maxMetaBytes || !d.seek(pos)) return {};
            const QByteArray meta = d.read(length);
            return meta.size() == length ? meta : QByteArray();
        }
        pos += length;
    }
    return {};
}

// A parsed file and its primary picture.
class File {
  public:
    explicit File(QIODevice& device) {
        static const bool initialised = heif_init(nullptr).code == heif_error_Ok;
        if (!initialised || !device.seek(0)) return;
        source_ = {&device, device.size()};
        heif_context_set_maximum_image_size_limit(context_, 1 << 16);
        // A grid's tiles (phones write 512 x 512) are decoded side by side. A picture that
        // large decodes alone (the decode budget), so the cores are its own.
        heif_context_set_max_decoding_threads(context_, std::max(1, QThread::idealThreadCount()));
        if (heif_context_read_from_reader(context_, &reader, &source_, nullptr).code !=
            heif_error_Ok)
            return;
        if (heif_context_get_primary_image_handle(context_, &primary_).code != heif_error_Ok)
            primary_ = nullptr;
    }
    ~File() {
        if (primary_) heif_image_handle_release(primary_);
        heif_context_free(context_);
    }
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    const heif_image_handle* primary() const { return primary_; }

  private:
    heif_context* context_ = heif_context_alloc();
    heif_image_handle* primary_ = nullptr;
    Source source_;
};

QSize sizeOf(const heif_image_handle* h) {
    return QSize(heif_image_handle_get_width(h), heif_image_handle_get_height(h));
}

} // namespace

int chooseThumbnail(const QList<QSize>& thumbnails, QSize full, QSize target) {
    int best = -1;
    for (int i = 0; target.isValid() && i < thumbnails.size(); ++i) {
        const QSize t = thumbnails[i];
        const qint64 skew = qint64(t.width()) * full.height() - qint64(t.height()) * full.width();
        const bool proportional = std::abs(skew) * 50 <= qint64(full.width()) * t.height();
        if (t.width() >= target.width() && t.height() >= target.height() && proportional &&
            (best < 0 || t.width() < thumbnails[best].width()))
            best = i;
    }
    return best;
}

namespace {

QColorSpace colourSpace(const heif_image_handle* h) {
    const heif_color_profile_type type = heif_image_handle_get_color_profile_type(h);
    if (type == heif_color_profile_type_rICC || type == heif_color_profile_type_prof) {
        const size_t size = heif_image_handle_get_raw_color_profile_size(h);
        if (size == 0 || size > 4 * 1024 * 1024) return {};
        QByteArray icc(qsizetype(size), '\0');
        if (heif_image_handle_get_raw_color_profile(h, icc.data()).code != heif_error_Ok) return {};
        return QColorSpace::fromIccProfile(icc);
    }
    heif_color_profile_nclx* nclx = nullptr;
    if (type != heif_color_profile_type_nclx) return {};
    // The library may hand out the profile along with an error: it is freed either way.
    const bool ok = heif_image_handle_get_nclx_color_profile(h, &nclx).code == heif_error_Ok;
    const heif_color_primaries primaries =
        nclx ? nclx->color_primaries : heif_color_primaries_unspecified;
    heif_nclx_color_profile_free(nclx);
    if (!ok) return {};
    // Photos come in sRGB (untagged here), Display P3 (phones) or BT.2020 primaries.
    if (primaries == heif_color_primaries_SMPTE_EG_432_1) return QColorSpace::DisplayP3;
    if (primaries == heif_color_primaries_ITU_R_BT_2020_2_and_2100_0)
        return QColorSpace(QPointF(0.3127, 0.3290), QPointF(0.708, 0.292), QPointF(0.170, 0.797),
                           QPointF(0.131, 0.046), QColorSpace::TransferFunction::SRgb);
    return {};
}

} // namespace

// The first bytes of an item's data (a derived picture's description), at most `most`.
QByteArray itemData(QIODevice& device, const Meta& m, quint32 item, qint64 most) {
    const Location l = m.locations.value(item);
    QByteArray out;
    for (const auto& [offset, length] : l.extents) {
        const qint64 want =
            length == 0 ? most - out.size() : qint64(std::min<quint64>(length, quint64(most)));
        if (l.method == 1 && m.idatBody >= 0) {
            const quint64 at = quint64(m.idatBody) + l.base + offset;
            if (at > quint64(m.idatEnd)) return {};
            out += m.data.mid(qsizetype(at), std::min<qint64>(want, m.idatEnd - qint64(at)));
        } else if (l.method == 0 && device.seek(qint64(std::min<quint64>(
                                        l.base + offset, quint64(device.size()))))) {
            out += device.read(want);
        } else {
            return {};
        }
        if (out.size() >= most) return out.left(most);
    }
    return out;
}

// The size a grid or an overlay makes, as its description says: what libheif builds, whatever
// the item's ispe says.
QSize derivedSize(QIODevice& device, const Meta& m, quint32 item, int& rows, int& columns) {
    const bool grid = m.types.value(item) == fourcc("grid");
    const QByteArray d = itemData(device, m, item, 64);
    Fields f(d, 0, d.size());
    f.next(1); // version
    const bool wide = f.next(1) & 1;
    rows = columns = 1;
    if (grid) {
        rows = int(f.next(1)) + 1;
        columns = int(f.next(1)) + 1;
    } else {
        f.next(8); // the canvas's fill colour
    }
    const quint64 w = f.next(wide ? 4 : 2), h = f.next(wide ? 4 : 2);
    if (!f.ok() || w == 0 || h == 0 || w > 65535 || h > 65535) return {};
    return QSize(int(w), int(h));
}

// For a picture made of others (a grid of tiles, an overlay, an identity with its turn): that
// what libheif builds is the size the file declares, and the largest picture it decodes on
// the way, in pixels; -1 when the file contradicts itself or asks for more than any picture.
qint64 largestInput(QIODevice& device, const Meta& m) {
    const quint32 type = m.types.value(m.primary);
    if (type != fourcc("grid") && type != fourcc("iovl") && type != fourcc("iden")) return 0;
    int rows = 1, columns = 1;
    if (type != fourcc("iden") &&
        derivedSize(device, m, m.primary, rows, columns) != m.extent(m.primary))
        return -1;
    const QList<quint32> inputs = m.inputs.value(m.primary);
    if (inputs.isEmpty() || (type == fourcc("grid") && inputs.size() != rows * columns) ||
        (type == fourcc("iden") && inputs.size() != 1))
        return -1;
    QSize most(0, 0);
    qint64 all = 0;
    for (quint32 input : inputs) {
        const quint32 kind = m.types.value(input);
        const QSize s = m.extent(input);
        if ((kind != fourcc("hvc1") && kind != fourcc("av01")) || s.isEmpty()) return -1;
        most = most.expandedTo(s);
        all += qint64(s.width()) * s.height();
    }
    const QSize out = m.extent(m.primary);
    // Tiles beyond those that cover the picture would be decoded for nothing.
    if (type == fourcc("grid") && (qint64(columns - 1) * most.width() >= out.width() ||
                                   qint64(rows - 1) * most.height() >= out.height()))
        return -1;
    if (all > picture::maxPixels) return -1;
    return qint64(most.width()) * most.height();
}

bool isHeif(const QByteArray& start) {
    if (start.size() < 12 || start.mid(4, 4) != "ftyp") return false;
    for (qsizetype at = 8; at + 4 <= start.size(); at += 4)
        if (at != 12 && isBrand(start.mid(at, 4))) return true; // 12: the minor version
    return false;
}

picture::Header readHeader(QIODevice& device) {
    Meta m;
    if (!parseMeta(metaBox(device), m)) return {};
    // What the library decodes: single pictures, grids of them, their derivations.
    static const quint32 decoded[] = {fourcc("hvc1"), fourcc("av01"), fourcc("grid"),
                                      fourcc("iden"), fourcc("iovl")};
    picture::Header header;
    header.stored = m.size(m.primary);
    if (header.stored.isEmpty() || std::find(std::begin(decoded), std::end(decoded),
                                             m.types.value(m.primary)) == std::end(decoded))
        return {};
    // The library reads every item's data; more than the file twice over is a trap.
    if (m.dataBytes > 2 * device.size()) return {};
    const qint64 input = largestInput(device, m);
    if (input < 0) return {};
    header.kind = picture::Kind::Heif;
    header.bits = m.bits();
    header.planeHalves = m.planeHalves();
    header.samples = m.alpha ? 4 : 3;
    header.inputPixels = input;
    // Thumbnails coded as they are: a derived one would be made at a size of its own.
    for (quint32 t : m.thumbnails)
        if (!m.size(t).isEmpty() &&
            (m.types.value(t) == fourcc("hvc1") || m.types.value(t) == fourcc("av01"))) {
            header.thumbnails << m.size(t);
            header.thumbnailItems << t;
        }
    header.chunkBytes = m.dataBytes;
    header.qtFormat = "heif";
    return header;
}

bool fromThumbnail(const picture::Header& header, QSize target) {
    return chooseThumbnail(header.thumbnails, header.stored, target) >= 0;
}

qint64 decodeBytes(const picture::Header& header, QSize target) {
    const int t = chooseThumbnail(header.thumbnails, header.stored, target);
    const QSize s = t < 0 ? header.stored : header.thumbnails[t];
    const qint64 sample = header.bits > 8 ? 2 : 1;
    // Per pixel, in halves: the decoder's planes and the library's copy of them, alpha
    // beside, the 8-bit picture made from them, and for deeper samples the conversion's
    // intermediate. Besides, the items' data the library reads and the decoders' own state.
    const qint64 halves = 2 * header.planeHalves * sample +
                          (header.samples == 4 ? 2 * sample + 8 : 6) + (header.bits > 8 ? 16 : 0);
    // A picture made of others: the one decoded at a time, in the decoder's planes and the
    // library's copy of them.
    const qint64 input = t < 0 ? header.inputPixels * header.planeHalves * sample : 0;
    return qint64(s.width()) * s.height() * halves / 2 + input + header.chunkBytes +
           16 * 1024 * 1024;
}

QImage decode(QIODevice& device, QSize target) {
    // What is decoded is what readHeader planned for: the same thumbnail, a grid of the size it
    // declares.
    const picture::Header header = readHeader(device);
    if (!header.ok()) return {};
    const File file(device);
    if (!file.primary()) return {};
    heif_image_handle* handle = nullptr;
    const int chosen = chooseThumbnail(header.thumbnails, header.stored, target);
    if (chosen >= 0 &&
        heif_image_handle_get_thumbnail(file.primary(), header.thumbnailItems[chosen], &handle)
                .code != heif_error_Ok)
        return {};
    const heif_image_handle* h = handle ? handle : file.primary();
    const bool alpha = heif_image_handle_has_alpha_channel(h);
    heif_decoding_options* options = heif_decoding_options_alloc();
    options->convert_hdr_to_8bit = 1;
    heif_image* decoded = nullptr;
    const heif_error e = heif_decode_image(
        h, &decoded, heif_colorspace_RGB,
        alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, options);
    heif_decoding_options_free(options);
    const bool premultiplied = alpha && heif_image_handle_is_premultiplied_alpha(h);
    const QSize declared = sizeOf(h);
    const QColorSpace space = colourSpace(h);
    if (handle) heif_image_handle_release(handle);
    if (e.code != heif_error_Ok || !decoded) {
        if (decoded) heif_image_release(decoded);
        return {};
    }
    int stride = 0;
    const uint8_t* pixels =
        heif_image_get_plane_readonly(decoded, heif_channel_interleaved, &stride);
    const int w = heif_image_get_width(decoded, heif_channel_interleaved);
    const int height = heif_image_get_height(decoded, heif_channel_interleaved);
    // The coded picture must be the size the file declares (which the memory was planned
    // for and the cell was fitted to): a contradicting file is damaged.
    if (!pixels || QSize(w, height) != declared || stride < w * (alpha ? 4 : 3)) {
        heif_image_release(decoded);
        return {};
    }
    // The image keeps the library's pixels and releases them with its last copy.
    QImage image(
        const_cast<uchar*>(pixels), w, height, stride,
        !alpha          ? QImage::Format_RGB888
        : premultiplied ? QImage::Format_RGBA8888_Premultiplied
                        : QImage::Format_RGBA8888,
        [](void* d) { heif_image_release(static_cast<heif_image*>(d)); }, decoded);
    image.setColorSpace(space);
    return image;
}

} // namespace heif

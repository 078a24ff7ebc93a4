#include "pictures/thumbnails/shared_thumbnails.h"

#include "pictures/decode/picture_header.h"
#include "pictures/decode/picture_streams.h"
#include "pictures/decode/png_decode.h"
#include "pictures/thumbnail_size.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <zlib.h>

namespace shared_thumbnails {
namespace {

constexpr SizeClass kClasses[] = {SizeClass::Normal, SizeClass::Large, SizeClass::XLarge,
                                  SizeClass::XXLarge};

const char* folderName(SizeClass size) {
    switch (size) {
    case SizeClass::Normal:
        return "normal";
    case SizeClass::Large:
        return "large";
    case SizeClass::XLarge:
        return "x-large";
    case SizeClass::XXLarge:
        return "xx-large";
    }
    return "normal";
}

using Fd = files::Descriptor;

// The folder `name` inside the folder `at`, never through a link; made 0700 when `create`.
Fd openFolder(int at, const char* name, bool create) {
    if (create && ::mkdirat(at, name, 0700) != 0 && errno != EEXIST) return Fd();
    return Fd(::openat(at, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
}

// The folder of a size class. The user's cache folder may be a link (moved to another disk);
// the thumbnail folders below it may not.
Fd openClassFolder(SizeClass size, bool create) {
    const QByteArray base =
        files::encodeName(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation));
    if (base.isEmpty()) return Fd();
    if (create) ::mkdir(base.constData(), 0700);
    const Fd home(::open(base.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!home.ok()) return Fd();
    const Fd cache = openFolder(home.get(), "thumbnails", create);
    if (!cache.ok()) return Fd();
    return openFolder(cache.get(), folderName(size), create);
}

// The nanoseconds of the picture's modification time, which the standard's tag leaves out: a
// picture rewritten within a second, to the same length, is told apart.
const char kNanosecondsTag[] = "X-Vetrinova::MTime::Nanoseconds";

// A picture modified less than this long ago may still be being written: its thumbnail waits
// for a later start.
constexpr qint64 kSettlingSeconds = 3;

// Longest tag value read: a URI of the longest path, every byte of it written as %XX.
constexpr int kMaxTagBytes = 3 * 4096 + 16;

QByteArray fileName(const QByteArray& uri) {
    return QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex() + ".png";
}

// A thumbnail file's bytes, and the second it was last written.
struct ThumbnailFile {
    QByteArray bytes;
    qint64 written = 0;
};

// A regular file in `dir`, when it has at most kMaxFileBytes.
ThumbnailFile readThumbnailFile(int dir, const QByteArray& name) {
    const files::Opened opened = files::openRegular(name, files::Links::Refuse, dir);
    struct stat st {};
    if (!opened.fd.ok() || opened.bytes > kMaxFileBytes || ::fstat(opened.fd.get(), &st) != 0)
        return {};
    QFile file;
    if (!file.open(opened.fd.get(), QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.read(kMaxFileBytes + 1);
    if (bytes.size() > kMaxFileBytes) return {};
    return {bytes, qint64(st.st_mtim.tv_sec)};
}

// A decimal tag that says `expected`.
bool says(const QHash<QByteArray, QByteArray>& tags, const char* key, qint64 expected) {
    bool ok = false;
    const qint64 n = tags.value(key).toLongLong(&ok);
    return ok && n == expected;
}

// A thumbnail file's picture, when it is a PNG of its class that stands for the picture as it
// is now. Its size and tags are read from its chunks before anything is decoded; the decoder
// then sees the file without its text chunks, which the toolkit's reader would inflate whole
// (a few megabytes of compressed text inflate to gigabytes), and stops after its last row.
QImage accepted(ThumbnailFile file, SizeClass size, const QByteArray& uri,
                const files::Stamp& stamp, QSize picture, QSize drawn) {
    // The standard's stamp is whole seconds: a picture changed in the second its thumbnail was
    // written (or later, by a clock set back) may have changed after it.
    if (stamp.seconds >= file.written) return {};
    QByteArray& png = file.bytes;
    QBuffer buffer(&png);
    buffer.open(QIODevice::ReadOnly);
    const picture::Header header = picture::readHeader(buffer);
    const QSize s = header.stored;
    if (header.kind != picture::Kind::Png || header.start != 0 || s.width() > pixels(size) ||
        s.height() > pixels(size) || !thumbnail_size::sameProportions(s, picture) ||
        !thumbnail_size::covers(s, picture, drawn))
        return {};
    const QHash<QByteArray, QByteArray> tags = picture::pngTexts(
        buffer, {"Thumb::URI", "Thumb::MTime", "Thumb::Size", kNanosecondsTag}, kMaxTagBytes);
    if (tags.value("Thumb::URI") != uri || !says(tags, "Thumb::MTime", stamp.seconds) ||
        (tags.contains("Thumb::Size") && !says(tags, "Thumb::Size", stamp.bytes)) ||
        (tags.contains(kNanosecondsTag) && !says(tags, kNanosecondsTag, stamp.nanoseconds)))
        return {};
    picture::PngStream pixelsOnly(buffer, 0, -1);
    return picture::decodePng(pixelsOnly, s);
}

void appendBigEndian(QByteArray& bytes, quint32 n) {
    char b[4];
    qToBigEndian(n, b);
    bytes.append(b, 4);
}

// A PNG with these tags as uncompressed text chunks right after its header. Qt compresses
// long values (the URI), and other programs look for the tags in tEXt chunks only.
QByteArray withTags(const QByteArray& png, const QList<std::pair<QByteArray, QByteArray>>& tags) {
    constexpr int kHeaderEnd = 8 + 4 + 4 + 13 + 4; // signature, IHDR length, type, data, CRC
    if (png.size() < kHeaderEnd || png.mid(12, 4) != "IHDR") return {};
    QByteArray out = png.left(kHeaderEnd);
    for (const auto& [key, value] : tags) {
        const QByteArray body = "tEXt" + key + '\0' + value;
        appendBigEndian(out, quint32(body.size() - 4));
        out += body;
        appendBigEndian(out, quint32(::crc32(0, reinterpret_cast<const Bytef*>(body.constData()),
                                             uInt(body.size()))));
    }
    return out + png.mid(kHeaderEnd);
}

bool insideCache(const QString& path) {
    const auto inside = [](const QString& file, const QString& dir) {
        return !file.isEmpty() && !dir.isEmpty() && file.startsWith(dir + QLatin1Char('/'));
    };
    const QFileInfo cache(folder());
    const QFileInfo file(path);
    return inside(QDir::cleanPath(file.absoluteFilePath()),
                  QDir::cleanPath(cache.absoluteFilePath())) ||
           inside(file.canonicalFilePath(), cache.canonicalFilePath());
}

bool writeAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += n;
    }
    return true;
}

// Puts `bytes` in `dir` as `name`: whole, or not at all.
bool replaceAtomically(int dir, const QByteArray& name, const QByteArray& bytes) {
    const QByteArray temporary =
        "." + name + "." + QByteArray::number(QRandomGenerator::global()->generate64(), 16);
    Fd out(::openat(dir, temporary.constData(),
                    O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!out.ok()) return false;
    const bool written = ::fchmod(out.get(), 0600) == 0 && writeAll(out.get(), bytes) &&
                         out.close() &&
                         ::renameat(dir, temporary.constData(), dir, name.constData()) == 0;
    if (!written) ::unlinkat(dir, temporary.constData(), 0);
    return written;
}

} // namespace

int pixels(SizeClass size) {
    switch (size) {
    case SizeClass::Normal:
        return 128;
    case SizeClass::Large:
        return 256;
    case SizeClass::XLarge:
        return 512;
    case SizeClass::XXLarge:
        return 1024;
    }
    return 128;
}

std::optional<SizeClass> classFor(QSize drawn) {
    if (drawn.isEmpty()) return std::nullopt;
    for (SizeClass size : kClasses)
        if (std::max(drawn.width(), drawn.height()) <= pixels(size)) return size;
    return std::nullopt;
}

QString folder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/thumbnails");
}

QByteArray uriOf(const QString& path) {
    const QByteArray absolute =
        files::encodeName(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    QByteArray uri = "file://";
    for (const char c : absolute) {
        const auto u = static_cast<unsigned char>(c);
        if ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') ||
            (c != '\0' && std::strchr("!$&'()*+,-.:=@_~/", c)))
            uri += c;
        else
            uri += '%' + QByteArray::number(u, 16).rightJustified(2, '0').toUpper();
    }
    return uri;
}

QString pathOf(const QString& path, SizeClass size) {
    return folder() + QLatin1Char('/') + QLatin1String(folderName(size)) + QLatin1Char('/') +
           QString::fromLatin1(fileName(uriOf(path)));
}

QImage read(const QString& path, QSize picture, QSize drawn) {
    const std::optional<SizeClass> first = classFor(drawn.boundedTo(picture));
    const std::optional<files::Stamp> stamp = files::stampOf(files::encodeName(path));
    if (!first || !stamp || picture.isEmpty()) return {};
    const QByteArray uri = uriOf(path);
    const QByteArray name = fileName(uri);
    for (SizeClass size : kClasses) {
        if (size < *first) continue;
        const Fd dir = openClassFolder(size, false);
        if (!dir.ok()) continue;
        QImage image =
            accepted(readThumbnailFile(dir.get(), name), size, uri, *stamp, picture, drawn);
        if (!image.isNull()) return image;
    }
    return {};
}

bool write(const QString& path, const QImage& image, QSize picture, SizeClass size,
           const files::Stamp& decodedFrom) {
    const int side = pixels(size);
    const int larger = std::max(image.width(), image.height());
    if (image.isNull() || (larger < side && image.size() != picture) ||
        !thumbnail_size::sameProportions(image.size(), picture) || insideCache(path) ||
        files::stampOf(files::encodeName(path)) != decodedFrom ||
        decodedFrom.seconds > QDateTime::currentSecsSinceEpoch() - kSettlingSeconds)
        return false;
    const QImage thumbnail =
        larger > side ? image.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                      : image;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!QImageWriter(&buffer, "png").write(thumbnail)) return false;
    const QByteArray uri = uriOf(path);
    png = withTags(png, {{"Thumb::URI", uri},
                         {"Thumb::MTime", QByteArray::number(decodedFrom.seconds)},
                         {kNanosecondsTag, QByteArray::number(decodedFrom.nanoseconds)},
                         {"Thumb::Size", QByteArray::number(decodedFrom.bytes)},
                         {"Thumb::Image::Width", QByteArray::number(picture.width())},
                         {"Thumb::Image::Height", QByteArray::number(picture.height())},
                         {"Software", "Vetrinova"}});
    if (png.isEmpty()) return false;
    const Fd dir = openClassFolder(size, true);
    return dir.ok() && replaceAtomically(dir.get(), fileName(uri), png);
}

} // namespace shared_thumbnails

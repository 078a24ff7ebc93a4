#include "pictures/thumbnails/thumbnail_cache.h"

#include "base/files.h"
#include "pictures/background.h"
#include "pictures/decode/decode_budget.h"
#include "pictures/decode/picture.h"
#include "pictures/decode/picture_scale.h"
#include "pictures/fitting.h"
#include "pictures/thumbnails/camera_thumbnail.h"
#include "pictures/thumbnails/shared_thumbnails.h"

#include <QCache>
#include <QFile>
#include <QHashFunctions>
#include <QMutex>
#include <array>
#include <atomic>
#include <optional>

namespace thumbnail_cache {

namespace {

std::array<std::atomic<int>, kSources> served{};
std::atomic<int> finished{0};
std::atomic<int> writes{0};

// Below every thumbnail's: the writes wait until the cells queued before them are filled.
constexpr int kWritePriority = -1;

void countOne(Source source) {
    ++served[size_t(source)];
}

// A thumbnail's identity: the file as it is now and the cell size in device pixels. Changing
// the file or the cell makes a new key.
struct Key {
    QString path;
    std::optional<files::Stamp> file;
    QSize cell;
    bool operator==(const Key&) const = default;
};

size_t qHash(const Key& key, size_t seed = 0) {
    const files::Stamp stamp = key.file.value_or(files::Stamp{});
    return qHashMulti(seed, key.path, stamp.seconds, stamp.nanoseconds, stamp.bytes,
                      key.cell.width(), key.cell.height());
}

Key keyFor(const QString& path, QSize cell) {
    return {path, files::stampOf(files::encodeName(path)), cell};
}

// Work (picture::jpegScanWork) beyond which a camera's thumbnail is worth keeping in the shared
// cache: about half a millisecond, which a baseline thumbnail of any size stays below and a
// progressive one of 640 x 480 goes beyond.
constexpr qint64 kCostlyCameraWork = 1'000'000;

// Thumbnails waiting to be written hold their pictures. Past this much, a decode writes its
// own at once, so that a large folder's first start does not hold every one of them.
constexpr qint64 kMostWaitingBytes = qint64(16) << 20;
std::atomic<qint64> waitingBytes{0};

// Writes the thumbnail to the shared cache later, on a thumbnail thread, or now when too many
// are waiting.
void queueWrite(const QString& path, const QImage& image, QSize picture,
                shared_thumbnails::SizeClass size, const files::Stamp& stamp) {
    const qint64 bytes = image.sizeInBytes();
    if (waitingBytes.fetch_add(bytes) + bytes > kMostWaitingBytes) {
        waitingBytes -= bytes;
        shared_thumbnails::write(path, image, picture, size, stamp);
        return;
    }
    ++writes;
    fw::detach(
        fw::Lane::Bulk,
        [=] {
            shared_thumbnails::write(path, image, picture, size, stamp);
            waitingBytes -= bytes;
            --writes;
        },
        kWritePriority);
}

// A thumbnail made elsewhere (the shared cache's, the camera's) for the picture of upright
// size `picture`, drawn at `drawn` in the cell: null when there is none that will do. `work`
// receives what decoding the camera's took.
QImage madeElsewhere(const QString& path, const PictureProbe& probe, QSize cell, QSize drawn,
                     Source& source, qint64& work) {
    source = Source::Shared;
    QImage image = shared_thumbnails::read(path, probe.size, drawn);
    if (!image.isNull()) return image;
    source = Source::Camera;
    image = camera_thumbnail::read(path, probe.size, probe.transformation, &work);
    return fitting::covers(image.size(), probe.size, cell) ? image : QImage();
}

// The picture decoded for the cell, at the shared cache's class for it when there is one, and
// that thumbnail queued for writing.
Thumbnail decode(const QString& path, QSize cell) {
    countOne(Source::Decoded);
    const std::optional<files::Stamp> stamp = files::stampOf(files::encodeName(path));
    std::optional<shared_thumbnails::SizeClass> size;
    QSize drawn;
    const LoadedPicture loaded = loadPicture(path, [&](QSize full) {
        drawn = fitting::fitRect(full, cell).size();
        size = shared_thumbnails::classFor(drawn.boundedTo(full));
        if (!size) return drawn;
        const int side = shared_thumbnails::pixels(*size);
        return full.scaled(side, side, Qt::KeepAspectRatio).expandedTo(drawn);
    });
    ++finished;
    if (loaded.isNull()) return {};
    Thumbnail t{picture::shrink(loaded.image, drawn), loaded.original, Source::Decoded};
    if (t.image.isNull()) return {};
    if (size && stamp) queueWrite(path, loaded.image, loaded.original, *size, *stamp);
    return t;
}

Thumbnail made(const QString& path, QSize cell) {
    const PictureProbe probe = probePicture(path);
    if (!probe.ok) return decode(path, cell);
    const std::optional<files::Stamp> stamp = files::stampOf(files::encodeName(path));
    const QSize drawn = fitting::fitRect(probe.size, cell).size();
    Source source = Source::Shared;
    qint64 work = 0;
    const QImage image = madeElsewhere(path, probe, cell, drawn, source, work);
    if (image.isNull()) return decode(path, cell);
    countOne(source);
    Thumbnail t{picture::shrink(image, drawn.expandedTo(QSize(1, 1))), probe.size, source};
    if (!t.ok()) return decode(path, cell);
    // A camera's thumbnail that took real decoding (progressive, large) is kept as a decoded
    // one is, so that the next start reads it instead.
    const std::optional<shared_thumbnails::SizeClass> size =
        shared_thumbnails::classFor(drawn.boundedTo(probe.size));
    if (source == Source::Camera && work > kCostlyCameraWork && size && stamp)
        queueWrite(path, image, probe.size, *size, *stamp);
    return t;
}

QMutex lock;

QCache<Key, Thumbnail>& cache() {
    // Costs are in kilobytes, so that the bound fits QCache's integer costs.
    static QCache<Key, Thumbnail> c(kMaxBytes >> 10);
    return c;
}

} // namespace

Thumbnail fetch(const QString& path, QSize cell) {
    const Key key = keyFor(path, cell);
    {
        const QMutexLocker held(&lock);
        if (const Thumbnail* t = cache().object(key)) {
            countOne(Source::Memory);
            Thumbnail kept = *t;
            kept.source = Source::Memory;
            return kept;
        }
    }
    // Made outside the lock: other cells go on meanwhile. Two fetches of the same file at
    // once (a presentation started again while the last one's decode still runs) both make it.
    const Thumbnail thumbnail = made(path, cell);
    // A decode stopped because its cell is no longer wanted says nothing of the file.
    if (picture::cancelled()) return thumbnail;
    const qsizetype cost = thumbnail.image.sizeInBytes() / 1024 + 1;
    const QMutexLocker held(&lock);
    cache().insert(key, new Thumbnail(thumbnail), cost);
    return thumbnail;
}

Thumbnail kept(const QString& path) {
    const std::optional<files::Stamp> now = files::stampOf(files::encodeName(path));
    Thumbnail best;
    const QMutexLocker held(&lock);
    for (const Key& key : cache().keys()) {
        if (key.path != path || key.file != now) continue;
        const Thumbnail* t = cache().object(key);
        if (t && t->ok() && t->image.width() > best.image.width()) best = *t;
    }
    best.source = Source::Memory;
    return best;
}

void clear() {
    const QMutexLocker held(&lock);
    cache().clear();
}

int count(Source source) {
    return served[size_t(source)].load();
}

int finishedCount() {
    return finished.load();
}

int writesPending() {
    return writes.load();
}

} // namespace thumbnail_cache

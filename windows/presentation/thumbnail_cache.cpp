#include "windows/presentation/thumbnail_cache.h"

#include "framework/picture.h"
#include "state/fitting.h"

#include <QCache>
#include <QDateTime>
#include <QFileInfo>
#include <QHashFunctions>
#include <QMutex>
#include <atomic>

namespace thumbnail_cache {

namespace {

std::atomic<int> decodes{0};
std::atomic<int> finished{0};

// A thumbnail's identity: the file as it is now and the cell size in device pixels. Changing
// the file or the cell makes a new key.
struct Key {
    QString path;
    qint64 modified = 0; // milliseconds since the epoch, 0 when the file is not there
    qint64 bytes = -1;
    QSize cell;
    bool operator==(const Key&) const = default;
};

size_t qHash(const Key& key, size_t seed = 0) {
    return qHashMulti(seed, key.path, key.modified, key.bytes, key.cell.width(), key.cell.height());
}

Key keyFor(const QString& path, QSize cell) {
    Key key;
    key.path = path;
    key.cell = cell;
    const QFileInfo info(path);
    if (info.exists()) {
        key.modified = info.lastModified().toMSecsSinceEpoch();
        key.bytes = info.size();
    }
    return key;
}

Thumbnail decode(const QString& path, QSize cell) {
    ++decodes;
    const LoadedPicture loaded =
        loadPicture(path, [cell](QSize full) { return fitting::fitRect(full, cell).size(); });
    ++finished;
    return {loaded.image, loaded.original};
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
        if (const Thumbnail* t = cache().object(key)) return *t;
    }
    // Decoded outside the lock: other cells go on meanwhile. Two fetches of the same file at
    // once (a presentation started again while the last one's decode still runs) both decode.
    const Thumbnail thumbnail = decode(path, cell);
    const qsizetype cost = thumbnail.image.sizeInBytes() / 1024 + 1;
    const QMutexLocker held(&lock);
    cache().insert(key, new Thumbnail(thumbnail), cost);
    return thumbnail;
}

void clear() {
    const QMutexLocker held(&lock);
    cache().clear();
}

int decodeCount() {
    return decodes.load();
}

int finishedCount() {
    return finished.load();
}

} // namespace thumbnail_cache

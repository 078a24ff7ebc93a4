#include "windows/presentation/thumbnail_cache.h"

#include "framework/picture.h"
#include "state/fitting.h"

#include <QCache>
#include <QDateTime>
#include <QFileInfo>
#include <QHashFunctions>
#include <atomic>

namespace thumbnail_cache {

namespace {

std::atomic<int> decodes{0};
std::atomic<int> finished{0};

QCache<Key, Thumbnail>& cache() {
    // Costs are in kilobytes, so that the bound fits QCache's integer costs.
    static QCache<Key, Thumbnail> c(kMaxBytes >> 10);
    return c;
}

} // namespace

size_t qHash(const Key& key, size_t seed) {
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

std::optional<Thumbnail> find(const Key& key) {
    if (const Thumbnail* t = cache().object(key)) return *t;
    return std::nullopt;
}

void store(const Key& key, const Thumbnail& thumbnail) {
    const qsizetype cost = thumbnail.image.sizeInBytes() / 1024 + 1;
    cache().insert(key, new Thumbnail(thumbnail), cost);
}

void clear() {
    cache().clear();
}

int decodeCount() {
    return decodes.load();
}

int finishedCount() {
    return finished.load();
}

} // namespace thumbnail_cache

#pragma once
// Thumbnails kept for the whole run, so that starting the presentation of the same folder
// again reuses the pictures already decoded. A thumbnail is a picture decoded at the size it
// takes in its cell, never the full-size decode; the cache holds a bounded amount of them.
#include <QImage>
#include <QSize>
#include <QString>
#include <optional>

namespace thumbnail_cache {

// A picture decoded for a cell: null image when the file does not decode.
struct Thumbnail {
    QImage image;
    QSize original; // upright full size the image was scaled from
    bool ok() const { return !image.isNull(); }
};

// A thumbnail's identity: the file as it is now (path, modification time, length) and the
// cell size in device pixels. Changing the file or the cell makes a new key.
struct Key {
    QString path;
    qint64 modified = 0; // milliseconds since the epoch, 0 when the file is not there
    qint64 bytes = -1;
    QSize cell;
    bool operator==(const Key&) const = default;
};
size_t qHash(const Key& key, size_t seed = 0);

// The key of a file for a cell, from the file's current state (GUI thread).
Key keyFor(const QString& path, QSize cell);

// Decodes a file scaled to the size the fitting rule gives it in `cell`. Safe on any thread.
Thumbnail decode(const QString& path, QSize cell);

// The cached thumbnail of a key (GUI thread).
std::optional<Thumbnail> find(const Key& key);
// Keeps a thumbnail, failures included, so the file is not tried again while unchanged.
void store(const Key& key, const Thumbnail& thumbnail);
void clear();

// Most memory the kept thumbnails may take; the least recently used go first.
inline constexpr qint64 kMaxBytes = qint64(256) << 20;

// How many decodes decode() has begun, and finished, since the program started.
int decodeCount();
int finishedCount();

} // namespace thumbnail_cache

#pragma once
// Thumbnails kept for the whole run, so that starting the presentation of the same folder
// again reuses the pictures already decoded. A thumbnail is a picture decoded at the size it
// takes in its cell, never the full-size decode; the cache holds a bounded amount of them.
#include <QImage>
#include <QSize>
#include <QString>

namespace thumbnail_cache {

// A picture decoded for a cell: null image when the file does not decode.
struct Thumbnail {
    QImage image;
    QSize original; // upright full size the image was scaled from
    bool ok() const { return !image.isNull(); }
};

// The thumbnail of a file for a cell of `cell` device pixels: the one kept when the file (path,
// modification time, length) and the cell are unchanged, otherwise the file decoded scaled to
// the size the fitting rule gives it in the cell, and kept, failures included, so that an
// unchanged file is not tried again. Safe on any thread.
Thumbnail fetch(const QString& path, QSize cell);
void clear();

// Most memory the kept thumbnails may take; the least recently used go first.
inline constexpr qint64 kMaxBytes = qint64(256) << 20;

// How many thumbnail decodes have begun, and finished, since the program started.
int decodeCount();
int finishedCount();

} // namespace thumbnail_cache

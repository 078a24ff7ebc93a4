#pragma once
// The thumbnails of the strip's cells, from the cheapest source that gives what decoding the
// picture would: thumbnails kept from earlier in the run, the desktop's shared thumbnail cache,
// the thumbnail a camera embedded in the photo, and only then the picture decoded. Whatever the
// source, a thumbnail is the picture at the size it takes in its cell (never larger), drawn
// at the place the fitting rule gives the picture, so the strip looks the same either way.
#include <QImage>
#include <QSize>
#include <QString>

namespace thumbnail_cache {

// Where a thumbnail came from.
enum class Source {
    Memory,  // kept from an earlier fetch of this run
    Shared,  // the desktop's shared thumbnail cache
    Camera,  // the thumbnail embedded in the photo's EXIF data
    Decoded, // the picture decoded (also when that failed)
};
inline constexpr int kSources = 4;
static_assert(kSources == int(Source::Decoded) + 1, "one count for each source");

// A picture made small for a cell: null image when the file does not decode.
struct Thumbnail {
    QImage image;
    QSize original; // upright full size of the picture
    Source source = Source::Decoded;
    bool ok() const { return !image.isNull(); }
};

// The thumbnail of a file for a cell of `cell` device pixels. Kept from earlier when the file
// (path, modification time, length) and the cell are unchanged. Otherwise, in this order: the
// shared cache's thumbnail when it is of the file as it is now and at least the drawn size;
// the camera's, when it has the photo's proportions and is at least the drawn size; or the file
// decoded. A picture that had to be decoded is decoded at the shared cache's size class for
// the cell (the cost is the same: JPEG decodes at an eighth of its size either way) and its
// thumbnail written to the shared cache afterwards, after the thumbnails queued before it; so
// is a camera's thumbnail that took real decoding (a progressive JPEG).
// Kept in memory, failures included, so that an unchanged file is not tried again; but not
// what a decode stopped midway (picture::cancelled) gave. Safe on any thread.
Thumbnail fetch(const QString& path, QSize cell);
// The largest thumbnail of the file kept from an earlier fetch, whatever its cell, while the
// file is unchanged; a null one when there is none. Never decodes: quick on any thread.
Thumbnail kept(const QString& path);
void clear();

// Most memory the kept thumbnails may take; the least recently used go first.
inline constexpr qint64 kMaxBytes = qint64(256) << 20;

// How many fetches each source has served since the program started; a decode counts when it
// begins.
int count(Source source);
// How many thumbnail decodes have finished since the program started.
int finishedCount();
// Thumbnails waiting to be written to the shared cache.
int writesPending();

} // namespace thumbnail_cache

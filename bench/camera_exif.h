#pragma once
// The EXIF data a camera writes into its photos, for the pictures the tests and the benchmark
// make.
#include <QByteArray>
#include <QList>
#include <QString>
#include <utility>

namespace hostile {

// Writes into the JPEG at `path` the orientation (1 to 8), the thumbnail unless it is empty,
// and `tags`: each an Exiv2 key with its value as text ("1/60" for a fraction). False when
// Exiv2 could not.
bool writeCameraExif(const QString& path, int orientation, const QByteArray& thumbnail,
                     const QList<std::pair<const char*, QString>>& tags = {});

} // namespace hostile

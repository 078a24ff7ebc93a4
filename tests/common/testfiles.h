#pragma once
// Files that tests make for themselves in temporary folders.
#include "bench/hostile_pictures.h"

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

#include <array>
#include <functional>

class QTemporaryDir;

namespace testfiles {
// Whether a process's peak memory says anything about the code: under AddressSanitizer freed
// memory is held back on purpose and every allocation carries shadow memory.
#ifdef __SANITIZE_ADDRESS__
inline constexpr bool kPeaksMeasured = false;
#else
inline constexpr bool kPeaksMeasured = true;
#endif
// A picture of one colour; the format follows the name's extension. Paths are taken as
// files::encodeName takes them.
void writePicture(const QString& path, QSize size, QColor colour);
void writeText(const QString& path, const QByteArray& bytes);
// A JPEG photo of `photo` (as stored) with an EXIF orientation (1 to 8) and, unless empty, an
// embedded thumbnail, as a camera writes them.
void writeCameraPhoto(const QString& path, const QImage& photo, int orientation,
                      const QByteArray& thumbnail);
QByteArray readAll(const QString& path);
// A folder inside `in`, nested so deep that a name in it of `room` bytes or more makes a path
// the system refuses to open.
QString deepFolder(const QString& in, int room);
// Writes a file whose path may be too long to open: reached folder by folder.
void writeDeep(const QString& path, const QByteArray& bytes);
// Sets the file's modification time to `seconds` before now, at `nanoseconds` within that
// second: a picture that has settled since it was written, or one written in a given second.
void setModified(const QString& path, qint64 seconds, long nanoseconds = 0);
using hostile::encode;
// Writes the bytes to a file of that name in the folder; its path.
QString written(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes);
// Quarters of these colours, from the top left to the bottom right: any turn or mirroring
// shows.
QImage quarters(QSize size,
                const std::array<QColor, 4>& colours = {Qt::red, Qt::green, Qt::blue, Qt::yellow});
// The largest difference of one channel between two colours.
int colourGap(QRgb a, QRgb b);
// A picture of random pixels, encoded in a format: its data is most of the file.
QByteArray noisePicture(QSize size, const char* format);
// How many kilobytes the process's peak resident memory rose above what it held before `work`
// ran; -1 where the peak cannot be reset (/proc/self/clear_refs) or says nothing (under
// AddressSanitizer). `work` runs either way.
qint64 peakGrowthKb(const std::function<void()>& work);
// The number after `field` in a /proc file of the process ("VmHWM:" in status); -1 without one.
qint64 procNumber(const char* file, const char* field);
} // namespace testfiles

#include "common/testfiles.h"

#include "base/files.h"
#include "bench/camera_exif.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <climits>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace testfiles {

void writePicture(const QString& path, QSize size, QColor colour) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(colour);
    const QByteArray bytes = encode(img, QFileInfo(path).suffix().toLatin1().constData());
    QVERIFY2(!bytes.isEmpty(), qPrintable(path));
    writeText(path, bytes);
}

void setModified(const QString& path, qint64 seconds, long nanoseconds) {
    const timespec when{time_t(::time(nullptr) - seconds), nanoseconds};
    const timespec times[2] = {when, when};
    QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0);
}

void writeText(const QString& path, const QByteArray& bytes) {
    // Through the name's bytes: a test may name a file with bytes that are not UTF-8.
    QFile f;
    const int fd = ::open(files::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    QVERIFY2(fd >= 0 && f.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle) &&
                 f.write(bytes) == bytes.size(),
             qPrintable(path));
}

void writeCameraPhoto(const QString& path, const QImage& photo, int orientation,
                      const QByteArray& thumbnail) {
    QVERIFY(photo.save(path, "jpeg"));
    QVERIFY(hostile::writeCameraExif(path, orientation, thumbnail));
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString deepFolder(const QString& in, int room) {
    QString folder = in;
    for (;;) {
        const qsizetype left = PATH_MAX - 1 - room - files::encodeName(folder).size() - 1;
        if (left < 1) return {};
        const QByteArray level(std::min<qsizetype>(left, 200), 'd');
        const int at = ::open(files::encodeName(folder).constData(), O_DIRECTORY | O_RDONLY);
        const bool made = at >= 0 && ::mkdirat(at, level.constData(), 0700) == 0;
        if (at >= 0) ::close(at);
        if (!made) return {};
        folder += '/' + QString::fromLatin1(level);
        if (level.size() == left) return folder;
    }
}

void writeDeep(const QString& path, const QByteArray& bytes) {
    const QList<QByteArray> parts = files::encodeName(path).split('/');
    int at = ::open("/", O_DIRECTORY | O_RDONLY);
    for (qsizetype i = 1; i + 1 < parts.size() && at >= 0; ++i) {
        const int inner = ::openat(at, parts[i].constData(), O_DIRECTORY | O_RDONLY);
        ::close(at);
        at = inner;
    }
    const int fd = at >= 0 ? ::openat(at, parts.last().constData(), O_WRONLY | O_CREAT, 0600) : -1;
    if (at >= 0) ::close(at);
    QVERIFY2(fd >= 0 && ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size(),
             qPrintable(path));
    ::close(fd);
}

QString written(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    writeText(dir.filePath(name), bytes);
    return dir.filePath(name);
}

QImage quarters(QSize size, const std::array<QColor, 4>& colours) {
    QImage image(size, QImage::Format_RGB32);
    const int w = size.width(), h = size.height();
    QPainter p(&image);
    p.fillRect(0, 0, w / 2, h / 2, colours[0]);
    p.fillRect(w / 2, 0, w - w / 2, h / 2, colours[1]);
    p.fillRect(0, h / 2, w / 2, h - h / 2, colours[2]);
    p.fillRect(w / 2, h / 2, w - w / 2, h - h / 2, colours[3]);
    return image;
}

int colourGap(QRgb a, QRgb b) {
    return std::max(
        {qAbs(qRed(a) - qRed(b)), qAbs(qGreen(a) - qGreen(b)), qAbs(qBlue(a) - qBlue(b))});
}

QByteArray noisePicture(QSize size, const char* format) {
    QImage image(size, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, random.generate() | 0xFF000000u);
    return encode(image, format);
}

qint64 procNumber(const char* file, const char* field) {
    for (const QByteArray& line : readAll(QString::fromLatin1(file)).split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ')[0].toLongLong();
    return -1;
}

qint64 peakGrowthKb(const std::function<void()>& work) {
    QFile reset(QStringLiteral("/proc/self/clear_refs"));
    if (!kPeaksMeasured || !reset.open(QIODevice::WriteOnly) || reset.write("5") != 1) {
        work();
        return -1;
    }
    reset.close();
    const qint64 before = procNumber("/proc/self/status", "VmRSS:");
    work();
    const qint64 peak = procNumber("/proc/self/status", "VmHWM:");
    return before < 0 || peak < 0 ? -1 : peak - before;
}

} // namespace testfiles

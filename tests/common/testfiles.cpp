#include "common/testfiles.h"

#include <QBuffer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <exiv2/exiv2.hpp>

namespace testfiles {

void writePicture(const QString& path, QSize size, QColor colour) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(colour);
    QVERIFY2(img.save(path), qPrintable(path));
}

void writeText(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size(), qPrintable(path));
}

void writeCameraPhoto(const QString& path, const QImage& photo, int orientation,
                      const QByteArray& thumbnail) {
    QVERIFY(photo.save(path, "jpeg"));
    const auto image = Exiv2::ImageFactory::open(QFile::encodeName(path).toStdString());
    Exiv2::ExifData exif;
    exif["Exif.Image.Orientation"] = uint16_t(orientation);
    if (!thumbnail.isEmpty())
        Exiv2::ExifThumb(exif).setJpegThumbnail(
            reinterpret_cast<const Exiv2::byte*>(thumbnail.constData()), thumbnail.size());
    image->setExifData(exif);
    image->writeMetadata();
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray encode(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QString written(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    writeText(path, bytes);
    return path;
}

QByteArray noisePicture(QSize size, const char* format) {
    QImage image(size, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, random.generate() | 0xFF000000u);
    return encode(image, format);
}

namespace {
qint64 statusKb(const char* field) {
    for (const QByteArray& line : readAll(QStringLiteral("/proc/self/status")).split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ')[0].toLongLong();
    return -1;
}
} // namespace

qint64 peakGrowthKb(const std::function<void()>& work) {
    QFile reset(QStringLiteral("/proc/self/clear_refs"));
    if (!kPeaksMeasured || !reset.open(QIODevice::WriteOnly) || reset.write("5") != 1) {
        work();
        return -1;
    }
    reset.close();
    const qint64 before = statusKb("VmRSS:");
    work();
    const qint64 peak = statusKb("VmHWM:");
    return before < 0 || peak < 0 ? -1 : peak - before;
}

} // namespace testfiles

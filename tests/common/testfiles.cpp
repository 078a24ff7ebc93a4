#include "common/testfiles.h"

#include <QFile>
#include <QImage>
#include <QTest>

namespace testfiles {

void writePicture(const QString& path, QSize size, QColor colour, const char* format) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(colour);
    QVERIFY2(img.save(path, format), qPrintable(path));
}

void writeText(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly), qPrintable(path));
    f.write(bytes);
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace testfiles

#pragma once
// Files that tests make for themselves in temporary folders.
#include <QColor>
#include <QSize>
#include <QString>

namespace testfiles {
// A picture of one colour; the format follows the name's extension unless given.
void writePicture(const QString& path, QSize size, QColor colour, const char* format = nullptr);
void writeText(const QString& path, const QByteArray& bytes);
// A picture of random pixels, encoded in a format: its data is most of the file.
QByteArray noisePicture(QSize size, const char* format);
QByteArray readAll(const QString& path);
} // namespace testfiles

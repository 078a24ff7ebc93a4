// Writes the seed corpora of the fuzz targets: presentation files of several shapes, and
// small pictures of every common format, whole, cut short and with a damaged body.
//   make_seeds OUTDIR   ->  OUTDIR/presentation_file/*, OUTDIR/picture/*
#include "framework/values.h"
#include "state/presentation_file.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <cstdio>

namespace pf = presentation_file;

namespace {

bool failed = false;

void put(const QString& folder, const QString& name, const QByteArray& bytes) {
    QFile f(QDir(folder).filePath(name));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(f.fileName()));
        failed = true;
    }
}

QByteArray bytesOf(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values)
        out += char(v);
    return out;
}

// ------------------------------------------------------------------ presentation files

pf::Data presentation(int pictures, int notes) {
    pf::Data d;
    d.folder = QStringLiteral("/home/user/Pictures/Vacanze 2023");
    d.thumb_pos = 2;
    d.percent = 20;
    d.fill = true;
    d.display = true;
    d.ombra = 3;
    d.count = pictures;
    const QColor colours[] = {HSV(0, 0, 0.6),    HSV(0, 0, 0.8), HSV(0, 0, 0),      HSV(0, 1, 0.5),
                              HSV(0.55, 0.3, 1), HSV(0, 0, 0),   HSV(1.0 / 3, 1, 1)};
    for (int i = 0; i < colour::kCount; ++i)
        pf::setColour(d, i, colours[i]);
    for (int i = 0; i < notes; ++i)
        d.notes.push_back({QStringLiteral("Nota %1: città\tdi notte").arg(i + 1),
                           QStringLiteral("Liberation Sans"), QStringLiteral("24"),
                           QStringLiteral("1"), QStringLiteral("0"), QString::number(i % 2),
                           QString::number(i % 6), QString::number((i + 1) % 2),
                           QStringLiteral("10"), QStringLiteral("20"), QStringLiteral("-30"),
                           QStringLiteral("-40"), QString::number(1 + i % 9)});
    return d;
}

QByteArray withLineEnds(QByteArray crFile, const QByteArray& end) {
    return crFile.replace('\r', end);
}

// The 28 setting lines with every value given as `value`, and `count` pictures.
QByteArray hostile(const QByteArray& value, const QByteArray& count) {
    QByteArray out = "/tmp/x\r";
    for (int i = 0; i < 26; ++i)
        out += value + '\r';
    out += count + '\r';
    for (int i = 0; i < 13; ++i)
        out += value + '\r';
    return out;
}

void presentationSeeds(const QString& folder) {
    const QByteArray three = pf::write(presentation(3, 3));
    put(folder, "empty.v69", {});
    put(folder, "no-pictures.v69", pf::write(presentation(0, 0)));
    put(folder, "one-empty-note.v69", pf::write(presentation(1, 0)));
    put(folder, "three-notes.v69", three);
    put(folder, "notes-for-two-of-five.v69", pf::write(presentation(5, 2)));
    put(folder, "lf.v69", withLineEnds(three, "\n"));
    put(folder, "crlf.v69", withLineEnds(three, "\r\n"));
    put(folder, "bom.v69", "\xEF\xBB\xBF" + three);
    put(folder, "cut-in-a-note.v69", three.left(three.size() - 40));
    put(folder, "cut-in-the-settings.v69", three.left(60));
    put(folder, "folder-only.v69", "/home/user/Pictures");
    put(folder, "count-int-max.v69", hostile("0", "2147483647"));
    put(folder, "count-negative.v69", hostile("0", "-5"));
    put(folder, "huge-numbers.v69", hostile("1e300", "99999999999"));
    put(folder, "negative-numbers.v69", hostile("-1e300", "1"));
    put(folder, "words.v69", hostile("nan", "inf"));
    put(folder, "fractions.v69", hostile(" +.5e-3\t7", "2.9"));
    put(folder, "invalid-utf8.v69", hostile("\xC3\x28\xFF\xFE", "1"));
}

// ------------------------------------------------------------------ pictures

QImage sample(int w, int h, QImage::Format format) {
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.fillRect(0, 0, w / 2, h, QColor(200, 30, 30));
    p.fillRect(w / 2, 0, w - w / 2, h / 2, QColor(30, 60, 220, 160));
    p.drawLine(0, 0, w - 1, h - 1);
    p.end();
    return image.convertToFormat(format);
}

QByteArray encode(const QImage& image, const char* format, int quality = -1,
                  bool progressive = false) {
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    writer.setProgressiveScanWrite(progressive);
    if (!writer.write(image)) {
        std::fprintf(stderr, "cannot encode %s: %s\n", format, qPrintable(writer.errorString()));
        failed = true;
    }
    return out;
}

// A JPEG with an EXIF segment that turns it a quarter to the right.
QByteArray rotatedJpeg(QByteArray jpeg) {
    const QByteArray app1 = bytesOf({0xFF, 0xE1, 0x00, 34}) + QByteArray("Exif\0\0", 6) +
                            bytesOf({'M', 'M', 0, 0x2A, 0, 0, 0, 8, 0, 1}) +
                            bytesOf({0x01, 0x12, 0, 3, 0, 0, 0, 1, 0, 6, 0, 0, 0, 0, 0, 0});
    return jpeg.insert(2, app1);
}

// The toolkit reads GIF but does not write it: a 2 x 1 picture and a two-frame animation.
QByteArray gif(bool animated) {
    const QByteArray frame = bytesOf({',', 0, 0, 0, 0, 2, 0, 1, 0, 0, 2, 2, 0x44, 0x01, 0});
    QByteArray out = QByteArray("GIF89a") + bytesOf({2, 0, 1, 0, 0x80, 0, 0}) +
                     bytesOf({0, 0, 0, 255, 255, 255});
    if (animated) {
        out += bytesOf({0x21, 0xFF, 11}) + QByteArray("NETSCAPE2.0") + bytesOf({3, 1, 0, 0, 0});
        out += bytesOf({0x21, 0xF9, 4, 0, 10, 0, 0, 0}) + frame;
        out += bytesOf({0x21, 0xF9, 4, 0, 10, 0, 0, 0});
    }
    return out + frame + ';';
}

// The header stays whole, the rest of the file is overwritten with noise.
QByteArray damagedBody(QByteArray bytes, int keep) {
    for (qsizetype i = keep; i < bytes.size(); ++i)
        bytes[i] = char((i * 151 + 7) & 0xFF);
    return bytes;
}

void pictureSeeds(const QString& folder) {
    struct Seed {
        const char* name;
        QByteArray bytes;
        int header; // bytes that make the header
    };
    const QImage rgb = sample(24, 16, QImage::Format_RGB32);
    const std::vector<Seed> seeds = {
        {"rgb.png", encode(rgb, "png"), 33},
        {"alpha.png", encode(sample(16, 16, QImage::Format_ARGB32), "png"), 33},
        {"gray.png", encode(sample(16, 8, QImage::Format_Grayscale8), "png"), 33},
        {"palette.png", encode(sample(9, 7, QImage::Format_Indexed8), "png"), 33},
        {"mono.png", encode(sample(33, 5, QImage::Format_Mono), "png"), 33},
        {"baseline.jpg", encode(rgb, "jpeg", 60), 200},
        {"progressive.jpg", encode(rgb, "jpeg", 60, true), 200},
        {"gray.jpg", encode(sample(16, 16, QImage::Format_Grayscale8), "jpeg", 50), 200},
        {"rotated.jpg", rotatedJpeg(encode(rgb, "jpeg", 40)), 230},
        {"rgb.bmp", encode(sample(7, 5, QImage::Format_RGB32), "bmp"), 54},
        {"mono.bmp", encode(sample(9, 3, QImage::Format_Mono), "bmp"), 62},
        {"still.gif", gif(false), 19},
        {"animated.gif", gif(true), 19},
        {"rgb.tif", encode(sample(8, 6, QImage::Format_RGB32), "tiff"), 8},
        {"rgb.webp", encode(sample(8, 6, QImage::Format_RGB32), "webp", 50), 30},
        {"icon.ico", encode(sample(16, 16, QImage::Format_ARGB32), "ico"), 22},
    };
    put(folder, "zero-bytes", {});
    for (const Seed& s : seeds) {
        put(folder, s.name, s.bytes);
        put(folder, QStringLiteral("half-%1").arg(s.name), s.bytes.left(s.bytes.size() / 2));
        put(folder, QStringLiteral("header-only-%1").arg(s.name), s.bytes.left(s.header));
        if (s.bytes.size() > s.header + 8)
            put(folder, QStringLiteral("damaged-%1").arg(s.name), damagedBody(s.bytes, s.header));
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds OUTDIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    for (const char* target : {"presentation_file", "picture"})
        if (!out.mkpath(QLatin1String(target))) {
            std::fprintf(stderr, "cannot make %s/%s\n", argv[1], target);
            return 1;
        }
    presentationSeeds(out.filePath("presentation_file"));
    pictureSeeds(out.filePath("picture"));
    return failed ? 1 : 0;
}

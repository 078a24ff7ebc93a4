// Every kind of picture through the loader: HEIC and AVIF made here with libheif's encoders,
// SVG, pictures with a colour profile, and each kind cut short or damaged.
#include "bench/hostile_pictures.h"
#include "common/testfiles.h"
#include "pictures/decode/picture.h"

#include <QColorSpace>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <png.h>
#include <vector>

namespace {

// Left half red, right half blue.
QImage halves(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::red);
    QPainter(&image).fillRect(size.width() / 2, 0, size.width(), size.height(), Qt::blue);
    return image;
}

// The picture as phones write it: the extent of the picture as stored and the turn listed
// after it, where libheif 1.15 writes the turned extent with the turn before it.
QByteArray asPhonesWrite(QByteArray f) {
    const qsizetype ipco = f.indexOf("ipco"), ipma = f.indexOf("ipma");
    int index = 0, irot = 0, ispe = 0;
    for (qsizetype at = ipco + 4; at + 8 < ipma;
         at += qFromBigEndian<quint32>(f.constData() + at)) {
        const QByteArray type = f.mid(at + 4, 4);
        ++index;
        if (type == "irot" && !irot) irot = index;
        if (type == "ispe" && !ispe) {
            ispe = index;
            const QByteArray w = f.mid(at + 12, 4);
            f.replace(at + 12, 4, f.mid(at + 16, 4));
            f.replace(at + 16, 4, w);
        }
    }
    // The first item's associations follow the box's version, flags and count, the item's
    // number and the associations' count.
    const qsizetype list = ipma + 15, count = quint8(f[list - 1]);
    qsizetype at = -1, it = -1;
    for (qsizetype i = list; i < list + count; ++i) {
        at = (f[i] & 0x7F) == irot ? i : at;
        it = (f[i] & 0x7F) == ispe ? i : it;
    }
    if (at < 0 || it < at) return {};
    std::swap(f[at], f[it]);
    return f;
}

// A PNG written by libpng itself, of every sample depth, colour type and interlacing the
// toolkit's writer never makes: a pattern of all levels, a palette (or grey level, or colour)
// made transparent by a tRNS chunk when asked.
QByteArray libpngWritten(int w, int h, int depth, int type, bool interlaced, bool transparency) {
    QByteArray out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep data, size_t n) {
            static_cast<QByteArray*>(png_get_io_ptr(p))
                ->append(reinterpret_cast<char*>(data), qsizetype(n));
        },
        nullptr);
    png_set_IHDR(png, info, png_uint_32(w), png_uint_32(h), depth, type,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE,
                 PNG_FILTER_TYPE_BASE);
    const int levels = 1 << std::min(depth, 8);
    png_color palette[256];
    png_byte alphas[256];
    for (int i = 0; i < 256; ++i) {
        palette[i] = {png_byte(i * 37), png_byte(255 - i), png_byte(i * 11)};
        alphas[i] = png_byte(i * 255 / std::max(levels - 1, 1));
    }
    if (type == PNG_COLOR_TYPE_PALETTE) png_set_PLTE(png, info, palette, levels);
    png_color_16 key{};
    key.gray = png_uint_16(levels / 3);
    key.red = key.green = key.blue = png_uint_16(levels / 3);
    if (transparency)
        png_set_tRNS(png, info, type == PNG_COLOR_TYPE_PALETTE ? alphas : nullptr,
                     type == PNG_COLOR_TYPE_PALETTE ? levels / 2 : 0, &key);
    png_write_info(png, info);
    const int channels = png_get_channels(png, info);
    const int bytes = depth / 8 ? depth / 8 : 1;
    const size_t rowBytes = png_get_rowbytes(png, info);
    std::vector<png_byte> pixels(rowBytes * size_t(h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < channels; ++c) {
                const int v = (x * 7 + y * 13 + c * 5) % (depth == 16 ? 65536 : levels);
                const size_t bit = (size_t(x) * channels + size_t(c)) * size_t(depth);
                png_byte* row = pixels.data() + rowBytes * size_t(y);
                if (depth < 8)
                    row[bit / 8] |= png_byte(v << (8 - depth - int(bit % 8)));
                else
                    for (int b = 0; b < bytes; ++b)
                        row[bit / 8 + size_t(b)] = png_byte(v >> (8 * (bytes - 1 - b)));
            }
    std::vector<png_bytep> rows(static_cast<size_t>(h));
    for (int y = 0; y < h; ++y)
        rows[size_t(y)] = pixels.data() + rowBytes * size_t(y);
    png_write_image(png, rows.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

bool near(QRgb c, QRgb expected, int tolerance = 12) {
    return std::abs(qRed(c) - qRed(expected)) <= tolerance &&
           std::abs(qGreen(c) - qGreen(expected)) <= tolerance &&
           std::abs(qBlue(c) - qBlue(expected)) <= tolerance;
}

} // namespace

class PictureFormatsTest : public QObject {
    Q_OBJECT
  private slots:
    void heif_data() {
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<int>("divisor");
        QTest::addColumn<QSize>("upright");
        QTest::addColumn<bool>("redFirst"); // red at the top left, blue at the bottom right
        QTest::addColumn<bool>("asPhones");
        for (int divisor : {1, 4})
            for (const auto& [format, name] :
                 {std::pair{hostile::Heic, "heic"}, std::pair{hostile::Avif, "avif"}}) {
                const QByteArray tag = QByteArray(name) + (divisor == 1 ? " full" : " quarter");
                QTest::newRow(tag + " upright")
                    << int(format) << 1 << divisor << QSize(256, 128) << true << false;
                for (bool asPhones : {false, true}) {
                    const QByteArray as = asPhones ? " as phones write" : "";
                    QTest::newRow(tag + " turned right" + as)
                        << int(format) << 6 << divisor << QSize(128, 256) << true << asPhones;
                    QTest::newRow(tag + " turned left" + as)
                        << int(format) << 8 << divisor << QSize(128, 256) << false << asPhones;
                }
            }
    }
    void heif() {
        QFETCH(int, format);
        QFETCH(int, orientation);
        QFETCH(int, divisor);
        QFETCH(QSize, upright);
        QFETCH(bool, redFirst);
        QFETCH(bool, asPhones);
        QByteArray bytes =
            hostile::encodeHeif(halves({256, 128}), hostile::HeifKind(format), orientation);
        if (bytes.isEmpty()) QSKIP("libheif cannot encode this format here");
        if (asPhones) bytes = asPhonesWrite(bytes);
        QVERIFY(!bytes.isEmpty());
        QTemporaryDir dir;
        const QString path = testfiles::written(dir, "photo", bytes);
        QCOMPARE(probePicture(path).size, upright);
        const LoadedPicture p = loadPicture(path, [&](QSize full) { return full / divisor; });
        QCOMPARE(p.original, upright);
        const QSize drawn = upright / divisor;
        QCOMPARE(p.image.size(), drawn);
        const QRgb first = p.image.pixel(drawn.width() / 4, drawn.height() / 4);
        const QRgb last = p.image.pixel(drawn.width() * 3 / 4, drawn.height() * 3 / 4);
        QVERIFY(near(first, redFirst ? qRgb(255, 0, 0) : qRgb(0, 0, 255), 40));
        QVERIFY(near(last, redFirst ? qRgb(0, 0, 255) : qRgb(255, 0, 0), 40));
    }

    void heifThumbnailServesSmallDecodes() {
        const QByteArray bytes = hostile::encodeHeif(halves({1024, 512}), hostile::Heic, 1, 256);
        if (bytes.isEmpty()) QSKIP("libheif cannot encode HEIC here");
        QTemporaryDir dir;
        const QString path = testfiles::written(dir, "photo.heic", bytes);
        // Drawn no larger than the thumbnail, the decode needs far less than the picture's.
        QVERIFY(picture::decodeBytes(path, {200, 100}) < picture::decodeBytes(path, {1024, 512}));
        const LoadedPicture p = loadPicture(path, [](QSize) { return QSize(200, 100); });
        QCOMPARE(p.original, QSize(1024, 512));
        QCOMPARE(p.image.size(), QSize(200, 100));
        QVERIFY(near(p.image.pixel(40, 50), qRgb(255, 0, 0), 40));
    }

    // CMYK from print workflows takes the toolkit's reader, which knows their conventions.
    void cmykJpeg() {
        QTemporaryDir dir;
        const QString path = testfiles::written(
            dir, "print.jpg", hostile::cmykJpeg(64, 48, QByteArray("\0\xFF\xFF\0", 4)));
        for (const QSize drawn : {QSize(64, 48), QSize(16, 12)})
            QCOMPARE(loadPicture(path, [&](QSize) { return drawn; }).image.size(), drawn);
    }

    // PNG pictures of every kind decode to the pixels the toolkit's reader gives.
    void pngKinds_data() {
        QTest::addColumn<int>("depth");
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("interlaced");
        QTest::addColumn<bool>("transparency");
        const struct {
            const char* name;
            int depth, type;
        } kinds[] = {{"grey 1-bit", 1, PNG_COLOR_TYPE_GRAY},
                     {"grey 2-bit", 2, PNG_COLOR_TYPE_GRAY},
                     {"grey 8-bit", 8, PNG_COLOR_TYPE_GRAY},
                     {"grey 16-bit", 16, PNG_COLOR_TYPE_GRAY},
                     {"grey and alpha", 8, PNG_COLOR_TYPE_GRAY_ALPHA},
                     {"palette 1-bit", 1, PNG_COLOR_TYPE_PALETTE},
                     {"palette 4-bit", 4, PNG_COLOR_TYPE_PALETTE},
                     {"palette 8-bit", 8, PNG_COLOR_TYPE_PALETTE},
                     {"rgb", 8, PNG_COLOR_TYPE_RGB},
                     {"rgba", 8, PNG_COLOR_TYPE_RGB_ALPHA},
                     {"rgb 16-bit", 16, PNG_COLOR_TYPE_RGB},
                     {"rgba 16-bit", 16, PNG_COLOR_TYPE_RGB_ALPHA}};
        for (const auto& k : kinds)
            for (const bool interlaced : {false, true}) {
                const char* how = interlaced ? ", interlaced" : "";
                QTest::addRow("%s%s", k.name, how) << k.depth << k.type << interlaced << false;
                if (!(k.type & PNG_COLOR_MASK_ALPHA))
                    QTest::addRow("%s, tRNS%s", k.name, how)
                        << k.depth << k.type << interlaced << true;
            }
    }
    void pngKinds() {
        QFETCH(int, depth);
        QFETCH(int, type);
        QFETCH(bool, interlaced);
        QFETCH(bool, transparency);
        QTemporaryDir dir;
        const QString path = testfiles::written(
            dir, "kind.png", libpngWritten(37, 21, depth, type, interlaced, transparency));
        // The toolkit's reader takes 16-bit colour with a tRNS chunk for 64-bit pixels and gets
        // 48-bit rows: no pixel here has the transparent colour, so the picture is that
        // picture without the chunk, with an alpha channel.
        const bool misread = depth == 16 && type == PNG_COLOR_TYPE_RGB && transparency;
        const QImage expected =
            misread ? QImage::fromData(libpngWritten(37, 21, depth, type, interlaced, false))
                          .convertToFormat(QImage::Format_RGBA64)
                    : QImage(path);
        QVERIFY(!expected.isNull());
        const LoadedPicture p = loadPicture(path);
        QCOMPARE(p.image.format(), expected.format());
        QCOMPARE(p.image.convertToFormat(QImage::Format_ARGB32),
                 expected.convertToFormat(QImage::Format_ARGB32));
    }

    // A BMP stored top down (a negative height) shows the right way up, as one stored bottom up.
    void topDownBmp_data() {
        QTest::addColumn<bool>("topDown");
        QTest::newRow("bottom up") << false;
        QTest::newRow("top down") << true;
    }
    void topDownBmp() {
        QFETCH(bool, topDown);
        const int w = 8, h = 6, rowBytes = (w * 3 + 3) / 4 * 4;
        QByteArray pixels;
        for (int y = 0; y < h; ++y) {
            const int row = topDown ? y : h - 1 - y; // from the top: red, then blue
            pixels += QByteArray(row < h / 2 ? "\0\0\xFF" : "\xFF\0\0", 3).repeated(w) +
                      QByteArray(rowBytes - w * 3, '\0');
        }
        QByteArray header(54, '\0');
        header[0] = 'B';
        header[1] = 'M';
        qToLittleEndian<quint32>(quint32(54 + pixels.size()), header.data() + 2);
        qToLittleEndian<quint32>(54, header.data() + 10);
        qToLittleEndian<quint32>(40, header.data() + 14);
        qToLittleEndian<qint32>(w, header.data() + 18);
        qToLittleEndian<qint32>(topDown ? -h : h, header.data() + 22);
        qToLittleEndian<quint16>(1, header.data() + 26);
        qToLittleEndian<quint16>(24, header.data() + 28);
        QTemporaryDir dir;
        const QString path = testfiles::written(dir, "picture.bmp", header + pixels);
        QCOMPARE(probePicture(path).size, QSize(w, h));
        const LoadedPicture p = loadPicture(path);
        QCOMPARE(p.image.size(), QSize(w, h));
        QCOMPARE(p.image.pixel(3, 0), qRgb(255, 0, 0));
        QCOMPARE(p.image.pixel(3, h - 1), qRgb(0, 0, 255));
    }

    // sRGB red and green stored in a wider space with its profile come out as they were.
    void taggedColours_data() {
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<int>("space");
        QTest::addColumn<bool>("shrunk");
        for (const char* format : {"jpeg", "png", "tiff", "webp", "heic"})
            for (bool shrunk : {false, true}) {
                const QByteArray tag = QByteArray(format) + (shrunk ? " shrunk" : " full");
                QTest::newRow(tag + " Adobe RGB")
                    << QByteArray(format) << int(QColorSpace::AdobeRgb) << shrunk;
                QTest::newRow(tag + " Display P3")
                    << QByteArray(format) << int(QColorSpace::DisplayP3) << shrunk;
            }
    }
    void taggedColours() {
        QFETCH(QByteArray, format);
        QFETCH(int, space);
        QFETCH(bool, shrunk);
        const QRgb red = qRgb(0xFF, 0, 0), green = qRgb(0, 0xC0, 0);
        QImage image(64, 48, QImage::Format_RGB32);
        image.fill(red);
        QPainter(&image).fillRect(32, 0, 32, 48, QColor(green));
        image.setColorSpace(QColorSpace::SRgb);
        image.convertToColorSpace(QColorSpace(QColorSpace::NamedColorSpace(space)));
        QVERIFY(!near(image.pixel(8, 24), red)); // stored as other numbers
        const QByteArray bytes = format == "heic" ? hostile::encodeHeif(image, hostile::Heic, 1)
                                                  : testfiles::encode(image, format.constData());
        if (bytes.isEmpty()) QSKIP("cannot encode here");
        QTemporaryDir dir;
        const QString path = testfiles::written(dir, "tagged", bytes);
        const LoadedPicture p =
            loadPicture(path, [&](QSize full) { return shrunk ? full / 2 : full; });
        QCOMPARE(p.image.size(), shrunk ? QSize(32, 24) : QSize(64, 48));
        const int x = p.image.width() / 8, y = p.image.height() / 2;
        QVERIFY2(near(p.image.pixel(x, y), red), qPrintable(QColor(p.image.pixel(x, y)).name()));
        QVERIFY2(near(p.image.pixel(p.image.width() - 1 - x, y), green),
                 qPrintable(QColor(p.image.pixel(p.image.width() - 1 - x, y)).name()));
    }

    void svg_data() {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<QSize>("size"); // invalid: refused
        const QByteArray rects = "<rect width='1' height='1' fill='red'/>"
                                 "<rect x='1' width='1' height='1' fill='blue'/></svg>";
        QTest::newRow("sized") << "<svg xmlns='http://www.w3.org/2000/svg' width='200' "
                                  "height='100' viewBox='0 0 2 1'>" +
                                      rects
                               << QSize(200, 100);
        QTest::newRow("view box only")
            << "<?xml version='1.0'?>\n<svg xmlns='http://www.w3.org/2000/svg' "
               "viewBox='0 0 2 1' width='300' height='150'>" +
                   rects
            << QSize(300, 150);
        QTest::newRow("not svg") << QByteArray("<html><body>hello</body></html>") << QSize();
    }
    void svg() {
        QFETCH(QByteArray, document);
        QFETCH(QSize, size);
        QTemporaryDir dir;
        for (const QString& name : {QStringLiteral("plain.svg"), QStringLiteral("packed.svgz")}) {
            const QString path = testfiles::written(
                dir, name, name.endsWith('z') ? hostile::gzipped(document) : document);
            QCOMPARE(probePicture(path).ok, size.isValid());
            const LoadedPicture p = loadPicture(path, [](QSize full) { return full / 2; });
            QCOMPARE(p.isNull(), !size.isValid());
            if (p.isNull()) continue;
            QCOMPARE(p.image.size(), size / 2);
            QVERIFY(near(p.image.pixel(5, 5), qRgb(255, 0, 0)));
            QVERIFY(near(p.image.pixel(size.width() / 2 - 5, 5), qRgb(0, 0, 255)));
        }
    }

    // Every format the program lists as read, written as the tools that write it do: the
    // picture comes whole, at its size, each quarter in its colour (in grey or black and
    // white where the format has no more).
    void everyListedFormat_data() {
        QTest::addColumn<QByteArray>("format");
        for (const char* format : {"jpeg",
                                   "png",
                                   "gif",
                                   "bmp",
                                   "webp",
                                   "tiff",
                                   "heic",
                                   "avif",
                                   "svg",
                                   "svgz",
                                   "ico",
                                   "cur",
                                   "pbm",
                                   "pgm",
                                   "ppm",
                                   "xbm",
                                   "xpm",
                                   "wbmp",
                                   "tga",
                                   "tga rle",
                                   "tga grey",
                                   "tga mapped",
                                   "tga 16 from the top right",
                                   "tga alpha with footer",
                                   "tga by ImageMagick",
                                   "tga rle by ImageMagick",
                                   "tga grey by ImageMagick"})
            QTest::newRow(format) << QByteArray(format);
    }
    void everyListedFormat() {
        QFETCH(QByteArray, format);
        // Quarters: black, white / red, blue.
        QImage source(64, 48, QImage::Format_RGB32);
        QPainter painter(&source);
        painter.fillRect(0, 0, 32, 24, Qt::black);
        painter.fillRect(32, 0, 32, 24, Qt::white);
        painter.fillRect(0, 24, 32, 24, QColor(200, 30, 30));
        painter.fillRect(32, 24, 32, 24, QColor(30, 60, 220));
        painter.end();
        const bool mono = format == "pbm" || format == "xbm" || format == "wbmp";
        const bool grey = format == "pgm" || format.contains("grey");
        const QImage shown = mono ? source.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither)
                             : grey ? source.convertToFormat(QImage::Format_Grayscale8)
                                    : source;
        QByteArray bytes;
        const hostile::TgaStyle styles[] = {hostile::TgaPlain,      hostile::TgaRle,
                                            hostile::TgaGrey,       hostile::TgaMapped,
                                            hostile::Tga16TopRight, hostile::TgaAlphaFooter};
        const QList<QByteArray> tgaRows{"tga",
                                        "tga rle",
                                        "tga grey",
                                        "tga mapped",
                                        "tga 16 from the top right",
                                        "tga alpha with footer"};
        if (format == "heic" || format == "avif") {
            bytes =
                hostile::encodeHeif(source, format == "heic" ? hostile::Heic : hostile::Avif, 1);
        } else if (format == "svg" || format == "svgz") {
            const QByteArray svg = "<svg xmlns='http://www.w3.org/2000/svg' width='64' height='48'>"
                                   "<rect width='32' height='24' fill='#000000'/>"
                                   "<rect x='32' width='32' height='24' fill='#ffffff'/>"
                                   "<rect y='24' width='32' height='24' fill='#c81e1e'/>"
                                   "<rect x='32' y='24' width='32' height='24' fill='#1e3cdc'/>"
                                   "</svg>";
            bytes = format == "svg" ? svg : hostile::gzipped(svg);
        } else if (tgaRows.contains(format)) {
            bytes = hostile::tga(shown, styles[tgaRows.indexOf(format)]);
        } else if (format == "gif" || format.endsWith("by ImageMagick")) {
            // Formats the toolkit does not write, as ImageMagick writes them.
            QTemporaryDir dir;
            const QString png =
                testfiles::written(dir, "source.png", testfiles::encode(source, "png"));
            const QString out = dir.filePath(format == "gif" ? "out.gif" : "out.tga");
            QStringList arguments{png};
            if (format.contains("rle"))
                arguments << "-compress"
                          << "RLE";
            if (format.contains("grey"))
                arguments << "-colorspace"
                          << "Gray";
            if (QProcess::execute("convert", arguments << out) != 0)
                QSKIP("ImageMagick's convert is not installed");
            bytes = testfiles::readAll(out);
        } else {
            bytes = testfiles::encode(shown, format.constData());
        }
        if (bytes.isEmpty()) QSKIP("cannot write this format here");
        // ImageMagick 6 stores a TGA's top row first while its header says the bottom row comes
        // first: every reader that follows the header (GIMP, the toolkit's own) shows it upside
        // down, and so does this one.
        const bool upsideDown = format.endsWith("by ImageMagick") && !(bytes[17] & 0x20);
        QTemporaryDir dir;
        const QString path = testfiles::written(dir, "picture", bytes);
        QCOMPARE(probePicture(path).size, QSize(64, 48));
        const LoadedPicture p = loadPicture(path, {});
        QCOMPARE(p.image.size(), QSize(64, 48));
        // (ImageMagick weighs the colours otherwise when it makes them grey.)
        const bool lossy = format == "jpeg" || format == "webp" || format == "heic" ||
                           format == "avif" || format == "tga grey by ImageMagick";
        for (const QPoint at : {QPoint(16, 12), QPoint(48, 12), QPoint(16, 36), QPoint(48, 36)}) {
            const QRgb expected = shown.pixel(at.x(), upsideDown ? 47 - at.y() : at.y());
            const QRgb got = p.image.pixel(at);
            QVERIFY2(near(got, expected, lossy ? 40 : 12),
                     qPrintable(QStringLiteral("at %1,%2: %3, expected %4")
                                    .arg(at.x())
                                    .arg(at.y())
                                    .arg(QColor(got).name(), QColor(expected).name())));
        }
    }

    // Every kind cut short or with its body overwritten: a picture of the size it is drawn
    // at, or none, never a crash.
    void damaged_data() {
        QTest::addColumn<QByteArray>("bytes");
        const QImage image = halves({96, 64});
        QList<std::pair<QByteArray, QByteArray>> files;
        for (const char* format : {"png", "jpeg", "bmp", "tiff", "webp", "ico"})
            files.append({QByteArray(format), testfiles::encode(image, format)});
        files.append({"tga", hostile::tga(image, hostile::TgaPlain)});
        files.append({"tga rle", hostile::tga(image, hostile::TgaRle)});
        files.append({"heic", hostile::encodeHeif(image, hostile::Heic, 6)});
        files.append({"avif", hostile::encodeHeif(image, hostile::Avif, 6)});
        files.append(
            {"svg", QByteArray("<svg xmlns='http://www.w3.org/2000/svg' width='96' height='64'>"
                               "<circle cx='40' cy='30' r='20' fill='green'/></svg>")});
        for (const auto& [name, bytes] : files) {
            if (bytes.size() < 64) continue;
            for (const qsizetype cut : {qsizetype(40), bytes.size() / 2, bytes.size() - 1})
                QTest::addRow("%s cut at %lld", name.constData(), qlonglong(cut))
                    << bytes.left(cut);
            QByteArray overwritten = bytes;
            for (qsizetype i = 40; i < bytes.size(); i += 7)
                overwritten[i] = char(i * 31);
            QTest::addRow("%s overwritten", name.constData()) << overwritten;
        }
    }
    void damaged() {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = testfiles::written(dir, "damaged", bytes);
        const PictureProbe probe = probePicture(path);
        const QSize cell(30, 30);
        const LoadedPicture p =
            loadPicture(path, [&](QSize full) { return full.scaled(cell, Qt::KeepAspectRatio); });
        if (p.isNull()) return;
        QVERIFY(probe.ok);
        QCOMPARE(p.image.size(), p.original.scaled(cell, Qt::KeepAspectRatio).expandedTo({1, 1}));
    }
};

QTEST_GUILESS_MAIN(PictureFormatsTest)
#include "picture_formats_test.moc"

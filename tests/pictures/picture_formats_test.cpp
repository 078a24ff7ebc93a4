// Every kind of picture through the loader: HEIC and AVIF made here with libheif's encoders,
// SVG, pictures with a colour profile, and each kind cut short or damaged.
#include "bench/hostile_pictures.h"
#include "common/testfiles.h"
#include "pictures/decode/heif.h"
#include "pictures/decode/picture.h"

#include <QColorSpace>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <png.h>

using testfiles::colourGap;

namespace {

// Left half red, right half blue.
QImage halves(QSize size) {
    return testfiles::quarters(size, {Qt::red, Qt::blue, Qt::red, Qt::blue});
}

// Whether a pixel is within `most` levels of the colour wanted; says which it was if not.
bool near(QRgb got, QRgb want, int most) {
    if (colourGap(got, want) <= most) return true;
    qWarning("%s for %s", qPrintable(QColor(got).name()), qPrintable(QColor(want).name()));
    return false;
}

} // namespace

class PictureFormatsTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString written(const QByteArray& bytes, const char* name = "picture") {
        return testfiles::written(dir, name, bytes);
    }

  private slots:
    void heif_data() {
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<int>("divisor");
        QTest::addColumn<bool>("redFirst"); // red at the top left, blue at the bottom right
        QTest::addColumn<bool>("asPhones");
        // Red on the left, blue on the right as made; whether red is first after each
        // orientation.
        constexpr bool redFirst[] = {true, false, false, true, true, true, false, false};
        for (int divisor : {1, 4})
            for (const auto& [format, name] :
                 {std::pair{hostile::Heic, "heic"}, std::pair{hostile::Avif, "avif"}})
                for (int orientation = 1; orientation <= 8; ++orientation)
                    for (bool asPhones : {false, true}) // phones turn, and never mirror
                        if (!asPhones || orientation == 3 || orientation == 6 || orientation == 8)
                            QTest::addRow("%s %s %d%s", name, divisor == 1 ? "full" : "quarter",
                                          orientation, asPhones ? " as phones write" : "")
                                << int(format) << orientation << divisor
                                << redFirst[orientation - 1] << asPhones;
    }
    void heif() {
        QFETCH(int, format);
        QFETCH(int, orientation);
        QFETCH(int, divisor);
        QFETCH(bool, redFirst);
        QFETCH(bool, asPhones);
        QByteArray bytes =
            hostile::encodeHeif(halves({256, 128}), hostile::HeifKind(format), orientation);
        if (bytes.isEmpty()) QSKIP("libheif cannot encode this format here");
        const QString path = written(asPhones ? hostile::asPhonesWrite(bytes) : bytes);
        const QSize upright = orientation >= 5 ? QSize(128, 256) : QSize(256, 128);
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

    // A HEIC that shrank while it is read: what is left decodes, the rest reads as zeros.
    void heifShrunkWhileRead() {
        const QByteArray bytes = hostile::encodeHeif(halves({256, 128}), hostile::Heic, 1);
        if (bytes.isEmpty()) QSKIP("libheif cannot encode HEIC here");
        struct Shrunk : QFile { // says the length the file had when it was opened
            using QFile::QFile;
            qint64 size() const override { return claimed; }
            qint64 claimed = 0;
        } file(written(bytes.chopped(bytes.size() / 4)));
        file.claimed = bytes.size();
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QImage image = heif::decode(file, QSize());
        QCOMPARE(image.size(), QSize(256, 128));
        QVERIFY(colourGap(image.pixel(32, 32), qRgb(255, 0, 0)) <= 40);
    }

    void heifThumbnailServesSmallDecodes() {
        const QByteArray bytes = hostile::encodeHeif(halves({1024, 512}), hostile::Heic, 1, 256);
        if (bytes.isEmpty()) QSKIP("libheif cannot encode HEIC here");
        const QString path = written(bytes);
        // Drawn no larger than the thumbnail, the decode needs far less than the picture's.
        QVERIFY(picture::decodeBytes(path, {200, 100}) < picture::decodeBytes(path, {1024, 512}));
        const LoadedPicture p = loadPicture(path, [](QSize) { return QSize(200, 100); });
        QCOMPARE(p.original, QSize(1024, 512));
        QCOMPARE(p.image.size(), QSize(200, 100));
        QVERIFY(colourGap(p.image.pixel(40, 50), qRgb(255, 0, 0)) <= 40);
    }

    // CMYK from print workflows takes the toolkit's reader, which knows their conventions.
    void cmykJpeg() {
        const QString path = written(hostile::solidJpeg(64, 48, QByteArray("\0\xFF\xFF\0", 4)));
        for (const QSize drawn : {QSize(64, 48), QSize(16, 12)})
            QCOMPARE(loadPicture(path, [&](QSize) { return drawn; }).image.size(), drawn);
    }

    // PNG pictures of every kind decode to the pixels the toolkit's reader gives.
    void pngKinds_data() {
        QTest::addColumn<int>("depth");
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("interlaced");
        QTest::addColumn<bool>("transparency");
        // Every depth each colour type allows.
        const char* names[] = {"grey", "", "rgb", "palette", "grey and alpha", "", "rgba"};
        for (const int type :
             {PNG_COLOR_TYPE_GRAY, PNG_COLOR_TYPE_GRAY_ALPHA, PNG_COLOR_TYPE_PALETTE,
              PNG_COLOR_TYPE_RGB, PNG_COLOR_TYPE_RGB_ALPHA})
            for (const int depth : {1, 2, 4, 8, 16}) {
                const bool palette = type == PNG_COLOR_TYPE_PALETTE;
                if ((depth < 8 && type != PNG_COLOR_TYPE_GRAY && !palette) ||
                    (depth > 8 && palette))
                    continue;
                for (const bool interlaced : {false, true}) {
                    const char* how = interlaced ? ", interlaced" : "";
                    QTest::addRow("%s %d-bit%s", names[type], depth, how)
                        << depth << type << interlaced << false;
                    if (!(type & PNG_COLOR_MASK_ALPHA))
                        QTest::addRow("%s %d-bit, tRNS%s", names[type], depth, how)
                            << depth << type << interlaced << true;
                }
            }
    }
    void pngKinds() {
        QFETCH(int, depth);
        QFETCH(int, type);
        QFETCH(bool, interlaced);
        QFETCH(bool, transparency);
        const QString path =
            written(hostile::libpngWritten(37, 21, depth, type, interlaced, transparency));
        // The toolkit's reader takes 16-bit colour with a tRNS chunk for 64-bit pixels and gets
        // 48-bit rows: no pixel here has the transparent colour, so the picture is that
        // picture without the chunk, with an alpha channel.
        const bool misread = depth == 16 && type == PNG_COLOR_TYPE_RGB && transparency;
        const QImage expected =
            misread
                ? QImage::fromData(hostile::libpngWritten(37, 21, depth, type, interlaced, false))
                      .convertToFormat(QImage::Format_RGBA64)
                : QImage(path);
        QVERIFY(!expected.isNull());
        const LoadedPicture p = loadPicture(path);
        QCOMPARE(p.image.format(), expected.format());
        QCOMPARE(p.image.convertToFormat(QImage::Format_ARGB32),
                 expected.convertToFormat(QImage::Format_ARGB32));
    }

    // sRGB red and green stored in a wider space with its profile come out as they were.
    void taggedColours_data() {
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<int>("space");
        QTest::addColumn<bool>("shrunk");
        for (const char* format : {"jpeg", "png", "tiff", "webp", "heic", "avif"})
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
        const QByteArray bytes =
            format == "heic" || format == "avif"
                ? hostile::encodeHeif(image, format == "avif" ? hostile::Avif : hostile::Heic, 1)
                : testfiles::encode(image, format.constData());
        if (bytes.isEmpty()) QSKIP("cannot encode here");
        const LoadedPicture p =
            loadPicture(written(bytes), [&](QSize full) { return shrunk ? full / 2 : full; });
        QCOMPARE(p.image.size(), shrunk ? QSize(32, 24) : QSize(64, 48));
        const int x = p.image.width() / 8, y = p.image.height() / 2;
        QVERIFY(near(p.image.pixel(x, y), red, 12));
        QVERIFY(near(p.image.pixel(p.image.width() - 1 - x, y), green, 12));
    }

    // A PNG that gives its colours by the older chunks, with no profile: the picture is shown
    // as they say, and one near enough to sRGB is left as stored.
    void pngColourChunks_data() {
        QTest::addColumn<QByteArray>("chunks");
        QTest::addColumn<QRgb>("stored");
        QTest::addColumn<QRgb>("shown");
        const QByteArray linear = hostile::pngChunk("gAMA", QByteArray::fromHex("000186a0"));
        const QByteArray asSrgb = hostile::pngChunk("gAMA", QByteArray::fromHex("0000b18f"));
        const QByteArray redBlueExchanged = hostile::pngChunk(
            "cHRM", QByteArray::fromHex("00007a260000808400003a98000017700000753000"
                                        "00ea600000fa00000080e8"));
        QTest::newRow("linear gamma") << linear << qRgb(128, 128, 128) << qRgb(188, 188, 188);
        QTest::newRow("gamma of sRGB") << asSrgb << qRgb(24, 24, 24) << qRgb(24, 24, 24);
        QTest::newRow("red and blue primaries exchanged")
            << asSrgb + redBlueExchanged << qRgb(255, 0, 0) << qRgb(0, 0, 255);
        QTest::newRow("blue shown red")
            << asSrgb + redBlueExchanged << qRgb(0, 0, 255) << qRgb(255, 0, 0);
        QTest::newRow("green") << asSrgb + redBlueExchanged << qRgb(64, 192, 64)
                               << qRgb(64, 192, 64);
    }
    void pngColourChunks() {
        QFETCH(QByteArray, chunks);
        QFETCH(QRgb, stored);
        QFETCH(QRgb, shown);
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(stored);
        QByteArray bytes = testfiles::encode(image, "png");
        bytes.insert(33, chunks); // after the header chunk
        QVERIFY(near(loadPicture(written(bytes)).image.pixel(4, 4), shown, 3));
    }

    // Every format the program lists as read, written as the tools that write it do: the
    // picture comes whole, at its size, drawn at half of it, each quarter in its colour (in
    // grey or black and white where the format has no more).
    void everyListedFormat_data() {
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<int>("tga"); // the style of a TGA made here, or -1
        for (const char* format :
             {"jpeg",         "jpeg grey", "png",           "png palette", "gif",  "bmp",
              "bmp top down", "webp",      "webp lossless", "tiff",        "heic", "avif",
              "svg",          "svgz",      "ico",           "cur",         "pbm",  "pgm",
              "ppm",          "xbm",       "xpm",           "wbmp"})
            QTest::newRow(format) << QByteArray(format) << -1;
        for (const char* format : {"magick tga", "magick tga rle", "magick tga grey", "magick bmp2",
                                   "magick tiff tiled", "magick tiff jpeg", "jpeg with metadata"})
            QTest::newRow(format) << QByteArray(format) << -1;
        int style = hostile::TgaPlain; // to hostile::TgaGreyAlpha
        for (const char* format : {"tga", "tga rle", "tga grey", "tga mapped", "tga 16, top right",
                                   "tga alpha, footer", "tga grey, alpha"})
            QTest::newRow(format) << QByteArray(format) << style++;
    }
    void everyListedFormat() {
        QFETCH(QByteArray, format);
        QFETCH(int, tga);
        const QImage source = testfiles::quarters(
            {64, 48}, {Qt::black, Qt::white, QColor(200, 30, 30), QColor(30, 60, 220)});
        const bool mono = format == "pbm" || format == "xbm" || format == "wbmp";
        const bool grey = format == "pgm" || format.contains("grey");
        // Where a TGA keeps alpha, its black quarter is written transparent.
        const bool holed = tga >= 0 && (format.contains("alpha") || format.contains("16"));
        const QImage shown =
            source.convertToFormat(mono                         ? QImage::Format_Mono
                                   : grey                       ? QImage::Format_Grayscale8
                                   : format.endsWith("palette") ? QImage::Format_Indexed8
                                   : format.contains("16")      ? QImage::Format_RGB555
                                                                : QImage::Format_RGB32,
                                   Qt::ThresholdDither);
        QByteArray bytes;
        if (format == "heic" || format == "avif") {
            bytes =
                hostile::encodeHeif(source, format == "heic" ? hostile::Heic : hostile::Avif, 1);
        } else if (format == "svg" || format == "svgz") {
            // One sized by a percentage of its view box and by points, the compressed one by its
            // view box alone.
            const QByteArray svg =
                "<?xml version='1.0'?>\n"
                "<svg xmlns='http://www.w3.org/2000/svg' " +
                QByteArray(format == "svg" ? "width='100%' height='48pt' viewBox='0 0 64 48'>"
                                           : "viewBox='0 0 64 48'>") +
                "<rect width='32' height='24' fill='#000000'/>"
                "<rect x='32' width='32' height='24' fill='#ffffff'/>"
                "<rect y='24' width='32' height='24' fill='#c81e1e'/>"
                "<rect x='32' y='24' width='32' height='24' fill='#1e3cdc'/>"
                "</svg>";
            bytes = format == "svg" ? svg : hostile::gzipped(svg);
        } else if (tga >= 0) {
            QImage withAlpha = shown.convertToFormat(QImage::Format_ARGB32);
            for (int y = 0; holed && y < 24; ++y)
                for (int x = 0; x < 32; ++x)
                    withAlpha.setPixel(x, y, qRgba(0, 0, 0, 0));
            bytes = hostile::tga(withAlpha, hostile::TgaStyle(tga));
        } else if (format == "gif" || format.startsWith("magick")) {
            // Formats the toolkit does not write, as ImageMagick writes them.
            const QString png = written(testfiles::encode(source, "png"), "source.png");
            const QString out = dir.filePath("out");
            QStringList arguments{png};
            if (format.contains("tiled")) arguments += {"-define", "tiff:tile-geometry=16x16"};
            if (format.contains("rle")) arguments += {"-compress", "RLE"};
            if (format.endsWith("tiff jpeg")) arguments += {"-compress", "JPEG"}; // in strips
            if (format.contains("grey")) arguments += {"-colorspace", "Gray"};
            const QByteArray kind = format == "gif" ? "gif" : format.split(' ')[1];
            if (QProcess::execute("convert", arguments << kind.toUpper() + ':' + out) != 0)
                QSKIP("ImageMagick's convert is not installed");
            bytes = testfiles::readAll(out);
        } else {
            // A BMP stored top down has a negative height, its top row first.
            const bool topDown = format == "bmp top down";
            bytes = testfiles::encode(topDown ? shown.mirrored() : shown,
                                      format.split(' ').constFirst().constData(),
                                      format.endsWith("lossless") ? 100 : -1);
            if (topDown) qToLittleEndian<qint32>(-48, bytes.data() + 22);
            // Two segments of the largest length, which the decoder skips past its buffer.
            if (format.contains("metadata"))
                bytes.insert(2, hostile::jpegSegment(0xE9, QByteArray(65533, 'm')).repeated(2));
        }
        if (bytes.isEmpty()) QSKIP("cannot write this format here");
        // ImageMagick 6 stores a TGA's top row first while its header says the bottom row comes
        // first: every reader that follows the header (GIMP, the toolkit's own) shows it upside
        // down, and so does this one.
        const bool upsideDown = format.startsWith("magick tga") && !(bytes[17] & 0x20);
        const QString path = written(bytes);
        QCOMPARE(probePicture(path).size, QSize(64, 48));
        const LoadedPicture p = loadPicture(path, [](QSize full) { return full / 2; });
        QCOMPARE(p.original, QSize(64, 48));
        QCOMPARE(p.image.size(), QSize(32, 24));
        // Grey decoded as grey: a quarter of colour's memory, as its decode was planned.
        if (format == "jpeg grey") QCOMPARE(p.image.format(), QImage::Format_Grayscale8);
        // (ImageMagick weighs the colours otherwise when it makes them grey.) The others keep
        // the colours exactly, however they are shrunk.
        const bool lossy = format.contains("jpeg") || format == "webp" || format == "heic" ||
                           format == "avif" || format == "magick tga grey";
        const int tolerance = lossy ? 40 : 0;
        // The quarters' middles, and points beside the corner where they meet: a picture
        // shifted by a pixel or two in any direction fails there.
        for (const QPoint at : {QPoint(16, 12), QPoint(48, 12), QPoint(16, 36), QPoint(48, 36),
                                QPoint(32, 22), QPoint(30, 24)}) {
            const QRgb expected = shown.pixel(at.x(), upsideDown ? 47 - at.y() : at.y());
            const QRgb got = p.image.pixel(at / 2);
            QVERIFY(near(got, expected, tolerance));
            QCOMPARE(qAlpha(got), holed && at.x() < 32 && at.y() < 24 ? 0 : 255);
        }
    }

    // Every kind cut short or with its body overwritten: a picture of the size it is drawn
    // at, or none, never a crash.
    void damaged_data() {
        QTest::addColumn<QByteArray>("bytes");
        const QImage image = halves({96, 64});
        QList<std::pair<const char*, QByteArray>> files{
            {"tga", hostile::tga(image, hostile::TgaPlain)},
            {"tga rle", hostile::tga(image, hostile::TgaRle)},
            {"heic", hostile::encodeHeif(image, hostile::Heic, 6)},
            {"avif", hostile::encodeHeif(image, hostile::Avif, 6)},
            {"svg", "<svg xmlns='http://www.w3.org/2000/svg' width='96' height='64'>"
                    "<circle cx='40' cy='30' r='20' fill='green'/></svg>"}};
        for (const char* format : {"png", "jpeg", "bmp", "tiff", "webp", "ico"})
            files.append({format, testfiles::encode(image, format)});
        for (const auto& [name, bytes] : files) {
            if (bytes.size() < 64) continue;
            for (const qsizetype cut : {qsizetype(40), bytes.size() / 2, bytes.size() - 1})
                QTest::addRow("%s cut at %lld", name, qlonglong(cut)) << bytes.left(cut);
            QByteArray overwritten = bytes;
            for (qsizetype i = 40; i < bytes.size(); i += 7)
                overwritten[i] = char(i * 31);
            QTest::addRow("%s overwritten", name) << overwritten;
        }
    }
    void damaged() {
        QFETCH(QByteArray, bytes);
        const QString path = written(bytes);
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

// The one loader of picture files: what it takes for a picture, the size it decodes at, the
// way up of a photo, and the files it must refuse or survive: bombs, damaged files, headers
// that understate the picture (found by fuzzing). The folder scan's test tries what is not a
// regular file. Then where a picture goes in its area.
#include "bench/hostile_pictures.h"
#include "common/testfiles.h"
#include "pictures/decode/heif.h"
#include "pictures/decode/jpeg_decode.h"
#include "pictures/decode/picture.h"
#include "pictures/decode/picture_scale.h"
#include "pictures/fitting.h"

#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>

using testfiles::encode;

namespace {

QImage filled(int w, int h, QColor c, QImage::Format format = QImage::Format_RGB32) {
    QImage image(w, h, format);
    image.fill(c);
    return image;
}
QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values)
        out += char(v);
    return out;
}
// A GIF whose screen is w x h while its only frame is 2 x 1, at (left, top).
QByteArray gif(int w, int h, int left = 0, int top = 0) {
    return QByteArray("GIF89a") + bytes({w & 0xFF, w >> 8, h & 0xFF, h >> 8, 0x80, 0, 0}) +
           bytes({0, 0, 0, 255, 255, 255}) +
           bytes({',', left, 0, top, 0, 2, 0, 1, 0, 0, 2, 2, 0x44, 0x01, 0, ';'});
}
// A JPEG with a minimal EXIF segment that holds only the orientation tag.
QByteArray withOrientation(QByteArray jpeg, int orientation) {
    return jpeg.insert(2, bytes({0xFF, 0xE1, 0x00, 34}) + QByteArray("Exif\0\0", 6) +
                              bytes({'M', 'M', 0, 0x2A, 0, 0, 0, 8, 0, 1}) +
                              bytes({0x01, 0x12, 0, 3, 0, 0, 0, 1, 0, orientation, 0, 0}) +
                              bytes({0, 0, 0, 0}));
}
// The bytes from `from` up to `to` overwritten with a pattern.
QByteArray overwritten(QByteArray file, qsizetype from, qsizetype to) {
    for (qsizetype i = from; i < to && i < file.size(); ++i)
        file[i] = char((i * 37 + 11) & 0xFF);
    return file;
}
const QSize cell(96, 72);
QSize inCell(QSize full) {
    return fitting::fitRect(full, cell).size();
}

} // namespace

class PictureTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

  private slots:
    // The probe reads the header; the decode (into a thumbnail cell) may still fail, or, for
    // a JPEG whose data it fills in, give a picture of the header's size.
    void files_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QSize>("probed"); // invalid: the probe refuses the file
        QTest::addColumn<bool>("decodes");
        const QByteArray png = encode(filled(30, 70, Qt::yellow), "PNG");
        const QByteArray noisyPng = testfiles::noisePicture(QSize(64, 48), "PNG");
        const QByteArray jpeg = testfiles::noisePicture(QSize(64, 48), "JPEG");
        const qsizetype idat = noisyPng.indexOf("IDAT") + 4, scan = jpeg.indexOf("\xFF\xDA") + 14;
        QTest::newRow("jpeg") << jpeg << QSize(64, 48) << true;
        // Fill bytes and markers without a length, which some writers put between segments.
        QTest::newRow("jpeg with fill bytes and bare markers")
            << QByteArray(jpeg).insert(2, "\xFF\xFF\x01\xFF\xD3") << QSize(64, 48) << true;
        // As finely sampled as JPEG allows, across and down.
        for (const QSize sampling : {QSize(4, 2), QSize(2, 4)})
            QTest::addRow("jpeg sampled %d x %d", sampling.width(), sampling.height())
                << hostile::solidJpeg(64, 48, "abc", sampling) << QSize(64, 48) << true;
        QTest::newRow("gif") << gif(2, 1) << QSize(2, 1) << true;
        QTest::newRow("gif 88a") << gif(2, 1).replace(4, 1, "8") << QSize() << false;
        // A side the screen does not give ends where the frame ends, as the toolkit draws it.
        for (const QSize screen : {QSize(0, 0), QSize(0, 1), QSize(3, 0)})
            QTest::addRow("gif screen %d x %d", screen.width(), screen.height())
                << gif(screen.width(), screen.height(), 5, 3)
                << QSize(screen.width() ? screen.width() : 7, screen.height() ? screen.height() : 4)
                << true;
        // At most 4096 chunks up to the first of the pixels (the header's and the pixels' own
        // among them), and one more.
        for (const int more : {0, 1})
            QTest::addRow("png of %d chunks up to its pixels", 4096 + more)
                << png.left(33) + hostile::pngChunk("vtNv", {}).repeated(4094 + more) +
                       png.mid(png.indexOf("IDAT") - 4)
                << QSize(30, 70) << (more == 0);
        QTest::newRow("zero bytes") << QByteArray() << QSize() << false;
        QTest::newRow("png cut") << noisyPng.left(idat + 500) << QSize(64, 48) << false;
        QTest::newRow("jpeg cut") << jpeg.left(scan + 300) << QSize(64, 48) << true;
        // Bytes that read as markers stop the decoder.
        QTest::newRow("jpeg data overwritten")
            << overwritten(jpeg, scan, jpeg.size() - 2) << QSize(64, 48) << false;
        QTest::newRow("jpeg with a segment too short after its scans")
            << hostile::emptyScansJpeg(64, 48, 2).chopped(2) + QByteArray::fromHex("FFC40001FFD9")
            << QSize(64, 48) << false;
        QTest::newRow("gif with a block of no known kind")
            << gif(2, 1).insert(19, QByteArray("X\x01\0", 3)) << QSize() << false;
        QTest::newRow("webp in a container of another kind")
            << encode(filled(4, 2, Qt::red), "WEBP").replace(8, 4, "WAVE") << QSize() << false;
        QTest::newRow("png of no colour type")
            << QByteArray(png).replace(25, 1, "\x01") << QSize() << false;
        QTest::newRow("png header a byte long")
            << png.left(8) + hostile::pngChunk("IHDR", png.mid(16, 13) + '\0') + png.mid(33)
            << QSize() << false;
        QTest::newRow("icon of type 3")
            << encode(filled(16, 16, Qt::blue), "ico").replace(2, 1, "\x03") << QSize() << false;
        QTest::newRow("gif cut after screen") << gif(2, 1).left(13) << QSize() << false;
        QTest::newRow("html, not svg")
            << QByteArray("<html><body>hi</body></html>") << QSize() << false;
        // A few kilobytes that would decode to hundreds of megapixels.
        QTest::newRow("20000 x 20000 png")
            << encode(filled(20000, 20000, Qt::white, QImage::Format_Mono), "PNG") << QSize()
            << false;
        // An icon's size of 256 is written as 0.
        QTest::newRow("ico of 256 x 256")
            << encode(filled(256, 256, Qt::blue), "ico") << QSize(256, 256) << true;
        // A clean aperture of 50.25 x 40.33 pixels, rounded, crops the 100 x 100 extent.
        QTest::newRow("heic cropped, without data")
            << hostile::heifWithManyBoxes(0, std::array<quint32, 4>{201, 4, 121, 3})
            << QSize(50, 40) << false;
        QTest::newRow("heic whose last box runs past its metadata")
            << hostile::heifWithManyBoxes(0, {}, QByteArray("\0\0\0\x09free", 8)) << QSize()
            << false;
        // Its width's entry typed as an 8-byte number (16, at byte 26), which BigTIFF allows.
        QTest::newRow("bigtiff of an 8-byte width")
            << hostile::blackTiff(300, 200, 8, 16, 0, true).replace(26, 1, "\x10")
            << QSize(300, 200) << true;
        QTest::newRow("heic of metadata larger than real ones")
            << hostile::heifWithManyBoxes(
                   0, {}, QByteArray::fromHex("00020000") + "free" + QByteArray(0x20000 - 8, '\0'))
            << QSize() << false;
        // Its one tile said to be 70000 pixels wide, past any HEIF picture.
        QByteArray wideTile = hostile::heifGrid(QSize(64, 63));
        const qsizetype tile = wideTile.indexOf(QByteArray("ispe\0\0\0\0\0\0\0\x40\0\0\0\x40", 16));
        wideTile.replace(tile + 8, 4, QByteArray::fromHex("00011170"));
        QTest::newRow("heic of a tile too wide") << wideTile << QSize() << false;
        QTest::newRow("gif of 65535 x 65535") << gif(65535, 65535) << QSize() << false;
        // The longest SVG document drawn, and one byte longer.
        const QByteArray svg = "<svg xmlns='http://www.w3.org/2000/svg' width='2' height='1'/>";
        for (const int more : {0, 1})
            QTest::newRow(more ? "svg of 16 MB and a byte" : "svg of 16 MB")
                << svg + QByteArray((16 << 20) - svg.size() + more, ' ') << QSize(2, 1)
                << (more == 0);
        // The toolkit's reader cuts to whole pixels, after its centimetre of 35.43307 pixels;
        // without both sides, it rounds its view box's.
        for (const auto& [size, shown] :
             {std::pair("width='2.54cm' height='12.7mm'", QSize(89, 44)),
              std::pair("width='1in' height='.5in'", QSize(90, 45)),
              std::pair("viewBox='0 0 .5 .5'", QSize(1, 1)),
              std::pair("width='50' viewBox='0 0 841.89 595.28'", QSize(842, 595))})
            QTest::addRow("svg %s", size)
                << QByteArray(svg).replace("width='2' height='1'", size) << shown << true;
    }
    void files() {
        QFETCH(QByteArray, content);
        QFETCH(QSize, probed);
        QFETCH(bool, decodes);
        const QString path = testfiles::written(dir, "picture", content);
        const PictureProbe probe = probePicture(path);
        QCOMPARE(probe.ok, probed.isValid());
        if (probe.ok) QCOMPARE(probe.size, probed);
        const LoadedPicture loaded = loadPicture(path, inCell);
        QCOMPARE(!loaded.isNull(), decodes);
        if (decodes) QCOMPARE(loaded.original, probed);
        if (decodes) QCOMPARE(loaded.image.size(), inCell(probed).boundedTo(probed));
    }

    // A JPEG's EXIF numbers, and a TIFF's own tag as the toolkit's writer puts each way up.
    void orientationsAsTheToolkit_data() {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<bool>("tiff");
        for (int o = 1; o <= 8; ++o) {
            QTest::addRow("jpeg %d", o) << o << false;
            QTest::addRow("tiff transformation %d", o - 1) << o - 1 << true;
        }
    }
    void orientationsAsTheToolkit() {
        QFETCH(int, orientation);
        QFETCH(bool, tiff);
        const QImage quarters = testfiles::quarters({200, 100});
        const QString path = testfiles::written(
            dir, "photo",
            tiff ? encode(quarters, "tiff", -1, QImageIOHandler::Transformations(orientation))
                 : withOrientation(encode(quarters, "JPEG"), orientation));
        QImageReader reader(path);
        reader.setAutoTransform(true);
        const QImage expected = reader.read();
        QCOMPARE(probePicture(path).size, expected.size());
        for (int divisor : {1, 4}) {
            const LoadedPicture p = loadPicture(path, [&](QSize full) { return full / divisor; });
            QCOMPARE(p.image.size(), expected.size() / divisor);
            for (const double fx : {0.25, 0.75})
                for (const double fy : {0.25, 0.75}) {
                    const QRgb got =
                        p.image.pixel(int(fx * p.image.width()), int(fy * p.image.height()));
                    const QRgb want =
                        expected.pixel(int(fx * expected.width()), int(fy * expected.height()));
                    QVERIFY2(testfiles::colourGap(got, want) < 40,
                             qPrintable(QColor(got).name() + " for " + QColor(want).name()));
                }
        }
    }

    // Found by fuzzing: the toolkit's reader gave a GIF's frame size (or, for the 33 bytes,
    // 4098 x 256) as its size, its decode the whole screen (33 bytes for 4098 x 8448 pixels,
    // slow enough to pass for a hang). The picture is its screen, at the size it is drawn.
    void headerUnderstatesThePicture_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QSize>("box");
        QTest::addColumn<QSize>("drawn");
        QTest::newRow("wide screen") << gif(32770, 1) << cell << QSize(96, 1);
        QTest::newRow("tall screen") << gif(3, 40000) << cell << QSize(1, 72);
        QTest::newRow("33 bytes") << QByteArray::fromHex("474946383961021000218000400000"
                                                         "00ffffff2cae000000000200010000004402")
                                  << cell << QSize(34, 72);
        // Nothing but its drawing gives this SVG's size, larger than the probe's guess.
        QTest::newRow("svg of no size drawn on a screen")
            << QByteArray("<svg xmlns='http://www.w3.org/2000/svg'><rect width='3000' "
                          "height='2000'/></svg>")
            << QSize(1727, 1080) << QSize(1620, 1080);
    }
    void headerUnderstatesThePicture() {
        QFETCH(QByteArray, content);
        QFETCH(QSize, box);
        QFETCH(QSize, drawn);
        const QString path = testfiles::written(dir, "canvas", content);
        QSize asked;
        const LoadedPicture loaded = loadPicture(path, [&](QSize full) {
            asked = full;
            return fitting::fitRect(full, box).size();
        });
        QCOMPARE(asked, loaded.original);
        QCOMPARE(loaded.image.size(), drawn);
    }

    // Which pictures take long enough to decode for a smaller version to show first: phone
    // photos (HEIC) without a thumbnail as large as they are drawn, very large JPEGs and
    // others; either side of each limit.
    void slowToDecode_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QSize>("drawn");
        QTest::addColumn<bool>("slow");
        const QSize screen(1727, 1080), cell(186, 124);
        QTest::newRow("jpeg 40 MP") << hostile::emptyScansJpeg(8000, 5000, 1) << screen << false;
        QTest::newRow("jpeg over 40 MP")
            << hostile::emptyScansJpeg(8000, 5001, 1) << screen << true;
        QTest::newRow("png 20 MP") << hostile::blackPng(5000, 4000, 0, 1) << screen << false;
        QTest::newRow("png over 20 MP") << hostile::blackPng(5000, 4001, 0, 1) << cell << true;
        const auto heic = [](QSize size, int thumbnail, int layout = hostile::DataAfter) {
            return hostile::encodeGridHeic(hostile::photoLike(size), 512, thumbnail, 50, 0, layout);
        };
        QTest::newRow("heic 2 MP") << heic(QSize(1000, 2000), 0) << screen << false;
        QTest::newRow("heic over 2 MP") << heic(QSize(1500, 1334), 0) << cell << true;
        QTest::newRow("heic drawn larger than its thumbnail")
            << heic(QSize(1600, 1300), 320) << screen << true;
        QTest::newRow("heic in wide boxes drawn from its thumbnail")
            << heic(QSize(1600, 1300), 320, hostile::WideBoxes) << cell << false;
        QTest::newRow("not a picture") << QByteArray("plain text") << screen << false;
    }
    void slowToDecode() {
        QFETCH(QByteArray, content);
        QFETCH(QSize, drawn);
        QFETCH(bool, slow);
        if (content.isEmpty()) QSKIP("this libheif codes no HEVC");
        QCOMPARE(picture::slowToDecode(testfiles::written(dir, "picture", content), drawn), slow);
    }

    // A baseline photo is planned for from its head, not read through: a strip of thousands
    // of photos would read each one twice.
    void planReadsABaselineHead() {
        const auto path =
            testfiles::written(dir, "a.jpg", testfiles::noisePicture({1600, 1200}, "jpeg"));
        const qint64 before = testfiles::procNumber("/proc/self/io", "rchar:");
        QVERIFY(before >= 0 && picture::decodeBytes(path, QSize(400, 300)) > 0);
        QVERIFY(testfiles::procNumber("/proc/self/io", "rchar:") - before < 400'000); // of 1.1 MB
    }

    // Where a picture goes in its area, and when a thumbnail made elsewhere will do.
    void fitRect() {
        using fitting::fitRect;
        QCOMPARE(fitRect(QSize(100, 50), QSize(1000, 700)), QRect(0, 100, 1000, 500));
        QCOMPARE(fitRect(QSize(100, 200), QSize(400, 300)), QRect(125, 0, 150, 300));
        for (const QSize empty : {QSize(0, 50), QSize(50, 0)}) { // no side of nothing
            QCOMPARE(fitRect(empty, QSize(100, 100)), QRect());
            QCOMPARE(fitRect(QSize(100, 100), empty), QRect());
        }
    }

    // A JPEG is decoded at the smallest of its eighths that still covers the drawn size.
    void jpegEighths() {
        using picture::jpegScaled;
        QCOMPARE(jpegScaled(QSize(800, 600), QSize(100, 75)), QSize(100, 75));
        QCOMPARE(jpegScaled(QSize(800, 600), QSize(101, 75)), QSize(200, 150));
        QCOMPARE(jpegScaled(QSize(801, 600), QSize(100, 75)), QSize(101, 75)); // rounded up
        QCOMPARE(jpegScaled(QSize(800, 600), QSize(650, 10)), QSize(700, 525));
        QCOMPARE(jpegScaled(QSize(800, 600), QSize(701, 10)), QSize(800, 600));
    }

    // A HEIF's thumbnail serves a decode when it is the smallest that covers it, in the
    // picture's proportions.
    void heifThumbnailChoice() {
        using heif::chooseThumbnail;
        const QSize full(4000, 3000);
        const QList<QSize> t{{640, 480}, {320, 240}, {360, 270}, {160, 120}, {336, 240}};
        QCOMPARE(chooseThumbnail(t, full, QSize(300, 200)), 1);
        QCOMPARE(chooseThumbnail(t, full, QSize(320, 240)), 1);
        QCOMPARE(chooseThumbnail(t, full, QSize(321, 10)), 2); // 336 x 240: other proportions
        QCOMPARE(chooseThumbnail(t, full, QSize(10, 241)), 2);
        QCOMPARE(chooseThumbnail(t, full, QSize(641, 1)), -1);
        QCOMPARE(chooseThumbnail(t, full, QSize()), -1);
        QCOMPARE(chooseThumbnail({QSize(3400, 2500)}, full, QSize(1, 1)), 0); // 2 % off
        QCOMPARE(chooseThumbnail({QSize(3401, 2500)}, full, QSize(1, 1)), -1);
    }

    // Pictures averaged a band at a time rather than scaled by the toolkit (grey, 16-bit grey,
    // 24-bit, alpha not premultiplied), shrunk by ratios that split pixels between two: they
    // come out as the toolkit's smooth scaling of the same picture, to a level or two.
    void shrinkAsTheToolkit_data() {
        QTest::addColumn<QImage::Format>("format");
        QTest::addColumn<QSize>("to");
        QTest::newRow("grey, to 30 x 41") << QImage::Format_Grayscale8 << QSize(30, 41);
        QTest::newRow("16-bit grey, to 97 x 7") << QImage::Format_Grayscale16 << QSize(97, 7);
        QTest::newRow("24-bit, to 41 x 30") << QImage::Format_RGB888 << QSize(41, 30);
        QTest::newRow("24-bit, to one pixel") << QImage::Format_RGB888 << QSize(1, 1);
        QTest::newRow("alpha, to 150 x 101") << QImage::Format_ARGB32 << QSize(150, 101);
    }
    void shrinkAsTheToolkit() {
        QFETCH(QImage::Format, format);
        QFETCH(QSize, to);
        QImage source(301, 203, QImage::Format_ARGB32);
        for (int y = 0; y < source.height(); ++y)
            for (int x = 0; x < source.width(); ++x)
                source.setPixel(
                    x, y, qRgba(x * 255 / 300, y * 255 / 202, 200 - (x + y) / 4, 255 - x / 4));
        if (format != QImage::Format_ARGB32) source = source.convertToFormat(QImage::Format_RGB32);
        source = source.convertToFormat(format);
        const QImage ours =
            picture::shrink(source, to).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        const QImage theirs = source.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                                  .scaled(to, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        QCOMPARE(ours.size(), to);
        int most = 0;
        for (int y = 0; y < to.height(); ++y)
            for (int x = 0; x < to.width(); ++x) {
                const QRgb a = ours.pixel(x, y), b = theirs.pixel(x, y);
                most =
                    std::max({most, testfiles::colourGap(a, b), std::abs(qAlpha(a) - qAlpha(b))});
            }
        QVERIFY2(most <= 2, qPrintable(QString::number(most)));
    }

    // A camera's or the desktop's thumbnail stands in for the decode only when never enlarged.
    void covers() {
        using fitting::covers;
        const QSize photo(6000, 4000);
        QVERIFY(covers(QSize(192, 128), photo, QSize(192, 192)));
        QVERIFY(!covers(QSize(160, 107), photo, QSize(192, 192)));
        QVERIFY(covers(QSize(300, 200), QSize(300, 200), QSize(1000, 1000))); // whole picture
        QVERIFY(covers(QSize(128, 2), QSize(10000, 150), QSize(100, 100)));   // rounded side
        QVERIFY(covers(QSize(2, 128), QSize(150, 10000), QSize(100, 100)));   // and tall
        QVERIFY(!covers(QSize(200, 3), QSize(1000, 10), QSize(100, 100)));    // a pixel high
        QVERIFY(covers(QSize(3000, 2020), photo, QSize(100, 100)));           // 1 % off
        QVERIFY(!covers(QSize(3000, 2021), photo, QSize(100, 100)));
        QVERIFY(covers(QSize(101, 100), QSize(100, 100), QSize(50, 50))); // 1 % off, exactly
        QVERIFY(!covers(QSize(102, 100), QSize(100, 100), QSize(50, 50)));
        QVERIFY(!covers(QSize(160, 107), photo, QSize(0, 0)));
    }
};

QTEST_GUILESS_MAIN(PictureTest)
#include "picture_test.moc"

#include "framework/picture.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

QByteArray encode(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QImage filled(int w, int h, QColor c) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(c);
    return image;
}

// Left half red, right half blue: shows which way a decode turned the picture.
QImage halves(int w, int h) {
    QImage image = filled(w, h, Qt::red);
    QPainter(&image).fillRect(w / 2, 0, w - w / 2, h, Qt::blue);
    return image;
}

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values)
        out += char(v);
    return out;
}

// A JPEG with a minimal EXIF segment that holds only the orientation tag.
QByteArray withOrientation(QByteArray jpeg, int orientation) {
    const QByteArray app1 = bytes({0xFF, 0xE1, 0x00, 34}) + QByteArray("Exif\0\0", 6) +
                            bytes({'M', 'M', 0, 0x2A, 0, 0, 0, 8}) + // big-endian TIFF header
                            bytes({0, 1}) +                          // one entry
                            bytes({0x01, 0x12, 0, 3, 0, 0, 0, 1, 0, orientation, 0, 0}) +
                            bytes({0, 0, 0, 0}); // no further directory
    jpeg.insert(2, app1);
    return jpeg;
}

// A JPEG whose frame header claims another size than the data it carries.
QByteArray claimingSize(QByteArray jpeg, int w, int h) {
    const int sof = int(jpeg.indexOf(bytes({0xFF, 0xC0})));
    if (sof < 0) return {};
    jpeg[sof + 5] = char(h >> 8);
    jpeg[sof + 6] = char(h & 0xFF);
    jpeg[sof + 7] = char(w >> 8);
    jpeg[sof + 8] = char(w & 0xFF);
    return jpeg;
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& content) {
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size()) return {};
    return path;
}

bool isRed(QRgb c) {
    return qRed(c) > 200 && qBlue(c) < 60 && qGreen(c) < 60;
}
bool isBlue(QRgb c) {
    return qBlue(c) > 200 && qRed(c) < 60 && qGreen(c) < 60;
}

} // namespace

class PictureTest : public QObject {
    Q_OBJECT
  private slots:
    void probe_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QSize>("expected"); // invalid: refused
        const QByteArray jpeg = encode(filled(64, 48, Qt::green), "JPEG");
        const QByteArray png = encode(filled(30, 70, Qt::yellow), "PNG");
        QTest::newRow("jpeg") << "a.jpg" << jpeg << QSize(64, 48);
        QTest::newRow("png") << "b.png" << png << QSize(30, 70);
        QTest::newRow("bmp") << "c.bmp" << encode(filled(5, 9, Qt::red), "BMP") << QSize(5, 9);
        // The toolkit reads GIF but cannot write it: a 2 x 1 GIF by hand.
        const QByteArray gif = QByteArray("GIF89a") + bytes({2, 0, 1, 0, 0x80, 0, 0}) +
                               bytes({0, 0, 0, 255, 255, 255}) +         // two colours
                               bytes({',', 0, 0, 0, 0, 2, 0, 1, 0, 0}) + // image descriptor
                               bytes({2, 2, 0x44, 0x01, 0, ';'});
        QTest::newRow("gif") << "d.gif" << gif << QSize(2, 1);
        QTest::newRow("no extension") << "photo" << jpeg << QSize(64, 48);
        QTest::newRow("png named jpg") << "wrong.jpg" << png << QSize(30, 70);
        QTest::newRow("text") << "notes.txt" << QByteArray("hello, these are notes\n") << QSize();
        QTest::newRow("text named png")
            << "fake.png" << QByteArray("not a picture at all") << QSize();
        QTest::newRow("zero bytes") << "empty.jpg" << QByteArray() << QSize();
        QTest::newRow("png signature only") << "cut.png" << png.left(12) << QSize();
        QTest::newRow("jpeg start only") << "cut.jpg" << jpeg.left(20) << QSize();
    }
    void probe() {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QSize, expected);
        QTemporaryDir dir;
        const QString path = writeFile(dir, name, content);
        QVERIFY(!path.isEmpty());
        const PictureProbe p = probePicture(path);
        QCOMPARE(p.ok, expected.isValid());
        if (p.ok) QCOMPARE(p.size, expected);
        // The loader accepts exactly what the probe accepts, at the same size.
        const LoadedPicture loaded = loadPicture(path);
        QCOMPARE(!loaded.isNull(), expected.isValid());
        if (!loaded.isNull()) {
            QCOMPARE(loaded.image.size(), expected);
            QCOMPARE(loaded.original, expected);
        }
    }

    void refusesWhatIsNotARegularFile() {
        QTemporaryDir dir;
        const QString image = writeFile(dir, "real.png", encode(filled(8, 6, Qt::red), "PNG"));
        QVERIFY(QDir(dir.path()).mkdir("folder.png"));
        const QString fifo = dir.filePath("pipe.jpg");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(QFile::link(image, dir.filePath("link.png")));
        QVERIFY(QFile::link(dir.filePath("gone.png"), dir.filePath("dangling.png")));
        QVERIFY(QFile::link(dir.filePath("loop"), dir.filePath("loop")));

        // A pipe without a writer would block whoever opens it for reading.
        for (const QString& name :
             QStringList{"folder.png", "pipe.jpg", "dangling.png", "loop", "missing"}) {
            const QString path = dir.filePath(name);
            QVERIFY2(!probePicture(path).ok, qPrintable(name));
            QVERIFY2(loadPicture(path).isNull(), qPrintable(name));
        }
        QVERIFY(!probePicture(QString()).ok);
        QCOMPARE(probePicture(dir.filePath("link.png")).size, QSize(8, 6));
        QCOMPARE(loadPicture(dir.filePath("link.png")).image.size(), QSize(8, 6));
    }

    void scaledDecode_data() {
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<QSize>("draw"); // invalid: no drawSize function
        QTest::addColumn<QSize>("expected");
        QTest::newRow("jpeg quarter") << QByteArray("JPEG") << QSize(100, 75) << QSize(100, 75);
        QTest::newRow("png half") << QByteArray("PNG") << QSize(200, 150) << QSize(200, 150);
        QTest::newRow("larger than the picture")
            << QByteArray("JPEG") << QSize(800, 600) << QSize(400, 300);
        QTest::newRow("same size") << QByteArray("PNG") << QSize(400, 300) << QSize(400, 300);
        QTest::newRow("nothing to draw") << QByteArray("JPEG") << QSize(0, 0) << QSize(1, 1);
        QTest::newRow("no draw size") << QByteArray("JPEG") << QSize() << QSize(400, 300);
    }
    void scaledDecode() {
        QFETCH(QByteArray, format);
        QFETCH(QSize, draw);
        QFETCH(QSize, expected);
        QTemporaryDir dir;
        const QString path = writeFile(dir, "p", encode(halves(400, 300), format.constData()));
        QSize asked;
        std::function<QSize(QSize)> drawSize;
        if (draw.isValid())
            drawSize = [&](QSize full) {
                asked = full;
                return draw;
            };
        const LoadedPicture p = loadPicture(path, drawSize);
        QCOMPARE(p.image.size(), expected);
        QCOMPARE(p.original, QSize(400, 300));
        if (draw.isValid()) QCOMPARE(asked, QSize(400, 300));
        if (expected.width() > 4) {
            QVERIFY(isRed(p.image.pixel(expected.width() / 4, expected.height() / 2)));
            QVERIFY(isBlue(p.image.pixel(expected.width() * 3 / 4, expected.height() / 2)));
        }
    }

    void palettePngShrinks_data() {
        QTest::addColumn<int>("format");
        QTest::newRow("1-bit") << int(QImage::Format_Mono);
        QTest::newRow("palette") << int(QImage::Format_Indexed8);
    }
    void palettePngShrinks() {
        // A two-colour picture as paint programs save it: a palette PNG, red left, blue right.
        QFETCH(int, format);
        QImage img(400, 300, QImage::Format(format));
        img.setColorTable({qRgb(255, 0, 0), qRgb(0, 0, 255)});
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 400; ++x)
                img.setPixel(x, y, x < 200 ? 0 : 1);
        QTemporaryDir dir;
        const QString path = dir.filePath("two.png");
        QVERIFY(img.save(path, "PNG"));
        const LoadedPicture p = loadPicture(path, [](QSize) { return QSize(100, 75); });
        QCOMPARE(p.image.size(), QSize(100, 75));
        QVERIFY(isRed(p.image.pixel(20, 40)));
        QVERIFY(isBlue(p.image.pixel(80, 40)));
    }

    void exifOrientation_data() {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<int>("divisor"); // the picture is drawn at upright size / divisor
        QTest::addColumn<QSize>("upright");
        QTest::addColumn<bool>("redFirst"); // red at the top left quarter, blue at bottom right
        for (int divisor : {1, 4}) {
            const QByteArray d = divisor == 1 ? " full" : " quarter";
            QTest::newRow("1 upright" + d) << 1 << divisor << QSize(200, 100) << true;
            QTest::newRow("3 upside down" + d) << 3 << divisor << QSize(200, 100) << false;
            QTest::newRow("6 turned right" + d) << 6 << divisor << QSize(100, 200) << true;
            QTest::newRow("8 turned left" + d) << 8 << divisor << QSize(100, 200) << false;
        }
    }
    void exifOrientation() {
        QFETCH(int, orientation);
        QFETCH(int, divisor);
        QFETCH(QSize, upright);
        QFETCH(bool, redFirst);
        QTemporaryDir dir;
        const QString path = writeFile(
            dir, "photo.jpg", withOrientation(encode(halves(200, 100), "JPEG"), orientation));
        const PictureProbe probe = probePicture(path);
        QVERIFY(probe.ok);
        QCOMPARE(probe.size, upright);

        QSize asked;
        const LoadedPicture p = loadPicture(path, [&](QSize full) {
            asked = full;
            return full / divisor;
        });
        QCOMPARE(asked, upright);
        QCOMPARE(p.original, upright);
        const QSize drawn = upright / divisor;
        QCOMPARE(p.image.size(), drawn);
        const QRgb first = p.image.pixel(drawn.width() / 4, drawn.height() / 4);
        const QRgb last = p.image.pixel(drawn.width() * 3 / 4, drawn.height() * 3 / 4);
        QVERIFY(redFirst ? isRed(first) : isBlue(first));
        QVERIFY(redFirst ? isBlue(last) : isRed(last));
    }

    void refusesBombs_data() {
        QTest::addColumn<QByteArray>("content");
        // A few kilobytes that would decode to 400 megapixels.
        QImage plain(20000, 20000, QImage::Format_Mono);
        plain.fill(0);
        const QByteArray png = encode(plain, "PNG");
        QVERIFY(png.size() < 1024 * 1024);
        QTest::newRow("20000 x 20000 png") << png;
        QTest::newRow("jpeg claiming 50000 x 50000")
            << claimingSize(encode(filled(16, 16, Qt::gray), "JPEG"), 50000, 50000);
    }
    void refusesBombs() {
        QFETCH(QByteArray, content);
        QVERIFY(!content.isEmpty());
        QTemporaryDir dir;
        const QString path = writeFile(dir, "bomb", content);
        QVERIFY(!probePicture(path).ok);
        QVERIFY(loadPicture(path).isNull());
        // Not even a small drawing size lets it through.
        QVERIFY(loadPicture(path, [](QSize) { return QSize(64, 64); }).isNull());
    }

    void largePhotoDecodes() {
        // A 50-megapixel photo: the toolkit's default limit of 128 MB (counted at four bytes a
        // pixel) would refuse its full-size decode.
        QTemporaryDir dir;
        QString path;
        {
            QImage big(8660, 5773, QImage::Format_Grayscale8);
            big.fill(128);
            path = writeFile(dir, "big.jpg", encode(big, "JPEG"));
        }
        QCOMPARE(probePicture(path).size, QSize(8660, 5773));
        QCOMPARE(loadPicture(path, [](QSize) { return QSize(866, 577); }).image.size(),
                 QSize(866, 577));
        const LoadedPicture full = loadPicture(path);
        QCOMPARE(full.image.size(), QSize(8660, 5773));
        QCOMPARE(qGray(full.image.pixel(4000, 3000)), 128);
    }
};

QTEST_GUILESS_MAIN(PictureTest)
#include "picture_test.moc"

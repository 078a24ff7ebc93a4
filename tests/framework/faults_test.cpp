// Damaged picture files: cut short, empty, a sound header over a broken body, and headers
// that understate the picture (found by fuzzing the loader). The probe may accept what the
// decode then refuses; the loader never crashes, and what it gives is the size it is drawn.
#include "common/testfiles.h"
#include "framework/picture.h"
#include "state/fitting.h"

#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

namespace {

QByteArray bytesOf(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values)
        out += char(v);
    return out;
}

// Where the data of the first chunk or segment `marker` starts.
qsizetype dataOf(const QByteArray& file, const QByteArray& marker, int headerBytes) {
    const qsizetype at = file.indexOf(marker);
    return at < 0 ? -1 : at + headerBytes;
}

// The bytes from `from` up to `to` overwritten with a pattern; the rest as it was.
QByteArray overwritten(QByteArray file, qsizetype from, qsizetype to) {
    for (qsizetype i = from; i < to && i < file.size(); ++i)
        file[i] = char((i * 37 + 11) & 0xFF);
    return file;
}

// A GIF whose screen is canvas wide and high while its only frame is 2 x 1.
QByteArray gifWithCanvas(int w, int h) {
    return QByteArray("GIF89a") + bytesOf({w & 0xFF, w >> 8, h & 0xFF, h >> 8, 0x80, 0, 0}) +
           bytesOf({0, 0, 0, 255, 255, 255}) +
           bytesOf({',', 0, 0, 0, 0, 2, 0, 1, 0, 0, 2, 2, 0x44, 0x01, 0, ';'});
}

QByteArray zeroed(QByteArray file, qsizetype from, qsizetype to) {
    return file.replace(from, to - from, QByteArray(to - from, '\0'));
}

const QSize cell(96, 72);

} // namespace

class PictureFaultsTest : public QObject {
    Q_OBJECT
  private slots:
    void damagedFiles_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QSize>("probed"); // invalid: the probe refuses the file
        QTest::addColumn<bool>("decodes");
        const QByteArray png = testfiles::noisePicture(QSize(64, 48), "PNG");
        const QByteArray jpeg = testfiles::noisePicture(QSize(64, 48), "JPEG");
        const QByteArray bmp = testfiles::noisePicture(QSize(20, 10), "BMP");
        const qsizetype idat = dataOf(png, "IDAT", 4);
        const qsizetype scan = dataOf(jpeg, bytesOf({0xFF, 0xDA}), 14); // after a 3-part SOS
        QVERIFY(idat > 0 && scan > 0 && png.size() > idat + 1000 && jpeg.size() > scan + 1000);

        for (const char* name : {"empty.png", "empty.jpg", "empty.gif", "empty", "empty.bmp"})
            QTest::newRow(name) << name << QByteArray() << QSize() << false;
        QTest::newRow("png cut in its data")
            << "a.png" << png.left(idat + 500) << QSize(64, 48) << false;
        QTest::newRow("png cut at its data") << "a.png" << png.left(idat) << QSize(64, 48) << false;
        QTest::newRow("png data overwritten")
            << "a.png" << overwritten(png, idat + 2, png.size() - 20) << QSize(64, 48) << false;
        QTest::newRow("png signature only") << "a.png" << png.left(8) << QSize() << false;
        // The JPEG decoder fills what it cannot read: still a picture, of its size.
        QTest::newRow("jpeg cut in its data")
            << "a.jpg" << jpeg.left(scan + 300) << QSize(64, 48) << true;
        QTest::newRow("jpeg data zeroed")
            << "a.jpg" << zeroed(jpeg, scan, jpeg.size() - 2) << QSize(64, 48) << true;
        // Bytes that read as markers stop the decoder.
        QTest::newRow("jpeg data overwritten")
            << "a.jpg" << overwritten(jpeg, scan, jpeg.size() - 2) << QSize(64, 48) << false;
        QTest::newRow("jpeg cut before its data")
            << "a.jpg" << jpeg.left(scan - 14) << QSize() << false;
        QTest::newRow("bmp header only") << "a.bmp" << bmp.left(54) << QSize(20, 10) << false;
        QTest::newRow("gif cut after its screen")
            << "a.gif" << gifWithCanvas(2, 1).left(13) << QSize() << false;
    }
    void damagedFiles() {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QSize, probed);
        QFETCH(bool, decodes);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        testfiles::writeText(path, content);
        const PictureProbe probe = probePicture(path);
        QCOMPARE(probe.ok, probed.isValid());
        if (probe.ok) QCOMPARE(probe.size, probed);
        const LoadedPicture loaded =
            loadPicture(path, [](QSize full) { return fitting::fitRect(full, cell).size(); });
        QCOMPARE(!loaded.isNull(), decodes);
        if (decodes) {
            QCOMPARE(loaded.original, probed);
            QCOMPARE(loaded.image.size(), probed); // smaller than the cell: drawn at full size
        }
    }

    // Found by fuzzing: the probe read a GIF's frame size, the decode gave its whole screen.
    void headerUnderstatesThePicture_data() {
        QTest::addColumn<QSize>("canvas");
        QTest::addColumn<QSize>("drawn");
        QTest::newRow("wide screen") << QSize(32770, 1) << QSize(96, 1);
        QTest::newRow("tall screen") << QSize(3, 40000) << QSize(1, 72);
        QTest::newRow("screen a little larger") << QSize(300, 200) << QSize(96, 64);
    }
    void headerUnderstatesThePicture() {
        QFETCH(QSize, canvas);
        QFETCH(QSize, drawn);
        QTemporaryDir dir;
        const QString path = dir.filePath("canvas.gif");
        testfiles::writeText(path, gifWithCanvas(canvas.width(), canvas.height()));
        QList<QSize> asked;
        const LoadedPicture loaded = loadPicture(path, [&](QSize full) {
            asked << full;
            return fitting::fitRect(full, cell).size();
        });
        QVERIFY(!loaded.isNull());
        QCOMPARE(loaded.original, canvas);
        QCOMPARE(asked.last(), canvas);
        QCOMPARE(loaded.image.size(), drawn);
        // Without a drawing size the picture comes at the size the decode showed.
        QCOMPARE(loadPicture(path).image.size(), canvas);
    }

    // Found by fuzzing: 33 bytes that decode to a canvas of 4098 x 8448 pixels, slow enough on
    // a loaded machine to pass for a hang. The picture comes at the size it is drawn.
    void largeCanvasFromAFewBytes() {
        QTemporaryDir dir;
        const QString path = dir.filePath("canvas.gif");
        testfiles::writeText(path, QByteArray::fromHex("474946383961021000218000400000"
                                                       "00ffffff2cae000000000200010000"
                                                       "004402"));
        QVERIFY(probePicture(path).ok);
        const LoadedPicture loaded =
            loadPicture(path, [](QSize full) { return fitting::fitRect(full, cell).size(); });
        QVERIFY(!loaded.isNull());
        QCOMPARE(loaded.image.size(), fitting::fitRect(loaded.original, cell).size());
        QVERIFY(loaded.original.width() >= 4098);
    }

    // A canvas too large for any decode is refused, however small the file.
    void hugeCanvasIsRefused() {
        QTemporaryDir dir;
        const QString path = dir.filePath("huge.gif");
        testfiles::writeText(path, gifWithCanvas(65535, 65535));
        QVERIFY(loadPicture(path, [](QSize) { return QSize(10, 10); }).isNull());
    }
};

QTEST_GUILESS_MAIN(PictureFaultsTest)
#include "faults_test.moc"

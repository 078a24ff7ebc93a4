#include "pictures/thumbnails/camera_thumbnail.h"

#include "bench/child_peak.h"
#include "bench/hostile_pictures.h"
#include "common/testfiles.h"

#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

// Four coloured quarters: any turn or mirroring shows.
QImage quarters(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    const int w = size.width(), h = size.height();
    QPainter p(&image);
    p.fillRect(0, 0, w / 2, h / 2, Qt::red);
    p.fillRect(w / 2, 0, w - w / 2, h / 2, Qt::green);
    p.fillRect(0, h / 2, w / 2, h - h / 2, Qt::blue);
    p.fillRect(w / 2, h / 2, w - w / 2, h - h / 2, Qt::yellow);
    return image;
}

QByteArray jpeg(const QImage& image) {
    return testfiles::encode(image, "jpeg");
}

// A 160 x 120 thumbnail with the photo's quarters in `inner` and black around it.
QByteArray padded(QRect inner) {
    QImage image(160, 120, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter(&image).drawImage(inner, quarters(inner.size()));
    return jpeg(image);
}

// A JPEG whose frame header claims another size than its data has.
QByteArray claiming(QByteArray jpeg, int side) {
    const qsizetype frame = jpeg.indexOf("\xFF\xC0");
    for (int at : {5, 7}) { // height, then width, big-endian
        jpeg[frame + at] = char(side >> 8);
        jpeg[frame + at + 1] = char(side & 0xFF);
    }
    return jpeg;
}

// A 600 x 400 JPEG photo of quarters with an EXIF orientation and, unless empty, a thumbnail.
void writePhoto(const QString& path, int orientation, const QByteArray& thumbnail) {
    testfiles::writeCameraPhoto(path, quarters(QSize(600, 400)), orientation, thumbnail);
}

// The photo as Qt decodes it, upright.
QImage upright(const QString& path) {
    QImageReader reader(path);
    reader.setAutoTransform(true);
    return reader.read();
}

bool similar(QRgb a, QRgb b) {
    return qAbs(qRed(a) - qRed(b)) < 48 && qAbs(qGreen(a) - qGreen(b)) < 48 &&
           qAbs(qBlue(a) - qBlue(b)) < 48;
}

// Photoshop segments of nearly 64 KiB each, `megabytes` in all, put into a JPEG at `at`.
QByteArray withSegments(QByteArray jpeg, qsizetype at, int megabytes) {
    const QByteArray segment = QByteArray::fromHex("FFEDFFEC") + QByteArray("Photoshop 3.0", 14) +
                               QByteArray::fromHex("3842494D040400000000FFD0") +
                               QByteArray(0xFFD0, 'x'); // 8BIM record 0x0404 of 0xFFD0 bytes
    QByteArray all;
    while (all.size() < megabytes << 20)
        all += segment;
    return jpeg.insert(at, all);
}

// Where a JPEG's picture data begins: after the APPn segments that follow its start.
qsizetype afterAppSegments(const QByteArray& jpeg) {
    qsizetype at = 2;
    while (uchar(jpeg[at]) == 0xFF && (uchar(jpeg[at + 1]) & 0xF0) == 0xE0)
        at += 2 + (uchar(jpeg[at + 2]) << 8 | uchar(jpeg[at + 3]));
    return at;
}

} // namespace

class CameraThumbnailTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString path(const char* name) const { return dir_.filePath(QLatin1String(name)); }

  private slots:
    void read_data() {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QByteArray>("thumbnail");
        QTest::addColumn<QSize>("expected"); // 0 x 0: refused
        const QByteArray thumb = jpeg(quarters(QSize(150, 100)));
        const QSize none(0, 0);
        QTest::newRow("as stored") << 1 << thumb << QSize(150, 100);
        QTest::newRow("turned right (6)") << 6 << thumb << QSize(100, 150);
        QTest::newRow("turned left (8)") << 8 << thumb << QSize(100, 150);
        QTest::newRow("mirrored (2)") << 2 << thumb << QSize(150, 100);
        QTest::newRow("upside down (3)") << 3 << thumb << QSize(150, 100);
        QTest::newRow("flipped (4)") << 4 << thumb << QSize(150, 100);
        QTest::newRow("mirrored and turned (5)") << 5 << thumb << QSize(100, 150);
        QTest::newRow("mirrored and turned (7)") << 7 << thumb << QSize(100, 150);
        QTest::newRow("3:2 padded to 4:3, bands cropped")
            << 1 << padded(QRect(0, 6, 160, 107)) << QSize(160, 107);
        QTest::newRow("2:3 padded sideways (8)")
            << 8 << padded(QRect(0, 6, 160, 107)) << QSize(107, 160);
        QTest::newRow("4:3 of a 3:2 photo") << 1 << jpeg(quarters(QSize(160, 120))) << none;
        QTest::newRow("bands leave other proportions")
            << 1 << padded(QRect(0, 20, 160, 80)) << none;
        QTest::newRow("2 % off") << 1 << jpeg(quarters(QSize(150, 98))) << none;
        QTest::newRow("cut short") << 1 << thumb.left(thumb.size() / 2) << none;
        QTest::newRow("a PNG") << 1 << testfiles::encode(quarters(QSize(150, 100)), "png") << none;
        QTest::newRow("claims 60000 a side") << 1 << claiming(thumb, 60000) << none;
        QTest::newRow("none") << 1 << QByteArray() << none;
    }
    void read() {
        QFETCH(int, orientation);
        QFETCH(QByteArray, thumbnail);
        QFETCH(QSize, expected);
        const QString photo = path("photo.jpg");
        writePhoto(photo, orientation, thumbnail);
        const QImage full = upright(photo);
        const QImage got =
            camera_thumbnail::read(photo, full.size(), QImageReader(photo).transformation());
        QCOMPARE(got.size(), expected);
        // Turned the way Qt turns the photo itself: the same colour in each quarter.
        for (double fx : {0.25, 0.75})
            for (double fy : {0.25, 0.75})
                if (!got.isNull())
                    QVERIFY(similar(got.pixel(int(fx * got.width()), int(fy * got.height())),
                                    full.pixel(int(fx * full.width()), int(fy * full.height()))));
    }

    // A thumbnail of a few kilobytes whose scans would keep the decoder busy for seconds is
    // refused before it is decoded; one within the loader's limits is decoded, in a fraction
    // of a second. Each in a process of its own.
    void scansCounted_data() {
        QTest::addColumn<int>("scans");
        QTest::addColumn<bool>("decoded");
        QTest::newRow("99 refinement scans") << 99 << true;
        QTest::newRow("4990 refinement scans") << 4990 << false;
    }
    void scansCounted() {
        QFETCH(int, scans);
        QFETCH(bool, decoded);
        const QString photo = path("scans.jpg");
        testfiles::writeCameraPhoto(photo, QImage(640, 480, QImage::Format_RGB32), 1,
                                    hostile::refinementScansJpeg(1024, 768, scans));
        QTemporaryDir warm;
        const hostile::ChildRun run = hostile::inChild(warm.path(), {"camera", photo});
        QCOMPARE(run.ok, decoded);
        QVERIFY(run.peak >= 0);
        QVERIFY2(run.cpu < 1.0, qPrintable(QString::number(run.cpu)));
    }

    void refusesWhatIsNoPhoto() {
        const QString pipe = path("pipe.jpg"), png = path("picture.png");
        QCOMPARE(::mkfifo(qPrintable(pipe), 0600), 0); // no writer: opening it would block
        QVERIFY(quarters(QSize(150, 100)).save(png));
        for (const QString& file : {pipe, png, path("missing.jpg"), dir_.path()})
            QVERIFY(camera_thumbnail::read(file, QSize(150, 100), {}).isNull());
    }

    // Exiv2 keeps the metadata segments it meets: a file full of them is read only so far.
    void metadataBudget_data() {
        QTest::addColumn<bool>("before");
        QTest::newRow("20 MB of segments after EXIF: thumbnail read") << false;
        QTest::newRow("20 MB of segments before EXIF: refused") << true;
    }
    void metadataBudget() {
        QFETCH(bool, before);
        const QString photo = path("segments.jpg");
        writePhoto(photo, 1, jpeg(quarters(QSize(150, 100))));
        const QByteArray bytes = testfiles::readAll(photo);
        testfiles::writeText(photo, withSegments(bytes, before ? 2 : afterAppSegments(bytes), 20));
        QImage got;
        const qint64 grew = testfiles::peakGrowthKb(
            [&] { got = camera_thumbnail::read(photo, QSize(600, 400), {}); });
        QCOMPARE(got.isNull(), before);
        if (grew >= 0) QVERIFY2(grew < 8 * 1024, qPrintable(QString::number(grew)));
    }
};

int main(int argc, char** argv) {
    // {"camera", PHOTO}: the thumbnail of a 640 x 480 photo.
    if (hostile::isChild(argc, argv))
        return hostile::measured(argc, argv, [](const QStringList& a) -> std::function<bool()> {
            if (a.size() != 2 || a[0] != QLatin1String("camera")) return {};
            return [photo = a[1]] {
                return !camera_thumbnail::read(photo, QSize(640, 480), {}).isNull();
            };
        });
    QCoreApplication app(argc, argv);
    CameraThumbnailTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "camera_thumbnail_test.moc"

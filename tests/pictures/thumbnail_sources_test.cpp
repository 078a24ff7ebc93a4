// Where the strip's thumbnails come from: kept from earlier, the desktop's shared cache, the
// camera's thumbnail or a decode. Each gives the cell a full decode gives, a source that does
// not stand for the photo is passed over, and a decoded photo's thumbnail goes to the cache.
#include "pictures/thumbnails/thumbnail_cache.h"

#include "bench/hostile_pictures.h"
#include "common/testfiles.h"
#include "common/testlanes.h"
#include "pictures/background.h"
#include "pictures/decode/picture.h"
#include "pictures/fitting.h"
#include "pictures/picture_compose.h"
#include "pictures/thumbnails/camera_thumbnail.h"
#include "pictures/thumbnails/shared_thumbnails.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <sys/stat.h>

using thumbnail_cache::Source;
using Tamper = std::function<void(const QString& photo)>;
Q_DECLARE_METATYPE(Source)
Q_DECLARE_METATYPE(Tamper)

using testfiles::colourGap;
using testfiles::quarters;

namespace {

const QSize kPhoto(640, 480);
const QSize kCell(100, 80);
const QColor kFill(Qt::white); // far from every colour of the photo: a shifted picture shows
// Scaling by other filters and two rounds of JPEG compression change a smooth picture by a few
// levels; a turn, a mirroring or another place changes it by far more.
constexpr int kTolerance = 12;

// Red grows to the right, green downwards, never bright.
QImage gradient(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb(200 * x / size.width(), 200 * y / size.height(), 40));
    return image;
}

QImage cellOf(const QImage& picture, QSize original) {
    return picture_compose::composeFitted(picture, original, kCell, 1.0, kFill);
}

// The largest difference of any channel of any pixel.
int farthest(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return 256;
    int most = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            most = std::max(most, colourGap(a.pixel(x, y), b.pixel(x, y)));
    return most;
}

// The shared cache's thumbnails are written on the thumbnail threads.
void waitForWrites() {
    fw::pool(fw::Lane::Bulk).waitForDone();
    QCOMPARE(thumbnail_cache::writesPending(), 0);
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

// Photoshop segments of nearly 64 KiB each, `kilobytes` in all, put into a JPEG at `at`.
QByteArray withSegments(QByteArray jpeg, qsizetype at, int kilobytes) {
    const QByteArray segment = QByteArray::fromHex("FFEDFFEC") + QByteArray("Photoshop 3.0", 14) +
                               QByteArray::fromHex("3842494D040400000000FFD0") +
                               QByteArray(0xFFD0, 'x'); // 8BIM record 0x0404 of 0xFFD0 bytes
    QByteArray all;
    while (all.size() < kilobytes << 10)
        all += segment;
    return jpeg.insert(at, all);
}

// Where a JPEG's EXIF segment ends: its marker and length come before its "Exif".
qsizetype afterExif(const QByteArray& jpeg) {
    const qsizetype at = jpeg.indexOf("Exif") - 4;
    return at + 2 + (uchar(jpeg[at + 2]) << 8 | uchar(jpeg[at + 3]));
}

} // namespace

class ThumbnailSourcesTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString photo_;

    // The photo, stored 640 x 480 with an orientation and, unless empty, a camera thumbnail.
    void writePhoto(int orientation, const QByteArray& thumbnail) {
        testfiles::writeCameraPhoto(photo_, gradient(kPhoto), orientation, thumbnail);
        testfiles::setModified(photo_, 100); // settled: its thumbnails may be kept
    }
    // The cell as it comes from the source the fetch used, against the decoded photo's.
    void checkFetch(Source expected) {
        const LoadedPicture full = loadPicture(photo_);
        const thumbnail_cache::Thumbnail t = thumbnail_cache::fetch(photo_, kCell);
        QCOMPARE(t.source, expected);
        QCOMPARE(t.original, full.original);
        const QSize drawn = fitting::fitRect(full.original, kCell).size();
        QVERIFY(t.image.width() <= drawn.width() && t.image.height() <= drawn.height());
        const int off = farthest(cellOf(t.image, t.original), cellOf(full.image, full.original));
        QVERIFY2(off <= kTolerance, qPrintable(QString::number(off)));
    }

  private slots:
    void init() {
        waitForWrites(); // of the test before
        const QString cache = dir_.filePath(QStringLiteral("cache"));
        QDir(cache).removeRecursively();
        qputenv("XDG_CACHE_HOME", QFile::encodeName(cache));
        thumbnail_cache::clear();
        photo_ = dir_.filePath(QStringLiteral("photo.jpg"));
        QFile::remove(photo_);
    }

    // Fetched three times: first from its source, then from memory, then, with the memory
    // cleared as in a new launch, from the camera again or from the thumbnail the decode wrote.
    // A source that does not stand for the photo as it is now is passed over: the photo is
    // decoded, and the strip works as without a cache.
    void everySourceLooksTheSame_data() {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QByteArray>("thumbnail"); // the camera's
        QTest::addColumn<Tamper>("tamper");
        QTest::addColumn<Source>("first");
        QTest::addColumn<Source>("again");
        const QByteArray camera = jpeg(gradient(QSize(160, 120)));
        for (int orientation : {1, 6}) {
            QTest::addRow("decoded, %d", orientation)
                << orientation << QByteArray() << Tamper() << Source::Decoded << Source::Shared;
            QTest::addRow("camera's, %d", orientation)
                << orientation << camera << Tamper() << Source::Camera << Source::Camera;
        }
        // Written to the shared cache as a decoded one: the next start reads that instead.
        QTest::newRow("camera's, progressive") << 1 << hostile::progressiveJpeg(gradient(kPhoto))
                                               << Tamper() << Source::Camera << Source::Shared;
        QTest::newRow("camera's smaller than the cell")
            << 1 << jpeg(gradient(QSize(80, 60))) << Tamper() << Source::Decoded << Source::Shared;
        // A pixel's rounding is more than 1 % of its thumbnail's height.
        QTest::newRow("a long picture") << 1 << QByteArray() << Tamper([](const QString& photo) {
            testfiles::writePicture(photo, QSize(3000, 40), Qt::gray);
            testfiles::setModified(photo, 100);
        }) << Source::Decoded << Source::Shared;
        QTest::newRow("cache folder a file") << 1 << QByteArray() << Tamper([](const QString&) {
            QVERIFY(QDir().mkpath(qEnvironmentVariable("XDG_CACHE_HOME")));
            testfiles::writeText(qEnvironmentVariable("XDG_CACHE_HOME") + "/thumbnails", "x");
        }) << Source::Decoded << Source::Decoded;
    }
    void everySourceLooksTheSame() {
        QFETCH(int, orientation);
        QFETCH(QByteArray, thumbnail);
        QFETCH(Tamper, tamper);
        QFETCH(Source, first);
        QFETCH(Source, again);
        writePhoto(orientation, thumbnail);
        if (tamper) tamper(photo_);
        checkFetch(first);
        checkFetch(Source::Memory);
        waitForWrites();
        // Written in the class that covers the cell, at the class's size.
        const QString written =
            shared_thumbnails::pathOf(photo_, shared_thumbnails::SizeClass::Normal);
        QCOMPARE(QFile::exists(written), again == Source::Shared);
        if (again == Source::Shared) // 128 pixels on its longer side
            QCOMPARE(std::max(QImage(written).width(), QImage(written).height()), 128);
        thumbnail_cache::clear();
        checkFetch(again);
    }

    // The thumbnails kept in memory take at most 256 MB; the least recently used go first.
    // A picture of 682 x 384 pixels in cells of one height and other widths: 1 MB a thumbnail
    // with its bookkeeping, so that 256 of them fill the bound exactly.
    void memoryKeepsTheRecent() {
        testfiles::writeText(qEnvironmentVariable("XDG_CACHE_HOME"), "no cache: only decodes");
        const QString picture = dir_.filePath(QStringLiteral("wide.png"));
        testfiles::writePicture(picture, QSize(682, 384), Qt::gray);
        const auto fetch = [&](int k) { return thumbnail_cache::fetch(picture, {682 + k, 384}); };
        const int fit = 256;
        for (int k = 0; k < fit; ++k)
            QCOMPARE(fetch(k).image.sizeInBytes(), 1023 << 10);
        // All are kept; one more makes the least recently used go, not the first used again.
        QCOMPARE(fetch(0).source, Source::Memory);
        QCOMPARE(fetch(fit).source, Source::Decoded);
        QCOMPARE(fetch(1).source, Source::Decoded);
        for (int k : {fit, 0, fit - 1})
            QCOMPARE(fetch(k).source, Source::Memory);
        QCOMPARE(fetch(2).source, Source::Decoded);
        QFile::remove(qEnvironmentVariable("XDG_CACHE_HOME"));
    }

    // A picture slow to decode stands in from the widest thumbnail in memory of the file as it
    // is now: none once the file has changed.
    void keptOfTheFileAsItIs() {
        testfiles::writePicture(photo_, kPhoto, Qt::gray);
        for (const QSize cell : {QSize(200, 150), QSize(100, 75)})
            QVERIFY(thumbnail_cache::fetch(photo_, cell).ok());
        QCOMPARE(thumbnail_cache::kept(photo_).image.width(), 200);
        testfiles::setModified(photo_, 50);
        QVERIFY(!thumbnail_cache::kept(photo_).ok());
    }

    // Decoded thumbnails wait for the cells queued before them to be written, but at most
    // 16 MB of them: past that, a decode writes its own at once.
    void writesWaitWithinBounds() {
        QStringList pictures;
        for (int i = 0; i < 6; ++i) {
            pictures << dir_.filePath(QStringLiteral("big%1.png").arg(i));
            testfiles::writePicture(pictures.last(), QSize(1024, 1024), Qt::gray);
            testfiles::setModified(pictures.last(), 100); // settled: its thumbnail is written
        }
        const QString folder = qEnvironmentVariable("XDG_CACHE_HOME") + "/thumbnails/xx-large";
        const auto written = [&folder] { return QDir(folder).entryList(QDir::Files).size(); };
        {
            LaneBlock thumbnails(fw::Lane::Bulk);
            for (const QString& p : pictures)
                QCOMPARE(thumbnail_cache::fetch(p, {1024, 1024}).source, Source::Decoded);
            QCOMPARE(thumbnail_cache::writesPending(), 4);
            QCOMPARE(written(), 2);
        }
        waitForWrites();
        QCOMPARE(written(), 6);
    }

    // A portrait drawn higher than the shared cache's largest thumbnails: none is written.
    void noneCachedForLargerCells() {
        testfiles::writePicture(photo_, QSize(1536, 2048), Qt::gray);
        testfiles::setModified(photo_, 100);
        QCOMPARE(thumbnail_cache::fetch(photo_, {1000, 1400}).source, Source::Decoded);
        waitForWrites();
        QVERIFY(QDir(qEnvironmentVariable("XDG_CACHE_HOME")).isEmpty());
    }

    // The camera's thumbnail, as stored in the photo's EXIF data: turned as the photo, cropped
    // of the bands that pad it to other proportions, or refused.
    void cameraThumbnail_data() {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QByteArray>("thumbnail");
        QTest::addColumn<QSize>("expected"); // 0 x 0: refused
        const QByteArray thumb = jpeg(quarters(QSize(150, 100)));
        const QSize none(0, 0);
        QTest::newRow("as stored") << 1 << thumb << QSize(150, 100);
        QTest::newRow("turned right (6)") << 6 << thumb << QSize(100, 150);
        QTest::newRow("3:2 padded to 4:3, bands cropped")
            << 1 << padded(QRect(0, 6, 160, 107)) << QSize(160, 107);
        QTest::newRow("2:3 padded sideways (8)")
            << 8 << padded(QRect(0, 6, 160, 107)) << QSize(107, 160);
        QTest::newRow("4:3 of a 3:2 photo") << 1 << jpeg(quarters(QSize(160, 120))) << none;
        QTest::newRow("bands leave another shape") << 1 << padded(QRect(0, 20, 160, 80)) << none;
        QTest::newRow("2 % off") << 1 << jpeg(quarters(QSize(150, 98))) << none;
        QTest::newRow("cut short") << 1 << thumb.left(thumb.size() / 2) << none;
        QTest::newRow("padded with zeros") << 1 << thumb + QByteArray(64, 0) << QSize(150, 100);
        // Decoded within the loader's limits: more scans than encoders write are refused.
        QTest::newRow("101 scans") << 1 << hostile::refinementScansJpeg(150, 100, 101) << none;
        QTest::newRow("a PNG") << 1 << testfiles::encode(quarters(QSize(150, 100)), "png") << none;
        QTest::newRow("a camera's largest") << 1 << jpeg(quarters({1024, 683})) << QSize(1024, 683);
        QTest::newRow("larger than a camera's") << 1 << jpeg(quarters(QSize(1025, 683))) << none;
        QTest::newRow("none") << 1 << QByteArray() << none;
    }
    void cameraThumbnail() {
        QFETCH(int, orientation);
        QFETCH(QByteArray, thumbnail);
        QFETCH(QSize, expected);
        testfiles::writeCameraPhoto(photo_, quarters(QSize(600, 400)), orientation, thumbnail);
        QImageReader reader(photo_);
        reader.setAutoTransform(true);
        const QImage full = reader.read();
        const QImage got = camera_thumbnail::read(photo_, full.size(), reader.transformation());
        QCOMPARE(got.size(), expected);
        // Turned the way Qt turns the photo itself: the same colour in each quarter. Bright
        // out to its corners: the bands are cropped whole, and only they.
        for (int k = 0; k < 4 && !got.isNull(); ++k) {
            const double fx = 0.25 + k % 2 * 0.5, fy = 0.25 + k / 2 * 0.5;
            QVERIFY(colourGap(got.pixel(int(fx * got.width()), int(fy * got.height())),
                              full.pixel(int(fx * full.width()), int(fy * full.height()))) < 48);
            const QPoint corner(k % 2 * (got.width() - 1), k / 2 * (got.height() - 1));
            QVERIFY(QColor(got.pixel(corner)).value() > 100);
        }
    }

    void refusesWhatIsNoPhoto() {
        const QString pipe = dir_.filePath("pipe.jpg");
        QCOMPARE(::mkfifo(qPrintable(pipe), 0600), 0); // no writer: opening it would block
        for (const QString& file : {pipe, dir_.filePath("missing.jpg"), dir_.path()})
            QVERIFY(camera_thumbnail::read(file, QSize(150, 100), {}).isNull());
    }

    // Exiv2 keeps the metadata segments it meets: a file full of them is read only so far, its
    // first megabyte.
    void metadataBudget_data() {
        QTest::addColumn<int>("kilobytes");
        QTest::addColumn<bool>("before");
        QTest::addColumn<bool>("cut"); // the file ends inside them: damaged, refused
        QTest::newRow("20 MB of segments after EXIF: read") << (20 << 10) << false << false;
        QTest::newRow("0.9 MB of segments before EXIF: thumbnail read") << 900 << true << false;
        QTest::newRow("1.1 MB of segments before EXIF: refused") << 1100 << true << false;
        QTest::newRow("segments after EXIF, cut short: refused") << 64 << false << true;
    }
    void metadataBudget() {
        QFETCH(int, kilobytes);
        QFETCH(bool, before);
        QFETCH(bool, cut);
        testfiles::writeCameraPhoto(photo_, quarters(QSize(600, 400)), 1,
                                    jpeg(quarters(QSize(150, 100))));
        const QByteArray bytes = testfiles::readAll(photo_);
        QByteArray written = withSegments(bytes, before ? 2 : afterExif(bytes), kilobytes);
        if (cut) written.truncate(afterExif(bytes) + 1000);
        testfiles::writeText(photo_, written);
        QImage got;
        const qint64 grew = testfiles::peakGrowthKb(
            [&] { got = camera_thumbnail::read(photo_, QSize(600, 400), {}); });
        QCOMPARE(got.isNull(), (before && kilobytes > 1024) || cut);
        if (grew >= 0) QVERIFY2(grew < 8 * 1024, qPrintable(QString::number(grew)));
    }
};

QTEST_GUILESS_MAIN(ThumbnailSourcesTest)
#include "thumbnail_sources_test.moc"

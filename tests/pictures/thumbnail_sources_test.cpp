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
#include "pictures/thumbnails/shared_thumbnails.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

using thumbnail_cache::Source;
using Tamper = std::function<void(const QString& photo)>;
Q_DECLARE_METATYPE(Source)
Q_DECLARE_METATYPE(Tamper)

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
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            most = std::max({most, qAbs(qRed(p) - qRed(q)), qAbs(qGreen(p) - qGreen(q)),
                             qAbs(qBlue(p) - qBlue(q))});
        }
    return most;
}

// The shared cache's thumbnails are written on the thumbnail threads.
void waitForWrites() {
    fw::pool(fw::Lane::Bulk).waitForDone();
    QCOMPARE(thumbnail_cache::writesPending(), 0);
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
    void everySourceLooksTheSame_data() {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<bool>("camera");
        QTest::addColumn<Source>("first");
        QTest::addColumn<Source>("again");
        QTest::newRow("decoded") << 1 << false << Source::Decoded << Source::Shared;
        QTest::newRow("decoded, turned (6)") << 6 << false << Source::Decoded << Source::Shared;
        QTest::newRow("camera's") << 1 << true << Source::Camera << Source::Camera;
        QTest::newRow("camera's, turned (6)") << 6 << true << Source::Camera << Source::Camera;
        // Written to the shared cache as a decoded one: the next start reads that instead.
        QTest::newRow("camera's, progressive") << 1 << true << Source::Camera << Source::Shared;
    }
    void everySourceLooksTheSame() {
        QFETCH(int, orientation);
        QFETCH(bool, camera);
        QFETCH(Source, first);
        QFETCH(Source, again);
        const bool progressive = again == Source::Shared && camera;
        writePhoto(orientation, !camera ? QByteArray()
                                : progressive
                                    ? hostile::progressiveJpeg(gradient(QSize(640, 480)))
                                    : testfiles::encode(gradient(QSize(160, 120)), "jpeg"));
        checkFetch(first);
        checkFetch(Source::Memory);
        waitForWrites();
        // Written in the class that covers the cell, at the class's size.
        const QString written =
            shared_thumbnails::pathOf(photo_, *shared_thumbnails::classFor(kCell));
        QCOMPARE(QFile::exists(written), again == Source::Shared);
        if (again == Source::Shared)
            QCOMPARE(std::max(QImage(written).width(), QImage(written).height()),
                     shared_thumbnails::pixels(*shared_thumbnails::classFor(kCell)));
        thumbnail_cache::clear();
        checkFetch(again);
    }

    // A source that does not stand for the photo as it is now is passed over: the photo is
    // decoded, and the strip works as without a cache.
    void badSourcesAreDecoded_data() {
        QTest::addColumn<QByteArray>("thumbnail");
        QTest::addColumn<Tamper>("tamper");
        QTest::addColumn<bool>("written");
        const auto cached = [](const QString& photo) {
            return shared_thumbnails::pathOf(photo, shared_thumbnails::SizeClass::Normal);
        };
        QTest::newRow("camera's of other proportions")
            << testfiles::encode(gradient(QSize(160, 90)), "jpeg") << Tamper() << true;
        QTest::newRow("camera's smaller than the cell")
            << testfiles::encode(gradient(QSize(80, 60)), "jpeg") << Tamper() << true;
        QTest::newRow("camera's not a JPEG")
            << testfiles::encode(gradient(QSize(160, 120)), "png") << Tamper() << true;
        QTest::newRow("cached, of the photo before it changed")
            << QByteArray() << Tamper([](const QString& photo) {
                   thumbnail_cache::fetch(photo, kCell); // decoded, its thumbnail written
                   waitForWrites();
                   thumbnail_cache::clear();
                   QFile file(photo);
                   QVERIFY(file.open(QIODevice::Append));
                   QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-100),
                                            QFileDevice::FileModificationTime));
               })
            << true;
        QTest::newRow("cached, not a PNG") << QByteArray() << Tamper([cached](const QString& p) {
            QVERIFY(QDir().mkpath(QFileInfo(cached(p)).path()));
            testfiles::writeText(cached(p), "not a PNG");
        }) << true;
        QTest::newRow("cache folder a file") << QByteArray() << Tamper([](const QString&) {
            QDir(qEnvironmentVariable("XDG_CACHE_HOME")).removeRecursively();
            QVERIFY(QDir().mkpath(qEnvironmentVariable("XDG_CACHE_HOME")));
            testfiles::writeText(qEnvironmentVariable("XDG_CACHE_HOME") + "/thumbnails", "x");
        }) << false;
    }
    void badSourcesAreDecoded() {
        QFETCH(QByteArray, thumbnail);
        QFETCH(Tamper, tamper);
        QFETCH(bool, written);
        writePhoto(1, thumbnail);
        if (tamper) tamper(photo_);
        checkFetch(Source::Decoded);
        waitForWrites();
        thumbnail_cache::clear();
        checkFetch(written ? Source::Shared : Source::Decoded);
    }

    // The thumbnails kept in memory take at most kMaxBytes; the least recently used go first.
    // A picture 1024 pixels square in cells of one height and other widths: 4 MB a thumbnail.
    void memoryKeepsTheRecent() {
        testfiles::writeText(qEnvironmentVariable("XDG_CACHE_HOME"), "no cache: only decodes");
        const QString square = dir_.filePath(QStringLiteral("square.png"));
        testfiles::writePicture(square, QSize(1024, 1024), Qt::gray);
        const auto fetch = [&](int k) { return thumbnail_cache::fetch(square, {1024 + k, 1024}); };
        const int fit = int(thumbnail_cache::kMaxBytes >> 22);
        for (int k = 0; k < fit - 1; ++k)
            QCOMPARE(fetch(k).image.sizeInBytes(), 4 << 20);
        // One fewer than fit are all kept; the first, used again, stays when two more come.
        QCOMPARE(fetch(0).source, Source::Memory);
        QCOMPARE(fetch(fit - 1).source, Source::Decoded);
        QCOMPARE(fetch(fit).source, Source::Decoded);
        for (int k : {fit, 0, fit - 2})
            QCOMPARE(fetch(k).source, Source::Memory);
        QCOMPARE(fetch(1).source, Source::Decoded);
        QFile::remove(qEnvironmentVariable("XDG_CACHE_HOME"));
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
        const auto written = [&pictures] {
            QString out;
            for (const QString& p : pictures)
                out += QFile::exists(shared_thumbnails::pathOf(
                           p, *shared_thumbnails::classFor(QSize(1024, 1024))))
                           ? '1'
                           : '0';
            return out;
        };
        {
            LaneBlock thumbnails(fw::Lane::Bulk);
            for (const QString& p : pictures)
                QCOMPARE(thumbnail_cache::fetch(p, {1024, 1024}).source, Source::Decoded);
            QCOMPARE(thumbnail_cache::writesPending(), 4);
            QCOMPARE(written(), QString("000011"));
        }
        waitForWrites();
        QCOMPARE(written(), QString("111111"));
    }
};

QTEST_GUILESS_MAIN(ThumbnailSourcesTest)
#include "thumbnail_sources_test.moc"

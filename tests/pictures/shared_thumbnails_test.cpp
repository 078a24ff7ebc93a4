#include "pictures/thumbnails/shared_thumbnails.h"

#include "bench/hostile_pictures.h"
#include "common/testfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <ctime>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace shared_thumbnails;
using Tamper = std::function<void(const QString& picture, const QString& thumbnail)>;
Q_DECLARE_METATYPE(Tamper)
Q_DECLARE_METATYPE(SizeClass)

namespace {

const QSize kPicture(600, 400);

QImage filled(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    return image;
}

// A thumbnail as another program writes it: the URI and modification time, no size.
void writeForeign(const QString& thumbnail, const QString& picture, QSize size) {
    QImage image = filled(size);
    image.setText(QStringLiteral("Thumb::URI"), QString::fromLatin1(uriOf(picture)));
    image.setText(QStringLiteral("Thumb::MTime"),
                  QString::number(QFileInfo(picture).lastModified().toSecsSinceEpoch()));
    QVERIFY(QDir().mkpath(QFileInfo(thumbnail).path()));
    QVERIFY(image.save(thumbnail, "png"));
}

// Puts chunks after the PNG's header.
void insertChunks(const QString& png, const QByteArray& chunks) {
    const QByteArray bytes = testfiles::readAll(png);
    testfiles::writeText(png, bytes.left(33) + chunks + bytes.mid(33));
}

mode_t modeOf(const QString& path) {
    struct stat st {};
    return ::lstat(qPrintable(path), &st) == 0 ? st.st_mode & 07777 : 0;
}

// Files of a size class's folder, hidden ones (unfinished writes) included.
QStringList filesIn(SizeClass size) {
    return QFileInfo(pathOf(QStringLiteral("/x"), size))
        .dir()
        .entryList(QDir::Files | QDir::Hidden);
}

} // namespace

class SharedThumbnailsTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString picture_;
    QString path(const QString& name) const { return dir_.filePath(name); }
    bool write(const QImage& image, SizeClass size) {
        return shared_thumbnails::write(picture_, image, kPicture, size,
                                        *files::stampOf(QFile::encodeName(picture_)));
    }

  private slots:
    void init() {
        QDir(path(QStringLiteral("cache"))).removeRecursively();
        qputenv("XDG_CACHE_HOME", QFile::encodeName(path(QStringLiteral("cache"))));
        picture_ = path(QStringLiteral("photo.jpg"));
        QFile::remove(picture_); // may be a link into the cache a test made
        testfiles::writePicture(picture_, kPicture, Qt::darkCyan);
        testfiles::setModified(picture_, 10, 500'000'000); // settled
    }

    void uri_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("uri");
        QTest::newRow("plain") << "/home/Jens/photos/IMG_0042.png"
                               << "file:///home/Jens/photos/IMG_0042.png";
        // As GLib's g_filename_to_uri writes it, so that other programs' thumbnails are found.
        QTest::newRow("every kind of byte")
            << "/t/a;b!$&'()*+,-.:=@_~[]{}|^`\"#%<>? è\t/x"
            << "file:///t/a%3Bb!$&'()*+,-.:=@_~%5B%5D%7B%7D%7C%5E%60%22%23%25"
               "%3C%3E%3F%20%C3%A8%09/x";
        QTest::newRow("dots and slashes cleaned") << "/a/./b/../c//d.jpg"
                                                  << "file:///a/c/d.jpg";
    }
    void uri() {
        QFETCH(QString, path);
        QFETCH(QString, uri);
        QCOMPARE(QString::fromLatin1(uriOf(path)), uri);
    }

    void namedByTheUrisMd5() {
        QCOMPARE(
            pathOf(QStringLiteral("/home/jens/photos/me.png"), SizeClass::Large),
            path(QStringLiteral("cache/thumbnails/large/c6ee772d9e49320e97ec29a7eb5b1697.png")));
    }

    // Written as the standard says, read back for any cell it covers.
    void roundTrip_data() {
        QTest::addColumn<QSize>("decoded");
        QTest::addColumn<SizeClass>("size");
        QTest::addColumn<QSize>("written");
        QTest::addColumn<QSize>("drawn");
        QTest::addColumn<bool>("read");
        QTest::newRow("normal") << QSize(300, 200) << SizeClass::Normal << QSize(128, 85)
                                << QSize(120, 80) << true;
        QTest::newRow("large for a small cell")
            << QSize(300, 200) << SizeClass::Large << QSize(256, 170) << QSize(60, 40) << true;
        QTest::newRow("too small for the cell")
            << QSize(300, 200) << SizeClass::Normal << QSize(128, 85) << QSize(192, 128) << false;
        QTest::newRow("whole picture, never enlarged")
            << kPicture << SizeClass::XXLarge << kPicture << QSize(900, 600) << true;
    }
    void roundTrip() {
        QFETCH(QSize, decoded);
        QFETCH(SizeClass, size);
        QFETCH(QSize, written);
        QFETCH(QSize, drawn);
        QFETCH(bool, read);
        QVERIFY(write(filled(decoded), size));
        const QString file = pathOf(picture_, size);
        const QImage png(file);
        QCOMPARE(png.size(), written);
        const QFileInfo info(picture_);
        QCOMPARE(png.text("Thumb::MTime"), QString::number(info.lastModified().toSecsSinceEpoch()));
        QCOMPARE(png.text("Thumb::Size"), QString::number(info.size()));
        QCOMPARE(png.text("Thumb::Image::Width") + 'x' + png.text("Thumb::Image::Height"),
                 "600x400");
        // Uncompressed: other programs read the tags only from tEXt chunks.
        QVERIFY(testfiles::readAll(file).contains(QByteArray("tEXtThumb::URI\0", 15) +
                                                  uriOf(picture_)));
        QCOMPARE(modeOf(file), mode_t(0600));
        QCOMPARE(modeOf(QFileInfo(file).path()), mode_t(0700));
        QCOMPARE(modeOf(path(QStringLiteral("cache/thumbnails"))), mode_t(0700));
        QCOMPARE(filesIn(size).size(), 1);
        QCOMPARE(shared_thumbnails::read(picture_, kPicture, drawn).size(),
                 read ? written : QSize(0, 0));
        // The standard's stamp is whole seconds: the picture rewritten within its second, to the
        // same length, is told apart by this program's own stamp.
        QByteArray bytes = testfiles::readAll(picture_);
        bytes[bytes.size() / 2] = char(bytes[bytes.size() / 2] ^ 0x55);
        testfiles::writeText(picture_, bytes);
        testfiles::setModified(picture_, 10, 700'000'000);
        QVERIFY(shared_thumbnails::read(picture_, kPicture, drawn).isNull());
    }

    // A picture at nearly the longest path the system takes, almost every byte escaped in its URI.
    void longestUri() {
        QString deep = path(QStringLiteral("x"));
        const QString folder = QString(127, QChar(0xe8)); // 254 bytes in UTF-8
        while (QFile::encodeName(deep).size() + 255 < 4095)
            deep += '/' + folder;
        picture_ =
            deep + '/' + QString((4090 - QFile::encodeName(deep).size()) / 2, QChar(0xe8)) + ".jpg";
        QVERIFY(QDir().mkpath(deep));
        testfiles::writePicture(picture_, kPicture, Qt::darkCyan);
        testfiles::setModified(picture_, 10);
        QVERIFY(uriOf(picture_).size() > 12000);
        QVERIFY(write(filled({300, 200}), SizeClass::Normal));
        QCOMPARE(shared_thumbnails::read(picture_, kPicture, {120, 80}).size(), QSize(128, 85));
        QDir(path(QStringLiteral("x"))).removeRecursively();
    }

    // Each thumbnail that does not stand for the file as it is now is ignored, at no cost.
    void readsOnlyWhatStandsForTheFile_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<Tamper>("tamper");
        QTest::addColumn<bool>("accepted");
        const QSize fits(128, 85);
        QTest::newRow("another program's, no size") << fits << Tamper() << true;
        for (const char* tag : {"Thumb::Size", "Thumb::URI", "Thumb::MTime"})
            QTest::addRow("wrong %s", tag) << fits << Tamper([tag](auto, auto t) {
                QImage image(t);
                image.setText(QLatin1String(tag), QStringLiteral("1"));
                QVERIFY(image.save(t, "png"));
            }) << false;
        QTest::newRow("other proportions") << QSize(128, 128) << Tamper() << false;
        QTest::newRow("5400 x 3600") << QSize(5400, 3600) << Tamper() << false;
        QTest::newRow("a pixel wider than its class") << QSize(129, 86) << Tamper() << false;
        QTest::newRow("a pixel higher than its class") << QSize(86, 129) << Tamper() << false;
        // Not trusted for a picture modified in the second it was written: the standard's whole
        // seconds cannot tell them apart.
        QTest::newRow("written in the picture's second") << fits << Tamper([](auto p, auto t) {
            // Both again, a moment apart: the clock may have passed a second since init.
            testfiles::setModified(p, 10, 500'000'000);
            testfiles::setModified(t, 10, 900'000'000);
        }) << false;
        QTest::newRow("a link to a thumbnail") << fits << Tamper([](auto, auto t) {
            QVERIFY(QFile::rename(t, t + ".elsewhere") && QFile::link(t + ".elsewhere", t));
        }) << false;
        QTest::newRow("cache folder a link") << fits << Tamper([](auto, auto t) {
            const QString cache = QFileInfo(QFileInfo(t).path()).path();
            QVERIFY(QDir().rename(cache, cache + "2") && QFile::link(cache + "2", cache));
        }) << false;
        // Compressed text chunks that inflate to seven gigabytes: each below what libpng
        // refuses, fewer than it keeps. With a chunk more, the file of 8 MB, or a byte more.
        for (const int more : {0, 1})
            QTest::newRow(more ? "gigabytes of text in 8 MB and a byte"
                               : "gigabytes of text in 8 MB")
                << fits << Tamper([more](auto, auto t) {
                       const QByteArray text = QByteArray("Comment\0\0", 9) +
                                               qCompress(QByteArray(7 << 20, '\0'), 9).mid(4);
                       insertChunks(t, hostile::pngChunk("zTXt", text).repeated(1000));
                       const qint64 rest = (8 << 20) - QFileInfo(t).size() - 12 + more;
                       insertChunks(t, hostile::pngChunk("tEXt", QByteArray(rest, 'x')));
                   })
                << (more == 0);
        // The tags as international text, as some programs write them.
        for (const bool compressed : {false, true})
            QTest::addRow("tags in %s iTXt", compressed ? "compressed" : "plain")
                << fits << Tamper([compressed](auto p, auto t) {
                       QVERIFY(filled(QImage(t).size()).save(t, "png")); // no tags
                       // The key, whether compressed, the method, no language, no translation.
                       const auto tag = [compressed](const char* key, const QByteArray& value) {
                           return hostile::pngChunk(
                               "iTXt", key +
                                           QByteArray(compressed ? "\0\1\0\0\0" : "\0\0\0\0\0", 5) +
                                           (compressed ? qCompress(value).mid(4) : value));
                       };
                       const qint64 mtime = QFileInfo(p).lastModified().toSecsSinceEpoch();
                       insertChunks(t, tag("Thumb::URI", uriOf(p)) +
                                           tag("Thumb::MTime", QByteArray::number(mtime)));
                   })
                << true;
        QTest::newRow("cut in a tag") << fits << Tamper([](auto, auto t) {
            const qsizetype at = testfiles::readAll(t).indexOf("Thumb::URI");
            QVERIFY(at > 0 && QFile::resize(t, at + 12));
        }) << false;
    }
    void readsOnlyWhatStandsForTheFile() {
        QFETCH(QSize, size);
        QFETCH(Tamper, tamper);
        QFETCH(bool, accepted);
        const QString thumbnail = pathOf(picture_, SizeClass::Normal);
        writeForeign(thumbnail, picture_, size);
        if (tamper) tamper(picture_, thumbnail);
        const QSize picture = size.height() > size.width() ? kPicture.transposed() : kPicture;
        QImage got;
        const qint64 grew = testfiles::peakGrowthKb(
            [&] { got = shared_thumbnails::read(picture_, picture, picture / 5); });
        QCOMPARE(got.size(), accepted ? size : QSize(0, 0));
        if (grew >= 0) QVERIFY2(grew < 12 * 1024, qPrintable(QString::number(grew)));
    }

    // A picture modified in the last three seconds may still be being written: no thumbnail
    // is kept for it until it has settled.
    void settling_data() {
        QTest::addColumn<int>("secondsAgo");
        QTest::addColumn<bool>("written");
        QTest::newRow("modified 2 s ago") << 2 << false;
        QTest::newRow("modified 3 s ago") << 3 << true;
    }
    void settling() {
        QFETCH(int, secondsAgo);
        QFETCH(bool, written);
        bool wrote = false;
        for (time_t second = 0; second != ::time(nullptr);) { // all within one second
            second = ::time(nullptr);
            QFile::remove(pathOf(picture_, SizeClass::Normal));
            testfiles::setModified(picture_, secondsAgo);
            wrote = write(filled({300, 200}), SizeClass::Normal);
        }
        QCOMPARE(wrote, written);
        QCOMPARE(filesIn(SizeClass::Normal).size(), written ? 1 : 0);
    }

    // Whatever stops a write leaves nothing behind and is only reported.
    void writeRefused_data() {
        QTest::addColumn<Tamper>("prepare");
        QTest::addColumn<QSize>("decoded");
        QTest::newRow("picture in the cache") << Tamper([](auto p, auto) {
            const QString inside = QDir(qEnvironmentVariable("XDG_CACHE_HOME"))
                                       .filePath(QStringLiteral("thumbnails/photo.jpg"));
            QVERIFY(QDir().mkpath(QFileInfo(inside).path()));
            QVERIFY(QFile::rename(p, inside));
            QVERIFY(QFile::link(inside, p)); // and by a link from outside
        }) << QSize(300, 200);
        QTest::newRow("cache folder a link") << Tamper([](auto p, auto) {
            const QString elsewhere = QFileInfo(p).dir().filePath(QStringLiteral("elsewhere"));
            QVERIFY(QDir().mkpath(elsewhere));
            QVERIFY(QDir().mkpath(qEnvironmentVariable("XDG_CACHE_HOME")));
            QVERIFY(QFile::link(elsewhere, qEnvironmentVariable("XDG_CACHE_HOME") + "/thumbnails"));
        }) << QSize(300, 200);
        QTest::newRow("picture changed while decoded")
            << Tamper([](auto p, auto) { testfiles::writeText(p, "changed"); }) << QSize(300, 200);
        QTest::newRow("decoded too small for the class") << Tamper() << QSize(120, 80);
        QTest::newRow("other proportions") << Tamper() << QSize(300, 300);
        QTest::newRow("disk full") << Tamper([](auto, auto) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit small{100, RLIM_INFINITY};
            ::setrlimit(RLIMIT_FSIZE, &small);
        }) << QSize(300, 200);
    }
    void writeRefused() {
        QFETCH(Tamper, prepare);
        QFETCH(QSize, decoded);
        const files::Stamp stamp = *files::stampOf(QFile::encodeName(picture_));
        if (prepare) prepare(picture_, {});
        const bool written =
            shared_thumbnails::write(picture_, filled(decoded), kPicture, SizeClass::Normal, stamp);
        const rlimit unlimited{RLIM_INFINITY, RLIM_INFINITY};
        ::setrlimit(RLIMIT_FSIZE, &unlimited);
        QVERIFY(!written);
        QCOMPARE(filesIn(SizeClass::Normal), QStringList());
        QCOMPARE(QDir(path(QStringLiteral("elsewhere")))
                     .entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 QStringList());
    }
};

QTEST_GUILESS_MAIN(SharedThumbnailsTest)
#include "shared_thumbnails_test.moc"

#include "state/folder_scan.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using folder_scan::naturalLess;

namespace {

bool saveImage(const QString& path, int w, int h, const char* format) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    return image.save(path, format);
}

bool writeText(const QString& path, const QByteArray& text) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(text) == text.size();
}

// A listening Unix socket bound at path; closed when the test ends (the file stays).
struct SocketFile {
    int fd = -1;
    explicit SocketFile(const QString& path) {
        const QByteArray native = QFile::encodeName(path);
        sockaddr_un addr{};
        if (size_t(native.size()) >= sizeof addr.sun_path) return;
        addr.sun_family = AF_UNIX;
        std::copy(native.begin(), native.end(), addr.sun_path);
        fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
            ::close(fd);
            fd = -1;
        }
    }
    ~SocketFile() {
        if (fd >= 0) ::close(fd);
    }
};

QStringList names(const QStringList& paths) {
    QStringList out;
    for (const QString& p : paths)
        out << QFileInfo(p).fileName();
    return out;
}

} // namespace

class FolderScanTest : public QObject {
    Q_OBJECT
  private slots:
    void naturalOrder_data() {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<bool>("less");
        QTest::newRow("numbers by value") << "img2"
                                          << "img10" << true;
        QTest::newRow("case ignored") << "IMG2"
                                      << "img10" << true;
        QTest::newRow("second number") << "a1b2"
                                       << "a1b10" << true;
        QTest::newRow("prefix first") << "x"
                                      << "x1" << true;
        QTest::newRow("leading zeros count as the number") << "n007"
                                                           << "n10" << true;
        QTest::newRow("longer than 64 bits") << "n99999999999999999999"
                                             << "n100000000000000000000" << true;
        QTest::newRow("zeros before a long number") << "n000000000000000000000000001"
                                                    << "n2" << true;
        QTest::newRow("dash before digits") << "a-1"
                                            << "a1" << true;
        QTest::newRow("accent after plain letter")
            << QString::fromUtf8("\u00c9cole") << "ecole" << false;
        // Names equal but for case or leading zeros: the exact text decides.
        QTest::newRow("upper case first on a tie") << "IMG1"
                                                   << "img1" << true;
        QTest::newRow("more zeros first on a tie") << "img01"
                                                   << "img1" << true;
        QTest::newRow("non-ascii tie")
            << QString::fromUtf8("\u00c4rger") << QString::fromUtf8("\u00e4rger") << true;
    }
    void naturalOrder() {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(bool, less);
        QCOMPARE(naturalLess(a, b), less);
        QCOMPARE(naturalLess(b, a), a != b && !less);
    }

    void orderIsTotal() {
        // Ties under case and zeros fall back to the exact text: "A1" < "a01" < "a1".
        const QStringList expected = {"",     "-x",  ".a",  "a0",   "a00",  "A1",    "a01",  "a1",
                                      "a1.5", "a1b", "a2",  "A10",  "a010", "a10",   "a10x", "a_",
                                      "ab",   "AB2", "ab2", "ab10", "b",    "Photo", "photo"};
        // Every pair is ordered one way exactly, and the order is transitive.
        for (const QString& x : expected)
            for (const QString& y : expected) {
                QCOMPARE(naturalLess(x, y) + naturalLess(y, x) + (x == y), 1);
                for (const QString& z : expected)
                    if (naturalLess(x, y) && naturalLess(y, z)) QVERIFY(naturalLess(x, z));
            }
        QStringList shuffled = expected;
        std::reverse(shuffled.begin(), shuffled.end());
        std::rotate(shuffled.begin(), shuffled.begin() + 7, shuffled.end());
        std::sort(shuffled.begin(), shuffled.end(), naturalLess);
        QCOMPARE(shuffled, expected);
    }

    void listsEveryItemInOrder() {
        QTemporaryDir dir;
        for (const char* n : {"b.txt", "a10.png", "a2.png", ".hidden", "A2.png"})
            QVERIFY(writeText(dir.filePath(n), "x"));
        QVERIFY(QDir(dir.path()).mkpath("Sub/deeper"));
        QVERIFY(writeText(dir.filePath("Sub/inner.png"), "x"));
        const QStringList items = folder_scan::listItems(dir.path());
        QCOMPARE(names(items),
                 QStringList({".hidden", "A2.png", "a2.png", "a10.png", "b.txt", "Sub"}));
        for (const QString& p : items) {
            QVERIFY(QFileInfo(p).isAbsolute());
            QCOMPARE(QFileInfo(p).absolutePath(), QDir(dir.path()).absolutePath());
        }
        QVERIFY(folder_scan::listItems(dir.filePath("missing")).isEmpty());
        QVERIFY(folder_scan::listItems(QString()).isEmpty());
        QVERIFY(folder_scan::listItems(dir.filePath("b.txt")).isEmpty());
    }

    void scanKeepsPictures() {
        QTemporaryDir dir;
        QVERIFY(saveImage(dir.filePath("pic10.jpg"), 120, 80, "JPEG"));
        QVERIFY(saveImage(dir.filePath("pic9.png"), 40, 90, "PNG"));
        QVERIFY(saveImage(dir.filePath("Pic11.bmp"), 50, 50, "BMP"));
        QVERIFY(writeText(dir.filePath("readme.txt"), "not a picture\n"));
        QVERIFY(QDir(dir.path()).mkdir("more"));
        QVERIFY(saveImage(dir.filePath("more/inside.png"), 10, 10, "PNG"));
        QVERIFY(saveImage(dir.filePath("more/inside2.jpg"), 10, 10, "JPEG"));

        const folder_scan::ScanResult r = folder_scan::scan(dir.path());
        QCOMPARE(r.items, 5);
        QCOMPARE(names(r.pictures), QStringList({"pic9.png", "pic10.jpg", "Pic11.bmp"}));
        QCOMPARE(r.pictures.first(), QDir(dir.path()).absoluteFilePath("pic9.png"));
        QVERIFY(!r.stopped);

        // A folder that holds only a folder of pictures has none.
        QTemporaryDir outer;
        QVERIFY(QDir(outer.path()).mkdir("inner"));
        QVERIFY(saveImage(outer.filePath("inner/a.png"), 10, 10, "PNG"));
        const folder_scan::ScanResult onlySub = folder_scan::scan(outer.path());
        QCOMPARE(onlySub.items, 1);
        QVERIFY(onlySub.pictures.isEmpty());
    }

    void emptyFolder() {
        QTemporaryDir dir;
        int calls = 0;
        const folder_scan::ScanResult r = folder_scan::scan(dir.path(), [&](int, int) {
            ++calls;
            return true;
        });
        QCOMPARE(r.items, 0);
        QVERIFY(r.pictures.isEmpty());
        QCOMPARE(calls, 0);
    }

    void picturesByContentNotName() {
        QTemporaryDir dir;
        QVERIFY(saveImage(dir.filePath("noext"), 30, 20, "PNG"));
        QVERIFY(saveImage(dir.filePath("liar.txt"), 30, 20, "JPEG"));
        QVERIFY(writeText(dir.filePath("text.jpg"), "plain text"));
        const folder_scan::ScanResult r = folder_scan::scan(dir.path());
        QCOMPARE(r.items, 3);
        QCOMPARE(names(r.pictures), QStringList({"liar.txt", "noext"}));
    }

    void specialItemsNeitherBlockNorCount() {
        QTemporaryDir dir;
        QVERIFY(saveImage(dir.filePath("b.png"), 16, 16, "PNG"));
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("c.fifo")).constData(), 0600), 0);
        const SocketFile socket(dir.filePath("d.sock"));
        QVERIFY(socket.fd >= 0);
        QVERIFY(QFile::link(dir.filePath("e.loop"), dir.filePath("e.loop")));
        QVERIFY(QFile::link(dir.filePath("f1"), dir.filePath("f2")));
        QVERIFY(QFile::link(dir.filePath("f2"), dir.filePath("f1")));
        QVERIFY(QFile::link(dir.path(), dir.filePath("g.self")));
        QVERIFY(QFile::link(dir.filePath("b.png"), dir.filePath("h.link.png")));
        QVERIFY(QFile::link(dir.filePath("nothing.png"), dir.filePath("i.dangling.png")));

        const folder_scan::ScanResult r = folder_scan::scan(dir.path());
        QCOMPARE(r.items, 9);
        QCOMPARE(names(r.pictures), QStringList({"b.png", "h.link.png"}));
    }

    void progressAndStop() {
        QTemporaryDir dir;
        for (int i = 1; i <= 4; ++i)
            QVERIFY(saveImage(dir.filePath(QString("p%1.png").arg(i)), 8, 8, "PNG"));
        QVERIFY(writeText(dir.filePath("p0.txt"), "x"));

        QList<QPair<int, int>> calls;
        const folder_scan::ScanResult all = folder_scan::scan(dir.path(), [&](int done, int total) {
            calls << qMakePair(done, total);
            return true;
        });
        QCOMPARE(calls, (QList<QPair<int, int>>{{1, 5}, {2, 5}, {3, 5}, {4, 5}, {5, 5}}));
        QCOMPARE(all.pictures.size(), 4);
        QVERIFY(!all.stopped);

        const folder_scan::ScanResult part =
            folder_scan::scan(dir.path(), [](int done, int) { return done < 3; });
        QCOMPARE(names(part.pictures), QStringList({"p1.png", "p2.png"}));
        QCOMPARE(part.items, 5);
        QVERIFY(part.stopped);
    }
};

QTEST_GUILESS_MAIN(FolderScanTest)
#include "folder_scan_test.moc"

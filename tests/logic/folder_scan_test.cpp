// The folder scan: every item counts, pictures by content in natural order, and nothing in
// a folder (pipes, links that lead nowhere or round in circles) blocks it.
#include "base/files.h"
#include "common/testfiles.h"
#include "logic/state/folder_scan.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using folder_scan::naturalLess;

class FolderScanTest : public QObject {
    Q_OBJECT
  private slots:
    // Numbers by value, whatever their length; ties under case and leading zeros go by the
    // exact text. Every pair is ordered one way exactly, and the order is transitive.
    void naturalOrder() {
        // The names in their order, apart by blanks; the first is the empty name.
        const QStringList expected =
            QString(" -x .a a0 a00 A1 a01 a1 a1b2 a1b10 a2 A10 a010 a10 a12 AB2 ab2 ecole "
                    "n9999999999999999999 n00000000000000000000000000010000000000000000000000 "
                    "\u00c9cole")
                .split(' ');
        for (const QString& x : expected)
            for (const QString& y : expected) {
                QCOMPARE(naturalLess(x, y) + naturalLess(y, x) + (x == y), 1);
                for (const QString& z : expected)
                    if (naturalLess(x, y) && naturalLess(y, z)) QVERIFY(naturalLess(x, z));
            }
        QStringList shuffled = expected;
        std::reverse(shuffled.begin(), shuffled.end());
        std::sort(shuffled.begin(), shuffled.end(), naturalLess);
        QCOMPARE(shuffled, expected);
    }

    void scanKeepsPicturesByContent() {
        QTemporaryDir dir;
        testfiles::writePicture(dir.filePath("pic10.jpg"), QSize(120, 80), Qt::red);
        testfiles::writePicture(dir.filePath("pic9.png"), QSize(40, 90), Qt::red);
        testfiles::writeText(dir.filePath("liar.txt"), testfiles::noisePicture(QSize(3, 2), "BMP"));
        testfiles::writeText(dir.filePath("text.jpg"), "plain text");
        // A TGA header of 4 x 4 pixels, and no pixels.
        testfiles::writeText(dir.filePath("pixelless.tga"),
                             QByteArray("\0\0\2\0\0\0\0\0\0\0\0\0\4\0\4\0\x18\0", 18));
        QVERIFY(QDir(dir.path()).mkdir("sub"));
        testfiles::writePicture(dir.filePath("sub/inside.png"), QSize(10, 10), Qt::red);
        // Items that must neither block nor count as pictures.
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("fifo")).constData(), 0600), 0);
        QVERIFY(QFile::link(dir.filePath("loop"), dir.filePath("loop")));
        QVERIFY(QFile::link(dir.filePath("f1"), dir.filePath("f2")));
        QVERIFY(QFile::link(dir.filePath("f2"), dir.filePath("f1")));
        QVERIFY(QFile::link(dir.path(), dir.filePath("self")));
        QVERIFY(QFile::link(dir.filePath("pic9.png"), dir.filePath("pic9 link.png")));
        QVERIFY(QFile::link(dir.filePath("gone.png"), dir.filePath("dangling.png")));

        QList<int> progress;
        const folder_scan::ScanResult r = folder_scan::scan(dir.path(), [&](int done, int total) {
            progress << done << total;
            return true;
        });
        QCOMPARE(r.items, 13);
        QStringList names;
        for (const QString& p : r.pictures)
            names << QFileInfo(p).fileName();
        QCOMPARE(names, QStringList({"liar.txt", "pic9 link.png", "pic9.png", "pic10.jpg"}));
        QCOMPARE(r.pictures[0], QDir(dir.path()).absoluteFilePath("liar.txt"));
        QCOMPARE(progress.mid(0, 4), QList<int>({1, 13, 2, 13}));
        QCOMPARE(progress.size(), 26);
        QVERIFY(!r.stopped);
        // Stopped after the sixth item: the pictures found so far.
        const auto part = folder_scan::scan(dir.path(), [](int done, int) { return done < 6; });
        QVERIFY(part.stopped && part.pictures.size() == 1);
        // Asked to stop at the last item: nothing was left out.
        QVERIFY(!folder_scan::scan(dir.path(), [](int done, int) { return done < 13; }).stopped);
        QCOMPARE(folder_scan::scan(dir.filePath("text.jpg")).items, 0);
        QCOMPARE(folder_scan::scan(dir.filePath("missing")).items, 0);
    }

    // Names that are not UTF-8 (an older camera, another system) count like any other, in
    // the order of their names read as Latin-1, and their paths open them.
    void namesThatAreNotUtf8() {
        QTemporaryDir dir;
        const QList<QByteArray> names = {"b.png", "caf\xE9 1.png", "caf\xC3\xA9 2.png", "z.png",
                                         "\xC9t\xE9.png"};
        for (qsizetype i = names.size() - 1; i >= 0; --i)
            testfiles::writePicture(dir.path() + '/' + files::decodeName(names[i]), QSize(8, 8),
                                    Qt::red);
        const folder_scan::ScanResult r = folder_scan::scan(dir.path());
        QList<QByteArray> found;
        for (const QString& p : r.pictures)
            found << files::encodeName(p).mid(files::encodeName(dir.path()).size() + 1);
        QCOMPARE(found, names);
        QCOMPARE(r.leftOut, 0);
    }
};

QTEST_GUILESS_MAIN(FolderScanTest)
#include "folder_scan_test.moc"

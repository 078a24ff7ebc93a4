// Long and hostile presentation files: note blocks beyond those held stay bytes and write
// back alike, only a regular file of bounded size is read, line 1 resolves as a file
// reference does, and windows are given only the part of a long text they can show.
#include "base/text_limits.h"
#include "common/testfiles.h"
#include "logic/geometry/presentation_geometry.h"
#include "logic/state/presentation_file.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace pf = presentation_file;

class LongInputTest : public QObject {
    Q_OBJECT
  private slots:
    // The equivalence for any bytes is the fuzz target's; here the shape of the 13 MB file.
    void blocksBeyondTheHeldStayBytes() {
        QByteArray file = "/f\r" + QByteArray("1\r").repeated(26) + "2147483647\r";
        for (const char* text : {"n1", "n2", "n3", "n4"})
            file += text + QByteArray(13, '\r');
        file += QByteArray(13000, '\r');
        pf::Data part = pf::read(file, 2), held = pf::read(file, 5);
        QCOMPARE(part.notes.size(), size_t(2));
        part.count = held.count = 5; // of 2147483647: the first five are written
        QCOMPARE(pf::write(part), pf::write(held));
    }

    void folderLineTooLongForAPath_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("whole");
        // Kept whole up to the longest line, each byte that is not UTF-8 written back as itself.
        QTest::newRow("8192 bytes, not UTF-8") << "/" + QByteArray(8191, '\x88') << true;
        QTest::newRow("8193 bytes, not UTF-8") << "/" + QByteArray(8192, '\x88') << false;
        // Cut in the middle of characters: their bytes stay bytes of their own.
        QTest::newRow("10 MB of three-byte characters")
            << "/" + QByteArray("\xE2\x82\xAC").repeated(3 << 20) << false;
    }
    void folderLineTooLongForAPath() {
        QFETCH(QByteArray, line);
        QFETCH(bool, whole);
        const pf::Data d = pf::read(line);
        QVERIFY(pf::tooLongForPath(d.folder));
        QCOMPARE(!d.folder.contains(QChar(0x2026)), whole);
        QVERIFY(pf::write(d).indexOf('\r') <= pf::longestFolderLine);
        QCOMPARE(pf::read(pf::write(d)).folder, d.folder); // and reads back the same
    }

    void onlyARegularFileOfBoundedSizeIsRead_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("error");
        QTest::newRow("a file") << "file" << int(pf::LoadError::None);
        QTest::newRow("a folder") << "folder" << int(pf::LoadError::NotAFile);
        QTest::newRow("a link to a named pipe") << "fifo" << int(pf::LoadError::NotAFile);
        QTest::newRow("missing") << "missing" << int(pf::LoadError::Unreadable);
        QTest::newRow("512 MB") << "512 MB" << int(pf::LoadError::None);
        QTest::newRow("512 MB and a byte") << "512 MB and a byte" << int(pf::LoadError::TooLarge);
        QTest::newRow("grows while read") << "/proc/self/status" << int(pf::LoadError::None);
    }
    void onlyARegularFileOfBoundedSizeIsRead() {
        QFETCH(QString, kind);
        QFETCH(int, error);
        QTemporaryDir dir;
        QString path = kind.startsWith('/') ? kind : dir.filePath("p.v69");
        if (kind == "file" || kind.startsWith("512")) testfiles::writeText(path, "/f\r1\r");
        if (kind == "folder") path = dir.path();
        if (kind == "fifo")
            QVERIFY(::mkfifo(QFile::encodeName(dir.filePath("pipe")), 0600) == 0 &&
                    QFile::link(dir.filePath("pipe"), path));
        if (kind.startsWith("512")) // sparse
            QVERIFY(QFile(path).resize((qint64(512) << 20) + kind.endsWith("byte")));
        const pf::Loaded loaded = pf::load(path);
        QCOMPARE(int(loaded.error), error);
        QCOMPARE(loaded.bytes.isEmpty(), error != int(pf::LoadError::None));
        // Its size was 0 when opened: all of it is read all the same.
        if (kind.startsWith('/')) QVERIFY(loaded.bytes.contains("VmHWM"));
    }

    void folderLineResolves_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("folder");
        QTest::newRow("absolute, cleaned") << QString("/a/./b//c/") << "/a/b/c";
        QTest::newRow("bare, in the program's folder") << QString("pics") << "APP/pics";
        QTest::newRow("not a Qt resource") << QString(":pics") << "FILE/:pics";
        for (const QString none : {"a/pics", ".", "..", ""})
            QTest::newRow(qPrintable("nothing: " + none)) << none << "";
        QTest::newRow("nothing: NUL") << QString("/a") + QChar(0) << "";
    }
    void folderLineResolves() {
        QFETCH(QString, line);
        QFETCH(QString, folder);
        QTemporaryDir app, file;
        QVERIFY(QDir(app.path()).mkdir("pics") && QDir(file.path()).mkdir("pics"));
        folder.replace("APP", app.path()).replace("FILE", file.path());
        QCOMPARE(pf::folderOf(line, app.path(), file.path()), folder);
    }

    // A note's label gets the part of a long note it shows by the note's place.
    void longNoteLabel_data() {
        QTest::addColumn<double>("position");
        QTest::addColumn<QString>("begins");
        QTest::addColumn<QString>("ends");
        QTest::newRow("left: the start") << 0.0 << QString("S") << "m";
        QTest::newRow("centred: the middle") << 1.0 << QString(" m") << "m";
        QTest::newRow("right: the end") << 2.0 << QString("m") << "E ";
    }
    void longNoteLabel() {
        QFETCH(double, position);
        QFETCH(QString, begins);
        QFETCH(QString, ends);
        const QString text = "S" + QString(20 << 20, 'm') + "E";
        const QString label =
            presentation_geo::noteLayout({1024, 768}, text, 20, position, 3, 1).text;
        QCOMPARE(label.size(), position > 0 ? 4097 : 4096); // and a space beside the cut
        QVERIFY(label.startsWith(begins) && label.endsWith(ends));
    }
};

QTEST_GUILESS_MAIN(LongInputTest)
#include "long_input_test.moc"

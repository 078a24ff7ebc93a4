// The one-line preferences file: what reads as which language, and files that cannot be read
// or written in ways that hold for root too (links that lead nowhere, a named pipe, a folder
// in the file's place). The language falls back to English and nothing blocks.
#include "app/preferences.h"
#include "common/testfiles.h"
#include "logic/state/model.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

class PreferencesTest : public QObject {
    Q_OBJECT
  private slots:
    void readsFirstLine_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("lingua");
        QTest::newRow("Italian") << QByteArray("2\r") << int(language::Italian);
        QTest::newRow("English") << QByteArray("1\r") << int(language::English);
        QTest::newRow("empty") << QByteArray() << 0;
        QTest::newRow("a word") << QByteArray("italiano\r") << 0;
        QTest::newRow("fraction dropped") << QByteArray("1.7") << int(language::English);
        QTest::newRow("LF lines") << QByteArray("2\n1\n") << int(language::Italian);
        QTest::newRow("an empty first line") << QByteArray("\r1\r") << 0;
        QTest::newRow("too large") << QByteArray("99999999999999") << 2147483647;
        QTest::newRow("100 MB") << QByteArray("2") << int(language::Italian);
    }
    void readsFirstLine() {
        QFETCH(QByteArray, content);
        QFETCH(int, lingua);
        QTemporaryDir dir;
        const QString file = testfiles::written(dir, preferences::fileName, content);
        // Only the head of a huge file is read (sparse: 100 MB without writing them).
        if (QTest::currentDataTag() == QLatin1String("100 MB"))
            QVERIFY(QFile::resize(file, 100 << 20));
        QCOMPARE(preferences::readLingua(dir.path()), lingua);
    }

    void unusableFileMeansEnglish_data() {
        QTest::addColumn<QString>("kind");
        for (const char* kind : {"none", "dangling", "loop", "fifo", "folder"})
            QTest::newRow(kind) << QString(kind);
    }
    void unusableFileMeansEnglish() {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString file = dir.filePath(preferences::fileName);
        if (kind == "dangling") QVERIFY(QFile::link(dir.filePath("gone.txt"), file));
        if (kind == "loop") QVERIFY(QFile::link(file, file));
        // Opening a pipe without a writer would wait for ever.
        if (kind == "fifo") QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
        if (kind == "folder") QVERIFY(QDir(dir.path()).mkdir(preferences::fileName));
        QCOMPARE(preferences::readLingua(dir.path()), int(language::English));
        QCOMPARE(preferences::writeLingua(dir.path(), language::Italian), kind == "none");
        // A new file may be read by all (owner, group and others' digits, as in octal).
        if (kind == "none") QCOMPARE(int(QFile::permissions(file)) & 0x7077, 0x6044);
    }

    void writeReplacesWithOneLine() {
        QTemporaryDir dir;
        const QString file =
            testfiles::written(dir, preferences::fileName, "a longer old content\r2\r");
        QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner));
        QVERIFY(preferences::writeLingua(dir.path(), language::English));
        QCOMPARE(testfiles::readAll(file), QByteArray("1\r"));
        QCOMPARE(int(QFile::permissions(file)) & 0x7077, 0x6000); // kept as it was
        // A folder below a regular file cannot exist, for root as for anyone.
        QVERIFY(!preferences::writeLingua(dir.filePath(preferences::fileName) + "/sub", 2));
    }
};

QTEST_GUILESS_MAIN(PreferencesTest)
#include "preferences_test.moc"

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
    void readsFirstLine() {
        const QList<std::pair<QByteArray, int>> cases{{"2\r", language::Italian},
                                                      {"", 0},
                                                      {"italiano\r", 0},
                                                      {"1.7", language::English},
                                                      {"2\n1\n", language::Italian},
                                                      {"\r1\r", 0},
                                                      {"99999999999999", 2147483647}};
        for (const auto& [content, lingua] : cases) {
            QTemporaryDir dir;
            testfiles::writeText(dir.filePath(preferences::fileName), content);
            QCOMPARE(preferences::readLingua(dir.path()), lingua);
        }
        // Only the head of a huge file is read (sparse: 100 MB without writing them).
        QTemporaryDir dir;
        QFile f(dir.filePath(preferences::fileName));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write("2") == 1 && f.resize(100 << 20));
        QCOMPARE(preferences::readLingua(dir.path()), int(language::Italian));
    }

    void unusableFileMeansEnglish() {
        for (const QString kind : {"none", "dangling", "loop", "fifo", "folder"}) {
            QTemporaryDir dir;
            const QString file = dir.filePath(preferences::fileName);
            if (kind == "dangling") QVERIFY(QFile::link(dir.filePath("gone.txt"), file));
            if (kind == "loop") QVERIFY(QFile::link(file, file));
            // Opening a pipe without a writer would wait for ever.
            if (kind == "fifo") QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
            if (kind == "folder") QVERIFY(QDir(dir.path()).mkdir(preferences::fileName));
            QCOMPARE(preferences::readLingua(dir.path()), int(language::English));
            QCOMPARE(preferences::writeLingua(dir.path(), language::Italian), kind == "none");
        }
    }

    void writeReplacesWithOneLine() {
        QTemporaryDir dir;
        testfiles::writeText(dir.filePath(preferences::fileName), "a longer old content\r2\r");
        QVERIFY(preferences::writeLingua(dir.path(), language::English));
        QCOMPARE(testfiles::readAll(dir.filePath(preferences::fileName)), QByteArray("1\r"));
        // A folder below a regular file cannot exist, for root as for anyone.
        QVERIFY(!preferences::writeLingua(dir.filePath(preferences::fileName) + "/sub", 2));
    }
};

QTEST_GUILESS_MAIN(PreferencesTest)
#include "preferences_test.moc"

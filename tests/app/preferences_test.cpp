#include "app/preferences.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class PreferencesTest : public QObject {
    Q_OBJECT

    static void put(const QString& folder, const QByteArray& bytes) {
        QFile f(QDir(folder).filePath(preferences::fileName));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

  private slots:
    void firstRunIsEnglish() {
        QTemporaryDir dir;
        QCOMPARE(preferences::readLingua(dir.path()), 1);
    }

    void readsFirstLine_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("lingua");
        QTest::newRow("italian") << QByteArray("2\r") << 2;
        QTest::newRow("english") << QByteArray("1\r") << 1;
        QTest::newRow("empty file") << QByteArray() << 0;
        QTest::newRow("a word") << QByteArray("italiano\r") << 0;
        QTest::newRow("fraction dropped") << QByteArray("1.7") << 1;
        QTest::newRow("LF line end") << QByteArray("2\n1\n") << 2;
        QTest::newRow("only first line") << QByteArray("\r1\r") << 0;
        QTest::newRow("huge number") << QByteArray("99999999999999") << 2147483647;
        QTest::newRow("binary") << QByteArray("\x00\xff\xfe"
                                              "7",
                                              4)
                                << 0;
    }
    void readsFirstLine() {
        QFETCH(QByteArray, content);
        QFETCH(int, lingua);
        QTemporaryDir dir;
        put(dir.path(), content);
        QCOMPARE(preferences::readLingua(dir.path()), lingua);
    }

    void hugeFileReadsOnlyItsHead() {
        QTemporaryDir dir;
        QFile f(QDir(dir.path()).filePath(preferences::fileName));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("2");
        QVERIFY(f.resize(100 * 1024 * 1024)); // sparse: 100 MB without writing them
        f.close();
        QCOMPARE(preferences::readLingua(dir.path()), 2);
    }

    void folderInPlaceOfTheFile() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(preferences::fileName));
        QCOMPARE(preferences::readLingua(dir.path()), 1);
        QVERIFY(!preferences::writeLingua(dir.path(), 2));
    }

    void writeReplacesWithOneLine() {
        QTemporaryDir dir;
        put(dir.path(), "a much longer old content\rsecond line\r");
        QVERIFY(preferences::writeLingua(dir.path(), 1));
        QFile f(QDir(dir.path()).filePath(preferences::fileName));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("1\r"));
        QVERIFY(preferences::writeLingua(dir.path(), 0));
        QCOMPARE(preferences::readLingua(dir.path()), 0);
    }

    void unwritableFolderIsNotFatal() {
        QTemporaryDir dir;
        // A folder below a regular file cannot exist, for root as for anyone.
        const QString file = QDir(dir.path()).filePath("plain");
        put(dir.path(), "x");
        QVERIFY(QFile::rename(QDir(dir.path()).filePath(preferences::fileName), file));
        QVERIFY(!preferences::writeLingua(file + "/sub", 2));
        QCOMPARE(preferences::readLingua(file + "/sub"), 1);
    }
};

QTEST_GUILESS_MAIN(PreferencesTest)
#include "preferences_test.moc"

// A preferences file that cannot be read or written, in ways that hold for root too: links
// that lead nowhere, a named pipe, a read-only file system. The language falls back to
// English, nothing blocks, and an old file is never damaged.
#include "app/preferences.h"
#include "common/faultmount.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

QByteArray contentOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class PreferencesFaultsTest : public QObject {
    Q_OBJECT
  private slots:
    void unreadableFile_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("dangling link") << "dangling";
        QTest::newRow("link loop") << "loop";
        QTest::newRow("named pipe") << "fifo";
    }
    void unreadableFile() {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString file = QDir(dir.path()).filePath(preferences::fileName);
        if (kind == "dangling") QVERIFY(QFile::link(dir.filePath("gone.txt"), file));
        if (kind == "loop") QVERIFY(QFile::link(file, file));
        // Opening a pipe without a writer would wait for ever.
        if (kind == "fifo") QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
        QCOMPARE(preferences::readLingua(dir.path()), 1);
    }

    void fullDisk() {
        QTemporaryDir dir;
        auto mount = faultmount::Mount::tmpfs(dir.path(), 64);
        VTN_REQUIRE_MOUNT(mount);
        QVERIFY(preferences::writeLingua(dir.path(), 2));
        QVERIFY(faultmount::fillUp(dir.path()));
        QVERIFY(!preferences::writeLingua(dir.path(), 1));
        QCOMPARE(contentOf(QDir(dir.path()).filePath(preferences::fileName)), QByteArray("2\r"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList({"filler", preferences::fileName}));
    }

    void readOnlyFileSystem() {
        QTemporaryDir dir;
        QVERIFY(preferences::writeLingua(dir.path(), 2));
        auto mount = faultmount::Mount::readOnlyBind(dir.path());
        VTN_REQUIRE_MOUNT(mount);
        QVERIFY(!preferences::writeLingua(dir.path(), 1));
        QCOMPARE(contentOf(QDir(dir.path()).filePath(preferences::fileName)), QByteArray("2\r"));
        QCOMPARE(preferences::readLingua(dir.path()), 2);
    }
};

QTEST_GUILESS_MAIN(PreferencesFaultsTest)
#include "faults_test.moc"

// The program's files on disks that refuse them: a read-only file system and a full disk.
// A save that fails is reported naming the file and why, the old file stays as it was, no
// half-written file is left, and the presentation in the program is untouched; the
// preferences file keeps its old content. Needs the right to mount (see
// common/faultmount.h).
#include "app/preferences.h"
#include "common/faultmount.h"
#include "common/testfiles.h"
#include "common/testseams.h"
#include "logic/state/globali.h"
#include "logic/state/model.h"
#include "logic/state/presentation_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

using namespace Globali;

class DiskFaultsTest : public QObject {
    Q_OBJECT
    // A presentation of n pictures with a note each, saved to `file`; the bytes written.
    static QByteArray firstSave(WindowFixture& f, const QString& file, int n) {
        f.importFolder(f.makeFolder("pics", n, QSize(20, 10)));
        for (int i = 1; i <= n; ++i)
            contorno(i, note::Text) = QStringLiteral("note %1 ").arg(i).repeated(8);
        f.saveTo(file);
        return f.seams.errors.isEmpty() ? testfiles::readAll(file) : QByteArray();
    }
    // The one error reported since the last call names the file and what failed.
    static void expectOneError(WindowFixture& f, const QString& file, const QString& reason) {
        QCOMPARE(f.seams.errors.size(), 1);
        const QString text = f.seams.errors.takeFirst();
        QVERIFY2(text.contains(file) && text.contains("could not be written") &&
                     text.contains(reason, Qt::CaseInsensitive),
                 qPrintable(text));
    }
    static QStringList namesIn(const QString& folder) {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

  private slots:
    // The first save went through; then the disk turns read-only or fills up. Once it takes
    // files again (saved elsewhere, or room made), nothing was lost.
    void saveFails_data() {
        QTest::addColumn<bool>("readOnly");
        QTest::newRow("read-only file system") << true;
        QTest::newRow("full disk") << false;
    }
    void saveFails() {
        QFETCH(bool, readOnly);
        WindowFixture f;
        const QString disk = f.makeFolder("disk", 0), old = f.path("disk/old.v69");
        auto mount = faultmount::Mount::tmpfs(disk, readOnly ? 1024 : 64);
        VTN_REQUIRE_MOUNT(mount);
        const QByteArray before = firstSave(f, old, 4);
        QVERIFY(!before.isEmpty());
        QVERIFY(readOnly ? mount->makeReadOnly() : faultmount::fillUp(disk));
        contorno(4, note::Text) = "changed after the first save";
        const QStringList state = WindowFixture::presentationState();
        f.saveTo(old);
        expectOneError(f, old, readOnly ? "not writable" : "no space left");
        if (readOnly) {
            f.saveTo(QDir(disk).filePath("new.v69"));
            expectOneError(f, QDir(disk).filePath("new.v69"), "read-only file system");
        }
        QCOMPARE(testfiles::readAll(old), before);
        QCOMPARE(namesIn(disk),
                 readOnly ? QStringList("old.v69") : QStringList({"filler", "old.v69"}));
        QCOMPARE(WindowFixture::presentationState(), state);
        const QString again = readOnly ? f.path("elsewhere.v69") : old;
        if (!readOnly) QVERIFY(QFile::remove(QDir(disk).filePath("filler")));
        f.saveTo(again);
        QVERIFY(f.seams.errors.isEmpty());
        QCOMPARE(presentation_file::read(testfiles::readAll(again)).notes[3][note::Text],
                 QString("changed after the first save"));
    }

    void preferences() {
        QTemporaryDir dir;
        const QString file = QDir(dir.path()).filePath(preferences::fileName);
        auto mount = faultmount::Mount::tmpfs(dir.path(), 64);
        VTN_REQUIRE_MOUNT(mount);
        QVERIFY(preferences::writeLingua(dir.path(), language::Italian));
        QVERIFY(faultmount::fillUp(dir.path()));
        QVERIFY(!preferences::writeLingua(dir.path(), language::English));
        QCOMPARE(namesIn(dir.path()), QStringList({"filler", preferences::fileName}));
        QVERIFY(QFile::remove(QDir(dir.path()).filePath("filler")) && mount->makeReadOnly());
        QVERIFY(!preferences::writeLingua(dir.path(), language::English));
        QCOMPARE(testfiles::readAll(file), QByteArray("2\r"));
    }

    // A program installed where nothing can be written beside it keeps its preferences in the
    // user's configuration folder, made when missing; one unpacked by its user, beside itself.
    void preferencesOfAnInstalledProgram() {
        QTemporaryDir home;
        const QString beside = QCoreApplication::applicationDirPath();
        const QString config = home.filePath("config/vetrinova");
        seams::hooks().configFolder = [config] { return config; };
        QCOMPARE(seams::systemHooks().prefsFolder(), beside);
        auto mount = faultmount::Mount::tmpfs(beside, 64);
        VTN_REQUIRE_MOUNT(mount);
        QVERIFY(mount->makeReadOnly());
        QCOMPARE(seams::systemHooks().prefsFolder(), config);
        QVERIFY(QFileInfo(config).isDir());
        seams::hooks() = seams::systemHooks();
    }
};

VTN_MOUNT_TEST_MAIN(DiskFaultsTest)
#include "disk_faults_test.moc"

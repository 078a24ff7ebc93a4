// The preferences file is written only as a regular file of its own: a link or a device in
// its place is never written through nor replaced (pipes and folders: preferences_test), the
// user's own configuration folder serves instead, also when the place changes while the
// program runs, and a failed write is told.
#include "app/app.h"
#include "app/preferences.h"
#include "common/testfiles.h"
#include "common/testseams.h"
#include "logic/state/globali.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QTest>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

class PreferencesPlaceTest : public QObject {
    Q_OBJECT
  private slots:
    void somethingElseInThePlace_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("link to a file") << "link";
        QTest::newRow("device") << "device";
    }
    void somethingElseInThePlace() {
        QFETCH(QString, kind);
        QTemporaryDir shared, own;
        const QString place = shared.filePath(preferences::fileName);
        const QString victim = own.filePath("victim.txt");
        testfiles::writeText(victim, "precious");
        const QByteArray name = QFile::encodeName(place);
        if (kind == "link") QVERIFY(QFile::link(victim, place));
        if (kind == "device" && ::mknod(name.constData(), S_IFCHR | 0600, makedev(1, 3)) != 0)
            QSKIP("a device node cannot be made here");
        QCOMPARE(preferences::folderToUse(shared.path(), own.path()), own.path());
        QVERIFY(!preferences::writeLingua(shared.path(), 2));
        QCOMPARE(testfiles::readAll(victim), QByteArray("precious"));
        QVERIFY(!QFileInfo(place).isFile() || QFileInfo(place).isSymLink()); // left as it was
        // Nothing left beside it either.
        QCOMPARE(
            QDir(shared.path()).entryList(QDir::System | QDir::Hidden | QDir::AllEntries).size(),
            3);
    }

    void linkPlantedWhileTheProgramRuns() {
        TestSeams seams;
        QTemporaryDir own;
        seams::hooks().configFolder = [&own] { return own.filePath("config"); };
        const QString place = seams.prefs.filePath(preferences::fileName);
        const QString victim = own.filePath("victim.txt");
        testfiles::writeText(place, "2\r");
        testfiles::writeText(victim, "precious");
        App app;
        app.Event_Open();
        QCOMPARE(Globali::lingua, 2);
        QVERIFY(QFile::remove(place) && QFile::link(victim, place));
        app.Event_Close();
        QCOMPARE(testfiles::readAll(victim), QByteArray("precious"));
        QVERIFY(QFileInfo(place).isSymLink());
        QCOMPARE(testfiles::readAll(own.filePath("config/" + preferences::fileName)),
                 QByteArray("2\r"));
    }

    void aFailedWriteIsTold() {
        TestSeams seams;
        // Folders below a regular file cannot exist, for root as for anyone.
        const QString file = seams.prefs.filePath("plain");
        testfiles::writeText(file, "x");
        seams::hooks().prefsFolder = [&file] { return file + "/sub"; };
        seams::hooks().configFolder = [&file] { return file + "/config"; };
        QTemporaryFile err;
        QVERIFY(err.open());
        const int saved = ::dup(2);
        ::dup2(err.handle(), 2);
        App().Event_Close();
        ::dup2(saved, 2);
        ::close(saved);
        QVERIFY2(testfiles::readAll(err.fileName())
                     .contains("could not be saved in " + QFile::encodeName(file)),
                 "");
    }
};

QTEST_MAIN(PreferencesPlaceTest)
#include "preferences_place_test.moc"

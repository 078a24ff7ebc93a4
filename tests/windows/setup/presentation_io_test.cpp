// Import, Save and Open through the presentation state and the setup window, with the
// dialogs answered by the test, and files that change between Open and Save. Every failure
// is reported, nothing the user has is lost.
#include "common/testfiles.h"
#include "common/testseams.h"
#include "logic/state/globali.h"
#include "logic/state/presentation_file.h"
#include "windows/dialogs/cart_noi.h"
#include "windows/dialogs/cart_spo.h"
#include "windows/setup/setup_routines.h"
#include "windows/setup/start.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <sys/stat.h>

using namespace Globali;

namespace {
// Opens a presentation file as a fresh program would, through the open dialog.
void reopen(WindowFixture& f, const QString& file) {
    WindowFixture::closeWindows();
    reset();
    f.seams.openFiles.push_back(file);
    apri_presentazione(GetOpenFolderItem());
}
// Imports a folder of n pictures and writes a note for each.
void presentation(WindowFixture& f, int n) {
    f.importFolder(f.makeFolder("pics", n, QSize(20, 10)));
    for (int i = 1; i <= n; ++i)
        contorno(i, note::Text) = QStringLiteral("note %1").arg(i);
}
} // namespace

class PresentationIoTest : public QObject {
    Q_OBJECT
  private slots:
    // A folder without pictures is refused with a warning; the presentation stays.
    void importWithoutPicturesKeepsThePresentation_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("empty folder") << "empty";
        QTest::newRow("text files only") << "text";
        QTest::newRow("pictures only in a subfolder") << "sub";
    }
    void importWithoutPicturesKeepsThePresentation() {
        QFETCH(QString, kind);
        WindowFixture f;
        const QString first = f.makeFolder("first", 2);
        f.importFolder(first);
        const QStringList state = WindowFixture::presentationState();
        const QString other = f.makeFolder("other", 0);
        if (kind == "text") testfiles::writeText(QDir(other).filePath("a.txt"), "hello");
        if (kind == "sub") f.makeFolder("other/inner", 2);
        f.importFolder(other);
        QVERIFY(fw::Single<cart_noi>::exists());
        QCOMPARE(f.seams.beeps, 1); // the warning's own beep
        QCOMPARE(WindowFixture::presentationState(), state);
        // The read-out still names the first folder (shortened to fit; whole in its tooltip).
        QCOMPARE(start::instance()->testo_folder->toolTip(), first);
        QVERIFY(start::instance()->testo_folder->text().endsWith(QChar(13) + QString("2 picts")));
    }

    // Notes belong to picture numbers: a smaller folder drops the rows beyond it.
    void reimportKeepsNotesByNumber() {
        WindowFixture f;
        f.importFolder(f.makeFolder("five", 5));
        for (int i = 1; i <= 5; ++i)
            contorno(i, note::Text) = QString("note %1").arg(i);
        f.importFolder(f.makeFolder("two", 2));
        QCOMPARE(contorno.ubound1(), 2);
        QCOMPARE(contorno.ubound2(), note::kLastColumnImported);
        f.importFolder(f.makeFolder("four", 4));
        QCOMPARE(contorno(2, note::Text), QString("note 2"));
        QCOMPARE(contorno(3, note::Text), QString());
    }

    // Opened again, the notes go to the pictures by position: new pictures get empty notes,
    // the notes of pictures gone are dropped.
    void folderGainedOrLostPictures() {
        WindowFixture f;
        salva_presentazione(); // nothing imported: refused
        QCOMPARE(f.seams.beeps, 1);
        const QString dir = f.makeFolder("grow", 3);
        f.importFolder(dir);
        for (int i = 1; i <= 3; ++i)
            contorno(i, note::Text) = QString("n%1").arg(i);
        f.saveTo(f.path("grow.v69"));
        f.makeFolder("grow", 5);
        reopen(f, f.path("grow.v69"));
        QCOMPARE(quantidisegni, 5);
        QCOMPARE(contorno(3, note::Text), QString("n3"));
        QCOMPARE(contorno(4, note::Text), QString());
        for (const char* gone : {"pic5.png", "pic4.png", "pic3.png"})
            QVERIFY(QFile::remove(QDir(dir).filePath(gone)));
        reopen(f, f.path("grow.v69"));
        QCOMPARE(quantidisegni, 2);
        QCOMPARE(contorno.ubound1(), 2);
        QCOMPARE(contorno(2, note::Text), QString("n2"));
    }

    void missingFolderIsNamedAndSavedAgain() {
        WindowFixture f;
        const QString dir = f.makeFolder("Foto", 2);
        f.importFolder(dir);
        f.saveTo(f.path("foto.v69"));
        QVERIFY(QDir(dir).removeRecursively());
        apri_presentazione(f.path("foto.v69"));
        QVERIFY(fw::Single<cart_spo>::exists());
        QCOMPARE(cartella, dir);
        QCOMPARE(quantidisegni, 2); // the previous presentation stays loaded
        f.saveTo(f.path("again.v69"));
        QVERIFY(testfiles::readAll(f.path("again.v69")).startsWith(dir.toUtf8() + '\r'));
    }

    // A file that cannot be read is reported; a folder line that names no folder beeps and
    // leaves no folder to save.
    void unusableFiles() {
        WindowFixture f;
        f.importFolder(f.makeFolder("keep", 2));
        apri_presentazione(f.path("does-not-exist.v69"));
        apri_presentazione(f.path("keep")); // a folder
        QCOMPARE(f.seams.errors.size(), 2);
        QCOMPARE(cartella, f.path("keep"));
        testfiles::writeText(f.path("bad.v69"), "relative/path\r0\r10\r");
        apri_presentazione(f.path("bad.v69"));
        QCOMPARE(f.seams.beeps, 1);
        QVERIFY(cartella.isEmpty());
        salva_presentazione();
        QCOMPARE(f.seams.beeps, 2);
    }

    // An empty folder keeps the file's count: never more pictures than files to show.
    void folderWithoutItemsKeepsCountWithinFiles() {
        WindowFixture f;
        f.importFolder(f.makeFolder("had", 1));
        const QString empty = f.makeFolder("empty", 0);
        testfiles::writeText(f.path("e.v69"),
                             empty.toUtf8() + "\r" + QByteArray("0\r").repeated(25) + "5\r9\r");
        apri_presentazione(f.path("e.v69"));
        QVERIFY(fw::Single<cart_noi>::exists());
        QVERIFY(quantidisegni <= disegno.ubound());
        start::instance()->bottone_Action(0);
        QCOMPARE(f.seams.beeps, 2); // the warning, then the refused start
    }
    void fileChangedBetweenOpenAndSave_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("saves");
        QTest::newRow("replaced by another file") << "other" << true;
        QTest::newRow("replaced by a folder") << "folder" << false;
        QTest::newRow("replaced by a link to a file") << "link" << true;
        QTest::newRow("replaced by a link loop") << "loop" << true;
        QTest::newRow("replaced by a named pipe") << "fifo" << true;
    }
    void fileChangedBetweenOpenAndSave() {
        QFETCH(QString, change);
        QFETCH(bool, saves);
        WindowFixture f;
        presentation(f, 2);
        const QString file = f.path("show.v69"), target = f.path("target.v69");
        f.saveTo(file);
        reset();
        apri_presentazione(file);
        QCOMPARE(quantidisegni, 2);
        contorno(2, note::Text) = "edited after opening";
        const QStringList state = WindowFixture::presentationState();

        QVERIFY(QFile::remove(file));
        if (change == "other") testfiles::writeText(file, "someone else's file\r");
        if (change == "folder") {
            QVERIFY(QDir().mkpath(file));
            testfiles::writeText(QDir(file).filePath("inside"), "kept");
        }
        if (change == "link") {
            testfiles::writeText(target, "old target\r");
            QVERIFY(QFile::link(target, file));
        }
        if (change == "loop") QVERIFY(QFile::link(file, file));
        // A pipe without a reader would block a plain write: the save must not.
        if (change == "fifo") QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);

        f.saveTo(file);
        QCOMPARE(WindowFixture::presentationState(), state);
        if (!saves) {
            QCOMPARE(f.seams.errors.size(), 1);
            QVERIFY2(f.seams.errors[0].contains(file), qPrintable(f.seams.errors[0]));
            QCOMPARE(testfiles::readAll(QDir(file).filePath("inside")), QByteArray("kept"));
            return;
        }
        QVERIFY(f.seams.errors.isEmpty());
        // A link stays a link; the file it leads to takes the presentation, whole.
        QCOMPARE(QFileInfo(file).isSymLink(), change == "link");
        const QByteArray written = testfiles::readAll(change == "link" ? target : file);
        QCOMPARE(written.count('\r'), 28 + 13 * 2);
        QCOMPARE(presentation_file::read(written).notes[1][note::Text],
                 QString("edited after opening"));
    }
};

QTEST_MAIN(PresentationIoTest)
#include "presentation_io_test.moc"

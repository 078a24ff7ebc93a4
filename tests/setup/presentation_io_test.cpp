// Import, Save and Open through the presentation state and the setup window, with the
// dialogs answered by the test.
#include "common/testfiles.h"
#include "common/testseams.h"
#include "framework/values.h"
#include "state/globali.h"
#include "state/presentation_file.h"
#include "windows/dialogs/cart_noi.h"
#include "windows/dialogs/cart_spo.h"
#include "windows/setup/setup_routines.h"
#include "windows/setup/start.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Globali;

namespace {
QString makeFolder(const QTemporaryDir& root, const QString& name, int pictures) {
    const QString dir = QDir(root.path()).filePath(name);
    QDir().mkpath(dir);
    for (int i = 1; i <= pictures; ++i)
        testfiles::writePicture(QDir(dir).filePath(QString("pic%1.png").arg(i)), QSize(40 + i, 30),
                                QColor(10 * i, 20, 30));
    return dir;
}

// A fresh program state with its setup window.
start* freshStart() {
    closeWarnings();
    if (start* old = fw::Single<start>::peek()) old->Close();
    reset();
    return start::instance();
}

QList<QByteArray> lines(const QByteArray& bytes) {
    QList<QByteArray> l = bytes.split('\r');
    l.removeLast(); // after the last CR
    return l;
}
} // namespace

class PresentationIoTest : public QObject {
    Q_OBJECT
    TestSeams* seams = nullptr;
    QTemporaryDir* root = nullptr;

    void importFolder(const QString& dir) {
        seams->folders.push_back(dir);
        importa();
    }

  private slots:
    void init() {
        seams = new TestSeams;
        root = new QTemporaryDir;
        freshStart();
    }
    void cleanup() {
        closeWarnings();
        if (start* w = fw::Single<start>::peek()) w->Close();
        delete root;
        delete seams;
    }

    void importCountsPicturesInOrder() {
        const QString dir = makeFolder(*root, "three", 3);
        testfiles::writeText(QDir(dir).filePath("readme.txt"), "not a picture");
        makeFolder(*root, "three/sub", 2);
        importFolder(dir);
        QCOMPARE(quantidisegni, 3);
        QCOMPARE(disegno.ubound(), 3);
        QCOMPARE(QFileInfo(disegno(2)).fileName(), QString("pic2.png"));
        QCOMPARE(contorno.ubound1(), 3);
        QCOMPARE(contorno.ubound2(), 15);
        start* w = start::instance();
        QCOMPARE(w->testo_folder->text(), dir + QChar(13) + "3 picts");
        QVERIFY(w->bottone(0)->isEnabled() && w->bottone1->isEnabled());
        QVERIFY(w->CheckBox1->isEnabled() && w->CheckBox2->isEnabled());
        QCOMPARE(cartella, dir);
    }

    void importWithoutPicturesKeepsThePresentation_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("empty folder") << "empty";
        QTest::newRow("text files only") << "text";
        QTest::newRow("pictures only in a subfolder") << "sub";
    }
    void importWithoutPicturesKeepsThePresentation() {
        QFETCH(QString, kind);
        const QString first = makeFolder(*root, "first", 2);
        importFolder(first);
        contorno(1, 0) = "kept";
        const QString other = QDir(root->path()).filePath("other");
        QDir().mkpath(other);
        if (kind == "text") testfiles::writeText(QDir(other).filePath("a.txt"), "hello");
        if (kind == "sub") makeFolder(*root, "other/inner", 2);
        importFolder(other);
        QVERIFY(fw::Single<cart_noi>::exists());
        QCOMPARE(seams->beeps, 1); // the warning's own beep
        QCOMPARE(quantidisegni, 2);
        QCOMPARE(cartella, first);
        QCOMPARE(disegno.ubound(), 2);
        QCOMPARE(contorno(1, 0), QString("kept"));
        QCOMPARE(start::instance()->testo_folder->text(), first + QChar(13) + "2 picts");
    }

    void importCancelledChangesNothing() {
        importa();
        QCOMPARE(quantidisegni, 0);
        QVERIFY(cartella.isEmpty());
        QVERIFY(!fw::Single<cart_noi>::exists());
    }

    void reimportKeepsNotesByNumber() {
        importFolder(makeFolder(*root, "five", 5));
        for (int i = 1; i <= 5; ++i)
            contorno(i, 0) = QString("note %1").arg(i);
        importFolder(makeFolder(*root, "two", 2));
        QCOMPARE(contorno(1, 0), QString("note 1"));
        QCOMPARE(contorno(2, 0), QString("note 2"));
        QCOMPARE(contorno.ubound1(), 2);
        importFolder(makeFolder(*root, "four", 4));
        QCOMPARE(contorno(2, 0), QString("note 2"));
        QCOMPARE(contorno(3, 0), QString()); // dropped with the smaller folder
    }

    void saveRefusedWithoutPictures() {
        salva_presentazione();
        QCOMPARE(seams->beeps, 1);
    }

    void roundTripRestoresEverything() {
        const QString dir = makeFolder(*root, "trip", 3);
        importFolder(dir);
        start* w = start::instance();
        thumb_pos = 3;
        w->Slider1->setValueSilently(27);
        w->Slider2->setValueSilently(2);
        ombra = 2;
        w->CheckBox1->setChecked(true);
        w->CheckBox2->setChecked(false);
        colore(2) = QColor(0x12, 0x34, 0x56);
        colore(5) = QColor(0xfe, 0x01, 0x80);
        const QStringList note = {"Città\tdi notte",
                                  "Liberation Serif",
                                  "30\t",
                                  "1",
                                  "0",
                                  "1",
                                  "4",
                                  "1",
                                  "10",
                                  "20",
                                  "-30",
                                  "-40",
                                  "7"};
        for (int c = 0; c < 13; ++c)
            contorno(2, c) = note[c];
        const QString file = QDir(root->path()).filePath("Presentazione.txt");
        seams->saveFiles.push_back(file);
        salva_presentazione();
        const QByteArray bytes = testfiles::readAll(file);
        QCOMPARE(lines(bytes).size(), 28 + 13 * 3);
        QVERIFY(bytes.endsWith('\r') && !bytes.contains('\n'));

        const QList<QColor> colours = {colore(0), colore(1), colore(2), colore(3),
                                       colore(4), colore(5), colore(6)};
        freshStart();
        seams->openFiles.push_back(file);
        apri_presentazione(GetOpenFolderItem());
        w = start::instance();
        QCOMPARE(cartella, dir);
        QCOMPARE(quantidisegni, 3);
        QCOMPARE(thumb_pos, 3);
        QCOMPARE(w->Slider1->value(), 27);
        QCOMPARE(thumb_per, 27);
        QCOMPARE(ombra, 2);
        QCOMPARE(w->Slider2->value(), 2);
        QVERIFY(w->CheckBox1->isChecked());
        QVERIFY(!w->CheckBox2->isChecked());
        for (int i = 0; i < 7; ++i)
            QCOMPARE(colore(i), colours[i]);
        QCOMPARE(w->color_t(2)->fill(), QColor(0x12, 0x34, 0x56)); // previews refreshed
        for (int c = 0; c < 13; ++c)
            QCOMPARE(contorno(2, c), note[c]);
        QCOMPARE(contorno.ubound2(), 15);
        QCOMPARE(w->testo_folder->text(), dir + QChar(13) + "3 picts");
        QVERIFY(w->bottone(0)->isEnabled());
    }

    void onePictureGivesFortyOneLines() {
        importFolder(makeFolder(*root, "one", 1));
        const QString file = QDir(root->path()).filePath("one.v69");
        seams->saveFiles.push_back(file);
        salva_presentazione();
        // The file layout is the file format's test; here the setup window's defaults.
        const QList<QByteArray> l = lines(testfiles::readAll(file));
        QCOMPARE(l.size(), 41);
        QCOMPARE(l[3], QByteArray("0")); // colour 0: 0, 0, 0.6
        QCOMPARE(l[5], QByteArray("0.6"));
        QCOMPARE(l[21], QByteArray("0")); // colour 6: 0, 1, 1
        QCOMPARE(l[22], QByteArray("1"));
        QCOMPARE(l[23], QByteArray("1"));
        QCOMPARE(l[27], QByteArray("1"));
    }

    void folderGainedOrLostPictures() {
        const QString dir = makeFolder(*root, "grow", 3);
        importFolder(dir);
        for (int i = 1; i <= 3; ++i)
            contorno(i, 0) = QString("n%1").arg(i);
        const QString file = QDir(root->path()).filePath("grow.v69");
        seams->saveFiles.push_back(file);
        salva_presentazione();
        testfiles::writePicture(QDir(dir).filePath("pic4.png"), QSize(8, 8), Qt::red);
        testfiles::writePicture(QDir(dir).filePath("pic5.png"), QSize(8, 8), Qt::red);
        freshStart();
        apri_presentazione(file);
        QCOMPARE(quantidisegni, 5);
        QCOMPARE(contorno(3, 0), QString("n3"));
        QCOMPARE(contorno(4, 0), QString());
        QCOMPARE(contorno(5, 0), QString());
        QFile::remove(QDir(dir).filePath("pic5.png"));
        QFile::remove(QDir(dir).filePath("pic4.png"));
        QFile::remove(QDir(dir).filePath("pic3.png"));
        freshStart();
        apri_presentazione(file);
        QCOMPARE(quantidisegni, 2);
        QCOMPARE(contorno.ubound1(), 2);
        QCOMPARE(contorno(2, 0), QString("n2"));
    }

    void missingFolderIsNamedAndSavedAgain() {
        const QString dir = makeFolder(*root, "Foto", 2);
        importFolder(dir);
        const QString file = QDir(root->path()).filePath("foto.v69");
        seams->saveFiles.push_back(file);
        salva_presentazione();
        QVERIFY(QDir(dir).removeRecursively());
        apri_presentazione(file);
        QVERIFY(fw::Single<cart_spo>::exists());
        QCOMPARE(cartella, dir);
        QCOMPARE(quantidisegni, 2); // the previous presentation stays loaded
        const QString again = QDir(root->path()).filePath("again.v69");
        seams->saveFiles.push_back(again);
        salva_presentazione();
        QCOMPARE(lines(testfiles::readAll(again)).first(), dir.toUtf8());
    }

    void unresolvablePathBeepsAndForgetsTheFolder() {
        importFolder(makeFolder(*root, "some", 2));
        const QString file = QDir(root->path()).filePath("bad.v69");
        testfiles::writeText(file, "relative/path\r0\r10\r");
        apri_presentazione(file);
        QCOMPARE(seams->beeps, 1);
        QVERIFY(cartella.isEmpty());
        salva_presentazione(); // refused until a folder is chosen again
        QCOMPARE(seams->beeps, 2);
    }

    void unreadableFileIsReportedAndChangesNothing() {
        importFolder(makeFolder(*root, "keep", 2));
        apri_presentazione(QDir(root->path()).filePath("does-not-exist.v69"));
        apri_presentazione(root->path()); // a folder
        QCOMPARE(seams->errors.size(), 2);
        QCOMPARE(quantidisegni, 2);
        QVERIFY(!cartella.isEmpty());
    }

    void failedSaveKeepsTheOldFile() {
        importFolder(makeFolder(*root, "atomic", 2));
        const QString file = QDir(root->path()).filePath("old.v69");
        testfiles::writeText(file, "precious\r");
        // The file's folder turned into something that cannot take a new file.
        const QString blocked = QDir(root->path()).filePath("old.v69/inside.v69");
        seams->saveFiles.push_back(blocked);
        salva_presentazione();
        QCOMPARE(seams->errors.size(), 1);
        QCOMPARE(testfiles::readAll(file), QByteArray("precious\r"));
        // A save that works replaces the old content completely.
        seams->saveFiles.push_back(file);
        salva_presentazione();
        QCOMPARE(lines(testfiles::readAll(file)).size(), 28 + 26);
    }

    void hostileFilesStayBounded_data() {
        QTest::addColumn<QByteArray>("count");
        QTest::addColumn<QByteArray>("other");
        QTest::newRow("negative count") << QByteArray("-5") << QByteArray("0");
        QTest::newRow("int max count") << QByteArray("2147483647") << QByteArray("0");
        QTest::newRow("1e300 everywhere") << QByteArray("1e300") << QByteArray("1e300");
        QTest::newRow("nan everywhere") << QByteArray("nan") << QByteArray("nan");
    }
    void hostileFilesStayBounded() {
        QFETCH(QByteArray, count);
        QFETCH(QByteArray, other);
        const QString dir = makeFolder(*root, "h", 2);
        const QString file = QDir(root->path()).filePath("h.v69");
        QByteArray text = dir.toUtf8() + "\r" + other + "\r" + other + "\r";
        for (int i = 0; i < 21; ++i)
            text += other + "\r";
        text += "1\r1\r" + other + "\r" + count + "\r";
        for (int i = 0; i < 13; ++i)
            text += other + "\r";
        testfiles::writeText(file, text);
        apri_presentazione(file);
        QVERIFY(quantidisegni <= disegno.ubound());
        QCOMPARE(quantidisegni, 2);
        QVERIFY(contorno.ubound1() <= 2);
        start* w = start::instance();
        QVERIFY(w->Slider1->value() >= 5 && w->Slider1->value() <= 50);
        QVERIFY(ombra >= 0 && ombra <= 5);
        // A damaged edge reaches the state as read; Start refuses it with a beep.
        const int beeps = seams->beeps;
        if (thumb_pos < 0 || thumb_pos > 3) {
            w->bottone_Action(0);
            QCOMPARE(seams->beeps, beeps + 1);
        }
    }

    void folderWithoutItemsKeepsCountWithinFiles() {
        importFolder(makeFolder(*root, "had", 1));
        const QString empty = QDir(root->path()).filePath("empty");
        QDir().mkpath(empty);
        const QString file = QDir(root->path()).filePath("e.v69");
        testfiles::writeText(file, empty.toUtf8() + "\r0\r10\r" +
                                       QByteArray(21 * 2, 0).replace('\0', "0\r").left(42) +
                                       "0\r0\r5\r9\r");
        apri_presentazione(file);
        QVERIFY(fw::Single<cart_noi>::exists());
        QVERIFY(quantidisegni <= disegno.ubound());
        start::instance()->bottone_Action(0);
        QVERIFY(seams->beeps >= 2); // the warning, then the refused start
    }
};

QTEST_MAIN(PresentationIoTest)
#include "presentation_io_test.moc"

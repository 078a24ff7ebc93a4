// Faults around the presentation and its files: saves the file system refuses, files that
// change between Open and Save, links that lead nowhere, folders full of things that are not
// pictures, and inputs the fuzzer found. Every failure is reported, nothing the user has is
// lost, nothing hangs.
#include "common/faultmount.h"
#include "common/testfiles.h"
#include "common/testseams.h"
#include "resources/pictures.h"
#include "state/globali.h"
#include "state/presentation_file.h"
#include "windows/dialogs/cart_noi.h"
#include "windows/dialogs/cart_spo.h"
#include "windows/editor/fin_edita.h"
#include "windows/presentation/picture_compose.h"
#include "windows/setup/setup_routines.h"
#include "windows/setup/start.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Globali;

namespace {

// What a user would lose: the presentation as the program holds it.
struct Snapshot {
    QString folder;
    int pictures = 0;
    QStringList files, notes;
    static Snapshot take() {
        Snapshot s{cartella, quantidisegni, {}, {}};
        for (int i = 1; i <= quantidisegni; ++i) {
            s.files << disegno(i);
            for (int c = 0; c < note::kCells; ++c)
                s.notes << contorno(i, c);
        }
        return s;
    }
    bool operator==(const Snapshot&) const = default;
};

// Names in a folder: a failed atomic save must leave no half-written file behind.
QStringList namesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

// Writes `count` files of plain text, no bytes, hexadecimal junk and a bare PNG signature,
// under picture and other names: none a picture. Plain system calls keep it quick.
bool writeNonPictures(const QString& folder, int count) {
    for (int i = 0; i < count; ++i) {
        static const char* const suffixes[] = {".txt", ".jpg", ".png", "", ".dat"};
        const QByteArray name = QFile::encodeName(QDir(folder).filePath(
            QStringLiteral("item%1%2").arg(i).arg(QLatin1String(suffixes[i % 5]))));
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0) return false;
        QByteArray content;
        switch (i % 4) {
        case 0:
            content = "notes, not a picture\n";
            break;
        case 1:
            break; // zero bytes
        case 2:
            content = QByteArray::number(i * 2654435761u, 16).repeated(7);
            break;
        default:
            content = QByteArray("\x89PNG\r\n\x1a\n", 8);
            break;
        }
        const bool written =
            ::write(fd, content.constData(), size_t(content.size())) == ssize_t(content.size());
        ::close(fd);
        if (!written) return false;
    }
    return true;
}

} // namespace

class StateFaultsTest : public QObject {
    Q_OBJECT
    TestSeams* seams = nullptr;
    QTemporaryDir* root = nullptr;

    QString path(const QString& name) const { return QDir(root->path()).filePath(name); }

    // Imports a folder of `n` pictures and writes a note for each.
    void presentation(const QString& name, int n) {
        const QString dir = path(name);
        QVERIFY(QDir().mkpath(dir));
        for (int i = 1; i <= n; ++i)
            testfiles::writePicture(QDir(dir).filePath(QString("p%1.png").arg(i)), QSize(20, 10),
                                    QColor(20 * i, 40, 60));
        importFrom(dir);
        QCOMPARE(quantidisegni, n);
        for (int i = 1; i <= n; ++i)
            contorno(i, 0) = QStringLiteral("note %1 ").arg(i).repeated(8);
    }
    // A small tmpfs on the folder "disk" (skipped by the caller when it cannot be made).
    std::unique_ptr<faultmount::Mount> mountDisk(int kilobytes) {
        QDir().mkpath(path("disk"));
        return faultmount::Mount::tmpfs(path("disk"), kilobytes);
    }
    // Saves a presentation of `pictures` pictures to `file`; the bytes written.
    QByteArray firstSave(const QString& file, int pictures) {
        presentation("pics", pictures);
        saveTo(file);
        return seams->errors.isEmpty() ? testfiles::readAll(file) : QByteArray();
    }
    void importFrom(const QString& dir) {
        seams->folders.push_back(dir);
        importa();
    }
    // Opens a presentation file that names `folder` and `count` pictures.
    void openNaming(const QString& folder, int count) {
        const QString file = path("named.v69");
        presentation_file::Data d;
        d.folder = folder;
        d.count = count;
        testfiles::writeText(file, presentation_file::write(d));
        apri_presentazione(file);
    }
    void saveTo(const QString& file) {
        seams->saveFiles.push_back(file);
        salva_presentazione();
    }
    // The one error reported since the last call names the file and what failed.
    void expectOneError(const QString& file, const QString& reason) {
        QCOMPARE(seams->errors.size(), 1);
        const QString text = seams->errors.takeFirst();
        QVERIFY2(text.contains(QDir::toNativeSeparators(file)), qPrintable(text));
        QVERIFY2(text.contains("could not be written"), qPrintable(text));
        QVERIFY2(text.contains(reason, Qt::CaseInsensitive), qPrintable(text));
    }

  private slots:
    void init() {
        seams = new TestSeams;
        root = new QTemporaryDir;
        closeWarnings();
        if (start* old = fw::Single<start>::peek()) old->Close();
        reset();
        start::instance();
    }
    void cleanup() {
        closeWarnings();
        if (fin_edita* e = fw::Single<fin_edita>::peek()) e->Close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (start* w = fw::Single<start>::peek()) w->Close();
        delete root;
        delete seams;
    }

    void saveIntoReadOnlyFolder() {
        auto mount = mountDisk(1024);
        VTN_REQUIRE_MOUNT(mount);
        const QString disk = path("disk"), old = path("disk/old.v69");
        const QByteArray before = firstSave(old, 3);
        QVERIFY(!before.isEmpty());
        QVERIFY(mount->makeReadOnly());

        contorno(2, 0) = "changed after the first save";
        const Snapshot state = Snapshot::take();
        saveTo(old);
        expectOneError(old, "not writable");
        const QString fresh = QDir(disk).filePath("new.v69");
        saveTo(fresh);
        expectOneError(fresh, "read-only file system");
        QCOMPARE(testfiles::readAll(old), before);
        QCOMPARE(namesIn(disk), QStringList{"old.v69"});
        QVERIFY(Snapshot::take() == state);
        // Saved elsewhere, nothing was lost.
        saveTo(path("elsewhere.v69"));
        QVERIFY(seams->errors.isEmpty());
        QCOMPARE(presentation_file::read(testfiles::readAll(path("elsewhere.v69"))).notes[1][0],
                 QString("changed after the first save"));
    }

    void saveOverReadOnlyFile() {
        const QString old = path("old.v69");
        const QByteArray before = firstSave(old, 2);
        QVERIFY(!before.isEmpty());
        auto mount = faultmount::Mount::readOnlyBind(old);
        VTN_REQUIRE_MOUNT(mount);
        contorno(1, 0) = "changed";
        saveTo(old);
        expectOneError(old, "not writable");
        QCOMPARE(testfiles::readAll(old), before);
        QCOMPARE(namesIn(root->path()), QStringList({"old.v69", "pics"}));
    }

    void saveOntoFullDisk() {
        auto mount = mountDisk(64);
        VTN_REQUIRE_MOUNT(mount);
        const QString disk = path("disk"), old = path("disk/old.v69");
        const QByteArray before = firstSave(old, 4);
        QVERIFY(!before.isEmpty());
        QVERIFY(faultmount::fillUp(disk));

        contorno(4, 0) = "written on a full disk";
        const Snapshot state = Snapshot::take();
        saveTo(old);
        expectOneError(old, "no space left");
        QCOMPARE(testfiles::readAll(old), before);
        QCOMPARE(namesIn(disk), QStringList({"filler", "old.v69"}));
        QVERIFY(Snapshot::take() == state);

        // Room made, the same save goes through.
        QVERIFY(QFile::remove(QDir(disk).filePath("filler")));
        saveTo(old);
        QVERIFY(seams->errors.isEmpty());
        QCOMPARE(presentation_file::read(testfiles::readAll(old)).notes[3][0],
                 QString("written on a full disk"));
    }

    void fileChangedBetweenOpenAndSave_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("saves");
        QTest::newRow("deleted") << "deleted" << true;
        QTest::newRow("replaced by another presentation") << "other" << true;
        QTest::newRow("replaced by a folder") << "folder" << false;
        QTest::newRow("replaced by a link to a file") << "link" << true;
        QTest::newRow("replaced by a link loop") << "loop" << true;
        QTest::newRow("replaced by a named pipe") << "fifo" << true;
    }
    void fileChangedBetweenOpenAndSave() {
        QFETCH(QString, change);
        QFETCH(bool, saves);
        presentation("pics", 2);
        const QString file = path("show.v69");
        saveTo(file);
        reset();
        apri_presentazione(file);
        QCOMPARE(quantidisegni, 2);
        contorno(2, 0) = "edited after opening";
        const Snapshot state = Snapshot::take();

        const QString target = path("target.v69");
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
        if (change == "fifo") QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);

        // A pipe without a reader would block a plain write: the save must not.
        saveTo(file);
        QVERIFY(Snapshot::take() == state);
        if (!saves) {
            expectOneError(file, "directory");
            QCOMPARE(testfiles::readAll(QDir(file).filePath("inside")), QByteArray("kept"));
            return;
        }
        QVERIFY(seams->errors.isEmpty());
        // A link stays a link; the file it leads to takes the presentation.
        QCOMPARE(QFileInfo(file).isSymLink(), change == "link");
        const QString written = change == "link" ? target : file;
        const presentation_file::Data d = presentation_file::read(testfiles::readAll(written));
        QCOMPARE(d.count, 2);
        QCOMPARE(d.notes[1][0], QString("edited after opening"));
    }

    // Their headers are sound, so they count as pictures; their data is not.
    void damagedPicturesCountAndShowThePlaceholder() {
        const QString dir = path("damaged");
        QVERIFY(QDir().mkpath(dir));
        testfiles::writePicture(QDir(dir).filePath("p1.png"), QSize(40, 30), Qt::red);
        const QByteArray png = testfiles::noisePicture(QSize(64, 48), "PNG");
        testfiles::writeText(QDir(dir).filePath("p2.png"), png.left(png.size() / 2));
        QByteArray jpeg = testfiles::noisePicture(QSize(64, 48), "JPEG");
        const qsizetype scan = jpeg.indexOf("\xFF\xDA") + 14;
        QVERIFY(scan > 14 && scan < jpeg.size() - 100);
        jpeg.replace(scan, jpeg.size() - 2 - scan, QByteArray(jpeg.size() - 2 - scan, '\0'));
        testfiles::writeText(QDir(dir).filePath("p3.jpg"), jpeg);
        importFrom(dir);
        QCOMPARE(quantidisegni, 3);

        thumb_pos = 0;
        thumb_per = 100;
        fin_edita* editor = fw::Single<fin_edita>::get();
        editor->Show();
        const QImage good = prefre;
        QTest::mouseClick(editor->PushButton3, Qt::LeftButton);
        QCOMPARE(editor->StaticText1->text(), QString("p2.png"));
        const QSize box = editor->rec_schermo->size();
        const QImage placeholder =
            picture_compose::composeFitted(pictures::notfound(), pictures::notfound().size(), box,
                                           1.0, colore(colour::PictureBackground));
        QCOMPARE(prefre, placeholder);
        // The decoder fills a JPEG's unreadable data: a picture of its own size.
        QTest::mouseClick(editor->PushButton3, Qt::LeftButton);
        QCOMPARE(editor->StaticText1->text(), QString("p3.jpg"));
        QCOMPARE(prefre.size(), box);
        QVERIFY(prefre != placeholder && prefre != good);
    }

    void linkLoops() {
        presentation("pics", 2);
        const Snapshot state = Snapshot::take();
        const QString loop = path("loop");
        QVERIFY(QFile::link(loop, loop));
        // A presentation file that is a loop: reported, nothing changed.
        apri_presentazione(loop);
        QCOMPARE(seams->errors.size(), 1);
        // An image folder that is a loop: no pictures there.
        importFrom(loop);
        QVERIFY(fw::Single<cart_noi>::exists());
        closeWarnings();
        // A presentation whose folder line names the loop: the folder is missing.
        openNaming(loop, 1);
        QVERIFY(fw::Single<cart_spo>::exists());
        QCOMPARE(Snapshot::take().files, state.files);
        QCOMPARE(Snapshot::take().notes, state.notes);
    }

    void tenThousandNonPictures() {
        presentation("pics", 2);
        const Snapshot state = Snapshot::take();
        const QString junk = path("junk");
        QVERIFY(QDir().mkpath(junk));
        QVERIFY(writeNonPictures(junk, 10000));
        importFrom(junk);
        QVERIFY(fw::Single<cart_noi>::exists());
        QVERIFY(Snapshot::take() == state);
        QVERIFY(start::instance()->testo_folder->text().endsWith("2 picts"));

        // The same folder named by a presentation file: scanned to the end, no picture.
        closeWarnings();
        openNaming(junk, 3);
        QVERIFY(fw::Single<cart_noi>::exists());
        QCOMPARE(quantidisegni, 0);
        const int beeps = seams->beeps;
        start::instance()->bottone_Action(0); // nothing to present: refused
        QCOMPARE(seams->beeps, beeps + 1);
    }

    // Inputs found by fuzzing the reader: reading, writing and reading again changed them.
    void byteOrderMarksReadBackAlike_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("note");
        const QByteArray bom = "\xEF\xBB\xBF";
        const QByteArray settings = QByteArray("0\r").repeated(26) + "1\r";
        QTest::newRow("three marks before the folder")
            << bom + bom + bom + "/x\r" + settings << "/x" << QString();
        QTest::newRow("a mark at the start of a note")
            << "/x\r" + settings + bom + bom + "note\r"
            << "/x" << QString(QChar(0xFEFF)) + QChar(0xFEFF) + "note";
        QTest::newRow("a mark inside a line") << "/x\r" + settings + "a" + bom + "\r"
                                              << "/x" << QString("a") + QChar(0xFEFF);
    }
    void byteOrderMarksReadBackAlike() {
        QFETCH(QByteArray, file);
        QFETCH(QString, folder);
        QFETCH(QString, note);
        const presentation_file::Data first = presentation_file::read(file);
        QCOMPARE(first.folder, folder);
        QCOMPARE(first.count, 1);
        const QString firstNote = first.notes.empty() ? QString() : first.notes[0][0];
        QCOMPARE(firstNote, note);
        const QByteArray written = presentation_file::write(first);
        const presentation_file::Data second = presentation_file::read(written);
        QCOMPARE(second.folder, folder);
        QCOMPARE(second.notes.at(0)[0], note);
        QCOMPARE(presentation_file::write(second), written);
    }
};

QTEST_MAIN(StateFaultsTest)
#include "io_faults_test.moc"

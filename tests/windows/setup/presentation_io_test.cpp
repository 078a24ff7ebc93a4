// Import, Save and Open through the presentation state and the setup window, with the
// dialogs answered by the test, and files that change between Open and Save. Every failure
// is reported, nothing the user has is lost.
#include "base/values.h"
#include "common/testfiles.h"
#include "common/testseams.h"
#include "logic/state/globali.h"
#include "logic/state/presentation_file.h"
#include "windows/dialogs/cart_noi.h"
#include "windows/dialogs/cart_spo.h"
#include "windows/setup/setup_routines.h"
#include "windows/setup/start.h"

#include "base/files.h"

#include <QAbstractButton>
#include <QDebug>
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
// Every control of the setup window as a user sees it, and the globals the window shows.
QStringList setupWindowState() {
    const start* w = start::instance();
    QStringList state{Str(thumb_pos), Str(thumb_per), Str(ombra)};
    for (int i = 0; i < colour::kCount; ++i)
        state << colore(i).name();
    for (const QWidget* c : w->findChildren<QWidget*>()) {
        QString line;
        QDebug(&line) << c->metaObject()->className() << c->isEnabled() << c->isVisibleTo(w)
                      << c->toolTip() << c->geometry();
        if (auto* t = qobject_cast<const fw::StaticText*>(c)) line += " " + t->text();
        if (auto* r = qobject_cast<const fw::Rectangle*>(c)) line += " " + r->fill().name();
        if (auto* b = qobject_cast<const QAbstractButton*>(c))
            line += QString(" %1").arg(b->isChecked());
        if (auto* sl = qobject_cast<const QSlider*>(c)) line += " " + Str(sl->value());
        state << line;
    }
    return state;
}

// The lines of a presentation file: the folder, then every setting unlike the defaults, then
// `notes` blocks whose first and last notes are written in Latin-1.
QByteArray showFile(const QByteArray& folder, int notes) {
    // Red, which reads back as the same components.
    QByteArray file = folder + "\r1\r45\r" + QByteArray("0\r1\r1\r").repeated(colour::kCount);
    file += "1\r1\r2\r" + QByteArray::number(notes) + '\r';
    for (int i = 1; i <= notes; ++i)
        file += (i == 1 || i == notes ? QByteArray("Caff\xE8 latte")
                                      : "note " + QByteArray::number(i)) +
                "\rDejaVu Sans\r24\r1\r0\r1\r4\r1\r10\r20\r-30\r40\r3\r";
    return file;
}

// How each Open that must fail is set up: the path of the file it opens.
QString failingFile(WindowFixture& f, const QString& kind) {
    const QString file = f.path("failing.v69");
    const auto folderLine = [&](const QString& folder) {
        testfiles::writeText(file, showFile(folder.toUtf8(), 2));
    };
    if (kind == "open dialog cancelled") return QString();
    if (kind == "missing file") return f.path("nothing.v69");
    if (kind == "a folder") return f.makeFolder("a folder", 1);
    if (kind == "a named pipe")
        return ::mkfifo(QFile::encodeName(file).constData(), 0600) == 0 ? file : QString();
    if (kind == "larger than 512 MB") {
        testfiles::writeText(file, showFile(f.makeFolder("big", 2).toUtf8(), 2));
        QFile(file).resize((qint64(512) << 20) + 1); // sparse
    }
    if (kind == "empty file") testfiles::writeText(file, {});
    if (kind == "first line no path") folderLine("relative/path");
    if (kind == "folder missing") folderLine(f.path("gone"));
    if (kind == "folder line too long for a path") folderLine("/" + QString(5000, 'x'));
    if (kind == "folder without items") folderLine(f.makeFolder("empty", 0));
    if (kind == "folder of text files") {
        folderLine(f.makeFolder("texts", 0));
        testfiles::writeText(f.path("texts/a.txt"), "hello");
    }
    if (kind == "pictures only in a subfolder") {
        folderLine(f.makeFolder("outer", 0));
        f.makeFolder("outer/inner", 2);
    }
    return file;
}

void failingOpens() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reaction"); // none, error, beep, cart_spo or cart_noi
    QTest::addColumn<QStringList>("why");  // the error's reason line, in English and Italian
    const auto row = [](const char* kind, const char* reaction, QStringList why = {"", ""}) {
        QTest::newRow(kind) << QString(kind) << QString(reaction) << why;
    };
    row("open dialog cancelled", "none");
    row("missing file", "error", {"No such file or directory", "No such file or directory"});
    row("a folder", "error", {"It is not a file.", "Non è un file."});
    row("a named pipe", "error", {"It is not a file.", "Non è un file."});
    row("larger than 512 MB", "error", {"It is larger than 512 MB.", "È più grande di 512 MB."});
    row("empty file", "beep");
    row("first line no path", "beep");
    row("folder missing", "cart_spo");
    row("folder line too long for a path", "cart_spo");
    row("folder without items", "cart_noi");
    row("folder of text files", "cart_noi");
    row("pictures only in a subfolder", "cart_noi");
}

// The reaction of this row's Open, in the interface's language.
void checkReaction(const WindowFixture& f) {
    QFETCH(QString, reaction);
    QFETCH(QStringList, why);
    // After the reason comes nothing: no second error.
    const QStringList lines = f.seams.errors.join('|').split('\n'); // the path is the second line
    QCOMPARE(lines.mid(3).join('\n'), why[lingua == language::English ? 0 : 1]);
    if (reaction == "error")
        QCOMPARE(lines.value(0) + ' ' + lines.value(2),
                 QString(lingua == language::English
                             ? "Warning!: The presentation file could not be read."
                             : "Attenzione!: Il file di presentazione non può essere letto."));
    QCOMPARE(f.seams.beeps, reaction == "error" || reaction == "none" ? 0 : 1);
    QCOMPARE(fw::Single<cart_spo>::exists(), reaction == "cart_spo");
    QCOMPARE(fw::Single<cart_noi>::exists(), reaction == "cart_noi");
}

// A presentation of two pictures in `folder` whose every line differs from its neighbours.
// The colours: #333333, #006666, #ff0000, #003333, #999999, #990000, #66ffff.
QList<QByteArray> distinctLines(const QString& folder) {
    // The settings, then per picture: text, font, size, bold, italic, underline, place, frame
    // on, left, top, width, height, line.
    return QList<QByteArray>{folder.toUtf8()} +
           QByteArray("3|30|0|0|0.2|0.5|1|0.4|0|1|1|0.5|1|0.2|0|0|0.6|0|1|0.6|0.5|0.6|1|1|0|4|2|"
                      "Sunset|DejaVu Serif|18|1|0|1|4|1|10|20|-30|40|7|"
                      "Harbour|Liberation Sans|30\t|0|1|0|2|0|110|120|130|-140|3")
               .split('|');
}
const QList<QColor> kDistinctColours{0x333333, 0x006666, 0xff0000, 0x003333,
                                     0x999999, 0x990000, 0x66ffff};
// What the setup window and the presentation state hold, in the order of the file's lines.
QList<QByteArray> stateLines() {
    start* w = start::instance();
    QList<QByteArray> out{cartella.toUtf8(), Str(thumb_pos).toUtf8(),
                          Str(w->Slider1->value()).toUtf8()};
    for (int i = 0; i < colour::kCount; ++i) {
        const HsvComponents c = toHsv(colore(i));
        out << Str(c.h).toUtf8() << Str(c.s).toUtf8() << Str(c.v).toUtf8();
    }
    out << (w->CheckBox1->isChecked() ? "1" : "0") << (w->CheckBox2->isChecked() ? "1" : "0")
        << Str(w->Slider2->value()).toUtf8() << Str(quantidisegni).toUtf8();
    for (int i = 1; i <= quantidisegni; ++i)
        for (const QString& cell : WindowFixture::row(i))
            out << cell.toUtf8();
    return out;
}
void lineRows() {
    QTest::addColumn<int>("line");
    for (int line = 1; line <= 54; ++line)
        QTest::addRow("line %d", line) << line;
}
} // namespace

class PresentationIoTest : public QObject {
    Q_OBJECT
  private slots:
    // A folder without pictures is refused with a warning, a cancelled choice without one; the
    // presentation stays.
    void importWithoutPicturesKeepsThePresentation_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("empty folder") << "empty";
        QTest::newRow("text files only") << "text";
        QTest::newRow("pictures only in a subfolder") << "sub";
        QTest::newRow("folder dialog cancelled") << "cancelled";
    }
    void importWithoutPicturesKeepsThePresentation() {
        QFETCH(QString, kind);
        WindowFixture f;
        const QString first = f.makeFolder("first", 2);
        f.importFolder(first);
        const QStringList state = WindowFixture::presentationState();
        const QString other = kind == "cancelled" ? QString() : f.makeFolder("other", 0);
        if (kind == "text") testfiles::writeText(QDir(other).filePath("a.txt"), "hello");
        if (kind == "sub") f.makeFolder("other/inner", 2);
        f.importFolder(other);
        QCOMPARE(fw::Single<cart_noi>::exists(), kind != "cancelled");
        QCOMPARE(f.seams.beeps, kind == "cancelled" ? 0 : 1); // the warning's own beep
        QCOMPARE(WindowFixture::presentationState(), state);
        // The read-out still names the first folder (shortened to fit; whole in its tooltip).
        QCOMPARE(start::instance()->testo_folder->toolTip(), first);
        QVERIFY(start::instance()->testo_folder->text().endsWith(QChar(13) + QString("2 picts")));
    }

    // What the user set on the setup window and in the notes, saved: each line of the file
    // holds its own value.
    void everyLineSaved_data() { lineRows(); }
    void everyLineSaved() {
        QFETCH(int, line);
        WindowFixture f;
        start* w = start::instance();
        const QString folder = f.makeFolder("photos", 2);
        f.importFolder(folder);
        QTest::mouseClick(w->rec_schermo, Qt::LeftButton, {}, QPoint(160, 238));
        QTest::keyClick(w->Slider1, Qt::Key_PageUp); // 10 and a page of 20
        for (int i = 0; i < colour::kCount; ++i) {
            const QColor chosen = kDistinctColours[i];
            seams::hooks().selectColor = [chosen](const QColor&, const QString&) {
                return std::optional<QColor>(chosen);
            };
            QTest::mouseClick(w->color_t(i), Qt::LeftButton);
        }
        QTest::mouseClick(w->CheckBox1, Qt::LeftButton);
        QTest::keyClick(w->Slider2, Qt::Key_Left); // 5 less a step
        const QList<QByteArray> lines = distinctLines(folder);
        for (int i = 1; i <= 2; ++i)
            for (int c = 0; c < note::kCells; ++c)
                contorno(i, c) = QString::fromUtf8(lines[28 + 13 * (i - 1) + c]);
        f.saveTo(f.path("saved.v69"));
        const QList<QByteArray> saved = testfiles::readAll(f.path("saved.v69")).split('\r');
        QCOMPARE(saved.size(), lines.size() + 1);
        QCOMPARE(saved[line - 1], lines[line - 1]);
    }

    // Such a file opened: each line lands in its own place of the setup window and the
    // presentation state.
    void everyLineOpened_data() { lineRows(); }
    void everyLineOpened() {
        QFETCH(int, line);
        WindowFixture f;
        start* w = start::instance();
        const QList<QByteArray> lines = distinctLines(f.makeFolder("photos", 2));
        testfiles::writeText(f.path("open.v69"), lines.join('\r') + '\r');
        apri_presentazione(f.path("open.v69"));
        QCOMPARE(stateLines()[line - 1], lines[line - 1]);
        QCOMPARE(QList<int>({thumb_per, ombra}), QList<int>({30, 4}));
        QCOMPARE(w->color_o->pos(), w->color_d->pos() + QPoint(4, 4));
        for (int i = 0; i < colour::kCount; ++i) // as the colour's swatch shows it
            QCOMPARE(w->color_t(i)->fill(), kDistinctColours[i]);
        // And as the previews show them: each cell in the strip's colour, the note's text and
        // shadow in their box, the frame around the picture's background.
        const auto seen = [](QWidget* preview) { return preview->grab().toImage(); };
        const auto shows = [](const QImage& image, QPoint at, colour::Slot slot) {
            return image.pixelColor(at) == kDistinctColours[slot];
        };
        for (int i = 0; i < 4; ++i) {
            const QImage cell = seen(w->color_s(i));
            QVERIFY(shows(cell, {0, 0}, colour::StripBackground));
            QVERIFY(shows(cell, {23, 20}, colour::StripBackground));
            QVERIFY(shows(cell, {12, 10}, colour::CellBackground));
        }
        const QImage box = seen(w->color_s(5));
        QVERIFY(shows(box, {0, 0}, colour::NoteBox) && shows(box, {113, 63}, colour::NoteBox) &&
                shows(box, {5, 60}, colour::NoteBox));
        for (const colour::Slot text : {colour::NoteText, colour::NoteShadow}) {
            bool found = false;
            for (int y = 0; y < box.height() && !found; ++y)
                for (int x = 0; x < box.width() && !found; ++x)
                    found = shows(box, {x, y}, text);
            QVERIFY2(found, qPrintable(kDistinctColours[text].name()));
        }
        const QImage frame = seen(w->color_r);
        QVERIFY(shows(frame, {0, 0}, colour::Frame) && shows(frame, {29, 14}, colour::Frame));
        QVERIFY(shows(frame, {15, 7}, colour::PictureBackground));
    }

    // A strip size or shadow beyond its slider's range is held by the slider, and the
    // presentation takes the slider's value.
    void valuesBeyondTheSliders_data() {
        QTest::addColumn<QByteArray>("percent");
        QTest::addColumn<QByteArray>("shadow");
        QTest::addColumn<int>("thumb_per");
        QTest::addColumn<int>("ombra");
        QTest::newRow("above") << QByteArray("51") << QByteArray("6") << 50 << 5;
        QTest::newRow("far above") << QByteArray("1e9") << QByteArray("99") << 50 << 5;
        QTest::newRow("below") << QByteArray("4") << QByteArray("-1") << 5 << 0;
        QTest::newRow("at the ends") << QByteArray("50") << QByteArray("0") << 50 << 0;
        QTest::newRow("at the other ends") << QByteArray("5") << QByteArray("5") << 5 << 5;
    }
    void valuesBeyondTheSliders() {
        QFETCH(QByteArray, percent);
        QFETCH(QByteArray, shadow);
        QFETCH(int, thumb_per);
        QFETCH(int, ombra);
        WindowFixture f;
        start* w = start::instance();
        QList<QByteArray> lines = distinctLines(f.makeFolder("photos", 2));
        lines[2] = percent;
        lines[26] = shadow;
        testfiles::writeText(f.path("open.v69"), lines.join('\r') + '\r');
        apri_presentazione(f.path("open.v69"));
        QCOMPARE(QList<int>({Globali::thumb_per, w->Slider1->value()}),
                 QList<int>({thumb_per, thumb_per}));
        QCOMPARE(QList<int>({Globali::ombra, w->Slider2->value()}), QList<int>({ombra, ombra}));
        QCOMPARE(w->color_o->pos(), w->color_d->pos() + QPoint(ombra, ombra));
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
        QCOMPARE(contorno(3, note::Text), QString()); // past the table: nothing
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

    // An Open that ends in a beep or a warning changes nothing: the presentation, every control
    // of the setup window, and what a save writes, byte for byte.
    void failedOpenChangesNothing_data() { failingOpens(); }
    void failedOpenChangesNothing() {
        QFETCH(QString, kind);
        WindowFixture f;
        testfiles::writeText(f.path("show.v69"), showFile(f.makeFolder("pics", 3).toUtf8(), 3));
        apri_presentazione(f.path("show.v69"));
        QCOMPARE(quantidisegni, 3);
        contorno(2, note::Text) = "edited";
        f.saveTo(f.path("before.v69"));
        const QStringList state = WindowFixture::presentationState(), setup = setupWindowState();
        const QString file = failingFile(f, kind); // empty if no pipe could be made: fails below

        apri_presentazione(file);
        checkReaction(f);
        QCOMPARE(WindowFixture::presentationState(), state);
        QCOMPARE(setupWindowState(), setup);
        f.saveTo(f.path("after.v69"));
        QCOMPARE(testfiles::readAll(f.path("after.v69")), testfiles::readAll(f.path("before.v69")));
    }

    // Started with such a file, the program is as on a plain start: nothing to present or save.
    void failedOpenAtStartIsAPlainStart_data() { failingOpens(); }
    void failedOpenAtStartIsAPlainStart() {
        QFETCH(QString, kind);
        WindowFixture f;
        const QString file = failingFile(f, kind);
        const QStringList setup = setupWindowState();
        lingua = language::Italian; // the messages in Italian
        apri_presentazione(file);
        checkReaction(f);
        QCOMPARE(setupWindowState(), setup);
        QVERIFY(cartella.isEmpty());
        QCOMPARE(quantidisegni, 0);
        f.saveTo(f.path("after.v69"));
        QVERIFY(!QFile::exists(f.path("after.v69")));
    }

    // A note whose bytes are not UTF-8 shows as Latin-1 and is saved as it was read until it
    // is edited; an edited note is saved as UTF-8.
    void notesKeepTheirBytes_data() {
        QTest::addColumn<QString>("edit"); // the text written into note 1, or none
        QTest::addColumn<QByteArray>("saved");
        QTest::newRow("unedited") << QString() << QByteArray("Caff\xE8 latte");
        QTest::newRow("edited") << "Caffè latte!" << QByteArray("Caff\xC3\xA8 latte!");
        QTest::newRow("edited and written back") << "Caffè latte" << QByteArray("Caff\xE8 latte");
    }
    void notesKeepTheirBytes() {
        QFETCH(QString, edit);
        QFETCH(QByteArray, saved);
        WindowFixture f;
        // More pictures than the notes table has columns: the last note's bytes outlast the
        // table's resizing as the folder is read.
        const QByteArray file = showFile(f.makeFolder("pics", 20, QSize(4, 4)).toUtf8(), 20);
        testfiles::writeText(f.path("show.v69"), file);
        apri_presentazione(f.path("show.v69"));
        QCOMPARE(contorno(1, note::Text), QString("Caffè latte"));
        if (!edit.isNull()) {
            contorno(1, note::Text) = "something else";
            contorno(1, note::Text) = edit;
        }
        f.saveTo(f.path("saved.v69"));
        const QByteArray written = testfiles::readAll(f.path("saved.v69"));
        QCOMPARE(written.split('\r')[28], saved);
        if (edit.isNull()) QCOMPARE(written, file);
    }

    // Names that are not UTF-8, of pictures and of the folder itself: every picture counts,
    // keeps its own note through a save and an open, and the folder line keeps its bytes.
    void namesNotUtf8_data() {
        QTest::addColumn<QByteArray>("folder");
        QTest::newRow("UTF-8 folder") << QByteArray("Foto gi\xC3\xA0");
        QTest::newRow("Latin-1 folder") << QByteArray("Foto gi\xE0");
    }
    void namesNotUtf8() {
        QFETCH(QByteArray, folder);
        WindowFixture f;
        const QString dir = f.path(files::decodeName(folder));
        QCOMPARE(::mkdir(files::encodeName(dir).constData(), 0700), 0);
        const QList<QByteArray> names = {"1.png", "2 caf\xE9.png", "3 caf\xC3\xA9.png", "4.png"};
        for (const QByteArray& name : names)
            testfiles::writePicture(dir + '/' + files::decodeName(name), QSize(8, 8), Qt::red);
        f.importFolder(dir);
        QCOMPARE(quantidisegni, 4);
        for (int i = 1; i <= 4; ++i)
            contorno(i, note::Text) = files::shownName(files::decodeName(names[i - 1]));
        f.saveTo(f.path("names.v69"));
        const QByteArray saved = testfiles::readAll(f.path("names.v69"));
        QCOMPARE(saved.split('\r')[0], files::encodeName(dir));
        reopen(f, f.path("names.v69"));
        QCOMPARE(quantidisegni, 4);
        for (int i = 1; i <= 4; ++i) {
            QCOMPARE(files::encodeName(disegno(i)), files::encodeName(dir) + '/' + names[i - 1]);
            QCOMPARE(contorno(i, note::Text), files::shownName(files::decodeName(names[i - 1])));
        }
        QVERIFY(start::instance()->testo_folder->toolTip().endsWith("Foto già"));
    }

    // Items that cannot be opened by their path are left out with a warning that counts them,
    // in the interface's language.
    void itemsLeftOutAreCounted_data() {
        QTest::addColumn<int>("leftOut");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("warning");
        QTest::newRow("one") << 1 << 1
                             << "Warning!: 1 file in the folder\n%1\nwas left out: its path is "
                                "too long to be opened.";
        QTest::newRow("two") << 2 << 1
                             << "Warning!: 2 files in the folder\n%1\nwere left out: their "
                                "paths are too long to be opened.";
        QTest::newRow("one, Italian")
            << 1 << 0
            << "Attenzione!: 1 file della cartella\n%1\nè stato escluso: il suo percorso è "
               "troppo lungo per essere aperto.";
        QTest::newRow("two, Italian")
            << 2 << 0
            << "Attenzione!: 2 file della cartella\n%1\nsono stati esclusi: i loro percorsi "
               "sono troppo lunghi per essere aperti.";
    }
    void itemsLeftOutAreCounted() {
        QFETCH(int, leftOut);
        QFETCH(int, language);
        QFETCH(QString, warning);
        WindowFixture f;
        Globali::lingua = language;
        const QString deep = testfiles::deepFolder(f.dir.path(), 100);
        QVERIFY(!deep.isEmpty());
        const QByteArray png = testfiles::encode(QImage(4, 4, QImage::Format_RGB32), "PNG");
        testfiles::writeText(deep + "/a.png", png);
        testfiles::writeText(deep + "/b.png", png);
        for (int i = 0; i < leftOut; ++i)
            testfiles::writeDeep(deep + '/' + QString(150, QChar('0' + i)), png);
        f.importFolder(deep);
        QCOMPARE(quantidisegni, 2);
        QCOMPARE(f.seams.errors, QStringList(warning.arg(Globali::shownPath(deep))));
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
        salva_presentazione(); // its dialog cancelled: no message
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

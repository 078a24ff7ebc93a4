// Opening and saving presentation files: between the file's lines and the presentation
// state with the setup window's controls.
#include "base/files.h"
#include "base/text_limits.h"
#include "base/values.h"
#include "kit/seams.h"
#include "logic/state/folder_scan.h"
#include "logic/state/presentation_file.h"
#include "windows/dialogs/cart_noi.h"
#include "windows/dialogs/cart_spo.h"
#include "windows/setup/setup_routines.h"
#include "windows/setup/start.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cstdio>

namespace Globali {

namespace {

void report(const QString& english, const QString& italian) {
    const bool inEnglish = language::isEnglish(lingua);
    ReportError(inEnglish ? QStringLiteral("Warning!") : QStringLiteral("Attenzione!"),
                inEnglish ? english : italian);
}

void reportFile(const QString& path, bool reading, const QString& detail) {
    const QString shown = shownPath(path);
    // Also for whoever started the program from a terminal or a script: the dialog alone
    // leaves no trace, and it waits for OK.
    std::fprintf(stderr, "vetrinova: the presentation file %s could not be %s%s%s\n",
                 qPrintable(shown), reading ? "read" : "written", detail.isEmpty() ? "" : ": ",
                 qPrintable(detail));
    report(QStringLiteral("The presentation file\n%1\ncould not be %2.\n%3")
               .arg(shown, reading ? QStringLiteral("read") : QStringLiteral("written"), detail),
           QStringLiteral("Il file di presentazione\n%1\nnon può essere %2.\n%3")
               .arg(shown, reading ? QStringLiteral("letto") : QStringLiteral("scritto"), detail));
}

QString loadErrorText(const presentation_file::Loaded& loaded) {
    using presentation_file::LoadError;
    const bool inEnglish = language::isEnglish(lingua);
    switch (loaded.error) {
    case LoadError::NotAFile:
        return inEnglish ? QStringLiteral("It is not a file.") : QStringLiteral("Non è un file.");
    case LoadError::TooLarge:
        return inEnglish ? QStringLiteral("It is larger than 512 MB.")
                         : QStringLiteral("È più grande di 512 MB.");
    case LoadError::Unreadable:
    case LoadError::None:
        break;
    }
    return loaded.detail;
}

} // namespace

QString shownPath(const QString& path) {
    QString shown =
        text_limits::shortenedMiddle(QDir::toNativeSeparators(files::shownName(path)), 1024);
    // A line break in a name would look like the end of the name.
    return shown.replace(QLatin1Char('\r'), QChar(0x21B5))
        .replace(QLatin1Char('\n'), QChar(0x21B5));
}

void apri_presentazione(const FolderItem& file) {
    if (file.isEmpty()) return;
    // The file is read and its folder scanned before anything changes: an Open that ends in
    // a beep or a warning leaves the presentation and the setup window as they were, so that
    // a save afterwards writes what it would have written before.
    presentation_file::Loaded loaded = presentation_file::load(file);
    if (loaded.error != presentation_file::LoadError::None) {
        reportFile(file, true, loadErrorText(loaded));
        return;
    }
    // The settings first: the folder tells how many notes can be used.
    const presentation_file::Data head = presentation_file::read(loaded.bytes, 0);
    const FolderItem folder = presentation_file::folderOf(
        head.folder, QCoreApplication::applicationDirPath(), QFileInfo(file).absolutePath());
    // A line too long for a path names no folder that could exist: it is not looked up.
    if (folder.isEmpty() || presentation_file::tooLongForPath(folder) ||
        !files::isFolder(files::encodeName(folder))) {
        loaded = {}; // no note will be read: the file's memory goes before a dialog opens
        if (folder.isEmpty())
            Beep();
        else
            cart_spo::showFor(folder);
        return;
    }
    const folder_scan::ScanResult found = scanWithProgress(folder);
    if (found.pictures.isEmpty()) {
        loaded = {};
        fw::Single<cart_noi>::get()->Show();
        return;
    }
    // Notes attach to the pictures found: only that many blocks are worth holding as text,
    // however many the file claims or holds.
    const presentation_file::Data d =
        presentation_file::read(loaded.bytes, int(found.pictures.size()));
    loaded = {};

    start* w = start::instance();
    thumb_pos = d.thumb_pos;
    w->Slider1->setValueSilently(d.percent);
    thumb_per = w->Slider1->value();
    for (int i = 0; i < colour::kCount; ++i)
        colore(i) = presentation_file::colour(d, i);
    w->CheckBox1->setChecked(d.fill);
    w->CheckBox2->setChecked(d.display);
    w->Slider2->setValueSilently(d.ombra);
    ombra = w->Slider2->value();
    w->color_o->move(w->color_d->x() + ombra, w->color_d->y() + ombra);

    const int rows = int(d.notes.size());
    resizeNotes(rows, note::kLastColumnRead);
    for (int i = 1; i <= rows; ++i)
        for (int c = 0; c < note::kCells; ++c)
            setNoteFromFile(i, c, d.notes[size_t(i - 1)][size_t(c)]);
    takePictures(folder, found.pictures);
    mostra_thumb();
    mostra_colori();
}

void salva_presentazione() {
    if (cartella.isEmpty() || quantidisegni < 1) {
        Beep();
        return;
    }
    // Every line break ends a line of the file: such a folder would not read back.
    if (!presentation_file::storableFolder(cartella)) {
        const QString shown = shownPath(cartella);
        report(QStringLiteral("The image folder\n%1\nhas a line break in its name, which a "
                              "presentation file cannot hold. Nothing was saved.\nRename the "
                              "folder and import it again.")
                   .arg(shown),
               QStringLiteral("Il nome della cartella delle immagini\n%1\ncontiene un a capo, "
                              "che un file di presentazione non può contenere. Non è stato "
                              "salvato nulla.\nRinominare la cartella e importarla di nuovo.")
                   .arg(shown));
        return;
    }
    const QString path = GetSaveFolderItem(QStringLiteral("Presentazione.txt"));
    if (path.isEmpty()) return;
    start* w = start::instance();
    presentation_file::Data d;
    d.folder = QDir::toNativeSeparators(cartella);
    d.thumb_pos = thumb_pos;
    d.percent = w->Slider1->value();
    for (int i = 0; i < colour::kCount; ++i)
        presentation_file::setColour(d, i, colore(i));
    d.fill = w->CheckBox1->isChecked();
    d.display = w->CheckBox2->isChecked();
    d.ombra = ombra;
    d.count = quantidisegni;
    d.notes.resize(size_t(quantidisegni));
    for (int i = 1; i <= quantidisegni; ++i)
        for (int c = 0; c < note::kCells; ++c)
            d.notes[size_t(i - 1)][size_t(c)] = noteForFile(i, c);

    // Written beside the old file and put in its place in one step: a failed write leaves
    // the old presentation as it was.
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly)) {
        reportFile(path, false, out.errorString());
        return;
    }
    const QByteArray bytes = presentation_file::write(d);
    // commit() misses a failure of the last flush (a full disk) and would put a cut-short
    // file in place of the old one: the flush is checked first.
    if (out.write(bytes) != bytes.size() || !out.flush() || !out.commit())
        reportFile(path, false, out.errorString());
}

} // namespace Globali

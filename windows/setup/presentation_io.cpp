// Opening and saving presentation files: between the file's lines and the presentation
// state with the setup window's controls.
#include "framework/seams.h"
#include "framework/values.h"
#include "state/folder_scan.h"
#include "state/presentation_file.h"
#include "windows/dialogs/cart_noi.h"
#include "windows/dialogs/cart_spo.h"
#include "windows/setup/setup_routines.h"
#include "windows/setup/start.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace Globali {

namespace {

// Far beyond any real presentation (a million pictures with long notes), yet small enough
// that a mistaken pick of a huge file never exhausts memory.
constexpr qint64 largestFile = qint64(512) * 1024 * 1024;

void reportFile(const QString& path, bool reading, const QString& detail) {
    const bool english = language::isEnglish(lingua);
    const QString text =
        english ? QStringLiteral("The presentation file\n%1\ncould not be %2.\n%3")
                      .arg(QDir::toNativeSeparators(path),
                           reading ? QStringLiteral("read") : QStringLiteral("written"), detail)
                : QStringLiteral("Il file di presentazione\n%1\nnon può essere %2.\n%3")
                      .arg(QDir::toNativeSeparators(path),
                           reading ? QStringLiteral("letto") : QStringLiteral("scritto"), detail);
    ReportError(english ? QStringLiteral("Warning!") : QStringLiteral("Attenzione!"), text);
}

// The path of line 1 as a file reference: only an absolute path names a folder.
FolderItem folderItemOf(const QString& line) {
    if (line.isEmpty() || line.contains(QChar(0)) || !QDir::isAbsolutePath(line))
        return FolderItem();
    return QDir::cleanPath(line);
}

} // namespace

void apri_presentazione(const FolderItem& file) {
    if (file.isEmpty()) return;
    QFile f(file);
    const QFileInfo info(file);
    if (!info.isFile() || info.size() > largestFile || !f.open(QIODevice::ReadOnly)) {
        // Nothing is changed when the file cannot be read.
        reportFile(file, true, info.isFile() ? f.errorString() : QString());
        return;
    }
    const presentation_file::Data d = presentation_file::read(f.readAll());
    f.close();

    cartella = folderItemOf(d.folder);
    if (cartella.isEmpty()) {
        Beep();
        return;
    }
    if (!QFileInfo(cartella).isDir()) {
        fw::Single<cart_spo>::get()->Show();
        return;
    }
    start* w = start::instance();
    w->showLoadedFolder(QDir::toNativeSeparators(cartella), quantidisegni);

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

    // Only the note blocks the file holds take room; rows past them read as empty notes.
    const int rows = int(d.notes.size());
    contorno.resize(rows, note::kLastColumnRead);
    for (int i = 1; i <= rows; ++i)
        for (int c = 0; c < note::kCells; ++c)
            contorno(i, c) = d.notes[size_t(i - 1)][size_t(c)];

    const folder_scan::ScanResult found = scanWithProgress(cartella);
    if (found.pictures.isEmpty()) {
        // No picture to attach the notes to: nothing can be presented or saved, and the count
        // never claims more pictures than the presentation holds files for.
        quantidisegni = 0;
        fw::Single<cart_noi>::get()->Show();
    } else {
        takePictures(cartella, found.pictures);
    }
    mostra_thumb();
    mostra_colori();
}

void salva_presentazione() {
    if (cartella.isEmpty() || quantidisegni < 1) {
        Beep();
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
            d.notes[size_t(i - 1)][size_t(c)] = contorno(i, c);

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

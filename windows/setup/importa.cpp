// Import: a folder chosen by the user becomes the presentation's image folder.
#include "base/values.h"
#include "kit/progress.h"
#include "kit/seams.h"
#include "logic/state/folder_scan.h"
#include "windows/dialogs/cart_noi.h"
#include "windows/setup/setup_routines.h"
#include "windows/setup/start.h"

namespace Globali {

// The scan reads headers only, a few milliseconds per thousand items, so it runs here in one
// piece and the progress keeps the windows painted (see fw::Progress for what may run
// meanwhile: no user input, nothing that starts an import or an opening).
folder_scan::ScanResult scanWithProgress(const QString& folder) {
    fw::Progress progress(language::isEnglish(lingua) ? QStringLiteral("Reading the folder")
                                                      : QStringLiteral("Lettura della cartella"),
                          0);
    const folder_scan::ScanResult found =
        folder_scan::scan(folder, [&progress](int done, int total) {
            progress.setTotal(total);
            progress.step(done);
            return true;
        });
    if (found.leftOut > 0) {
        // Never silently: every picture after one left out has another number.
        const QString path = shownPath(folder), n = Str(found.leftOut);
        const bool one = found.leftOut == 1;
        if (language::isEnglish(lingua))
            ReportError(QStringLiteral("Warning!"),
                        one ? QStringLiteral("1 file in the folder\n%1\nwas left out: its path is "
                                             "too long to be opened.")
                                  .arg(path)
                            : QStringLiteral("%1 files in the folder\n%2\nwere left out: their "
                                             "paths are too long to be opened.")
                                  .arg(n, path));
        else
            ReportError(QStringLiteral("Attenzione!"),
                        one ? QStringLiteral("1 file della cartella\n%1\nè stato escluso: il suo "
                                             "percorso è troppo lungo per essere aperto.")
                                  .arg(path)
                            : QStringLiteral("%1 file della cartella\n%2\nsono stati esclusi: i "
                                             "loro percorsi sono troppo lunghi per essere aperti.")
                                  .arg(n, path));
    }
    return found;
}

void takePictures(const QString& folder, const QStringList& pictures) {
    cartella = folder;
    quantidisegni = int(pictures.size());
    disegno.resize(quantidisegni);
    for (int i = 1; i <= quantidisegni; ++i)
        disegno(i) = pictures[i - 1];
    start::instance()->showLoadedFolder(folder, quantidisegni);
    resizeNotes(quantidisegni, note::kLastColumnImported);
}

void importa() {
    const QString folder = SelectFolder();
    if (folder.isEmpty()) return;
    const folder_scan::ScanResult found = scanWithProgress(folder);
    // A folder without pictures leaves the presentation exactly as it was, whether or not
    // it has other items: clearing the count alone would keep the old folder on screen
    // with nothing to present or save.
    if (found.pictures.isEmpty()) {
        fw::Single<cart_noi>::get()->Show();
        return;
    }
    takePictures(folder, found.pictures);
}

} // namespace Globali

#pragma once
// The routines of the presentation state that drive the setup window: its previews and
// captions, and the import, opening and saving of a presentation, which end by showing the
// result on it.
#include "logic/state/globali.h"

#include <QStringList>

namespace folder_scan {
struct ScanResult;
}

namespace Globali {

// Setup window previews.
void mostra_thumb();
void mostra_colori();
// Captions of the setup window and the File menu.
void local_usa();
void local_ita();
// Apply the captions of the current language.
void applyLanguage();
// Asks for a folder and makes its pictures the presentation's.
void importa();
// Reads a presentation file (none: nothing happens).
void apri_presentazione(const FolderItem& file);
// Asks for a file name and writes the presentation to it.
void salva_presentazione();

// A path inside a message: as shown to the user, never so long that the message box lays out
// megabytes.
QString shownPath(const QString& path);
// The folder scan with a progress dialog once it takes noticeable time, and a warning when
// items of the folder had to be left out.
folder_scan::ScanResult scanWithProgress(const QString& folder);
// Makes the pictures found in a folder the presentation's and shows them on the setup window.
void takePictures(const QString& folder, const QStringList& pictures);

} // namespace Globali

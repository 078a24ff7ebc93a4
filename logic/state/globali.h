#pragma once
// The presentation's shared state: the data that several windows read and write. The
// routines that keep windows in step with it live beside the windows they drive.
#include "logic/state/arrays.h"
#include "logic/state/model.h"

#include <QColor>
#include <QImage>
#include <QString>
#include <map>
#include <utility>

// A file reference: an absolute path, or none when empty.
using FolderItem = QString;

namespace Globali {

// Screen edge of the thumbnail strip (edge::Edge).
inline int thumb_pos = edge::Left;
// Strip thickness: percent while the setup window is in use, pixels while a
// presentation or the notes editor runs.
inline int thumb_per = 0;
// Interface language (language::Language): English, or Italian for any other value.
inline int lingua = language::English;
// The seven presentation colours (see the setup window's swatches).
inline Array1<QColor> colore(colour::kCount - 1);
// Offset of a note's shadow, pixels right and down.
inline int ombra = 0;
// Screen preview rectangle of the setup window or the editor, window pixels.
inline int xtl = 0, xbr = 0, ytl = 0, ybr = 0;
// The image folder, none until an import or an opening.
inline FolderItem cartella;
inline int quantidisegni = 0;
// contorno(i, c): the note of picture i, one text per cell (note::Cell).
inline Array2<QString> contorno(0, note::kLastColumnRead);
// The note cells whose bytes in the presentation file they were read from are not all UTF-8,
// keyed by (picture, cell), as the file held them (files::decodeName). contorno shows such a
// cell read as Latin-1; while it still shows that, saving writes the file's bytes again.
inline std::map<std::pair<int, int>, QString> notesAsRead;
// disegno(i): the file of picture i, 1..quantidisegni.
inline Array1<FolderItem> disegno(0);
inline int pct_dx = 0, pct_dy = 0;
inline int tmb_dx = 0, tmb_dy = 0;
// The picture whose note the editor shows.
inline int puntatore = 0;
// Which corner of the note rectangle the editor's next click sets.
inline int volta = 0;
// The editor's scaled preview picture.
inline QImage prefre;

// Back to the start-up values (used at start and by tests).
void reset();

// Resizes contorno, keeping what was read with the cells that stay.
void resizeNotes(int upperRow, int upperColumn);
// Sets note cell (i, c) from a presentation file's text of it (files::decodeName).
void setNoteFromFile(int i, int c, const QString& fileText);
// The text of note cell (i, c) to write into a presentation file: the bytes it was read from
// while it shows what they read as; otherwise what it shows, written as UTF-8.
QString noteForFile(int i, int c);

} // namespace Globali

#include "logic/state/globali.h"

#include "base/files.h"

namespace Globali {

void reset() {
    thumb_pos = edge::Left;
    thumb_per = 0;
    lingua = language::English;
    colore = Array1<QColor>(colour::kCount - 1);
    for (int i = 0; i < colour::kCount; ++i)
        colore(i) = QColor(0, 0, 0);
    ombra = 0;
    xtl = xbr = ytl = ybr = 0;
    cartella.clear();
    quantidisegni = 0;
    contorno = Array2<QString>(0, note::kLastColumnRead);
    notesAsRead.clear();
    disegno = Array1<FolderItem>(0);
    pct_dx = pct_dy = tmb_dx = tmb_dy = 0;
    puntatore = 0;
    volta = 0;
    prefre = QImage();
}

void resizeNotes(int upperRow, int upperColumn) {
    contorno.resize(upperRow, upperColumn);
    std::erase_if(notesAsRead, [&](const auto& kept) {
        return !contorno.inBounds(kept.first.first, kept.first.second);
    });
}

void setNoteFromFile(int i, int c, const QString& fileText) {
    if (!contorno.inBounds(i, c)) return;
    if (files::keepsBytes(fileText)) {
        contorno(i, c) = files::shownName(fileText);
        notesAsRead[{i, c}] = fileText;
    } else {
        contorno(i, c) = fileText;
        notesAsRead.erase({i, c});
    }
}

QString noteForFile(int i, int c) {
    const QString& shown = contorno(i, c);
    const auto kept = notesAsRead.find({i, c});
    if (kept != notesAsRead.end() && files::shownName(kept->second) == shown) return kept->second;
    // Nothing the user wrote is taken for a kept byte.
    return files::keepsBytes(shown) ? files::shownName(shown) : shown;
}

} // namespace Globali

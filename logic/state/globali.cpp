#include "logic/state/globali.h"

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
    disegno = Array1<FolderItem>(0);
    pct_dx = pct_dy = tmb_dx = tmb_dy = 0;
    puntatore = 0;
    volta = 0;
    prefre = QImage();
}

} // namespace Globali

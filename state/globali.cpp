#include "state/globali.h"

namespace Globali {

void reset() {
    thumb_pos = 0;
    thumb_per = 0;
    lingua = 1;
    colore = Array1<QColor>(6);
    for (int i = 0; i <= 6; ++i)
        colore(i) = QColor(0, 0, 0);
    ombra = 0;
    xtl = xbr = ytl = ybr = 0;
    cartella.clear();
    quantidisegni = 0;
    contorno = Array2<QString>(0, 12);
    disegno = Array1<FolderItem>(0);
    pct_dx = pct_dy = tmb_dx = tmb_dy = 0;
    puntatore = 0;
    volta = 0;
    prefre = QImage();
}

} // namespace Globali

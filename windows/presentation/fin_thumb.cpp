#include "windows/presentation/fin_thumb.h"

#include "logic/geometry/presentation_geometry.h"
#include "logic/state/globali.h"
#include "logic/state/model.h"
#include "pictures/picture_compose.h"
#include "pictures/thumbnails/thumbnail_cache.h"
#include "resources/pictures.h"
#include "windows/presentation/fin_pict.h"
#include "windows/presentation/mostra_pict.h"
#include "windows/presentation/presentation.h"

#include <algorithm>

namespace {

// The picture of a cell: the file's thumbnail fitted onto the cell's fill, or the placeholder
// when the file gives no picture. Runs on a worker thread.
QImage cellPicture(const QString& path, QSize cell, qreal dpr, const QColor& fill) {
    const thumbnail_cache::Thumbnail thumb =
        thumbnail_cache::fetch(path, picture_compose::deviceSize(cell, dpr));
    const QImage& shown = thumb.ok() ? thumb.image : pictures::notfound();
    const QSize original = thumb.ok() ? thumb.original : shown.size();
    return picture_compose::composeFitted(shown, original, cell, dpr, fill);
}

} // namespace

fin_thumb::fin_thumb()
    : fw::Window(fw::Frame::PlainBox, QSize(300, 300), QStringLiteral("thumbnails")) {
    setBackColor(QColor(0xCC, 0xCC, 0xCC));
    addCell(0, QRect(-200, -200, 100, 100));
}

fw::Canvas* fin_thumb::addCell(int index, QRect geometry) {
    auto* cell = new fw::Canvas(content(), geometry);
    miniabase.add(index, cell);
    connect(cell, &fw::Canvas::mouseDown, this,
            [this, index](int x, int y) { miniabase_MouseDown(index, x, y); });
    return cell;
}

void fin_thumb::Event_Open() {
    using namespace Globali;
    setBackColor(colore(colour::StripBackground));
    const int pictures = std::clamp(quantidisegni, 0, presentation_geo::kMaxCells - 1);
    const int n = pictures + 1;
    const auto grid = presentation_geo::stripGrid(tmb_dx, tmb_dy, thumb_pos, n);
    if (!grid.cells.empty()) {
        const QSize cell(grid.cw, grid.ch);
        const qreal dpr = devicePixelRatioF();
        const QColor fill = colore(colour::CellBackground);
        // Until its thumbnail comes a cell shows its fill: one picture shared by every cell.
        const QImage empty = picture_compose::composeFitted(QImage(), QSize(), cell, dpr, fill);
        for (int k = 1; k <= n; ++k)
            addCell(k, grid.cells[size_t(k - 1)])->setBackdrop(empty);
        const QImage& exit = language::isEnglish(lingua) ? pictures::eexit() : pictures::eesci();
        miniabase(n)->setBackdrop(
            picture_compose::composeFitted(exit, exit.size(), cell, dpr, fill));
        queueThumbnails(pictures, cell);
    }
    mostra_pict(1);
}

// The thumbnails are decoded (or taken from the cache) and composed on worker threads, in
// the order of the cells; each comes back to its cell here.
// The pictures beside the one shown are made once the last thumbnail is in.
void fin_thumb::queueThumbnails(int pictures, QSize cell) {
    const qreal dpr = devicePixelRatioF();
    const QColor fill = Globali::colore(colour::CellBackground);
    fin_pict* view = fw::Single<fin_pict>::peek();
    if (view && pictures > 0) view->ahead.hold();
    for (int i = 1; i <= pictures; ++i) {
        const QString path = Globali::disegno(i);
        thumbnails.run([path, cell, dpr, fill] { return cellPicture(path, cell, dpr, fill); },
                       [this, i](const QImage& picture) {
                           miniabase(i)->setBackdrop(picture);
                           if (thumbnails.pending() > 0) return;
                           if (fin_pict* view = fw::Single<fin_pict>::peek()) view->ahead.release();
                       });
    }
}

bool fin_thumb::miniabase_MouseDown(int index, int x, int y) {
    Q_UNUSED(x)
    Q_UNUSED(y)
    // A cell whose thumbnail has not come yet shows its picture all the same: the picture
    // view decodes on its own, at its own size.
    if (index > Globali::quantidisegni)
        presentation::endPresentation();
    else
        Globali::mostra_pict(index);
    return false;
}

void fin_thumb::Event_KeyDown(int key) {
    if (key == Qt::Key_Escape) presentation::endPresentation();
}

bool fin_thumb::Event_CancelClose() {
    presentation::endPresentation();
    return true;
}

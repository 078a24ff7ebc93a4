#include "logic/geometry/setup_geometry.h"

#include "base/values.h"
#include "logic/state/model.h"

#include <algorithm>
#include <array>

namespace setup_geo {

QRect PreviewRect::rect() const {
    return QRect(xtl, ytl, toInt(double(xbr) - xtl), toInt(double(ybr) - ytl));
}

PreviewRect screenPreview(QSize source, QSize box, QPoint centre) {
    const double cx = centre.x(), cy = centre.y();
    if (source.width() <= 0 || source.height() <= 0 || box.width() <= 0 || box.height() <= 0)
        return {centre.x(), centre.x(), centre.y(), centre.y()};
    const double sw = source.width(), sh = source.height();
    const double s = std::min(box.width() / sw, box.height() / sh);
    const double w = toInt(sw * s), h = toInt(sh * s);
    return {toInt(cx - w / 2), toInt(w / 2 + cx), toInt(cy - h / 2), toInt(h / 2 + cy)};
}

namespace {
// p percent of a size: the product as an integer, then a real division by 100.
int percentOf(int size, int p) {
    return toInt(double(qint64(size) * p) / 100);
}
} // namespace

StripPreview stripPreview(int thumb_pos, int percent, QRect rec_schermo, QSize screen) {
    StripPreview out;
    const int p = std::clamp(percent, 0, 100);
    const QRect& r = rec_schermo;
    const int sw = screen.width(), sh = screen.height();
    switch (thumb_pos) {
    case edge::Left:
    case edge::Right: {
        const int w = percentOf(r.width(), p);
        const int left =
            thumb_pos == edge::Left ? r.left() : toInt(double(r.left()) + r.width() - w);
        out.rec_min = QRect(left, r.top(), w, r.height());
        out.strip = percentOf(sw, p);
        out.areaW = toInt(double(sw) - out.strip);
        out.areaH = sh;
        out.moved = true;
        break;
    }
    case edge::Top:
    case edge::Bottom: {
        const int h = percentOf(r.height(), p);
        const int top = thumb_pos == edge::Top ? r.top() : toInt(double(r.top()) + r.height() - h);
        out.rec_min = QRect(r.left(), top, r.width(), h);
        out.strip = percentOf(sh, p);
        out.areaW = sw;
        out.areaH = toInt(double(sh) - out.strip);
        out.moved = true;
        break;
    }
    default:
        break;
    }
    out.testo_min = Str(out.strip) + " pixels";
    out.testo_scr = screenText(QSize(out.areaW, out.areaH));
    return out;
}

int nearestEdge(int x, int y, int width, int height) {
    // Distances to the edges in edge order, so that a tie goes to the lower number.
    const std::array<qint64, 4> d = {x, qint64(width) - x, y, qint64(height) - y};
    int nearest = edge::Left;
    qint64 m = d[0];
    for (int e = edge::Right; e <= edge::Bottom; ++e)
        if (d[size_t(e)] < m) {
            m = d[size_t(e)];
            nearest = e;
        }
    return nearest;
}

QString screenText(QSize size) {
    return Str(size.width()) + " x " + Str(size.height()) + " pixels";
}

} // namespace setup_geo

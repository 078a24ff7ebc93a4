#include "logic/geometry/editor_geometry.h"

#include "base/values.h"
#include "logic/geometry/presentation_geometry.h"

#include <algorithm>
#include <cmath>

namespace editor_geo {

namespace {
int pull(double v) {
    return toInt(std::clamp(v, -double(kFar), double(kFar)));
}
} // namespace

QSize pictureArea(QSize screen, int thumb_pos, int thumb_per, QSize previous) {
    const presentation_geo::ScreenSplit split =
        presentation_geo::screenSplit(screen, thumb_pos, thumb_per);
    return split.valid ? QSize(split.pct_dx, split.pct_dy) : previous;
}

Marker markerPos(double position, QRect preview) {
    const int p = radioIndex(position);
    if (p < 0 || position != p) return {};
    const double L = preview.left(), T = preview.top();
    const double W = preview.width(), H = preview.height();
    const double top = p < 3 ? T + H - 30 : T + 10;
    const double lefts[3] = {L + 10, 130, L + W - 50};
    return {true, QPoint(pull(lefts[p % 3]), pull(top))};
}

int radioIndex(double position) {
    const int p = toInt(position);
    return p >= 0 && p <= 5 ? p : -1;
}

bool FrameLines::placed() const {
    for (const QLine& line : l)
        if (line.x1() < 0 || line.y1() < 0 || line.x2() < 0 || line.y2() < 0) return false;
    return true;
}

FrameLines frameLines(QPoint c0, QPoint c1) {
    FrameLines f;
    f.l[0] = QLine(c0.x(), c0.y(), c1.x(), c0.y());
    f.l[1] = QLine(c0.x(), c0.y(), c0.x(), c1.y());
    f.l[2] = QLine(c1.x(), c0.y(), c1.x(), c1.y());
    f.l[3] = QLine(c0.x(), c1.y(), c1.x(), c1.y());
    return f;
}

QPoint handleTopLeft(QPoint centre) {
    return QPoint(pull(double(centre.x()) - kHandleHalf), pull(double(centre.y()) - kHandleHalf));
}

QPoint handleCentre(QPoint topLeft) {
    return QPoint(pull(double(topLeft.x()) + kHandleHalf), pull(double(topLeft.y()) + kHandleHalf));
}

AreaRect previewToArea(QPoint c0, QPoint c1, QRect preview, int pct_dx) {
    const double s = preview.width() > 0 ? double(pct_dx) / preview.width() : 0;
    const double L = preview.left(), T = preview.top();
    const int x1 = toInt((c0.x() - L) * s), y1 = toInt((c0.y() - T) * s);
    const int x2 = toInt((c1.x() - L) * s), y2 = toInt((c1.y() - T) * s);
    return {x1, y1, toInt(double(x2) - x1), toInt(double(y2) - y1)};
}

Handles storedToHandles(double l, double t, double w, double h, QRect preview, int pct_dx) {
    const double r = pct_dx > 0 ? double(preview.width()) / pct_dx : 0;
    const double x = toInt(l * r), y = toInt(t * r);
    const double dw = toInt(w * r), dh = toInt(h * r);
    const double L = preview.left(), T = preview.top();
    return {QPoint(pull(L + x - kHandleHalf), pull(T + y - kHandleHalf)),
            QPoint(pull(L + x + dw - kHandleHalf), pull(T + y + dh - kHandleHalf))};
}

int sizeRow(double sizeVal) {
    const int n = toInt(sizeVal);
    const int row = n != 0 ? toInt(n / 6.0 - 2) : 0;
    return row >= 0 && row < kSizeRows ? row : -1;
}

int borderWidth(double value) {
    return std::clamp(toInt(value), 1, 9);
}

} // namespace editor_geo

#include "logic/geometry/presentation_geometry.h"

#include "base/text_limits.h"
#include "base/values.h"
#include "logic/state/model.h"

#include <algorithm>
#include <cmath>

namespace presentation_geo {

ScreenSplit screenSplit(QSize screen, int thumb_pos, int T) {
    ScreenSplit out;
    if (!edge::isEdge(thumb_pos)) return out;
    const int sw = std::max(screen.width(), 0), sh = std::max(screen.height(), 0);
    const bool vertical = edge::isVertical(thumb_pos);
    const int extent = vertical ? sw : sh;
    const int t = std::clamp(T, 0, std::max(extent - 1, 0));
    const int rest = std::max(extent - t - 1, 0);
    out.valid = true;
    if (vertical) {
        out.tmb_dx = t;
        out.tmb_dy = sh;
        out.pct_dx = rest;
        out.pct_dy = sh;
        out.stripPos = QPoint(thumb_pos == edge::Left ? 0 : sw - t, 0);
        out.picturePos = QPoint(thumb_pos == edge::Left ? t + 1 : 0, 0);
    } else {
        out.tmb_dx = sw;
        out.tmb_dy = t;
        out.pct_dx = sw;
        out.pct_dy = rest;
        out.stripPos = QPoint(0, thumb_pos == edge::Top ? 0 : sh - t);
        out.picturePos = QPoint(0, thumb_pos == edge::Top ? t + 1 : 0);
    }
    return out;
}

namespace {

// The first count in [lo, hi] for which `grows` is false. The grid's loops add a column (or
// a row) while `grows` holds; since `grows` can only turn from true to false as the count
// rises, and is false at hi, bisection finds the count the loop would stop at.
template <class Pred> qint64 firstStop(qint64 lo, qint64 hi, Pred grows) {
    while (lo < hi) {
        const qint64 mid = lo + (hi - lo) / 2;
        if (grows(mid))
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

// Lines of cells needed for n cells at `across` cells per line.
int linesFor(int n, qint64 across) {
    return toInt(std::ceil(double(n) / double(across)));
}

} // namespace

StripGrid stripGrid(int tmb_dx, int tmb_dy, int thumb_pos, int n) {
    StripGrid out;
    if (tmb_dx <= 0 || tmb_dy <= 0 || !edge::isEdge(thumb_pos) || n < 1 || n > kMaxCells)
        return out;
    const double dx = tmb_dx, dy = tmb_dy;
    const int h = edge::isVertical(thumb_pos) ? 0 : 1; // 1: a top or bottom strip
    int w = toInt(dx / n * h);
    int hh = toInt(dy / n * (1 - h));
    qint64 cols = 1, rows = 1;
    bool byRows; // cells filled row after row (else column after column)
    if (w == 0) {
        // Here dy > 0, so once a column is added for every cell (hh = tmb_dy) the loop stops
        // at the latest when dx / cols < 2.
        const auto hhFor = [&](qint64 c) { return toInt(dy / linesFor(n, c)); };
        if (dx / 1 >= 2.0 * hh) {
            cols = firstStop(2, std::max<qint64>(n, tmb_dx) + 1,
                             [&](qint64 c) { return dx / double(c) >= 2.0 * hhFor(c); });
            hh = hhFor(cols);
        }
        w = toInt(dx / double(cols));
        byRows = true;
    } else {
        // Here w >= 1 means tmb_dx >= n; once a row is added for every cell (w = tmb_dx) the
        // loop stops at the latest when dy / rows < 1.
        const auto wFor = [&](qint64 r) { return toInt(dx / linesFor(n, r)); };
        if (dy / 1 >= w) {
            rows = firstStop(2, std::max<qint64>(n, tmb_dy) + 1,
                             [&](qint64 r) { return dy / double(r) >= wFor(r); });
            w = wFor(rows);
        }
        hh = toInt(dy / double(rows));
        byRows = false;
    }
    if (w - 2 < 1 || hh - 2 < 1) return out; // cells without area: nothing to show or click
    out.cw = w - 2;
    out.ch = hh - 2;
    // Every cell lies inside the strip: cols * w <= tmb_dx and lines * hh <= tmb_dy.
    out.cells.reserve(size_t(n));
    for (int j = 0; j < n; ++j) {
        const qint64 col = byRows ? j % cols : j / rows;
        const qint64 row = byRows ? j / cols : j % rows;
        out.cells.emplace_back(int(w * col + 1), int(hh * row + 1), out.cw, out.ch);
    }
    return out;
}

NoteLayout noteLayout(QSize window, const QString& text, double sizeVal, double position, int ombra,
                      bool fill) {
    NoteLayout out;
    out.label = out.shadow = out.box = kParked;
    if (text.isEmpty()) return out;
    out.shown = true;
    const int W = std::clamp(window.width(), 0, kFar), H = std::clamp(window.height(), 0, kFar);
    const int lh = std::clamp(toInt(sizeVal + 8), 0, kFar);
    const int lw = toInt(W / 2.0);
    const int bottom = H - lh - 20, top = 20;
    const int left = 20, centre = toInt((W - lw) / 2.0), right = W - lw - 20;
    // A note of any length is kept whole; the label shows only what fits it. The part it
    // would show is the part kept: the start of a note on the left, the end of one on the
    // right, the middle of a centred one.
    using text_limits::Keep;
    out.text = text_limits::excerpt(text, text_limits::kLongestLine, Keep::Start);
    out.label = QRect(kParked.topLeft(), QSize(lw, lh));
    // Only the whole numbers 0..5 place the note.
    const int p =
        position >= 0 && position <= 5 && position == std::floor(position) ? int(position) : -1;
    if (p >= 0) {
        const int y = p < 3 ? bottom : top;
        switch (p % 3) {
        case 0:
            out.label.moveTo(left, y);
            break;
        case 1:
            out.label.moveTo(centre, y);
            out.text = " " + text_limits::excerpt(text, text_limits::kLongestLine, Keep::Middle);
            out.align = NoteLayout::Centre;
            break;
        default:
            out.label.moveTo(right, y);
            out.text = text_limits::excerpt(text, text_limits::kLongestLine, Keep::End) + " ";
            out.align = NoteLayout::Right;
            break;
        }
    }
    const int offset = std::clamp(ombra, -kFar, kFar);
    out.shadow = out.label.translated(offset, offset);
    if (fill) out.box = out.label;
    return out;
}

QRect frameRect(int left, int top, int width, int height) {
    const auto pull = [](double v) { return toInt(std::clamp(v, -double(kFar), double(kFar))); };
    const int x0 = pull(left), x1 = pull(double(left) + width);
    const int y0 = pull(top), y1 = pull(double(top) + height);
    return QRect(std::min(x0, x1), std::min(y0, y1), std::abs(x1 - x0), std::abs(y1 - y0));
}

} // namespace presentation_geo

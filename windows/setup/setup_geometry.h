#pragma once
// Geometry of the setup window's screen preview: the scaled picture of the screen, the
// strip preview with its two read-outs, and the choice of the strip's edge by a click.
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

namespace setup_geo {

// The box the setup window's screen preview fits in, and the point it is centred on.
inline constexpr QSize kPreviewBox{320, 240};
inline constexpr QPoint kPreviewCentre{170, 130};

// Corners of a screen preview in window pixels (the globals xtl, xbr, ytl, ybr).
struct PreviewRect {
    int xtl = 0;
    int xbr = 0;
    int ytl = 0;
    int ybr = 0;
    // Left xtl, top ytl, width xbr - xtl, height ybr - ytl.
    QRect rect() const;
    bool operator==(const PreviewRect&) const = default;
};

// A picture of `source` scaled by s = min(box W / W, box H / H) to w = toInt(W s),
// h = toInt(H s) and centred on `centre`: xtl = toInt(cx - w / 2), xbr = toInt(w / 2 + cx),
// likewise for y. A source or box without a positive width and height gives a preview of
// no size on the centre point.
PreviewRect screenPreview(QSize source, QSize box, QPoint centre);

// What the strip preview shows for an edge and a percentage.
struct StripPreview {
    bool moved = false; // false: the edge is not 0..3 and rec_min stays where it was
    QRect rec_min;      // the strip inside the screen preview (when moved)
    int strip = 0;      // strip thickness S in screen pixels
    int areaW = 0;      // picture area A x B in screen pixels
    int areaH = 0;
    QString testo_min; // "S pixels"
    QString testo_scr; // "A x B pixels"
};

// mostra_thumb's table: edge 0/1 take the percentage of the width, 2/3 of the height;
// the products are taken as integers and divided by 100 as reals, dropping the fraction.
// The percentage is held within 0..100 (a strip cannot be thinner than nothing or thicker
// than the screen); the slider's 5..50 is never affected. Any other edge: not moved, all
// sizes 0, texts "0 pixels" and "0 x 0 pixels".
StripPreview stripPreview(int thumb_pos, int percent, QRect rec_schermo, QSize screen);

// The edge (0 left, 1 right, 2 top, 3 bottom) nearest to the point (x, y) of a preview of
// width x height; on a tie the lower number wins.
int nearestEdge(int x, int y, int width, int height);

// "W x H pixels".
QString screenText(QSize size);

} // namespace setup_geo

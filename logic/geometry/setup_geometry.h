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
    // The preview as a rectangle of the window.
    QRect rect() const;
    bool operator==(const PreviewRect&) const = default;
};

// A picture of `source` scaled to fit `box` with its proportions and centred on `centre`,
// fractions dropped. A source or box without a positive width and height gives a preview of
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

// mostra_thumb's strip along an edge, as thick as `percent` of the screen's width (left and
// right) or height (top and bottom), in the preview and in screen pixels, and the picture
// area beside it. The percentage is held within 0..100 (a strip cannot be thinner than
// nothing or thicker than the screen); the slider's 5..50 is never affected. Any other edge:
// not moved, all sizes 0, texts "0 pixels" and "0 x 0 pixels".
StripPreview stripPreview(int thumb_pos, int percent, QRect rec_schermo, QSize screen);

// The edge (0 left, 1 right, 2 top, 3 bottom) nearest to the point (x, y) of a preview of
// width x height; on a tie the lower number wins.
int nearestEdge(int x, int y, int width, int height);

// "W x H pixels".
QString screenText(QSize size);

} // namespace setup_geo

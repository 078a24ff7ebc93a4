#pragma once
// Geometry of the notes editor: the picture area it previews, the text-position marker, the
// rectangle's frame lines and handles, and the conversions between preview pixels and
// picture-area pixels; also the control rows the load selects from stored fields.
#include "base/values.h"

#include <QLine>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace editor_geo {

// The box the editor's screen preview fits in, and the point it is centred on.
inline constexpr QSize kPreviewBox{280, 210};
inline constexpr QPoint kPreviewCentre{150, 149};
// A corner handle is 9 x 9; its centre is its top-left plus this.
inline constexpr int kHandleHalf = 4;

// The picture area (pct_dx x pct_dy) beside a strip of thumb_per pixels on edge thumb_pos,
// as the presentation splits the screen; an edge outside 0..3 keeps `previous`.
QSize pictureArea(QSize screen, int thumb_pos, int thumb_per, QSize previous);

// Top-left of the text-position marker on a preview at `preview` (window pixels).
struct Marker {
    bool placed = false; // false: the position is not a whole number 0..5; the marker is
                         // put out of sight at topLeft (-50, -50), where the layout keeps it
    QPoint topLeft{-50, -50};
};
// Positions 0..2 along the preview's bottom, 3..5 along its top, each row left, centre and
// right; the centre column stays at one window x whatever the preview's width.
Marker markerPos(double position, QRect preview);

// The radio button the load selects for a stored position; -1 (none) for a position that
// names none.
int radioIndex(double position);

// The four frame lines of the rectangle whose opposite corners are the centres of the two
// handles: the edges through corner 0 first (lines 0 and 1), those through corner 1 last.
struct FrameLines {
    QLine l[4];
    // Corner 0 is the start of line 0, corner 1 the end of line 3.
    QPoint corner0() const { return l[0].p1(); }
    QPoint corner1() const { return l[3].p2(); }
    // True when no end point has a negative coordinate (both corners are on the preview).
    bool placed() const;
};
FrameLines frameLines(QPoint c0, QPoint c1);

// Handle top-left for a centre, and back.
QPoint handleTopLeft(QPoint centre);
QPoint handleCentre(QPoint topLeft);

// A rectangle in picture-area pixels as stored in the note (columns 8 to 11).
struct AreaRect {
    int left = 0;
    int top = 0;
    int width = 0;  // corner 1 minus corner 0, may be negative
    int height = 0; // likewise
    bool operator==(const AreaRect&) const = default;
};
// The corners c0, c1 (window pixels) of a frame on a preview at `preview`, scaled to a picture
// area pct_dx wide, fractions dropped. A preview without width maps every corner to 0, 0.
AreaRect previewToArea(QPoint c0, QPoint c1, QRect preview, int pct_dx);

// Where the load puts the two handles (top-left, window pixels) for a rectangle stored in
// picture-area pixels: centred on its two corners scaled down to the preview. pct_dx not
// positive puts both handles on the preview's top-left corner.
struct Handles {
    QPoint h0;
    QPoint h1;
};
Handles storedToHandles(double l, double t, double w, double h, QRect preview, int pct_dx);

// Row of the size list for a stored size ("12" row 0 ... "72" row 10; an empty or zero size
// row 0). A size that maps outside the list (a damaged file) gives -1: no row is selected.
int sizeRow(double sizeVal);
inline constexpr int kSizeRows = 11;

// Border width shown for a stored one: toInt(value) held within the slider's 1..9.
int borderWidth(double value);

} // namespace editor_geo

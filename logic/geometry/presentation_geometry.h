#pragma once
// Geometry of a running presentation: the split of the screen between the strip and the
// picture, the strip's grid of cells, the note's labels and the note's frame.
#include "base/values.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <vector>

namespace presentation_geo {

// The strip window (tmb_dx x tmb_dy at stripPos) and the picture window (pct_dx x pct_dy at
// picturePos), one pixel apart.
struct ScreenSplit {
    bool valid = false; // false: the edge is not 0..3: no layout, every field here 0 (the
                        // picture window then ends the presentation it was opened for)
    int tmb_dx = 0;
    int tmb_dy = 0;
    int pct_dx = 0;
    int pct_dy = 0;
    QPoint stripPos;
    QPoint picturePos;
};

// The split for a strip of T pixels on edge thumb_pos (0 left, 1 right, 2 top, 3 bottom).
// T is held between 0 and the screen's extent along the strip less one pixel, so the
// picture area never has a negative size; the setup window's values never reach the limits.
ScreenSplit screenSplit(QSize screen, int thumb_pos, int T);

// The strip's cells: cells[k - 1] is cell k in strip-window pixels, each cw x ch.
struct StripGrid {
    std::vector<QRect> cells; // empty, or exactly n cells
    int cw = 0;
    int ch = 0;
};

// More cells than this are never laid out (see stripGrid).
inline constexpr int kMaxCells = 1 << 20;

// Lays out n cells (the pictures and the exit cell) in a strip of tmb_dx x tmb_dy on edge
// thumb_pos. A left or right strip is filled row by row, adding columns while a column would
// be at least twice as wide as a cell is tall; a top or bottom strip is filled column by
// column, adding rows while a row would be at least as tall as a cell is wide; a top or
// bottom strip with more cells than pixels of width is laid out like a left one. Each cell
// is inset by one pixel in its pitch.
// No cells (and cw = ch = 0) for a strip without width or height, an edge outside 0..3, n
// below 1 or above kMaxCells, or when the cells would come out smaller than one pixel: such
// a strip can show nothing. The result is always reached in a bounded number of steps.
StripGrid stripGrid(int tmb_dx, int tmb_dy, int thumb_pos, int n);

// Where a note's labels and box go in the picture window.
struct NoteLayout {
    enum Align { Left = 0, Centre = 1, Right = 2 };
    bool shown = false; // false: no text; everything stays parked
    QString text;       // the text label's text (the shadow has the same)
    int align = Left;
    QRect label;  // StaticText1
    QRect shadow; // StaticText2
    QRect box;    // Rectangle1
};

// The parking place of the note's controls while no note is shown.
inline constexpr QRect kParked{-20, -20, 0, 0};

// The note of a window of size `window`: labels 8 pixels taller than the text's size (within
// 0..kFar) and half the window wide; placed by position 0 bottom left, 1 bottom centre (text
// after a space),
// 2 bottom right (text before a space), 3 top left, 4 top centre, 5 top right, 20 pixels from
// the edges. Any other position (not a whole number 0..5) leaves the label at (-20, -20) with
// its size and left alignment. The shadow is the label moved ombra (within +-kFar) pixels
// right and down;
// the box is the label's rectangle when fill is on, else parked. An empty text: not shown.
// A text longer than text_limits::kLongestLine is cut to the part the label shows of it: its start
// (left or unplaced), middle (centred) or end (right).
NoteLayout noteLayout(QSize window, const QString& text, double sizeVal, double position, int ombra,
                      bool fill);

// The rectangle whose outline draws a note's frame stored as left, top, width, height.
// A negative width or height draws the same frame as the corners the other way round.
// Corners beyond +-kFar are pulled in to that limit (see kFar).
QRect frameRect(int left, int top, int width, int height);

} // namespace presentation_geo

#pragma once
// Names for the numbers the presentation's data is made of: the cells of a note, the seven
// presentation colours, the strip's edges and the interface language. The globals and the file keep
// the numbers (saved presentations depend on them); code speaks of them by these names.
// The language's names sit below both the data and the captions, which read them alike.
#include "base/language.h"

// The cells of one note, the columns of Globali::contorno.
namespace note {
enum Cell : int {
    Text = 0,
    Font = 1,
    Size = 2,
    Bold = 3,
    Italic = 4,
    Underline = 5,
    Position = 6,  // 0 bottom left, 1 bottom centre, 2 bottom right, 3..5 the same at the top
    FrameOn = 7,   // "1": the framed rectangle is drawn
    FrameLeft = 8, // the rectangle in picture-area pixels
    FrameTop = 9,
    FrameWidth = 10, // may be negative: the corners were set the other way round
    FrameHeight = 11,
    FrameLine = 12, // line width of the rectangle
};
// The cells a note has, and what a presentation file stores of each picture.
inline constexpr int kCells = 13;
// The last column of the table as a file leaves it, and as an import leaves it (the columns
// past FrameLine are never used).
inline constexpr int kLastColumnRead = FrameLine;
inline constexpr int kLastColumnImported = 15;
} // namespace note

// The seven presentation colours, the indexes of Globali::colore.
namespace colour {
enum Slot : int {
    CellBackground = 0,    // behind each thumbnail
    StripBackground = 1,   // the strip between the cells
    PictureBackground = 2, // around the shown picture
    NoteText = 3,
    NoteBox = 4, // the box behind a note with fill
    NoteShadow = 5,
    Frame = 6, // a note's framed rectangle
};
inline constexpr int kCount = 7;
} // namespace colour

// The screen edge the thumbnail strip lies along (Globali::thumb_pos). A value outside these,
// from a damaged file, lays out nothing.
namespace edge {
enum Edge : int { Left = 0, Right = 1, Top = 2, Bottom = 3 };
inline constexpr bool isEdge(int e) {
    return e >= Left && e <= Bottom;
}
// Left and right strips take their thickness from the screen's width.
inline constexpr bool isVertical(int e) {
    return e == Left || e == Right;
}
} // namespace edge

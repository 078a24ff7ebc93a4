#pragma once
// Starting and ending a presentation: the picture window and the strip opened together and
// shown at once, their pictures arriving from the background afterwards, and both closed
// together.
#include <QSize>

namespace presentation {

// Whether `pictures` pictures can be presented on a screen of `screen` with a strip of T
// pixels on edge thumb_pos: at least one picture, an edge 0..3, a picture area with pixels
// and a strip in which the cells (pictures and exit cell) have room.
bool layoutUsable(QSize screen, int thumb_pos, int T, int pictures);

// For the setup window's "Start presentation", once it has turned thumb_per into pixels and
// hidden itself: opens and shows the picture window, then the strip, at once; the thumbnails
// and picture 1 follow as they are decoded. When the current state cannot be presented it
// sounds Beep, shows the setup window again with thumb_per back at the slider's percentage,
// and returns false.
bool startPresentation();

// Escape in either window or the exit cell: drops the decoding still to do, closes both
// windows, sets thumb_per back to the setup window's slider value and shows the setup window.
void endPresentation();

// Whether a thumbnail or the picture asked for last is still being decoded.
bool busy();

} // namespace presentation

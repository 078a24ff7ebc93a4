#pragma once
// Starting and ending a presentation: the picture window and the strip opened together,
// closed together, and input that arrives while they are being built held back until both
// are open, so that no half-built window is torn down.
#include <QSize>
#include <functional>

namespace presentation {

// Whether `pictures` pictures can be presented on a screen of `screen` with a strip of T
// pixels on edge thumb_pos: at least one picture, an edge 0..3, a picture area with pixels
// and a strip in which the cells (pictures and exit cell) have room.
bool layoutUsable(QSize screen, int thumb_pos, int T, int pictures);

// For the setup window's "Start presentation", once it has turned thumb_per into pixels and
// hidden itself: opens and shows the picture window, then the strip. When the current state
// cannot be presented it sounds Beep, shows the setup window again with thumb_per back at
// the slider's percentage, and returns false.
bool startPresentation();

// Escape in either window or the exit cell: closes both windows, sets thumb_per back to the
// setup window's slider value and shows the setup window. Requested while the windows are
// being opened, it happens once they are open.
void endPresentation();

// Runs an action now, or, while the presentation windows are being opened, right after.
void whenOpen(std::function<void()> action);
bool isOpening();

// Marks the opening of a presentation window for as long as it lives.
class OpeningScope {
  public:
    OpeningScope();
    ~OpeningScope();
    OpeningScope(const OpeningScope&) = delete;
    OpeningScope& operator=(const OpeningScope&) = delete;
};

} // namespace presentation

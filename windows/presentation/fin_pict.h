#pragma once
// The picture window of a running presentation: the screen beside the thumbnail strip,
// showing one picture scaled to fit on the background colour, with its note on top.
#include "kit/window.h"
#include "pictures/backdrop.h"
#include "pictures/background.h"

class fin_pict : public fw::Window {
    Q_OBJECT
  public:
    fin_pict();

    // Splits the screen between this window and the strip, places both (creating the strip,
    // which shows picture 1) and colours the note's controls.
    void Event_Open() override;
    // Escape ends the presentation.
    void Event_KeyDown(int key) override;
    // The window manager's close (Alt+F4) ends the whole presentation, as Escape does.
    bool Event_CancelClose() override;

    // Controls, in creation order, which is also their stacking order from bottom to top.
    fw::Rectangle* Rectangle1 = nullptr;   // the note's box
    fw::StaticText* StaticText2 = nullptr; // the note's shadow
    fw::StaticText* StaticText1 = nullptr; // the note's text

    // The picture being decoded for the view; a later one supersedes it (cancel()).
    fw::Jobs picture{fw::Lane::Prompt};
    // The pictures beside the one shown, made before they are asked for.
    backdrop::Ahead ahead;
};

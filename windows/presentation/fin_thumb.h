#pragma once
// The thumbnail strip of a running presentation: a grid of cells along one screen edge, one
// per picture and a last one that ends the presentation.
#include "kit/window.h"
#include "pictures/background.h"

class fin_thumb : public fw::Window {
    Q_OBJECT
  public:
    fin_thumb();

    // Lays out the grid, every cell in the cell colour and the exit button in the last one,
    // sets the thumbnails decoding in the background and shows picture 1. Each thumbnail
    // goes into its cell as it arrives.
    void Event_Open() override;
    // Escape ends the presentation.
    void Event_KeyDown(int key) override;
    // The window manager's close (Alt+F4) ends the whole presentation, as Escape does.
    bool Event_CancelClose() override;
    // Cell k: picture k, or the end of the presentation for the exit cell.
    bool miniabase_MouseDown(int index, int x, int y);

    // Member 0 lies outside the window; members 1..n are the cells.
    fw::ControlArray<fw::Canvas> miniabase;

    // The thumbnails still to come into their cells; the decoding of those not yet done is
    // dropped by cancel().
    fw::Jobs thumbnails{fw::Lane::Bulk};

  private:
    fw::Canvas* addCell(int index, QRect geometry);
    void queueThumbnails(int pictures, QSize cell);
};

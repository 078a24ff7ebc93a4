#pragma once
// The thumbnail strip of a running presentation: a grid of cells along one screen edge, one
// per picture and a last one that ends the presentation.
#include "framework/window.h"

class fin_thumb : public fw::Window {
    Q_OBJECT
  public:
    fin_thumb();

    // Builds the grid, puts a thumbnail in every cell and the exit button in the last one,
    // then shows picture 1.
    void Event_Open() override;
    // Escape ends the presentation.
    void Event_KeyDown(int key) override;
    // Cell k: picture k, or the end of the presentation for the exit cell.
    bool miniabase_MouseDown(int index, int x, int y);

    // Member 0 lies outside the window; members 1..n are the cells.
    fw::ControlArray<fw::Canvas> miniabase;

  private:
    fw::Canvas* addCell(int index, QRect geometry);
    void fillThumbnails(int pictures, QSize cell);
};

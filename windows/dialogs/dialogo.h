#pragma once
// What the program's three small dialogs share: a white movable modal box centred on the
// screen, texts in arial, and one OK button that Return presses. OK closes the dialog and
// brings the setup window forward again.
#include "kit/window.h"

class dialogo : public fw::Window {
    Q_OBJECT
  public:
    // Closes the dialog and shows the setup window.
    void PushButton1_Action();

    fw::PushButton* PushButton1 = nullptr;

  protected:
    // A dialog of the given content size whose OK button's top edge is at okTop.
    dialogo(QSize size, const QString& title, int okTop);
    // A centred arial text of the layout.
    fw::StaticText* addText(QRect geometry, const QString& text, int size, bool bold, QColor colour,
                            bool multiline = false);
    // The window manager's close box: the dialog has no other way out than OK, so it acts as OK
    // (the setup window must come back, whoever closes the dialog).
    bool Event_CancelClose() override;
};

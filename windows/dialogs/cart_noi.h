#pragma once
// Warning: the chosen folder, or the one an opened presentation names, holds no pictures.
#include "windows/dialogs/dialogo.h"

class cart_noi : public dialogo {
    Q_OBJECT
  public:
    cart_noi();
    // Beeps and writes the warning in the interface language.
    void Event_Open() override;

    fw::StaticText* StaticText1 = nullptr; // the message, two lines
    fw::StaticText* StaticText3 = nullptr; // the headline
};

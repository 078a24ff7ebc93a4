#pragma once
// The about box: version, the author line that mails the maker, and the logo that opens the
// maker's web page. The same in both languages.
#include "windows/dialogs/dialogo.h"

class info : public dialogo {
    Q_OBJECT
  public:
    info();

    // The author line acts as a link: underlined while the pointer is over it.
    void StaticText2_MouseEnter();
    void StaticText2_MouseExit();
    // Hands the mail link to the system; claims nothing.
    bool StaticText2_MouseDown(int x, int y);
    // Hands the web link to the system; claims nothing.
    bool Canvas1_MouseDown(int x, int y);

    fw::StaticText* StaticText1 = nullptr; // version
    fw::StaticText* StaticText2 = nullptr; // author and date
    fw::Canvas* Canvas1 = nullptr;         // logo
};

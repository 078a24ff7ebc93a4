#pragma once
// Warning: a presentation file names an image folder that no longer exists.
#include "logic/state/globali.h"
#include "windows/dialogs/dialogo.h"

class cart_spo : public dialogo {
    Q_OBJECT
  public:
    cart_spo();
    // Beeps and writes the warning, with the folder's name and path, in the interface language.
    void Event_Open() override;

    // The folder's own name: its last path component ("/" for the root, "" for none).
    static QString folderName(const FolderItem& folder);

    fw::StaticText* StaticText1 = nullptr; // the message, three lines
    fw::StaticText* StaticText2 = nullptr; // the folder's absolute path
    fw::StaticText* StaticText3 = nullptr; // the headline
};

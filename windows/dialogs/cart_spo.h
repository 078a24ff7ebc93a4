#pragma once
// Warning: a presentation file names an image folder that no longer exists.
#include "logic/state/globali.h"
#include "windows/dialogs/dialogo.h"

class cart_spo : public dialogo {
    Q_OBJECT
  public:
    cart_spo();
    // Beeps and writes the warning, with the name and path of `missing`, in the interface
    // language.
    void Event_Open() override;
    // Shows the warning for a folder that was not found.
    static void showFor(const FolderItem& folder);

    // The folder the warning names: a presentation file's, which never became the
    // presentation's own.
    static inline FolderItem missing;

    // The folder's own name: its last path component ("/" for the root, "" for none).
    static QString folderName(const FolderItem& folder);

    fw::StaticText* StaticText1 = nullptr; // the message, three lines
    fw::StaticText* StaticText2 = nullptr; // the folder's absolute path
    fw::StaticText* StaticText3 = nullptr; // the headline
};

#pragma once
// The texts of both interface languages. Every set is chosen by `lingua`: 1 is English,
// every other value is Italian. Plain data only; the windows copy it onto their controls.
#include <QSize>
#include <QString>

namespace captions {

// Setup window and File menu. Line breaks inside a text are CR, as the static texts expect.
struct SetupCaptions {
    int flagFrameLeft; // left of the frame drawn around the flag of the language in force
    QString fileMenu, fileQuit, fileOpen, fileSave, fileImportfolder, fileScreen, title,
        pushButton1, bottone0, bottone1, checkBox1, checkBox2, staticText3, staticText6,
        staticText7, staticText8, staticText9;
};
// `screen` is the main screen's size at the moment the captions are applied (window title).
SetupCaptions setupCaptions(int lingua, QSize screen);

// Notes editor.
struct EditorCaptions {
    QString title, pushButton1, pushButton2, pushButton3, pushButton4, staticText8, staticText2,
        staticText5, staticText6, checkBoxs0, checkBoxs1, checkBoxs2, checkBox1, staticText7,
        staticText9;
};
EditorCaptions editorCaptions(int lingua);

// Warning dialogs: window title, message (lines joined with CR), folder path line, headline.
// `path` is empty for the dialog that shows no path.
struct WarningTexts {
    QString title, message, path, headline;
};
// A presentation names an image folder that is missing.
WarningTexts cartSpoTexts(int lingua, const QString& folderName, const QString& folderPath);
// A chosen folder holds no pictures.
WarningTexts cartNoiTexts(int lingua);

// About box: the same in both languages.
QString aboutVersion();
QString aboutAuthorLine();
QString aboutMailUrl();
QString aboutWebUrl();

} // namespace captions

#pragma once
// The program's points of contact with the operating system. Each is a replaceable
// function so that tests can set the screen size, count beeps and answer dialogs
// without anything blocking.
#include <QColor>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>
#include <optional>

namespace seams {

struct Hooks {
    // The main screen, origin included (see screens.h).
    std::function<QRect()> screenRect;
    std::function<void()> beep;
    std::function<void(const QString& url)> showUrl;
    // Folder chosen by the user, "" when cancelled.
    std::function<QString()> selectFolder;
    // Presentation file to open, "" when cancelled.
    std::function<QString()> openFile;
    // Presentation file to save, starting from a proposed name; "" when cancelled.
    std::function<QString(const QString& proposedName)> saveFile;
    // Colour picker starting from a colour with a prompt; nullopt when cancelled.
    std::function<std::optional<QColor>(const QColor& start, const QString& prompt)> selectColor;
    // Folder that holds the preferences file.
    std::function<QString()> prefsFolder;
    // The user's own configuration folder (it may not exist yet): where the preferences go
    // when the program's folder cannot hold them.
    std::function<QString()> configFolder;
    // A message that something failed (a file that cannot be read or written).
    std::function<void(const QString& title, const QString& text)> error;
};

// The hooks in force; at start they reach the real system.
Hooks& hooks();
// The real system's hooks, for restoring after a test.
Hooks systemHooks();

} // namespace seams

// The names the windows use.
// The main screen's size, and where it stands among the monitors.
QSize Screen0();
QRect Screen0Rect();
void Beep();
void ShowURL(const QString& url);
QString SelectFolder();
QString GetOpenFolderItem();
QString GetSaveFolderItem(const QString& proposedName);
std::optional<QColor> SelectColor(const QColor& start, const QString& prompt);
QString PreferencesFolder();
QString UserConfigFolder();
void ReportError(const QString& title, const QString& text);

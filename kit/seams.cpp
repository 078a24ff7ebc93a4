#include "kit/seams.h"

#include "kit/screens.h"
#include "kit/window.h"

#include <QApplication>
#include <QColorDialog>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QStandardPaths>
#include <QUrl>

namespace {

QString preferencesFolder() {
    // Beside the program when that folder is writable (a program unpacked by its user),
    // otherwise the user's configuration folder (an installed program).
    const QString appDir = QCoreApplication::applicationDirPath();
    const QFileInfo dirInfo(appDir);
    if (!appDir.isEmpty() && dirInfo.isDir() && dirInfo.isWritable()) return appDir;
    const QString conf = UserConfigFolder();
    QDir().mkpath(conf);
    return conf;
}

QString configFolder() {
    const QString conf = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    return conf.isEmpty() ? QDir::homePath() + QStringLiteral("/.config/vetrinova") : conf;
}

// The toolkit's dialogs open over the window the user works in, so on the main screen; one
// without a parent would go to whichever monitor holds the pointer.
QWidget* dialogParent() {
    if (QWidget* active = QApplication::activeWindow()) return active;
    fw::Window* home = fw::home();
    return home && home->isVisible() ? home : nullptr;
}

const QString presentationFilter() {
    return QStringLiteral("Presentations (*.v69 *.txt);;All files (*)");
}

} // namespace

namespace seams {

Hooks systemHooks() {
    Hooks h;
    h.screenRect = [] { return screens::mainScreen().geometry; };
    h.beep = [] { QApplication::beep(); };
    h.showUrl = [](const QString& url) { QDesktopServices::openUrl(QUrl(url)); };
    h.selectFolder = [] { return QFileDialog::getExistingDirectory(dialogParent()); };
    h.openFile = [] {
        return QFileDialog::getOpenFileName(dialogParent(), QString(), QString(),
                                            presentationFilter());
    };
    h.saveFile = [](const QString& name) {
        return QFileDialog::getSaveFileName(dialogParent(), QString(), QDir::home().filePath(name),
                                            presentationFilter());
    };
    h.selectColor = [](const QColor& start, const QString& prompt) -> std::optional<QColor> {
        const QColor c = QColorDialog::getColor(start, dialogParent(), prompt);
        if (!c.isValid()) return std::nullopt;
        return c;
    };
    h.prefsFolder = preferencesFolder;
    h.configFolder = configFolder;
    h.error = [](const QString& title, const QString& text) {
        QMessageBox::warning(dialogParent(), title, text);
    };
    return h;
}

Hooks& hooks() {
    static Hooks h = systemHooks();
    return h;
}

} // namespace seams

QSize Screen0() {
    return Screen0Rect().size();
}
QRect Screen0Rect() {
    return seams::hooks().screenRect();
}
void Beep() {
    seams::hooks().beep();
}
void ShowURL(const QString& url) {
    seams::hooks().showUrl(url);
}
QString SelectFolder() {
    return seams::hooks().selectFolder();
}
QString GetOpenFolderItem() {
    return seams::hooks().openFile();
}
QString GetSaveFolderItem(const QString& proposedName) {
    return seams::hooks().saveFile(proposedName);
}
std::optional<QColor> SelectColor(const QColor& start, const QString& prompt) {
    return seams::hooks().selectColor(start, prompt);
}
QString PreferencesFolder() {
    return seams::hooks().prefsFolder();
}
QString UserConfigFolder() {
    return seams::hooks().configFolder();
}
void ReportError(const QString& title, const QString& text) {
    seams::hooks().error(title, text);
}

#pragma once
// The application object: start-up order, the preferences file, the menu bar and the
// application-level events.
#include <QObject>
#include <QRect>
#include <QString>

class QAction;
class QMenuBar;
class QScreen;

class App : public QObject {
    Q_OBJECT
  public:
    App();
    ~App() override;
    static App* instance();

    // Start-up after the setup window exists: reads the language and applies its captions.
    void Event_Open();
    // At quit: writes the preferences file.
    void Event_Close();
    // A document handed over by the desktop or the command line.
    void Event_OpenDocument(const QString& path);
    void Event_EnableMenuItems();

    bool AppleVetrinovainfo_Action();
    bool FileImportfolder_Action();
    bool FileOpen_Action();
    bool FileSave_Action();
    // File ▸ Presentation screen: the monitor of that name becomes the main screen.
    bool FileScreen_Action(const QString& name);

  private:
    // The setup window moves to the main screen when it has changed.
    void followMainScreen();
    void watchScreen(QScreen* screen);
    QRect mainScreen_;
};

// The one menu bar, created on first use and kept.
QMenuBar* MenuBar1();
// Menu items by name, anywhere in the menu bar.
QAction* menuItem(const QString& name);
QAction* FileMenu();
QAction* FileQuit();
QAction* FileImportfolder();
QAction* FileSave();
QAction* FileOpen();
QAction* AppleVetrinovainfo();

// Runs the program: start-up, event loop, exit code.
int runVetrinova(int argc, char** argv);

#include "app/app.h"

#include "app/command_line.h"
#include "app/document_channel.h"
#include "app/preferences.h"
#include "kit/menus.h"
#include "kit/screens.h"
#include "kit/seams.h"
#include "logic/state/globali.h"
#include "pictures/background.h"
#include "pictures/decode/picture.h"
#include "windows/dialogs/info.h"
#include "windows/setup/setup_routines.h"
#include "windows/setup/start.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {
App* theApp = nullptr;

// The program's icon at every size the desktop asks for.
QIcon applicationIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/vetrinova-%1.png").arg(size), QSize(size, size));
    return icon;
}

QAction* addItem(QMenu* menu, const QString& name, const QString& caption,
                 const QKeySequence& shortcut = {}) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    a->setShortcut(shortcut);
    return a;
}

void addSeparator(QMenu* menu, const QString& name) {
    menu->addSeparator()->setObjectName(name);
}

// One item per monitor, its name as the desktop gives it with its size and place; the main
// screen's is ticked.
void fillScreenMenu(QMenu* menu) {
    menu->clear();
    auto* group = new QActionGroup(menu);
    const QString main = screens::mainScreen().name;
    for (const screens::Monitor& m : screens::monitors()) {
        const QRect& g = m.geometry;
        QAction* a = menu->addAction(QStringLiteral("%1  (%2x%3, %4,%5)")
                                         .arg(m.name)
                                         .arg(g.width())
                                         .arg(g.height())
                                         .arg(g.x())
                                         .arg(g.y()));
        a->setCheckable(true);
        a->setChecked(m.name == main);
        group->addAction(a);
        const QString name = m.name;
        QObject::connect(a, &QAction::triggered, a, [name] {
            if (theApp) theApp->FileScreen_Action(name);
        });
    }
}

// The Edit items work on the text field that has the keyboard focus.
template <class Op> void bindEdit(QAction* a, Op op) {
    QObject::connect(a, &QAction::triggered, a, [op] {
        if (auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget())) (field->*op)();
    });
}
} // namespace

QMenuBar* MenuBar1() {
    static QPointer<QMenuBar> bar;
    if (bar) return bar;
    bar = new QMenuBar;
    bar->setObjectName(QStringLiteral("MenuBar1"));
    fw::setApplicationMenuBar(bar);
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->menuAction()->setObjectName(QStringLiteral("FileMenu"));
    addItem(file, QStringLiteral("FileOpen"), QStringLiteral("Open.."),
            QKeySequence(Qt::CTRL | Qt::Key_O));
    addItem(file, QStringLiteral("FileSave"), QStringLiteral("Save.."),
            QKeySequence(Qt::CTRL | Qt::Key_S));
    addSeparator(file, QStringLiteral("UntitledMenu2"));
    addItem(file, QStringLiteral("FileImportfolder"), QStringLiteral("Import folder.."),
            QKeySequence(Qt::CTRL | Qt::Key_I));
    // The monitors as they are when the menu opens: a projector plugged in later is there.
    QMenu* screen = file->addMenu(QStringLiteral("Presentation screen"));
    screen->menuAction()->setObjectName(QStringLiteral("FileScreen"));
    QObject::connect(screen, &QMenu::aboutToShow, screen, [screen] { fillScreenMenu(screen); });
    addSeparator(file, QStringLiteral("UntitledMenu1"));
    QAction* quit = addItem(file, QStringLiteral("FileQuit"), QStringLiteral("Quit"),
                            QKeySequence(Qt::CTRL | Qt::Key_Q));
    quit->setMenuRole(QAction::QuitRole);
    QObject::connect(quit, &QAction::triggered, qApp, &QCoreApplication::quit,
                     Qt::QueuedConnection);

    QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
    edit->menuAction()->setObjectName(QStringLiteral("EditMenu"));
    bindEdit(addItem(edit, QStringLiteral("EditUndo"), QStringLiteral("Undo"),
                     QKeySequence(Qt::CTRL | Qt::Key_Z)),
             &QLineEdit::undo);
    addSeparator(edit, QStringLiteral("UntitledMenu0"));
    bindEdit(addItem(edit, QStringLiteral("EditCut"), QStringLiteral("Cut"),
                     QKeySequence(Qt::CTRL | Qt::Key_X)),
             &QLineEdit::cut);
    bindEdit(addItem(edit, QStringLiteral("EditCopy"), QStringLiteral("Copy"),
                     QKeySequence(Qt::CTRL | Qt::Key_C)),
             &QLineEdit::copy);
    bindEdit(addItem(edit, QStringLiteral("EditPaste"), QStringLiteral("Paste"),
                     QKeySequence(Qt::CTRL | Qt::Key_V)),
             &QLineEdit::paste);
    bindEdit(addItem(edit, QStringLiteral("EditClear"), QStringLiteral("Clear")), &QLineEdit::del);
    // Last under Edit; on macOS the about role moves it to the application menu.
    addItem(edit, QStringLiteral("AppleVetrinovainfo"), QStringLiteral("Vetrinova info.."))
        ->setMenuRole(QAction::AboutRole);

    for (QMenu* m : {file, edit})
        QObject::connect(m, &QMenu::aboutToShow, m, [] {
            if (theApp) theApp->Event_EnableMenuItems();
        });
    return bar;
}

QAction* menuItem(const QString& name) {
    MenuBar1();
    return fw::menuItem(name);
}
QAction* FileMenu() {
    return menuItem(QStringLiteral("FileMenu"));
}
QAction* FileQuit() {
    return menuItem(QStringLiteral("FileQuit"));
}
QAction* FileImportfolder() {
    return menuItem(QStringLiteral("FileImportfolder"));
}
QAction* FileSave() {
    return menuItem(QStringLiteral("FileSave"));
}
QAction* FileOpen() {
    return menuItem(QStringLiteral("FileOpen"));
}
QAction* AppleVetrinovainfo() {
    return menuItem(QStringLiteral("AppleVetrinovainfo"));
}

App::App() {
    theApp = this;
    // Commands bound by item name, in the order about, import, open, save.
    connect(AppleVetrinovainfo(), &QAction::triggered, this,
            [this] { AppleVetrinovainfo_Action(); });
    connect(FileImportfolder(), &QAction::triggered, this, [this] { FileImportfolder_Action(); });
    connect(FileOpen(), &QAction::triggered, this, [this] { FileOpen_Action(); });
    connect(FileSave(), &QAction::triggered, this, [this] { FileSave_Action(); });
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { Event_Close(); });
    // Monitors plugged, unplugged, moved or made primary: the setup window follows the main
    // screen. Queued, so that the toolkit's list of screens is up to date when it is read.
    mainScreen_ = Screen0Rect();
    const auto follow = [this] { followMainScreen(); };
    connect(qApp, &QGuiApplication::primaryScreenChanged, this, follow, Qt::QueuedConnection);
    connect(qApp, &QGuiApplication::screenRemoved, this, follow, Qt::QueuedConnection);
    connect(qApp, &QGuiApplication::screenAdded, this, [this](QScreen* s) {
        watchScreen(s);
        QMetaObject::invokeMethod(this, &App::followMainScreen, Qt::QueuedConnection);
    });
    for (QScreen* s : QGuiApplication::screens())
        watchScreen(s);
}

App::~App() {
    if (theApp == this) theApp = nullptr;
}

App* App::instance() {
    return theApp;
}

namespace {
// Looked at again at every use: the file's place may have changed since start-up.
QString preferencesFolderInUse() {
    return preferences::folderToUse(PreferencesFolder(), UserConfigFolder());
}
} // namespace

void App::Event_Open() {
    Globali::lingua = preferences::readLingua(preferencesFolderInUse());
    Globali::applyLanguage();
}

void App::Event_Close() {
    const QString folder = preferencesFolderInUse();
    QDir().mkpath(folder);
    QString why;
    if (!preferences::writeLingua(folder, Globali::lingua, &why))
        std::fprintf(stderr, "vetrinova: the language could not be saved in %s: %s\n",
                     qPrintable(QDir(folder).filePath(preferences::fileName)), qPrintable(why));
}

void App::Event_EnableMenuItems() {
    for (QAction* a : {AppleVetrinovainfo(), FileOpen(), FileSave(), FileImportfolder()})
        a->setEnabled(true);
}

bool App::AppleVetrinovainfo_Action() {
    fw::Single<info>::get()->Show();
    return false;
}

bool App::FileImportfolder_Action() {
    Globali::importa();
    return false;
}

bool App::FileOpen_Action() {
    Globali::apri_presentazione(GetOpenFolderItem());
    return false;
}

bool App::FileSave_Action() {
    Globali::salva_presentazione();
    return false;
}

bool App::FileScreen_Action(const QString& name) {
    screens::choose(name);
    followMainScreen();
    return false;
}

void App::followMainScreen() {
    const QRect now = Screen0Rect();
    if (now == mainScreen_) return;
    mainScreen_ = now;
    if (fw::Single<start>::exists()) start::instance()->screenChanged();
}

void App::watchScreen(QScreen* screen) {
    connect(screen, &QScreen::geometryChanged, this, [this] { followMainScreen(); });
}

void App::Event_OpenDocument(const QString& path) {
    // Whatever its type, a document goes where a file chosen with Open goes.
    if (path.isEmpty()) return;
    Globali::apri_presentazione(QFileInfo(path).absoluteFilePath());
}

namespace {

// How long the end of the program waits for the decodes it stops.
constexpr std::chrono::milliseconds kQuitPatience(300);

// The program in its application object, until its event loop ends: its windows are closed by
// then, and the copy no longer takes documents.
int runApplication(const command_line::Parsed& line) {
    QApplication::setApplicationName(QStringLiteral("vetrinova"));
    // No display name: Qt would append it to every window title the window manager shows.
    QGuiApplication::setDesktopFileName(QStringLiteral("vetrinova"));
    QApplication::setWindowIcon(applicationIcon());
    QApplication::setApplicationVersion(QStringLiteral(VETRINOVA_VERSION));
    if (line.action == command_line::Parsed::Action::ListScreens) {
        std::fputs(qPrintable(screens::describe()), stdout);
        return 0;
    }
    // Asked for by name, the monitor is kept for the run: when it is not there yet (the
    // projector not plugged in), the primary one stands in until it is.
    if (!line.screen.isEmpty()) {
        screens::choose(line.screen);
        if (!screens::connected(line.screen))
            std::fprintf(stderr,
                         "vetrinova: no monitor is named \"%s\"; the primary one is used until it "
                         "is connected. The monitors:\n%s",
                         qPrintable(line.screen), qPrintable(screens::describe()));
    }
    // A copy that already runs takes the documents instead.
    const QStringList& documents = line.documents;
    DocumentChannel channel(DocumentChannel::defaultServerName());
    const DocumentChannel::Role role = channel.claim(documents);
    if (role == DocumentChannel::Role::HandedOver) return 0;
    if (role == DocumentChannel::Role::NotConfirmed)
        std::fprintf(stderr, "vetrinova: the copy already running did not confirm that it took "
                             "the documents; they open here instead\n");
    Globali::reset();
    App app;
    start::instance()->Show();
    if (role == DocumentChannel::Role::Listening) openHandedDocuments(channel);
    QTimer::singleShot(0, &app, [&app, documents] {
        app.Event_Open();
        for (const QString& d : documents)
            app.Event_OpenDocument(d);
    });
    const int status = QApplication::exec();
    // Quit leaves nothing on screen, whatever is still to be done.
    for (QWidget* window : QApplication::topLevelWidgets())
        window->hide();
    QCoreApplication::processEvents();
    return status;
}

} // namespace

int runVetrinova(int argc, char** argv) {
    // Read before the application object exists: help, version and mistakes need no display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const command_line::Parsed line = command_line::parse(arguments);
    using Action = command_line::Parsed::Action;
    if (line.action != Action::Run && line.action != Action::ListScreens) {
        const bool mistake = line.action == Action::Mistake;
        std::fputs(qPrintable(line.text), mistake ? stderr : stdout);
        return mistake ? command_line::kMistakeStatus : 0;
    }
    // The application object sees only the toolkit's options: a document named like one
    // (after "--") stays a document.
    std::vector<QByteArray> kept;
    for (const QString& a : line.toolkitArguments)
        kept.push_back(a.toLocal8Bit());
    std::vector<char*> toolkitArgv;
    for (QByteArray& a : kept)
        toolkitArgv.push_back(a.data());
    toolkitArgv.push_back(nullptr);
    int toolkitArgc = int(kept.size());

    picture::giveBackLargeBuffers();
    QApplication application(toolkitArgc, toolkitArgv.data());
    const int status = runApplication(line);
    // Decodes still running are told to stop, and are waited for a moment. One that cannot stop
    // (libheif's) is not waited for: the process ends at once, its windows long gone, without
    // destroying what that decode still uses.
    if (!fw::finish(kQuitPatience)) {
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}

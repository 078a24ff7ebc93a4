// The interface language as the user switches it with the flags: the File menu and the window
// titles change at once, and the notes editor, the warnings and the strip's exit cell opened
// afterwards speak the language chosen, back and forth. (The captions inside the windows, in
// both languages: looks_test.)
#include "app/app.h"
#include "base/values.h"
#include "common/testseams.h"
#include "logic/state/globali.h"
#include "logic/state/model.h"
#include "pictures/picture_compose.h"
#include "resources/pictures.h"
#include "windows/dialogs/cart_noi.h"
#include "windows/dialogs/cart_spo.h"
#include "windows/dialogs/info.h"
#include "windows/editor/fin_edita.h"
#include "windows/presentation/fin_thumb.h"
#include "windows/presentation/presentation.h"
#include "windows/setup/setup_routines.h"
#include "windows/setup/start.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

using namespace Globali;

using Shown = std::function<QString()>;
Q_DECLARE_METATYPE(Shown)

// What a control shows: on the setup window or the File menu, or in a window opened afresh and
// closed again.
#define SETUP(text) Shown([] { return start::instance()->text; })
#define MENU(item) Shown([] { return menuItem(item)->text(); })
#define OPENED(Window, text)                                                                       \
    Shown([] {                                                                                     \
        Window* w = fw::Single<Window>::get();                                                     \
        const QString shown = w->text;                                                             \
        w->Close();                                                                                \
        return shown;                                                                              \
    })

namespace {
// The strip's exit cell, told by which of the two exit pictures it shows.
QString exitCell() {
    presentation::startPresentation();
    const fw::Canvas* cell = fw::Single<fin_thumb>::peek()->miniabase(quantidisegni + 1);
    const auto is = [&](const QImage& exit) {
        return cell->backdrop() == picture_compose::composeFitted(exit, exit.size(), cell->size(),
                                                                  1.0,
                                                                  colore(colour::CellBackground));
    };
    const QString exit = is(pictures::eexit()) ? "EXIT" : is(pictures::eesci()) ? "ESCI" : "?";
    presentation::endPresentation();
    return exit;
}
} // namespace

class MenusTest : public QObject {
    Q_OBJECT
  private slots:
    void captionsFollowTheFlags_data() {
        QTest::addColumn<Shown>("shown");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("italian");
        const auto row = [](const char* place, Shown shown, const char* english,
                            const char* italian) {
            QTest::newRow(place) << shown << QString::fromUtf8(english)
                                 << QString::fromUtf8(italian);
        };
        row("menu FileMenu", MENU("FileMenu"), "File", "Archivio");
        row("menu FileQuit", MENU("FileQuit"), "Quit", "Esci");
        row("menu FileOpen", MENU("FileOpen"), "Open..", "Apri..");
        row("menu FileSave", MENU("FileSave"), "Save..", "Registra..");
        row("menu FileImportfolder", MENU("FileImportfolder"), "Import folder..",
            "Importa cartella..");
        row("start title", SETUP(windowTitle()), "Presentation setup: 1280x1024 pixels",
            "Settaggi presentazione: 1280x1024 pixels");
        row("fin_edita title", OPENED(fin_edita, windowTitle()), "Notes setup", "Defizione note");
        row("cart_spo title", OPENED(cart_spo, windowTitle()), "Warning!", "Attenzione!");
        row("cart_noi title", OPENED(cart_noi, windowTitle()), "Warning!", "Attenzione!");
        row("fin_thumb exit", Shown(exitCell), "EXIT", "ESCI");
    }
    void captionsFollowTheFlags() {
        QFETCH(Shown, shown);
        QFETCH(QString, english);
        QFETCH(QString, italian);
        WindowFixture f(QSize(1280, 1024));
        App app;
        start* w = start::instance();
        f.importFolder(f.makeFolder("pics", 1));
        cart_spo::missing = "/srv/Foto"; // named by the missing-folder warning
        // Italian, English, Italian again: every switch goes the whole way.
        for (int flag : {1, 0, 1}) {
            QTest::mouseClick(w->Canvasl(flag), Qt::LeftButton, {}, QPoint(10, 10));
            QCOMPARE(lingua, flag + 1);
            QCOMPARE(shown(), flag == 0 ? english : italian);
        }
    }

    // Each command does its own work, from its item or its shortcut, in every state. A row is
    // named by its item's caption.
    void commands_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("shortcut");
        const auto row = [](const char* name, const char* item, const char* shortcut) {
            QTest::newRow(name) << QString(item) << QString(shortcut);
        };
        row("Open..", "FileOpen", "Ctrl+O");
        row("Save..", "FileSave", "Ctrl+S");
        row("Import folder..", "FileImportfolder", "Ctrl+I");
        row("Vetrinova info..", "AppleVetrinovainfo", "");
        row("Quit", "FileQuit", "Ctrl+Q");
        row("Undo", "EditUndo", "Ctrl+Z");
        row("Cut", "EditCut", "Ctrl+X");
        row("Copy", "EditCopy", "Ctrl+C");
        row("Paste", "EditPaste", "Ctrl+V");
        row("Clear", "EditClear", "");
    }
    void commands() {
        QFETCH(QString, item);
        QFETCH(QString, shortcut);
        WindowFixture f;
        App app;
        applyLanguage(); // the menu outlives a test: its captions as the language now is
        f.importFolder(f.makeFolder("pics", 2));
        f.saveTo(f.path("two.v69"));
        f.makeFolder("three", 3);
        f.seams.folders.push_back(f.path("three"));
        f.seams.openFiles.push_back(f.path("two.v69"));
        f.seams.saveFiles.push_back(f.path("saved.v69"));
        QAction* action = menuItem(item);
        QCOMPARE(action->shortcut().toString(), shortcut);
        QCOMPARE(action->text(), QString(QTest::currentDataTag()));
        // The four commands are enabled whenever their menu shows.
        if (item != "FileQuit" && !item.startsWith("Edit")) action->setEnabled(false);
        for (QObject* menu : action->associatedObjects())
            if (qobject_cast<QMenu*>(menu)) emit static_cast<QMenu*>(menu)->aboutToShow();
        QVERIFY(action->isEnabled());
        if (item != "FileQuit") action->trigger(); // the others have no field to work on
        QCOMPARE(quantidisegni, item == "FileImportfolder" ? 3 : 2);
        QCOMPARE(QFile::exists(f.path("saved.v69")), item == "FileSave");
        QCOMPARE(fw::Single<info>::exists(), item == "AppleVetrinovainfo");
        QCOMPARE(f.seams.openFiles.empty(), item == "FileOpen");
    }

    // Every language number but English's speaks Italian, as a preferences file may hold it.
    void otherNumbersSpeakItalian() {
        WindowFixture f;
        App app;
        lingua = 0;
        applyLanguage();
        QCOMPARE(SETUP(bottone(0)->text())(), QString("Avvia presentazione"));
        QCOMPARE(OPENED(cart_noi, windowTitle())(), QString("Attenzione!"));
    }

    // In the notes editor Ctrl+S saves and Ctrl+Q quits, as on the setup window; Ctrl+O and
    // Ctrl+I, which would replace the pictures under the editor, do nothing there.
    void editorKeys() {
        WindowFixture f;
        start* w = start::instance();
        App app;
        w->Show();
        f.importFolder(f.makeFolder("pics", 2));
        w->bottone1->click();
        fin_edita* editor = fw::Single<fin_edita>::peek();
        QVERIFY(editor);
        QApplication::setActiveWindow(editor);
        QVERIFY(QTest::qWaitForWindowActive(editor));
        f.seams.saveFiles.push_back(f.path("saved.v69"));
        f.seams.openFiles.push_back(f.path("saved.v69"));
        f.seams.folders.push_back(f.path("pics"));
        QSignalSpy quit(FileQuit(), &QAction::triggered);
        QTest::keyClick(editor, Qt::Key_O, Qt::ControlModifier);
        QTest::keyClick(editor, Qt::Key_I, Qt::ControlModifier);
        QTest::keyClick(editor, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(QFile::exists(f.path("saved.v69")));
        QCOMPARE(f.seams.openFiles.size(), size_t(1));
        QCOMPARE(f.seams.folders.size(), size_t(1));
        // Quitting is the menu's own item: seen, not carried out, within a test.
        QObject::disconnect(FileQuit(), &QAction::triggered, qApp, nullptr);
        QTest::keyClick(editor, Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(quit.size(), 1);
    }
};

QTEST_MAIN(MenusTest)
#include "menus_test.moc"

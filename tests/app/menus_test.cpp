// The interface language as the user switches it with the flags: every caption of the setup
// window and the File menu changes at once, and the notes editor, the warnings and the
// strip's exit cell opened afterwards speak the language chosen, back and forth.
#include "app/app.h"
#include "base/values.h"
#include "common/testseams.h"
#include "logic/state/globali.h"
#include "logic/state/model.h"
#include "pictures/picture_compose.h"
#include "resources/pictures.h"
#include "windows/dialogs/cart_noi.h"
#include "windows/dialogs/cart_spo.h"
#include "windows/editor/fin_edita.h"
#include "windows/presentation/fin_thumb.h"
#include "windows/presentation/presentation.h"
#include "windows/setup/setup_routines.h"
#include "windows/setup/start.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

using namespace Globali;

namespace {
// What the user reads where `place` names it, in a window opened afresh where it is not the
// setup window.
QString shown(const QString& place) {
    start* w = start::instance();
    const auto [window, control] = [&] {
        const QStringList p = place.split(' ');
        return std::pair(p[0], p.value(1));
    }();
    if (window == "menu") return menuItem(control)->text();
    if (window == "start") {
        const QMap<QString, QString> texts{{"title", w->windowTitle()},
                                           {"PushButton1", w->PushButton1->text()},
                                           {"bottone(0)", w->bottone(0)->text()},
                                           {"bottone1", w->bottone1->text()},
                                           {"CheckBox1", w->CheckBox1->text()},
                                           {"CheckBox2", w->CheckBox2->text()},
                                           {"StaticText3", w->StaticText3->text()},
                                           {"StaticText6", w->StaticText6->text()},
                                           {"StaticText7", w->StaticText7->text()},
                                           {"StaticText8", w->StaticText8->text()},
                                           {"StaticText9", w->StaticText9->text()},
                                           {"Rectsel(2)", Str(w->Rectsel(2)->x())}};
        return texts.value(control);
    }
    if (window == "fin_edita") {
        fin_edita* e = fw::Single<fin_edita>::get();
        const QMap<QString, QString> texts{{"title", e->windowTitle()},
                                           {"PushButton1", e->PushButton1->text()},
                                           {"PushButton2", e->PushButton2->text()},
                                           {"PushButton3", e->PushButton3->text()},
                                           {"PushButton4", e->PushButton4->text()},
                                           {"StaticText8", e->StaticText8->text()},
                                           {"StaticText2", e->StaticText2->text()},
                                           {"StaticText5", e->StaticText5->text()},
                                           {"StaticText6", e->StaticText6->text()},
                                           {"CheckBoxs(0)", e->CheckBoxs(0)->text()},
                                           {"CheckBoxs(1)", e->CheckBoxs(1)->text()},
                                           {"CheckBoxs(2)", e->CheckBoxs(2)->text()},
                                           {"CheckBox1", e->CheckBox1->text()},
                                           {"StaticText7", e->StaticText7->text()},
                                           {"StaticText9", e->StaticText9->text()}};
        e->PushButton5_Action();
        return texts.value(control);
    }
    if (window == "cart_spo") {
        cart_spo* d = fw::Single<cart_spo>::get();
        const QMap<QString, QString> texts{{"title", d->windowTitle()},
                                           {"StaticText1", d->StaticText1->text()},
                                           {"StaticText2", d->StaticText2->text()},
                                           {"StaticText3", d->StaticText3->text()}};
        d->PushButton1_Action();
        return texts.value(control);
    }
    if (window == "cart_noi") {
        cart_noi* d = fw::Single<cart_noi>::get();
        const QMap<QString, QString> texts{{"title", d->windowTitle()},
                                           {"StaticText1", d->StaticText1->text()},
                                           {"StaticText3", d->StaticText3->text()}};
        d->PushButton1_Action();
        return texts.value(control);
    }
    // The strip's exit cell, told by which of the two exit pictures it shows.
    presentation::startPresentation();
    fin_thumb* strip = fw::Single<fin_thumb>::peek();
    const fw::Canvas* cell = strip->miniabase(quantidisegni + 1);
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
        QTest::addColumn<QString>("place");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("italian");
        const auto row = [](const char* place, const char* english, const char* italian) {
            QTest::newRow(place) << QString(place) << QString::fromUtf8(english)
                                 << QString::fromUtf8(italian);
        };
        row("start Rectsel(2)", "6", "298");
        row("menu FileMenu", "File", "Archivio");
        row("menu FileQuit", "Quit", "Esci");
        row("menu FileOpen", "Open..", "Apri..");
        row("menu FileSave", "Save..", "Registra..");
        row("menu FileImportfolder", "Import folder..", "Importa cartella..");
        row("start title", "Presentation setup: 1280x1024 pixels",
            "Settaggi presentazione: 1280x1024 pixels");
        row("start PushButton1", "Select image folder", "Seleziona la cartella con le immagini");
        row("start bottone(0)", "Start presentation", "Avvia presentazione");
        row("start bottone1", "Notes setup", "Settaggio note");
        row("start CheckBox1", "Notes with fill", "Note con sfondo");
        row("start CheckBox2", "Display notes", "Mostra note");
        row("start StaticText3",
            "Click near border of this rectangle\rto choose thumbnails position;",
            "Fai click vicino ai bordi di questo campo\rper scegliere la posizione delle "
            "miniature;");
        row("start StaticText6", "Use the slider to select\rthumbnails size;",
            "Usa lo slider per definire\rla dimensione delle miniature;");
        row("start StaticText7", "Image size:", "Immagini:");
        row("start StaticText8", "Thumbnails size:", "Miniature:");
        row("start StaticText9", "Colors setup", "Settaggio colori");
        row("fin_edita title", "Notes setup", "Defizione note");
        row("fin_edita PushButton1", "<<  First", "<<  Primo");
        row("fin_edita PushButton2", "<  Previous", "<  Precedente");
        row("fin_edita PushButton3", "Next  >", "Successivo  >");
        row("fin_edita PushButton4", "Last  >>", "Ultimo  >>");
        row("fin_edita StaticText8", "Choose text position", "Scegli la posizione del testo");
        row("fin_edita StaticText2", "Note text", "Testo nota");
        row("fin_edita StaticText5", "Points", "Punti");
        row("fin_edita StaticText6", "Font setup", "Settaggio font");
        row("fin_edita CheckBoxs(0)", "Bold", "Grassetto");
        row("fin_edita CheckBoxs(1)", "Italic", "Corsivo");
        row("fin_edita CheckBoxs(2)", "Underline", "Sottolineato");
        row("fin_edita CheckBox1", "Use rectangle", "Usa rettangolo");
        row("fin_edita StaticText7", "Rectangle (click two times)",
            "Rettangolo (fai click due volte)");
        row("fin_edita StaticText9", "Border width", "Spessore bordo");
        row("cart_spo title", "Warning!", "Attenzione!");
        row("cart_spo StaticText1", "The folder containing images\r> Foto <\rwas not found in:",
            "La cartella con le immagini\r> Foto <\rnon é stata trovata in:");
        row("cart_spo StaticText2", "/srv/Foto", "/srv/Foto");
        row("cart_spo StaticText3", "UNABLE TO READ FILE", "IMPOSSIBILE APRIRE IL FILE");
        row("cart_noi title", "Warning!", "Attenzione!");
        row("cart_noi StaticText1", "The choosen folder\rhas no pictures inside!",
            "La cartella scelta\rnon contiene immagini!");
        row("cart_noi StaticText3", "CHOOSE ANOTHER FOLDER", "SCEGLIERE UN'ALTRA CARTELLA");
        row("fin_thumb exit", "EXIT", "ESCI");
    }
    void captionsFollowTheFlags() {
        QFETCH(QString, place);
        QFETCH(QString, english);
        QFETCH(QString, italian);
        WindowFixture f(QSize(1280, 1024));
        App app;
        start* w = start::instance();
        f.importFolder(f.makeFolder("pics", 1));
        const QString folder = cartella;
        // Italian, English, Italian again: every switch goes the whole way.
        for (int flag : {1, 0, 1}) {
            QTest::mouseClick(w->Canvasl(flag), Qt::LeftButton, {}, QPoint(10, 10));
            QCOMPARE(lingua, flag + 1);
            cartella = place.startsWith("cart_spo") ? "/srv/Foto" : folder;
            QCOMPARE(shown(place), flag == 0 ? english : italian);
            cartella = folder;
        }
    }

    // Every language number but English's speaks Italian, as a preferences file may hold it.
    void otherNumbersSpeakItalian_data() {
        QTest::addColumn<int>("number");
        QTest::newRow("0") << 0;
        QTest::newRow("2") << 2;
        QTest::newRow("7") << 7;
        QTest::newRow("-1") << -1;
    }
    void otherNumbersSpeakItalian() {
        QFETCH(int, number);
        WindowFixture f;
        App app;
        lingua = number;
        applyLanguage();
        QCOMPARE(shown("start bottone(0)"), QString("Avvia presentazione"));
        QCOMPARE(shown("cart_noi title"), QString("Attenzione!"));
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

// The setup window as a user meets it: layout, previews, edge choice, sliders, colours,
// flags and the refusal to start without pictures.
#include "app/app.h"
#include "common/testseams.h"
#include "framework/values.h"
#include "state/globali.h"
#include "windows/setup/start.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>

namespace {
// A fresh setup window on a screen of the given size.
start* freshWindow(TestSeams& seams, QSize screen) {
    if (start* old = fw::Single<start>::peek()) old->Close();
    seams.screen = screen;
    Globali::reset();
    return start::instance();
}
QPoint windowPos(QWidget* w) {
    return w->mapTo(start::instance()->content(), QPoint(0, 0));
}
} // namespace

class StartTest : public QObject {
    Q_OBJECT
    TestSeams* seams = nullptr;

  private slots:
    void init() { seams = new TestSeams; }
    void cleanup() {
        if (start* w = fw::Single<start>::peek()) w->Close();
        delete seams;
    }

    void freshLayout() {
        start* w = freshWindow(*seams, QSize(1024, 768));
        QCOMPARE(w->content()->size(), QSize(512, 344));
        QVERIFY(!w->bottone(0)->isEnabled());
        QVERIFY(!w->bottone1->isEnabled());
        QVERIFY(!w->CheckBox1->isEnabled());
        QVERIFY(!w->CheckBox2->isEnabled());
        QVERIFY(w->PushButton1->isEnabled() && w->Slider1->isEnabled() && w->Slider2->isEnabled());
        QCOMPARE(w->Slider1->minimum(), 5);
        QCOMPARE(w->Slider1->maximum(), 50);
        QCOMPARE(w->Slider1->value(), 10);
        QCOMPARE(w->Slider2->minimum(), 0);
        QCOMPARE(w->Slider2->maximum(), 5);
        QVERIFY(w->Rectsel(0)->isHidden() && w->Rectsel(1)->isHidden());
        QCOMPARE(w->Rectsel(2)->x(), -100);
        QVERIFY(w->color_s(4) == nullptr);
        for (int i : {0, 1, 2, 3, 5})
            QVERIFY(w->color_s(i) != nullptr);
        QCOMPARE(w->color_t(2)->geometry(), QRect(410, 225, 92, 84));
        QCOMPARE(w->bottone1->geometry(), QRect(350, 5, 152, 20));
        QCOMPARE(windowPos(w->color_d), QPoint(402, 129));
        QCOMPARE(windowPos(w->color_r), QPoint(430, 245));
        QCOMPARE(w->Line1->p2(), QPoint(340, 339));
    }

    void openOnScreens_data() {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QRect>("preview");
        // Every screen example is the geometry's test; these reach the window and the state.
        QTest::newRow("1024x768") << QSize(1024, 768) << QRect(10, 10, 320, 240);
        QTest::newRow("1366x768") << QSize(1366, 768) << QRect(10, 40, 320, 179);
    }
    void openOnScreens() {
        QFETCH(QSize, screen);
        QFETCH(QRect, preview);
        start* w = freshWindow(*seams, screen);
        QCOMPARE(w->rec_schermo->geometry(), preview);
        QCOMPARE(Globali::xtl, preview.left());
        QCOMPARE(Globali::ytl, preview.top());
        QCOMPARE(Globali::xbr - Globali::xtl, preview.width());
        QCOMPARE(Globali::thumb_per, 10);
        QCOMPARE(Globali::thumb_pos, 0);
        QCOMPARE(Globali::ombra, 5);
        QCOMPARE(Globali::colore(0).name(), QString("#999999"));
        QCOMPARE(Globali::colore(3).name(), QString("#7f0000"));
        QCOMPARE(Globali::colore(6).name(), QString("#ff0000"));
        // The swatches and previews show the defaults.
        QCOMPARE(w->color_t(1)->fill().name(), QString("#cccccc"));
        QCOMPARE(w->color_s(5)->fill(), QColor(Qt::white));
        QCOMPARE(w->color_r->topLeftColor(), QColor(Qt::red));
    }

    void stripPreviewFollowsEdgeAndSlider() {
        start* w = freshWindow(*seams, QSize(1024, 768));
        QCOMPARE(w->rec_min->geometry(), QRect(10, 10, 32, 240));
        QCOMPARE(w->testo_min->text(), QString("102 pixels"));
        QCOMPARE(w->testo_scr->text(), QString("922 x 768 pixels"));
        // A click near the top edge of the preview, then the slider let go at 50.
        QTest::mouseClick(w->rec_schermo, Qt::LeftButton, {}, QPoint(160, 3));
        QCOMPARE(Globali::thumb_pos, 2);
        w->Slider1->setValue(50); // as the user's release does
        QCOMPARE(Globali::thumb_per, 50);
        QCOMPARE(w->testo_min->text(), QString("384 pixels"));
        // Bottom edge: the strip sits at the bottom of the preview.
        QTest::mouseClick(w->rec_schermo, Qt::LeftButton, {}, QPoint(100, 238));
        QCOMPARE(Globali::thumb_pos, 3);
        QCOMPARE(w->rec_min->geometry(), QRect(10, 130, 320, 120));
        // Centre: top wins the tie with bottom.
        QTest::mouseClick(w->rec_schermo, Qt::LeftButton, {}, QPoint(160, 120));
        QCOMPARE(Globali::thumb_pos, 2);
        // Setting the slider from code runs no handler.
        w->Slider1->setValueSilently(20);
        QCOMPARE(Globali::thumb_per, 50);
    }

    void shadowSliderMovesTheSample() {
        start* w = freshWindow(*seams, QSize(1024, 768));
        w->Slider2->setValue(0);
        QCOMPARE(Globali::ombra, 0);
        QCOMPARE(w->color_o->pos(), w->color_d->pos());
        w->Slider2->setValue(3);
        QCOMPARE(w->color_o->pos(), w->color_d->pos() + QPoint(3, 3));
    }

    void colourSwatches() {
        start* w = freshWindow(*seams, QSize(1024, 768));
        // Cancelled: the colour stays.
        QTest::mouseClick(w->color_t(3), Qt::LeftButton);
        QCOMPARE(seams->colorPrompts, QStringList{"Color/Colore"});
        QCOMPARE(Globali::colore(3).name(), QString("#7f0000"));
        // Confirmed: the state, the swatch and the previews follow.
        seams->colors.push_back(QColor(0x12, 0x34, 0x56));
        QTest::mouseClick(w->color_t(3), Qt::LeftButton);
        QCOMPARE(Globali::colore(3), QColor(0x12, 0x34, 0x56));
        QCOMPARE(w->color_t(3)->fill(), QColor(0x12, 0x34, 0x56));
        QCOMPARE(w->color_d->textColor(), QColor(0x12, 0x34, 0x56));
        seams->colors.push_back(QColor(0x10, 0x20, 0x30));
        QTest::mouseClick(w->color_t(1), Qt::LeftButton);
        QCOMPARE(w->color_s(2)->topLeftColor(), QColor(0x10, 0x20, 0x30));
        QCOMPARE(w->color_s(2)->fill(), Globali::colore(0));
    }

    void flagsSwitchLanguageAtOnce() {
        start* w = freshWindow(*seams, QSize(1280, 1024));
        App app;
        w->Canvasl_MouseEnter(1);
        QVERIFY(w->Rectsel(1)->isVisibleTo(w));
        w->Canvasl_MouseExit(1);
        QVERIFY(!w->Rectsel(1)->isVisibleTo(w));
        QTest::mouseClick(w->Canvasl(1), Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(Globali::lingua, 2);
        QCOMPARE(w->windowTitle(), QString("Settaggi presentazione: 1280x1024 pixels"));
        QCOMPARE(FileMenu()->text(), QString("Archivio"));
        QCOMPARE(FileSave()->text(), QString("Registra.."));
        QCOMPARE(w->bottone(0)->text(), QString("Avvia presentazione"));
        QCOMPARE(w->Rectsel(2)->x(), 298);
        QTest::mouseClick(w->Canvasl(0), Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(Globali::lingua, 1);
        QCOMPARE(w->windowTitle(), QString("Presentation setup: 1280x1024 pixels"));
        QCOMPARE(FileImportfolder()->text(), QString("Import folder.."));
        QCOMPARE(w->Rectsel(2)->x(), 6);
        // The Edit menu and the about item stay English.
        QCOMPARE(AppleVetrinovainfo()->text(), QString("Vetrinova info.."));
    }

    void startAndNotesRefusedWithoutPictures() {
        start* w = freshWindow(*seams, QSize(1024, 768));
        w->bottone_Action(0);
        w->bottone1_Action();
        QCOMPARE(seams->beeps, 2);
        QCOMPARE(Globali::thumb_per, 10);
        // A count larger than the files held (a damaged presentation) is refused too.
        Globali::quantidisegni = 3;
        Globali::disegno.resize(1);
        w->bottone_Action(0);
        QCOMPARE(seams->beeps, 3);
        // So is an edge that no layout knows.
        Globali::disegno.resize(3);
        Globali::thumb_pos = 7;
        w->bottone_Action(0);
        QCOMPARE(seams->beeps, 4);
        QCOMPARE(Globali::thumb_per, 10);
    }

    void menuTree() {
        freshWindow(*seams, QSize(1024, 768));
        App app;
        QCOMPARE(FileOpen()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
        QCOMPARE(FileSave()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
        QCOMPARE(FileImportfolder()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_I));
        QCOMPARE(FileQuit()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
        QCOMPARE(AppleVetrinovainfo()->menuRole(), QAction::AboutRole);
        QCOMPARE(FileQuit()->menuRole(), QAction::QuitRole);
        QAction* edit = menuItem("EditMenu");
        QVERIFY(edit && edit->menu());
        const QList<QAction*> items = edit->menu()->actions();
        QCOMPARE(items.last(), AppleVetrinovainfo());
        QStringList names;
        for (QAction* a : FileMenu()->menu()->actions())
            names << a->objectName();
        QCOMPARE(names, QStringList({"FileOpen", "FileSave", "UntitledMenu2", "FileImportfolder",
                                     "UntitledMenu1", "FileQuit"}));
        for (QAction* a : {FileOpen(), FileSave(), FileImportfolder(), AppleVetrinovainfo()})
            a->setEnabled(false);
        app.Event_EnableMenuItems();
        for (QAction* a : {FileOpen(), FileSave(), FileImportfolder(), AppleVetrinovainfo()})
            QVERIFY(a->isEnabled());
    }
};

QTEST_MAIN(StartTest)
#include "start_test.moc"

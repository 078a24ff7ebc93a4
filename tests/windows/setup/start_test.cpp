// The setup window as a user meets it: what it opens with, the edge chosen on the screen
// preview, the sliders, the flags, and the refusal to start without pictures.
#include "common/testseams.h"
#include "logic/state/globali.h"
#include "logic/state/model.h"
#include "windows/editor/fin_edita.h"
#include "windows/setup/start.h"

#include <QTest>

using namespace Globali;

class StartTest : public QObject {
    Q_OBJECT
  private slots:
    void opensWithTheDefaults() {
        WindowFixture f;
        start* w = start::instance();
        QCOMPARE(w->rec_schermo->geometry(), QRect(10, 10, 320, 240));
        QCOMPARE(QList<int>({xtl, xbr, ytl, ybr}), QList<int>({10, 330, 10, 250}));
        QCOMPARE(QList<int>({thumb_per, thumb_pos, ombra}), QList<int>({10, edge::Left, 5}));
        QCOMPARE(colore(colour::NoteText).name(), QString("#7f0000"));
        QCOMPARE(w->color_t(colour::StripBackground)->fill().name(), QString("#cccccc"));
        // What needs pictures waits for an import.
        for (QWidget* c : std::initializer_list<QWidget*>{w->bottone(0), w->bottone1, w->CheckBox1,
                                                          w->CheckBox2})
            QVERIFY(!c->isEnabled());
    }

    void shadowSliderMovesTheSample() {
        WindowFixture f;
        start* w = start::instance();
        w->Slider2->setValue(0);
        QCOMPARE(ombra, 0);
        QCOMPARE(w->color_o->pos(), w->color_d->pos());
        w->Slider2->setValue(3);
        QCOMPARE(w->color_o->pos(), w->color_d->pos() + QPoint(3, 3));
    }

    void startAndNotesRefusedWithoutPictures() {
        WindowFixture f;
        start* w = start::instance();
        w->bottone_Action(0);
        w->bottone1_Action();
        QCOMPARE(f.seams.beeps, 2);
        // A count larger than the files held (a damaged presentation) is refused too,
        quantidisegni = 3;
        disegno.resize(1);
        w->bottone_Action(0);
        QCOMPARE(f.seams.beeps, 3);
        // and so is an edge that no layout knows.
        disegno.resize(3);
        thumb_pos = 7;
        w->bottone_Action(0);
        QCOMPARE(f.seams.beeps, 4);
        QCOMPARE(thumb_per, 10);
    }

    void notesNeedNoRoomInAStrip() {
        // 3,328 pictures do not fit a 5 % strip of a 1024 x 768 screen, but the editor shows
        // one picture at a time: it opens, and leaving it brings the percentage back.
        WindowFixture f;
        start* w = start::instance();
        quantidisegni = 3328;
        disegno.resize(quantidisegni);
        contorno.resize(quantidisegni, note::kLastColumnImported);
        w->Slider1->setValue(5);
        w->bottone_Action(0);
        QCOMPARE(f.seams.beeps, 1);
        w->bottone1_Action();
        QCOMPARE(f.seams.beeps, 1);
        fin_edita* editor = fw::Single<fin_edita>::peek();
        QVERIFY(editor && editor->isVisible());
        QCOMPARE(thumb_per, 51); // the strip's pixels, as the read-out shows them
        editor->PushButton5_Action();
        QCOMPARE(thumb_per, 5);
        QVERIFY(w->isVisible());
    }
};

QTEST_MAIN(StartTest)
#include "start_test.moc"

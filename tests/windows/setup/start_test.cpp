// The setup window's refusals: no start and no editor without pictures or a sound layout, and
// the editor, which needs no room in a strip, opened where a presentation could not be. A
// screen change while the window is hidden waits for it. Qt's own texts follow the flags.
// (How the window looks in both languages: looks_test.)
#include "common/testseams.h"
#include "logic/state/globali.h"
#include "logic/state/model.h"
#include "windows/editor/fin_edita.h"
#include "windows/presentation/fin_pict.h"
#include "windows/setup/setup_routines.h"
#include "windows/setup/start.h"

#include <QTest>

using namespace Globali;

class StartTest : public QObject {
    Q_OBJECT
  private slots:
    void startNeedsPicturesAndALayout() {
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
        // One picture is enough to start.
        thumb_pos = edge::Left;
        quantidisegni = 1;
        w->bottone_Action(0);
        QCOMPARE(f.seams.beeps, 4);
        QVERIFY(fw::Single<fin_pict>::peek() && fw::Single<fin_pict>::peek()->isVisible());
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

    void aScreenChangeWaitsForTheWindow() {
        // The screen changed while a presentation showed: the window is laid out again when
        // it comes back, once; after that it stays where the user moved it.
        WindowFixture f;
        start* w = start::instance();
        w->Show();
        w->screenChanged();
        const QPoint centred = w->pos(), moved = centred + QPoint(40, 30);
        w->move(moved);
        w->Hide();
        w->screenChanged();
        QCOMPARE(w->pos(), moved);
        w->comeBack();
        QCOMPARE(w->pos(), centred);
        w->move(moved);
        w->Hide();
        w->comeBack();
        QCOMPARE(w->pos(), moved);
    }

    void qtTextsFollowTheFlags() {
        WindowFixture f;
        start::instance();
        const auto undo = [] { return QCoreApplication::translate("QLineEdit", "&Undo"); };
        for (int lingua : {int(language::Italian), int(language::English), 7}) {
            Globali::lingua = lingua;
            Globali::applyLanguage();
            QCOMPARE(undo() == QStringLiteral("&Undo"), language::isEnglish(lingua));
        }
    }
};

QTEST_MAIN(StartTest)
#include "start_test.moc"

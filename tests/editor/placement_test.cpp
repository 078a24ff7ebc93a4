// Drawing a note's rectangle on the editor's preview with two clicks.
#include "editor/editor_fixture.h"
#include "state/globali.h"
#include "windows/editor/fin_edita.h"

#include <QTest>

namespace {
// On a 1024 x 768 screen with a 100-pixel strip at the left the preview is at (24, 44),
// 252 x 210, for a picture area 923 pixels wide.
const QPoint LT(24, 44);

QStringList frameCells() {
    QStringList cells;
    for (int c = 8; c <= 11; ++c)
        cells << Globali::contorno(1, c);
    return cells;
}
bool frameShown(fin_edita* w) {
    for (int i = 0; i < 4; ++i)
        if (w->bordo(i)->isHidden()) return false;
    return true;
}
void click(fin_edita* w, QPoint p) {
    // QTest reads the point (0, 0) as "the middle of the widget": that click goes by the
    // preview's own signal.
    if (p.isNull())
        emit w->rec_schermo->mouseDown(0, 0);
    else
        QTest::mouseClick(w->rec_schermo, Qt::LeftButton, {}, p);
}
fin_edita* openTicked(EditorFixture& f) {
    f.loadPictures(2);
    fin_edita* w = f.open(0, 100);
    QTest::mouseClick(w->CheckBox1, Qt::LeftButton, {}, QPoint(8, 10));
    return w;
}
} // namespace

class PlacementTest : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() { EditorFixture::close(); }

    void twoClicks_data() {
        QTest::addColumn<QPoint>("first");
        QTest::addColumn<QPoint>("second");
        QTest::addColumn<QStringList>("stored"); // left, top, width, height
        QTest::newRow("worked example")
            << QPoint(20, 30) << QPoint(120, 100) << QStringList{"73", "109", "366", "257"};
        QTest::newRow("drawn backwards")
            << QPoint(120, 100) << QPoint(20, 30) << QStringList{"439", "366", "-366", "-257"};
    }
    void twoClicks() {
        QFETCH(QPoint, first);
        QFETCH(QPoint, second);
        QFETCH(QStringList, stored);
        EditorFixture f;
        fin_edita* w = openTicked(f);
        QCOMPARE(Globali::volta, 0);

        click(w, first);
        // One corner on the preview: nothing stored, no frame, the other corner is next.
        QCOMPARE(frameCells(), QStringList({"", "", "", ""}));
        QVERIFY(w->bordo(0)->isHidden());
        QCOMPARE(Globali::volta, 1);
        QCOMPARE(w->recbordo(0)->pos(), LT + first - QPoint(4, 4));

        click(w, second);
        QCOMPARE(frameCells(), stored);
        QVERIFY(frameShown(w));
        QCOMPARE(Globali::volta, 0);
        QCOMPARE(w->recbordo(1)->pos(), LT + second - QPoint(4, 4));
        QCOMPARE(w->bordo(0)->p1(), LT + first);
        QCOMPARE(w->bordo(0)->p2(), QPoint(LT.x() + second.x(), LT.y() + first.y()));
        QCOMPARE(w->bordo(1)->p2(), QPoint(LT.x() + first.x(), LT.y() + second.y()));
        QCOMPARE(w->bordo(2)->p1(), QPoint(LT.x() + second.x(), LT.y() + first.y()));
        QCOMPARE(w->bordo(3)->p2(), LT + second);
        QCOMPARE(w->rec_schermo->backdrop(), Globali::prefre);
    }

    void furtherClicksMoveTheCornersInTurn() {
        EditorFixture f;
        fin_edita* w = openTicked(f);
        click(w, QPoint(20, 30));
        click(w, QPoint(120, 100));
        click(w, QPoint(200, 150)); // corner 0 again
        QCOMPARE(frameCells(), QStringList({"732", "549", "-293", "-183"}));
        QCOMPARE(Globali::volta, 1);
        click(w, QPoint(0, 0)); // then corner 1
        QCOMPARE(frameCells(), QStringList({"732", "549", "-732", "-549"}));
        QCOMPARE(Globali::volta, 0);
    }

    void clicksReachThePreviewThroughOverlays() {
        EditorFixture f;
        fin_edita* w = openTicked(f);
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QWindow* window = w->windowHandle();
        const QPoint content = w->content()->mapTo(w, QPoint(0, 0));
        // Over the marker, which sits at the preview's bottom left.
        const QPoint onMarker = w->Rectangle1->pos() + QPoint(20, 10);
        QCOMPARE(w->content()->childAt(onMarker), w->rec_schermo);
        QTest::mouseClick(window, Qt::LeftButton, {}, content + onMarker);
        QCOMPARE(Globali::volta, 1);
        // Handle 1 follows the pointer; the second click lands right on it.
        const QPoint second = LT + QPoint(120, 100);
        emit w->rec_schermo->mouseMove(120, 100);
        QCOMPARE(w->content()->childAt(second), w->rec_schermo);
        QTest::mouseClick(window, Qt::LeftButton, {}, content + second);
        QCOMPARE(Globali::volta, 0);
        // Corners at preview (30, 190) and (120, 100).
        QCOMPARE(frameCells(), QStringList({"109", "695", "330", "-329"}));
    }

    void untickedChangesNothing() {
        EditorFixture f;
        f.loadPictures(1);
        fin_edita* w = f.open(0, 100);
        const QStringList before = f.row(1);
        const QPoint h0 = w->recbordo(0)->pos(), h1 = w->recbordo(1)->pos();
        click(w, QPoint(20, 30));
        emit w->rec_schermo->mouseMove(60, 70);
        click(w, QPoint(120, 100));
        emit w->rec_schermo->mouseExit();
        QCOMPARE(f.row(1), before);
        QCOMPARE(Globali::volta, 0);
        QCOMPARE(w->recbordo(0)->pos(), h0);
        QCOMPARE(w->recbordo(1)->pos(), h1);
        QVERIFY(w->bordo(0)->isHidden());
    }

    void handleFollowsThePointerAndGoesBack() {
        EditorFixture f;
        f.loadPictures(2);
        f.setRow(1, {"", "", "", "", "", "", "", "1", "73", "109", "366", "257", "5"});
        fin_edita* w = f.open(0, 100);
        const QPoint corner0 = w->bordo(0)->p1();
        // Picture 2 has no rectangle: both handles leave, the lines stay where they were.
        QTest::mouseClick(w->PushButton3, Qt::LeftButton);
        QTest::mouseClick(w->CheckBox1, Qt::LeftButton, {}, QPoint(8, 10));
        QCOMPARE(w->recbordo(0)->x(), -50);
        emit w->rec_schermo->mouseMove(40, 50);
        QCOMPARE(w->recbordo(0)->pos(), LT + QPoint(36, 46));
        QCOMPARE(w->bordo(0)->p1(), corner0); // the lines move only at a click
        emit w->rec_schermo->mouseExit();
        QCOMPARE(w->recbordo(0)->pos(), corner0 - QPoint(4, 4));
        // That click moves the same handle again: the old corner is never stored.
        click(w, QPoint(20, 30));
        for (int c = 8; c <= 11; ++c)
            QCOMPARE(Globali::contorno(2, c), QString());
        QCOMPARE(Globali::volta, 1);
        emit w->rec_schermo->mouseExit();
        QCOMPARE(w->recbordo(1)->x(), w->bordo(3)->p2().x() - 4);
    }

    void voltaSurvivesAReopen() {
        EditorFixture f;
        fin_edita* w = openTicked(f);
        click(w, QPoint(20, 30));
        QCOMPARE(Globali::volta, 1);
        w = f.open(0, 100);
        QCOMPARE(Globali::volta, 1);
        QVERIFY(w->CheckBox1->isChecked());
        // Corner 1 comes first now; corner 0 is off the preview, so nothing is stored.
        click(w, QPoint(20, 30));
        QCOMPARE(w->recbordo(1)->pos(), LT + QPoint(16, 26));
        QCOMPARE(frameCells(), QStringList({"", "", "", ""}));
        QCOMPARE(Globali::volta, 0);
        click(w, QPoint(120, 100));
        QCOMPARE(frameCells(), QStringList({"439", "366", "-366", "-257"}));
    }
};

QTEST_MAIN(PlacementTest)
#include "placement_test.moc"

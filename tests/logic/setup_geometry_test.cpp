#include "logic/geometry/setup_geometry.h"
#include "logic/state/model.h"

#include <QTest>

class SetupGeometryTest : public QObject {
    Q_OBJECT
  private slots:
    // The screen scaled into its box, centred; the editor's preview of its picture area too.
    void screenPreview_data() {
        QTest::addColumn<QSize>("source");
        QTest::addColumn<QSize>("box");
        QTest::addColumn<QPoint>("centre");
        QTest::addColumn<QList<int>>("corners"); // xtl, xbr, ytl, ybr
        const QSize box = setup_geo::kPreviewBox;
        const QPoint c = setup_geo::kPreviewCentre;
        QTest::newRow("1024x768") << QSize(1024, 768) << box << c << QList<int>{10, 330, 10, 250};
        QTest::newRow("1280x1024") << QSize(1280, 1024) << box << c << QList<int>{20, 320, 10, 250};
        QTest::newRow("1440x900") << QSize(1440, 900) << box << c << QList<int>{10, 330, 30, 230};
        QTest::newRow("1366x768") << QSize(1366, 768) << box << c << QList<int>{10, 330, 40, 219};
        QTest::newRow("editor, 923x768") << QSize(923, 768) << QSize(280, 210) << QPoint(150, 149)
                                         << QList<int>{24, 276, 44, 254};
        QTest::newRow("no screen") << QSize(0, 768) << box << c << QList<int>{170, 170, 130, 130};
    }
    void screenPreview() {
        QFETCH(QSize, source);
        QFETCH(QSize, box);
        QFETCH(QPoint, centre);
        QFETCH(QList<int>, corners);
        const setup_geo::PreviewRect p = setup_geo::screenPreview(source, box, centre);
        QCOMPARE(QList<int>({p.xtl, p.xbr, p.ytl, p.ybr}), corners);
        QCOMPARE(p.rect(), QRect(QPoint(corners[0], corners[2]),
                                 QSize(corners[1] - corners[0], corners[3] - corners[2])));
    }

    void stripPreview_data() {
        QTest::addColumn<int>("edge");
        QTest::addColumn<int>("percent");
        QTest::addColumn<QRect>("rec_min"); // null: the strip preview is not moved
        QTest::addColumn<QString>("testo_min");
        QTest::addColumn<QString>("testo_scr");
        const auto row = [](const char* name, int edge, int percent, QRect rec_min,
                            const char* testo_min, const char* testo_scr) {
            QTest::newRow(name) << edge << percent << rec_min << QString(testo_min)
                                << QString(testo_scr);
        };
        row("left 10", edge::Left, 10, {10, 10, 32, 240}, "102 pixels", "922 x 768 pixels");
        row("top 50", edge::Top, 50, {10, 10, 320, 120}, "384 pixels", "1024 x 384 pixels");
        row("bottom 10", edge::Bottom, 10, {10, 226, 320, 24}, "76 pixels", "1024 x 692 pixels");
        row("right 5, fraction dropped", edge::Right, 5, {314, 10, 16, 240}, "51 pixels",
            "973 x 768 pixels");
        row("edge 4 from a file", 4, 10, {}, "0 pixels", "0 x 0 pixels");
        row("edge -1 from a file", -1, 10, {}, "0 pixels", "0 x 0 pixels");
        // A file's percentage is held within 0..100.
        row("right 100", edge::Right, 100, {10, 10, 320, 240}, "1024 pixels", "0 x 768 pixels");
        row("bottom 101", edge::Bottom, 101, {10, 10, 320, 240}, "768 pixels", "1024 x 0 pixels");
        row("top 0", edge::Top, 0, {10, 10, 320, 0}, "0 pixels", "1024 x 768 pixels");
        row("left -1", edge::Left, -1, {10, 10, 0, 240}, "0 pixels", "1024 x 768 pixels");
    }
    void stripPreview() {
        QFETCH(int, edge);
        QFETCH(int, percent);
        QFETCH(QRect, rec_min);
        QFETCH(QString, testo_min);
        QFETCH(QString, testo_scr);
        const setup_geo::StripPreview p =
            setup_geo::stripPreview(edge, percent, QRect(10, 10, 320, 240), QSize(1024, 768));
        QCOMPARE(p.moved, !rec_min.isNull());
        if (p.moved) QCOMPARE(p.rec_min, rec_min);
        QCOMPARE(p.testo_min, testo_min);
        QCOMPARE(p.testo_scr, testo_scr);
    }

    // The nearest edge of a 320 x 240 preview; ties go left, right, top, bottom in that order.
    // A tall one: left before right, and the bottom when nearer than both sides.
    void nearestEdge_data() {
        QTest::addColumn<QPoint>("click");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("edge");
        const auto row = [](const char* name, QPoint click, int edge, int height = 240) {
            QTest::newRow(name) << click << height << edge;
        };
        row("centre: top before bottom", {160, 120}, edge::Top);
        row("corner: left before top", {0, 0}, edge::Left);
        row("left before bottom", {0, 240}, edge::Left);
        row("right before top", {320, 0}, edge::Right);
        row("right before bottom", {320, 240}, edge::Right);
        row("nearer the bottom than the sides", {160, 200}, edge::Bottom);
        row("a pixel nearer the left", {119, 120}, edge::Left);
        row("as near the left as the top", {120, 120}, edge::Left);
        row("as near the right as the top", {200, 120}, edge::Right);
        row("a pixel nearer the top than the right", {199, 120}, edge::Top);
        row("a pixel nearer the bottom", {160, 121}, edge::Bottom);
        row("tall, centre: left before right", {160, 200}, edge::Left, 400);
        row("tall, a pixel nearer the right", {161, 200}, edge::Right, 400);
        row("tall, a pixel nearer the bottom", {160, 241}, edge::Bottom, 400);
    }
    void nearestEdge() {
        QFETCH(QPoint, click);
        QFETCH(int, height);
        QFETCH(int, edge);
        QCOMPARE(setup_geo::nearestEdge(click.x(), click.y(), 320, height), edge);
    }
};

QTEST_GUILESS_MAIN(SetupGeometryTest)
#include "setup_geometry_test.moc"

#include "base/values.h"
#include "logic/geometry/presentation_geometry.h"
#include "logic/state/model.h"

#include <QTest>

using namespace presentation_geo;

class PresentationGeometryTest : public QObject {
    Q_OBJECT
  private slots:
    // The strip along each edge and the picture area beside it, one pixel apart; a strip
    // thicker than the screen, or thinner than nothing, is held within it.
    void screenSplit_data() {
        QTest::addColumn<int>("edge");
        QTest::addColumn<int>("T");
        QTest::addColumn<QRect>("strip");
        QTest::addColumn<QRect>("picture");
        const auto row = [](const char* name, int edge, int T, QRect strip, QRect picture) {
            QTest::newRow(name) << edge << T << strip << picture;
        };
        row("left", edge::Left, 100, {0, 0, 100, 600}, {101, 0, 899, 600});
        row("right", edge::Right, 100, {900, 0, 100, 600}, {0, 0, 899, 600});
        row("top", edge::Top, 60, {0, 0, 1000, 60}, {0, 61, 1000, 539});
        row("bottom", edge::Bottom, 60, {0, 540, 1000, 60}, {0, 0, 1000, 539});
        row("left, the whole width but a pixel", edge::Left, 999, {0, 0, 999, 600},
            {1000, 0, 0, 600});
        row("left, wider than the screen", edge::Left, 1000, {0, 0, 999, 600}, {1000, 0, 0, 600});
        row("bottom, taller than the screen", edge::Bottom, 5000, {0, 1, 1000, 599},
            {0, 0, 1000, 0});
        row("right, no strip", edge::Right, 0, {1000, 0, 0, 600}, {0, 0, 999, 600});
        row("top, negative", edge::Top, -5, {0, 0, 1000, 0}, {0, 1, 1000, 599});
    }
    void screenSplit() {
        QFETCH(int, edge);
        QFETCH(int, T);
        QFETCH(QRect, strip);
        QFETCH(QRect, picture);
        const ScreenSplit s = presentation_geo::screenSplit(QSize(1000, 600), edge, T);
        QVERIFY(s.valid);
        QCOMPARE(QRect(s.stripPos, QSize(s.tmb_dx, s.tmb_dy)), strip);
        QCOMPARE(QRect(s.picturePos, QSize(s.pct_dx, s.pct_dy)), picture);
    }
    // An edge no layout knows lays out nothing.
    void screenSplitOfNoEdge_data() {
        QTest::addColumn<int>("edge");
        QTest::newRow("-1") << -1;
        QTest::newRow("4") << 4;
    }
    void screenSplitOfNoEdge() {
        QFETCH(int, edge);
        const ScreenSplit s = presentation_geo::screenSplit(QSize(1000, 600), edge, 100);
        QVERIFY(!s.valid);
        QCOMPARE(QList<int>({s.tmb_dx, s.tmb_dy, s.pct_dx, s.pct_dy}), QList<int>(4, 0));
    }

    // Cells 1, 2, 3 and the last (the exit cell), or cells 1 and 2 of a short strip.
    void stripGrid_data() {
        QTest::addColumn<QSize>("strip");
        QTest::addColumn<int>("edge");
        QTest::addColumn<int>("n");
        QTest::addColumn<QList<QRect>>("cells");
        QTest::newRow("left, 20 pictures")
            << QSize(102, 768) << int(edge::Left) << 21
            << QList<QRect>{{1, 1, 49, 67}, {52, 1, 49, 67}, {1, 70, 49, 67}, {1, 691, 49, 67}};
        QTest::newRow("bottom, 20 pictures")
            << QSize(1024, 76) << int(edge::Bottom) << 21
            << QList<QRect>{{1, 1, 91, 36}, {1, 39, 91, 36}, {94, 1, 91, 36}, {931, 1, 91, 36}};
        QTest::newRow("right, 3 pictures")
            << QSize(102, 768) << int(edge::Right) << 4
            << QList<QRect>{
                   {1, 1, 100, 190}, {1, 193, 100, 190}, {1, 385, 100, 190}, {1, 577, 100, 190}};
        QTest::newRow("top, 1 picture") << QSize(1024, 76) << int(edge::Top) << 2
                                        << QList<QRect>{{1, 1, 510, 74}, {513, 1, 510, 74}};
        // Columns (rows) are added while cells stay twice as wide (as high as wide), even
        // beyond the cells there are, and exactly so.
        QTest::newRow("left, far wider than high")
            << QSize(3200, 400) << int(edge::Left) << 2
            << QList<QRect>{{1, 1, 638, 398}, {641, 1, 638, 398}};
        QTest::newRow("top, far higher than wide")
            << QSize(400, 3200) << int(edge::Top) << 2
            << QList<QRect>{{1, 1, 398, 353}, {1, 356, 398, 353}};
        // A strip exactly as thick as a line of cells is long gets a second line.
        QTest::newRow("top, as high as a cell is wide")
            << QSize(1000, 100) << int(edge::Top) << 10
            << QList<QRect>{
                   {1, 1, 198, 48}, {1, 51, 198, 48}, {201, 1, 198, 48}, {801, 51, 198, 48}};
        QTest::newRow("left, twice as wide as a cell is high")
            << QSize(200, 1000) << int(edge::Left) << 10
            << QList<QRect>{
                   {1, 1, 98, 198}, {101, 1, 98, 198}, {1, 201, 98, 198}, {101, 801, 98, 198}};
        // Edge 1 halves to 0: the same wide strip is laid out like a left one, row by row.
        QTest::newRow("edge right on a wide strip")
            << QSize(1024, 76) << int(edge::Right) << 15
            << QList<QRect>{{1, 1, 71, 36}, {74, 1, 71, 36}, {147, 1, 71, 36}, {1, 39, 71, 36}};
    }
    void stripGrid() {
        QFETCH(QSize, strip);
        QFETCH(int, edge);
        QFETCH(int, n);
        QFETCH(QList<QRect>, cells);
        const StripGrid g = presentation_geo::stripGrid(strip.width(), strip.height(), edge, n);
        QCOMPARE(int(g.cells.size()), n);
        QCOMPARE(QSize(g.cw, g.ch), cells[0].size());
        QCOMPARE(g.cells[0], cells[0]);
        QCOMPARE(g.cells[1], cells[1]);
        if (n > 2) QCOMPARE(g.cells[2], cells[2]);
        QCOMPARE(g.cells.back(), cells.back());
        // Every cell inside the strip, none touching the one before.
        for (size_t i = 0; i < g.cells.size(); ++i) {
            QVERIFY(QRect(QPoint(0, 0), strip).contains(g.cells[i]));
            if (i > 0) QVERIFY(!g.cells[i].intersects(g.cells[i - 1]));
        }
    }

    // A strip that can show nothing has no cells, and the layout still ends; one that can
    // just show its cells has them all.
    void stripWithoutCells_data() {
        QTest::addColumn<QSize>("strip");
        QTest::addColumn<int>("edge");
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("cells");
        QTest::newRow("no height") << QSize(102, 0) << int(edge::Left) << 21 << 0;
        QTest::newRow("edge 4") << QSize(102, 768) << 4 << 21 << 0;
        QTest::newRow("edge -1") << QSize(102, 768) << -1 << 21 << 0;
        QTest::newRow("no cell") << QSize(102, 768) << int(edge::Left) << 0 << 0;
        QTest::newRow("one cell") << QSize(102, 768) << int(edge::Left) << 1 << 1;
        QTest::newRow("cells too small") << QSize(102, 768) << int(edge::Left) << 20000 << 0;
        // Three pixels a cell: one of picture inside its border.
        QTest::newRow("cells of one pixel") << QSize(3, 30) << int(edge::Left) << 10 << 10;
        QTest::newRow("cells of no pixel") << QSize(3, 29) << int(edge::Left) << 10 << 0;
        QTest::newRow("as many cells as kept")
            << QSize(1 << 30, 1 << 30) << int(edge::Top) << kMaxCells << kMaxCells;
        QTest::newRow("more cells than kept")
            << QSize(1 << 30, 1 << 30) << int(edge::Top) << kMaxCells + 1 << 0;
    }
    void stripWithoutCells() {
        QFETCH(QSize, strip);
        QFETCH(int, edge);
        QFETCH(int, n);
        QFETCH(int, cells);
        const StripGrid g = presentation_geo::stripGrid(strip.width(), strip.height(), edge, n);
        QCOMPARE(int(g.cells.size()), cells);
        for (const QRect& cell : g.cells)
            QVERIFY(QRect(QPoint(0, 0), strip).contains(cell) && !cell.isEmpty());
    }

    void noteLayout_data() {
        QTest::addColumn<QSize>("window");
        QTest::addColumn<double>("position");
        QTest::addColumn<double>("size");
        QTest::addColumn<QRect>("label");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("align");
        const QSize w(1024, 768);
        const int L = NoteLayout::Left, C = NoteLayout::Centre, R = NoteLayout::Right;
        const auto row = [w](const char* name, double position, double size, QRect label,
                             const char* text, int align, QSize window = {}) {
            QTest::newRow(name) << (window.isValid() ? window : w) << position << size << label
                                << QString(text) << align;
        };
        row("0 bottom left", 0, 24, {20, 716, 512, 32}, "Mare", L);
        row("1 bottom centre", 1, 24, {256, 716, 512, 32}, " Mare", C);
        row("2 bottom right", 2, 24, {492, 716, 512, 32}, "Mare ", R);
        row("5 top right", 5, 24, {492, 20, 512, 32}, "Mare ", R);
        row("centred on 1023 pixels", 4, 12, {256, 20, 511, 20}, " Mare", C, {1023, 691});
        row("empty size and position", Val(""), Val(""), {20, 740, 512, 8}, "Mare", L);
        row("7 stays parked", 7, 24, {-20, -20, 512, 32}, "Mare", L);
        row("huge size from a file", 3, 1e300, {20, 20, 512, kFar}, "Mare", L);
    }
    void noteLayout() {
        QFETCH(QSize, window);
        QFETCH(double, position);
        QFETCH(double, size);
        QFETCH(QRect, label);
        QFETCH(QString, text);
        QFETCH(int, align);
        for (bool fill : {false, true}) {
            const NoteLayout n =
                presentation_geo::noteLayout(window, "Mare", size, position, 5, fill);
            QVERIFY(n.shown);
            QCOMPARE(n.label, label);
            QCOMPARE(n.text, text);
            QCOMPARE(n.align, align);
            QCOMPARE(n.shadow, label.translated(5, 5));
            QCOMPARE(n.box, fill ? label : kParked);
        }
        // Without a text nothing is shown.
        const NoteLayout none = presentation_geo::noteLayout(window, "", size, position, 5, true);
        QVERIFY(!none.shown);
        QCOMPARE(QList<QRect>({none.label, none.shadow, none.box}), QList<QRect>(3, kParked));
    }
};

QTEST_GUILESS_MAIN(PresentationGeometryTest)
#include "presentation_geometry_test.moc"

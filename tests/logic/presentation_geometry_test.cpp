#include "base/values.h"
#include "logic/geometry/presentation_geometry.h"
#include "logic/state/model.h"

#include <QTest>
#include <array>

using namespace presentation_geo;

class PresentationGeometryTest : public QObject {
    Q_OBJECT
  private slots:
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

    // A strip that can show nothing has no cells, and the layout still ends.
    void stripWithoutCells() {
        using Case = std::array<int, 4>; // width, height, edge, cells
        for (const Case& c : {Case{102, 0, edge::Left, 21}, Case{102, 768, 4, 21},
                              Case{102, 768, edge::Left, 0}, Case{102, 768, edge::Left, 20000}})
            QVERIFY(presentation_geo::stripGrid(c[0], c[1], c[2], c[3]).cells.empty());
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
        QTest::newRow("0 bottom left")
            << w << 0.0 << 24.0 << QRect(20, 716, 512, 32) << "Mare" << L;
        QTest::newRow("1 bottom centre")
            << w << 1.0 << 24.0 << QRect(256, 716, 512, 32) << " Mare" << C;
        QTest::newRow("2 bottom right")
            << w << 2.0 << 24.0 << QRect(492, 716, 512, 32) << "Mare " << R;
        QTest::newRow("5 top right") << w << 5.0 << 24.0 << QRect(492, 20, 512, 32) << "Mare " << R;
        QTest::newRow("centred on 1023 pixels")
            << QSize(1023, 691) << 4.0 << 12.0 << QRect(256, 20, 511, 20) << " Mare" << C;
        QTest::newRow("empty size and position")
            << w << Val("") << Val("") << QRect(20, 740, 512, 8) << "Mare" << L;
        QTest::newRow("7 stays parked")
            << w << 7.0 << 24.0 << QRect(-20, -20, 512, 32) << "Mare" << L;
        QTest::newRow("huge size from a file")
            << w << 3.0 << 1e300 << QRect(20, 20, 512, kFar) << "Mare" << L;
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

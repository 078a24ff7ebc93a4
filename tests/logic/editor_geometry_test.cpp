// The notes editor's geometry and lists: the picture area it previews, the marker for each
// text position, the frame between two corners and its conversions to picture-area pixels
// and back, and the rows a stored note selects.
#include "logic/geometry/editor_geometry.h"
#include "logic/geometry/note_lists.h"
#include "logic/state/model.h"

#include <QTest>

using namespace editor_geo;

namespace {
// The preview of a 1024 x 768 screen with a 100-pixel strip at the left.
const QRect preview(24, 44, 252, 210);
} // namespace

class EditorGeometryTest : public QObject {
    Q_OBJECT
  private slots:
    void pictureArea_data() {
        QTest::addColumn<int>("edge");
        QTest::addColumn<QSize>("area");
        QTest::newRow("left") << int(edge::Left) << QSize(923, 768);
        QTest::newRow("top") << int(edge::Top) << QSize(1024, 667);
        QTest::newRow("no edge keeps the area") << 4 << QSize(5, 6);
    }
    void pictureArea() {
        QFETCH(int, edge);
        QFETCH(QSize, area);
        QCOMPARE(editor_geo::pictureArea(QSize(1024, 768), edge, 100, QSize(5, 6)), area);
    }

    // The marker along the preview's bottom (0..2) or top (3..5), left, centre and right.
    void marker_data() {
        QTest::addColumn<double>("position");
        QTest::addColumn<QPoint>("topLeft"); // (-50, -50): not placed, no radio button
        QTest::addColumn<int>("radio");
        QTest::newRow("0 bottom left") << 0.0 << QPoint(34, 224) << 0;
        QTest::newRow("1 bottom centre") << 1.0 << QPoint(130, 224) << 1;
        QTest::newRow("2 bottom right") << 2.0 << QPoint(226, 224) << 2;
        QTest::newRow("3 top left") << 3.0 << QPoint(34, 54) << 3;
        QTest::newRow("4 top centre") << 4.0 << QPoint(130, 54) << 4;
        QTest::newRow("5 top right") << 5.0 << QPoint(226, 54) << 5;
        QTest::newRow("5.5") << 5.5 << QPoint(-50, -50) << 5;
        QTest::newRow("6") << 6.0 << QPoint(-50, -50) << -1;
        QTest::newRow("-0.5") << -0.5 << QPoint(-50, -50) << 0;
        QTest::newRow("-1") << -1.0 << QPoint(-50, -50) << -1;
    }
    void marker() {
        QFETCH(double, position);
        QFETCH(QPoint, topLeft);
        QFETCH(int, radio);
        const Marker m = markerPos(position, preview);
        QCOMPARE(m.placed, topLeft != QPoint(-50, -50));
        QCOMPARE(m.topLeft, topLeft);
        QCOMPARE(radioIndex(position), radio);
    }

    // The edges through corner 0 first; a corner off the preview places nothing.
    void frameLines_data() {
        QTest::addColumn<QPoint>("c0");
        QTest::addColumn<QPoint>("c1");
        QTest::addColumn<bool>("placed");
        QTest::newRow("on the preview") << QPoint(10, 20) << QPoint(110, 80) << true;
        QTest::newRow("at the origin") << QPoint(0, 0) << QPoint(110, 80) << true;
        QTest::newRow("corner 1 left of it") << QPoint(10, 20) << QPoint(-1, 80) << false;
        QTest::newRow("corner 0 above it") << QPoint(10, -1) << QPoint(110, 80) << false;
    }
    void frameLines() {
        QFETCH(QPoint, c0);
        QFETCH(QPoint, c1);
        QFETCH(bool, placed);
        const FrameLines f = editor_geo::frameLines(c0, c1);
        QCOMPARE(QList<QLine>(std::begin(f.l), std::end(f.l)),
                 QList<QLine>({{c0.x(), c0.y(), c1.x(), c0.y()},
                               {c0.x(), c0.y(), c0.x(), c1.y()},
                               {c1.x(), c0.y(), c1.x(), c1.y()},
                               {c0.x(), c1.y(), c1.x(), c1.y()}}));
        QCOMPARE(f.corner0(), c0);
        QCOMPARE(f.corner1(), c1);
        QCOMPARE(f.placed(), placed);
        QCOMPARE(handleCentre(handleTopLeft(c1)), c1);
        QCOMPARE(handleTopLeft(c0), c0 - QPoint(4, 4));
    }

    // A stored frame back on a preview 250 wide of an area 1000 wide (r = 0.25).
    void storedToHandles_data() {
        QTest::addColumn<QList<double>>("stored");
        QTest::addColumn<int>("pct_dx");
        QTest::addColumn<QPoint>("h0"); // relative to the preview
        QTest::addColumn<QPoint>("h1");
        QTest::newRow("worked example")
            << QList<double>{100, 200, 400, 300} << 1000 << QPoint(21, 46) << QPoint(121, 121);
        QTest::newRow("negative size")
            << QList<double>{400, 300, -200, -100} << 1000 << QPoint(96, 71) << QPoint(46, 46);
        QTest::newRow("fractions dropped")
            << QList<double>{7, 7, 7, 7} << 1000 << QPoint(-3, -3) << QPoint(-2, -2);
        QTest::newRow("no area") << QList<double>{100, 200, 400, 300} << 0 << QPoint(-4, -4)
                                 << QPoint(-4, -4);
    }
    void storedToHandles() {
        QFETCH(QList<double>, stored);
        QFETCH(int, pct_dx);
        QFETCH(QPoint, h0);
        QFETCH(QPoint, h1);
        const QRect p(25, 44, 250, 210);
        const Handles h =
            editor_geo::storedToHandles(stored[0], stored[1], stored[2], stored[3], p, pct_dx);
        QCOMPARE(h.h0, p.topLeft() + h0);
        QCOMPARE(h.h1, p.topLeft() + h1);
    }

    void sizeRow_data() {
        QTest::addColumn<double>("size");
        QTest::addColumn<int>("row");
        QTest::newRow("12") << 12.0 << 0;
        QTest::newRow("18") << 18.0 << 1;
        QTest::newRow("72") << 72.0 << 10;
        QTest::newRow("78") << 78.0 << -1;
        QTest::newRow("empty") << 0.0 << 0;
        QTest::newRow("13") << 13.0 << 0;
        QTest::newRow("6") << 6.0 << -1;
    }
    void sizeRow() {
        QFETCH(double, size);
        QFETCH(int, row);
        QCOMPARE(editor_geo::sizeRow(size), row);
    }

    void borderWidth_data() {
        QTest::addColumn<double>("stored");
        QTest::addColumn<int>("shown");
        QTest::newRow("1") << 1.0 << 1;
        QTest::newRow("9") << 9.0 << 9;
        QTest::newRow("5.9") << 5.9 << 5;
        QTest::newRow("0") << 0.0 << 1;
        QTest::newRow("10") << 10.0 << 9;
    }
    void borderWidth() {
        QFETCH(double, stored);
        QFETCH(int, shown);
        QCOMPARE(editor_geo::borderWidth(stored), shown);
    }

    // The size list as the user sees it; "30" carries its tab into the note.
    void sizeRows() {
        QCOMPARE(note_lists::sizeRows(),
                 QStringList({"12", "18", "24", "30\t", "36", "42", "48", "54", "60", "66", "72"}));
    }

    // The last font equal to the stored name, else the last equal but for case, else row 0.
    void fontRow_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("row");
        QTest::newRow("exact on the first row, caseless later") << "Alpha" << 0;
        QTest::newRow("found once") << "Gamma" << 3;
        QTest::newRow("found twice: the last") << "Beta" << 4;
        QTest::newRow("exact before caseless") << "beta" << 2;
        QTest::newRow("caseless") << "GAMMA" << 3;
        QTest::newRow("caseless twice: the last") << "BETA" << 4;
        QTest::newRow("not installed") << "Delta" << 0;
        QTest::newRow("empty") << "" << 0;
    }
    void fontRow() {
        QFETCH(QString, name);
        QFETCH(int, row);
        QCOMPARE(note_lists::fontRow({"Alpha", "Beta", "beta", "Gamma", "Beta", "ALPHA"}, name),
                 row);
        QCOMPARE(note_lists::fontRow({}, name), -1);
    }
};

QTEST_GUILESS_MAIN(EditorGeometryTest)
#include "editor_geometry_test.moc"

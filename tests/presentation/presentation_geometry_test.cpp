#include "framework/values.h"
#include "windows/presentation/presentation_geometry.h"

#include <QTest>
#include <cmath>
#include <limits>

using namespace presentation_geo;

namespace {
constexpr int kMax = std::numeric_limits<int>::max();
constexpr int kMin = std::numeric_limits<int>::min();
} // namespace

class PresentationGeometryTest : public QObject {
    Q_OBJECT
  private slots:
    void screenSplit_data() {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<int>("edge");
        QTest::addColumn<int>("T");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QRect>("strip");
        QTest::addColumn<QRect>("picture");
        const QSize s(1024, 768);
        QTest::newRow("left") << s << 0 << 102 << true << QRect(0, 0, 102, 768)
                              << QRect(103, 0, 921, 768);
        QTest::newRow("right") << s << 1 << 102 << true << QRect(922, 0, 102, 768)
                               << QRect(0, 0, 921, 768);
        QTest::newRow("top 76") << s << 2 << 76 << true << QRect(0, 0, 1024, 76)
                                << QRect(0, 77, 1024, 691);
        QTest::newRow("bottom 76")
            << s << 3 << 76 << true << QRect(0, 692, 1024, 76) << QRect(0, 0, 1024, 691);
        QTest::newRow("strip of 0 pixels")
            << s << 0 << 0 << true << QRect(0, 0, 0, 768) << QRect(1, 0, 1023, 768);
        QTest::newRow("strip wider than the screen")
            << s << 1 << 5000 << true << QRect(1, 0, 1023, 768) << QRect(0, 0, 0, 768);
        QTest::newRow("negative strip")
            << s << 2 << kMin << true << QRect(0, 0, 1024, 0) << QRect(0, 1, 1024, 767);
        QTest::newRow("largest strip at the bottom")
            << s << 3 << kMax << true << QRect(0, 1, 1024, 767) << QRect(0, 0, 1024, 0);
        QTest::newRow("edge 4") << s << 4 << 76 << false << QRect() << QRect();
        QTest::newRow("edge -1") << s << -1 << 76 << false << QRect() << QRect();
    }
    void screenSplit() {
        QFETCH(QSize, screen);
        QFETCH(int, edge);
        QFETCH(int, T);
        QFETCH(bool, valid);
        QFETCH(QRect, strip);
        QFETCH(QRect, picture);
        const ScreenSplit sp = presentation_geo::screenSplit(screen, edge, T);
        QCOMPARE(sp.valid, valid);
        QCOMPARE(QRect(sp.stripPos, QSize(sp.tmb_dx, sp.tmb_dy)), strip);
        QCOMPARE(QRect(sp.picturePos, QSize(sp.pct_dx, sp.pct_dy)), picture);
    }

    void stripGrid_data() {
        QTest::addColumn<QSize>("strip");
        QTest::addColumn<int>("edge");
        QTest::addColumn<int>("n");
        QTest::addColumn<QSize>("cell");
        QTest::addColumn<QList<int>>("ks");
        QTest::addColumn<QList<QRect>>("rects");
        QTest::newRow("left, 20 pictures")
            << QSize(102, 768) << 0 << 21 << QSize(49, 67) << QList<int>{1, 2, 3, 21}
            << QList<QRect>{{1, 1, 49, 67}, {52, 1, 49, 67}, {1, 70, 49, 67}, {1, 691, 49, 67}};
        QTest::newRow("bottom, 20 pictures")
            << QSize(1024, 76) << 3 << 21 << QSize(91, 36) << QList<int>{1, 2, 3, 21}
            << QList<QRect>{{1, 1, 91, 36}, {1, 39, 91, 36}, {94, 1, 91, 36}, {931, 1, 91, 36}};
        QTest::newRow("right, 3 pictures")
            << QSize(102, 768) << 1 << 4 << QSize(100, 190) << QList<int>{1, 4}
            << QList<QRect>{{1, 1, 100, 190}, {1, 577, 100, 190}};
        QTest::newRow("top, 1 picture")
            << QSize(1024, 76) << 2 << 2 << QSize(510, 74) << QList<int>{1, 2}
            << QList<QRect>{{1, 1, 510, 74}, {513, 1, 510, 74}};
        // Edge 1 halves to 0: the same wide strip is laid out like a left one, row by row.
        QTest::newRow("edge 1 on a wide strip")
            << QSize(1024, 76) << 1 << 21 << QSize(71, 36) << QList<int>{1, 14, 15, 21}
            << QList<QRect>{{1, 1, 71, 36}, {950, 1, 71, 36}, {1, 39, 71, 36}, {439, 39, 71, 36}};
        QTest::newRow("top strip with more cells than pixels")
            << QSize(20, 100) << 2 << 30 << QSize(8, 4) << QList<int>{1, 2, 3, 30}
            << QList<QRect>{{1, 1, 8, 4}, {11, 1, 8, 4}, {1, 7, 8, 4}, {11, 85, 8, 4}};
    }
    void stripGrid() {
        QFETCH(QSize, strip);
        QFETCH(int, edge);
        QFETCH(int, n);
        QFETCH(QSize, cell);
        QFETCH(QList<int>, ks);
        QFETCH(QList<QRect>, rects);
        const StripGrid g = presentation_geo::stripGrid(strip.width(), strip.height(), edge, n);
        QCOMPARE(int(g.cells.size()), n);
        QCOMPARE(QSize(g.cw, g.ch), cell);
        for (int i = 0; i < ks.size(); ++i)
            QCOMPARE(g.cells[size_t(ks[i] - 1)], rects[i]);
        // Every cell inside the strip, none touching the one before.
        for (size_t i = 0; i < g.cells.size(); ++i) {
            QVERIFY(QRect(QPoint(0, 0), strip).contains(g.cells[i]));
            if (i > 0) QVERIFY(!g.cells[i].intersects(g.cells[i - 1]));
        }
    }

    void stripWithoutCells_data() {
        QTest::addColumn<int>("dx");
        QTest::addColumn<int>("dy");
        QTest::addColumn<int>("edge");
        QTest::addColumn<int>("n");
        QTest::newRow("no height (the loop would never end)") << 102 << 0 << 0 << 21;
        QTest::newRow("no width") << 0 << 768 << 2 << 21;
        QTest::newRow("negative size") << -102 << -768 << 0 << 21;
        QTest::newRow("edge 4") << 102 << 768 << 4 << 21;
        QTest::newRow("edge -1") << 102 << 768 << -1 << 21;
        QTest::newRow("no cells") << 102 << 768 << 0 << 0;
        QTest::newRow("negative n") << 102 << 768 << 0 << -5;
        QTest::newRow("more than the largest count") << kMax << kMax << 2 << kMaxCells + 1;
        QTest::newRow("n at the integer limit") << 102 << 768 << 0 << kMax;
        QTest::newRow("cells below one pixel") << 102 << 768 << 0 << 20000;
        QTest::newRow("hair-thin endless strip") << kMax << 1 << 0 << 1;
        QTest::newRow("one pixel wide, tall") << 1 << kMax << 3 << 7;
    }
    void stripWithoutCells() {
        QFETCH(int, dx);
        QFETCH(int, dy);
        QFETCH(int, edge);
        QFETCH(int, n);
        const StripGrid g = presentation_geo::stripGrid(dx, dy, edge, n);
        QVERIFY(g.cells.empty());
        QCOMPARE(g.cw, 0);
        QCOMPARE(g.ch, 0);
    }

    // The largest count on the largest strip still gives every cell, inside the strip.
    void largestGrid() {
        const StripGrid g = presentation_geo::stripGrid(kMax, kMax, 2, kMaxCells);
        QCOMPARE(int(g.cells.size()), kMaxCells);
        QVERIFY(g.cw > 0 && g.ch > 0);
        const QRect strip(0, 0, kMax, kMax);
        QVERIFY(strip.contains(g.cells.front()));
        QVERIFY(strip.contains(g.cells.back()));
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
        QTest::newRow("3 top left") << w << 3.0 << 24.0 << QRect(20, 20, 512, 32) << "Mare" << L;
        QTest::newRow("4 top centre")
            << w << 4.0 << 24.0 << QRect(256, 20, 512, 32) << " Mare" << C;
        QTest::newRow("5 top right") << w << 5.0 << 24.0 << QRect(492, 20, 512, 32) << "Mare " << R;
        QTest::newRow("centred on 1023 pixels")
            << QSize(1023, 691) << 4.0 << 12.0 << QRect(256, 20, 511, 20) << " Mare" << C;
        QTest::newRow("size 30 and tab")
            << w << 0.0 << Val("30\t") << QRect(20, 710, 512, 38) << "Mare" << L;
        QTest::newRow("empty size and position")
            << w << Val("") << Val("") << QRect(20, 740, 512, 8) << "Mare" << L;
        QTest::newRow("7 stays parked")
            << w << 7.0 << 24.0 << QRect(-20, -20, 512, 32) << "Mare" << L;
        QTest::newRow("2.5 stays parked")
            << w << 2.5 << 24.0 << QRect(-20, -20, 512, 32) << "Mare" << L;
        QTest::newRow("not a number stays parked")
            << w << std::nan("") << 24.0 << QRect(-20, -20, 512, 32) << "Mare" << L;
        QTest::newRow("negative size: no height")
            << w << 3.0 << -100.0 << QRect(20, 20, 512, 0) << "Mare" << L;
        QTest::newRow("huge size held")
            << w << 3.0 << 1e300 << QRect(20, 20, 512, kFar) << "Mare" << L;
    }
    void noteLayout() {
        QFETCH(QSize, window);
        QFETCH(double, position);
        QFETCH(double, size);
        QFETCH(QRect, label);
        QFETCH(QString, text);
        QFETCH(int, align);
        for (int ombra : {0, 5}) {
            for (bool fill : {false, true}) {
                const NoteLayout n =
                    presentation_geo::noteLayout(window, "Mare", size, position, ombra, fill);
                QVERIFY(n.shown);
                QCOMPARE(n.label, label);
                QCOMPARE(n.text, text);
                QCOMPARE(n.align, align);
                QCOMPARE(n.shadow, label.translated(ombra, ombra));
                QCOMPARE(n.box, fill ? label : kParked);
            }
        }
    }

    void noteWithoutText() {
        const NoteLayout n = presentation_geo::noteLayout(QSize(1024, 768), "", 24, 1, 5, true);
        QVERIFY(!n.shown);
        QCOMPARE(n.text, QString());
        QCOMPARE(n.label, QRect(-20, -20, 0, 0));
        QCOMPARE(n.shadow, QRect(-20, -20, 0, 0));
        QCOMPARE(n.box, QRect(-20, -20, 0, 0));
    }

    void shadowOffsetFromAFileIsHeld() {
        const NoteLayout n =
            presentation_geo::noteLayout(QSize(1024, 768), "x", 12, 3, kMax, false);
        QCOMPARE(n.shadow, QRect(20 + kFar, 20 + kFar, 512, 20));
    }

    void frameRect_data() {
        QTest::addColumn<QList<int>>("stored"); // left, top, width, height
        QTest::addColumn<QRect>("expected");
        QTest::newRow("as stored") << QList<int>{73, 109, 366, 257} << QRect(73, 109, 366, 257);
        QTest::newRow("corners the other way round")
            << QList<int>{439, 366, -366, -257} << QRect(73, 109, 366, 257);
        QTest::newRow("second corner left, below")
            << QList<int>{439, 109, -366, 257} << QRect(73, 109, 366, 257);
        QTest::newRow("same point twice") << QList<int>{50, 60, 0, 0} << QRect(50, 60, 0, 0);
        QTest::newRow("far away from a file")
            << QList<int>{kMax, kMin, kMax, kMin} << QRect(kFar, -kFar, 0, 0);
        QTest::newRow("reaching far right")
            << QList<int>{10, 20, kMax, 30} << QRect(10, 20, kFar - 10, 30);
    }
    void frameRect() {
        QFETCH(QList<int>, stored);
        QFETCH(QRect, expected);
        QCOMPARE(presentation_geo::frameRect(stored[0], stored[1], stored[2], stored[3]), expected);
    }
};

QTEST_GUILESS_MAIN(PresentationGeometryTest)
#include "presentation_geometry_test.moc"

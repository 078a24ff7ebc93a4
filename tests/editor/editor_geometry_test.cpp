#include "framework/values.h"
#include "windows/editor/editor_geometry.h"
#include "windows/setup/setup_geometry.h"

#include <QTest>
#include <cmath>
#include <limits>

using namespace editor_geo;

namespace {
constexpr int kMax = std::numeric_limits<int>::max();
constexpr int kMin = std::numeric_limits<int>::min();
// The editor's preview of a 1024 x 768 screen with a 100-pixel strip at the left.
const QRect kPreview(24, 44, 252, 210);
// A click at (x, y) of the preview moves a handle there; its centre is the frame's corner.
QPoint cornerOfClick(QRect preview, QPoint click) {
    return handleCentre(handleTopLeft(preview.topLeft() + click));
}
} // namespace

class EditorGeometryTest : public QObject {
    Q_OBJECT
  private slots:
    void pictureArea_data() {
        QTest::addColumn<int>("edge");
        QTest::addColumn<int>("T");
        QTest::addColumn<QSize>("area");
        const QSize previous(800, 600);
        QTest::newRow("left 100") << 0 << 100 << QSize(923, 768);
        QTest::newRow("right 100") << 1 << 100 << QSize(923, 768);
        QTest::newRow("top 76") << 2 << 76 << QSize(1024, 691);
        QTest::newRow("bottom 76") << 3 << 76 << QSize(1024, 691);
        QTest::newRow("edge 4 keeps the previous area") << 4 << 76 << previous;
        QTest::newRow("edge -1 keeps the previous area") << -1 << 76 << previous;
        QTest::newRow("strip beyond the screen") << 0 << kMax << QSize(0, 768);
    }
    void pictureArea() {
        QFETCH(int, edge);
        QFETCH(int, T);
        QFETCH(QSize, area);
        QCOMPARE(editor_geo::pictureArea(QSize(1024, 768), edge, T, QSize(800, 600)), area);
    }

    // Open steps 3 and 4 together: the area beside the strip, previewed in its box.
    void previewOfTheArea() {
        const QSize area = editor_geo::pictureArea(QSize(1024, 768), 0, 100, QSize());
        const QRect r = setup_geo::screenPreview(area, kPreviewBox, kPreviewCentre).rect();
        QCOMPARE(r, kPreview);
    }

    void markerPos_data() {
        QTest::addColumn<QRect>("preview");
        QTest::addColumn<double>("position");
        QTest::addColumn<bool>("placed");
        QTest::addColumn<QPoint>("topLeft");
        const QRect p = kPreview;
        QTest::newRow("0 bottom left") << p << 0.0 << true << QPoint(34, 224);
        QTest::newRow("2 bottom right") << p << 2.0 << true << QPoint(226, 224);
        QTest::newRow("4 top centre") << p << 4.0 << true << QPoint(130, 54);
        QTest::newRow("5 top right") << p << 5.0 << true << QPoint(226, 54);
        QTest::newRow("4 on a wider preview stays at 130")
            << QRect(10, 68, 280, 161) << 4.0 << true << QPoint(130, 78);
        QTest::newRow("empty field reads 0") << p << Val("") << true << QPoint(34, 224);
        QTest::newRow("7 from a file") << p << 7.0 << false << QPoint(-50, -50);
        QTest::newRow("2.5") << p << 2.5 << false << QPoint(-50, -50);
        QTest::newRow("not a number") << p << std::nan("") << false << QPoint(-50, -50);
    }
    void markerPos() {
        QFETCH(QRect, preview);
        QFETCH(double, position);
        QFETCH(bool, placed);
        QFETCH(QPoint, topLeft);
        const Marker m = editor_geo::markerPos(position, preview);
        QCOMPARE(m.placed, placed);
        QCOMPARE(m.topLeft, topLeft);
    }

    void radioIndex_data() {
        QTest::addColumn<double>("position");
        QTest::addColumn<int>("index");
        QTest::newRow("4") << 4.0 << 4;
        QTest::newRow("empty") << Val("") << 0;
        QTest::newRow("2.5 drops the fraction") << 2.5 << 2;
        QTest::newRow("6") << 6.0 << -1;
        QTest::newRow("-1") << -1.0 << -1;
        QTest::newRow("huge") << 1e300 << -1;
    }
    void radioIndex() {
        QFETCH(double, position);
        QFETCH(int, index);
        QCOMPARE(editor_geo::radioIndex(position), index);
    }

    void frameLines_data() {
        QTest::addColumn<QPoint>("c0");
        QTest::addColumn<QPoint>("c1");
        QTest::newRow("down right") << QPoint(44, 74) << QPoint(144, 144);
        QTest::newRow("up left") << QPoint(144, 144) << QPoint(44, 74);
        QTest::newRow("same point") << QPoint(60, 60) << QPoint(60, 60);
    }
    void frameLines() {
        QFETCH(QPoint, c0);
        QFETCH(QPoint, c1);
        const FrameLines f = editor_geo::frameLines(c0, c1);
        QCOMPARE(f.l[0], QLine(c0.x(), c0.y(), c1.x(), c0.y()));
        QCOMPARE(f.l[1], QLine(c0.x(), c0.y(), c0.x(), c1.y()));
        QCOMPARE(f.l[2], QLine(c1.x(), c0.y(), c1.x(), c1.y()));
        QCOMPARE(f.l[3], QLine(c0.x(), c1.y(), c1.x(), c1.y()));
        QCOMPARE(f.corner0(), c0);
        QCOMPARE(f.corner1(), c1);
        QVERIFY(f.placed());
    }

    void handleOffPreview_data() {
        QTest::addColumn<QPoint>("handle1");
        QTest::newRow("loaded without a rectangle") << QPoint(-50, 225);
        QTest::newRow("layout place") << QPoint(-20, 225);
        QTest::newRow("above") << QPoint(40, -30);
    }
    void handleOffPreview() {
        QFETCH(QPoint, handle1);
        const QPoint c0 = handleCentre(QPoint(40, 70));
        QVERIFY(!editor_geo::frameLines(c0, handleCentre(handle1)).placed());
        QVERIFY(!editor_geo::frameLines(handleCentre(handle1), c0).placed());
    }

    void previewToArea_data() {
        QTest::addColumn<QPoint>("click0");
        QTest::addColumn<QPoint>("click1");
        QTest::addColumn<QRect>("preview");
        QTest::addColumn<int>("pct_dx");
        QTest::addColumn<QList<int>>("stored"); // left, top, width, height
        const QRect p = kPreview;
        QTest::newRow("two clicks")
            << QPoint(20, 30) << QPoint(120, 100) << p << 923 << QList<int>{73, 109, 366, 257};
        QTest::newRow("the other way round")
            << QPoint(120, 100) << QPoint(20, 30) << p << 923 << QList<int>{439, 366, -366, -257};
        QTest::newRow("same point twice")
            << QPoint(50, 50) << QPoint(50, 50) << p << 923 << QList<int>{183, 183, 0, 0};
        QTest::newRow("top-left point to the last pixel")
            << QPoint(0, 0) << QPoint(251, 209) << p << 923 << QList<int>{0, 0, 919, 765};
        QTest::newRow("preview without width")
            << QPoint(20, 30) << QPoint(120, 100) << QRect(24, 44, 0, 210) << 923
            << QList<int>{0, 0, 0, 0};
    }
    void previewToArea() {
        QFETCH(QPoint, click0);
        QFETCH(QPoint, click1);
        QFETCH(QRect, preview);
        QFETCH(int, pct_dx);
        QFETCH(QList<int>, stored);
        const FrameLines f =
            editor_geo::frameLines(cornerOfClick(preview, click0), cornerOfClick(preview, click1));
        QVERIFY(f.placed());
        const AreaRect a = editor_geo::previewToArea(f.corner0(), f.corner1(), preview, pct_dx);
        QCOMPARE(a, (AreaRect{stored[0], stored[1], stored[2], stored[3]}));
    }

    void storedToHandles_data() {
        QTest::addColumn<QList<double>>("stored"); // left, top, width, height
        QTest::addColumn<int>("pct_dx");
        QTest::addColumn<QPoint>("h0"); // relative to the preview's top-left
        QTest::addColumn<QPoint>("h1");
        QTest::newRow("r = 0.25") << QList<double>{100, 200, 400, 300} << 1000 << QPoint(21, 46)
                                  << QPoint(121, 121);
        QTest::newRow("negative size")
            << QList<double>{400, 300, -300, -250} << 1000 << QPoint(96, 71) << QPoint(21, 9);
        QTest::newRow("no picture area")
            << QList<double>{100, 200, 400, 300} << 0 << QPoint(-4, -4) << QPoint(-4, -4);
        QTest::newRow("empty fields")
            << QList<double>{0, 0, 0, 0} << 1000 << QPoint(-4, -4) << QPoint(-4, -4);
    }
    void storedToHandles() {
        QFETCH(QList<double>, stored);
        QFETCH(int, pct_dx);
        QFETCH(QPoint, h0);
        QFETCH(QPoint, h1);
        const QRect preview(10, 44, 250, 187);
        const QPoint lt = preview.topLeft();
        const Handles h = editor_geo::storedToHandles(stored[0], stored[1], stored[2], stored[3],
                                                      preview, pct_dx);
        QCOMPARE(h.h0, lt + h0);
        QCOMPARE(h.h1, lt + h1);
        if (QTest::currentDataTag() == QByteArray("r = 0.25")) {
            const FrameLines f = editor_geo::frameLines(handleCentre(h.h0), handleCentre(h.h1));
            QCOMPARE(f.corner0(), lt + QPoint(25, 50));
            QCOMPARE(f.corner1(), lt + QPoint(125, 125));
        }
    }

    void hostileStoredRectangleStaysInRange() {
        const Handles h = editor_geo::storedToHandles(1e300, -1e300, 1e300, 1e300, kPreview, 1);
        QCOMPARE(h.h0, QPoint(kFar, -kFar));
        QCOMPARE(h.h1, QPoint(kFar, 44 + kMin + kMax - 4)); // the two extremes cancel out
        QCOMPARE(handleCentre(h.h0), QPoint(kFar, -kFar + 4));
    }

    // Storing a frame and loading it again puts each corner back within a pixel.
    void storeThenLoadRoundTrip() {
        for (int x = 0; x <= kPreview.width(); x += 7)
            for (int y = 0; y <= kPreview.height(); y += 5) {
                const QPoint c0 = cornerOfClick(kPreview, QPoint(x, y));
                const QPoint c1 = cornerOfClick(kPreview, QPoint(kPreview.width() - x, y / 2));
                const AreaRect a = editor_geo::previewToArea(c0, c1, kPreview, 923);
                const Handles h =
                    editor_geo::storedToHandles(a.left, a.top, a.width, a.height, kPreview, 923);
                const QPoint back0 = handleCentre(h.h0), back1 = handleCentre(h.h1);
                const auto near = [](QPoint a, QPoint b) {
                    return std::abs(a.x() - b.x()) <= 2 && std::abs(a.y() - b.y()) <= 2;
                };
                QVERIFY2(near(back0, c0) && near(back1, c1),
                         qPrintable(QString("click %1,%2").arg(x).arg(y)));
            }
    }

    void sizeRow_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("row");
        QTest::newRow("12") << "12" << 0;
        QTest::newRow("30 and tab") << "30\t" << 3;
        QTest::newRow("72") << "72" << 10;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("13 rounds down") << "13" << 0;
        QTest::newRow("6 is before the list") << "6" << -1;
        QTest::newRow("78 is after the list") << "78" << -1;
        QTest::newRow("negative") << "-12" << -1;
        QTest::newRow("huge") << "1e300" << -1;
    }
    void sizeRow() {
        QFETCH(QString, stored);
        QFETCH(int, row);
        QCOMPARE(editor_geo::sizeRow(Val(stored)), row);
    }

    void borderWidth_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("width");
        QTest::newRow("9") << "9" << 9;
        QTest::newRow("empty reads 0, shown as 1") << "" << 1;
        QTest::newRow("12 held at 9") << "12" << 9;
        QTest::newRow("fraction dropped") << "7.9" << 7;
        QTest::newRow("negative") << "-3" << 1;
    }
    void borderWidth() {
        QFETCH(QString, stored);
        QFETCH(int, width);
        QCOMPARE(editor_geo::borderWidth(Val(stored)), width);
    }
};

QTEST_GUILESS_MAIN(EditorGeometryTest)
#include "editor_geometry_test.moc"

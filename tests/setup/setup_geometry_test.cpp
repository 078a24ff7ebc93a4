#include "framework/values.h"
#include "windows/setup/setup_geometry.h"

#include <QTest>
#include <limits>

using setup_geo::PreviewRect;

namespace {
constexpr int kMax = std::numeric_limits<int>::max();
constexpr int kMin = std::numeric_limits<int>::min();
} // namespace

class SetupGeometryTest : public QObject {
    Q_OBJECT
  private slots:
    void screenPreview_data() {
        QTest::addColumn<QSize>("source");
        QTest::addColumn<QSize>("box");
        QTest::addColumn<QPoint>("centre");
        QTest::addColumn<QRect>("expected");
        const QSize box = setup_geo::kPreviewBox;
        const QPoint c = setup_geo::kPreviewCentre;
        QTest::newRow("1024 x 768") << QSize(1024, 768) << box << c << QRect(10, 10, 320, 240);
        QTest::newRow("1280 x 1024") << QSize(1280, 1024) << box << c << QRect(20, 10, 300, 240);
        QTest::newRow("1440 x 900") << QSize(1440, 900) << box << c << QRect(10, 30, 320, 200);
        QTest::newRow("1366 x 768") << QSize(1366, 768) << box << c << QRect(10, 40, 320, 179);
        QTest::newRow("editor, 923 x 768")
            << QSize(923, 768) << QSize(280, 210) << QPoint(150, 149) << QRect(24, 44, 252, 210);
        QTest::newRow("portrait screen") << QSize(768, 1024) << box << c << QRect(80, 10, 180, 240);
        QTest::newRow("screen without width") << QSize(0, 768) << box << c << QRect(170, 130, 0, 0);
        QTest::newRow("negative height") << QSize(1024, -768) << box << c << QRect(170, 130, 0, 0);
        QTest::newRow("box without size")
            << QSize(1024, 768) << QSize(0, 0) << c << QRect(170, 130, 0, 0);
        QTest::newRow("one-pixel-high screen")
            << QSize(kMax, 1) << box << c << QRect(10, 130, 320, 0);
    }
    void screenPreview() {
        QFETCH(QSize, source);
        QFETCH(QSize, box);
        QFETCH(QPoint, centre);
        QFETCH(QRect, expected);
        const PreviewRect p = setup_geo::screenPreview(source, box, centre);
        QCOMPARE(p.rect(), expected);
        QCOMPARE(p.xtl, expected.left());
        QCOMPARE(p.ytl, expected.top());
        QCOMPARE(p.xbr, expected.left() + expected.width());
        QCOMPARE(p.ybr, expected.top() + expected.height());
    }

    void stripPreview_data() {
        QTest::addColumn<int>("edge");
        QTest::addColumn<int>("percent");
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<bool>("moved");
        QTest::addColumn<QRect>("rec_min");
        QTest::addColumn<QString>("testo_min");
        QTest::addColumn<QString>("testo_scr");
        const QSize s(1024, 768);
        QTest::newRow("left 10") << 0 << 10 << s << true << QRect(10, 10, 32, 240) << "102 pixels"
                                 << "922 x 768 pixels";
        QTest::newRow("right 10") << 1 << 10 << s << true << QRect(298, 10, 32, 240) << "102 pixels"
                                  << "922 x 768 pixels";
        QTest::newRow("top 50") << 2 << 50 << s << true << QRect(10, 10, 320, 120) << "384 pixels"
                                << "1024 x 384 pixels";
        QTest::newRow("bottom 10") << 3 << 10 << s << true << QRect(10, 226, 320, 24) << "76 pixels"
                                   << "1024 x 692 pixels";
        QTest::newRow("right 5, fraction dropped")
            << 1 << 5 << s << true << QRect(314, 10, 16, 240) << "51 pixels"
            << "973 x 768 pixels";
        QTest::newRow("bottom 33 on 1366 x 768")
            << 3 << 33 << QSize(1366, 768) << true << QRect(10, 160, 320, 59) << "253 pixels"
            << "1366 x 515 pixels";
        QTest::newRow("edge 4 from a file") << 4 << 10 << s << false << QRect() << "0 pixels"
                                            << "0 x 0 pixels";
        QTest::newRow("percent beyond 100 is the whole screen")
            << 0 << kMax << s << true << QRect(10, 10, 320, 240) << "1024 pixels"
            << "0 x 768 pixels";
        QTest::newRow("negative percent is no strip")
            << 3 << kMin << s << true << QRect(10, 250, 320, 0) << "0 pixels"
            << "1024 x 768 pixels";
    }
    void stripPreview() {
        QFETCH(int, edge);
        QFETCH(int, percent);
        QFETCH(QSize, screen);
        QFETCH(bool, moved);
        QFETCH(QRect, rec_min);
        QFETCH(QString, testo_min);
        QFETCH(QString, testo_scr);
        const QRect preview =
            setup_geo::screenPreview(screen, setup_geo::kPreviewBox, setup_geo::kPreviewCentre)
                .rect();
        const setup_geo::StripPreview p = setup_geo::stripPreview(edge, percent, preview, screen);
        QCOMPARE(p.moved, moved);
        if (moved) QCOMPARE(p.rec_min, rec_min);
        QCOMPARE(p.testo_min, testo_min);
        QCOMPARE(p.testo_scr, testo_scr);
        // The numbers behind the texts, and the strip pixels "Start presentation" reads back.
        QCOMPARE(setup_geo::screenText(QSize(p.areaW, p.areaH)), testo_scr);
        QCOMPARE(toInt(Val(p.testo_min)), p.strip);
    }

    void nearestEdge_data() {
        QTest::addColumn<QPoint>("click");
        QTest::addColumn<QSize>("preview");
        QTest::addColumn<int>("edge");
        const QSize s(320, 240);
        QTest::newRow("centre: top before bottom") << QPoint(160, 120) << s << 2;
        QTest::newRow("x 0, y 0: left before top") << QPoint(0, 0) << s << 0;
        QTest::newRow("x 0 anywhere") << QPoint(0, 239) << s << 0;
        QTest::newRow("left before right") << QPoint(100, 150) << QSize(200, 300) << 0;
        QTest::newRow("right edge") << QPoint(320, 120) << s << 1;
        QTest::newRow("near the bottom") << QPoint(10, 239) << s << 3;
        QTest::newRow("top right corner: top") << QPoint(319, 0) << s << 2;
        QTest::newRow("just right of centre") << QPoint(161, 200) << QSize(320, 400) << 1;
        QTest::newRow("far negative x") << QPoint(kMin, 0) << QSize(kMax, 0) << 0;
        QTest::newRow("differences beyond int") << QPoint(kMax, 5) << QSize(kMin, 10) << 1;
    }
    void nearestEdge() {
        QFETCH(QPoint, click);
        QFETCH(QSize, preview);
        QFETCH(int, edge);
        QCOMPARE(setup_geo::nearestEdge(click.x(), click.y(), preview.width(), preview.height()),
                 edge);
    }

    // A click on the preview chooses the edge, and the strip appears along that edge.
    void clickPlacesStripOnItsEdge() {
        const QSize screen(1024, 768);
        const QRect r =
            setup_geo::screenPreview(screen, setup_geo::kPreviewBox, setup_geo::kPreviewCentre)
                .rect();
        const QPoint clicks[] = {{5, 120}, {315, 120}, {160, 5}, {160, 235}};
        for (int expected = 0; expected < 4; ++expected) {
            const QPoint c = clicks[expected];
            const int edge = setup_geo::nearestEdge(c.x(), c.y(), r.width(), r.height());
            QCOMPARE(edge, expected);
            const QRect m = setup_geo::stripPreview(edge, 20, r, screen).rec_min;
            QVERIFY(r.contains(m));
            const QPoint inWindow = c + r.topLeft();
            QVERIFY2(m.contains(inWindow), qPrintable(QString("edge %1").arg(edge)));
        }
    }
};

QTEST_GUILESS_MAIN(SetupGeometryTest)
#include "setup_geometry_test.moc"

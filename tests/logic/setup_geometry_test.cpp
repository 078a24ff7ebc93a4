#include "logic/geometry/setup_geometry.h"
#include "logic/state/model.h"

#include <QTest>

class SetupGeometryTest : public QObject {
    Q_OBJECT
  private slots:
    // The screen scaled into its box, centred; the editor's preview of its picture area too.
    void screenPreview() {
        const QSize box = setup_geo::kPreviewBox;
        const QPoint c = setup_geo::kPreviewCentre;
        const auto preview = [](QSize source, QSize box, QPoint centre) {
            const setup_geo::PreviewRect p = setup_geo::screenPreview(source, box, centre);
            return QList<int>{p.xtl, p.xbr, p.ytl, p.ybr};
        };
        QCOMPARE(preview(QSize(1024, 768), box, c), QList<int>({10, 330, 10, 250}));
        QCOMPARE(preview(QSize(1280, 1024), box, c), QList<int>({20, 320, 10, 250}));
        QCOMPARE(preview(QSize(1366, 768), box, c), QList<int>({10, 330, 40, 219}));
        QCOMPARE(preview(QSize(923, 768), QSize(280, 210), QPoint(150, 149)),
                 QList<int>({24, 276, 44, 254}));
        QCOMPARE(setup_geo::screenPreview(QSize(1024, 768), box, c).rect(),
                 QRect(10, 10, 320, 240));
    }

    void stripPreview_data() {
        QTest::addColumn<int>("edge");
        QTest::addColumn<int>("percent");
        QTest::addColumn<QRect>("rec_min"); // invalid: the strip preview is not moved
        QTest::addColumn<QString>("testo_min");
        QTest::addColumn<QString>("testo_scr");
        QTest::newRow("left 10") << int(edge::Left) << 10 << QRect(10, 10, 32, 240) << "102 pixels"
                                 << "922 x 768 pixels";
        QTest::newRow("top 50") << int(edge::Top) << 50 << QRect(10, 10, 320, 120) << "384 pixels"
                                << "1024 x 384 pixels";
        QTest::newRow("bottom 10")
            << int(edge::Bottom) << 10 << QRect(10, 226, 320, 24) << "76 pixels"
            << "1024 x 692 pixels";
        QTest::newRow("right 5, fraction dropped")
            << int(edge::Right) << 5 << QRect(314, 10, 16, 240) << "51 pixels"
            << "973 x 768 pixels";
        QTest::newRow("edge 4 from a file") << 4 << 10 << QRect() << "0 pixels"
                                            << "0 x 0 pixels";
    }
    void stripPreview() {
        QFETCH(int, edge);
        QFETCH(int, percent);
        QFETCH(QRect, rec_min);
        QFETCH(QString, testo_min);
        QFETCH(QString, testo_scr);
        const setup_geo::StripPreview p =
            setup_geo::stripPreview(edge, percent, QRect(10, 10, 320, 240), QSize(1024, 768));
        QCOMPARE(p.moved, rec_min.isValid());
        if (p.moved) QCOMPARE(p.rec_min, rec_min);
        QCOMPARE(p.testo_min, testo_min);
        QCOMPARE(p.testo_scr, testo_scr);
    }

    // The nearest edge of a 320 x 240 preview; ties go left, right, top, bottom in that order.
    void nearestEdge() {
        const QList<std::pair<QPoint, int>> clicks{{{160, 120}, edge::Top},
                                                   {{0, 0}, edge::Left},
                                                   {{0, 239}, edge::Left},
                                                   {{320, 120}, edge::Right},
                                                   {{10, 239}, edge::Bottom}};
        for (const auto& [click, edge] : clicks)
            QCOMPARE(setup_geo::nearestEdge(click.x(), click.y(), 320, 240), edge);
    }
};

QTEST_GUILESS_MAIN(SetupGeometryTest)
#include "setup_geometry_test.moc"

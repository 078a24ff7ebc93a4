// Composition of the presentation's pictures: fitting onto a fill, device pixels, frames.
#include "windows/presentation/picture_compose.h"

#include <QTest>

namespace {
QImage filled(QSize size, QColor c) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(c);
    return image;
}
} // namespace

class PictureComposeTest : public QObject {
    Q_OBJECT
  private slots:
    void fitted_data() {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("decoded"); // may be smaller than the picture (scaled decode)
        QTest::addColumn<QSize>("area");
        QTest::addColumn<qreal>("dpr");
        QTest::addColumn<QSize>("device");
        QTest::addColumn<QRect>("drawn"); // device pixels
        QTest::newRow("100x50 enlarged into 1000x700")
            << QSize(100, 50) << QSize(100, 50) << QSize(1000, 700) << 1.0 << QSize(1000, 700)
            << QRect(0, 100, 1000, 500);
        QTest::newRow("tall picture centred across")
            << QSize(100, 400) << QSize(100, 400) << QSize(921, 768) << 1.0 << QSize(921, 768)
            << QRect(364, 0, 192, 768);
        QTest::newRow("decoded smaller than its full size")
            << QSize(4000, 3000) << QSize(500, 375) << QSize(1000, 750) << 1.0 << QSize(1000, 750)
            << QRect(0, 0, 1000, 750);
        QTest::newRow("device pixel ratio 2")
            << QSize(100, 50) << QSize(100, 50) << QSize(500, 350) << 2.0 << QSize(1000, 700)
            << QRect(0, 100, 1000, 500);
        QTest::newRow("ratio 1.5 rounds the device size up")
            << QSize(10, 10) << QSize(10, 10) << QSize(101, 101) << 1.5 << QSize(152, 152)
            << QRect(0, 0, 152, 152);
    }
    void fitted() {
        QFETCH(QSize, picture);
        QFETCH(QSize, decoded);
        QFETCH(QSize, area);
        QFETCH(qreal, dpr);
        QFETCH(QSize, device);
        QFETCH(QRect, drawn);
        const QImage out = picture_compose::composeFitted(filled(decoded, Qt::green), picture, area,
                                                          dpr, Qt::blue);
        QCOMPARE(out.size(), device);
        QCOMPARE(out.devicePixelRatio(), dpr);
        QCOMPARE(out.deviceIndependentSize(), QSizeF(device) / dpr);
        const QColor green(Qt::green), blue(Qt::blue);
        QCOMPARE(out.pixelColor(drawn.topLeft()), green);
        QCOMPARE(out.pixelColor(drawn.bottomRight()), green);
        QCOMPARE(out.pixelColor(drawn.center()), green);
        if (drawn.left() > 0) QCOMPARE(out.pixelColor(drawn.left() - 1, drawn.top()), blue);
        if (drawn.top() > 0) QCOMPARE(out.pixelColor(drawn.left(), drawn.top() - 1), blue);
        if (drawn.right() < device.width() - 1)
            QCOMPARE(out.pixelColor(drawn.right() + 1, drawn.bottom()), blue);
        if (drawn.bottom() < device.height() - 1)
            QCOMPARE(out.pixelColor(drawn.right(), drawn.bottom() + 1), blue);
    }

    void nothingToDraw() {
        const QImage fillOnly =
            picture_compose::composeFitted(QImage(), QSize(10, 10), QSize(20, 10), 1.0, Qt::red);
        QCOMPARE(fillOnly.size(), QSize(20, 10));
        QCOMPARE(fillOnly, filled(QSize(20, 10), Qt::red));
        QVERIFY(picture_compose::composeFitted(filled(QSize(5, 5), Qt::red), QSize(5, 5),
                                               QSize(0, 768), 1.0, Qt::red)
                    .isNull());
    }

    void frame_data() {
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<int>("thickness");
        QTest::addColumn<qreal>("dpr");
        QTest::addColumn<QList<QPoint>>("framed"); // device pixels
        QTest::addColumn<QList<QPoint>>("clear");
        QTest::newRow("line of 3")
            << QRect(10, 20, 40, 30) << 3 << 1.0
            << QList<QPoint>{{10, 20}, {12, 35}, {49, 49}, {30, 47}}
            << QList<QPoint>{{13, 35}, {30, 23}, {46, 35}, {9, 20}, {50, 49}};
        QTest::newRow("line reaching half fills")
            << QRect(10, 10, 10, 40) << 5 << 1.0 << QList<QPoint>{{15, 30}}
            << QList<QPoint>{{20, 30}};
        QTest::newRow("no thickness draws nothing")
            << QRect(10, 10, 40, 40) << 0 << 1.0 << QList<QPoint>{}
            << QList<QPoint>{{10, 10}, {49, 49}};
        QTest::newRow("empty frame draws nothing")
            << QRect(0, 0, 0, 0) << 5 << 1.0 << QList<QPoint>{} << QList<QPoint>{{0, 0}};
        QTest::newRow("huge line fills the frame only")
            << QRect(10, 10, 20, 20) << 2000000000 << 1.0 << QList<QPoint>{{20, 20}}
            << QList<QPoint>{{9, 9}, {30, 30}};
        QTest::newRow("ratio 2 doubles the line")
            << QRect(10, 10, 20, 20) << 2 << 2.0 << QList<QPoint>{{20, 20}, {23, 30}}
            << QList<QPoint>{{24, 30}, {19, 19}};
    }
    void frame() {
        QFETCH(QRect, frame);
        QFETCH(int, thickness);
        QFETCH(qreal, dpr);
        QFETCH(QList<QPoint>, framed);
        QFETCH(QList<QPoint>, clear);
        QImage target =
            picture_compose::composeFitted(QImage(), QSize(), QSize(60, 60), dpr, Qt::black);
        picture_compose::drawFrame(target, frame, thickness, Qt::red);
        for (const QPoint& p : framed)
            QVERIFY2(target.pixelColor(p) == QColor(Qt::red), qPrintable(QString::number(p.x())));
        for (const QPoint& p : clear)
            QVERIFY2(target.pixelColor(p) == QColor(Qt::black), qPrintable(QString::number(p.x())));
    }
};

QTEST_GUILESS_MAIN(PictureComposeTest)
#include "picture_compose_test.moc"

#include "state/fitting.h"

#include <QTest>
#include <limits>

class FittingTest : public QObject {
    Q_OBJECT
  private slots:
    void fitRect_data() {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("area");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("enlarged by 10")
            << QSize(100, 50) << QSize(1000, 700) << QRect(0, 100, 1000, 500);
        QTest::newRow("same proportions fill")
            << QSize(1024, 768) << QSize(512, 384) << QRect(0, 0, 512, 384);
        QTest::newRow("taller is centred across")
            << QSize(100, 200) << QSize(400, 300) << QRect(125, 0, 150, 300);
        QTest::newRow("wider is centred down, half pixel dropped")
            << QSize(400, 100) << QSize(300, 300) << QRect(0, 112, 300, 75);
        QTest::newRow("photo in a thumbnail cell")
            << QSize(4000, 3000) << QSize(49, 67) << QRect(0, 15, 49, 36);
        QTest::newRow("one pixel into the picture area")
            << QSize(1, 1) << QSize(923, 768) << QRect(77, 0, 768, 768);
        // (768 - a sliver) / 2 drops to 383.
        QTest::newRow("widest picture") << QSize(std::numeric_limits<int>::max(), 1)
                                        << QSize(1024, 768) << QRect(0, 383, 1024, 0);
    }
    void fitRect() {
        QFETCH(QSize, picture);
        QFETCH(QSize, area);
        QFETCH(QRect, expected);
        QCOMPARE(fitting::fitRect(picture, area), expected);
    }

    void nothingToFit_data() {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("area");
        QTest::newRow("picture without width") << QSize(0, 50) << QSize(100, 100);
        QTest::newRow("picture without height") << QSize(50, 0) << QSize(100, 100);
        QTest::newRow("invalid picture") << QSize() << QSize(100, 100);
        QTest::newRow("area without width") << QSize(50, 50) << QSize(0, 100);
        QTest::newRow("negative area") << QSize(50, 50) << QSize(-100, -100);
        QTest::newRow("both empty") << QSize(0, 0) << QSize(0, 0);
    }
    void nothingToFit() {
        QFETCH(QSize, picture);
        QFETCH(QSize, area);
        const QRect r = fitting::fitRect(picture, area);
        QVERIFY(r.isEmpty());
        QCOMPARE(r.size(), QSize(0, 0));
    }

    // Whatever the sizes, the picture stays inside the area and fills it in one direction
    // (to within the pixel that dropping the fraction can lose).
    void staysInsideAndFillsOneWay() {
        const int sizes[] = {1, 2, 3, 7, 49, 67, 100, 333, 768, 1023, 1024, 4000};
        for (int pw : sizes)
            for (int ph : sizes)
                for (int aw : sizes)
                    for (int ah : sizes) {
                        const QRect r = fitting::fitRect(QSize(pw, ph), QSize(aw, ah));
                        const QString what =
                            QString("%1x%2 in %3x%4").arg(pw).arg(ph).arg(aw).arg(ah);
                        QVERIFY2(r.left() >= 0 && r.top() >= 0, qPrintable(what));
                        QVERIFY2(r.left() + r.width() <= aw && r.top() + r.height() <= ah,
                                 qPrintable(what));
                        QVERIFY2(aw - r.width() <= 1 || ah - r.height() <= 1, qPrintable(what));
                    }
    }
};

QTEST_GUILESS_MAIN(FittingTest)
#include "fitting_test.moc"

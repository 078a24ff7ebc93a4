#include "pictures/fitting.h"

#include <QTest>

class FittingTest : public QObject {
    Q_OBJECT
  private slots:
    void fitRect() {
        using fitting::fitRect;
        QCOMPARE(fitRect(QSize(100, 50), QSize(1000, 700)), QRect(0, 100, 1000, 500));
        QCOMPARE(fitRect(QSize(1024, 768), QSize(512, 384)), QRect(0, 0, 512, 384));
        QCOMPARE(fitRect(QSize(100, 200), QSize(400, 300)), QRect(125, 0, 150, 300));
        QCOMPARE(fitRect(QSize(400, 100), QSize(300, 300)), QRect(0, 112, 300, 75));
        QVERIFY(fitRect(QSize(0, 50), QSize(100, 100)).isEmpty());
        QVERIFY(fitRect(QSize(50, 50), QSize(0, 100)).isEmpty());
    }

    // A camera's or the desktop's thumbnail stands in for the decode only when never enlarged.
    void covers() {
        using fitting::covers;
        const QSize photo(6000, 4000);
        QVERIFY(covers(QSize(160, 107), photo, QSize(120, 120)));
        QVERIFY(covers(QSize(192, 128), photo, QSize(192, 192)));
        QVERIFY(!covers(QSize(160, 107), photo, QSize(192, 192)));
        QVERIFY(!covers(QSize(160, 120), photo, QSize(100, 100)));            // other proportions
        QVERIFY(covers(QSize(300, 200), QSize(300, 200), QSize(1000, 1000))); // whole picture
        QVERIFY(covers(QSize(128, 2), QSize(10000, 150), QSize(100, 100)));   // rounded side
        QVERIFY(!covers(QSize(160, 107), photo, QSize(0, 0)));
    }

    // Whatever the sizes, the picture stays inside the area and fills it one way (to within
    // the pixel that dropping the fraction can lose).
    void staysInsideAndFillsOneWay() {
        const int sizes[] = {1, 2, 3, 7, 49, 67, 100, 333, 768, 1023, 4000};
        for (int pw : sizes)
            for (int ph : sizes)
                for (int aw : sizes)
                    for (int ah : sizes) {
                        const QRect r = fitting::fitRect(QSize(pw, ph), QSize(aw, ah));
                        QVERIFY(r.left() >= 0 && r.left() + r.width() <= aw);
                        QVERIFY(r.top() >= 0 && r.top() + r.height() <= ah);
                        QVERIFY(aw - r.width() <= 1 || ah - r.height() <= 1);
                    }
    }
};

QTEST_GUILESS_MAIN(FittingTest)
#include "fitting_test.moc"

#include "framework/values.h"

#include <QTest>
#include <cmath>
#include <limits>

class ValuesTest : public QObject {
    Q_OBJECT
  private slots:
    void val_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("30 and tab") << QString("30\t") << 30.0;
        QTest::newRow("fraction") << QString("1.5") << 1.5;
        QTest::newRow("sign then junk") << QString("-3x") << -3.0;
        QTest::newRow("word") << QString("abc") << 0.0;
        QTest::newRow("empty") << QString("") << 0.0;
        QTest::newRow("leading blanks") << QString("  7") << 7.0;
        QTest::newRow("tab first") << QString("\t7") << 0.0;
        QTest::newRow("exponent") << QString("1e-05") << 1e-05;
        QTest::newRow("bare e") << QString("2e") << 2.0;
        QTest::newRow("leading point") << QString(".25") << 0.25;
        QTest::newRow("overflowing exponent")
            << QString("1e999") << std::numeric_limits<double>::max();
        QTest::newRow("non-latin digits") << QString::fromUtf8("\u0663") << 0.0;
    }
    void val() {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(Val(text), expected);
    }

    void toIntSaturates_data() {
        QTest::addColumn<double>("x");
        QTest::addColumn<int>("expected");
        QTest::newRow("down") << 2.9 << 2;
        QTest::newRow("toward zero") << -2.9 << -2;
        QTest::newRow("1e300") << 1e300 << std::numeric_limits<int>::max();
        QTest::newRow("-1e300") << -1e300 << std::numeric_limits<int>::min();
        QTest::newRow("nan") << std::nan("") << 0;
        QTest::newRow("inf") << HUGE_VAL << std::numeric_limits<int>::max();
        QTest::newRow("just over") << 2147483648.0 << std::numeric_limits<int>::max();
        QTest::newRow("int max") << 2147483647.0 << 2147483647;
        QTest::newRow("int min") << -2147483648.0 << std::numeric_limits<int>::min();
        QTest::newRow("text too large") << Val("99999999999") << std::numeric_limits<int>::max();
    }
    void toIntSaturates() {
        QFETCH(double, x);
        QFETCH(int, expected);
        QCOMPARE(toInt(x), expected);
    }

    void strShortest() {
        QCOMPARE(Str(0.6), QString("0.6"));
        QCOMPARE(Str(0.0), QString("0"));
        QCOMPARE(Str(-0.0), QString("0"));
        QCOMPARE(Str(1.0), QString("1"));
        QCOMPARE(Str(42), QString("42"));
        for (double x : {1.0 / 3, 127.0 / 255, 1e-7, 0.1 + 0.2})
            QCOMPARE(Val(Str(x)), x);
    }

    void defaultColours_data() {
        QTest::addColumn<double>("h");
        QTest::addColumn<double>("s");
        QTest::addColumn<double>("v");
        QTest::addColumn<QString>("rgb");
        QTest::newRow("grey") << 0.0 << 0.0 << 0.6 << "#999999";
        QTest::newRow("light grey") << 0.0 << 0.0 << 0.8 << "#cccccc";
        QTest::newRow("black") << 0.0 << 0.0 << 0.0 << "#000000";
        QTest::newRow("dark red") << 0.0 << 1.0 << 0.5 << "#7f0000";
        QTest::newRow("white") << 0.0 << 0.0 << 1.0 << "#ffffff";
        QTest::newRow("red") << 0.0 << 1.0 << 1.0 << "#ff0000";
    }
    void defaultColours() {
        QFETCH(double, h);
        QFETCH(double, s);
        QFETCH(double, v);
        QFETCH(QString, rgb);
        const QColor c = HSV(h, s, v);
        QCOMPARE(c.name(), rgb);
        // Written as text and read back, the colour is the same 8-bit colour.
        const HsvComponents back = toHsv(c);
        QCOMPARE(HSV(Val(Str(back.h)), Val(Str(back.s)), Val(Str(back.v))), c);
    }

    void greyReadsBackHueZero() {
        const HsvComponents g = toHsv(HSV(0, 0, 0.6));
        QCOMPARE(g.h, 0.0);
        QCOMPARE(g.s, 0.0);
        QCOMPARE(g.v, 0.6);
        QCOMPARE(Str(g.v), QString("0.6"));
    }

    void everyColourRoundTrips() {
        // Every 8-bit colour on a coarse lattice survives a trip through its components.
        for (int r = 0; r < 256; r += 15)
            for (int g = 0; g < 256; g += 17)
                for (int b = 0; b < 256; b += 51) {
                    const QColor c(r, g, b);
                    const HsvComponents k = toHsv(c);
                    QCOMPARE(HSV(k.h, k.s, k.v), c);
                }
    }

    void hsvClampsHostileComponents() {
        QCOMPARE(HSV(std::nan(""), 2.0, -1.0), QColor(0, 0, 0));
        QCOMPARE(HSV(1.0, 1.0, 1.0), QColor(255, 0, 0)); // hue 1 wraps to red
        QCOMPARE(HSV(0, 0, 1e300), QColor(255, 255, 255));
    }
};

QTEST_GUILESS_MAIN(ValuesTest)
#include "values_test.moc"

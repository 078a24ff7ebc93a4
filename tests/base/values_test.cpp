#include "base/values.h"

#include <QTest>
#include <cmath>
#include <limits>

class ValuesTest : public QObject {
    Q_OBJECT
  private slots:
    void val() {
        const QList<std::pair<QString, double>> cases{
            {"30\t", 30}, {"-3x", -3}, {"abc", 0},
            {"\t7", 0},   {"2e", 2},   {"1e999", std::numeric_limits<double>::max()},
            {"\u0663", 0}}; // a non-latin digit
        for (const auto& [text, expected] : cases)
            QCOMPARE(Val(text), expected);
    }

    void toIntSaturates() {
        const int max = std::numeric_limits<int>::max(), min = std::numeric_limits<int>::min();
        const QList<std::pair<double, int>> cases{{-2.9, -2}, {1e300, max},    {-1e300, min},
                                                  {NAN, 0},   {HUGE_VAL, max}, {2147483648.0, max}};
        for (const auto& [x, expected] : cases)
            QCOMPARE(toInt(x), expected);
    }

    // The setup window's default colours; every colour reads back from its text form.
    void colours() {
        QCOMPARE(HSV(0, 0, 0.6).name(), QString("#999999"));
        QCOMPARE(HSV(0, 1, 0.5).name(), QString("#7f0000"));
        QCOMPARE(HSV(1, 1, 1).name(), QString("#ff0000")); // hue 1 wraps to red
        QCOMPARE(HSV(NAN, 2, -1).name(), QString("#000000"));
        QCOMPARE(toHsv(HSV(0, 0, 0.6)).h, 0.0); // grey reads back hue 0
        for (int r = 0; r < 256; r += 15)
            for (int g = 0; g < 256; g += 17)
                for (int b = 0; b < 256; b += 51) {
                    const HsvComponents k = toHsv(QColor(r, g, b));
                    QCOMPARE(HSV(Val(Str(k.h)), Val(Str(k.s)), Val(Str(k.v))), QColor(r, g, b));
                }
    }
};

QTEST_GUILESS_MAIN(ValuesTest)
#include "values_test.moc"

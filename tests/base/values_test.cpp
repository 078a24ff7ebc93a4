// The conversions every window and the presentation file share, and the parts of long texts
// a window is given: both sides of every limit.
#include "base/text_limits.h"
#include "base/values.h"

#include <QTest>
#include <cmath>
#include <limits>

using text_limits::Keep;

namespace {
const int intMax = std::numeric_limits<int>::max(), intMin = std::numeric_limits<int>::min();
const double realMax = std::numeric_limits<double>::max();
} // namespace

class ValuesTest : public QObject {
    Q_OBJECT
  private slots:
    void val_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("number");
        QTest::newRow("a tab ends it") << "30\t" << 30.0;
        QTest::newRow("sign") << "-3x" << -3.0;
        QTest::newRow("plus and fraction") << "+4.5" << 4.5;
        QTest::newRow("blanks before") << "  7" << 7.0;
        QTest::newRow("a tab before") << "\t7" << 0.0;
        QTest::newRow("no number") << "abc" << 0.0;
        QTest::newRow("a sign alone") << "-" << 0.0;
        QTest::newRow("a point alone") << "." << 0.0;
        QTest::newRow("a point first") << ".5" << 0.5;
        QTest::newRow("a point last") << "5." << 5.0;
        QTest::newRow("a second point") << "1.2.3" << 1.2;
        QTest::newRow("exponent") << "1e3" << 1000.0;
        QTest::newRow("exponent with sign") << "-.5E-1x" << -0.05;
        QTest::newRow("exponent with plus") << "2e+2" << 200.0;
        QTest::newRow("exponent without digits") << "2e" << 2.0;
        QTest::newRow("exponent with a sign only") << "2e-" << 2.0;
        QTest::newRow("too large") << "1e999" << realMax;
        QTest::newRow("too small") << "-1e999" << -realMax;
        QTest::newRow("hexadecimal") << "0x10" << 0.0;
        QTest::newRow("a non-latin digit") << "\u0663" << 0.0;
        QTest::newRow("a non-latin digit after a point") << "4.\u0663" << 4.0;
    }
    void val() {
        QFETCH(QString, text);
        QFETCH(double, number);
        QCOMPARE(Val(text), number);
    }

    void toInt_data() {
        QTest::addColumn<double>("real");
        QTest::addColumn<int>("integer");
        QTest::newRow("fraction dropped") << 2.9 << 2;
        QTest::newRow("toward zero") << -2.9 << -2;
        QTest::newRow("largest") << 2147483647.0 << intMax;
        QTest::newRow("below the largest") << 2147483646.9 << intMax - 1;
        QTest::newRow("above the largest") << 2147483648.0 << intMax;
        QTest::newRow("infinite") << double(HUGE_VAL) << intMax;
        QTest::newRow("smallest") << -2147483648.0 << intMin;
        QTest::newRow("above the smallest") << -2147483647.9 << intMin + 1;
        QTest::newRow("below the smallest") << -2147483649.0 << intMin;
        QTest::newRow("not a number") << double(NAN) << 0;
    }
    void toInt() {
        QFETCH(double, real);
        QFETCH(int, integer);
        QCOMPARE(::toInt(real), integer);
    }

    // Sectors whose colours are not 8-bit exact, hues wrapped and components held within 0..1;
    // every sector's exact colours come back through coloursReadBack.
    void hsv_data() {
        QTest::addColumn<double>("h");
        QTest::addColumn<double>("s");
        QTest::addColumn<double>("v");
        QTest::addColumn<QString>("colour");
        QTest::newRow("grey") << 0.0 << 0.0 << 0.6 << "#999999";
        QTest::newRow("sector 1") << 0.25 << 1.0 << 1.0 << "#7fff00";
        QTest::newRow("sector 4") << 0.75 << 1.0 << 1.0 << "#7f00ff";
        QTest::newRow("hue 1 wraps to red") << 1.0 << 1.0 << 1.0 << "#ff0000";
        QTest::newRow("hue below 0") << -0.5 << 1.0 << 1.0 << "#ff0000";
        QTest::newRow("saturation above 1") << 0.0 << 7.0 << 1.0 << "#ff0000";
        QTest::newRow("value above 1") << 0.0 << 0.0 << 1.5 << "#ffffff";
        QTest::newRow("value below 0") << 0.0 << 0.0 << -0.1 << "#000000";
        QTest::newRow("not numbers") << double(NAN) << double(NAN) << double(NAN) << "#000000";
    }
    void hsv() {
        QFETCH(double, h);
        QFETCH(double, s);
        QFETCH(double, v);
        QFETCH(QString, colour);
        QCOMPARE(HSV(h, s, v).name(), colour);
    }

    void toHsv_data() {
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<double>("h");
        QTest::addColumn<double>("s");
        QTest::addColumn<double>("v");
        QTest::newRow("black") << QColor(0, 0, 0) << 0.0 << 0.0 << 0.0;
        QTest::newRow("grey reads hue 0") << QColor(0x99, 0x99, 0x99) << 0.0 << 0.0 << 0.6;
        QTest::newRow("magenta, hue wrapped") << QColor(255, 0, 255) << 5.0 / 6 << 1.0 << 1.0;
        QTest::newRow("pale") << QColor(0x66, 0xff, 0xff) << 0.5 << 0.6 << 1.0;
    }
    void toHsv() {
        QFETCH(QColor, colour);
        QFETCH(double, h);
        QFETCH(double, s);
        QFETCH(double, v);
        const HsvComponents k = ::toHsv(colour);
        QCOMPARE(QList<double>({k.h, k.s, k.v}), QList<double>({h, s, v}));
    }

    // Every 8-bit colour comes back from the text of its components, as a file keeps them.
    void coloursReadBack_data() {
        QTest::addColumn<int>("red");
        for (int r = 0; r < 256; r += 15)
            QTest::addRow("red %d", r) << r;
    }
    void coloursReadBack() {
        QFETCH(int, red);
        for (int g = 0; g < 256; g += 17)
            for (int b = 0; b < 256; b += 51) {
                const HsvComponents k = ::toHsv(QColor(red, g, b));
                QCOMPARE(HSV(Val(Str(k.h)), Val(Str(k.s)), Val(Str(k.v))), QColor(red, g, b));
            }
    }

    // Both sides of each length: a text that fits comes back whole, one unit more is cut;
    // a surrogate pair is never split.
    void excerpt_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("most");
        QTest::addColumn<int>("keep");
        QTest::addColumn<QString>("part");
        const int start = int(Keep::Start), middle = int(Keep::Middle), end = int(Keep::End);
        const QString pair = QString::fromUtf8("\xF0\x9F\x98\x80"); // U+1F600
        QTest::newRow("start, fits") << "abcdef" << 6 << start << "abcdef";
        QTest::newRow("start, a unit more") << "abcdefg" << 6 << start << "abcdef";
        QTest::newRow("end, fits") << "abcdef" << 6 << end << "abcdef";
        QTest::newRow("end, a unit more") << "abcdefg" << 6 << end << "bcdefg";
        QTest::newRow("middle, fits") << "abcdef" << 6 << middle << "abcdef";
        QTest::newRow("middle, a unit more") << "abcdefg" << 6 << middle << "abcdef";
        QTest::newRow("middle, two more") << "abcdefgh" << 6 << middle << "bcdefg";
        QTest::newRow("middle, three more") << "abcdefghi" << 6 << middle << "bcdefg";
        QTest::newRow("nothing") << "abc" << 0 << start << "";
        QTest::newRow("less than nothing") << "abc" << -1 << end << "";
        QTest::newRow("start, a pair at the cut") << "a" + pair + "b" << 2 << start << "a";
        QTest::newRow("start, a pair last") << "a" + pair << 2 << start << "a";
        QTest::newRow("end, a pair first") << pair + "a" << 2 << end << "a";
        QTest::newRow("end, a pair at the cut") << "a" + pair + "b" << 2 << end << "b";
        QTest::newRow("middle, a pair at the end") << "abc" + pair + "d" << 2 << middle << "c";
        QTest::newRow("middle, a pair whole") << "ab" + pair + "cd" << 3 << middle << "b" + pair;
    }
    void excerpt() {
        QFETCH(QString, text);
        QFETCH(int, most);
        QFETCH(int, keep);
        QFETCH(QString, part);
        QCOMPARE(text_limits::excerpt(text, most, Keep(keep)), part);
    }

    void shortenedMiddle_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("most");
        QTest::addColumn<QString>("shown");
        QTest::newRow("fits") << "abcde" << 5 << "abcde";
        QTest::newRow("a unit more") << "abcdef" << 5 << "ab\u2026ef";
        QTest::newRow("more at the end when odd") << "abcdefg" << 6 << "ab\u2026efg";
        QTest::newRow("long") << "abcdefghij" << 5 << "ab\u2026ij";
        QTest::newRow("below 3 is 3") << "abcdef" << 1 << "a\u2026f";
        QTest::newRow("3 fits 3") << "abc" << 0 << "abc";
    }
    void shortenedMiddle() {
        QFETCH(QString, text);
        QFETCH(int, most);
        QFETCH(QString, shown);
        QCOMPARE(text_limits::shortenedMiddle(text, most), shown);
    }
};

QTEST_GUILESS_MAIN(ValuesTest)
#include "values_test.moc"

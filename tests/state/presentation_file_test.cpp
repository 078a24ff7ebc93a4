#include "state/presentation_file.h"

#include <QTest>
#include <limits>

namespace pf = presentation_file;

namespace {

// The lines of a file as the program writes them: every line ends with CR.
QList<QByteArray> linesOf(const QByteArray& file) {
    QList<QByteArray> lines = file.split('\r');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

QByteArray joined(const QList<QByteArray>& lines, const QByteArray& end = "\r") {
    QByteArray out;
    for (const QByteArray& l : lines)
        out += l + end;
    return out;
}

// The setup window's default colours.
pf::Data defaults(int pictures) {
    pf::Data d;
    d.folder = "/home/user/Pictures";
    d.percent = 10;
    d.ombra = 5;
    d.count = pictures;
    const QColor colours[] = {HSV(0, 0, 0.6), HSV(0, 0, 0.8), HSV(0, 0, 0), HSV(0, 1, 0.5),
                              HSV(0, 0, 1),   HSV(0, 0, 0),   HSV(0, 1, 1)};
    for (int i = 0; i < colour::kCount; ++i)
        pf::setColour(d, i, colours[i]);
    return d;
}

pf::Note makeNote(std::initializer_list<QString> cells) {
    pf::Note n;
    std::copy(cells.begin(), cells.end(), n.begin());
    return n;
}

void compareData(const pf::Data& got, const pf::Data& want) {
    QCOMPARE(got.folder, want.folder);
    QCOMPARE(got.thumb_pos, want.thumb_pos);
    QCOMPARE(got.percent, want.percent);
    for (int i = 0; i < colour::kCount; ++i)
        QCOMPARE(pf::colour(got, i), pf::colour(want, i));
    QCOMPARE(got.fill, want.fill);
    QCOMPARE(got.display, want.display);
    QCOMPARE(got.ombra, want.ombra);
    QCOMPARE(got.count, want.count);
    QCOMPARE(got.notes.size(), want.notes.size());
    for (size_t i = 0; i < want.notes.size(); ++i)
        for (int c = 0; c < note::kCells; ++c)
            QCOMPARE(got.notes[i][size_t(c)], want.notes[i][size_t(c)]);
}

} // namespace

class PresentationFileTest : public QObject {
    Q_OBJECT
  private slots:
    void onePictureWithEmptyNotes() {
        const QByteArray file = pf::write(defaults(1));
        const QList<QByteArray> lines = linesOf(file);
        QCOMPARE(lines.size(), 41);
        for (int n = 29; n <= 41; ++n)
            QVERIFY2(lines[n - 1].isEmpty(), qPrintable(QString::number(n)));
        QCOMPARE(lines[0], QByteArray("/home/user/Pictures"));
        QCOMPARE(lines[1], QByteArray("0"));
        QCOMPARE(lines[2], QByteArray("10"));
        QCOMPARE(lines[24], QByteArray("0"));
        QCOMPARE(lines[26], QByteArray("5"));
        QCOMPARE(lines[27], QByteArray("1"));
    }

    void lineCount_data() {
        QTest::addColumn<int>("pictures");
        QTest::addColumn<int>("notesGiven");
        QTest::newRow("none") << 0 << 0;
        QTest::newRow("five, three given") << 5 << 3;
        QTest::newRow("more notes than pictures") << 2 << 4;
    }
    void lineCount() {
        QFETCH(int, pictures);
        QFETCH(int, notesGiven);
        pf::Data d = defaults(pictures);
        d.notes.assign(size_t(notesGiven), makeNote({"text", "Arial", "24"}));
        const QByteArray file = pf::write(d);
        QCOMPARE(file.count('\r'), 28 + 13 * pictures);
        QCOMPARE(file.back(), '\r');
        QVERIFY(!file.contains('\n'));
        const pf::Data back = pf::read(file);
        QCOMPARE(back.count, pictures);
        QCOMPARE(int(back.notes.size()), pictures);
        for (int i = 0; i < pictures; ++i)
            QCOMPARE(back.notes[size_t(i)][0], QString(i < notesGiven ? "text" : ""));
    }

    void roundTrip_data() {
        QTest::addColumn<bool>("fill");
        QTest::addColumn<bool>("display");
        QTest::newRow("fill only") << true << false;
        QTest::newRow("display only") << false << true;
    }
    void roundTrip() {
        QFETCH(bool, fill);
        QFETCH(bool, display);
        pf::Data d;
        d.folder = QString::fromUtf8("/home/anna/Foto di già/2024 \u65e5\u672c");
        d.thumb_pos = 3;
        d.percent = 37;
        d.fill = fill;
        d.display = display;
        d.ombra = 2;
        d.count = 3;
        const QColor colours[] = {QColor(1, 2, 3),      QColor(255, 128, 0), QColor(17, 200, 99),
                                  QColor(127, 0, 0),    QColor(0, 0, 255),   QColor(250, 250, 251),
                                  QColor(100, 100, 100)};
        for (int i = 0; i < colour::kCount; ++i)
            pf::setColour(d, i, colours[i]);
        d.notes = {makeNote({"Tramonto\tsul lago", "DejaVu Sans", "30\t", "1", "0", "1", "5", "1",
                             "-12", "40", "-300", "25", "9"}),
                   makeNote({}),
                   makeNote({QString::fromUtf8("Caf\u00e9 \u00e0 c\u00f4t\u00e9 \U0001F600"), "",
                             " 18 ", "0", "1", "0", "", "0", "", "", "", "", "5"})};
        const QByteArray file = pf::write(d);
        QCOMPARE(file.count('\r'), 28 + 13 * 3);
        const pf::Data back = pf::read(file);
        compareData(back, d);
        for (int i = 0; i < colour::kCount; ++i)
            QCOMPARE(pf::colour(back, i), colours[i]);
        // Written again, the file is the same byte for byte.
        QCOMPARE(pf::write(back), file);
    }

    void colourIndexOutsideTheSeven() {
        pf::Data d = defaults(1);
        const QByteArray before = pf::write(d);
        pf::setColour(d, 7, Qt::green);
        pf::setColour(d, -1, Qt::green);
        QCOMPARE(pf::write(d), before);
        QCOMPARE(pf::colour(d, 7), QColor(0, 0, 0));
        QCOMPARE(pf::colour(d, -1), QColor(0, 0, 0));
    }

    void switchNeedsExactlyOne_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("on");
        QTest::newRow("1") << QByteArray("1") << true;
        QTest::newRow("1 and blank") << QByteArray("1 ") << false;
        QTest::newRow("blank and 1") << QByteArray(" 1") << false;
        QTest::newRow("true") << QByteArray("true") << false;
        QTest::newRow("1.0") << QByteArray("1.0") << false;
        QTest::newRow("empty") << QByteArray("") << false;
    }
    void switchNeedsExactlyOne() {
        QFETCH(QByteArray, line);
        QFETCH(bool, on);
        QList<QByteArray> lines = linesOf(pf::write(defaults(1)));
        lines[24] = line; // line 25: fill
        lines[25] = "1";
        QCOMPARE(pf::read(joined(lines)).fill, on);
        QVERIFY(pf::read(joined(lines)).display);
        lines[24] = "1";
        lines[25] = line; // line 26: display
        QCOMPARE(pf::read(joined(lines)).display, on);
        QVERIFY(pf::read(joined(lines)).fill);
    }

    void lineEndsReadAlike_data() {
        QTest::addColumn<QByteArray>("end");
        QTest::newRow("CR") << QByteArray("\r");
        QTest::newRow("LF") << QByteArray("\n");
        QTest::newRow("CRLF") << QByteArray("\r\n");
    }
    void lineEndsReadAlike() {
        QFETCH(QByteArray, end);
        pf::Data d = defaults(2);
        d.thumb_pos = 2;
        d.fill = true;
        d.notes = {makeNote({"first", "Liberation Sans", "24"}),
                   makeNote({"", "", "", "", "", "", "3"})};
        const QList<QByteArray> lines = linesOf(pf::write(d));
        compareData(pf::read(joined(lines, end)), d);
        // Without the last line's end, and with a byte order mark before the first line.
        QByteArray edited = "\xEF\xBB\xBF" + joined(lines, end);
        edited.chop(end.size());
        compareData(pf::read(edited), d);
    }

    void lineBreakInsideATextBecomesABlank() {
        pf::Data d = defaults(2);
        d.folder = "/tmp/odd\nfolder";
        d.notes = {makeNote({"two\nlines", "a\rb", "c\r\nd"}), makeNote({"\n"})};
        const QByteArray file = pf::write(d);
        QCOMPARE(file.count('\r'), 28 + 13 * 2);
        QVERIFY(!file.contains('\n'));
        const pf::Data back = pf::read(file);
        QCOMPARE(back.folder, QString("/tmp/odd folder"));
        QCOMPARE(back.notes[0][0], QString("two lines"));
        QCOMPARE(back.notes[0][1], QString("a b"));
        QCOMPARE(back.notes[0][2], QString("c  d"));
        QCOMPARE(back.notes[1][0], QString(" "));
        QCOMPARE(back.notes[1][1], QString());
        QCOMPARE(back.ombra, 5);
    }

    void shortFile() {
        QList<QByteArray> lines = linesOf(pf::write(defaults(3)));
        // Keep the settings and the first block and a half.
        lines = lines.mid(0, 28 + 13 + 6);
        lines[28] = "only note";
        lines[28 + 13 + 5] = "frame on";
        const pf::Data d = pf::read(joined(lines));
        QCOMPARE(d.count, 3);
        QCOMPARE(d.notes.size(), size_t(2));
        QCOMPARE(d.notes[0][0], QString("only note"));
        QCOMPARE(d.notes[1][5], QString("frame on"));
        for (int c = 6; c < note::kCells; ++c)
            QCOMPARE(d.notes[1][size_t(c)], QString());
        // The settings alone: no notes at all.
        QVERIFY(pf::read(joined(lines.mid(0, 28))).notes.empty());
        // A file that stops within the settings reads the rest as 0.
        const pf::Data cut = pf::read(joined(lines.mid(0, 3)));
        QCOMPARE(cut.percent, 10);
        QCOMPARE(cut.ombra, 0);
        QCOMPARE(pf::colour(cut, 6), QColor(0, 0, 0));
    }

    void hostileFiles_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("thumbPos");
        QTest::addColumn<int>("percent");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("notes");
        QTest::addColumn<QColor>("colour0");
        QTest::addColumn<QColor>("colour1");

        const int intMax = std::numeric_limits<int>::max();
        const QColor black(0, 0, 0), grey = HSV(0, 0, 0.8);
        // Settings lines of the default file with line n (1-based) replaced.
        const QList<QByteArray> base = linesOf(pf::write(defaults(0)));
        const auto with = [&](std::initializer_list<std::pair<int, QByteArray>> changes,
                              int noteLines) {
            QList<QByteArray> lines = base;
            for (const auto& [n, text] : changes)
                lines[n - 1] = text;
            for (int i = 0; i < noteLines; ++i)
                lines << QByteArray("cell");
            return joined(lines);
        };
        const QColor grey6 = HSV(0, 0, 0.6);
        QTest::newRow("count -5") << with({{28, "-5"}}, 26) << 0 << 10 << 0 << 0 << grey6 << grey;
        QTest::newRow("count 2147483647, one block")
            << with({{28, "2147483647"}}, 13) << 0 << 10 << intMax << 1 << grey6 << grey;
        QTest::newRow("count 99999999999, partial block")
            << with({{28, "99999999999"}}, 15) << 0 << 10 << intMax << 2 << grey6 << grey;
        QTest::newRow("count 1e300, no notes")
            << with({{28, "1e300"}}, 0) << 0 << 10 << intMax << 0 << grey6 << grey;
        QTest::newRow("count NaN") << with({{28, "NaN"}}, 13) << 0 << 10 << 0 << 0 << grey6 << grey;
        QTest::newRow("count more than the lines")
            << with({{28, "4"}}, 30) << 0 << 10 << 4 << 3 << grey6 << grey;
        QTest::newRow("count fewer than the lines")
            << with({{28, "1"}}, 30) << 0 << 10 << 1 << 1 << grey6 << grey;
        // Hue 1e300 clamps to 1, saturation -4 to 0, "nan" is no number: black.
        // Hue 0.5 at full saturation and value: cyan.
        QTest::newRow("colours out of range")
            << with({{4, "1e300"}, {5, "-4"}, {6, "nan"}, {7, "0.5"}, {8, "1e300"}, {9, "7"}}, 0)
            << 0 << 10 << 0 << 0 << black << QColor(0, 255, 255);
        QTest::newRow("strip outside its ranges")
            << with({{2, "9"}, {3, "1000"}}, 0) << 9 << 1000 << 0 << 0 << grey6 << grey;
        QTest::newRow("numbers with trailing text")
            << with({{2, "2 (top)"}, {3, "25%"}}, 0) << 2 << 25 << 0 << 0 << grey6 << grey;
        QTest::newRow("empty file") << QByteArray() << 0 << 0 << 0 << 0 << black << black;
        QTest::newRow("only line ends")
            << QByteArray(100, '\n') << 0 << 0 << 0 << 0 << black << black;

        QByteArray garbage;
        for (int i = 0; i < 4000; ++i) {
            // Bytes of every kind but digits, signs and points: no line holds a number.
            char c = char((i * 97 + 13) % 256);
            if ((c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.') c = '\0';
            garbage += c;
        }
        QTest::newRow("binary garbage") << garbage << 0 << 0 << 0 << 0 << black << black;
        QTest::newRow("garbage after a count")
            << with({{28, "100"}}, 0) + garbage << 0 << 10 << 100
            << int((garbage.count('\r') + garbage.count('\n') + 12) / 13) << grey6 << grey;
    }
    void hostileFiles() {
        QFETCH(QByteArray, file);
        QFETCH(int, thumbPos);
        QFETCH(int, percent);
        QFETCH(int, count);
        QFETCH(int, notes);
        QFETCH(QColor, colour0);
        QFETCH(QColor, colour1);
        const pf::Data d = pf::read(file);
        QCOMPARE(d.thumb_pos, thumbPos);
        QCOMPARE(d.percent, percent);
        QCOMPARE(d.count, count);
        QCOMPARE(int(d.notes.size()), notes);
        QCOMPARE(pf::colour(d, 0), colour0);
        QCOMPARE(pf::colour(d, 1), colour1);
        for (int i = 0; i < colour::kCount; ++i)
            QVERIFY(pf::colour(d, i).isValid());
    }
};

QTEST_GUILESS_MAIN(PresentationFileTest)
#include "presentation_file_test.moc"

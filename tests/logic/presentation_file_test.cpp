// The presentation file: its lines as written, the switches, line ends and byte order marks
// as editors and the fuzzer left them, line breaks inside texts, and hostile files.
#include "base/files.h"
#include "logic/state/model.h"
#include "logic/state/presentation_file.h"

#include <QTest>
#include <limits>

namespace pf = presentation_file;

namespace {
// The lines of a file as the program writes them: every line ends with CR.
QList<QByteArray> linesOf(const QByteArray& file) {
    QList<QByteArray> lines = file.split('\r');
    lines.removeLast();
    return lines;
}
// A presentation of the setup window's defaults.
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
// A presentation file whose every line differs from its neighbours: two pictures.
const QList<QByteArray> kDistinct{
    "/srv/show/photos", "3", "37", "0.01", "0.02", "0.03", "0.11", "0.12", "0.13", "0.21", "0.22",
    "0.23", "0.31", "0.32", "0.33", "0.41", "0.42", "0.43", "0.51", "0.52", "0.53", "0.61", "0.62",
    "0.63", "1", "0", "4", "2",
    // picture 1: text, font, size, bold, italic, underline, place,
    // frame on, left, top, width, height, line
    "Sunset \xf0\x9f\x98\x80", "DejaVu Serif", "18", "1", "0", "1", "4", "1", "10", "20", "-30",
    "40", "7", "Harbour", "Liberation Sans", "30\t", "0", "1", "0", "2", "0", "110", "120", "130",
    "-140", "3"};
// The file's fields in the order of its lines, as text.
QList<QByteArray> linesOfData(const pf::Data& d) {
    QList<QByteArray> out{d.folder.toUtf8(), Str(d.thumb_pos).toUtf8(), Str(d.percent).toUtf8()};
    for (const HsvComponents& c : d.colours)
        out << Str(c.h).toUtf8() << Str(c.s).toUtf8() << Str(c.v).toUtf8();
    out << (d.fill ? "1" : "0") << (d.display ? "1" : "0") << Str(d.ombra).toUtf8()
        << Str(d.count).toUtf8();
    for (const pf::Note& n : d.notes)
        for (const QString& cell : n)
            out << cell.toUtf8();
    return out;
}
pf::Note noteOf(std::initializer_list<QString> cells) {
    pf::Note n;
    std::copy(cells.begin(), cells.end(), n.begin());
    return n;
}
} // namespace

class PresentationFileTest : public QObject {
    Q_OBJECT
  private slots:
    // The folder line and the note cells come back as the bytes they were, in whatever
    // encoding they were written; what is not UTF-8 reads as Latin-1.
    void bytesSurvive_data() {
        QTest::addColumn<QByteArray>("folder");
        QTest::addColumn<QByteArray>("note");
        QTest::addColumn<QString>("shownFolder");
        QTest::addColumn<QString>("shownNote");
        QTest::newRow("UTF-8") << QByteArray("/home/anna/Foto di gi\xC3\xA0")
                               << QByteArray("Caff\xC3\xA8") << "/home/anna/Foto di già"
                               << "Caffè";
        QTest::newRow("Latin-1") << QByteArray("/home/anna/Foto di gi\xE0")
                                 << QByteArray("Caff\xE8 \xAB latte \xBB")
                                 << "/home/anna/Foto di già"
                                 << "Caffè « latte »";
        QTest::newRow("Latin-1 and UTF-8 in one line")
            << QByteArray("/gi\xE0/gi\xC3\xA0") << QByteArray("\xE8 \xC3\xA8") << "/già/già"
            << "è è";
        QTest::newRow("a cut UTF-8 character") << QByteArray("/x") << QByteArray("\xE2\x82") << "/x"
                                               << "\u00E2\u0082";
    }
    void bytesSurvive() {
        QFETCH(QByteArray, folder);
        QFETCH(QByteArray, note);
        QFETCH(QString, shownFolder);
        QFETCH(QString, shownNote);
        QList<QByteArray> lines = linesOf(pf::write(defaults(2)));
        lines[0] = folder;
        lines[28] = lines[28 + 13 + 1] = note;
        const QByteArray file = lines.join('\r') + '\r';
        const pf::Data d = pf::read(file);
        QCOMPARE(files::shownName(d.folder), shownFolder);
        QCOMPARE(files::shownName(d.notes[1][note::Font]), shownNote);
        QCOMPARE(pf::write(d), file);
        QCOMPARE(pf::write(pf::read(file, 1)), file); // also a block left as bytes
    }

    // Each line of a file whose lines all differ lands in its own field, whatever ends the
    // lines and with cells left empty; a presentation built field by field is written line
    // for line.
    void everyLine_data() {
        QTest::addColumn<QByteArray>("end");
        QTest::addColumn<bool>("emptyCells"); // the cells of picture 1 but its text
        QTest::addColumn<int>("line");
        for (const QByteArray& end : {QByteArray("\r"), QByteArray("\n"), QByteArray("\r\n")})
            for (bool emptyCells : {false, true})
                for (int line = 1; line <= kDistinct.size(); ++line)
                    QTest::addRow("%s%s, line %d",
                                  end == "\r"   ? "CR"
                                  : end == "\n" ? "LF"
                                                : "CRLF",
                                  emptyCells ? ", empty cells" : "", line)
                        << end << emptyCells << line;
    }
    void everyLine() {
        QFETCH(QByteArray, end);
        QFETCH(bool, emptyCells);
        QFETCH(int, line);
        QList<QByteArray> lines = kDistinct;
        if (emptyCells)
            for (int n = 30; n <= 41; ++n)
                lines[n - 1].clear();
        const QList<QByteArray> read = linesOfData(pf::read(lines.join(end) + end));
        QCOMPARE(read.size(), lines.size());
        QCOMPARE(read[line - 1], lines[line - 1]);

        pf::Data d;
        d.folder = QString::fromUtf8(kDistinct[0]);
        d.thumb_pos = 3;
        d.percent = 37;
        for (int i = 0; i < colour::kCount; ++i) // hue, saturation, value: 0.i1, 0.i2, 0.i3
            d.colours[size_t(i)] = {(10 * i + 1) / 100.0, (10 * i + 2) / 100.0,
                                    (10 * i + 3) / 100.0};
        d.fill = true;
        d.ombra = 4;
        d.count = 2;
        d.notes = {noteOf({QString::fromUtf8(kDistinct[28]), "DejaVu Serif", "18", "1", "0", "1",
                           "4", "1", "10", "20", "-30", "40", "7"}),
                   noteOf({"Harbour", "Liberation Sans", "30\t", "0", "1", "0", "2", "0", "110",
                           "120", "130", "-140", "3"})};
        if (emptyCells)
            for (int c = 1; c < note::kCells; ++c)
                d.notes[0][size_t(c)].clear();
        const QList<QByteArray> written = linesOf(pf::write(d));
        QCOMPARE(written.size(), lines.size());
        QCOMPARE(written[line - 1], lines[line - 1]);
    }

    // A switch is on for exactly "1".
    void switches_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("on");
        QTest::newRow("1") << QByteArray("1") << true;
        QTest::newRow("1 and a blank") << QByteArray("1 ") << false;
        QTest::newRow("true") << QByteArray("true") << false;
        QTest::newRow("1.0") << QByteArray("1.0") << false;
        QTest::newRow("0") << QByteArray("0") << false;
    }
    void switches() {
        QFETCH(QByteArray, line);
        QFETCH(bool, on);
        for (int n : {25, 26}) {
            QList<QByteArray> lines = linesOf(pf::write(defaults(0)));
            lines[n - 1] = line;
            const pf::Data d = pf::read(lines.join('\r') + '\r');
            QCOMPARE(n == 25 ? d.fill : d.display, on);
            QCOMPARE(n == 25 ? d.display : d.fill, false);
        }
    }

    // Line ends as editors leave them, and byte order marks where the fuzzer put them: read,
    // written and read again, the presentation stays the same.
    void readsBackAlike_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("note");
        const QByteArray bom = "\xEF\xBB\xBF", settings = QByteArray("0\r").repeated(26) + "1\r";
        const QByteArray lf = "/x\n" + QByteArray("0\n").repeated(26) + "1\nfirst";
        QTest::newRow("LF, none at the end") << lf << "first";
        QTest::newRow("CRLF") << QByteArray(lf).replace("\n", "\r\n") << "first";
        QTest::newRow("a mark before the folder") << bom + lf << "first";
        QTest::newRow("three marks before the folder") << bom + bom + bom + "/x\r" + settings << "";
        QTest::newRow("marks at the start of a note")
            << "/x\r" + settings + bom + bom + "note\r"
            << QString(QChar(0xFEFF)) + QChar(0xFEFF) + "note";
        QTest::newRow("a mark inside a line")
            << "/x\r" + settings + "a" + bom + "\r" << QString("a") + QChar(0xFEFF);
    }
    void readsBackAlike() {
        QFETCH(QByteArray, file);
        QFETCH(QString, note);
        const pf::Data first = pf::read(file);
        QCOMPARE(first.folder, QString("/x"));
        QCOMPARE(first.count, 1);
        QCOMPARE(first.notes.empty() ? QString() : first.notes[0][note::Text], note);
        const QByteArray written = pf::write(first);
        QCOMPARE(pf::read(written).notes.at(0)[note::Text], note);
        QCOMPARE(pf::write(pf::read(written)), written);
    }

    // A line break inside a text would shift every line after it.
    void lineBreakInsideATextBecomesABlank() {
        pf::Data d = defaults(2);
        d.folder = "/tmp/odd\nfolder";
        d.notes = {noteOf({"two\nlines", "a\rb", "c\r\nd"})};
        const QByteArray file = pf::write(d);
        QCOMPARE(file.count('\r'), 28 + 13 * 2);
        QVERIFY(!file.contains('\n'));
        const pf::Data back = pf::read(file);
        QCOMPARE(back.folder, QString("/tmp/odd folder"));
        QCOMPARE(QStringList(back.notes[0].begin(), back.notes[0].begin() + 3),
                 QStringList({"two lines", "a b", "c  d"}));
        QCOMPARE(back.ombra, 5);
    }

    void hostileFiles_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QList<int>>("read"); // thumb_pos, percent, count, note blocks
        QTest::addColumn<QColor>("colour1");
        const int intMax = std::numeric_limits<int>::max();
        const QColor black(0, 0, 0), grey = HSV(0, 0, 0.8);
        // The default file without pictures, with line n (1-based) replaced and cells added.
        const auto with = [](std::initializer_list<std::pair<int, QByteArray>> changes, int cells) {
            QList<QByteArray> lines = linesOf(pf::write(defaults(0)));
            for (const auto& [n, text] : changes)
                lines[n - 1] = text;
            return lines.join('\r') + '\r' + QByteArray("cell\r").repeated(cells);
        };
        QTest::newRow("count -5") << with({{28, "-5"}}, 26) << QList<int>{0, 10, 0, 0} << grey;
        QTest::newRow("count 2147483647, one block")
            << with({{28, "2147483647"}}, 13) << QList<int>{0, 10, intMax, 1} << grey;
        QTest::newRow("count 1e300")
            << with({{28, "1e300"}}, 0) << QList<int>{0, 10, intMax, 0} << grey;
        QTest::newRow("count beyond the lines")
            << with({{28, "4"}}, 30) << QList<int>{0, 10, 4, 3} << grey;
        // Hue 0.5 at full saturation and value is cyan; saturation 1e300 holds at 1.
        QTest::newRow("colour out of range") << with({{7, "0.5"}, {8, "1e300"}, {9, "7"}}, 0)
                                             << QList<int>{0, 10, 0, 0} << QColor(0, 255, 255);
        QTest::newRow("strip outside its ranges")
            << with({{2, "9"}, {3, "1000"}}, 0) << QList<int>{9, 1000, 0, 0} << grey;
        QTest::newRow("cut within the settings")
            << QByteArray("/x\r0\r10\r") << QList<int>{0, 10, 0, 0} << black;
        QByteArray garbage;
        for (int i = 0; i < 4000; ++i) { // every kind of byte but digits, signs and points
            const char c = char((i * 97 + 13) % 256);
            garbage += QByteArray("0123456789+-.").contains(c) ? '\0' : c;
        }
        QTest::newRow("binary garbage") << garbage << QList<int>{0, 0, 0, 0} << black;
        QTest::newRow("garbage after a count")
            << with({{28, "100"}}, 0) + garbage << QList<int>{0, 10, 100, 3} << grey;
    }
    void hostileFiles() {
        QFETCH(QByteArray, file);
        QFETCH(QList<int>, read);
        QFETCH(QColor, colour1);
        const pf::Data d = pf::read(file);
        QCOMPARE(QList<int>({d.thumb_pos, d.percent, d.count, int(d.notes.size())}), read);
        QCOMPARE(pf::colour(d, colour::StripBackground), colour1);
    }
};

QTEST_GUILESS_MAIN(PresentationFileTest)
#include "presentation_file_test.moc"

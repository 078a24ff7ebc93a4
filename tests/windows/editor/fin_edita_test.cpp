// The notes editor: its preview of the picture area, navigation, the load of a stored note,
// the stored form of every edit, the rectangle drawn with two clicks, and the way back.
#include "common/testfiles.h"
#include "common/testseams.h"
#include "logic/state/globali.h"
#include "pictures/picture_compose.h"
#include "resources/pictures.h"
#include "windows/editor/fin_edita.h"
#include "windows/presentation/fin_pict.h"
#include "windows/presentation/presentation.h"
#include "windows/setup/start.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

using namespace Globali;

namespace {
// On a 1024 x 768 screen with a 100-pixel strip at the left the preview is at (24, 44),
// 252 x 210, for a picture area 923 pixels wide.
const QPoint LT(24, 44);

fin_edita* editorOn(WindowFixture& f, int pictures) {
    f.importFolder(f.makeFolder("pics", pictures));
    return f.openEditor();
}
QStringList frameCells() {
    return WindowFixture::row(1).mid(note::FrameLeft, 4);
}
int checkedRadio(fin_edita* w) {
    QList<int> checked;
    for (int i = 0; i < 6; ++i)
        if (w->RadioB(i)->isChecked()) checked << i;
    return checked.size() == 1 ? checked[0] : checked.isEmpty() ? -1 : -2;
}
bool frameShown(fin_edita* w) {
    for (int i = 0; i < 4; ++i)
        if (w->bordo(i)->isHidden()) return false;
    return true;
}
// A click at a point of the preview, on the window: what lies over the preview there (the
// note's sample text, the corners' handles) lets it through.
void click(fin_edita* w, QPoint p) {
    QTest::mouseClick(w->windowHandle(), Qt::LeftButton, {}, w->rec_schermo->mapTo(w, p));
}
void tick(QWidget* box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, 10));
}
// Until the preview shows the picture asked for last.
bool previewShown(fin_edita* w) {
    return QTest::qWaitFor([w] { return !w->previewPending(); });
}
} // namespace

class FinEditaTest : public QObject {
    Q_OBJECT
  private slots:
    // First, Previous, Next and Last: the picture shown, and which of them can be used.
    void navigation_data() {
        QTest::addColumn<int>("pictures");
        QTest::addColumn<QString>("clicks"); // F first, P previous, N next, L last
        QTest::addColumn<int>("shown");
        QTest::addColumn<QString>("enabled"); // First, Previous, Next, Last
        QTest::newRow("one picture") << 1 << "" << 1 << "0000";
        QTest::newRow("next to 5 of 7") << 7 << "NNNN" << 5 << "1111";
        QTest::newRow("next to the last") << 7 << "NNNNNN" << 7 << "1100";
        QTest::newRow("last") << 7 << "L" << 7 << "1100";
        QTest::newRow("last, previous") << 7 << "LP" << 6 << "1111";
        QTest::newRow("previous to the first") << 7 << "NP" << 1 << "0011";
        QTest::newRow("first") << 7 << "LPF" << 1 << "0011";
    }
    void navigation() {
        QFETCH(int, pictures);
        QFETCH(QString, clicks);
        QFETCH(int, shown);
        QFETCH(QString, enabled);
        WindowFixture f;
        fin_edita* w = editorOn(f, pictures);
        const QList<fw::PushButton*> buttons{w->PushButton1, w->PushButton2, w->PushButton3,
                                             w->PushButton4};
        for (QChar click : clicks)
            QTest::mouseClick(buttons[QString("FPNL").indexOf(click)], Qt::LeftButton);
        QCOMPARE(puntatore, shown);
        QCOMPARE(w->StaticText1->text(), QStringLiteral("pic%1.png").arg(shown));
        QString state;
        for (fw::PushButton* b : buttons)
            state += b->isEnabled() ? '1' : '0';
        QCOMPARE(state, enabled);
    }

    void loadsAFreshPicture() {
        WindowFixture f;
        fin_edita* w = editorOn(f, 1);
        QCOMPARE(w->EditField1->text(), QString());
        QCOMPARE(checkedRadio(w), 0);
        QCOMPARE(w->Rectangle1->pos(), QPoint(34, 224)); // the preview's bottom left
        QCOMPARE(w->PopupMenu1->currentIndex(), 0);
        QCOMPARE(w->PopupMenu2->currentText(), QStringLiteral("12"));
        QVERIFY(!w->CheckBoxs(0)->isChecked() && !w->CheckBoxs(2)->isChecked());
        QVERIFY(!w->CheckBox1->isChecked());
        QCOMPARE(w->Slider1->value(), 5);
        QCOMPARE(f.row(1), QStringList({"", "", "", "", "", "", "", "", "", "", "", "", "5"}));
    }

    // Each stored cell reaches its own control; a damaged one selects nothing and stays
    // stored. The font row 2 is the third installed font.
    void loadsStoredCells_data() {
        QTest::addColumn<QStringList>("cells"); // text, font, size, styles, place, frame on, line
        QTest::addColumn<QList<int>>("shown");  // font, size, bold, italic, underline, place,
                                                // frame on, border width
        QTest::newRow("one note") << QStringList{"Hello", "FONT2", "30\t", "1", "0", "1", "4",
                                                 "1",     "",      "",     "",  "",  "7"}
                                  << QList<int>{2, 3, 1, 0, 1, 4, 1, 7};
        QTest::newRow("another note")
            << QStringList{"Bye", "", "72", "0", "1", "0", "2", "0", "", "", "", "", "1"}
            << QList<int>{0, 10, 0, 1, 0, 2, 0, 1};
        QTest::newRow("damaged cells")
            << QStringList{"x", "no such font", "500", "1.0", "true", "2", "9", "x", "", "", "", "",
                           "40"}
            << QList<int>{0, -1, 1, 0, 0, -1, 0, 9};
    }
    void loadsStoredCells() {
        QFETCH(QStringList, cells);
        QFETCH(QList<int>, shown);
        WindowFixture f;
        f.importFolder(f.makeFolder("pics", 1));
        cells.replaceInStrings("FONT2", fw::Single<fin_edita>::get()->PopupMenu1->itemText(2));
        f.setRow(1, cells);
        fin_edita* w = f.openEditor();
        QCOMPARE(w->EditField1->text(), cells[note::Text]);
        QCOMPARE(QList<int>({w->PopupMenu1->currentIndex(), w->PopupMenu2->currentIndex(),
                             w->CheckBoxs(0)->isChecked(), w->CheckBoxs(1)->isChecked(),
                             w->CheckBoxs(2)->isChecked(), checkedRadio(w),
                             w->CheckBox1->isChecked(), w->Slider1->value()}),
                 shown);
        QCOMPARE(w->StaticText10->text(), QString::number(shown[7]));
        QCOMPARE(w->bordo(0)->lineWidth(), shown[7]);
        QCOMPARE(f.row(1), cells);
    }

    void loadsAStoredFrame() {
        // A 1101 x 840 screen with a 100-pixel strip: area 1000 x 840, preview (25, 44),
        // 250 x 210, so r = 0.25.
        WindowFixture f(QSize(1101, 840));
        f.importFolder(f.makeFolder("pics", 2));
        f.setRow(1, {"", "", "", "", "", "", "", "0", "100", "200", "400", "300", "5"});
        fin_edita* w = f.openEditor();
        const QPoint lt(25, 44);
        QCOMPARE(w->rec_schermo->geometry(), QRect(lt, QSize(250, 210)));
        QCOMPARE(QSize(pct_dx, pct_dy), QSize(1000, 840));
        QCOMPARE(w->recbordo(0)->pos(), lt + QPoint(21, 46));
        QCOMPARE(w->recbordo(1)->pos(), lt + QPoint(121, 121));
        QCOMPARE(w->bordo(0)->p1(), lt + QPoint(25, 50));
        QCOMPARE(w->bordo(3)->p2(), lt + QPoint(125, 125));
        QVERIFY(frameShown(w)); // although "Use rectangle" is not ticked
        // Without a height no frame is shown, and the handles leave the preview.
        contorno(2, note::FrameWidth) = "400";
        QTest::mouseClick(w->PushButton3, Qt::LeftButton); // to such a picture
        QVERIFY(!frameShown(w));
        QVERIFY(!w->rec_schermo->geometry().intersects(w->recbordo(0)->geometry() |
                                                       w->recbordo(1)->geometry()));
    }

    // Every edit goes at once, in its stored form, into the row of the picture shown.
    void editsStoreTheirForm() {
        WindowFixture f;
        fin_edita* w = editorOn(f, 3);
        QTest::mouseClick(w->PushButton3, Qt::LeftButton);
        QTest::keyClicks(w->EditField1, "Note");
        QTest::mouseClick(w->RadioB(5), Qt::LeftButton);
        QCOMPARE(w->Rectangle1->pos(), QPoint(226, 54)); // the marker at the top right
        tick(w->CheckBoxs(2));
        tick(w->CheckBoxs(2));
        tick(w->CheckBoxs(1));
        tick(w->CheckBox1);
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(w->PopupMenu2, Qt::Key_Down);
        QTest::keyClick(w->PopupMenu1, Qt::Key_Down);
        QTest::keyClick(w->Slider1, Qt::Key_Right); // 5 and a step
        QCOMPARE(w->bordo(0)->lineWidth(), 6);
        QCOMPARE(w->StaticText10->text(), QString("6"));
        QCOMPARE(w->StaticText3->textFont().family(), w->PopupMenu1->itemText(1));
        QCOMPARE(f.row(2), QStringList({"Note", w->PopupMenu1->itemText(1), "30\t", "", "1", "0",
                                        "5", "1", "", "", "", "", "6"}));
        QCOMPARE(f.row(1).join(""), QString("5"));
        QCOMPARE(f.row(3).join(""), QString());
        QTest::mouseClick(w->RadioB(0), Qt::LeftButton); // back to the top left
        QCOMPARE(contorno(2, note::Position), QString("0"));
        // Pasted lines stay one line: a line break would shift every line of the file.
        QGuiApplication::clipboard()->setText(QStringLiteral("one\ntwo\r\nthree"));
        if (QGuiApplication::clipboard()->text().isEmpty()) QSKIP("no clipboard on this platform");
        QTest::keyClick(w->EditField1, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(w->EditField1, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(contorno(2, note::Text), QStringLiteral("one two  three"));
    }

    // A note typed on a picture whose font or size was never chosen keeps what the editor
    // shows: the first font and "12"; a cell already set keeps its value, and a picture whose
    // note is not touched keeps its empty cells. The presentation then draws the note at 12.
    void aNoteKeepsWhatTheEditorShows_data() {
        QTest::addColumn<QString>("font");
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("storedFont"); // "first": the font list's first row
        QTest::addColumn<QString>("storedSize");
        const auto row = [](const char* name, const char* font, const char* size,
                            const char* storedFont, const char* storedSize) {
            QTest::newRow(name) << QString(font) << QString(size) << QString(storedFont)
                                << QString(storedSize);
        };
        row("both empty", "", "", "first", "12");
        row("a font set", "Liberation Serif", "", "Liberation Serif", "12");
        row("a size set", "", "48", "first", "48");
        row("a font not installed", "No Such Font", "", "No Such Font", "12");
    }
    void aNoteKeepsWhatTheEditorShows() {
        QFETCH(QString, font);
        QFETCH(QString, size);
        QFETCH(QString, storedFont);
        QFETCH(QString, storedSize);
        WindowFixture f;
        f.importFolder(f.makeFolder("pics", 2));
        contorno(1, note::Font) = font;
        contorno(1, note::Size) = size;
        fin_edita* w = f.openEditor();
        const QString shownFont = w->PopupMenu1->currentText();
        QTest::keyClicks(w->EditField1, "Hi");
        QCOMPARE(f.row(1).mid(0, 3),
                 QStringList({"Hi", storedFont == "first" ? w->PopupMenu1->itemText(0) : storedFont,
                              storedSize}));
        if (font.isEmpty()) QCOMPARE(contorno(1, note::Font), shownFont);
        QTest::mouseClick(w->PushButton3, Qt::LeftButton);
        QTest::mouseClick(w->PushButton5, Qt::LeftButton);
        QCOMPARE(f.row(2).mid(0, 3), QStringList({"", "", ""}));
        // The presentation's label: the size plus 8 pixels high, the text at that size.
        start* setup = start::instance();
        setup->CheckBox2->setChecked(true);
        setup->bottone(0)->click();
        const fin_pict* view = fw::Single<fin_pict>::peek();
        QVERIFY(view && QTest::qWaitFor([] { return !presentation::busy(); }));
        QCOMPARE(view->StaticText1->height(), storedSize.toInt() + 8);
        QCOMPARE(view->StaticText1->textFont().pixelSize(), storedSize.toInt());
    }

    void twoClicks_data() {
        QTest::addColumn<QPoint>("first");
        QTest::addColumn<QPoint>("second");
        QTest::addColumn<QStringList>("stored"); // left, top, width, height
        QTest::newRow("worked example")
            << QPoint(20, 30) << QPoint(120, 100) << QStringList{"73", "109", "366", "257"};
        QTest::newRow("drawn backwards")
            << QPoint(120, 100) << QPoint(20, 30) << QStringList{"439", "366", "-366", "-257"};
        QTest::newRow("twice the same point, on the note's sample text")
            << QPoint(30, 190) << QPoint(30, 190) << QStringList{"109", "695", "0", "0"};
    }
    void twoClicks() {
        QFETCH(QPoint, first);
        QFETCH(QPoint, second);
        QFETCH(QStringList, stored);
        WindowFixture f;
        f.importFolder(f.makeFolder("pics", 1));
        // A rectangle stored without a height: its corners lie off the preview.
        f.setRow(1, {"", "", "", "", "", "", "", "0", "100", "200", "400", "", "5"});
        fin_edita* w = f.openEditor();
        tick(w->CheckBox1);
        click(w, first);
        // One corner on the preview: the old rectangle forgotten, nothing stored, no frame,
        // the other corner is next.
        QCOMPARE(frameCells(), QStringList({"", "", "", ""}));
        QVERIFY(w->bordo(0)->isHidden());
        QCOMPARE(volta, 1);
        click(w, second);
        QCOMPARE(frameCells(), stored);
        QCOMPARE(volta, 0);
        QVERIFY(frameShown(w));
        QCOMPARE(w->bordo(1)->p1(), LT + first);
        QCOMPARE(w->bordo(3)->p2(), LT + second);
        // Further clicks move the corners in turn; the preview's top-left corner is 0, 0.
        click(w, QPoint(200, 150));
        // The pointer leaving the preview puts the corner it was carrying back in place.
        emit w->rec_schermo->mouseMove(60, 70);
        emit w->rec_schermo->mouseExit();
        QCOMPARE(w->recbordo(1)->pos(), LT + second - QPoint(4, 4));
        click(w, QPoint(0, 0));
        QCOMPARE(frameCells(), QStringList({"732", "549", "-732", "-549"}));
        // Unticked, the stored rectangle stays and clicks change nothing.
        tick(w->CheckBox1);
        QCOMPARE(contorno(1, note::FrameOn), QStringLiteral("0"));
        click(w, QPoint(20, 30));
        emit w->rec_schermo->mouseMove(60, 70);
        QCOMPARE(frameCells(), QStringList({"732", "549", "-732", "-549"}));
        QCOMPARE(volta, 0);
        QCOMPARE(w->recbordo(0)->pos(), LT + QPoint(196, 146));
    }

    // Next while the preview is still decoding: the controls follow at once, the preview
    // keeps the picture shown until the one asked for last has come; a file that does not
    // decode shows the placeholder.
    void nextDuringASlowDecode() {
        WindowFixture f;
        f.importFolder(f.makeFolder("pics", 3));
        testfiles::writeText(f.path("pics/pic3.png"), "not a picture");
        contorno(3, note::Text) = "third";
        fin_edita* w = f.openEditor();
        QVERIFY(previewShown(w));
        const QImage first = prefre;
        QCOMPARE(first.pixelColor(126, 105), QColor(Qt::green));
        {
            LaneBlock slow(fw::Lane::Prompt);
            QTest::mouseClick(w->PushButton3, Qt::LeftButton);
            QTest::mouseClick(w->PushButton3, Qt::LeftButton);
            QCOMPARE(w->StaticText1->text(), QStringLiteral("pic3.png"));
            QCOMPARE(w->EditField1->text(), QStringLiteral("third"));
            QVERIFY(w->PushButton2->isEnabled() && !w->PushButton3->isEnabled());
            QVERIFY(w->previewPending());
            QCOMPARE(w->rec_schermo->backdrop(), first);
        }
        QVERIFY(previewShown(w));
        const QImage placeholder =
            picture_compose::composeFitted(pictures::notfound(), pictures::notfound().size(),
                                           QSize(252, 210), 1.0, colore(colour::PictureBackground));
        QCOMPARE(prefre, placeholder);
        QCOMPARE(w->rec_schermo->backdrop(), placeholder);
    }

    // OK, Return and the window system's close request all go back to the setup window,
    // with the strip size in percent again; each opening starts at picture 1.
    void waysBackToSetup_data() {
        QTest::addColumn<int>("way");
        QTest::newRow("OK") << 0;
        QTest::newRow("Return") << 1;
        QTest::newRow("close request") << 2;
    }
    void waysBackToSetup() {
        QFETCH(int, way);
        WindowFixture f;
        f.importFolder(f.makeFolder("pics", 7));
        start* setup = start::instance();
        setup->Slider1->setValueSilently(25);
        for (int opening = 0; opening < 2; ++opening) {
            setup->Hide();
            fin_edita* w = f.openEditor();
            QCOMPARE(puntatore, 1);
            QTest::mouseClick(w->PushButton3, Qt::LeftButton);
            if (way == 0) QTest::mouseClick(w->PushButton5, Qt::LeftButton);
            if (way == 1) QTest::keyClick(w, Qt::Key_Return);
            if (way == 2) w->close();
            QVERIFY(!fw::Single<fin_edita>::exists());
            QCOMPARE(thumb_per, 25);
            QVERIFY(setup->isVisible());
        }
    }
};

QTEST_MAIN(FinEditaTest)
#include "fin_edita_test.moc"

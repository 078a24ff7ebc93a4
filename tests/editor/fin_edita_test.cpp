// The notes editor window: its layout, opening, navigation, the stored form of every edit
// and the way back to the setup window.
#include "editor/editor_fixture.h"
#include "state/globali.h"
#include "windows/editor/fin_edita.h"
#include "windows/setup/start.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QTest>

namespace {
QWidget* control(fin_edita* w, const QString& name) {
    const QMap<QString, QWidget*> controls{
        {"PushButton1", w->PushButton1}, {"PushButton5", w->PushButton5},
        {"EditField1", w->EditField1},   {"StaticText10", w->StaticText10},
        {"RadioB4", w->RadioB(4)},       {"PopupMenu2", w->PopupMenu2},
        {"CheckBoxs2", w->CheckBoxs(2)}, {"Slider1", w->Slider1}};
    return controls.value(name);
}
} // namespace

class FinEditaTest : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() { EditorFixture::close(); }

    void layout_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        // A sample across the window: each column of controls and the bottom row.
        QTest::newRow("First") << "PushButton1" << QRect(10, 314, 80, 20);
        QTest::newRow("OK") << "PushButton5" << QRect(438, 314, 64, 20);
        QTest::newRow("note field") << "EditField1" << QRect(97, 282, 405, 22);
        QTest::newRow("read-out") << "StaticText10" << QRect(470, 230, 20, 20);
        QTest::newRow("top centre") << "RadioB4" << QRect(140, 24, 20, 20);
        QTest::newRow("sizes") << "PopupMenu2" << QRect(310, 72, 120, 20);
        QTest::newRow("Underline") << "CheckBoxs2" << QRect(310, 141, 120, 20);
        QTest::newRow("border slider") << "Slider1" << QRect(313, 256, 180, 16);
    }
    void layout() {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        EditorFixture f;
        f.loadPictures(1);
        QWidget* c = control(f.open(), name);
        QVERIFY(c);
        QCOMPARE(c->geometry(), geometry);
    }

    void windowAndLists() {
        EditorFixture f;
        f.loadPictures(1);
        fin_edita* w = f.open();
        QCOMPARE(w->content()->size(), QSize(512, 344));
        QCOMPARE(w->windowModality(), Qt::ApplicationModal);
        QCOMPARE(w->Line1->p2(), QPoint(300, 275));
        QCOMPARE(w->Slider1->minimum(), 1);
        QCOMPARE(w->Slider1->maximum(), 9);
        QCOMPARE(w->PopupMenu2->count(), 11);
        QStringList fonts;
        for (int i = 0; i < w->PopupMenu1->count(); ++i)
            fonts << w->PopupMenu1->itemText(i);
        QCOMPARE(fonts, QFontDatabase::families());
        // The marker's label sits inside it and moves with it.
        QCOMPARE(w->StaticText3->parentWidget(), w->Rectangle1);
        QCOMPARE(w->StaticText3->text(), QStringLiteral("TEXT"));
        QCOMPARE(w->StaticText3->textColor(), Globali::colore(3));
        QCOMPARE(w->Rectangle1->fill(), Globali::colore(4));
        QCOMPARE(w->bordo(3)->color(), Globali::colore(6));
        // The overlays lie above the preview and let its clicks through.
        const QObjectList order = w->content()->children();
        const auto at = [&](QObject* o) { return order.indexOf(o); };
        QVERIFY(at(w->rec_schermo) >= 0);
        QVERIFY(at(w->rec_schermo) < at(w->Rectangle1));
        QVERIFY(at(w->Rectangle1) < at(w->bordo(0)));
        QVERIFY(at(w->bordo(3)) < at(w->recbordo(0)));
        QVERIFY(at(w->recbordo(0)) < at(w->recbordo(1)));
        for (QWidget* overlay :
             {static_cast<QWidget*>(w->Rectangle1), static_cast<QWidget*>(w->StaticText3),
              static_cast<QWidget*>(w->recbordo(0)), static_cast<QWidget*>(w->recbordo(1)),
              static_cast<QWidget*>(w->bordo(0)), static_cast<QWidget*>(w->bordo(3))})
            QVERIFY(overlay->testAttribute(Qt::WA_TransparentForMouseEvents));
    }

    void captions_data() {
        QTest::addColumn<int>("lingua");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("useRectangle");
        QTest::newRow("English") << 1 << "Notes setup"
                                 << "<<  First"
                                 << "Use rectangle";
        QTest::newRow("Italian") << 2 << "Defizione note"
                                 << "<<  Primo"
                                 << "Usa rettangolo";
    }
    void captions() {
        QFETCH(int, lingua);
        QFETCH(QString, title);
        QFETCH(QString, first);
        QFETCH(QString, useRectangle);
        EditorFixture f;
        f.loadPictures(1);
        Globali::lingua = lingua;
        fin_edita* w = f.open();
        QCOMPARE(w->windowTitle(), title);
        QCOMPARE(w->PushButton1->text(), first);
        QCOMPARE(w->CheckBox1->text(), useRectangle);
        // Texts of no language keep their layout text.
        QCOMPARE(w->PushButton5->text(), QStringLiteral("OK"));
        QCOMPARE(w->StaticText4->text(), QStringLiteral("Font"));
    }

    void previewGeometry_data() {
        QTest::addColumn<int>("edge");
        QTest::addColumn<int>("pixels");
        QTest::addColumn<QSize>("area");
        QTest::addColumn<QRect>("preview");
        QTest::newRow("left, 100 px") << 0 << 100 << QSize(923, 768) << QRect(24, 44, 252, 210);
        QTest::newRow("top, 76 px") << 2 << 76 << QSize(1024, 691) << QRect(10, 55, 280, 188);
        // No such edge: the area found before (500 x 400 here) stays.
        QTest::newRow("edge 7") << 7 << 100 << QSize(500, 400) << QRect(19, 44, 262, 210);
    }
    void previewGeometry() {
        QFETCH(int, edge);
        QFETCH(int, pixels);
        QFETCH(QSize, area);
        QFETCH(QRect, preview);
        EditorFixture f(QSize(1024, 768));
        f.loadPictures(1);
        Globali::pct_dx = 500;
        Globali::pct_dy = 400;
        fin_edita* w = f.open(edge, pixels);
        QCOMPARE(QSize(Globali::pct_dx, Globali::pct_dy), area);
        QCOMPARE(w->rec_schermo->geometry(), preview);
        QCOMPARE(QRect(QPoint(Globali::xtl, Globali::ytl), QPoint(Globali::xbr, Globali::ybr)),
                 preview.adjusted(0, 0, 1, 1));
        QCOMPARE(Globali::prefre.size(), preview.size());
    }

    void navigation_data() {
        QTest::addColumn<int>("pictures");
        QTest::addColumn<QString>("clicks"); // F first, P previous, N next, L last
        QTest::addColumn<int>("shown");
        QTest::addColumn<QString>("enabled"); // First, Previous, Next, Last
        QTest::newRow("1 of 1") << 1 << "" << 1 << "0000";
        QTest::newRow("Next on 4 of 7") << 7 << "NNNN" << 5 << "1111";
        QTest::newRow("Last") << 7 << "L" << 7 << "1100";
        QTest::newRow("First") << 7 << "LF" << 1 << "0011";
        QTest::newRow("Previous") << 7 << "LP" << 6 << "1111";
    }
    void navigation() {
        QFETCH(int, pictures);
        QFETCH(QString, clicks);
        QFETCH(int, shown);
        QFETCH(QString, enabled);
        EditorFixture f;
        f.loadPictures(pictures);
        fin_edita* w = f.open();
        const QMap<QChar, QWidget*> buttons{{'F', w->PushButton1},
                                            {'P', w->PushButton2},
                                            {'N', w->PushButton3},
                                            {'L', w->PushButton4}};
        for (QChar c : clicks)
            QTest::mouseClick(buttons.value(c), Qt::LeftButton);
        QCOMPARE(Globali::puntatore, shown);
        QCOMPARE(w->StaticText1->text(), QStringLiteral("pic%1.png").arg(shown));
        const QString state = QString::number(w->PushButton1->isEnabled()) +
                              QString::number(w->PushButton2->isEnabled()) +
                              QString::number(w->PushButton3->isEnabled()) +
                              QString::number(w->PushButton4->isEnabled());
        QCOMPARE(state, enabled);
    }

    void editsGoToTheCurrentRow() {
        EditorFixture f;
        f.loadPictures(4);
        fin_edita* w = f.open();
        QTest::mouseClick(w->PushButton4, Qt::LeftButton);
        QTest::mouseClick(w->PushButton2, Qt::LeftButton);
        const QStringList before[] = {f.row(1), f.row(2), f.row(4)};
        QTest::mouseClick(w->CheckBoxs(0), Qt::LeftButton, {}, QPoint(8, 10));
        QCOMPARE(Globali::contorno(3, 3), QStringLiteral("1"));
        QCOMPARE(f.row(1), before[0]);
        QCOMPARE(f.row(2), before[1]);
        QCOMPARE(f.row(4), before[2]);
    }

    // The stored form of the size list, the font list and the position buttons.
    void choicesStoreTheirForm() {
        EditorFixture f;
        f.loadPictures(1);
        fin_edita* w = f.open();
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(w->PopupMenu2, Qt::Key_Down);
        QCOMPARE(Globali::contorno(1, 2), QStringLiteral("30\t"));
        QTest::keyClick(w->PopupMenu2, Qt::Key_End);
        QCOMPARE(Globali::contorno(1, 2), QStringLiteral("72"));

        QTest::mouseClick(w->RadioB(5), Qt::LeftButton);
        QCOMPARE(Globali::contorno(1, 6), QStringLiteral("5"));
        QVERIFY(w->RadioB(5)->isChecked() && !w->RadioB(0)->isChecked());
        // Preview at (24, 44), 252 x 210: top right is 50 left of its right, 10 below its top.
        QCOMPARE(w->Rectangle1->pos(), QPoint(226, 54));

        if (w->PopupMenu1->count() < 2) QSKIP("fewer than two fonts installed");
        QTest::keyClick(w->PopupMenu1, Qt::Key_Down);
        const QString chosen = w->PopupMenu1->itemText(1);
        QCOMPARE(Globali::contorno(1, 1), chosen);
        QCOMPARE(w->StaticText3->textFont().family(), chosen);
    }

    void styleBoxes_data() {
        QTest::addColumn<int>("box");
        QTest::newRow("bold") << 0;
        QTest::newRow("italic") << 1;
        QTest::newRow("underline") << 2;
    }
    void styleBoxes() {
        QFETCH(int, box);
        EditorFixture f;
        f.loadPictures(1);
        Globali::contorno(1, 3) = QStringLiteral("1");
        Globali::contorno(1, 5) = QStringLiteral("0");
        fin_edita* w = f.open();
        QStringList expected = f.row(1);
        QTest::mouseClick(w->CheckBoxs(box), Qt::LeftButton, {}, QPoint(8, 10));
        expected[3 + box] = w->CheckBoxs(box)->isChecked() ? "1" : "0";
        QCOMPARE(f.row(1), expected); // its own column alone
        QTest::mouseClick(w->CheckBoxs(box), Qt::LeftButton, {}, QPoint(8, 10));
        expected[3 + box] = expected[3 + box] == "1" ? "0" : "1";
        QCOMPARE(f.row(1), expected);
    }

    void borderSlider() {
        EditorFixture f;
        f.loadPictures(1);
        fin_edita* w = f.open();
        QTest::keyClick(w->Slider1, Qt::Key_End);
        QCOMPARE(w->Slider1->value(), 9);
        QCOMPARE(w->StaticText10->text(), QStringLiteral("9"));
        QCOMPARE(Globali::contorno(1, 12), QStringLiteral("9"));
        for (int i = 0; i < 4; ++i)
            QCOMPARE(w->bordo(i)->lineWidth(), 9);
        QTest::keyClick(w->Slider1, Qt::Key_Left);
        QCOMPARE(Globali::contorno(1, 12), QStringLiteral("8"));
    }

    void useRectangleKeepsTheRectangle() {
        EditorFixture f;
        f.loadPictures(1);
        f.setRow(1, {"", "", "", "", "", "", "", "1", "10", "20", "30", "40", "5"});
        fin_edita* w = f.open();
        QVERIFY(w->CheckBox1->isChecked());
        QTest::mouseClick(w->CheckBox1, Qt::LeftButton, {}, QPoint(8, 10));
        QCOMPARE(f.row(1),
                 QStringList({"", "", "", "", "", "", "", "0", "10", "20", "30", "40", "5"}));
        QTest::mouseClick(w->CheckBox1, Qt::LeftButton, {}, QPoint(8, 10));
        QCOMPARE(Globali::contorno(1, 7), QStringLiteral("1"));
    }

    void noteText() {
        EditorFixture f;
        f.loadPictures(1);
        Globali::contorno(1, 0) = QStringLiteral("old");
        fin_edita* w = f.open();
        QCOMPARE(w->EditField1->text(), QStringLiteral("old"));
        QTest::keyClick(w->EditField1, Qt::Key_End);
        QTest::keyClicks(w->EditField1, " note");
        QCOMPARE(Globali::contorno(1, 0), QStringLiteral("old note"));
        // Emptying the field stores an empty note.
        QTest::keyClick(w->EditField1, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(w->EditField1, Qt::Key_Backspace);
        QCOMPARE(Globali::contorno(1, 0), QString());
    }

    void pastedLinesStayOneLine() {
        EditorFixture f;
        f.loadPictures(1);
        fin_edita* w = f.open();
        QGuiApplication::clipboard()->setText(QStringLiteral("one\ntwo\r\nthree"));
        if (QGuiApplication::clipboard()->text().isEmpty()) QSKIP("no clipboard on this platform");
        QTest::keyClick(w->EditField1, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Globali::contorno(1, 0), QStringLiteral("one two  three"));
        QCOMPARE(w->EditField1->text(), Globali::contorno(1, 0));
    }

    void okReturnsToSetup() {
        EditorFixture f;
        start* setup = start::instance();
        f.loadPictures(7);
        setup->Slider1->setValueSilently(25);
        setup->Hide();
        fin_edita* w = f.open(0, 100);
        for (int i = 0; i < 4; ++i)
            QTest::mouseClick(w->PushButton3, Qt::LeftButton);
        QCOMPARE(Globali::puntatore, 5);
        QTest::mouseClick(w->PushButton5, Qt::LeftButton);
        QVERIFY(!fw::Single<fin_edita>::exists());
        QCOMPARE(Globali::thumb_per, 25);
        QVERIFY(setup->isVisible());
        // Each opening starts again at picture 1.
        w = f.open(0, 100);
        QCOMPARE(Globali::puntatore, 1);
        QCOMPARE(w->StaticText1->text(), QStringLiteral("pic1.png"));
        // Return presses OK.
        Globali::thumb_per = 100;
        QTest::keyClick(w, Qt::Key_Return);
        QVERIFY(!fw::Single<fin_edita>::exists());
        QCOMPARE(Globali::thumb_per, 25);
        // So does the window system's close request: the setup window never stays hidden.
        w = f.open(0, 100);
        setup->Hide();
        Globali::thumb_per = 100;
        w->close();
        QVERIFY(!fw::Single<fin_edita>::exists());
        QCOMPARE(Globali::thumb_per, 25);
        QVERIFY(setup->isVisible());
        setup->Close();
    }
};

QTEST_MAIN(FinEditaTest)
#include "fin_edita_test.moc"

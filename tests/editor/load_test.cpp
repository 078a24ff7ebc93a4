// The editor's load: a stored note shown in the controls and on the preview, without the
// load ever rewriting what is stored (but an empty border width).
#include "editor/editor_fixture.h"
#include "resources/pictures.h"
#include "state/globali.h"
#include "windows/editor/fin_edita.h"
#include "windows/editor/note_lists.h"
#include "windows/presentation/picture_compose.h"

#include <QFile>
#include <QTest>

namespace {
// Preview of a 923 x 768 area (1024 x 768 screen, 100-pixel strip at the left).
const QRect preview(24, 44, 252, 210);

int checkedRadio(fin_edita* w) {
    int checked = -1, count = 0;
    for (int i = 0; i < 6; ++i)
        if (w->RadioB(i)->isChecked()) {
            checked = i;
            ++count;
        }
    return count > 1 ? -2 : checked;
}
QStringList cells(const QString& c1, const QString& c2, const QString& c6, const QString& c12) {
    return {"note", c1, c2, "0", "1", "0", c6, "0", "", "", "", "", c12};
}
} // namespace

class LoadTest : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() { EditorFixture::close(); }

    void freshPicture() {
        EditorFixture f;
        f.loadPictures(1);
        fin_edita* w = f.open(0, 100);
        QCOMPARE(w->EditField1->text(), QString());
        QCOMPARE(checkedRadio(w), 0);
        QCOMPARE(w->Rectangle1->pos(), QPoint(34, 224));
        QCOMPARE(w->PopupMenu2->currentText(), QStringLiteral("12"));
        for (int i = 0; i < 3; ++i)
            QVERIFY(!w->CheckBoxs(i)->isChecked());
        QVERIFY(!w->CheckBox1->isChecked());
        QCOMPARE(w->Slider1->value(), 5);
        QCOMPARE(f.row(1), QStringList({"", "", "", "", "", "", "", "", "", "", "", "", "5"}));
        for (int i = 0; i < 4; ++i)
            QVERIFY(w->bordo(i)->isHidden());
        QCOMPARE(w->recbordo(0)->pos(), QPoint(-50, 213));
        QCOMPARE(w->recbordo(1)->pos(), QPoint(-50, 225));
    }

    void position_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("edge");
        QTest::addColumn<int>("pixels");
        QTest::addColumn<int>("radio");
        QTest::addColumn<QPoint>("marker");
        // Where each position lands is the geometry's test; here the stored cell reaches
        // the radio buttons and the marker, and a damaged one leaves both alone.
        QTest::newRow("5 top right") << "5" << 0 << 100 << 5 << QPoint(226, 54);
        // Preview (10, 55) 280 x 188: the centre column stays at 130.
        QTest::newRow("4 on a wider preview") << "4" << 2 << 76 << 4 << QPoint(130, 65);
        QTest::newRow("no number") << "top" << 0 << 100 << 0 << QPoint(34, 224);
        QTest::newRow("damaged 9") << "9" << 0 << 100 << -1 << QPoint(-50, -50);
    }
    void position() {
        QFETCH(QString, stored);
        QFETCH(int, edge);
        QFETCH(int, pixels);
        QFETCH(int, radio);
        QFETCH(QPoint, marker);
        EditorFixture f;
        f.loadPictures(1);
        Globali::contorno(1, 6) = stored;
        fin_edita* w = f.open(edge, pixels);
        QCOMPARE(checkedRadio(w), radio);
        QCOMPARE(w->Rectangle1->pos(), marker);
        QCOMPARE(Globali::contorno(1, 6), stored);
    }

    void sizeRow_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("row");
        QTest::newRow("30 and tab") << "30\t" << 3;
        QTest::newRow("no number") << "big" << 0;
        QTest::newRow("damaged 500") << "500" << -1;
    }
    void sizeRow() {
        QFETCH(QString, stored);
        QFETCH(int, row);
        EditorFixture f;
        f.loadPictures(1);
        Globali::contorno(1, 2) = stored;
        fin_edita* w = f.open();
        QCOMPARE(w->PopupMenu2->currentIndex(), row);
        QCOMPARE(Globali::contorno(1, 2), stored);
    }

    void fontRow() {
        EditorFixture f;
        f.loadPictures(2);
        Globali::contorno(1, 1) = QStringLiteral("No Such Font 4711");
        fin_edita* w = f.open();
        if (w->PopupMenu1->count() < 2) QSKIP("fewer than two fonts installed");
        QCOMPARE(w->PopupMenu1->currentIndex(), 0);
        QCOMPARE(Globali::contorno(1, 1), QStringLiteral("No Such Font 4711"));
        const int last = w->PopupMenu1->count() - 1;
        Globali::contorno(2, 1) = w->PopupMenu1->itemText(last);
        QTest::mouseClick(w->PushButton3, Qt::LeftButton);
        QCOMPARE(w->PopupMenu1->currentIndex(), last);
    }

    void switches() {
        EditorFixture f;
        f.loadPictures(1);
        f.setRow(1, {"", "", "", "1", "0", " 1", "", "1.9", "", "", "", "", ""});
        fin_edita* w = f.open();
        QVERIFY(w->CheckBoxs(0)->isChecked());
        QVERIFY(!w->CheckBoxs(1)->isChecked());
        QVERIFY(w->CheckBoxs(2)->isChecked());
        QVERIFY(w->CheckBox1->isChecked());
    }

    void borderWidth_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("shown");
        QTest::addColumn<QString>("after");
        QTest::newRow("empty becomes 5") << "" << 5 << "5";
        QTest::newRow("damaged 0") << "0" << 1 << "0";
        QTest::newRow("damaged 40") << "40" << 9 << "40";
    }
    void borderWidth() {
        QFETCH(QString, stored);
        QFETCH(int, shown);
        QFETCH(QString, after);
        EditorFixture f;
        f.loadPictures(1);
        Globali::contorno(1, 12) = stored;
        fin_edita* w = f.open();
        QCOMPARE(w->Slider1->value(), shown);
        QCOMPARE(w->StaticText10->text(), QString::number(shown));
        for (int i = 0; i < 4; ++i)
            QCOMPARE(w->bordo(i)->lineWidth(), shown);
        QCOMPARE(Globali::contorno(1, 12), after);
    }

    void storedFrame() {
        // A 1101 x 840 screen with a 100-pixel strip: area 1000 x 840, preview (25, 44),
        // 250 x 210, so r = 0.25.
        EditorFixture f(QSize(1101, 840));
        f.loadPictures(1);
        f.setRow(1, {"", "", "", "", "", "", "", "0", "100", "200", "400", "300", "5"});
        fin_edita* w = f.open(0, 100);
        const QPoint LT(25, 44);
        QCOMPARE(w->rec_schermo->geometry(), QRect(LT, QSize(250, 210)));
        QCOMPARE(w->recbordo(0)->pos(), LT + QPoint(21, 46));
        QCOMPARE(w->recbordo(1)->pos(), LT + QPoint(121, 121));
        QCOMPARE(w->bordo(0)->p1(), LT + QPoint(25, 50));
        QCOMPARE(w->bordo(0)->p2(), LT + QPoint(125, 50));
        QCOMPARE(w->bordo(1)->p2(), LT + QPoint(25, 125));
        QCOMPARE(w->bordo(2)->p1(), LT + QPoint(125, 50));
        QCOMPARE(w->bordo(3)->p1(), LT + QPoint(25, 125));
        QCOMPARE(w->bordo(3)->p2(), LT + QPoint(125, 125));
        // Shown although "Use rectangle" is not ticked.
        for (int i = 0; i < 4; ++i)
            QVERIFY(!w->bordo(i)->isHidden());
    }

    void frameNeedsColumn11() {
        EditorFixture f;
        f.loadPictures(1);
        f.setRow(1, {"", "", "", "", "", "", "", "1", "100", "200", "400", "", "5"});
        fin_edita* w = f.open();
        for (int i = 0; i < 4; ++i)
            QVERIFY(w->bordo(i)->isHidden());
        QCOMPARE(w->recbordo(0)->x(), -50);
        QCOMPARE(w->recbordo(1)->x(), -50);
    }

    void damagedRowsStayAsStored_data() {
        QTest::addColumn<QStringList>("row");
        QTest::newRow("position 9") << cells("", "24", "9", "5");
        QTest::newRow("unknown font") << cells("No Such Font 4711", "12", "1", "3");
        QStringList huge = cells("", "", "", "5");
        huge[7] = "1";
        huge[8] = huge[9] = huge[10] = huge[11] = "1e300";
        QTest::newRow("huge rectangle") << huge;
        QStringList negative = huge;
        negative[8] = negative[9] = negative[10] = negative[11] = "-99999999999";
        QTest::newRow("negative rectangle") << negative;
    }
    void damagedRowsStayAsStored() {
        QFETCH(QStringList, row);
        EditorFixture f;
        f.loadPictures(2);
        f.setRow(1, row);
        fin_edita* w = f.open();
        QCOMPARE(f.row(1), row);
        QTest::mouseClick(w->PushButton3, Qt::LeftButton);
        QTest::mouseClick(w->PushButton1, Qt::LeftButton);
        QCOMPARE(f.row(1), row);
        QCOMPARE(Globali::puntatore, 1);
    }

    void unreadablePictureShowsNotfound() {
        EditorFixture f;
        f.loadPictures(2);
        QFile broken(f.picturePath(2));
        QVERIFY(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
        broken.write("not a picture");
        broken.close();
        Globali::disegno(3) = f.picturePath(3); // beyond the set: never reached
        fin_edita* w = f.open(0, 100);
        QTest::mouseClick(w->PushButton3, Qt::LeftButton);
        QCOMPARE(w->StaticText1->text(), QStringLiteral("pic2.png"));
        const QImage expected = picture_compose::composeFitted(
            pictures::notfound(), pictures::notfound().size(), preview.size(), 1.0,
            Globali::colore(colour::PictureBackground));
        QCOMPARE(Globali::prefre, expected);
        QCOMPARE(w->rec_schermo->backdrop(), expected);
    }

    void noFileKeepsThePreview() {
        EditorFixture f;
        f.loadPictures(2);
        Globali::disegno(2) = FolderItem();
        fin_edita* w = f.open(0, 100);
        const QImage first = Globali::prefre;
        QTest::mouseClick(w->PushButton3, Qt::LeftButton);
        QCOMPARE(w->StaticText1->text(), QStringLiteral("?"));
        QCOMPARE(Globali::prefre, first);
        QCOMPARE(w->rec_schermo->backdrop(), first);
        QCOMPARE(Globali::contorno(2, 12), QStringLiteral("5"));
    }

    void pictureOutsideTheTable() {
        // A set whose note table is shorter than the set: nothing is stored for the missing
        // rows and nothing breaks.
        EditorFixture f;
        f.loadPictures(3);
        Globali::contorno.resize(1, 12);
        fin_edita* w = f.open();
        QTest::mouseClick(w->PushButton4, Qt::LeftButton);
        QCOMPARE(Globali::puntatore, 3);
        QCOMPARE(w->Slider1->value(), 5);
        QTest::mouseClick(w->CheckBoxs(0), Qt::LeftButton, {}, QPoint(8, 10));
        QCOMPARE(Globali::contorno.ubound1(), 1);
        QCOMPARE(Globali::contorno(1, 3), QString());
    }
};

QTEST_MAIN(LoadTest)
#include "load_test.moc"

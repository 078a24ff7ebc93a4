// A presentation as the user runs it: a generated folder imported on a 1024 x 768 screen,
// started from the setup window, thumbnails clicked, notes shown, and ended again.
#include "common/testfiles.h"
#include "common/testseams.h"
#include "state/globali.h"
#include "windows/presentation/fin_pict.h"
#include "windows/presentation/fin_thumb.h"
#include "windows/setup/start.h"

#include <QFile>
#include <QTest>

using namespace Globali;

namespace {
fin_pict* pictWin() {
    return fw::Single<fin_pict>::peek();
}
fin_thumb* stripWin() {
    return fw::Single<fin_thumb>::peek();
}
QColor backdropAt(int x, int y) {
    return pictWin()->backdropPicture().pixelColor(x, y);
}
void clickCell(int k) {
    QTest::mouseClick(stripWin()->miniabase(k), Qt::LeftButton);
}
const QRect parked(-20, -20, 0, 0);
} // namespace

class PresentationTest : public QObject {
    Q_OBJECT
    std::unique_ptr<WindowFixture> f;
    start* setup = nullptr;

  private slots:
    // Three pictures: a wide red one, a tall green one and a square blue one; both note
    // switches on.
    void init() {
        f = std::make_unique<WindowFixture>();
        setup = start::instance();
        setup->Show();
        f->makeFolder("show", 0);
        testfiles::writePicture(f->path("show/a.png"), QSize(400, 300), Qt::red);
        testfiles::writePicture(f->path("show/b.png"), QSize(100, 400), Qt::green);
        testfiles::writePicture(f->path("show/c.png"), QSize(300, 300), Qt::blue);
        f->importFolder(f->path("show"));
        QCOMPARE(quantidisegni, 3);
        setup->CheckBox1->setChecked(true);
        setup->CheckBox2->setChecked(true);
    }
    void cleanup() { f.reset(); }

    void frameAndSwitches_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("display");
        QTest::addColumn<bool>("withFill");
        QTest::newRow("notes with fill") << "Framed" << true << true;
        QTest::newRow("notes without fill") << "Framed" << true << false;
        QTest::newRow("notes off") << "Framed" << false << true;
        QTest::newRow("a frame without text") << "" << true << true;
    }
    void frameAndSwitches() {
        QFETCH(QString, text);
        QFETCH(bool, display);
        QFETCH(bool, withFill);
        setup->CheckBox2->setChecked(display);
        setup->CheckBox1->setChecked(withFill);
        // Second corner left of the first: the same frame as (100, 100) to (600, 300).
        WindowFixture::setRow(
            2, {text, "", "24", "", "", "", "3", "1", "600", "100", "-500", "200", "4"});
        setup->bottone(0)->click();
        clickCell(2);
        const QColor back = colore(colour::PictureBackground);
        const QColor line = display ? colore(colour::Frame) : back;
        QCOMPARE(backdropAt(100, 150), line);
        QCOMPARE(backdropAt(103, 150), line);
        QCOMPARE(backdropAt(104, 150), back);
        QCOMPARE(backdropAt(599, 299), line);
        QCOMPARE(backdropAt(460, 384), QColor(Qt::green));
        const QRect label = display && !text.isEmpty() ? QRect(20, 20, 460, 32) : parked;
        QCOMPARE(pictWin()->StaticText1->geometry(), label);
        QCOMPARE(pictWin()->Rectangle1->geometry(), withFill ? label : parked);
    }

    void damagedNoteCells() {
        WindowFixture::setRow(2, {"Big", "", "1e9", "", "", "", "1e400", "1", "-99999999999",
                                  "-99999999999", "-99999999999", "-99999999999", "-99999999999"});
        setup->bottone(0)->click();
        clickCell(2);
        const fw::StaticText* label = pictWin()->StaticText1;
        QCOMPARE(label->text(), QString("Big"));
        QCOMPARE(label->pos(), QPoint(-20, -20));
        QVERIFY(label->textFont().pixelSize() >= 1 && label->textFont().pixelSize() <= 1000);
        // A negative line width draws no frame.
        QCOMPARE(backdropAt(0, 0), colore(colour::PictureBackground));
    }

    // A picture that cannot be read: a placeholder in the strip, and a click on it leaves
    // the picture shown before, with the new picture's note.
    void unreadablePicture() {
        testfiles::writeText(f->path("show/c.png"), "no longer a picture");
        contorno(3, note::Text) = "Third";
        setup->bottone(0)->click();
        const QColor inCell = stripWin()->miniabase(3)->backdrop().pixelColor(50, 95);
        QVERIFY(inCell != colore(colour::CellBackground) && inCell != QColor(Qt::blue));
        clickCell(2);
        const qint64 shown = pictWin()->backdropPicture().cacheKey();
        clickCell(3);
        QCOMPARE(pictWin()->backdropPicture().cacheKey(), shown);
        QCOMPARE(pictWin()->StaticText1->text(), QString("Third"));
        // Deleted after the strip was built: the same.
        QVERIFY(QFile::remove(f->path("show/a.png")));
        clickCell(1);
        QCOMPARE(pictWin()->backdropPicture().cacheKey(), shown);
        QCOMPARE(pictWin()->StaticText1->text(), QString());
    }

    void endings_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Escape in the picture") << "pict";
        QTest::newRow("Escape in the strip") << "strip";
        QTest::newRow("exit cell") << "exit";
    }
    void endings() {
        QFETCH(QString, how);
        setup->bottone(0)->click();
        QCOMPARE(thumb_per, 102);
        // The slider moved without a redraw: the end takes the slider's value, not 10.
        setup->Slider1->setValueSilently(20);
        QTest::keyClick(pictWin(), Qt::Key_A);
        clickCell(3);
        QVERIFY(pictWin() && stripWin());
        if (how == "pict") QTest::keyClick(pictWin(), Qt::Key_Escape);
        if (how == "strip") QTest::keyClick(stripWin(), Qt::Key_Escape);
        if (how == "exit") clickCell(4);
        QVERIFY(!pictWin() && !stripWin() && setup->isVisible());
        QCOMPARE(thumb_per, 20);
        // A new presentation builds new windows.
        setup->bottone(0)->click();
        QCOMPARE(backdropAt(460, 384), QColor(Qt::red));
    }
};

QTEST_MAIN(PresentationTest)
#include "presentation_test.moc"

// A presentation as the user runs it: a generated folder imported on a 1024 x 768 screen,
// started from the setup window, thumbnails clicked, notes shown, and ended again.
#include "common/testseams.h"
#include "framework/values.h"
#include "resources/pictures.h"
#include "state/globali.h"
#include "windows/presentation/fin_pict.h"
#include "windows/presentation/fin_thumb.h"
#include "windows/presentation/mostra_pict.h"
#include "windows/presentation/picture_compose.h"
#include "windows/presentation/presentation.h"
#include "windows/presentation/thumbnail_cache.h"
#include "windows/setup/setup_routines.h"
#include "windows/setup/start.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <limits>

namespace {

fin_pict* pictWin() {
    return fw::Single<fin_pict>::peek();
}
fin_thumb* stripWin() {
    return fw::Single<fin_thumb>::peek();
}

void closeAll() {
    if (fin_pict* w = pictWin()) w->Close();
    if (fin_thumb* w = stripWin()) w->Close();
    if (start* w = fw::Single<start>::peek()) w->Close();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void savePicture(const QString& path, QSize size, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QVERIFY(image.save(path, "PNG"));
}

QColor backdropAt(int x, int y) {
    return pictWin()->backdropPicture().pixelColor(x, y);
}
QColor cellAt(int k, int x, int y) {
    return stripWin()->miniabase(k)->backdrop().pixelColor(x, y);
}

// The note of picture i: a text with the given position, 24 pixels, everything else off.
void setNote(int i, const QString& text, const QString& position) {
    const QStringList cells{
        text, "Liberation Sans", "24", "0", "0", "0", position, "0", "", "", "", "", ""};
    for (int c = 0; c < cells.size(); ++c)
        Globali::contorno(i, c) = cells[c];
}

} // namespace

class PresentationTest : public QObject {
    Q_OBJECT
    TestSeams* seams = nullptr;
    QTemporaryDir* folder = nullptr;
    start* setup = nullptr;

    QString file(const QString& name) const { return folder->filePath(name); }

    // "Start presentation" on the setup window, as the user clicks it.
    void startFromSetup() {
        setup->bottone(0)->click();
        QVERIFY(pictWin() && stripWin());
        QVERIFY(pictWin()->isVisible() && stripWin()->isVisible());
        QVERIFY(!setup->isVisible());
    }
    // Starting with the strip given in pixels, as the setup window leaves it.
    bool startWith(int edge, int pixels) {
        Globali::thumb_pos = edge;
        Globali::thumb_per = pixels;
        setup->Hide();
        return presentation::startPresentation();
    }
    void verifyEnded() {
        QVERIFY(!pictWin() && !stripWin());
        QVERIFY(setup->isVisible());
        QCOMPARE(Globali::thumb_per, setup->Slider1->value());
    }

  private slots:
    void init() {
        closeAll();
        seams = new TestSeams(QSize(1024, 768));
        Globali::reset();
        setup = start::instance();
        setup->Show();
        thumbnail_cache::clear();
        folder = new QTemporaryDir;
        savePicture(file("a.png"), QSize(400, 300), Qt::red);   // wide
        savePicture(file("b.png"), QSize(100, 400), Qt::green); // tall
        savePicture(file("c.png"), QSize(300, 300), Qt::blue);  // square
        QFile text(file("notes.txt"));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("not a picture\n");
        text.close();
        QVERIFY(QDir(folder->path()).mkdir("sub"));
        savePicture(file("sub/d.png"), QSize(50, 50), Qt::yellow);
        seams->folders.push_back(folder->path());
        Globali::importa();
        QCOMPARE(Globali::quantidisegni, 3);
        QCOMPARE(Globali::disegno(2), file("b.png"));
        setup->CheckBox1->setChecked(true);
        setup->CheckBox2->setChecked(true);
    }
    void cleanup() {
        closeAll();
        delete folder;
        delete seams;
    }

    void layout_data() {
        QTest::addColumn<int>("edge");
        QTest::addColumn<int>("pixels");
        QTest::addColumn<QRect>("strip");
        QTest::addColumn<QRect>("picture");
        QTest::addColumn<QRect>("firstCell");
        QTest::addColumn<QRect>("exitCell");
        QTest::newRow("left") << 0 << 102 << QRect(0, 0, 102, 768) << QRect(103, 0, 921, 768)
                              << QRect(1, 1, 100, 190) << QRect(1, 577, 100, 190);
        QTest::newRow("bottom") << 3 << 76 << QRect(0, 692, 1024, 76) << QRect(0, 0, 1024, 691)
                                << QRect(1, 1, 254, 74) << QRect(769, 1, 254, 74);
    }
    void layout() {
        QFETCH(int, edge);
        QFETCH(int, pixels);
        QFETCH(QRect, strip);
        QFETCH(QRect, picture);
        QFETCH(QRect, firstCell);
        QFETCH(QRect, exitCell);
        QVERIFY(startWith(edge, pixels));
        QCOMPARE(stripWin()->frameGeometry(), strip);
        QCOMPARE(pictWin()->frameGeometry(), picture);
        QCOMPARE(QSize(Globali::tmb_dx, Globali::tmb_dy), strip.size());
        QCOMPARE(QSize(Globali::pct_dx, Globali::pct_dy), picture.size());
        QCOMPARE(stripWin()->windowFlags() & Qt::FramelessWindowHint, Qt::FramelessWindowHint);
        QCOMPARE(stripWin()->miniabase.count(), 5); // member 0 and four cells
        QCOMPARE(stripWin()->miniabase(0)->geometry(), QRect(-200, -200, 100, 100));
        QCOMPARE(stripWin()->miniabase(1)->geometry(), firstCell);
        QCOMPARE(stripWin()->miniabase(4)->geometry(), exitCell);
        for (int k = 1; k <= 4; ++k)
            QCOMPARE(stripWin()->miniabase(k)->backdrop().size(), firstCell.size());
        // Picture 1 (red, 4:3) is shown at once.
        QCOMPARE(pictWin()->backdropPicture().size(), picture.size());
        QCOMPARE(backdropAt(picture.width() / 2, picture.height() / 2), QColor(Qt::red));
    }

    void thumbnailsAndClick() {
        startFromSetup();
        const QColor fill = Globali::colore(0), back = Globali::colore(2);
        QCOMPARE(stripWin()->content()->palette().color(QPalette::Window),
                 QColor(Globali::colore(1)));
        // a.png 400 x 300 in a 100 x 190 cell: 100 x 75 at (0, 57).
        QCOMPARE(cellAt(1, 50, 56), fill);
        QCOMPARE(cellAt(1, 50, 57), QColor(Qt::red));
        QCOMPARE(cellAt(1, 50, 131), QColor(Qt::red));
        QCOMPARE(cellAt(1, 50, 132), fill);
        // b.png 100 x 400: 47 x 190 at (26, 0).
        QCOMPARE(cellAt(2, 25, 95), fill);
        QCOMPARE(cellAt(2, 26, 95), QColor(Qt::green));
        QCOMPARE(cellAt(2, 72, 95), QColor(Qt::green));
        QCOMPARE(cellAt(2, 73, 95), fill);

        QTest::mouseClick(stripWin()->miniabase(2), Qt::LeftButton);
        // 100 x 400 in 921 x 768: 192 x 768 at (364, 0).
        QCOMPARE(pictWin()->backdropPicture().size(), QSize(921, 768));
        QCOMPARE(backdropAt(100, 384), back);
        QCOMPARE(backdropAt(363, 384), back);
        QCOMPARE(backdropAt(364, 0), QColor(Qt::green));
        QCOMPARE(backdropAt(555, 767), QColor(Qt::green));
        QCOMPARE(backdropAt(556, 384), back);
        // No note text: every note control parked.
        QCOMPARE(pictWin()->StaticText1->geometry(), QRect(-20, -20, 0, 0));
        QCOMPARE(pictWin()->Rectangle1->geometry(), QRect(-20, -20, 0, 0));
    }

    void note_data() {
        QTest::addColumn<QString>("position");
        QTest::addColumn<QRect>("label");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("align");
        // Window 921 x 768, 24 pixels: label 460 x 32. Every position is the geometry's
        // test; these rows check that the cells reach the labels.
        QTest::newRow("bottom right") << "2" << QRect(441, 716, 460, 32) << "Hi " << 2;
        QTest::newRow("top centre") << "4" << QRect(230, 20, 460, 32) << " Hi" << 1;
        QTest::newRow("empty reads bottom left") << "" << QRect(20, 716, 460, 32) << "Hi" << 0;
    }
    void note() {
        QFETCH(QString, position);
        QFETCH(QRect, label);
        QFETCH(QString, text);
        QFETCH(int, align);
        setNote(2, "Hi", position);
        Globali::contorno(2, 3) = "1";
        Globali::contorno(2, 5) = "1";
        startFromSetup();
        QTest::mouseClick(stripWin()->miniabase(2), Qt::LeftButton);
        const fin_pict* w = pictWin();
        const int ombra = Globali::ombra;
        QCOMPARE(w->StaticText1->geometry(), label);
        QCOMPARE(w->StaticText1->text(), text);
        QCOMPARE(w->StaticText1->alignment(), align);
        QCOMPARE(w->StaticText2->geometry(), label.translated(ombra, ombra));
        QCOMPARE(w->StaticText2->text(), text);
        QCOMPARE(w->StaticText2->alignment(), align);
        QCOMPARE(w->Rectangle1->geometry(), label);
        for (const fw::StaticText* t : {w->StaticText1, w->StaticText2}) {
            QCOMPARE(t->textFont().family(), QString("Liberation Sans"));
            QCOMPARE(t->textFont().pixelSize(), 24);
            QVERIFY(t->textFont().bold() && t->textFont().underline() && !t->textFont().italic());
        }
        QCOMPARE(w->StaticText1->textColor(), QColor(Globali::colore(3)));
        QCOMPARE(w->StaticText2->textColor(), QColor(Globali::colore(5)));
        QCOMPARE(w->Rectangle1->fill(), QColor(Globali::colore(4)));
        // The next picture without a note parks the labels again.
        QTest::mouseClick(stripWin()->miniabase(1), Qt::LeftButton);
        QCOMPARE(w->StaticText1->geometry(), QRect(-20, -20, 0, 0));
        QCOMPARE(w->StaticText1->text(), QString());
    }

    void frameAndSwitches_data() {
        QTest::addColumn<bool>("display");
        QTest::addColumn<bool>("withFill");
        QTest::newRow("notes with fill") << true << true;
        QTest::newRow("notes without fill") << true << false;
        QTest::newRow("notes off") << false << true;
    }
    void frameAndSwitches() {
        QFETCH(bool, display);
        QFETCH(bool, withFill);
        setup->CheckBox2->setChecked(display);
        setup->CheckBox1->setChecked(withFill);
        setNote(2, "Framed", "3");
        // Second corner left of the first: the same frame as (100, 100) to (600, 300).
        const QStringList frame{"1", "600", "100", "-500", "200", "4"};
        for (int c = 0; c < frame.size(); ++c)
            Globali::contorno(2, 7 + c) = frame[c];
        startFromSetup();
        QTest::mouseClick(stripWin()->miniabase(2), Qt::LeftButton);
        const QColor line = display ? QColor(Globali::colore(6)) : QColor(Globali::colore(2));
        const QColor back = Globali::colore(2);
        QCOMPARE(backdropAt(100, 150), line);
        QCOMPARE(backdropAt(103, 150), line);
        QCOMPARE(backdropAt(104, 150), back);
        QCOMPARE(backdropAt(300, 100), line);
        QCOMPARE(backdropAt(300, 104), back);
        QCOMPARE(backdropAt(599, 299), line);
        QCOMPARE(backdropAt(595, 150), back);
        QCOMPARE(backdropAt(600, 150), back);
        QCOMPARE(backdropAt(460, 384), QColor(Qt::green));
        const QRect label(20, 20, 460, 32), parked(-20, -20, 0, 0);
        QCOMPARE(pictWin()->StaticText1->geometry(), display ? label : parked);
        QCOMPARE(pictWin()->Rectangle1->geometry(), display && withFill ? label : parked);
    }

    void frameWithoutText() {
        setNote(2, "", "0");
        Globali::contorno(2, 7) = "1";
        Globali::contorno(2, 8) = "10";
        Globali::contorno(2, 9) = "10";
        Globali::contorno(2, 10) = "50";
        Globali::contorno(2, 11) = "50";
        Globali::contorno(2, 12) = "2";
        startFromSetup();
        QTest::mouseClick(stripWin()->miniabase(2), Qt::LeftButton);
        QCOMPARE(backdropAt(10, 30), QColor(Globali::colore(6)));
        QCOMPARE(pictWin()->StaticText1->geometry(), QRect(-20, -20, 0, 0));
    }

    void damagedNoteCells() {
        setNote(2, "Big", "1e400");
        Globali::contorno(2, 2) = "1e9";
        Globali::contorno(2, 7) = "1";
        for (int c = 8; c <= 12; ++c)
            Globali::contorno(2, c) = "-99999999999";
        startFromSetup();
        QTest::mouseClick(stripWin()->miniabase(2), Qt::LeftButton);
        const fw::StaticText* label = pictWin()->StaticText1;
        QCOMPARE(label->text(), QString("Big"));
        QCOMPARE(label->pos(), QPoint(-20, -20));
        QVERIFY(label->textFont().pixelSize() >= 1 && label->textFont().pixelSize() <= 1000);
        // A negative line width draws no frame.
        QCOMPARE(backdropAt(0, 0), QColor(Globali::colore(2)));
    }

    void unreadablePicture() {
        QFile damaged(file("c.png"));
        QVERIFY(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
        damaged.write("no longer a picture");
        damaged.close();
        setNote(3, "Third", "0");
        startFromSetup();
        const QImage placeholder =
            picture_compose::composeFitted(pictures::notfound(), pictures::notfound().size(),
                                           QSize(100, 190), 1.0, Globali::colore(0));
        QCOMPARE(stripWin()->miniabase(3)->backdrop(), placeholder);

        QTest::mouseClick(stripWin()->miniabase(2), Qt::LeftButton);
        const qint64 shown = pictWin()->backdropPicture().cacheKey();
        QTest::mouseClick(stripWin()->miniabase(3), Qt::LeftButton);
        QCOMPARE(pictWin()->backdropPicture().cacheKey(), shown);
        QCOMPARE(pictWin()->StaticText1->text(), QString("Third"));
        QCOMPARE(pictWin()->StaticText1->pos(), QPoint(20, 716));

        // Deleted after the strip was built: the same.
        QVERIFY(QFile::remove(file("a.png")));
        QTest::mouseClick(stripWin()->miniabase(1), Qt::LeftButton);
        QCOMPARE(pictWin()->backdropPicture().cacheKey(), shown);
        QCOMPARE(pictWin()->StaticText1->text(), QString());
    }

    void pictureNumbersOutOfRange_data() {
        QTest::addColumn<int>("number");
        QTest::newRow("0") << 0;
        QTest::newRow("past the last") << 4;
        QTest::newRow("int max") << std::numeric_limits<int>::max();
        QTest::newRow("int min") << std::numeric_limits<int>::min();
    }
    void pictureNumbersOutOfRange() {
        QFETCH(int, number);
        setNote(1, "First", "0");
        startFromSetup();
        const qint64 shown = pictWin()->backdropPicture().cacheKey();
        QCOMPARE(pictWin()->StaticText1->text(), QString("First"));
        Globali::mostra_pict(number);
        QCOMPARE(pictWin()->backdropPicture().cacheKey(), shown);
        QCOMPARE(pictWin()->StaticText1->geometry(), QRect(-20, -20, 0, 0));
    }

    void exitCell_data() {
        QTest::addColumn<int>("lingua");
        QTest::addColumn<bool>("english");
        QTest::newRow("English") << 1 << true;
        QTest::newRow("Italian") << 2 << false;
    }
    void exitCell() {
        QFETCH(int, lingua);
        QFETCH(bool, english);
        Globali::lingua = lingua;
        startFromSetup();
        const QImage& button = english ? pictures::eexit() : pictures::eesci();
        QCOMPARE(stripWin()->miniabase(4)->backdrop(),
                 picture_compose::composeFitted(button, button.size(), QSize(100, 190), 1.0,
                                                Globali::colore(0)));
    }

    void endings_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Escape in the picture") << "pict";
        QTest::newRow("Escape in the strip") << "strip";
        QTest::newRow("exit cell") << "exit";
    }
    void endings() {
        QFETCH(QString, how);
        startFromSetup();
        QCOMPARE(Globali::thumb_per, 102);
        // The slider moved without a redraw: the end takes the slider's value, not 10.
        setup->Slider1->setValueSilently(20);
        QTest::keyClick(pictWin(), Qt::Key_A);
        QTest::mouseClick(stripWin()->miniabase(3), Qt::LeftButton);
        QVERIFY(pictWin() && stripWin());
        if (how == "pict")
            QTest::keyClick(pictWin(), Qt::Key_Escape);
        else if (how == "strip")
            QTest::keyClick(stripWin(), Qt::Key_Escape);
        else
            QTest::mouseClick(stripWin()->miniabase(4), Qt::LeftButton);
        verifyEnded();
        QCOMPARE(Globali::thumb_per, 20);
        // A new presentation builds new windows.
        startFromSetup();
        QCOMPARE(backdropAt(460, 384), QColor(Qt::red));
    }

    void thumbnailCacheReuse() {
        const int before = thumbnail_cache::decodeCount();
        startFromSetup();
        QCOMPARE(thumbnail_cache::decodeCount() - before, 3);
        const QImage first = stripWin()->miniabase(1)->backdrop();
        QTest::keyClick(pictWin(), Qt::Key_Escape);

        startFromSetup();
        QCOMPARE(thumbnail_cache::decodeCount() - before, 3);
        QCOMPARE(stripWin()->miniabase(1)->backdrop(), first);
        QTest::keyClick(pictWin(), Qt::Key_Escape);

        // A changed file is decoded again; so is every picture for another cell size.
        QFile touched(file("b.png"));
        QVERIFY(touched.open(QIODevice::ReadWrite));
        QVERIFY(touched.setFileTime(QDateTime::currentDateTime().addSecs(60),
                                    QFileDevice::FileModificationTime));
        touched.close();
        startFromSetup();
        QCOMPARE(thumbnail_cache::decodeCount() - before, 4);
        QTest::keyClick(pictWin(), Qt::Key_Escape);
        QVERIFY(startWith(3, 76));
        QCOMPARE(thumbnail_cache::decodeCount() - before, 7);
        // A new fill colour is used with the kept thumbnails.
        QTest::keyClick(pictWin(), Qt::Key_Escape);
        Globali::colore(0) = QColor(Qt::yellow);
        QVERIFY(startWith(3, 76));
        QCOMPARE(thumbnail_cache::decodeCount() - before, 7);
        QCOMPARE(cellAt(1, 0, 0), QColor(Qt::yellow));
    }

    void unusableLayout_data() {
        QTest::addColumn<int>("edge");
        QTest::addColumn<int>("pixels");
        QTest::newRow("edge 7") << 7 << 102;
        QTest::newRow("strip of 0 pixels") << 0 << 0;
        QTest::newRow("strip too thin for the cells") << 3 << 2;
    }
    void unusableLayout() {
        QFETCH(int, edge);
        QFETCH(int, pixels);
        QVERIFY(!startWith(edge, pixels));
        QCOMPARE(seams->beeps, 1);
        verifyEnded();

        // Reached without the check, the windows open safely and the presentation ends
        // as soon as they are open.
        Globali::thumb_per = pixels;
        setup->Hide();
        fw::Single<fin_pict>::get();
        QVERIFY(pictWin() && stripWin());
        QCOMPARE(seams->beeps, 2);
        QTRY_VERIFY(!pictWin() && !stripWin());
        verifyEnded();
    }

    void inputDuringTheBuild_data() {
        QTest::addColumn<bool>("escape");
        QTest::newRow("click on cell 3") << false;
        QTest::newRow("Escape") << true;
    }
    void inputDuringTheBuild() {
        QFETCH(bool, escape);
        bool duringBuild = false;
        // Delivered at the first yield of the build, once the cells exist.
        QMetaObject::invokeMethod(
            qApp,
            [&] {
                duringBuild = presentation::isOpening() && stripWin();
                if (!duringBuild) return;
                if (escape)
                    QTest::keyClick(stripWin(), Qt::Key_Escape);
                else
                    QTest::mouseClick(stripWin()->miniabase(3), Qt::LeftButton);
            },
            Qt::QueuedConnection);
        startFromSetup();
        QVERIFY(duringBuild);
        // Both windows are complete and picture 1 is shown; the input waits.
        QVERIFY(!stripWin()->miniabase(3)->backdrop().isNull());
        QCOMPARE(backdropAt(460, 384), QColor(Qt::red));
        if (escape) {
            QTRY_VERIFY(!pictWin());
            verifyEnded();
        } else {
            QTRY_COMPARE(backdropAt(460, 384), QColor(Qt::blue));
        }
    }
};

QTEST_MAIN(PresentationTest)
#include "presentation_test.moc"

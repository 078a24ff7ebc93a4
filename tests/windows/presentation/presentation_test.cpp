// A presentation as the user runs it: a generated folder imported on a 1024 x 768 screen,
// started from the setup window, thumbnails clicked, notes shown, and ended again.
#include "base/files.h"
#include "bench/hostile_pictures.h"
#include "common/testfiles.h"
#include "common/testseams.h"
#include "logic/state/globali.h"
#include "pictures/decode/decode_budget.h"
#include "pictures/fitting.h"
#include "pictures/picture_compose.h"
#include "resources/pictures.h"
#include "windows/presentation/fin_pict.h"
#include "windows/presentation/fin_thumb.h"
#include "windows/presentation/presentation.h"
#include "windows/setup/start.h"

#include <QApplication>
#include <QFile>
#include <QSemaphore>
#include <QTest>
#include <algorithm>
#include <memory>
#include <sys/stat.h>

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
QColor cellAt(int k) {
    return stripWin()->miniabase(k)->backdrop().pixelColor(50, 95);
}
// Until every thumbnail and the picture asked for last have come.
bool built() {
    return QTest::qWaitFor([] { return !presentation::busy(); });
}
// A click on cell k, and its picture on screen.
void clickCell(int k) {
    QTest::mouseClick(stripWin()->miniabase(k), Qt::LeftButton);
    QVERIFY(built());
}
const QRect parked(-20, -20, 0, 0);
} // namespace

class PresentationTest : public QObject {
    Q_OBJECT
    std::unique_ptr<WindowFixture> f;
    start* setup = nullptr;

    // A phone photo added to the folder as picture 4, with its note.
    bool addPhoto(const QByteArray& heic) {
        testfiles::writeText(f->path("show/d.heic"), heic);
        f->importFolder(f->path("show"));
        contorno(4, note::Text) = "Phone";
        return quantidisegni == 4;
    }

    // "Start presentation", the default button, by Return: both windows are there at once;
    // `wait` waits for their pictures.
    void startFromSetup(bool wait = true) {
        QTest::keyClick(setup, Qt::Key_Return);
        QVERIFY(pictWin() && pictWin()->isVisible() && stripWin() && stripWin()->isVisible());
        if (wait) QVERIFY(built());
    }

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
    void cleanup() {
        f.reset();
        finishBackgroundWork();
        fw::pool(fw::Lane::Bulk).setMaxThreadCount(QThread::idealThreadCount());
    }

    // The edge clicked on the setup window's preview: the strip lies along it, as thick as
    // the read-out said, the picture takes the rest but for one line of pixels between them,
    // and picture 1 is fitted to what it got.
    void splitOnEveryEdge_data() {
        QTest::addColumn<QPoint>("click"); // on the 320 x 240 preview, through the window
        QTest::addColumn<QRect>("strip");
        QTest::addColumn<QRect>("picture");
        QTest::addColumn<QRect>("fitted"); // the 400 x 300 picture 1 in the picture window
        QTest::newRow("left") << QPoint(2, 120) << QRect(0, 0, 102, 768) << QRect(103, 0, 921, 768)
                              << QRect(0, 38, 921, 690);
        QTest::newRow("right") << QPoint(318, 120) << QRect(922, 0, 102, 768)
                               << QRect(0, 0, 921, 768) << QRect(0, 38, 921, 690);
        QTest::newRow("top") << QPoint(10, 2) << QRect(0, 0, 1024, 76) << QRect(0, 77, 1024, 691)
                             << QRect(51, 0, 921, 691);
        QTest::newRow("bottom") << QPoint(160, 238) << QRect(0, 692, 1024, 76)
                                << QRect(0, 0, 1024, 691) << QRect(51, 0, 921, 691);
    }
    void splitOnEveryEdge() {
        QFETCH(QPoint, click);
        QFETCH(QRect, strip);
        QFETCH(QRect, picture);
        QFETCH(QRect, fitted);
        QTest::mouseClick(setup->windowHandle(), Qt::LeftButton, {},
                          setup->rec_schermo->mapTo(setup, click));
        startFromSetup();
        const auto onScreen = [](fw::Window* w) {
            return QRect(w->content()->mapToGlobal(QPoint(0, 0)), w->content()->size());
        };
        QCOMPARE(onScreen(stripWin()), strip);
        QCOMPARE(onScreen(pictWin()), picture);
        QCOMPARE(QList<int>({tmb_dx, tmb_dy, pct_dx, pct_dy}),
                 QList<int>({strip.width(), strip.height(), picture.width(), picture.height()}));
        const QImage shown = pictWin()->backdropPicture();
        QCOMPARE(shown.size(), picture.size());
        const QRect in = fitted.adjusted(2, 2, -2, -2), out = fitted.adjusted(-2, -2, 2, 2);
        for (const QPoint p : {in.topLeft(), in.bottomRight()})
            QCOMPARE(shown.pixelColor(p), QColor(Qt::red));
        const QPoint c = fitted.center();
        for (const QPoint p : {QPoint(out.left(), c.y()), QPoint(out.right(), c.y()),
                               QPoint(c.x(), out.top()), QPoint(c.x(), out.bottom())})
            if (shown.rect().contains(p))
                QCOMPARE(shown.pixelColor(p), colore(colour::PictureBackground));
    }

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
        startFromSetup();
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

    // A line as thick as half the frame fills it; nothing is drawn outside the frame however
    // thick the line, and no line at all when its width is negative.
    void thickFrameLines_data() {
        QTest::addColumn<QString>("thickness");
        QTest::addColumn<int>("band"); // rows of line from the frame's top edge
        QTest::newRow("just under half") << "99" << 99;
        QTest::newRow("half") << "100" << 200;
        QTest::newRow("far past the frame") << "5000" << 200;
        QTest::newRow("negative") << "-3" << 0;
    }
    void thickFrameLines() {
        QFETCH(QString, thickness);
        QFETCH(int, band);
        WindowFixture::setRow(
            2, {"", "", "24", "", "", "", "3", "1", "100", "100", "500", "200", thickness});
        startFromSetup();
        clickCell(2);
        const QColor line = colore(colour::Frame);
        QCOMPARE(backdropAt(350, 99 + band) == line, band > 0);
        QVERIFY(backdropAt(350, 100 + band) != line);
        QCOMPARE(backdropAt(599, 200) == line, band > 0);
        // Beside each side's middle, and beside each corner along both of its lines.
        for (const QPoint outside :
             {QPoint(350, 99), QPoint(350, 300), QPoint(99, 200), QPoint(600, 200), QPoint(99, 100),
              QPoint(100, 99), QPoint(600, 100), QPoint(599, 99), QPoint(99, 299), QPoint(100, 300),
              QPoint(600, 299), QPoint(599, 300)})
            QVERIFY(backdropAt(outside.x(), outside.y()) != line);
    }

    // The picture needs at least one pixel of the screen beside the strip.
    void pictureNeedsOnePixel_data() {
        QTest::addColumn<int>("e");
        QTest::newRow("left") << int(edge::Left);
        QTest::newRow("top") << int(edge::Top);
    }
    void pictureNeedsOnePixel() {
        QFETCH(int, e);
        QVERIFY(presentation::layoutUsable({600, 600}, e, 598, 3));
        QVERIFY(!presentation::layoutUsable({600, 600}, e, 599, 3));
    }

    void damagedNoteCells() {
        WindowFixture::setRow(2, {"Big", "", "1e9", "", "", "", "1e400", "1", "-99999999999",
                                  "-99999999999", "-99999999999", "-99999999999", "-99999999999"});
        startFromSetup();
        clickCell(2);
        const fw::StaticText* label = pictWin()->StaticText1;
        QCOMPARE(label->text(), QString("Big"));
        QCOMPARE(label->pos(), QPoint(-20, -20));
        QCOMPARE(label->textFont().pixelSize(), 1000); // as large as a screen needs
        // A negative line width draws no frame.
        QCOMPARE(backdropAt(0, 0), colore(colour::PictureBackground));
    }

    // Pictures whose names are not UTF-8 are drawn in the strip and shown, each with its own
    // note.
    void picturesNamedNotUtf8() {
        const QList<std::pair<QByteArray, QColor>> pictures = {
            {"1 \xE0.png", Qt::red}, {"2 \xC3\xA0.png", Qt::green}, {"3 \xE0\xE0.png", Qt::blue}};
        f->makeFolder("names", 0);
        for (const auto& [name, colour] : pictures)
            testfiles::writePicture(f->path("names/" + files::decodeName(name)), QSize(400, 300),
                                    colour);
        f->importFolder(f->path("names"));
        QCOMPARE(quantidisegni, 3);
        for (int i = 1; i <= 3; ++i)
            contorno(i, note::Text) = QString("note %1").arg(i);
        startFromSetup();
        for (int k = 1; k <= 3; ++k) {
            QCOMPARE(cellAt(k), pictures[k - 1].second);
            clickCell(k);
            QCOMPARE(backdropAt(460, 384), pictures[k - 1].second);
            QCOMPARE(pictWin()->StaticText1->text(), QString("note %1").arg(k));
        }
    }

    // Both windows are on screen before any decode has finished: the cells in their fill,
    // the exit cell, the picture area in its colour. Picture 1 may come before the
    // thumbnails; a click on a cell whose thumbnail has not come shows that picture all the
    // same, and the end of the build does not bring picture 1 back.
    void windowsBeforeThePictures() {
        colore(colour::PictureBackground) = QColor(Qt::darkCyan);
        contorno(2, note::Text) = "Second";
        LaneBlock thumbnails(fw::Lane::Bulk);
        LaneBlock view(fw::Lane::Prompt);
        startFromSetup(false);
        QVERIFY(presentation::busy());
        QCOMPARE(stripWin()->content()->palette().color(QPalette::Window),
                 colore(colour::StripBackground));
        for (int k = 1; k <= 3; ++k)
            QCOMPARE(cellAt(k), colore(colour::CellBackground));
        QVERIFY(cellAt(4) != colore(colour::CellBackground));
        QCOMPARE(pictWin()->content()->palette().color(QPalette::Window), QColor(Qt::darkCyan));
        QVERIFY(pictWin()->backdropPicture().isNull());

        view.release();
        QTRY_VERIFY(!pictWin()->backdropPicture().isNull());
        QCOMPARE(backdropAt(460, 384), QColor(Qt::red));
        QTest::mouseClick(stripWin()->miniabase(2), Qt::LeftButton);
        QTRY_COMPARE(backdropAt(460, 384), QColor(Qt::green));
        QCOMPARE(pictWin()->StaticText1->text(), QString("Second"));
        QCOMPARE(cellAt(2), colore(colour::CellBackground));
        thumbnails.release();
        QVERIFY(built());
        QCOMPARE(cellAt(1), QColor(Qt::red));
        QCOMPARE(cellAt(2), QColor(Qt::green));
        QCOMPARE(backdropAt(460, 384), QColor(Qt::green));
    }

    // A decode that runs on to its end for nothing (libheif's cannot be stopped) holds a
    // thread of the picture view: the picture asked for is decoded beside it, at once.
    void pictureBesideADecodeThatRunsOn() {
        const auto gate = std::make_shared<QSemaphore>();
        fw::pool(fw::Lane::Prompt).start([gate] { gate->acquire(); });
        startFromSetup();
        QCOMPARE(backdropAt(460, 384), QColor(Qt::red));
        gate->release();
    }

    // A file that stops being a picture while the strip is being built: a placeholder in its
    // cell, and a click on it leaves the picture shown before, with the new picture's note.
    void badFilesDuringTheBuild_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("not a picture") << "text";
        QTest::newRow("truncated") << "truncated";
        QTest::newRow("replaced by a named pipe") << "fifo";
        QTest::newRow("removed") << "removed";
    }
    void badFilesDuringTheBuild() {
        QFETCH(QString, how);
        contorno(3, note::Text) = "Third";
        LaneBlock thumbnails(fw::Lane::Bulk);
        LaneBlock view(fw::Lane::Prompt);
        startFromSetup(false);
        const QString c = f->path("show/c.png");
        const QByteArray bytes = testfiles::readAll(c);
        QVERIFY(QFile::remove(c));
        if (how == "text") testfiles::writeText(c, "no longer a picture");
        if (how == "truncated") testfiles::writeText(c, bytes.left(80));
        if (how == "fifo") QCOMPARE(::mkfifo(QFile::encodeName(c).constData(), 0600), 0);
        thumbnails.release();
        view.release();
        QVERIFY(built());
        QCOMPARE(stripWin()->miniabase(3)->backdrop(),
                 picture_compose::composeFitted(pictures::notfound(), pictures::notfound().size(),
                                                QSize(100, 190), 1.0,
                                                colore(colour::CellBackground)));
        clickCell(2);
        const qint64 shown = pictWin()->backdropPicture().cacheKey();
        clickCell(3);
        QCOMPARE(pictWin()->backdropPicture().cacheKey(), shown);
        QCOMPARE(pictWin()->StaticText1->text(), QString("Third"));
    }

    // Ended when everything is shown, or while every decode still waits: then the decodes
    // come to nothing and no window is left behind.
    void endings_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("building");
        for (bool building : {false, true}) {
            const char* when = building ? ", during the build" : "";
            QTest::addRow("Escape in the picture%s", when) << "pict" << building;
            QTest::addRow("Escape in the strip%s", when) << "strip" << building;
            QTest::addRow("exit cell%s", when) << "exit" << building;
        }
        // The window manager's close (Alt+F4) on either window ends the whole presentation.
        QTest::newRow("closing the picture window") << "close pict" << false;
        QTest::newRow("closing the strip") << "close strip" << false;
        // Typed right after the click, before the new windows had the focus.
        QTest::newRow("Escape into the hidden setup window") << "setup" << true;
    }
    void endings() {
        QFETCH(QString, how);
        QFETCH(bool, building);
        std::unique_ptr<LaneBlock> thumbnails, view;
        const QPoint moved = setup->pos() + QPoint(7, 5); // where the user left it, kept
        setup->move(moved);
        if (building) {
            thumbnails = std::make_unique<LaneBlock>(fw::Lane::Bulk);
            view = std::make_unique<LaneBlock>(fw::Lane::Prompt);
        }
        startFromSetup(!building);
        QCOMPARE(thumb_per, 102);
        // The slider moved without a redraw: the end takes the slider's value, not 10.
        setup->Slider1->setValueSilently(20);
        QTest::keyClick(pictWin(), Qt::Key_A);
        if (!building) clickCell(3);
        QVERIFY(pictWin() && stripWin());
        if (how == "pict") QTest::keyClick(pictWin(), Qt::Key_Escape);
        if (how == "strip") QTest::keyClick(stripWin(), Qt::Key_Escape);
        if (how == "setup") QTest::keyClick(setup, Qt::Key_Escape);
        if (how == "exit") QTest::mouseClick(stripWin()->miniabase(4), Qt::LeftButton);
        if (how == "close pict") pictWin()->close();
        if (how == "close strip") stripWin()->close();
        QVERIFY(!pictWin() && !stripWin() && setup->isVisible());
        QCOMPARE(setup->pos(), moved);
        QCOMPARE(thumb_per, 20);
        QVERIFY(!presentation::busy());
        if (building) {
            thumbnails->release();
            view->release();
        }
        finishBackgroundWork();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QWidgetList shown;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible()) shown << w;
        QCOMPARE(shown, QWidgetList{setup});
        // A new presentation builds new windows.
        startFromSetup();
        QCOMPARE(backdropAt(460, 384), QColor(Qt::red));
    }

    // Once a picture is on screen the pictures beside it are made ahead: a click on one shows
    // it at once, with no decode of its own (the view's lane is held); the picture left is
    // kept, as it is beside the new one; a file changed since is decoded again.
    void picturesBesideMadeAhead() {
        contorno(2, note::Text) = "Second";
        startFromSetup();
        finishBackgroundWork();
        QCOMPARE(pictWin()->ahead.held(), 1);
        {
            LaneBlock view(fw::Lane::Prompt);
            QTest::mouseClick(stripWin()->miniabase(2), Qt::LeftButton);
            QCOMPARE(backdropAt(460, 384), QColor(Qt::green));
            QCOMPARE(pictWin()->StaticText1->text(), QString("Second"));
            QTRY_COMPARE(pictWin()->ahead.held(), 2);
            QTest::mouseClick(stripWin()->miniabase(1), Qt::LeftButton);
            QCOMPARE(backdropAt(460, 384), QColor(Qt::red));
            QTRY_COMPARE(pictWin()->ahead.held(), 1);
        }
        testfiles::writePicture(f->path("show/b.png"), QSize(200, 400), Qt::yellow);
        clickCell(2);
        QCOMPARE(backdropAt(460, 384), QColor(Qt::yellow));
    }

    // While the strip fills, the cores are its: the picture beside waits for the last
    // thumbnail, not only for the first ones.
    void madeAheadOnceTheStripIsFilled() {
        testfiles::writePicture(f->path("show/c.png"), QSize(2000, 1500), Qt::blue);
        fw::pool(fw::Lane::Bulk).setMaxThreadCount(1); // the thumbnails one after the other
        {
            const picture::BudgetShare most(picture::budgetBytes - (8 << 20)); // c's waits
            startFromSetup(false);
            QTRY_COMPARE(stripWin()->thumbnails.pending(), 1);
            QCOMPARE(pictWin()->ahead.coming() + pictWin()->ahead.held(), 0);
        }
        QTRY_COMPARE(pictWin()->ahead.held(), 1);
    }

    // A click on a picture still being made ahead waits for it rather than decoding it again.
    void clickOnAPictureOnItsWay() {
        LaneBlock ahead(fw::Lane::Ahead);
        startFromSetup();
        QCOMPARE(pictWin()->ahead.coming(), 1);
        LaneBlock view(fw::Lane::Prompt);
        QTest::mouseClick(stripWin()->miniabase(2), Qt::LeftButton);
        QVERIFY(presentation::busy());
        QCOMPARE(backdropAt(460, 384), QColor(Qt::red));
        ahead.release();
        QVERIFY(built());
        QCOMPARE(backdropAt(460, 384), QColor(Qt::green));
    }

    // A photo too large to decode whole shows from its own thumbnail, also when that comes
    // after the photo's decode was refused.
    void lateStandInOfAPhotoTooLarge() {
        // Declared 16000 x 12000: the decode of the whole would take gigabytes.
        const QByteArray heic =
            hostile::encodeHeif(hostile::photoLike({1600, 1200}), hostile::Heic, 1, 320)
                .replace(QByteArray::fromHex("00000640000004b0"),
                         QByteArray::fromHex("00003e8000002ee0"));
        if (heic.isEmpty()) QSKIP("this libheif codes no HEVC");
        QVERIFY(addPhoto(heic));
        LaneBlock thumbnails(fw::Lane::Bulk); // no thumbnail at hand to stand in at once
        startFromSetup(false);
        QTRY_COMPARE(backdropAt(460, 384), QColor(Qt::red));
        {
            const picture::BudgetShare all(picture::budgetBytes); // the stand-in waits for room
            QTest::mouseClick(stripWin()->miniabase(4), Qt::LeftButton);
            QTRY_COMPARE(pictWin()->picture.pending(), 1);
        }
        QTRY_COMPARE(pictWin()->picture.pending(), 0);
        QVERIFY(backdropAt(460, 384) != QColor(Qt::red));
    }

    // A phone photo with nothing to stand in for it (no thumbnail in the file, none made for
    // the strip yet) leaves the previous picture and its note on screen while it is decoded:
    // its own note comes with it.
    void nothingStandsInForASlowPhoto() {
        QImage photo(1800, 1200, QImage::Format_RGB32);
        photo.fill(Qt::magenta);
        const QByteArray heic = hostile::encodeGridHeic(photo, 512, 0);
        if (heic.isEmpty()) QSKIP("this libheif codes no HEVC");
        QVERIFY(addPhoto(heic));
        LaneBlock thumbnails(fw::Lane::Bulk);
        startFromSetup(false);
        QTRY_COMPARE(backdropAt(460, 384), QColor(Qt::red));
        const QString before = pictWin()->StaticText1->text();
        {
            const picture::BudgetShare all(picture::budgetBytes); // the photo waits for room
            QTest::mouseClick(stripWin()->miniabase(4), Qt::LeftButton);
            QTRY_COMPARE(pictWin()->picture.pending(), 1); // no stand-in came
            QCOMPARE(backdropAt(460, 384), QColor(Qt::red));
            QCOMPARE(pictWin()->StaticText1->text(), before);
        }
        QTRY_COMPARE(pictWin()->picture.pending(), 0);
        QVERIFY(qAbs(backdropAt(460, 384).hue() - QColor(Qt::magenta).hue()) < 10);
        QCOMPARE(pictWin()->StaticText1->text(), QString("Phone"));
    }

    // A phone photo (a HEIC grid with no thumbnail, slow to decode) shows at once from the
    // strip's thumbnail, with its note, while its decode waits; then sharp, in the same place.
    void slowPictureShowsAtOnce() {
        QImage photo(1800, 1200, QImage::Format_RGB32);
        photo.fill(Qt::magenta);
        for (int y = 0; y < photo.height(); ++y) // stripes: sharp only when decoded
            if (y / 8 % 2 == 0)
                std::fill_n(reinterpret_cast<QRgb*>(photo.scanLine(y)) + 900, 900, qRgb(0, 0, 255));
        const QByteArray heic = hostile::encodeGridHeic(photo, 512, 0);
        if (heic.isEmpty()) QSKIP("this libheif codes no HEVC");
        QVERIFY(addPhoto(heic));
        startFromSetup();
        finishBackgroundWork();
        const QRect fitted = fitting::fitRect(photo.size(), pictWin()->content()->size());
        const QPoint magenta = fitted.center() - QPoint(fitted.width() / 4, 0);
        const QPoint lines = fitted.center() + QPoint(fitted.width() / 4, 0);
        QImage standIn;
        {
            LaneBlock view(fw::Lane::Prompt);
            QTest::mouseClick(stripWin()->miniabase(4), Qt::LeftButton);
            standIn = pictWin()->backdropPicture();
            QVERIFY(qAbs(standIn.pixelColor(magenta).hue() - QColor(Qt::magenta).hue()) < 10);
            QCOMPARE(pictWin()->StaticText1->text(), QString("Phone"));
            QVERIFY(presentation::busy());
        }
        QVERIFY(built());
        const QImage sharp = pictWin()->backdropPicture();
        QVERIFY(sharp != standIn);
        QVERIFY(qAbs(sharp.pixelColor(magenta).hue() - QColor(Qt::magenta).hue()) < 10);
        // The stripes blur to one colour in the stand-in only.
        const auto contrast = [&lines](const QImage& image) {
            int least = 255, most = 0;
            for (int y = 0; y < 20; ++y) {
                least = std::min(least, qGray(image.pixel(lines + QPoint(0, y))));
                most = std::max(most, qGray(image.pixel(lines + QPoint(0, y))));
            }
            return most - least;
        };
        QVERIFY2(contrast(sharp) > 10 && contrast(standIn) < contrast(sharp),
                 qPrintable(QStringLiteral("%1 / %2").arg(contrast(standIn)).arg(contrast(sharp))));
    }
};

QTEST_MAIN(PresentationTest)
#include "presentation_test.moc"

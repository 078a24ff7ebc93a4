// What users see of each window, pixel for pixel, against pictures of it that were looked at
// and kept beside this test (looks/*.png). A control one pixel off, a caption in the other
// language, a note in the wrong corner or without its shadow, a cell of the strip drawn wrong:
// each changes the picture. After a deliberate change of how a window looks,
// VETRINOVA_NEW_LOOKS=1 writes the pictures anew; look at them before keeping them.
#include "common/testfiles.h"
#include "common/testseams.h"
#include "logic/state/globali.h"
#include "windows/dialogs/cart_noi.h"
#include "windows/dialogs/cart_spo.h"
#include "windows/dialogs/info.h"
#include "windows/editor/fin_edita.h"
#include "windows/presentation/fin_pict.h"
#include "windows/presentation/fin_thumb.h"
#include "windows/presentation/presentation.h"
#include "windows/setup/start.h"

#include <QDebug>
#include <QDir>
#include <QPainter>
#include <QTest>

using namespace Globali;

namespace {
// The screen as the presentation's windows cover it.
QImage screenOf(const QList<QWidget*>& windows) {
    QImage out(1024, 768, QImage::Format_RGB32);
    out.fill(Qt::magenta);
    QPainter p(&out);
    for (QWidget* w : windows)
        p.drawImage(w->mapToGlobal(QPoint(0, 0)), w->grab().toImage());
    return out;
}

// Three pictures a presentation can tell apart: wide, tall and square, each of two colours,
// in a folder whose name the setup window shows the same every run.
void threePictures(WindowFixture& f) {
    QDir folder(QDir::temp().filePath("vetrinova-looks"));
    folder.removeRecursively();
    QVERIFY(folder.mkpath("."));
    const QList<std::pair<QSize, QColor>> pictures{
        {QSize(400, 300), Qt::red}, {QSize(100, 400), Qt::darkGreen}, {QSize(300, 300), Qt::blue}};
    for (int i = 0; i < pictures.size(); ++i) {
        QImage im(pictures[i].first, QImage::Format_RGB32);
        im.fill(pictures[i].second);
        QPainter(&im).fillRect(0, 0, im.width() / 2, im.height() / 3, Qt::yellow);
        QVERIFY(im.save(folder.filePath(QString("%1.png").arg(char('a' + i)))));
    }
    f.importFolder(folder.path());
}

// Pictures one below the other, on a magenta ground where they differ in width.
QImage stacked(const QList<QImage>& shots) {
    QSize all(0, 0);
    for (const QImage& s : shots)
        all = QSize(std::max(all.width(), s.width()), all.height() + s.height());
    QImage out(all, QImage::Format_RGB32);
    out.fill(Qt::magenta);
    QPainter p(&out);
    int y = 0;
    for (const QImage& s : shots) {
        p.drawImage(0, y, s);
        y += s.height();
    }
    return out;
}

QList<QImage> scene(const QString& name, WindowFixture& f) {
    start* setup = start::instance();
    setup->Show();
    // Italian, or English after Italian: every caption goes the whole way back.
    QTest::mouseClick(setup->Canvasl(1), Qt::LeftButton, {}, QPoint(10, 10));
    if (!name.contains("italian"))
        QTest::mouseClick(setup->Canvasl(0), Qt::LeftButton, {}, QPoint(10, 10));
    if (name.startsWith("dialogs")) {
        cart_spo::missing = "/home/anna/Foto 2024";
        return {fw::Single<cart_spo>::get()->grab().toImage(),
                fw::Single<cart_noi>::get()->grab().toImage(),
                fw::Single<info>::get()->grab().toImage()};
    }
    if (name.startsWith("setup")) {
        if (name.contains("deep")) {
            // A folder deep enough to be shortened, with a count of five digits.
            setup->showLoadedFolder("/home/presenter/Pictures/Exhibitions/2026 Spring collection/"
                                    "Selected for the gallery wall/large",
                                    12345);
        } else if (name.contains("italian")) {
            threePictures(f);
            // The top edge: 20 pixels from it, 70 from the right edge of the preview, 320 wide.
            QTest::mouseClick(setup->rec_schermo, Qt::LeftButton, {}, QPoint(250, 20));
            setup->CheckBox1->setChecked(true);
            QTest::keyClick(setup->Slider1, Qt::Key_Right); // a step wider
            setup->Slider2->setValue(2);                    // the sample's shadow nearer its text
        }
        // A bar under the flag the pointer is on, and none once it has left.
        QWidget* flag = setup->Canvasl(name.contains("deep") ? 1 : 0);
        QEnterEvent hover(QPointF(10, 10), QPointF(10, 10), QPointF(10, 10));
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(flag, &hover);
        if (!name.contains("italian")) QCoreApplication::sendEvent(flag, &leave);
        return {setup->grab().toImage()};
    }
    threePictures(f);
    // Notes of every kind: a serif note with box, shadow and frame at the top left, an
    // underlined mono one at the bottom right, a bold italic one at the top centre on one line
    // however long.
    WindowFixture::setRow(1, {"Top left, boxed", "Liberation Serif", "28", "1", "", "", "3", "1",
                              "60", "80", "300", "200", "5"});
    WindowFixture::setRow(2, {"Bottom right", "Liberation Mono", "22", "", "", "1", "2"});
    WindowFixture::setRow(3, {"Top centre, longer than half the picture", "Liberation Sans", "40",
                              "1", "1", "", "4"});
    if (name.startsWith("editor")) {
        const bool italian = name.endsWith("italian");
        fin_edita* w = f.openEditor(italian ? edge::Top : edge::Bottom, italian ? 80 : 120);
        if (italian) w->PushButton4->click(); // the last picture
        if (!QTest::qWaitFor([w] { return !w->previewPending(); })) return {};
        if (italian) return {w->grab().toImage()};
        // The frame's next corner follows the pointer, and goes back when it leaves.
        QMouseEvent move(QEvent::MouseMove, QPointF(150, 120), QPointF(150, 120), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w->rec_schermo, &move);
        const QImage moved = w->grab().toImage();
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(w->rec_schermo, &leave);
        return {moved, w->grab().toImage()};
    }
    setup->CheckBox1->setChecked(name.endsWith("box"));
    colore(colour::NoteShadow) = QColor(0x30, 0x50, 0xC0);
    setup->CheckBox2->setChecked(true);
    if (name.startsWith("presentation-bottom"))
        QTest::mouseClick(setup->rec_schermo, Qt::LeftButton, {}, QPoint(160, 238));
    setup->bottone(0)->click();
    QList<QImage> shots;
    // Picture 1 as the presentation opens, then pictures 2 and 3 clicked.
    for (int k : {1, 2, 3}) {
        if (k > 1) QTest::mouseClick(fw::Single<fin_thumb>::peek()->miniabase(k), Qt::LeftButton);
        if (QTest::qWaitFor([] { return !presentation::busy(); }))
            shots << screenOf({fw::Single<fin_thumb>::peek(), fw::Single<fin_pict>::peek()});
    }
    return shots;
}
} // namespace

class LooksTest : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() { finishBackgroundWork(); }

    void looks_data() {
        QTest::addColumn<QString>("name");
        for (const char* name :
             {"setup", "setup-italian", "setup-deep-folder-italian", "editor", "editor-italian",
              "dialogs", "dialogs-italian", "presentation-left-box", "presentation-bottom"})
            QTest::newRow(name) << QString(name);
    }
    void looks() {
        QFETCH(QString, name);
        QImage seen;
        {
            // The deep folder's longer read-outs come with the larger screen.
            WindowFixture f(name.contains("deep") ? QSize(1920, 1080) : QSize(1024, 768));
            seen = stacked(scene(name, f));
        }
        const QString kept = QStringLiteral(VETRINOVA_LOOKS "/%1.png").arg(name);
        if (qEnvironmentVariableIsSet("VETRINOVA_NEW_LOOKS")) {
            QDir().mkpath(VETRINOVA_LOOKS);
            QVERIFY(seen.save(kept));
            QSKIP("written anew");
        }
        const QImage want = QImage(kept).convertToFormat(QImage::Format_RGB32);
        QVERIFY2(!want.isNull(), qPrintable("no picture " + kept));
        int differ = 0;
        QRect where;
        if (want.size() == seen.size())
            for (int y = 0; y < want.height(); ++y)
                for (int x = 0; x < want.width(); ++x) {
                    const QRgb a = want.pixel(x, y), b = seen.pixel(x, y);
                    if (std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                            std::abs(qBlue(a) - qBlue(b)) >
                        6) {
                        ++differ;
                        where |= QRect(x, y, 1, 1);
                    }
                }
        if (want.size() != seen.size() || differ > 0) {
            const QString shot = QDir::temp().filePath("vetrinova-looks-" + name + ".png");
            seen.save(shot);
            QString why;
            QDebug(&why) << name << differ << "pixels differ within" << where << "size"
                         << seen.size() << "against" << want.size() << "seen:" << shot;
            QFAIL(qPrintable(why));
        }
    }
};

QTEST_MAIN(LooksTest)
#include "looks_test.moc"

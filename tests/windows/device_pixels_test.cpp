// At two device pixels to the pixel (QT_SCALE_FACTOR=2, as on a 3840 x 2160 screen set to
// 200 %), every picture the windows draw is made for the device pixels it covers: nothing is
// drawn at half the resolution and enlarged. A picture of one-pixel stripes comes through the
// editor's preview as stripes, not grey.
#include "common/testseams.h"
#include "logic/state/globali.h"
#include "windows/dialogs/info.h"
#include "windows/editor/fin_edita.h"
#include "windows/presentation/fin_pict.h"
#include "windows/presentation/fin_thumb.h"
#include "windows/presentation/presentation.h"
#include "windows/setup/start.h"

#include <QApplication>
#include <QTest>

using namespace Globali;

namespace {

// The picture a control of the window shows, by the row's name, and the control's size.
std::pair<QImage, QSize> drawn(const QString& what) {
    const fw::Canvas* c = what == "flag"             ? start::instance()->Canvasl(0)
                          : what == "logo"           ? fw::Single<info>::get()->Canvas1
                          : what == "editor preview" ? fw::Single<fin_edita>::peek()->rec_schermo
                          : what == "strip cell"     ? fw::Single<fin_thumb>::peek()->miniabase(1)
                                                     : nullptr;
    if (c) return {c->backdrop(), c->size()};
    const fin_pict* w = fw::Single<fin_pict>::peek();
    return {w->backdropPicture(), w->content()->size()};
}

// Vertical stripes one pixel wide, black and white.
void writeStripes(const QString& path, QSize size) {
    QImage stripes(size, QImage::Format_RGB32);
    for (int x = 0; x < size.width(); ++x)
        for (int y = 0; y < size.height(); ++y)
            stripes.setPixel(x, y, x % 2 ? 0xffffffff : 0xff000000);
    QVERIFY(stripes.save(path));
}

} // namespace

class DevicePixelsTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QCOMPARE(qApp->devicePixelRatio(), 2.0); }

    void everyPicture_data() {
        QTest::addColumn<QString>("what");
        for (const char* what : {"flag", "logo", "editor preview", "strip cell", "picture view"})
            QTest::newRow(what) << what;
    }
    void everyPicture() {
        QFETCH(QString, what);
        WindowFixture f;
        f.importFolder(f.makeFolder("pics", 2));
        start::instance()->Show();
        if (what == "editor preview") {
            fin_edita* editor = f.openEditor();
            QVERIFY(QTest::qWaitFor([editor] { return !editor->previewPending(); }));
        } else if (what == "strip cell" || what == "picture view") {
            start::instance()->bottone(0)->click();
            QVERIFY(QTest::qWaitFor([] { return !presentation::busy(); }));
        }
        const auto [picture, size] = drawn(what);
        QCOMPARE(picture.devicePixelRatio(), 2.0);
        QCOMPARE(picture.size(), size * 2);
    }

    // The preview of a picture whose stripes are as fine as the screen's pixels.
    void previewAsSharpAsTheScreen() {
        WindowFixture f;
        f.makeFolder("pics", 0);
        // On 1024 x 768 with a 100-pixel strip the preview is 252 x 210: 504 x 420 device pixels.
        writeStripes(f.path("pics/stripes.png"), QSize(504, 420));
        f.importFolder(f.path("pics"));
        fin_edita* w = f.openEditor();
        QVERIFY(QTest::qWaitFor([w] { return !w->previewPending(); }));
        const QImage preview = prefre.convertToFormat(QImage::Format_RGB32);
        QCOMPARE(preview.size(), QSize(504, 420));
        int exact = 0;
        for (int x = 0; x < preview.width(); ++x)
            exact += preview.pixel(x, 200) == (x % 2 ? 0xffffffff : 0xff000000);
        QCOMPARE(exact, preview.width());
    }
};

int main(int argc, char** argv) {
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication application(argc, argv);
    DevicePixelsTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "device_pixels_test.moc"

// A laptop with a projector: the projector is the primary monitor, to the right of the
// laptop's, and another monitor stands below the laptop. The main screen, the primary
// monitor or the one chosen in the File menu, gets the setup window, the editor, the dialogs
// and the presentation, which covers exactly that monitor.
#include "app/app.h"
#include "common/monitors.h"
#include "common/testseams.h"
#include "kit/screens.h"
#include "logic/state/globali.h"
#include "windows/dialogs/info.h"
#include "windows/editor/fin_edita.h"
#include "windows/presentation/fin_pict.h"
#include "windows/presentation/fin_thumb.h"
#include "windows/setup/setup_routines.h"
#include "windows/setup/start.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <memory>

using namespace Globali;

namespace {
const QRect projector(1280, 0, 1024, 768), laptop(0, 0, 1280, 800), below(0, 800, 640, 480);

// Whether the window stands in the middle of the monitor, give or take its frame (the
// window is centred by its content's size).
bool centredOn(const QWidget* w, QRect monitor) {
    const QPoint off = w->frameGeometry().center() - monitor.center();
    return monitor.contains(w->frameGeometry()) && std::abs(off.x()) <= 4 && std::abs(off.y()) <= 4;
}
} // namespace

class MonitorsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<WindowFixture> f;
    std::unique_ptr<App> app;

  private slots:
    void init() {
        f = std::make_unique<WindowFixture>();
        // The desktop's monitors, not a screen set by the test.
        seams::hooks().screenRect = seams::systemHooks().screenRect;
        app = std::make_unique<App>();
        app->Event_Open();
        start::instance()->Show();
        f->importFolder(f->makeFolder("show", 3));
    }
    void cleanup() {
        app.reset();
        f.reset();
        finishBackgroundWork();
        screens::choose(QString());
    }

    // The strip and the picture window cover exactly the main screen, but for the pixel
    // between them.
    void presentationCoversItsMonitor_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<int>("edge");
        QTest::addColumn<QRect>("monitor");
        QTest::newRow("primary, strip left") << "" << int(edge::Left) << projector;
        QTest::newRow("primary, strip at the bottom") << "" << int(edge::Bottom) << projector;
        QTest::newRow("laptop, strip right") << "eDP-1" << int(edge::Right) << laptop;
        QTest::newRow("below, strip on top") << "HDMI-1" << int(edge::Top) << below;
        // A name asked for is used only while a monitor has exactly that name.
        QTest::newRow("not connected: the primary") << "HDMI-2" << int(edge::Left) << projector;
        QTest::newRow("names are exact: the primary") << "edp-1" << int(edge::Left) << projector;
    }
    void presentationCoversItsMonitor() {
        QFETCH(QString, chosen);
        QFETCH(int, edge);
        QFETCH(QRect, monitor);
        if (!chosen.isEmpty()) app->FileScreen_Action(chosen);
        thumb_pos = edge;
        start::instance()->bottone(0)->click();
        const fin_pict* picture = fw::Single<fin_pict>::peek();
        const fin_thumb* strip = fw::Single<fin_thumb>::peek();
        QVERIFY(picture && picture->isVisible() && strip && strip->isVisible());
        const QRect p = picture->frameGeometry(), s = strip->frameGeometry();
        QVERIFY(monitor.contains(p) && monitor.contains(s));
        QVERIFY(!p.intersects(s));
        const bool across = edge == edge::Left || edge == edge::Right;
        QCOMPARE((p | s).size(), monitor.size());
        QCOMPARE(p.width() * p.height() + s.width() * s.height(),
                 monitor.width() * monitor.height() -
                     (across ? monitor.height() : monitor.width()));
    }

    // The setup window opens on the primary monitor. A monitor chosen in the File menu while
    // a presentation shows takes it when it comes back, with the strip's percentage, not its
    // pixels; chosen with the setup window showing, at once: its title, its screen preview in
    // that monitor's proportions, its place. The editor and the dialogs open there too.
    void chosenMonitorTakesTheWindows() {
        start* w = start::instance();
        QVERIFY(screens::connected("HDMI-1") && !screens::connected("hdmi-1"));
        QVERIFY(centredOn(w, projector));
        w->bottone(0)->click();
        app->FileScreen_Action("HDMI-1");
        QCOMPARE(w->windowTitle(), QString("Presentation setup: 1024x768 pixels"));
        fw::Single<fin_thumb>::peek()->Event_KeyDown(Qt::Key_Escape);
        QCOMPARE(w->windowTitle(), QString("Presentation setup: 640x480 pixels"));
        QCOMPARE(w->testo_min->text(), QString("64 pixels"));
        QVERIFY(centredOn(w, below));
        app->FileScreen_Action("eDP-1");
        QCOMPARE(w->windowTitle(), QString("Presentation setup: 1280x800 pixels"));
        QCOMPARE(w->rec_schermo->geometry(), QRect(10, 30, 320, 200));
        QCOMPARE(w->testo_scr->text(), QString("1152 x 800 pixels"));
        QVERIFY(centredOn(w, laptop));
        const QPoint moved = w->pos() + QPoint(7, 5); // the same monitor again: it stays
        w->move(moved);
        app->FileScreen_Action("eDP-1");
        QCOMPARE(w->pos(), moved);
        w->bottone1->click();
        QVERIFY(centredOn(fw::Single<fin_edita>::peek(), laptop));
        fw::Single<fin_edita>::peek()->PushButton5_Action();
        app->AppleVetrinovainfo_Action();
        QVERIFY(centredOn(fw::Single<info>::peek(), laptop));
    }

    // File ▸ Presentation screen lists the monitors as they are when it opens, the main
    // screen ticked, and its captions follow the language.
    void fileMenuChoice() {
        QMenu* menu = menuItem("FileScreen")->menu();
        QVERIFY(menu);
        emit menu->aboutToShow();
        QStringList items;
        for (const QAction* a : menu->actions())
            items << a->text() + (a->isChecked() ? " *" : "");
        QCOMPARE(items, (QStringList{"DP-1  (1024x768, 1280,0) *", "HDMI-1  (640x480, 0,800)",
                                     "eDP-1  (1280x800, 0,0)"}));
        menu->actions().at(2)->trigger();
        QCOMPARE(start::instance()->windowTitle(), QString("Presentation setup: 1280x800 pixels"));
        emit menu->aboutToShow();
        QVERIFY(menu->actions().at(2)->isChecked() && !menu->actions().at(0)->isChecked());
        lingua = 2;
        applyLanguage();
        QCOMPARE(menuItem("FileScreen")->text(), QString("Schermo della presentazione"));
    }
};

int main(int argc, char** argv) {
    testmonitors::use({"eDP-1 0 0 1280 800", "DP-1 1280 0 1024 768", "HDMI-1 0 800 640 480"});
    QApplication application(argc, argv);
    MonitorsTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "monitors_test.moc"

// The main screen among several monitors: the primary one wherever it stands, or the one
// asked for by name while it is connected.
#include "common/monitors.h"
#include "kit/screens.h"

#include <QGuiApplication>
#include <QTest>

class ScreensTest : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() { screens::choose(QString()); }

    // A projector as the primary monitor, to the right of the laptop's.
    void mainScreen_data() {
        QTest::addColumn<QString>("asked");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::newRow("none: the primary") << ""
                                           << "DP-1" << QRect(1280, 0, 1024, 768);
        QTest::newRow("the laptop") << "eDP-1"
                                    << "eDP-1" << QRect(0, 0, 1280, 800);
        QTest::newRow("the primary by name") << "DP-1"
                                             << "DP-1" << QRect(1280, 0, 1024, 768);
        QTest::newRow("one below") << "HDMI-1"
                                   << "HDMI-1" << QRect(0, 800, 640, 480);
        QTest::newRow("not connected: the primary") << "HDMI-2"
                                                    << "DP-1" << QRect(1280, 0, 1024, 768);
        QTest::newRow("names are exact") << "edp-1"
                                         << "DP-1" << QRect(1280, 0, 1024, 768);
    }
    void mainScreen() {
        QFETCH(QString, asked);
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        screens::choose(asked);
        QCOMPARE(screens::chosen(), asked);
        const screens::Monitor m = screens::mainScreen();
        QCOMPARE(m.name, name);
        QCOMPARE(m.geometry, geometry);
        QCOMPARE(screens::connected(asked), asked == name);
    }

    // What --list-screens prints: every monitor, the primary marked.
    void described() {
        QCOMPARE(screens::describe(), QString("DP-1  1024x768 at 1280,0  (primary)\n"
                                              "HDMI-1  640x480 at 0,800\n"
                                              "eDP-1  1280x800 at 0,0\n"));
    }
};

int main(int argc, char** argv) {
    testmonitors::use({"eDP-1 0 0 1280 800", "DP-1 1280 0 1024 768", "HDMI-1 0 800 640 480"});
    QGuiApplication app(argc, argv);
    ScreensTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "screens_test.moc"

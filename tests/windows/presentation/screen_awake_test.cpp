// The screen stays awake while a presentation shows, and only then: the desktop's screen
// saver service (a stand-in on a private session bus) is asked to inhibit when the
// presentation starts and to take it back when it ends, however it ends.
#include "common/testseams.h"
#include "kit/screen_awake.h"
#include "windows/editor/fin_edita.h"
#include "windows/presentation/fin_pict.h"
#include "windows/presentation/presentation.h"
#include "windows/setup/start.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QTest>
#include <cstdio>
#include <memory>

namespace {

// The desktop's screen saver service, as GNOME, KDE and Xfce offer it: each Inhibit gets a
// new cookie, answered at once or when the test says.
class FakeScreenSaver : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")
  public:
    QStringList calls; // "Inhibit app reason", "UnInhibit cookie"
    bool answerLater = false;
    QList<QDBusMessage> unanswered;
    quint32 lastCookie = 0;

    void answer() {
        for (const QDBusMessage& m : unanswered)
            QDBusConnection(QStringLiteral("screensaver")).send(m.createReply(++lastCookie));
        unanswered.clear();
    }

  public slots:
    uint Inhibit(const QString& application, const QString& reason, const QDBusMessage& call) {
        calls << "Inhibit " + application + " " + reason;
        if (!answerLater) return ++lastCookie;
        call.setDelayedReply(true);
        unanswered << call;
        return 0;
    }
    void UnInhibit(uint cookie) { calls << QStringLiteral("UnInhibit %1").arg(cookie); }
};

const QString inhibit = "Inhibit Vetrinova A presentation is showing";

} // namespace

class ScreenAwakeTest : public QObject {
    Q_OBJECT
    std::unique_ptr<WindowFixture> f;
    FakeScreenSaver saver;
    QDBusConnection bus{QString()};
    start* setup = nullptr;

    bool callsAre(const QStringList& expected) {
        return QTest::qWaitFor([&] { return saver.calls == expected; }, 5000);
    }

  private slots:
    void initTestCase() {
        bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus,
                                            QStringLiteral("screensaver"));
        QVERIFY(bus.registerObject("/org/freedesktop/ScreenSaver", &saver,
                                   QDBusConnection::ExportAllSlots));
    }
    void init() {
        QVERIFY(bus.registerService("org.freedesktop.ScreenSaver"));
        f = std::make_unique<WindowFixture>();
        setup = start::instance();
        setup->Show();
        f->importFolder(f->makeFolder("show", 3));
        saver.calls.clear();
        saver.answerLater = false;
    }
    void cleanup() {
        f.reset();
        finishBackgroundWork();
        bus.unregisterService("org.freedesktop.ScreenSaver");
    }

    // When the presentation ends, what it asked for is taken back, with the desktop's cookie
    // (every way to end it goes through endPresentation: presentation_test's endings); the
    // setup window and the editor ask for nothing.
    void heldWhileShowing() {
        setup->bottone1->click();
        fw::Single<fin_edita>::peek()->PushButton5_Action();
        setup->bottone(0)->click();
        // Calls from one program arrive in order: one made by the editor would come first.
        QVERIFY(callsAre({inhibit}));
        QVERIFY(screen_awake::held());
        const QString cookie = QString::number(saver.lastCookie);
        QTest::keyClick(fw::Single<fin_pict>::peek(), Qt::Key_Escape);
        QVERIFY(callsAre({inhibit, "UnInhibit " + cookie}));
        QVERIFY(!screen_awake::held());
    }

    // Ended before the desktop answered: the answer's cookie is given back as soon as it
    // comes; started again meanwhile, the answer is kept for the new presentation.
    void endedBeforeTheAnswer() {
        saver.answerLater = true;
        setup->bottone(0)->click();
        QVERIFY(callsAre({inhibit}));
        presentation::endPresentation();
        QTest::qWait(100);
        QCOMPARE(saver.calls, QStringList{inhibit});
        saver.answer();
        QVERIFY(callsAre({inhibit, QStringLiteral("UnInhibit %1").arg(saver.lastCookie)}));

        saver.calls.clear();
        setup->bottone(0)->click();
        QVERIFY(callsAre({inhibit}));
        presentation::endPresentation();
        setup->bottone(0)->click();
        saver.answer();
        QVERIFY(screen_awake::held());
        QTest::qWait(100);
        QCOMPARE(saver.calls, QStringList{inhibit}); // kept, not given back
        presentation::endPresentation();
        QVERIFY(callsAre({inhibit, QStringLiteral("UnInhibit %1").arg(saver.lastCookie)}));
    }
};

int main(int argc, char** argv) {
    // A private bus comes from dbus-run-session, as CTest runs this program.
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) {
        std::fprintf(stdout, "SKIP: no session bus (run it under dbus-run-session)\n");
        return 77;
    }
    QApplication application(argc, argv);
    ScreenAwakeTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "screen_awake_test.moc"

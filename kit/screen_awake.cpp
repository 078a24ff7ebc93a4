#include "kit/screen_awake.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>
#include <QTimer>

#include <X11/Xlib.h>

namespace screen_awake {

namespace {

const QString service = QStringLiteral("org.freedesktop.ScreenSaver");
const QString path = QStringLiteral("/org/freedesktop/ScreenSaver");
const QString interface = QStringLiteral("org.freedesktop.ScreenSaver");

// The X server blanks the screen after its own idle time whatever the desktop says (a bare
// window manager has no screen saver service at all): its idle clock is set back twice a
// minute, within the shortest wait a desktop offers.
class XIdleReset : public QObject {
  public:
    XIdleReset() {
        timer_.setInterval(30 * 1000);
        connect(&timer_, &QTimer::timeout, this, [this] { reset(); });
    }
    void start() {
        reset();
        timer_.start();
    }
    void stop() { timer_.stop(); }

  private:
    void reset() {
        auto* x11 =
            qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
        if (Display* display = x11 ? x11->display() : nullptr) {
            XResetScreenSaver(display);
            XFlush(display);
        }
    }
    QTimer timer_;
};

struct State {
    bool wanted = false;    // held, as the caller sees it
    bool asking = false;    // an Inhibit is on its way
    bool inhibited = false; // the desktop gave `cookie`
    quint32 cookie = 0;
    QString reason;
    XIdleReset x;
};

State& state() {
    static State s;
    return s;
}

void unInhibit() {
    State& s = state();
    if (!s.inhibited) return;
    s.inhibited = false;
    QDBusMessage call =
        QDBusMessage::createMethodCall(service, path, interface, QStringLiteral("UnInhibit"));
    call << s.cookie;
    QDBusConnection::sessionBus().send(call);
}

void inhibit() {
    State& s = state();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return;
    QDBusMessage call =
        QDBusMessage::createMethodCall(service, path, interface, QStringLiteral("Inhibit"));
    call << QStringLiteral("Vetrinova") << s.reason;
    s.asking = true;
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), qApp);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [](QDBusPendingCallWatcher* w) {
                         w->deleteLater();
                         State& s = state();
                         s.asking = false;
                         const QDBusPendingReply<quint32> reply = *w;
                         // No screen saver service (an error answer): nothing to take back.
                         if (reply.isError()) return;
                         s.cookie = reply.value();
                         s.inhibited = true;
                         // Released meanwhile: taken back at once; held again meanwhile: kept.
                         if (!s.wanted) unInhibit();
                     });
}

} // namespace

void hold(const QString& reason) {
    State& s = state();
    if (s.wanted) return;
    // Quitting while held gives the hold back too.
    static const bool onQuit =
        qApp && QObject::connect(qApp, &QCoreApplication::aboutToQuit, qApp, [] { release(); });
    Q_UNUSED(onQuit)
    s.wanted = true;
    s.reason = reason;
    s.x.start();
    if (!s.asking && !s.inhibited) inhibit();
}

void release() {
    State& s = state();
    if (!s.wanted) return;
    s.wanted = false;
    s.x.stop();
    unInhibit();
}

bool held() {
    return state().wanted;
}

} // namespace screen_awake

#include "app/document_channel.h"

#include "app/app.h"
#include "windows/setup/start.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTimer>
#include <memory>

namespace document_message {

namespace {
const QByteArray header = QByteArrayLiteral("vetrinova-open/2\n");
constexpr char end = '\0';
} // namespace

QByteArray encode(const QStringList& paths) {
    QByteArray bytes = header;
    for (const QString& p : paths) {
        bytes += p.toUtf8();
        bytes += end;
    }
    bytes += end;
    return bytes;
}

bool ended(const QByteArray& bytes) {
    if (bytes.size() > largestMessage) return true;
    const qsizetype common = std::min(bytes.size(), header.size());
    if (!header.startsWith(bytes.first(common))) return true;
    // A path is never empty: the first NUL that ends no path is the end mark.
    const QByteArrayView body = QByteArrayView(bytes).sliced(common);
    return body.startsWith(end) || body.contains(QByteArrayView("\0\0", 2));
}

std::optional<QStringList> decode(const QByteArray& bytes) {
    if (bytes.size() > largestMessage || !bytes.startsWith(header)) return std::nullopt;
    const QByteArray body = bytes.mid(header.size());
    if (!body.endsWith(end)) return std::nullopt;
    QStringList paths;
    qsizetype from = 0;
    for (;;) {
        const qsizetype to = body.indexOf(end, from);
        if (to < 0) return std::nullopt; // no end mark
        if (to == from) break;           // the end mark
        const QByteArray entry = body.mid(from, to - from);
        from = to + 1;
        if (entry.size() > largestPath) return std::nullopt;
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString path = utf8(entry);
        if (utf8.hasError() || !QDir::isAbsolutePath(path)) return std::nullopt;
        paths << path;
    }
    // Nothing may follow the end mark.
    if (from + 1 != body.size()) return std::nullopt;
    return paths;
}

} // namespace document_message

namespace {

// A writer has this long from connecting to send its whole message; one that stalls is cut
// off then. It never holds back a writer that comes after it.
constexpr int messageMs = 3000;
// Beyond this many connections still sending, the oldest is cut off to make room: a flood
// of idle connections can never keep a real launch out.
constexpr int mostWaiting = 64;
constexpr int connectMs = 1000;
constexpr int writeMs = 3000;
// How long a launch waits for the running copy to confirm it took the documents.
constexpr int confirmMs = 5000;
// Long enough for a copy that is just starting to begin listening.
constexpr int lockMs = 3000;

QString withFolder(const QString& name) {
    if (name.isEmpty() || name.contains(QLatin1Char('/'))) return name;
    return QDir::tempPath() + QLatin1Char('/') + name;
}

bool liveServer(const QString& name) {
    QLocalSocket probe;
    probe.connectToServer(name);
    const bool live = probe.waitForConnected(connectMs);
    probe.abort();
    return live;
}

} // namespace

DocumentChannel::DocumentChannel(const QString& serverName, QObject* parent)
    : QObject(parent), name_(withFolder(serverName)) {}

DocumentChannel::~DocumentChannel() = default;

QString DocumentChannel::defaultServerName() {
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty()) return QString();
    // One channel per display: a copy on another screen (or in a test's own X server) is
    // not the one the user sees.
    const bool wayland = QGuiApplication::platformName() == QLatin1String("wayland");
    QString display = qEnvironmentVariable(wayland ? "WAYLAND_DISPLAY" : "DISPLAY");
    if (display.isEmpty()) display = QGuiApplication::platformName();
    for (QChar& c : display)
        if (!c.isLetterOrNumber() && c != QLatin1Char('.') && c != QLatin1Char('-')) c = u'_';
    return runtime + QStringLiteral("/vetrinova-") + display;
}

DocumentChannel::Role DocumentChannel::claim(const QStringList& documents) {
    if (name_.isEmpty()) return Role::Alone;
    // Held from the look for a listener to the start of listening, so that of two launches
    // at the same moment the second finds the first listening. A lock that cannot be had
    // still lets the program start.
    QLockFile lock(name_ + QStringLiteral(".lock"));
    lock.tryLock(lockMs);
    if (!documents.isEmpty()) {
        QStringList absolute;
        for (const QString& d : documents)
            absolute << QFileInfo(d).absoluteFilePath();
        switch (handOver(absolute)) {
        case Delivery::Confirmed:
            return Role::HandedOver;
        case Delivery::NotConfirmed:
            return Role::NotConfirmed;
        case Delivery::NoListener:
            break;
        }
    }
    return listen() ? Role::Listening : Role::Alone;
}

DocumentChannel::Delivery DocumentChannel::handOver(const QStringList& absolutePaths) {
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(connectMs)) return Delivery::NoListener;
    QDeadlineTimer deadline(confirmMs);
    const QByteArray message = document_message::encode(absolutePaths);
    // What the running copy would refuse (too many paths, one too long) is not sent.
    if (absolutePaths.isEmpty() || !document_message::decode(message))
        return Delivery::NotConfirmed;
    if (socket.write(message) != message.size()) return Delivery::NotConfirmed;
    while (socket.bytesToWrite() > 0)
        if (!socket.waitForBytesWritten(writeMs)) return Delivery::NotConfirmed;
    QByteArray answer;
    while (answer.size() < document_message::accepted.size() && !deadline.hasExpired()) {
        if (socket.bytesAvailable() == 0 && !socket.waitForReadyRead(int(deadline.remainingTime())))
            break;
        answer += socket.read(document_message::accepted.size() - answer.size());
    }
    socket.abort();
    return answer == document_message::accepted ? Delivery::Confirmed : Delivery::NotConfirmed;
}

bool DocumentChannel::listen() {
    if (server_) return true;
    if (name_.isEmpty()) return false;
    if (liveServer(name_)) return false;
    // Nobody answers: whatever socket file is there was left by a copy that ended abruptly.
    QLocalServer::removeServer(name_);
    auto* server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(name_)) {
        delete server;
        return false;
    }
    server_ = server;
    connect(server_, &QLocalServer::newConnection, this, &DocumentChannel::acceptConnections);
    return true;
}

void DocumentChannel::acceptConnections() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        if (waiting_.size() >= mostWaiting) waiting_.takeFirst()->abort();
        waiting_ << socket;
        auto bytes = std::make_shared<QByteArray>();
        auto take = [this, socket, bytes] {
            if (!waiting_.contains(socket)) return; // answered or cut off already
            *bytes += socket->read(document_message::largestMessage + 1 - bytes->size());
            if (document_message::ended(*bytes)) answer(socket, *bytes);
        };
        connect(socket, &QLocalSocket::readyRead, this, take);
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            waiting_.removeOne(socket);
            socket->deleteLater();
        });
        QTimer::singleShot(messageMs, socket, [this, socket] {
            if (waiting_.removeOne(socket)) socket->abort();
        });
        // Bytes may have come with the connection.
        take();
    }
}

void DocumentChannel::answer(QLocalSocket* socket, const QByteArray& bytes) {
    waiting_.removeOne(socket);
    const auto paths = document_message::decode(bytes);
    const bool taken = paths && !paths->isEmpty() && (!accept_ || accept_(*paths));
    socket->write(taken ? document_message::accepted : document_message::refused);
    // Closes once the answer is out.
    socket->disconnectFromServer();
    if (taken) emit received(*paths);
}

DocumentInbox::DocumentInbox(std::function<bool()> ready, std::function<void(const QString&)> open,
                             QObject* parent)
    : QObject(parent), ready_(std::move(ready)), open_(std::move(open)) {
    // The event loop is about to wait: no handler is running, nothing is being built.
    if (auto* dispatcher = QAbstractEventDispatcher::instance())
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &DocumentInbox::idle);
}

bool DocumentInbox::add(const QStringList& paths) {
    if (queue_.size() + paths.size() > largestQueue) return false;
    queue_ << paths;
    return true;
}

void DocumentInbox::idle() {
    if (queue_.isEmpty() || posted_ || delivering_ || !ready_()) return;
    posted_ = true;
    QMetaObject::invokeMethod(this, &DocumentInbox::deliver, Qt::QueuedConnection);
}

void DocumentInbox::deliver() {
    posted_ = false;
    if (delivering_) return;
    delivering_ = true;
    while (!queue_.isEmpty() && ready_())
        open_(queue_.takeFirst());
    delivering_ = false;
}

void openHandedDocuments(DocumentChannel& channel) {
    auto* inbox = new DocumentInbox(
        [] {
            const start* w = fw::Single<start>::peek();
            return w && w->isVisible() && !QApplication::activeModalWidget();
        },
        [](const QString& path) {
            if (App* app = App::instance()) app->Event_OpenDocument(path);
            if (start* w = fw::Single<start>::peek(); w && w->isVisible()) {
                w->raise();
                w->activateWindow();
            }
        },
        &channel);
    channel.setAcceptor([inbox](const QStringList& paths) { return inbox->add(paths); });
}

#include "app/document_channel.h"

#include "app/app.h"
#include "windows/setup/start.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
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
const QByteArray header = QByteArrayLiteral("vetrinova-open/1\n");
constexpr char end = '\0';
} // namespace

QByteArray encode(const QStringList& paths) {
    QByteArray bytes = header;
    for (const QString& p : paths) {
        bytes += p.toUtf8();
        bytes += end;
    }
    return bytes;
}

std::optional<QStringList> decode(const QByteArray& bytes) {
    if (bytes.size() > largestMessage || !bytes.startsWith(header)) return std::nullopt;
    const QByteArray body = bytes.mid(header.size());
    if (!body.isEmpty() && !body.endsWith(end)) return std::nullopt;
    QStringList paths;
    qsizetype from = 0;
    while (from < body.size()) {
        const qsizetype to = body.indexOf(end, from);
        const QByteArray entry = body.mid(from, to - from);
        from = to + 1;
        if (entry.isEmpty() || entry.size() > largestPath) return std::nullopt;
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString path = utf8(entry);
        if (utf8.hasError() || !QDir::isAbsolutePath(path)) return std::nullopt;
        paths << path;
    }
    return paths;
}

} // namespace document_message

namespace {

// A writer that connects and then stalls must not hold a connection for ever, nor may a
// flood of connections pile up.
constexpr int stalledWriterMs = 10000;
constexpr int largestConnections = 8;
constexpr int connectMs = 1000;
constexpr int writeMs = 3000;
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
        if (handOver(absolute)) return Role::HandedOver;
    }
    return listen() ? Role::Listening : Role::Alone;
}

bool DocumentChannel::handOver(const QStringList& absolutePaths) {
    const QByteArray message = document_message::encode(absolutePaths);
    if (absolutePaths.isEmpty() || !document_message::decode(message)) return false;
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(connectMs)) return false;
    if (socket.write(message) != message.size()) return false;
    while (socket.bytesToWrite() > 0)
        if (!socket.waitForBytesWritten(writeMs)) return false;
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(writeMs);
    return true;
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

bool DocumentChannel::isListening() const {
    return server_ && server_->isListening();
}

void DocumentChannel::acceptConnections() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        if (openConnections_ >= largestConnections) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        ++openConnections_;
        struct Incoming {
            QByteArray bytes;
            bool spoiled = false;
        };
        auto in = std::make_shared<Incoming>();
        auto take = [socket, in] {
            if (in->spoiled) return;
            const qint64 room = document_message::largestMessage + 1 - in->bytes.size();
            in->bytes += socket->read(room);
            if (in->bytes.size() > document_message::largestMessage) {
                in->spoiled = true;
                in->bytes.clear();
                socket->abort();
            }
        };
        connect(socket, &QLocalSocket::readyRead, socket, take);
        // The message is complete when the writer closes its end.
        connect(socket, &QLocalSocket::disconnected, this, [this, socket, in, take] {
            take();
            --openConnections_;
            socket->deleteLater();
            if (in->spoiled) return;
            if (const auto paths = document_message::decode(in->bytes); paths && !paths->isEmpty())
                emit received(*paths);
        });
        QTimer::singleShot(stalledWriterMs, socket, [socket, in] {
            in->spoiled = true;
            socket->abort();
        });
        take();
    }
}

DocumentInbox::DocumentInbox(std::function<bool()> ready, std::function<void(const QString&)> open,
                             QObject* parent)
    : QObject(parent), ready_(std::move(ready)), open_(std::move(open)) {
    // The event loop is about to wait: no handler is running, nothing is being built.
    if (auto* dispatcher = QAbstractEventDispatcher::instance())
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &DocumentInbox::idle);
}

void DocumentInbox::add(const QStringList& paths) {
    for (const QString& p : paths)
        if (queue_.size() < largestQueue) queue_ << p;
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
    QObject::connect(&channel, &DocumentChannel::received, inbox, &DocumentInbox::add);
}

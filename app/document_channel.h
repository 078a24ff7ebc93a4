#pragma once
// Documents opened from the desktop while the program already runs: the new launch hands
// them over a local socket to the running copy instead of starting a second one. The socket
// lives in the user's runtime folder and only the same user can reach it.
#include <QByteArray>
#include <QObject>
#include <QStringList>
#include <functional>
#include <optional>

class QLocalServer;
class QLocalSocket;

// The bytes that travel over the socket: a fixed header, then each absolute path in UTF-8
// ended by a NUL byte (the one byte no path can hold), then one more NUL that ends the
// message. The running copy answers with `accepted` once it has taken the documents, or
// `refused`, and closes the connection.
namespace document_message {

inline constexpr qsizetype largestMessage = 64 * 1024;
inline constexpr qsizetype largestPath = 4096;
inline const QByteArray accepted = QByteArrayLiteral("ok\n");
inline const QByteArray refused = QByteArrayLiteral("no\n");

QByteArray encode(const QStringList& paths);
// Whether the bytes received so far are all there will be: the end mark has come, the message
// is too long, or it does not start as a message does.
bool ended(const QByteArray& bytes);
// The paths of a whole message; nullopt for anything but a well-formed message of absolute
// paths in valid UTF-8 within the limits above, so a stray or hostile writer is ignored.
std::optional<QStringList> decode(const QByteArray& bytes);

} // namespace document_message

class DocumentChannel : public QObject {
    Q_OBJECT
  public:
    enum class Role {
        HandedOver,   // a running copy took the documents: this launch has nothing more to do
        Listening,    // this copy receives the documents of later launches
        Alone,        // neither (another copy listens, or the socket cannot be made)
        NotConfirmed, // a copy listens but did not confirm it took the documents in time:
                      // this launch opens them itself
    };
    enum class Delivery { Confirmed, NoListener, NotConfirmed };

    // A server name without a folder lives in the system's temporary folder; an empty name
    // makes a channel that never connects.
    explicit DocumentChannel(const QString& serverName, QObject* parent = nullptr);
    ~DocumentChannel() override;

    // This user's channel for the display the program shows on; "" when the user has no
    // runtime folder.
    static QString defaultServerName();

    // Hands the documents (made absolute) to a running copy when there are any and one
    // listens, otherwise starts listening. Two launches at the same moment take turns.
    Role claim(const QStringList& documents);
    // Sends absolute paths to the copy listening on this name and waits, a few seconds at
    // most, for it to confirm that it took them.
    Delivery handOver(const QStringList& absolutePaths);
    // Decides whether a well-formed message's paths are taken (and confirmed); without one,
    // every such message is. received() is emitted for the paths taken.
    void setAcceptor(std::function<bool(const QStringList&)> accept) {
        accept_ = std::move(accept);
    }
    // Starts receiving unless a live copy already listens; a socket file left behind by a
    // copy that crashed is removed first.
    bool listen();

  signals:
    // The paths of one well-formed message, in the order sent.
    void received(const QStringList& paths);

  private:
    void acceptConnections();
    void answer(QLocalSocket* socket, const QByteArray& bytes);
    QString name_;
    QLocalServer* server_ = nullptr;
    std::function<bool(const QStringList&)> accept_;
    // Connections that have not yet sent a whole message, oldest first.
    QList<QLocalSocket*> waiting_;
};

// Holds handed-over documents until the program can take them: a document must not open in
// the middle of other work (a folder scan that repaints, a modal dialog) nor under a running
// presentation, so delivery waits for the event loop to fall idle with ready() true.
class DocumentInbox : public QObject {
    Q_OBJECT
  public:
    static constexpr int largestQueue = 32;

    DocumentInbox(std::function<bool()> ready, std::function<void(const QString&)> open,
                  QObject* parent = nullptr);
    // Queues the paths, all of them or, when they would take the queue beyond largestQueue
    // waiting documents, none; false then.
    bool add(const QStringList& paths);
    qsizetype pending() const { return queue_.size(); }

  private:
    void idle();
    void deliver();
    std::function<bool()> ready_;
    std::function<void(const QString&)> open_;
    QStringList queue_;
    bool posted_ = false;
    bool delivering_ = false;
};

// The program's side: documents that later launches hand over open through
// App::Event_OpenDocument once the setup window is in front and idle, which then comes
// forward.
void openHandedDocuments(DocumentChannel& channel);

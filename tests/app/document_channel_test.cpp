#include "app/document_channel.h"

#include <QAbstractEventDispatcher>
#include <QDir>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// Lets the event loop fall idle (about to wait for input) the given number of times.
void idleRounds(int rounds) {
    int idle = 0;
    QObject counter;
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                     &counter, [&idle] { ++idle; });
    while (idle < rounds) {
        QTimer::singleShot(1, &counter, [] {});
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

// Lets the event loop fall idle until the condition holds; false if it never does.
template <class Condition> bool idleUntil(Condition done) {
    for (int i = 0; i < 100 && !done(); ++i)
        idleRounds(1);
    return done();
}

// Work in a handler that keeps the windows painting, as a folder scan does.
void busyWork() {
    for (int i = 0; i < 200; ++i)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// A socket file whose program has gone: bound, never listening, left behind.
bool leaveStaleSocket(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (size_t(name.size()) >= sizeof(address.sun_path)) return false;
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0) return false;
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    ::close(fd);
    return bound;
}

} // namespace

class DocumentChannelTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString socketPath() const { return dir.filePath(QStringLiteral("channel")); }

  private slots:
    void messageRoundTrip_data() {
        QTest::addColumn<QStringList>("paths");
        QTest::newRow("several") << QStringList{"/a/one.v69", "/b/two.txt", "/c/three"};
        QTest::newRow("accents and blanks")
            << QStringList{QString::fromUtf8("/home/anna/Présentation d'été.v69")};
        QTest::newRow("line break in a name") << QStringList{"/tmp/two\nlines.v69"};
        QTest::newRow("longest path") << QStringList{"/" + QString(4095, 'x')};
    }
    void messageRoundTrip() {
        QFETCH(QStringList, paths);
        QCOMPARE(document_message::decode(document_message::encode(paths)), paths);
    }

    void refusedMessages_data() {
        const QByteArray good = document_message::encode({"/a.v69"});
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("nothing") << QByteArray();
        QTest::newRow("no header") << QByteArray("/a.v69", 7);
        QTest::newRow("other header") << QByteArray("vetrinova-open/2\n/a.v69", 24);
        QTest::newRow("unfinished path") << good.chopped(1);
        QTest::newRow("empty entry") << good + QByteArray(1, '\0');
        QTest::newRow("relative path") << document_message::encode({"a.v69"});
        QTest::newRow("invalid utf-8") << document_message::encode({}) + "/a\xff\xfe.v69" + '\0';
        QTest::newRow("path too long") << document_message::encode({"/" + QString(4096, 'x')});
        QStringList many;
        for (int i = 0; i < 20; ++i)
            many << "/" + QString(4000, 'y');
        QTest::newRow("message too long") << document_message::encode(many);
    }
    void refusedMessages() {
        QFETCH(QByteArray, bytes);
        QCOMPARE(document_message::decode(bytes), std::nullopt);
    }

    void headerAloneIsNoDocument() {
        QCOMPARE(document_message::decode(document_message::encode({})), QStringList());
    }

    void pathArrives() {
        DocumentChannel server(socketPath());
        QVERIFY(server.listen());
        QVERIFY(server.isListening());
        QSignalSpy spy(&server, &DocumentChannel::received);
        DocumentChannel client(socketPath());
        QVERIFY(client.handOver({"/photos/Demo.v69", "/photos/Other.v69"}));
        QVERIFY(spy.wait());
        QCOMPARE(spy.at(0).at(0).toStringList(),
                 (QStringList{"/photos/Demo.v69", "/photos/Other.v69"}));
    }

    void secondLaunchHandsOverRelativeNamesMadeAbsolute() {
        DocumentChannel first(socketPath());
        QCOMPARE(first.claim({}), DocumentChannel::Role::Listening);
        QSignalSpy spy(&first, &DocumentChannel::received);
        DocumentChannel second(socketPath());
        QCOMPARE(second.claim({"Demo.v69"}), DocumentChannel::Role::HandedOver);
        QVERIFY(spy.wait());
        QCOMPARE(spy.at(0).at(0).toStringList(),
                 QStringList{QDir::current().absoluteFilePath("Demo.v69")});
        // Without a document there is nothing to hand over, and the live copy keeps the name.
        DocumentChannel third(socketPath());
        QCOMPARE(third.claim({}), DocumentChannel::Role::Alone);
        QVERIFY(!third.isListening());
        DocumentChannel fourth(socketPath());
        QVERIFY(fourth.handOver({"/still/first.v69"}));
        QVERIFY(spy.wait());
        QCOMPARE(spy.at(1).at(0).toStringList(), QStringList{"/still/first.v69"});
    }

    void noOneListening() {
        DocumentChannel client(socketPath());
        QVERIFY(!client.handOver({"/a.v69"}));
        QCOMPARE(client.claim({"/a.v69"}), DocumentChannel::Role::Listening);
        DocumentChannel unnamed(QString{});
        QCOMPARE(unnamed.claim({"/a.v69"}), DocumentChannel::Role::Alone);
    }

    void staleSocketFileIsRecovered() {
        QVERIFY(leaveStaleSocket(socketPath()));
        QVERIFY(QFileInfo::exists(socketPath()));
        DocumentChannel client(socketPath());
        QVERIFY(!client.handOver({"/lost.v69"}));
        DocumentChannel server(socketPath());
        QCOMPARE(server.claim({}), DocumentChannel::Role::Listening);
        QSignalSpy spy(&server, &DocumentChannel::received);
        QVERIFY(client.handOver({"/found.v69"}));
        QVERIFY(spy.wait());
        QCOMPARE(spy.at(0).at(0).toStringList(), QStringList{"/found.v69"});
    }

    void strayWritersAreIgnored_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("silent") << QByteArray();
        QTest::newRow("noise") << QByteArray("\x01\x02garbage\xff", 11);
        QTest::newRow("relative path") << document_message::encode({"../etc/passwd"});
        QTest::newRow("unfinished") << document_message::encode({"/a.v69"}).chopped(1);
        QTest::newRow("oversized")
            << document_message::encode({}) + QByteArray(document_message::largestMessage * 3, '/');
    }
    void strayWritersAreIgnored() {
        QFETCH(QByteArray, bytes);
        DocumentChannel server(socketPath());
        QVERIFY(server.listen());
        QSignalSpy spy(&server, &DocumentChannel::received);
        {
            QLocalSocket stray;
            stray.connectToServer(server.serverName());
            QVERIFY(stray.waitForConnected());
            stray.write(bytes);
            // The writer closes its end once its bytes are out, unless it is cut off first.
            QObject::connect(&stray, &QLocalSocket::bytesWritten, &stray, [&stray] {
                if (stray.bytesToWrite() == 0) stray.disconnectFromServer();
            });
            if (bytes.isEmpty()) stray.disconnectFromServer();
            QVERIFY(QTest::qWaitFor(
                [&stray] { return stray.state() == QLocalSocket::UnconnectedState; }));
        }
        DocumentChannel client(server.serverName());
        QVERIFY(client.handOver({"/after.v69"}));
        QVERIFY(spy.wait());
        idleRounds(3);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toStringList(), QStringList{"/after.v69"});
    }

    void inboxDeliversInOrderWhenIdle() {
        QStringList opened;
        DocumentInbox inbox([] { return true; }, [&opened](const QString& p) { opened << p; });
        inbox.add({"/a.v69", "/b.v69"});
        inbox.add({"/c.v69"});
        QVERIFY(idleUntil([&opened] { return opened.size() == 3; }));
        QCOMPARE(opened, (QStringList{"/a.v69", "/b.v69", "/c.v69"}));
        QCOMPARE(inbox.pending(), 0);
    }

    void inboxWaitsUntilReady() {
        bool ready = false;
        QStringList opened;
        DocumentInbox inbox([&ready] { return ready; },
                            [&opened](const QString& p) { opened << p; });
        inbox.add({"/a.v69"});
        idleRounds(5);
        QVERIFY(opened.isEmpty());
        QCOMPARE(inbox.pending(), 1);
        ready = true;
        idleRounds(3);
        QCOMPARE(opened, QStringList{"/a.v69"});
    }

    void inboxWaitsForWorkInProgress() {
        QStringList opened;
        DocumentInbox inbox([] { return true; }, [&opened](const QString& p) { opened << p; });
        bool workDone = false;
        QTimer::singleShot(0, &inbox, [&] {
            inbox.add({"/a.v69"});
            busyWork();
            workDone = opened.isEmpty();
        });
        QVERIFY(idleUntil([&opened] { return !opened.isEmpty(); }));
        QVERIFY(workDone);
        QCOMPARE(opened, QStringList{"/a.v69"});
    }

    void inboxNeverOpensInsideAnOpening() {
        // Opening a document may run a nested event loop (a modal warning): the next
        // document waits for it to end.
        int depth = 0, deepest = 0;
        QStringList opened;
        DocumentInbox inbox([] { return true; },
                            [&](const QString& p) {
                                deepest = std::max(deepest, ++depth);
                                opened << p;
                                idleRounds(3);
                                --depth;
                            });
        inbox.add({"/a.v69", "/b.v69"});
        QVERIFY(idleUntil([&opened] { return opened.size() == 2; }));
        QCOMPARE(deepest, 1);
        QCOMPARE(opened, (QStringList{"/a.v69", "/b.v69"}));
    }

    void inboxIsBounded() {
        DocumentInbox inbox([] { return false; }, [](const QString&) {});
        QStringList many;
        for (int i = 0; i < DocumentInbox::largestQueue + 10; ++i)
            many << QStringLiteral("/%1.v69").arg(i);
        inbox.add(many);
        QCOMPARE(inbox.pending(), DocumentInbox::largestQueue);
    }
};

QTEST_GUILESS_MAIN(DocumentChannelTest)
#include "document_channel_test.moc"

// The message a second launch hands its documents over in: what it carries, and what a
// stray writer on the socket may send, which must never open anything; the running copy's
// answer, which idle, slow or hostile connections never keep from a launch.
#include "app/document_channel.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <future>
#include <memory>
#include <vector>

namespace {
// A later launch runs in a process of its own and blocks while it waits for the answer: here
// it runs on a thread of its own while this one answers.
template <class Launch> auto fromAnotherLaunch(Launch launch) {
    auto result = std::async(std::launch::async, launch);
    while (result.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return result.get();
}
DocumentChannel::Role claim(const QString& name, const QStringList& paths) {
    return fromAnotherLaunch([&] { return DocumentChannel(name).claim(paths); });
}
} // namespace

class DocumentChannelTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString socketPath() const { return dir.filePath(QStringLiteral("channel")); }

  private slots:
    void refusedMessages_data() {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = document_message::encode({"/a.v69"});
        QTest::newRow("nothing") << QByteArray();
        QTest::newRow("noise") << QByteArray("\x01\x02garbage\xff", 11);
        QTest::newRow("other header") << QByteArray("vetrinova-open/1\n/a.v69\0\0", 26);
        QTest::newRow("no end mark") << good.chopped(1);
        QTest::newRow("bytes after the end") << good + "/b.v69";
        QTest::newRow("relative path") << document_message::encode({"../etc/passwd"});
        QTest::newRow("invalid utf-8")
            << document_message::encode({"/a__.v69"}).replace("__", "\xff\xfe");
        QTest::newRow("path too long") << document_message::encode({"/" + QString(4096, 'x')});
        QTest::newRow("message too long")
            << document_message::encode(QStringList(20, "/" + QString(4000, 'y')));
    }
    void refusedMessages() {
        QFETCH(QByteArray, bytes);
        QCOMPARE(document_message::decode(bytes), std::nullopt);
        const QStringList longest{"/" + QString(4095, 'x'), "/tmp/two\nlines.v69"};
        QCOMPARE(document_message::decode(document_message::encode(longest)), longest);
    }

    // Both sides of the longest message, 64 KB: paths that fill it to the byte, and a byte more.
    void longestMessage() {
        QStringList paths(17, "/" + QString(3850, 'y'));
        paths.last() += QString(64 * 1024 - document_message::encode(paths).size(), 'z');
        QCOMPARE(document_message::encode(paths).size(), 64 * 1024);
        QCOMPARE(document_message::decode(document_message::encode(paths)), paths);
        paths.last() += 'z';
        QCOMPARE(document_message::decode(document_message::encode(paths)), std::nullopt);
    }

    void idleConnectionsNeverKeepALaunchOut() {
        DocumentChannel server(socketPath());
        QVERIFY(server.listen());
        QSignalSpy spy(&server, &DocumentChannel::received);
        std::vector<std::unique_ptr<QLocalSocket>> idlers;
        for (int i = 0; i < 200; ++i) {
            idlers.push_back(std::make_unique<QLocalSocket>());
            idlers.back()->connectToServer(socketPath());
            QVERIFY(idlers.back()->waitForConnected(1000));
            QCoreApplication::processEvents(); // taken in, as the running copy does at once
        }
        QCOMPARE(claim(socketPath(), {"a.v69"}), DocumentChannel::Role::HandedOver);
        // The newest 64 still wait for their word; the launch pushed out one of them.
        QTRY_COMPARE(
            std::count_if(idlers.begin(), idlers.end(),
                          [](const auto& s) { return s->state() == QLocalSocket::ConnectedState; }),
            63);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toStringList(), QStringList{QDir::current().filePath("a.v69")});
    }

    // What a stray writer gets back (a well-formed message's answer: the hand-over above).
    void answers_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("answer");
        const QByteArray good = document_message::encode({"/a.v69"});
        QTest::newRow("not UTF-8") << document_message::encode({"/a__"}).replace("__", "\xc3\x28")
                                   << document_message::refused;
        QTest::newRow("huge") << good.chopped(1) + QByteArray(1 << 20, 'x')
                              << document_message::refused;
        QTest::newRow("an older launch's")
            << QByteArray("vetrinova-open/1\n/a.v69\0\0", 25) << document_message::refused;
        QTest::newRow("cut short, then silent") << good.chopped(3) << QByteArray();
    }
    void answers() {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, answer);
        DocumentChannel server(socketPath());
        QVERIFY(server.listen());
        QSignalSpy taken(&server, &DocumentChannel::received);
        const QByteArray got = fromAnotherLaunch([&] {
            QLocalSocket s;
            s.connectToServer(socketPath());
            s.waitForConnected(1000);
            s.write(bytes);
            while (s.bytesAvailable() < 3 && s.waitForReadyRead(10000)) {
            }
            return s.readAll();
        });
        QCOMPARE(taken.count(), 0);
        // A writer still sending past the limit may find the connection closed before it
        // reads the refusal.
        if (got.isEmpty() && answer == document_message::refused && bytes.size() > (1 << 16))
            return;
        QCOMPARE(got, answer);
    }

    // The launch keeps its documents when the running copy refuses them (its queue is full)
    // or does not answer at all (it hangs: it handles no events while the launch waits).
    void unconfirmedHandOver() {
        DocumentChannel server(socketPath());
        QVERIFY(server.listen());
        DocumentInbox inbox([] { return false; }, [](const QString&) {});
        server.setAcceptor([&inbox](const QStringList& paths) { return inbox.add(paths); });
        QVERIFY(inbox.add(QStringList(32, "/queued.v69"))); // a full queue
        QCOMPARE(claim(socketPath(), {"/a.v69"}), DocumentChannel::Role::NotConfirmed);
        QCOMPARE(inbox.pending(), 32);
        QCOMPARE(DocumentChannel(socketPath()).claim({"/a.v69"}),
                 DocumentChannel::Role::NotConfirmed);
    }

    // A copy on another display is not the one the user sees: one channel per display.
    void oneChannelPerDisplay() {
        const QByteArray saved = qgetenv("DISPLAY");
        QStringList names;
        for (const char* display : {":0", ":1", "host:10.0"}) {
            qputenv("DISPLAY", display);
            names << QFileInfo(DocumentChannel::defaultServerName()).fileName();
        }
        qputenv("DISPLAY", saved);
        QCOMPARE(names, QStringList({"vetrinova-_0", "vetrinova-_1", "vetrinova-host_10.0"}));
    }
};

QTEST_GUILESS_MAIN(DocumentChannelTest)
#include "document_channel_test.moc"

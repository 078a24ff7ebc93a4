// The message a second launch hands its documents over in: what it carries, and what a
// stray writer on the socket may send, which must never open anything.
#include "app/document_channel.h"

#include <QTest>

class DocumentChannelTest : public QObject {
    Q_OBJECT
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
};

QTEST_GUILESS_MAIN(DocumentChannelTest)
#include "document_channel_test.moc"

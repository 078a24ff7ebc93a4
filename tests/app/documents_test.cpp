// Documents that later launches hand over wait until the program is idle: one that arrives
// while a folder is being scanned (the scan lets the windows paint meanwhile) opens after it.
#include "app/app.h"
#include "app/document_channel.h"
#include "common/testfiles.h"
#include "common/testseams.h"
#include "logic/state/globali.h"
#include "windows/setup/start.h"

#include <QDir>
#include <QEventLoop>
#include <QTest>
#include <QTimer>
#include <functional>
#include <future>

using namespace Globali;

namespace {
// Lets the event loop fall idle, again and again, until `done`.
void idleUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 250 && !done(); ++i) {
        QEventLoop idle;
        QTimer::singleShot(20, &idle, &QEventLoop::quit);
        idle.exec();
    }
}
} // namespace

class DocumentsTest : public QObject {
    Q_OBJECT
  private slots:
    void documentsWaitForIdle_data() {
        QTest::addColumn<bool>("scan");
        QTest::newRow("a folder scan") << true;
        QTest::newRow("a presentation") << false;
    }
    void documentsWaitForIdle() {
        QFETCH(bool, scan);
        WindowFixture f;
        App app;
        start* setup = start::instance();
        setup->Show();
        const QString small = f.makeFolder("small", 1), large = f.makeFolder("large", 1);
        testfiles::writeText(f.path("small.v69"), small.toUtf8() + "\r0\r10\r");
        for (int i = 0; scan && i < 3000; ++i)
            testfiles::writeText(QDir(large).filePath(QString::number(i)), "not a picture");
        DocumentChannel channel(f.path("channel"));
        QVERIFY(channel.listen());
        openHandedDocuments(channel);
        auto launch = std::async(std::launch::async, [&] {
            return DocumentChannel(f.path("channel")).claim({f.path("small.v69")});
        });
        const auto answered = [&launch] {
            return launch.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
        };
        QThread::msleep(300); // the launch has sent its document; nothing has read it yet
        if (scan) {
            f.importFolder(large);
            QThread::msleep(300);
            if (!answered()) QSKIP("the scan was over before it let anything else run");
        } else {
            setup->Hide(); // as while a presentation shows
            idleUntil(answered);
        }
        QCOMPARE(launch.get(), DocumentChannel::Role::HandedOver);
        QCOMPARE(cartella, scan ? large : QString());
        setup->Show();
        idleUntil([&] { return cartella == small; });
        QCOMPARE(cartella, small);
        QCOMPARE(quantidisegni, 1);
        // A later launch's document is opened as well.
        const QString again = f.makeFolder("again", 2);
        testfiles::writeText(f.path("again.v69"), again.toUtf8() + "\r0\r10\r");
        auto later = std::async(std::launch::async, [&] {
            return DocumentChannel(f.path("channel")).claim({f.path("again.v69")});
        });
        idleUntil([&] { return cartella == again; });
        QCOMPARE(later.get(), DocumentChannel::Role::HandedOver);
        QCOMPARE(quantidisegni, 2);
    }
};

QTEST_MAIN(DocumentsTest)
#include "documents_test.moc"

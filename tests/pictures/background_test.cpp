// Work off the GUI thread and what outlives it: results come back to the GUI thread only while
// their set lives (also when the set is destroyed inside its own callback), the likelier job
// first; backdrops made ahead are held, given out and dropped as the presentation moves on;
// the limits of one decode's share of the memory budget.
#include "common/testfiles.h"
#include "common/testlanes.h"
#include "pictures/backdrop.h"
#include "pictures/background.h"
#include "pictures/decode/decode_budget.h"

#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <atomic>
#include <memory>
#include <mutex>

class BackgroundTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    backdrop::Request request(const char* name) const {
        return {dir.filePath(name), QSize(100, 80), 1.0, Qt::black, std::nullopt};
    }

  private slots:
    void initTestCase() {
        for (const char* name : {"a.png", "b.png", "c.png", "d.png"})
            testfiles::writePicture(dir.filePath(name), QSize(40, 30), Qt::red);
    }

    // Results come back on the GUI thread, each once, for as long as their set is wanted.
    void jobsDeliver_data() {
        QTest::addColumn<QString>("ending"); // what happens to the set meanwhile
        QTest::addColumn<QList<int>>("delivered");
        QTest::newRow("kept") << "" << QList<int>{1, 2, 3};
        QTest::newRow("cancelled before the work ran") << "cancel" << QList<int>{};
        QTest::newRow("destroyed before the work ran") << "destroy" << QList<int>{};
        QTest::newRow("destroyed inside its first callback") << "inside" << QList<int>{1};
        QTest::newRow("cancelled, then given more") << "more" << QList<int>{4};
    }
    void jobsDeliver() {
        QFETCH(QString, ending);
        QFETCH(QList<int>, delivered);
        QList<int> got;
        const QThread* gui = QThread::currentThread();
        auto jobs = std::make_unique<fw::Jobs>(fw::Lane::Prompt);
        {
            LaneBlock lane(fw::Lane::Prompt);
            for (int i = 1; i <= 3; ++i)
                jobs->run([i] { return i; },
                          [&, gui](int v) {
                              QCOMPARE(QThread::currentThread(), gui);
                              got << v;
                              if (ending == "inside") jobs.reset();
                          });
            QCOMPARE(jobs->pending(), 3);
            if (ending == "cancel" || ending == "more") jobs->cancel();
            if (ending == "destroy") jobs.reset();
            if (ending == "more") jobs->run([] { return 4; }, [&](int v) { got << v; });
        }
        finishBackgroundWork();
        QCOMPARE(got, delivered);
        if (jobs) QCOMPARE(jobs->pending(), 0);
    }

    // Among the jobs waiting for a lane, the one of higher priority starts first.
    void priorityFirst() {
        std::mutex m;
        QList<int> started;
        fw::Jobs jobs(fw::Lane::Prompt);
        {
            LaneBlock lane(fw::Lane::Prompt);
            for (int priority : {0, 5, 2, -1}) {
                const auto work = [&, priority] {
                    const std::lock_guard held(m);
                    started << priority;
                    return priority;
                };
                jobs.run(
                    work, [](int) {}, priority);
            }
        }
        finishBackgroundWork();
        QCOMPARE(started, QList<int>({5, 2, 0, -1}));
    }

    // What is next is made, at most two; it is given out once, while its file is unchanged.
    void aheadMakesWhatIsNext_data() {
        QTest::addColumn<QStringList>("next");
        QTest::addColumn<QString>("changed"); // rewritten once made
        QTest::addColumn<QStringList>("given");
        QTest::newRow("two") << QStringList{"a.png", "b.png"} << ""
                             << QStringList{"a.png", "b.png"};
        QTest::newRow("three: the first two")
            << QStringList{"a.png", "b.png", "c.png"} << "" << QStringList{"a.png", "b.png"};
        QTest::newRow("changed since")
            << QStringList{"a.png", "b.png"} << "b.png" << QStringList{"a.png"};
    }
    void aheadMakesWhatIsNext() {
        QFETCH(QStringList, next);
        QFETCH(QString, changed);
        QFETCH(QStringList, given);
        backdrop::Ahead ahead;
        QList<backdrop::Request> wanted;
        for (const QString& name : next)
            wanted << request(qPrintable(name));
        ahead.shownNow(request("d.png"), {}, wanted);
        QCOMPARE(ahead.coming(), std::min(int(next.size()), 2));
        finishBackgroundWork();
        QCOMPARE(ahead.held(), std::min(int(next.size()), 2));
        if (!changed.isEmpty())
            testfiles::writePicture(dir.filePath(changed), QSize(41, 30), Qt::red);
        for (const QString& name : next) {
            const std::optional<backdrop::Made> made = ahead.take(request(qPrintable(name)));
            QCOMPARE(made.has_value(), given.contains(name));
            if (made) QCOMPARE(made->image.pixelColor(50, 40), QColor(Qt::red));
            QVERIFY(!ahead.take(request(qPrintable(name)))); // given out once
        }
        if (!changed.isEmpty())
            testfiles::writePicture(dir.filePath(changed), QSize(40, 30), Qt::red);
    }

    // Going on: what is no longer beside the picture is dropped, the picture left is kept
    // without being made again when it is beside the new one; nothing is made while held.
    void aheadMovesOn() {
        backdrop::Ahead ahead;
        const backdrop::Made shownA = backdrop::make(request("a.png"));
        ahead.shownNow(request("a.png"), shownA, {request("b.png"), request("c.png")});
        finishBackgroundWork();
        ahead.hold();
        ahead.shownNow(request("b.png"), {}, {request("a.png"), request("d.png")});
        QCOMPARE(QList<int>({ahead.held(), ahead.coming()}), QList<int>({1, 0}));
        QVERIFY(!ahead.take(request("c.png")));
        ahead.release();
        QCOMPARE(ahead.coming(), 1);
        finishBackgroundWork();
        QCOMPARE(ahead.take(request("a.png"))->image, shownA.image);
        QVERIFY(ahead.take(request("d.png")));
        // The picture left gave nothing: it is made again rather than kept.
        ahead.shownNow(request("d.png"), {}, {request("b.png")});
        QCOMPARE(QList<int>({ahead.held(), ahead.coming()}), QList<int>({0, 1}));
        ahead.clear();
        QCOMPARE(ahead.held() + ahead.coming(), 0);
    }

    // A picture asked for while it is being made goes to whoever waits, once, and is not kept;
    // a set destroyed while it makes anything sends nothing back.
    void aheadHandsOverOrForgets_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("awaited") << "await";
        QTest::newRow("awaited, then not") << "stop";
        QTest::newRow("destroyed while making") << "destroy";
        QTest::newRow("cleared by whoever waited") << "clear";
    }
    void aheadHandsOverOrForgets() {
        QFETCH(QString, how);
        auto ahead = std::make_unique<backdrop::Ahead>();
        int handed = 0;
        {
            LaneBlock lane(fw::Lane::Ahead);
            ahead->shownNow(request("d.png"), {}, {request("a.png"), request("b.png")});
            QVERIFY(!ahead->await(request("c.png"), [](const backdrop::Made&) {}));
            QVERIFY(!ahead->take(request("a.png"))); // not made yet
            QCOMPARE(ahead->coming(), 2);
            QVERIFY(ahead->await(request("a.png"), [&](const backdrop::Made& made) {
                handed += made.image.isNull() ? 100 : 1;
                if (how == "clear") ahead->clear();
            }));
            QVERIFY(ahead->awaiting());
            if (how == "stop") ahead->stopAwaiting();
            if (how == "destroy") ahead.reset();
        }
        finishBackgroundWork();
        QCOMPARE(handed, how == "await" || how == "clear" ? 1 : 0);
        if (!ahead) return;
        QVERIFY(!ahead->awaiting());
        QCOMPARE(ahead->held(), how == "stop" ? 2 : how == "clear" ? 0 : 1);
    }

    // A share no larger than one decode may take is granted at once while the budget has room.
    void budgetLimits_data() {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<bool>("granted");
        QTest::newRow("nothing") << qint64(0) << true;
        QTest::newRow("what one decode may take") << picture::decodeLimitBytes << true;
        QTest::newRow("a byte more") << picture::decodeLimitBytes + 1 << false;
        QTest::newRow("less than nothing") << qint64(-1) << false;
    }
    void budgetLimits() {
        QFETCH(qint64, bytes);
        QFETCH(bool, granted);
        {
            const picture::BudgetShare share(bytes);
            QCOMPARE(share.granted(), granted);
            QCOMPARE(picture::budgetInUse(), granted ? bytes : 0);
        }
        QCOMPARE(picture::budgetInUse(), 0);
    }
};

QTEST_GUILESS_MAIN(BackgroundTest)
#include "background_test.moc"

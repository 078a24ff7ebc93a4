// Work off the GUI thread and what outlives it: results come back to the GUI thread only while
// their set lives (also when the set is destroyed inside its own callback), the likelier job
// first; a backdrop being made ahead goes to whoever waits for it, or is forgotten; a slow
// picture stands in from a smaller version.
#include "bench/hostile_pictures.h"
#include "common/testfiles.h"
#include "common/testlanes.h"
#include "pictures/backdrop.h"
#include "pictures/background.h"

#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <memory>
#include <mutex>
#include <optional>
#include <sys/resource.h>
#include <unistd.h>

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
        // On the lane of one thread, so that the results come back in the order the jobs ran.
        auto jobs = std::make_unique<fw::Jobs>(fw::Lane::Ahead);
        {
            LaneBlock lane(fw::Lane::Ahead);
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

    // The strip's thumbnails and the pictures made ahead leave the cores to the picture asked
    // for: their threads run at a lower priority, the thumbnails' the lowest.
    void lanesYield_data() {
        QTest::addColumn<int>("lane");
        QTest::addColumn<int>("lower"); // nice levels below the program's own
        QTest::newRow("prompt") << int(fw::Lane::Prompt) << 0;
        QTest::newRow("ahead") << int(fw::Lane::Ahead) << 5;
        QTest::newRow("bulk") << int(fw::Lane::Bulk) << 10;
    }
    void lanesYield() {
        QFETCH(int, lane);
        QFETCH(int, lower);
        const int own = ::getpriority(PRIO_PROCESS, id_t(::gettid()));
        std::optional<int> seen;
        fw::Jobs jobs{fw::Lane(lane)};
        jobs.run([] { return ::getpriority(PRIO_PROCESS, id_t(::gettid())); },
                 [&](int nice) { seen = nice; });
        QTRY_VERIFY(seen.has_value());
        QCOMPARE(*seen, std::min(own + lower, 19));
    }

    // Among the jobs waiting for a lane, the one of higher priority starts first. (On the lane
    // of one thread: on several, the jobs taken in turn could still record out of turn.)
    void priorityFirst() {
        std::mutex m;
        QList<int> started;
        fw::Jobs jobs(fw::Lane::Ahead);
        {
            LaneBlock lane(fw::Lane::Ahead);
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

    // With the memory budget spent, the picture the user waits for gets the next share before
    // a thumbnail that asked earlier; a picture made ahead waits its turn.
    void promptDecodesComeFirst_data() {
        QTest::addColumn<int>("lane");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("prompt") << int(fw::Lane::Prompt) << QStringList{"later", "earlier"};
        QTest::newRow("ahead") << int(fw::Lane::Ahead) << QStringList{"earlier", "later"};
    }
    void promptDecodesComeFirst() {
        QFETCH(int, lane);
        QFETCH(QStringList, order);
        const qint64 half = picture::budgetBytes / 2;
        std::optional<picture::BudgetShare> a(half), b(half);
        std::mutex m;
        QStringList granted;
        std::atomic<int> asking{0};
        const auto share = [&](const QString& who) {
            return [&, who] {
                ++asking;
                const picture::BudgetShare s(half);
                const std::lock_guard held(m);
                granted << who;
                return 0;
            };
        };
        fw::Jobs earlier(fw::Lane::Bulk), later{fw::Lane(lane)};
        // Whatever the outcome, no job is left waiting on what this test holds.
        const auto drained = qScopeGuard([&] {
            a.reset();
            b.reset();
            finishBackgroundWork();
        });
        earlier.run(share("earlier"), [](int) {});
        // Time for each worker to reach its wait; the budget has no count of those waiting.
        QTRY_COMPARE(asking.load(), 1);
        QTest::qWait(100);
        later.run(share("later"), [](int) {});
        QTRY_COMPARE(asking.load(), 2);
        QTest::qWait(100);
        b.reset();
        const auto seen = [&] {
            const std::lock_guard held(m);
            return granted;
        };
        QTRY_COMPARE(seen().size(), 2);
        QCOMPARE(seen(), order);
    }

    // Going on, the picture left is kept without being made again, as it is beside the new one.
    void aheadKeepsThePictureLeft() {
        backdrop::Ahead ahead;
        const backdrop::Made shownA = backdrop::make(request("a.png"));
        ahead.shownNow(request("a.png"), shownA, {request("b.png")});
        finishBackgroundWork();
        ahead.shownNow(request("b.png"), {}, {request("a.png"), request("c.png")});
        QCOMPARE(QList<int>({ahead.held(), ahead.coming()}), QList<int>({1, 1}));
        QCOMPARE(ahead.take(request("a.png"))->image, shownA.image);
        // Taken, it is no longer held; the one still on its way goes on.
        QCOMPARE(QList<int>({ahead.held(), ahead.coming()}), QList<int>({0, 1}));
    }

    // A picture asked for while it is being made goes to whoever waits last, once, and is not
    // kept; a set destroyed while it makes anything sends nothing back.
    void aheadHandsOverOrForgets_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("awaited") << "await";
        QTest::newRow("awaited, then not") << "stop";
        QTest::newRow("awaited, then another") << "other";
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
            if (how == "other") ahead->await(request("b.png"), [&](const auto&) { handed += 10; });
            if (how == "destroy") ahead.reset();
        }
        finishBackgroundWork();
        QCOMPARE(handed, how == "other" ? 10 : how == "await" || how == "clear" ? 1 : 0);
        if (!ahead) return;
        QVERIFY(!ahead->awaiting());
        QCOMPARE(ahead->held(), how == "stop" ? 2 : how == "clear" ? 0 : 1);
    }

    // A phone photo slow to decode stands in from its own thumbnail when that holds a quarter
    // of the fitted size (a 2400 x 1600 grid fitted to 1200 x 800: 300 pixels across).
    void standInFromAQuarter_data() {
        QTest::addColumn<int>("thumbnail"); // pixels across
        QTest::newRow("thumbnail holds a quarter") << 320;
        QTest::newRow("thumbnail short of a quarter") << 280;
    }
    void standInFromAQuarter() {
        QFETCH(int, thumbnail);
        QImage photo(2400, 1600, QImage::Format_RGB32);
        photo.fill(Qt::magenta);
        const QByteArray heic = hostile::encodeGridHeic(photo, 512, thumbnail);
        if (heic.isEmpty()) QSKIP("this libheif codes no HEVC");
        const backdrop::Request r{
            testfiles::written(dir, "grid.heic", heic), QSize(1200, 800), 1.0, Qt::black, {}};
        QVERIFY(backdrop::slow(r));
        const QImage standIn = backdrop::standInDecoded(r).image;
        QCOMPARE(standIn.size(), thumbnail >= 300 ? r.area : QSize(0, 0));
        if (!standIn.isNull()) QVERIFY(qAbs(standIn.pixelColor(600, 400).hue() - 300) < 10);
    }

    // Quitting: a lane still busy when the patience runs out is reported, and the program ends
    // at once rather than destroy what that work still uses. Last: nothing decodes after it.
    void quittingReportsABusyLane() {
        {
            LaneBlock lane(fw::Lane::Ahead);
            QVERIFY(!fw::finish(std::chrono::milliseconds(50)));
        }
        QVERIFY(fw::finish(std::chrono::seconds(10)));
    }
};

QTEST_GUILESS_MAIN(BackgroundTest)
#include "background_test.moc"

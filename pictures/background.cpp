#include "pictures/background.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QObject>
#include <algorithm>
#include <cerrno>
#include <sys/resource.h>
#include <unistd.h>

namespace fw {

namespace {

// Lives on the GUI thread (first reached from a Jobs constructor there); results are queued
// to it. Made before the pools, so it outlives them and the jobs they finish at exit.
QObject& receiver() {
    static QObject object;
    return object;
}

// How much less priority (nice) bulk threads take than the process has. Enough for the GUI
// thread to get a core at once when it wakes; on an otherwise idle machine the bulk work
// loses nothing, it only yields. Work ahead yields to the GUI thread and to the picture asked
// for, and goes before the bulk work.
constexpr int kBulkNice = 10;
constexpr int kAheadNice = 5;

// Threads of the prompt lane: the picture view's and the editor's decode, and as many more
// set aside while a decode that cannot stop (libheif's) finishes for nothing.
constexpr int kPromptThreads = 4;

struct Pools {
    QThreadPool bulk;
    QThreadPool prompt;
    QThreadPool ahead;
    Pools() {
        // The bulk lane keeps the pool's own count: a thread for each core.
        prompt.setMaxThreadCount(kPromptThreads);
        ahead.setMaxThreadCount(1);
        // Work still running when the application object goes is over before it and the
        // statics go: a decode must not outlive what it uses. The program itself finishes
        // the lanes before (fw::finish); this is for every other user of the pictures.
        qAddPostRoutine([] { finish(std::chrono::hours(1)); });
    }
    // Without an application object, only here; the pools' own destructors wait.
    ~Pools() {
        bulk.clear();
        prompt.clear();
        ahead.clear();
    }
};

Pools& pools() {
    static Pools p;
    return p;
}

} // namespace

QThreadPool& pool(Lane lane) {
    switch (lane) {
    case Lane::Prompt:
        return pools().prompt;
    case Lane::Ahead:
        return pools().ahead;
    case Lane::Bulk:
        break;
    }
    return pools().bulk;
}

bool finish(std::chrono::milliseconds patience) {
    picture::cancelAll();
    const QDeadlineTimer deadline(patience);
    bool done = true;
    for (QThreadPool* p : {&pools().bulk, &pools().prompt, &pools().ahead}) {
        p->clear();
        done = p->waitForDone(int(std::max<qint64>(deadline.remainingTime(), 0))) && done;
    }
    return done;
}

void detach(Lane lane, std::function<void()> work, int priority) {
    pool(lane).start(
        [lane, work = std::move(work)] {
            Jobs::enterLane(lane);
            work();
        },
        priority);
}

Jobs::Jobs(Lane lane) : lane_(lane), batch_(std::make_shared<Batch>()) {
    receiver();
}

void Jobs::cancel() {
    batch_->cancelled = true;
    batch_ = std::make_shared<Batch>();
    pending_ = 0;
}

void Jobs::enterLane(Lane lane) {
    if (lane == Lane::Prompt) return;
    // Each thread has its own nice value on Linux; a pool's threads stay in their lane.
    static thread_local const bool lowered = [lane] {
        const id_t thread = id_t(::gettid());
        errno = 0;
        const int nice = ::getpriority(PRIO_PROCESS, thread);
        const int lower = lane == Lane::Bulk ? kBulkNice : kAheadNice;
        if (errno == 0) ::setpriority(PRIO_PROCESS, thread, std::min(nice + lower, 19));
        return true;
    }();
    (void)lowered;
}

void Jobs::deliver(std::function<void()> call) {
    QMetaObject::invokeMethod(&receiver(), std::move(call), Qt::QueuedConnection);
}

} // namespace fw

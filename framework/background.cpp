#include "framework/background.h"

#include <QObject>
#include <QThread>
#include <algorithm>

namespace fw {

namespace {

// Lives on the GUI thread (first reached from a Jobs constructor there); results are queued
// to it. Made before the pools, so it outlives them and the jobs they finish at exit.
QObject& receiver() {
    static QObject object;
    return object;
}

struct Pools {
    QThreadPool bulk;
    QThreadPool prompt;
    Pools() {
        bulk.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
        prompt.setMaxThreadCount(1);
    }
    // At exit, queued jobs are dropped; the pools' own destructors wait for running ones.
    ~Pools() {
        bulk.clear();
        prompt.clear();
    }
};

Pools& pools() {
    static Pools p;
    return p;
}

} // namespace

QThreadPool& pool(Lane lane) {
    return lane == Lane::Prompt ? pools().prompt : pools().bulk;
}

Jobs::Jobs(Lane lane) : lane_(lane), batch_(std::make_shared<Batch>()) {
    receiver();
}

void Jobs::cancel() {
    batch_->cancelled = true;
    batch_ = std::make_shared<Batch>();
    pending_ = 0;
}

void Jobs::deliver(std::function<void()> call) {
    QMetaObject::invokeMethod(&receiver(), std::move(call), Qt::QueuedConnection);
}

} // namespace fw

#include "common/testlanes.h"

#include <QCoreApplication>

LaneBlock::LaneBlock(fw::Lane lane)
    : threads_(fw::pool(lane).maxThreadCount()), gate_(std::make_shared<QSemaphore>()) {
    for (int t = 0; t < threads_; ++t)
        fw::pool(lane).start([gate = gate_] { gate->acquire(); });
}

void LaneBlock::release() {
    gate_->release(threads_);
    threads_ = 0;
}

void finishBackgroundWork() {
    for (fw::Lane lane : {fw::Lane::Bulk, fw::Lane::Prompt, fw::Lane::Ahead})
        fw::pool(lane).waitForDone();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

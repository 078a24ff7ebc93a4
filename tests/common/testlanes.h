#pragma once
// The worker lanes as tests hold them: still while a test needs a decode to be slow, and
// drained before a test looks at what came back.
#include "pictures/background.h"

#include <QSemaphore>
#include <memory>

// Keeps every thread of a lane of worker threads busy until released (or destroyed), so that
// the jobs queued meanwhile wait: a decode as slow as a test needs.
class LaneBlock {
  public:
    explicit LaneBlock(fw::Lane lane);
    ~LaneBlock() { release(); }
    LaneBlock(const LaneBlock&) = delete;
    LaneBlock& operator=(const LaneBlock&) = delete;
    void release();

  private:
    int threads_;
    std::shared_ptr<QSemaphore> gate_;
};

// Runs the event loop until neither lane has work left and their results are delivered.
void finishBackgroundWork();

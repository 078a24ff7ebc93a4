#pragma once
// Long work off the GUI thread. Jobs run on the program's own worker threads and their results
// come back to the GUI thread as queued calls, so the GUI thread never waits for them.
// Qt's global thread pool is left alone: the raster paint engine uses it, and a pool full of
// decodes would stall every paint.
#include "pictures/decode/decode_budget.h"

#include <QThreadPool>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

namespace fw {

// Which threads a job runs on.
enum class Lane {
    Bulk,   // many jobs (the strip's thumbnails): one thread per core, at a lower priority, so
            // that the GUI thread and prompt work get a core first
    Prompt, // what the user is waiting to see (the picture view, the editor's preview): threads
            // of its own, so it never queues behind bulk work, nor behind a decode it no longer
            // needs that cannot stop at once (see Jobs::cancel); its decodes' shares of the
            // memory budget come first
    Ahead,  // what the user is likely to ask for next (the pictures beside the one shown): a
            // thread of its own, between the two in priority, so that work begun ahead never
            // delays what is asked for
};
QThreadPool& pool(Lane lane);

// Runs work() on a worker thread of the lane, with nothing coming back: housekeeping that may
// be dropped (queued work is, when the program ends). Among the queued jobs of a lane, a higher
// priority starts first. Callable from any thread.
void detach(Lane lane, std::function<void()> work, int priority);

// The program ends: queued jobs are dropped, running decodes told to stop (picture::cancelAll),
// and the lanes waited for, at most `patience`. True when no job runs any more; false when one
// still does (libheif's decoder cannot be stopped): the process must then end without
// destroying what that job may use. Called on the GUI thread, after its event loop.
bool finish(std::chrono::milliseconds patience);

// A set of jobs whose results come back to the GUI thread for as long as the set lives and has
// not been cancelled. Created, used and destroyed on the GUI thread.
class Jobs {
  public:
    explicit Jobs(Lane lane);
    ~Jobs() { cancel(); }
    Jobs(const Jobs&) = delete;
    Jobs& operator=(const Jobs&) = delete;

    // Runs work() on a worker thread, then done(result) on the GUI thread. Among the queued jobs
    // of a lane, a higher priority starts first. work() must touch no widget and no global
    // state; what it needs is captured by value.
    template <class Work, class Done> void run(Work work, Done done, int priority = 0) {
        using Result = std::invoke_result_t<Work&>;
        ++pending_;
        std::shared_ptr<Batch> batch = batch_;
        const Lane lane = lane_;
        pool(lane_).start(
            [this, lane, batch, work = std::move(work), done = std::move(done)]() mutable {
                enterLane(lane);
                if (batch->cancelled) return;
                const picture::DecodeScope scope(&batch->cancelled, lane == Lane::Prompt);
                auto result = std::make_shared<Result>(work());
                if (batch->cancelled) return;
                deliver([this, batch, done, result] {
                    // Read on the GUI thread, where cancel() writes it: once cancelled (the
                    // destructor cancels too), nothing here touches the set again.
                    if (batch->cancelled) return;
                    --pending_;
                    done(std::move(*result));
                });
            },
            priority);
    }

    // Jobs not yet begun are skipped and results not yet delivered are dropped; jobs run later
    // are not affected. A decode already running stops within a few milliseconds
    // (picture::cancelled), but for libheif's, which runs on to its end, its result dropped.
    void cancel();
    // Jobs run since the last cancel() whose results have not come back yet.
    int pending() const { return pending_; }

  private:
    struct Batch {
        std::atomic<bool> cancelled{false};
    };
    // Sets up the calling worker thread for its lane, once.
    static void enterLane(Lane lane);
    friend void detach(Lane lane, std::function<void()> work, int priority);
    // Queues a call to the GUI thread.
    static void deliver(std::function<void()> call);

    Lane lane_;
    std::shared_ptr<Batch> batch_;
    int pending_ = 0;
};

} // namespace fw

#include "pictures/decode/decode_budget.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <list>
#include <mutex>

namespace picture {

namespace {

struct Waiter {
    bool urgent;
};

struct Budget {
    std::mutex mutex;
    std::condition_variable changed;
    qint64 used = 0;
    std::list<const Waiter*> waiting; // in the order the shares were asked for
    // The waiter served next: the first urgent one, else the first.
    const Waiter* next() const {
        const auto urgent =
            std::find_if(waiting.begin(), waiting.end(), [](const Waiter* w) { return w->urgent; });
        return urgent != waiting.end() ? *urgent : waiting.empty() ? nullptr : waiting.front();
    }
};

// Never destroyed: decodes that still run while the program ends may give their shares back.
Budget& budget() {
    static Budget* b = new Budget;
    return *b;
}

std::atomic<bool> quitting{false};

struct Scope {
    const std::atomic<bool>* dropped = nullptr;
    bool urgent = false;
};
thread_local Scope scope;

// How often a waiting share looks whether its decode was cancelled meanwhile.
constexpr std::chrono::milliseconds kCancelLook(10);

} // namespace

DecodeScope::DecodeScope(const std::atomic<bool>* dropped, bool urgent)
    : dropped_(scope.dropped), urgent_(scope.urgent) {
    scope = {dropped, urgent};
}

DecodeScope::~DecodeScope() {
    scope = {dropped_, urgent_};
}

bool cancelled() {
    return quitting.load(std::memory_order_relaxed) ||
           (scope.dropped && scope.dropped->load(std::memory_order_relaxed));
}

void cancelAll() {
    quitting = true;
}

BudgetShare::BudgetShare(qint64 bytes) {
    if (bytes < 0 || bytes > decodeLimitBytes || cancelled()) return;
    Budget& b = budget();
    const Waiter me{scope.urgent};
    std::unique_lock lock(b.mutex);
    b.waiting.push_back(&me);
    bool fits = false;
    while (!(fits = b.next() == &me && (b.used + bytes <= budgetBytes || b.used == 0)) &&
           !cancelled())
        b.changed.wait_for(lock, kCancelLook);
    b.waiting.remove(&me);
    if (fits) {
        b.used += bytes;
        bytes_ = bytes;
    }
    b.changed.notify_all();
}

BudgetShare::~BudgetShare() {
    if (bytes_ < 0) return;
    Budget& b = budget();
    {
        const std::lock_guard lock(b.mutex);
        b.used -= bytes_;
    }
    b.changed.notify_all();
}

qint64 budgetInUse() {
    Budget& b = budget();
    const std::lock_guard lock(b.mutex);
    return b.used;
}

} // namespace picture

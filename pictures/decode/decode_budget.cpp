#include "pictures/decode/decode_budget.h"

#include <condition_variable>
#include <mutex>

namespace picture {

namespace {

struct Budget {
    std::mutex mutex;
    std::condition_variable changed;
    qint64 used = 0;
    quint64 nextTicket = 0; // shares are handed out in the order they were asked for
    quint64 serving = 0;
};

Budget& budget() {
    static Budget b;
    return b;
}

} // namespace

BudgetShare::BudgetShare(qint64 bytes) {
    if (bytes < 0 || bytes > decodeLimitBytes) return;
    Budget& b = budget();
    std::unique_lock lock(b.mutex);
    const quint64 ticket = b.nextTicket++;
    b.changed.wait(lock, [&] { return ticket == b.serving && b.used + bytes <= budgetBytes; });
    b.used += bytes;
    ++b.serving;
    bytes_ = bytes;
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

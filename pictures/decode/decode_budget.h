#pragma once
// What picture decodes share, whatever thread runs them. The memory they may take: a decode
// takes its share before it starts and gives it back when it ends, so that however many
// threads decode however large pictures, the decodes hold no more than the budget between
// them, or one decode alone holds more. And whether a decode is still wanted: one that
// nobody waits for any more stops.
#include <QtGlobal>
#include <atomic>

namespace picture {

// What decodes running side by side may hold between them: thumbnails and screen-sized
// pictures decode side by side, while a decode as large as a phone photo at full size (about
// 100 MB for 12 megapixels) takes its turn, so that two never add up.
inline constexpr qint64 budgetBytes = qint64(150) << 20;
// What one decode may hold, running alone when it is over the budget.
inline constexpr qint64 decodeLimitBytes = qint64(512) << 20;

// While it lives, the decodes on the thread that made it are for work that `dropped` ends
// (the picture they are for is no longer asked for), and are `urgent` when they make what
// the user waits to see: their shares of the budget come before the others'. Scopes nest.
class DecodeScope {
  public:
    DecodeScope(const std::atomic<bool>* dropped, bool urgent);
    ~DecodeScope();
    DecodeScope(const DecodeScope&) = delete;
    DecodeScope& operator=(const DecodeScope&) = delete;

  private:
    const std::atomic<bool>* dropped_;
    bool urgent_;
};

// True when the decode on this thread is no longer wanted: its work was dropped, or the
// program is quitting. The decoders ask between rows, scans and reads, and stop.
bool cancelled();

// Every decode, running or to come, is no longer wanted: the program is quitting.
void cancelAll();

class BudgetShare {
  public:
    // Waits until `bytes` fit beside the shares held by the other decodes, or until no other
    // is held: urgent shares in the order they were asked for, then the others in theirs. A
    // share larger than one decode may hold is refused at once, and one whose decode is
    // cancelled while it waits is not granted.
    explicit BudgetShare(qint64 bytes);
    ~BudgetShare();
    BudgetShare(const BudgetShare&) = delete;
    BudgetShare& operator=(const BudgetShare&) = delete;
    bool granted() const { return bytes_ >= 0; }

  private:
    qint64 bytes_ = -1;
};

// The bytes the shares held now add up to.
qint64 budgetInUse();

} // namespace picture

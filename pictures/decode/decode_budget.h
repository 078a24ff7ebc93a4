#pragma once
// The memory that picture decodes may take, shared by every thread that decodes: a decode
// takes its share before it starts and gives it back when it ends. However many threads
// decode however large pictures, the decodes hold no more than the budget between them.
#include <QtGlobal>

namespace picture {

// What all decodes at one time may hold, and what one alone may.
inline constexpr qint64 budgetBytes = qint64(1) << 30;
inline constexpr qint64 decodeLimitBytes = qint64(512) << 20;

class BudgetShare {
  public:
    // Waits until `bytes` fit beside the shares held by the other decodes, in the order the
    // shares were asked for. A share larger than one decode may hold is refused at once.
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

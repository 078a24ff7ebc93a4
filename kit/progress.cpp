#include "kit/progress.h"

#include <QCoreApplication>
#include <QProgressDialog>
#include <algorithm>

namespace fw {

namespace {
constexpr qint64 showAfterMs = 400;
// Often enough for smooth painting, rarely enough to cost nothing next to the work.
constexpr qint64 yieldEveryMs = 15;
} // namespace

Progress::Progress(const QString& label, int total) : label_(label), total_(total) {
    clock_.start();
}

Progress::~Progress() {
    delete dialog_;
}

void Progress::step(int done) {
    const qint64 now = clock_.elapsed();
    if (now - lastYield_ < yieldEveryMs) return;
    lastYield_ = now;
    if (!dialog_ && now >= showAfterMs) {
        dialog_ = new QProgressDialog(label_, QString(), 0, total_);
        // Not modal: a modal progress dialog lets all pending input through while it updates;
        // here input waits in the queue until the work is done.
        dialog_->setWindowModality(Qt::NonModal);
        dialog_->setMinimumDuration(0);
        dialog_->setAutoClose(false);
        dialog_->setAutoReset(false);
        dialog_->show();
    }
    if (dialog_) {
        dialog_->setMaximum(std::max(total_, 1));
        dialog_->setValue(std::clamp(done, 0, std::max(total_, 1)));
        dialog_->setLabelText(QStringLiteral("%1\n%2 / %3").arg(label_).arg(done).arg(total_));
    }
    // Without WaitForMoreEvents the loop never blocks here, so the document inbox (which
    // delivers only when the loop is about to wait) does not open a document mid-scan.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace fw

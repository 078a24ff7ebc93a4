#pragma once
// Progress of short work that runs on the GUI thread in one piece (the folder scan): a dialog
// with the count appears once the work has taken noticeable time, and the windows keep
// painting. Only paints, timers and queued calls are handled meanwhile; user input waits in
// the queue until the work is done, so no handler of the user's can run in the middle of it.
// Work that can take long belongs on worker threads (pictures/background.h).
#include <QElapsedTimer>
#include <QPointer>
#include <QString>

class QProgressDialog;

namespace fw {

class Progress {
  public:
    Progress(const QString& label, int total);
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;
    // Reports how much is done; every few milliseconds lets the windows paint.
    void step(int done);
    void setTotal(int total) { total_ = total; }

  private:
    QString label_;
    int total_;
    QElapsedTimer clock_;
    qint64 lastYield_ = 0;
    QPointer<QProgressDialog> dialog_;
};

} // namespace fw

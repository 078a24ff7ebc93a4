#pragma once
// Progress of long work on the GUI thread: a dialog with the count appears once the work
// has taken noticeable time, the windows keep repainting, and user input waits until the
// work is done.
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
    // Reports how much is done and lets the windows repaint.
    void step(int done);
    void setTotal(int total) { total_ = total; }

  private:
    QString label_;
    int total_;
    QElapsedTimer clock_;
    QPointer<QProgressDialog> dialog_;
};

} // namespace fw

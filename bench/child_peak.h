#pragma once
// Measuring one piece of picture work in a process of its own, so that its peak memory is
// not hidden by what a process held before or will hold after. The measuring process is the
// program itself started again, fresh: a forked copy of a process whose threads the toolkit
// counts on (its thread pool) would wait for them forever.
#include <QSize>
#include <QStringList>

#include <functional>

namespace hostile {

struct ChildRun {
    bool ok = false;  // the child ended normally and the work succeeded
    double cpu = 0;   // seconds on a core, user and system
    qint64 peak = -1; // resident memory at its peak above the child's start, bytes; -1 when the
                      // child crashed or was stopped
};

// The size a picture of `full` is drawn at in `box`.
QSize fitted(QSize full, QSize box);

// Starts this program again to do one piece of work, after decoding the pictures in `warmUp`
// (a folder) so that the decoders' code, which is not what the work holds, is mapped first:
//   {"probe", PATH}, {"decode", PATH, W, H}, {"threads", N, PATH, W, H}, {"cancel", PATH, W,
// H, MS} (a decode no longer wanted after MS milliseconds: ok when it then gives nothing), or
// what the measuring program adds through `measured`.
// A child still running after `timeoutMs` is killed.
ChildRun inChild(const QString& warmUp, const QStringList& work, int timeoutMs = -1);

// What the program promises for any file, however made: probed holding next to nothing, and
// decoded or refused, at the strip's cell and at the picture area, within about two seconds
// of one core and within the memory planned for the decode (next to nothing when refused).
inline constexpr double kPromisedSeconds = 2.0;
struct Verdict {
    QString broken; // what the file made the program do beyond its promise; empty: none
    double cpu = 0; // the longest of the probe and the two decodes, seconds
    qint64 peak = 0;
};
Verdict judged(const QString& warmUp, const QString& path, QSize cell, QSize area);

// In main, before anything else: true when this process is such a child; it then does the
// work and `measured` gives its exit code. `more` names work of the program's own (none when
// it answers no function).
using MoreWork = std::function<std::function<bool()>(const QStringList& arguments)>;
bool isChild(int argc, char** argv);
int measured(int argc, char** argv, const MoreWork& more = {});

} // namespace hostile

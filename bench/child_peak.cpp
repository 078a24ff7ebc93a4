#include "bench/child_peak.h"

#include "pictures/decode/decode_budget.h"
#include "pictures/decode/picture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>
#include <vector>

#include <malloc.h>
#include <sys/resource.h>

namespace hostile {

namespace {

const char childFlag[] = "--measure-child";

qint64 statusBytes(const char* field) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qsizetype(qstrlen(field))).trimmed().split(' ')[0].toLongLong() * 1024;
    return 0;
}

bool decode(const QString& path, QSize box) {
    return !loadPicture(path, [box](QSize full) { return fitted(full, box); }).isNull();
}

// The work named by the arguments after the warm-up folder.
std::function<bool()> work(const QStringList& a, const MoreWork& more) {
    if (a.size() == 2 && a[0] == QLatin1String("probe"))
        return [path = a[1]] { return probePicture(path).ok; };
    if (a.size() == 4 && a[0] == QLatin1String("decode"))
        return [path = a[1], box = QSize(a[2].toInt(), a[3].toInt())] { return decode(path, box); };
    if (a.size() == 5 && a[0] == QLatin1String("threads"))
        return [n = a[1].toInt(), path = a[2], box = QSize(a[3].toInt(), a[4].toInt())] {
            std::atomic<int> decoded{0};
            std::vector<std::thread> threads;
            for (int t = 0; t < n; ++t)
                threads.emplace_back([&] { decoded += decode(path, box) ? 1 : 0; });
            for (std::thread& t : threads)
                t.join();
            return decoded == n;
        };
    if (a.size() == 5 && a[0] == QLatin1String("cancel"))
        return [path = a[1], box = QSize(a[2].toInt(), a[3].toInt()), ms = a[4].toInt()] {
            std::atomic<bool> dropped{false};
            bool nothing = false;
            std::thread decoding([&] {
                const picture::DecodeScope scope(&dropped, false);
                nothing = !decode(path, box);
            });
            std::this_thread::sleep_for(std::chrono::milliseconds(ms));
            dropped = true;
            decoding.join();
            return nothing;
        };
    return more ? more(a) : std::function<bool()>{};
}

} // namespace

QSize fitted(QSize full, QSize box) {
    return full.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)).boundedTo(full);
}

ChildRun inChild(const QString& warmUp, const QStringList& work, int timeoutMs) {
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                QStringList{QLatin1String(childFlag), warmUp} + work);
    if (!child.waitForFinished(timeoutMs)) {
        child.kill();
        child.waitForFinished(-1);
        return {};
    }
    if (child.exitStatus() != QProcess::NormalExit) return {};
    const QList<QByteArray> answer = child.readAllStandardOutput().trimmed().split(' ');
    if (answer.size() != 3 || child.exitCode() != 0) return {};
    return {answer[0] == "1", answer[1].toDouble(), answer[2].toLongLong()};
}

Verdict judged(const QString& warmUp, const QString& path, QSize cell, QSize area) {
    constexpr qint64 MB = 1024 * 1024;
    // Far beyond the promise, so that a verdict is given even on a busy machine.
    const int patienceMs = int(kPromisedSeconds * 30'000);
    Verdict v;
    const auto held = [&](const QString& what, const ChildRun& run, qint64 memory) {
        v.cpu = std::max(v.cpu, run.cpu);
        v.peak = std::max(v.peak, run.peak);
        QString broken;
        if (run.peak < 0)
            broken = QStringLiteral("crashed or ran over %1 s").arg(patienceMs / 1000);
        else if (run.cpu > kPromisedSeconds)
            broken = QStringLiteral("%1 s of processor time").arg(run.cpu, 0, 'f', 2);
        else if (run.peak > memory)
            broken = QStringLiteral("%1 MB held, %2 MB allowed")
                         .arg(double(run.peak) / MB, 0, 'f', 1)
                         .arg(double(memory) / MB, 0, 'f', 1);
        if (!broken.isEmpty() && v.broken.isEmpty())
            v.broken = what + QStringLiteral(": ") + broken;
    };
    held(QStringLiteral("probe"), inChild(warmUp, {QStringLiteral("probe"), path}, patienceMs), MB);
    const QSize size = probePicture(path).size;
    for (const QSize drawn : {cell, area}) {
        const ChildRun run =
            inChild(warmUp,
                    {QStringLiteral("decode"), path, QString::number(drawn.width()),
                     QString::number(drawn.height())},
                    patienceMs);
        const qint64 planned = size.isValid() ? picture::decodeBytes(path, fitted(size, drawn)) : 0;
        held(QStringLiteral("decode at %1x%2").arg(drawn.width()).arg(drawn.height()), run,
             run.ok ? planned : 8 * MB);
    }
    return v;
}

bool isChild(int argc, char** argv) {
    return argc > 2 && qstrcmp(argv[1], childFlag) == 0;
}

int measured(int argc, char** argv, const MoreWork& more) {
    QCoreApplication app(argc, argv);
    QStringList a = app.arguments().mid(2);
    const QString warmUp = a.takeFirst();
    const std::function<bool()> run = work(a, more);
    if (!run) return 2;
    // Large blocks are mapped and unmapped as they come, so that what the warming up frees is
    // not there to be used again unseen.
    ::mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    for (const QFileInfo& f : QDir(warmUp).entryInfoList(QDir::Files))
        (void)decode(f.filePath(), QSize(4, 4));
    QFile peak(QStringLiteral("/proc/self/clear_refs")); // the peak starts again from here
    if (!peak.open(QIODevice::WriteOnly) || peak.write("5") != 1) return 1;
    peak.close();
    const qint64 start = statusBytes("VmRSS:");
    rusage before{}, after{};
    ::getrusage(RUSAGE_SELF, &before);
    const bool ok = run();
    ::getrusage(RUSAGE_SELF, &after);
    const auto seconds = [](const rusage& u) {
        return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
               double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
    };
    std::printf("%d %.4f %lld\n", ok ? 1 : 0, seconds(after) - seconds(before),
                static_cast<long long>(statusBytes("VmHWM:") - start));
    return 0;
}

} // namespace hostile

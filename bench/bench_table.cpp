#include "bench/bench_table.h"

#include <QDir>
#include <QFile>
#include <QThread>
#include <algorithm>
#include <cstdio>

#include <sys/resource.h>

namespace bench {

namespace {

double statusFieldMB(const char* field) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) return 0;
    const QByteArray name = QByteArray(field) + ':';
    // Files under /proc report no size, so they are read whole rather than up to their end.
    for (const QByteArray& line : f.readAll().split('\n')) {
        if (line.startsWith(name)) {
            // "VmHWM:\t  123456 kB"
            return line.mid(name.size()).trimmed().split(' ').value(0).toDouble() / 1024.0;
        }
    }
    return 0;
}

} // namespace

double peakMB() {
    return statusFieldMB("VmHWM");
}

double residentMB() {
    return statusFieldMB("VmRSS");
}

QString loadAverage() {
    QFile f(QStringLiteral("/proc/loadavg"));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) return QStringLiteral("?");
    const QList<QByteArray> parts = f.readAll().split(' ');
    if (parts.size() < 3) return QStringLiteral("?");
    return QString::fromLatin1(parts[0] + ' ' + parts[1] + ' ' + parts[2]);
}

double cpuSeconds() {
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) != 0) return 0;
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

namespace {
// Adds what one schedstat file says.
void addSchedstat(const QString& path, Scheduling& s) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) return;
    const QList<QByteArray> parts = f.readAll().simplified().split(' ');
    if (parts.size() < 2) return;
    s.running += parts[0].toDouble() / 1e9;
    s.waiting += parts[1].toDouble() / 1e9;
}
} // namespace

Scheduling scheduling() {
    Scheduling s;
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        addSchedstat(tasks.filePath(task) + QStringLiteral("/schedstat"), s);
    return s;
}

Scheduling threadScheduling() {
    Scheduling s;
    addSchedstat(QStringLiteral("/proc/thread-self/schedstat"), s);
    return s;
}

int cores() {
    return QThread::idealThreadCount();
}

double median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void Table::add(const QString& what, double seconds, int pictures, const QString& note,
                double cpu) {
    addPer(what, seconds, pictures > 0 ? seconds * 1000.0 / pictures : -1, note, cpu);
}

void Table::addPer(const QString& what, double seconds, double perMs, const QString& note,
                   double cpu) {
    rows_.push_back({what, seconds, perMs, peakMB(), note, cpu});
}

void Table::print() const {
    std::printf("| what | total s | per picture ms | peak MB | CPU s | |\n");
    std::printf("|---|---:|---:|---:|---:|---|\n");
    for (const Row& r : rows_) {
        const QString per = r.perMs >= 0 ? QString::number(r.perMs, 'f', 1) : QString();
        const QString cpu = r.cpu >= 0 ? QString::number(r.cpu, 'f', 3) : QString();
        std::printf("| %s | %.3f | %s | %.0f | %s | %s |\n", qPrintable(r.what), r.seconds,
                    qPrintable(per), r.peak, qPrintable(cpu), qPrintable(r.note));
    }
    std::fflush(stdout);
}

} // namespace bench

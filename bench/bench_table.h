#pragma once
// Measuring for the benchmark: wall-clock timing, the process's peak memory, the machine's
// load, and the table the figures are printed in.
#include <QString>
#include <vector>

namespace bench {

// Peak resident memory of this process so far (VmHWM), megabytes; 0 when unknown.
double peakMB();
// Resident memory now (VmRSS), megabytes; 0 when unknown.
double residentMB();
// The 1, 5 and 15 minute load averages as /proc/loadavg gives them.
QString loadAverage();
int cores();

// Time the threads of this process have spent on a core and waiting for one (runnable, but
// every core busy with other work), from /proc/self/task/*/schedstat, seconds. Threads that
// ended are not counted.
struct Scheduling {
    double running = 0;
    double waiting = 0;
};
Scheduling scheduling();
// The same for the calling thread alone.
Scheduling threadScheduling();
// Processor time of this process so far, every thread, user and system, seconds.
double cpuSeconds();

// The middle value (the mean of the two middle ones for an even count); 0 for none.
double median(std::vector<double> values);

struct Row {
    QString what;
    double seconds = 0; // total
    double perMs = -1;  // per picture; none when negative
    double peak = 0;    // MB, when the row was taken
    QString note;
    double cpu = -1; // processor seconds, every thread; none when negative
};

class Table {
  public:
    // A row whose per-picture figure is the total spread over `pictures` (none for 0).
    void add(const QString& what, double seconds, int pictures, const QString& note = {},
             double cpu = -1);
    // A row with its own per-picture figure (a median or a worst case).
    void addPer(const QString& what, double seconds, double perMs, const QString& note = {},
                double cpu = -1);
    // Prints the rows as a Markdown table on standard output.
    void print() const;

  private:
    std::vector<Row> rows_;
};

} // namespace bench

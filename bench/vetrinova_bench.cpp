// The benchmark: runs the program's own code paths on a folder of pictures, headless, with
// the operating system's seams answered here (a fixed screen, dialogs answered, beeps
// counted), and prints one table of times and peak memory.
//
//   vetrinova_bench FOLDER [--screen WxH] [--edge 0..3] [--percent P] [--repeat R]
//                          [--cache-home DIR] [--sample N]
//
// The switches and the editor's walk go through at most N pictures (1000), spread over the
// folder: on a folder of thousands their cost per picture is the same, in a fraction of the
// time.
//
// The desktop's thumbnail cache it reads and writes is its own: XDG_CACHE_HOME is set to
// DIR (a temporary folder by default), never the user's. The first start begins with that
// cache empty; a new launch is a new process of this program (--launch) on the same folder,
// started once the first start's thumbnails are written.
#include "bench/bench_table.h"
#include "kit/seams.h"
#include "logic/state/globali.h"
#include "pictures/background.h"
#include "pictures/decode/picture.h"
#include "pictures/fitting.h"
#include "pictures/picture_compose.h"
#include "pictures/thumbnails/thumbnail_cache.h"
#include "windows/editor/fin_edita.h"
#include "windows/presentation/fin_pict.h"
#include "windows/presentation/fin_thumb.h"
#include "windows/presentation/mostra_pict.h"
#include "windows/presentation/presentation.h"
#include "windows/setup/setup_routines.h"
#include "windows/setup/start.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

struct Options {
    QString folder;
    QSize screen{1920, 1080};
    int edge = 0;
    int percent = 10;
    int repeat = 1;
    int sample = 1000;
    QString cacheHome;   // empty: a temporary folder
    bool launch = false; // only a start of the presentation, for the parent's new-launch row
};

// Reads the command line; prints the reason and returns false when it does not make sense.
bool parseOptions(const QStringList& arguments, Options& o) {
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral(
        "Times Vetrinova's import, presentation, editor and file paths on a folder."));
    p.addHelpOption();
    p.addPositionalArgument(QStringLiteral("folder"), QStringLiteral("Folder of pictures."));
    const QCommandLineOption screen(QStringLiteral("screen"), QStringLiteral("Screen size WxH."),
                                    QStringLiteral("WxH"), QStringLiteral("1920x1080"));
    const QCommandLineOption edge(QStringLiteral("edge"),
                                  QStringLiteral("Strip edge: 0 left, 1 right, 2 top, 3 bottom."),
                                  QStringLiteral("n"), QStringLiteral("0"));
    const QCommandLineOption percent(QStringLiteral("percent"),
                                     QStringLiteral("Strip thickness in percent."),
                                     QStringLiteral("p"), QStringLiteral("10"));
    const QCommandLineOption repeat(QStringLiteral("repeat"),
                                    QStringLiteral("Runs of each timed step; medians are shown."),
                                    QStringLiteral("r"), QStringLiteral("1"));
    const QCommandLineOption cacheHome(
        QStringLiteral("cache-home"),
        QStringLiteral("XDG_CACHE_HOME for the run (default: a temporary folder)."),
        QStringLiteral("dir"));
    const QCommandLineOption launch(
        QStringLiteral("launch"),
        QStringLiteral("Import and start the presentation once; print one line of figures."));
    const QCommandLineOption sample(
        QStringLiteral("sample"),
        QStringLiteral("Most pictures the switches and the editor go through."),
        QStringLiteral("n"), QStringLiteral("1000"));
    p.addOptions({screen, edge, percent, repeat, cacheHome, launch, sample});
    p.process(arguments);
    if (p.positionalArguments().size() != 1) {
        std::fprintf(stderr, "one folder expected\n");
        return false;
    }
    o.folder = QFileInfo(p.positionalArguments().first()).absoluteFilePath();
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("^(\\d{2,5})x(\\d{2,5})$")).match(p.value(screen));
    bool okEdge = false, okPercent = false, okRepeat = false, okSample = false;
    o.sample = p.value(sample).toInt(&okSample);
    o.edge = p.value(edge).toInt(&okEdge);
    o.percent = p.value(percent).toInt(&okPercent);
    o.repeat = p.value(repeat).toInt(&okRepeat);
    if (!m.hasMatch() || !okEdge || o.edge < 0 || o.edge > 3 || !okPercent || o.percent < 1 ||
        o.percent > 90 || !okRepeat || o.repeat < 1 || o.repeat > 100 || !okSample ||
        o.sample < 1) {
        std::fprintf(stderr, "bad --screen, --edge, --percent, --repeat or --sample\n");
        return false;
    }
    o.screen = QSize(m.captured(1).toInt(), m.captured(2).toInt());
    o.cacheHome = p.value(cacheHome);
    o.launch = p.isSet(launch);
    if (!QFileInfo(o.folder).isDir()) {
        std::fprintf(stderr, "not a folder: %s\n", qPrintable(o.folder));
        return false;
    }
    return true;
}

// Processor time of the last timed action, all threads of the process: on a machine shared
// with other work the wall clock says how long the user waited, this says how much work it was.
double lastCpu = 0;

double secondsOf(const std::function<void()>& action) {
    QElapsedTimer t;
    const double cpuBefore = bench::cpuSeconds();
    t.start();
    action();
    const double wall = double(t.nsecsElapsed()) / 1e9;
    lastCpu = bench::cpuSeconds() - cpuBefore;
    return wall;
}

// Lets the windows paint what the last step changed.
void paint() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// Lets closed windows go, so the next reach creates them anew.
void settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Runs the event loop until `done` holds, then lets the windows paint.
void waitFor(const std::function<bool()>& done) {
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    paint();
}

// Until the notes editor shows the picture asked for last.
void waitForPreview() {
    waitFor([] {
        const fin_edita* editor = fw::Single<fin_edita>::peek();
        return !editor || !editor->previewPending();
    });
}

// The longest time the GUI thread went without handling events: the largest gap between
// two ticks of a 10 ms timer, and how much of it the thread spent running and how much
// waiting for a core (the machine's other work).
class GapWatch : public QObject {
  public:
    GapWatch() {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(10);
        connect(&timer_, &QTimer::timeout, this, &GapWatch::tick);
    }
    void begin() {
        worst_ = 0;
        worstSched_ = {};
        clock_.start();
        last_ = 0;
        lastSched_ = bench::threadScheduling();
        timer_.start();
    }
    double endSeconds() {
        tick();
        timer_.stop();
        return double(worst_) / 1e9;
    }
    // Running and waiting within the largest gap.
    bench::Scheduling worstScheduling() const { return worstSched_; }

  private:
    void tick() {
        const qint64 now = clock_.nsecsElapsed();
        const bench::Scheduling sched = bench::threadScheduling();
        if (now - last_ > worst_) {
            worst_ = now - last_;
            worstSched_ = {sched.running - lastSched_.running, sched.waiting - lastSched_.waiting};
        }
        last_ = now;
        lastSched_ = sched;
    }
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 last_ = 0;
    qint64 worst_ = 0;
    bench::Scheduling lastSched_, worstSched_;
};

// When both presentation windows were first exposed after begin(), and how many thumbnail
// decodes had finished by then.
class MapWatch : public QObject {
  public:
    void begin() {
        clock_.start();
        pict_ = strip_ = false;
        seconds_ = -1;
        decodes_ = -1;
        before_ = thumbnail_cache::finishedCount();
        qApp->installEventFilter(this);
    }
    void end() { qApp->removeEventFilter(this); }
    double seconds() const { return seconds_; }
    int decodes() const { return decodes_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && seconds_ < 0) {
            const auto* window = qobject_cast<QWindow*>(watched);
            const QWidget* p = fw::Single<fin_pict>::peek();
            const QWidget* s = fw::Single<fin_thumb>::peek();
            if (window && p && window == p->windowHandle()) pict_ = true;
            if (window && s && window == s->windowHandle()) strip_ = true;
            if (pict_ && strip_) {
                seconds_ = double(clock_.nsecsElapsed()) / 1e9;
                decodes_ = thumbnail_cache::finishedCount() - before_;
            }
        }
        return false;
    }

  private:
    QElapsedTimer clock_;
    bool pict_ = false, strip_ = false;
    double seconds_ = -1;
    int decodes_ = -1;
    int before_ = 0;
};

void endPresentation() {
    presentation::endPresentation();
    settle();
}

// Reads every file once so that all runs see the same warm file cache.
void warmFileCache(const QString& folder) {
    for (const QFileInfo& info : QDir(folder).entryInfoList(QDir::Files)) {
        QFile f(info.absoluteFilePath());
        if (!f.open(QIODevice::ReadOnly)) continue;
        while (!f.read(1 << 20).isEmpty()) {
        }
    }
}

QString ms(double seconds) {
    return QString::number(seconds * 1000.0, 'f', 1) + QStringLiteral(" ms");
}

// Until the thumbnails decoded for the strip are in the shared cache, and the pictures made
// ahead for the view have come.
void waitForHousekeeping() {
    fw::pool(fw::Lane::Bulk).waitForDone();
    fw::pool(fw::Lane::Ahead).waitForDone();
    settle();
}

// Fetches served by each source since `before`.
struct Sources {
    int memory = 0, shared = 0, camera = 0, decoded = 0;
    static Sources now() {
        using thumbnail_cache::Source;
        return {thumbnail_cache::count(Source::Memory), thumbnail_cache::count(Source::Shared),
                thumbnail_cache::count(Source::Camera), thumbnail_cache::count(Source::Decoded)};
    }
    Sources operator-(const Sources& o) const {
        return {memory - o.memory, shared - o.shared, camera - o.camera, decoded - o.decoded};
    }
    QString text() const {
        return QStringLiteral("%1 shared cache, %2 camera, %3 decoded, %4 memory")
            .arg(shared)
            .arg(camera)
            .arg(decoded)
            .arg(memory);
    }
};

// The setup window with the folder imported, every picture with a note as a prepared
// presentation has, and the strip's edge and thickness as the setup window's controls leave
// them; the number of pictures, 0 when there are none.
int prepare(start* setup, const Options& o, std::vector<double>* importRuns) {
    setup->Show();
    paint();
    setup->CheckBox1->setChecked(true);
    setup->CheckBox2->setChecked(true);
    for (int r = 0; r < (importRuns ? o.repeat : 1); ++r) {
        const double s = secondsOf([] { Globali::importa(); });
        if (importRuns) importRuns->push_back(s);
    }
    const int n = Globali::quantidisegni;
    for (int i = 1; i <= n; ++i) {
        const QStringList note{QStringLiteral("Picture %1").arg(i),
                               QStringLiteral("Liberation Sans"),
                               QStringLiteral("24"),
                               QStringLiteral("0"),
                               QStringLiteral("0"),
                               QStringLiteral("0"),
                               QStringLiteral("1"),
                               QStringLiteral("0")};
        for (int c = 0; c < note.size(); ++c)
            Globali::contorno(i, c) = note[c];
    }
    Globali::thumb_pos = o.edge;
    setup->Slider1->setValueSilently(o.percent);
    Globali::thumb_per = setup->Slider1->value();
    Globali::mostra_thumb();
    return n;
}

// What a start of the presentation measured.
struct StartRun {
    double seconds = 0, cpu = 0;
    double pictureAt = -1; // picture 1 on screen
    int pictureDecodes = -1;
    Sources sources;
};

// "Start presentation" clicked; until every thumbnail is in its cell and picture 1 on screen.
StartRun startOnce(start* setup) {
    StartRun run;
    const Sources before = Sources::now();
    const int finishedBefore = thumbnail_cache::finishedCount();
    QElapsedTimer sinceStart;
    run.seconds = secondsOf([&] {
        sinceStart.start();
        setup->bottone(0)->click();
        waitFor([&] {
            const fin_pict* p = fw::Single<fin_pict>::peek();
            if (p && run.pictureAt < 0 && !p->backdropPicture().isNull()) {
                run.pictureAt = double(sinceStart.nsecsElapsed()) / 1e9;
                run.pictureDecodes = thumbnail_cache::finishedCount() - finishedBefore;
            }
            return !presentation::busy();
        });
    });
    run.cpu = lastCpu;
    run.sources = Sources::now() - before;
    return run;
}

// The new-launch child: one start, one line of figures.
int launchOnce(start* setup, const Options& o, const QElapsedTimer& sinceMain) {
    if (prepare(setup, o, nullptr) < 1) return 1;
    const StartRun run = startOnce(setup);
    if (!fw::Single<fin_pict>::peek()) return 1;
    std::printf("launch %.6f %.6f %.6f %.6f %d %d %d %.1f\n", run.seconds, run.cpu, run.pictureAt,
                double(sinceMain.nsecsElapsed()) / 1e9, run.sources.shared, run.sources.camera,
                run.sources.decoded, bench::peakMB());
    endPresentation();
    return 0;
}

// What the new-launch child printed.
struct Launch {
    bool ok = false;
    double seconds = 0, cpu = 0, pictureAt = 0, sinceMain = 0, process = 0, peak = 0;
    Sources sources;
};

Launch newLaunch(const Options& o) {
    QStringList args{o.folder,
                     QStringLiteral("--launch"),
                     QStringLiteral("--cache-home"),
                     o.cacheHome,
                     QStringLiteral("--screen"),
                     QStringLiteral("%1x%2").arg(o.screen.width()).arg(o.screen.height()),
                     QStringLiteral("--edge"),
                     QString::number(o.edge),
                     QStringLiteral("--percent"),
                     QString::number(o.percent)};
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer t;
    t.start();
    child.start(QCoreApplication::applicationFilePath(), args);
    Launch l;
    if (!child.waitForFinished(600000) || child.exitCode() != 0) return l;
    l.process = double(t.nsecsElapsed()) / 1e9;
    const QStringList f = QString::fromLatin1(child.readAllStandardOutput())
                              .split(QLatin1Char('\n'))
                              .filter(QStringLiteral("launch "))
                              .value(0)
                              .split(QLatin1Char(' '));
    if (f.size() < 9) return l;
    l.seconds = f[1].toDouble();
    l.cpu = f[2].toDouble();
    l.pictureAt = f[3].toDouble();
    l.sinceMain = f[4].toDouble();
    l.sources.shared = f[5].toInt();
    l.sources.camera = f[6].toInt();
    l.sources.decoded = f[7].toInt();
    l.peak = f[8].toDouble();
    l.ok = true;
    return l;
}

// Shows picture i as a click on its cell does, until it is on screen; `first`, when given,
// receives when the view first changed (a stand-in of a picture slow to decode, else the
// picture itself).
double showPicture(int i, double* first = nullptr) {
    const fin_pict* view = fw::Single<fin_pict>::peek();
    const qint64 before = view ? view->backdropPicture().cacheKey() : 0;
    double changed = -1;
    QElapsedTimer t;
    t.start();
    Globali::mostra_pict(i);
    waitFor([&] {
        if (changed < 0 && view && view->backdropPicture().cacheKey() != before)
            changed = double(t.nsecsElapsed()) / 1e9;
        return !presentation::busy();
    });
    const double full = double(t.nsecsElapsed()) / 1e9;
    if (first) *first = changed < 0 ? full : changed;
    return full;
}

// Picture i decoded fitted to the picture area, as the view decodes it: what a switch that
// decodes cannot beat.
double fittedDecode(int i, QSize device) {
    return secondsOf([i, device] {
        const LoadedPicture p = loadPicture(Globali::disegno(i), [device](QSize full) {
            return fitting::fitRect(full, device).size();
        });
        (void)p;
    });
}

} // namespace

int main(int argc, char** argv) {
    QElapsedTimer sinceMain;
    sinceMain.start();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    picture::giveBackLargeBuffers(); // as the program does
    QApplication app(argc, argv);
    Options o;
    if (!parseOptions(app.arguments(), o)) return 2;

    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    if (o.cacheHome.isEmpty()) o.cacheHome = scratch.filePath(QStringLiteral("cache"));
    o.cacheHome = QFileInfo(o.cacheHome).absoluteFilePath();
    qputenv("XDG_CACHE_HOME", QFile::encodeName(o.cacheHome));
    const QString thumbnails = QDir(o.cacheHome).filePath(QStringLiteral("thumbnails"));

    const QString presentationFile = scratch.filePath(QStringLiteral("bench.v69"));
    int beeps = 0;
    QStringList errors;
    seams::Hooks& h = seams::hooks();
    h.screenRect = [&o] { return QRect(QPoint(0, 0), o.screen); };
    h.beep = [&beeps] { ++beeps; };
    h.showUrl = [](const QString&) {};
    h.selectFolder = [&o] { return o.folder; };
    h.openFile = [&presentationFile] { return presentationFile; };
    h.saveFile = [&presentationFile](const QString&) { return presentationFile; };
    h.selectColor = [](const QColor&, const QString&) { return std::optional<QColor>(); };
    h.prefsFolder = [&scratch] { return scratch.path(); };
    h.error = [&errors](const QString& title, const QString& text) {
        errors << title + QStringLiteral(": ") + text;
    };

    Globali::reset();
    start* setup = start::instance();
    if (o.launch) return launchOnce(setup, o, sinceMain);

    const QString loadBefore = bench::loadAverage();
    warmFileCache(o.folder);
    bench::Table table;
    const int R = o.repeat;

    // Import: the folder dialog answered with the folder, then the scan.
    std::vector<double> runs;
    const int n = prepare(setup, o, &runs);
    if (n < 1) {
        std::fprintf(stderr, "no pictures in %s\n", qPrintable(o.folder));
        return 1;
    }
    table.add(QStringLiteral("import scan"), bench::median(runs), n,
              QString::number(n) + QStringLiteral(" pictures"));

    // First start: nothing cached, in memory or in the shared cache; every thumbnail from the
    // camera or decoded, composed into its cell.
    runs.clear();
    std::vector<double> cpu, firstPicture, writesDone;
    Sources sourcesFirst;
    QSize cell, area;
    double peakFirst = 0;
    bench::Scheduling sched;
    GapWatch gaps;
    MapWatch mapped;
    std::vector<double> gapRuns, mapRuns, mapDecodes, pictureRuns, pictureDecodeRuns;
    bench::Scheduling worstGap; // within the largest gap of all runs
    double largestGap = 0;
    for (int r = 0; r < R; ++r) {
        waitForHousekeeping();
        thumbnail_cache::clear();
        QDir(thumbnails).removeRecursively();
        const bench::Scheduling schedBefore = bench::scheduling();
        gaps.begin();
        mapped.begin();
        const StartRun run = startOnce(setup);
        runs.push_back(run.seconds);
        cpu.push_back(run.cpu);
        pictureRuns.push_back(run.pictureAt);
        pictureDecodeRuns.push_back(run.pictureDecodes);
        sourcesFirst = run.sources;
        gapRuns.push_back(gaps.endSeconds());
        if (gapRuns.back() > largestGap) {
            largestGap = gapRuns.back();
            worstGap = gaps.worstScheduling();
        }
        mapped.end();
        mapRuns.push_back(mapped.seconds());
        mapDecodes.push_back(mapped.decodes());
        if (!fw::Single<fin_pict>::peek() || !fw::Single<fin_thumb>::peek()) {
            std::fprintf(stderr, "the presentation did not start (%d beeps)\n", beeps);
            return 1;
        }
        writesDone.push_back(run.seconds +
                             secondsOf([] { fw::pool(fw::Lane::Bulk).waitForDone(); }));
        const bench::Scheduling schedAfter = bench::scheduling();
        sched.running = schedAfter.running - schedBefore.running;
        sched.waiting = schedAfter.waiting - schedBefore.waiting;
        peakFirst = bench::peakMB();
        if (fin_thumb* strip = fw::Single<fin_thumb>::peek(); strip && strip->miniabase(1))
            cell = strip->miniabase(1)->size();
        area = QSize(Globali::pct_dx, Globali::pct_dy);
        waitForHousekeeping();
        firstPicture.push_back(showPicture(1));
        endPresentation();
    }
    const double first = bench::median(runs);
    const double picture1 = bench::median(firstPicture);
    table.add(QStringLiteral("presentation on screen, first start"), first, n, sourcesFirst.text(),
              bench::median(cpu));
    table.addPer(
        QStringLiteral("first start: thumbnails written to the shared cache"),
        bench::median(writesDone), -1,
        QStringLiteral("%1 written, after the cells were filled").arg(sourcesFirst.decoded));
    table.add(QStringLiteral("picture 1 composed by mostra_pict"), picture1, 0);
    table.addPer(QStringLiteral("first start: longest the GUI thread went without events"),
                 bench::median(gapRuns), -1,
                 QStringLiteral("10 ms timer's largest gap; the largest of all runs %1 ms: "
                                "running %2 ms, waiting for a core %3 ms")
                     .arg(largestGap * 1000, 0, 'f', 0)
                     .arg(worstGap.running * 1000, 0, 'f', 0)
                     .arg(worstGap.waiting * 1000, 0, 'f', 0));
    table.addPer(QStringLiteral("first start: from Start to both windows mapped"),
                 bench::median(mapRuns), -1,
                 QStringLiteral("after %1 of %2 thumbnail decodes had finished")
                     .arg(bench::median(mapDecodes))
                     .arg(sourcesFirst.decoded));
    table.addPer(QStringLiteral("first start: from Start to picture 1 on screen"),
                 bench::median(pictureRuns), -1,
                 QStringLiteral("after %1 thumbnail decodes had finished")
                     .arg(bench::median(pictureDecodeRuns)));

    // A new launch: a new process on the same folder, the shared cache as the first start
    // left it.
    waitForHousekeeping();
    std::vector<double> launchRuns, launchCpu, launchPicture, launchProcess;
    Launch launch;
    for (int r = 0; r < R; ++r) {
        launch = newLaunch(o);
        if (!launch.ok) {
            std::fprintf(stderr, "the new launch failed\n");
            return 1;
        }
        launchRuns.push_back(launch.seconds);
        launchCpu.push_back(launch.cpu);
        launchPicture.push_back(launch.pictureAt);
        launchProcess.push_back(launch.process);
    }
    const double relaunch = bench::median(launchRuns);
    table.add(QStringLiteral("presentation on screen, new launch"), relaunch, n,
              launch.sources.text() + QStringLiteral("; ") +
                  QString::number(relaunch > 0 ? first / relaunch : 0, 'f', 1) +
                  QStringLiteral("x faster"),
              bench::median(launchCpu));
    table.addPer(QStringLiteral("new launch: from Start to picture 1 on screen"),
                 bench::median(launchPicture), -1);
    table.addPer(QStringLiteral("new launch: the whole process, start to exit"),
                 bench::median(launchProcess), -1,
                 QStringLiteral("its peak memory %1 MB").arg(launch.peak, 0, 'f', 0));

    // Second start in the same run: the thumbnails come from memory.
    runs.clear();
    cpu.clear();
    Sources sourcesSecond;
    for (int r = 0; r < R; ++r) {
        const StartRun run = startOnce(setup);
        runs.push_back(run.seconds);
        cpu.push_back(run.cpu);
        sourcesSecond = run.sources;
        if (r + 1 < R) endPresentation();
    }
    const double second = bench::median(runs);
    table.add(QStringLiteral("presentation on screen, second start"), second, n,
              sourcesSecond.text(), bench::median(cpu));
    waitForHousekeeping();

    // A click on the next cell once the current picture has been on screen for a second (what
    // a presenter going through the pictures does), for pictures spread over the folder; each
    // against the next picture's fitted decode.
    const qreal dpr = fw::Single<fin_pict>::peek()->devicePixelRatioF();
    const QSize device = picture_compose::deviceSize(area, dpr);
    std::vector<double> nextClicks, nextRatios;
    const int samples = std::min(n - 1, 20);
    for (int s = 0; s < samples; ++s) {
        const int i = 1 + int(qint64(s) * (n - 1) / std::max(samples, 1));
        showPicture(i);
        QElapsedTimer shown;
        shown.start();
        while (shown.elapsed() < 1000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        std::vector<double> one, decode;
        one.push_back(showPicture(i + 1));
        for (int r = 1; r < R; ++r) { // again, with i + 1 made ahead once more
            showPicture(i);
            shown.start();
            while (shown.elapsed() < 1000)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            one.push_back(showPicture(i + 1));
        }
        waitForHousekeeping();
        for (int r = 0; r < R; ++r)
            decode.push_back(fittedDecode(i + 1, device));
        nextClicks.push_back(bench::median(one));
        const double d = bench::median(decode);
        nextRatios.push_back(d > 0 ? bench::median(one) / d : 0);
    }
    if (samples > 0)
        table.addPer(QStringLiteral("next cell clicked after a second, median"), 0,
                     bench::median(nextClicks) * 1000.0,
                     QStringLiteral("%1 pictures; worst %2")
                         .arg(samples)
                         .arg(ms(*std::max_element(nextClicks.begin(), nextClicks.end()))));

    // Every picture shown once, in an order that never goes to a picture beside the last
    // (odd numbers, then even), as soon as the last is on screen: what a click anywhere else
    // costs. Right after each, the same photo only decoded fitted to the picture area, so that
    // both see the same load of the machine.
    // On a large folder, a sample spread over it.
    const int sampled = std::min(n, o.sample);
    std::vector<int> sample;
    for (int k = 0; k < sampled; ++k)
        sample.push_back(
            sampled < 2 || sampled == n ? k + 1 : 1 + int(qint64(k) * (n - 1) / (sampled - 1)));
    std::vector<int> order;
    for (size_t k = 0; k < sample.size(); k += 2)
        order.push_back(sample[k]);
    for (size_t k = 1; k < sample.size(); k += 2)
        order.push_back(sample[k]);
    std::vector<double> switches, fitted, firsts;
    for (const int i : order) {
        std::vector<double> one, decode, first;
        for (int r = 0; r < R; ++r) {
            double seen = 0;
            one.push_back(showPicture(i, &seen));
            first.push_back(seen);
            decode.push_back(fittedDecode(i, device));
        }
        firsts.push_back(bench::median(first));
        switches.push_back(bench::median(one));
        fitted.push_back(bench::median(decode));
    }
    const double peakAll = bench::peakMB();
    endPresentation();
    waitForHousekeeping();
    double total = 0, fittedTotal = 0;
    for (size_t k = 0; k < switches.size(); ++k) {
        total += switches[k];
        fittedTotal += fitted[k];
    }
    const auto worst = std::max_element(switches.begin(), switches.end());
    table.addPer(QStringLiteral("every picture shown once, never the next, median"), total,
                 bench::median(switches) * 1000.0);
    table.addPer(
        QStringLiteral("every picture shown once, never the next, worst"), total, *worst * 1000.0,
        QStringLiteral("picture ") + QString::number(order[size_t(worst - switches.begin())]));
    const auto worstFirst = std::max_element(firsts.begin(), firsts.end());
    table.addPer(QStringLiteral("every picture shown once: first on screen, median"), 0,
                 bench::median(firsts) * 1000.0,
                 QStringLiteral("stand-in or picture; worst %1, picture %2")
                     .arg(ms(*worstFirst))
                     .arg(order[size_t(worstFirst - firsts.begin())]));
    table.addPer(QStringLiteral("decode fitted to the picture area (reference), median"),
                 fittedTotal, bench::median(fitted) * 1000.0,
                 QString::number(device.width()) + QLatin1Char('x') +
                     QString::number(device.height()));
    // Switch over decode, picture by picture.
    std::vector<double> ratio(switches.size(), 0);
    for (size_t k = 0; k < switches.size(); ++k)
        ratio[k] = fitted[k] > 0 ? switches[k] / fitted[k] : 0;

    // The notes editor: opening shows picture 1, then Next steps through the others (the first
    // of a large folder).
    std::vector<double> loads(size_t(sampled), 0);
    for (int r = 0; r < R; ++r) {
        Globali::puntatore = 1;
        std::vector<double> walk;
        walk.push_back(secondsOf([setup] {
            setup->bottone1->click();
            waitForPreview();
        }));
        fin_edita* editor = fw::Single<fin_edita>::peek();
        if (!editor) {
            std::fprintf(stderr, "the notes editor did not open (%d beeps)\n", beeps);
            return 1;
        }
        for (int i = 2; i <= sampled; ++i)
            walk.push_back(secondsOf([editor] {
                editor->PushButton3_Action();
                waitForPreview();
            }));
        editor->PushButton5_Action();
        settle();
        for (size_t k = 0; k < size_t(sampled); ++k)
            loads[k] = r == 0 ? walk[k] : std::min(loads[k], walk[k]);
    }
    double editorTotal = 0;
    for (double s : loads)
        editorTotal += s;
    table.addPer(QStringLiteral("editor load per picture (open, then Next), median"), editorTotal,
                 bench::median(loads) * 1000.0,
                 QStringLiteral("worst ") + ms(*std::max_element(loads.begin(), loads.end())));

    // Save and open a presentation of n pictures with their notes.
    runs.clear();
    for (int r = 0; r < R; ++r)
        runs.push_back(secondsOf([] { Globali::salva_presentazione(); }));
    table.add(QStringLiteral("save presentation"), bench::median(runs), n,
              QString::number(QFileInfo(presentationFile).size()) + QStringLiteral(" bytes"));
    runs.clear();
    for (int r = 0; r < R; ++r)
        runs.push_back(
            secondsOf([&presentationFile] { Globali::apri_presentazione(presentationFile); }));
    table.add(QStringLiteral("open presentation (with the folder scan)"), bench::median(runs), n,
              QString::number(Globali::quantidisegni) + QStringLiteral(" pictures"));

    // The memory a presentation may take: its thumbnails, four full-screen pictures (the one
    // shown, two made ahead, one being made) and 150 MB.
    const double thumbsMB = double(n) * cell.width() * cell.height() * 4 / (1 << 20);
    const double screensMB = 4.0 * o.screen.width() * o.screen.height() * 4 / (1 << 20);
    const double budget = thumbsMB + screensMB + 150;

    std::printf("# Vetrinova benchmark\n\n");
    std::printf("folder %s: %d pictures; screen %dx%d, edge %d, strip %d %% (cell %dx%d, "
                "picture area %dx%d); repeat %d\n",
                qPrintable(o.folder), n, o.screen.width(), o.screen.height(), o.edge, o.percent,
                cell.width(), cell.height(), area.width(), area.height(), R);
    std::printf("cores %d; load average before %s, after %s\n\n", bench::cores(),
                qPrintable(loadBefore), qPrintable(bench::loadAverage()));
    table.print();
    std::printf("\nsources, first start: %s\n", qPrintable(sourcesFirst.text()));
    std::printf("sources, new launch: %s\n", qPrintable(launch.sources.text()));
    std::printf("next click / fitted decode of that picture: median %.3f, worst %.3f\n",
                bench::median(nextRatios),
                nextRatios.empty() ? 0 : *std::max_element(nextRatios.begin(), nextRatios.end()));
    std::printf("switch / fitted decode, per picture: median %.2f, worst %.2f\n",
                bench::median(ratio), *std::max_element(ratio.begin(), ratio.end()));
    std::printf("peak memory at the end of the first start %.0f MB, at the end of the "
                "switches %.0f MB; budget %.0f MB (thumbnails %.0f + four screens %.0f + 150)\n",
                peakFirst, peakAll, budget, thumbsMB, screensMB);
    std::printf("first start: the threads ran %.2f s on a core and waited %.2f s for a free one\n",
                sched.running, sched.waiting);
    std::printf("beeps %d, error messages %lld\n", beeps, static_cast<long long>(errors.size()));
    for (const QString& e : errors)
        std::fprintf(stderr, "%s\n", qPrintable(e));

    endPresentation();
    if (start* w = fw::Single<start>::peek()) w->Close();
    settle();
    return 0;
}

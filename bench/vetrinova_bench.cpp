// The benchmark: runs the program's own code paths on a folder of pictures, headless, with
// the operating system's seams answered here (a fixed screen, dialogs answered, beeps
// counted), and prints one table of times and peak memory.
//
//   vetrinova_bench FOLDER [--screen WxH] [--edge 0..3] [--percent P] [--repeat R]
#include "bench/bench_table.h"
#include "framework/picture.h"
#include "framework/seams.h"
#include "state/fitting.h"
#include "state/globali.h"
#include "windows/editor/fin_edita.h"
#include "windows/presentation/fin_pict.h"
#include "windows/presentation/fin_thumb.h"
#include "windows/presentation/mostra_pict.h"
#include "windows/presentation/picture_compose.h"
#include "windows/presentation/presentation.h"
#include "windows/presentation/thumbnail_cache.h"
#include "windows/setup/setup_routines.h"
#include "windows/setup/start.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
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
    p.addOptions({screen, edge, percent, repeat});
    p.process(arguments);
    if (p.positionalArguments().size() != 1) {
        std::fprintf(stderr, "one folder expected\n");
        return false;
    }
    o.folder = QFileInfo(p.positionalArguments().first()).absoluteFilePath();
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("^(\\d{2,5})x(\\d{2,5})$")).match(p.value(screen));
    bool okEdge = false, okPercent = false, okRepeat = false;
    o.edge = p.value(edge).toInt(&okEdge);
    o.percent = p.value(percent).toInt(&okPercent);
    o.repeat = p.value(repeat).toInt(&okRepeat);
    if (!m.hasMatch() || !okEdge || o.edge < 0 || o.edge > 3 || !okPercent || o.percent < 1 ||
        o.percent > 90 || !okRepeat || o.repeat < 1 || o.repeat > 100) {
        std::fprintf(stderr, "bad --screen, --edge, --percent or --repeat\n");
        return false;
    }
    o.screen = QSize(m.captured(1).toInt(), m.captured(2).toInt());
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

// Until the presentation has every thumbnail in its cell and its picture on screen.
void waitUntilBuilt() {
    waitFor([] { return !presentation::busy(); });
}

// Until the notes editor shows the picture asked for last.
void waitForPreview() {
    waitFor([] {
        const fin_edita* editor = fw::Single<fin_edita>::peek();
        return !editor || !editor->previewPending();
    });
}

// "Start presentation" on the setup window, as the user clicks it, until the windows have
// painted everything. False when the program refused.
bool startPresentation(start* setup) {
    setup->bottone(0)->click();
    waitUntilBuilt();
    return fw::Single<fin_pict>::peek() && fw::Single<fin_thumb>::peek();
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

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication app(argc, argv);
    Options o;
    if (!parseOptions(app.arguments(), o)) return 2;

    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    const QString presentationFile = scratch.filePath(QStringLiteral("bench.v69"));
    int beeps = 0;
    QStringList errors;
    seams::Hooks& h = seams::hooks();
    h.screenSize = [&o] { return o.screen; };
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

    const QString loadBefore = bench::loadAverage();
    warmFileCache(o.folder);

    Globali::reset();
    start* setup = start::instance();
    setup->Show();
    paint();
    setup->CheckBox1->setChecked(true);
    setup->CheckBox2->setChecked(true);
    bench::Table table;
    const int R = o.repeat;

    // Import: the folder dialog answered with the folder, then the scan.
    std::vector<double> runs;
    for (int r = 0; r < R; ++r)
        runs.push_back(secondsOf([] { Globali::importa(); }));
    const int n = Globali::quantidisegni;
    if (n < 1) {
        std::fprintf(stderr, "no pictures in %s\n", qPrintable(o.folder));
        return 1;
    }
    table.add(QStringLiteral("import scan"), bench::median(runs), n,
              QString::number(n) + QStringLiteral(" pictures"));
    // Every picture gets a note, as a prepared presentation has.
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

    // The strip's edge and thickness as the setup window's controls leave them.
    Globali::thumb_pos = o.edge;
    setup->Slider1->setValueSilently(o.percent);
    Globali::thumb_per = setup->Slider1->value();
    Globali::mostra_thumb();

    // First start: nothing cached; every thumbnail decoded and composed into its cell.
    runs.clear();
    std::vector<double> cpu;
    std::vector<double> firstPicture;
    int decodesFirst = 0;
    QSize cell, area;
    double peakFirst = 0;
    bench::Scheduling sched;
    GapWatch gaps;
    MapWatch mapped;
    std::vector<double> gapRuns, mapRuns, mapDecodes, pictureRuns, pictureDecodeRuns;
    bench::Scheduling worstGap; // within the largest gap of all runs
    double largestGap = 0;
    for (int r = 0; r < R; ++r) {
        thumbnail_cache::clear();
        const int before = thumbnail_cache::decodeCount();
        const bench::Scheduling schedBefore = bench::scheduling();
        bool ok = false;
        gaps.begin();
        mapped.begin();
        QElapsedTimer sinceStart;
        double pictureAt = -1;
        int pictureDecodes = -1;
        const int finishedBefore = thumbnail_cache::finishedCount();
        runs.push_back(secondsOf([&] {
            sinceStart.start();
            setup->bottone(0)->click();
            waitFor([&] {
                const fin_pict* p = fw::Single<fin_pict>::peek();
                if (p && pictureAt < 0 && !p->backdropPicture().isNull()) {
                    pictureAt = double(sinceStart.nsecsElapsed()) / 1e9;
                    pictureDecodes = thumbnail_cache::finishedCount() - finishedBefore;
                }
                return !presentation::busy();
            });
            ok = fw::Single<fin_pict>::peek() && fw::Single<fin_thumb>::peek();
        }));
        cpu.push_back(lastCpu);
        pictureRuns.push_back(pictureAt);
        pictureDecodeRuns.push_back(pictureDecodes);
        gapRuns.push_back(gaps.endSeconds());
        if (gapRuns.back() > largestGap) {
            largestGap = gapRuns.back();
            worstGap = gaps.worstScheduling();
        }
        mapped.end();
        mapRuns.push_back(mapped.seconds());
        mapDecodes.push_back(mapped.decodes());
        if (!ok) {
            std::fprintf(stderr, "the presentation did not start (%d beeps)\n", beeps);
            return 1;
        }
        decodesFirst = thumbnail_cache::decodeCount() - before;
        const bench::Scheduling schedAfter = bench::scheduling();
        sched.running = schedAfter.running - schedBefore.running;
        sched.waiting = schedAfter.waiting - schedBefore.waiting;
        peakFirst = bench::peakMB();
        if (fin_thumb* strip = fw::Single<fin_thumb>::peek(); strip && strip->miniabase(1))
            cell = strip->miniabase(1)->size();
        area = QSize(Globali::pct_dx, Globali::pct_dy);
        firstPicture.push_back(secondsOf([] {
            Globali::mostra_pict(1);
            waitUntilBuilt();
        }));
        endPresentation();
    }
    const double first = bench::median(runs);
    const double picture1 = bench::median(firstPicture);
    table.add(QStringLiteral("presentation on screen, first start"), first, n,
              QString::number(decodesFirst) + QStringLiteral(" decodes"), bench::median(cpu));
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
                     .arg(decodesFirst));
    table.addPer(QStringLiteral("first start: from Start to picture 1 on screen"),
                 bench::median(pictureRuns), -1,
                 QStringLiteral("after %1 thumbnail decodes had finished")
                     .arg(bench::median(pictureDecodeRuns)));

    // Second start of the same folder in the same run: the thumbnails come from the cache.
    runs.clear();
    cpu.clear();
    int decodesSecond = 0;
    for (int r = 0; r < R; ++r) {
        const int before = thumbnail_cache::decodeCount();
        runs.push_back(secondsOf([&] { startPresentation(setup); }));
        cpu.push_back(lastCpu);
        decodesSecond = thumbnail_cache::decodeCount() - before;
        if (r + 1 < R) endPresentation();
    }
    const double second = bench::median(runs);
    table.add(QStringLiteral("presentation on screen, second start"), second, n,
              QString::number(decodesSecond) + QStringLiteral(" decodes, ") +
                  QString::number(second > 0 ? first / second : 0, 'f', 1) +
                  QStringLiteral("x faster"),
              bench::median(cpu));

    // Every picture shown once, as a click on its thumbnail shows it; right after each, the
    // same photo only decoded fitted to the picture area (what a switch cannot beat), so that
    // both see the same load of the machine.
    const qreal dpr = fw::Single<fin_pict>::peek()->devicePixelRatioF();
    const QSize device = picture_compose::deviceSize(area, dpr);
    std::vector<double> switches(size_t(n), 0), fitted(size_t(n), 0);
    for (int i = 1; i <= n; ++i) {
        std::vector<double> one, decode;
        for (int r = 0; r < R; ++r) {
            one.push_back(secondsOf([i] {
                Globali::mostra_pict(i);
                waitUntilBuilt();
            }));
            decode.push_back(secondsOf([i, device] {
                const LoadedPicture p = loadPicture(Globali::disegno(i), [device](QSize full) {
                    return fitting::fitRect(full, device).size();
                });
                (void)p;
            }));
        }
        switches[size_t(i - 1)] = bench::median(one);
        fitted[size_t(i - 1)] = bench::median(decode);
    }
    endPresentation();
    double total = 0, fittedTotal = 0;
    for (size_t k = 0; k < size_t(n); ++k) {
        total += switches[k];
        fittedTotal += fitted[k];
    }
    const auto worst = std::max_element(switches.begin(), switches.end());
    table.addPer(QStringLiteral("every picture shown once, median"), total,
                 bench::median(switches) * 1000.0);
    table.addPer(QStringLiteral("every picture shown once, worst"), total, *worst * 1000.0,
                 QStringLiteral("picture ") + QString::number(worst - switches.begin() + 1));
    table.addPer(QStringLiteral("decode fitted to the picture area (reference), median"),
                 fittedTotal, bench::median(fitted) * 1000.0,
                 QString::number(device.width()) + QLatin1Char('x') +
                     QString::number(device.height()));
    // Switch over decode, picture by picture.
    std::vector<double> ratio(size_t(n), 0);
    for (size_t k = 0; k < size_t(n); ++k)
        ratio[k] = fitted[k] > 0 ? switches[k] / fitted[k] : 0;

    // The notes editor: opening shows picture 1, then Next steps through the others.
    std::vector<double> loads(size_t(n), 0);
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
        for (int i = 2; i <= n; ++i)
            walk.push_back(secondsOf([editor] {
                editor->PushButton3_Action();
                waitForPreview();
            }));
        editor->PushButton5_Action();
        settle();
        for (size_t k = 0; k < size_t(n); ++k)
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

    // The memory a presentation may take: its thumbnails, two full-screen pictures and 150 MB.
    const double thumbsMB = double(n) * cell.width() * cell.height() * 4 / (1 << 20);
    const double screensMB = 2.0 * o.screen.width() * o.screen.height() * 4 / (1 << 20);
    const double budget = thumbsMB + screensMB + 150;

    std::printf("# Vetrinova benchmark\n\n");
    std::printf("folder %s: %d pictures; screen %dx%d, edge %d, strip %d %% (cell %dx%d, "
                "picture area %dx%d); repeat %d\n",
                qPrintable(o.folder), n, o.screen.width(), o.screen.height(), o.edge, o.percent,
                cell.width(), cell.height(), area.width(), area.height(), R);
    std::printf("cores %d; load average before %s, after %s\n\n", bench::cores(),
                qPrintable(loadBefore), qPrintable(bench::loadAverage()));
    table.print();
    std::printf("\nswitch / fitted decode, per picture: median %.2f, worst %.2f\n",
                bench::median(ratio), *std::max_element(ratio.begin(), ratio.end()));
    std::printf("peak memory at the end of the first start %.0f MB; budget %.0f MB "
                "(thumbnails %.0f + two screens %.0f + 150)\n",
                peakFirst, budget, thumbsMB, screensMB);
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

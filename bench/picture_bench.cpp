// The picture benchmark: what probing, scanning and decoding cost on hostile files and on large
// real photos, each measured in a process of its own so that one file's peak memory is not
// hidden by another's: processor time and the peak resident memory above the process's start
// (after decoding a few ordinary pictures, so that the decoders' code is not counted).
//
//   vetrinova_picture_bench [--cell WxH] [--area WxH] [--keep FOLDER] [--scan N] [FILE...]
//   vetrinova_picture_bench --judge [--cell WxH] [--area WxH] FILE...
//
// Without files it generates its own set (the bombs of hostile_pictures.h and the large photos
// that must still open) in a temporary folder, or in FOLDER when given, and times the scan of a
// folder of N pictures (links to the generated ones). With --judge it says of each file whether
// the program keeps its promise on it (see hostile::judged) and fails when it does not: the
// fuzzing script asks it about the inputs the sanitizers found slow.
#include "bench/child_peak.h"
#include "bench/hostile_pictures.h"
#include "logic/state/folder_scan.h"
#include "pictures/decode/picture.h"

#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QMap>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdio>

namespace {

QSize sizeOption(const QString& text) {
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$")).match(text);
    return m.hasMatch() ? QSize(m.captured(1).toInt(), m.captured(2).toInt()) : QSize();
}

bool write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// The generated set; false when something could not be written.
bool generate(const QString& folder) {
    const QDir dir(folder);
    bool ok = true;
    for (const hostile::File& f : hostile::all())
        ok = hostile::write(dir.filePath(f.name), f) && ok;
    ok = write(dir.filePath(QStringLiteral("scan-16bit-8000x6000.tif")),
               hostile::blackTiff(8000, 6000, 16)) &&
         ok;
    const struct {
        const char* name;
        QSize size;
        bool progressive;
    } jpegs[] = {{"photo-12mp.jpg", {4000, 3000}, false},
                 {"photo-12mp-progressive.jpg", {4000, 3000}, true},
                 {"photo-50mp.jpg", {8660, 5773}, false},
                 {"photo-50mp-progressive.jpg", {8660, 5773}, true},
                 {"photo-100mp.jpg", {12240, 8160}, false}};
    for (const auto& j : jpegs) {
        QImageWriter writer(dir.filePath(QLatin1String(j.name)), "jpeg");
        writer.setQuality(85);
        writer.setProgressiveScanWrite(j.progressive);
        ok = writer.write(hostile::photoLike(j.size)) && ok;
    }
    for (const auto kind : {hostile::Heic, hostile::Avif})
        ok = write(dir.filePath(kind == hostile::Heic ? QStringLiteral("photo-12mp.heic")
                                                      : QStringLiteral("photo-12mp.avif")),
                   hostile::encodeHeif(hostile::photoLike({4000, 3000}), kind, 6, 320)) &&
             ok;
    // The formats read by the toolkit's readers and the program's own, at a photo's size.
    const QImage photo = hostile::photoLike({4000, 3000});
    for (const char* format : {"webp", "bmp"})
        ok = photo.save(dir.filePath(QStringLiteral("photo-12mp.") + QLatin1String(format))) && ok;
    ok = write(dir.filePath(QStringLiteral("photo-12mp.tga")),
               hostile::tga(photo, hostile::TgaRle)) &&
         ok;
    ok =
        write(dir.filePath(QStringLiteral("grid-of-one-tile.heic")), hostile::heifGrid({64, 63})) &&
        ok;
    return ok;
}

void row(const QString& what, const hostile::ChildRun& m, const QString& note = {}) {
    std::printf("| %-44s | %-7s | %7.3f | %8.1f | %s |\n", qPrintable(what),
                m.peak < 0 ? "crashed"
                : m.ok     ? "ok"
                           : "refused",
                m.cpu, double(m.peak) / (1 << 20), qPrintable(note));
}

// The worst a format's files made the program do: the longest processor time and the highest
// peak of a probe or a decode, each with the file and what was done.
struct Worst {
    double cpu = -1;
    QString cpuWhat;
    qint64 peak = -1;
    QString peakWhat;
    int files = 0;
    void add(const QString& what, const hostile::ChildRun& m) {
        if (m.cpu > cpu) {
            cpu = m.cpu;
            cpuWhat = what;
        }
        if (m.peak > peak) {
            peak = m.peak;
            peakWhat = what;
        }
    }
};

// A file's format as its name says it, the way the tables group them.
QString formatOf(const QString& name) {
    return QFileInfo(name).suffix().toLower();
}

} // namespace

int main(int argc, char** argv) {
    if (hostile::isChild(argc, argv))
        return hostile::measured(argc, argv, [](const QStringList& a) -> std::function<bool()> {
            if (a.size() == 2 && a[0] == QLatin1String("scan"))
                return [folder = a[1]] { return !folder_scan::scan(folder).pictures.isEmpty(); };
            return {};
        });
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QGuiApplication app(argc, argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral("Times Vetrinova's picture probe and decode."));
    p.addHelpOption();
    const QCommandLineOption cellOption(QStringLiteral("cell"), QStringLiteral("Strip cell."),
                                        QStringLiteral("WxH"), QStringLiteral("186x124"));
    const QCommandLineOption areaOption(QStringLiteral("area"), QStringLiteral("Picture area."),
                                        QStringLiteral("WxH"), QStringLiteral("1727x1080"));
    const QCommandLineOption keepOption(QStringLiteral("keep"),
                                        QStringLiteral("Generate the files into this folder."),
                                        QStringLiteral("folder"));
    const QCommandLineOption scanOption(QStringLiteral("scan"),
                                        QStringLiteral("Pictures in the timed folder scan."),
                                        QStringLiteral("n"), QStringLiteral("10000"));
    const QCommandLineOption judgeOption(
        QStringLiteral("judge"), QStringLiteral("Fail when a file breaks the program's promise."));
    p.addOptions({cellOption, areaOption, keepOption, scanOption, judgeOption});
    p.addPositionalArgument(QStringLiteral("files"), QStringLiteral("Pictures to measure."));
    p.process(app);
    const QSize cell = sizeOption(p.value(cellOption)), area = sizeOption(p.value(areaOption));
    const int scanCount = p.value(scanOption).toInt();
    if (cell.isEmpty() || area.isEmpty() || scanCount < 0) {
        std::fprintf(stderr, "bad --cell, --area or --scan\n");
        return 2;
    }

    QTemporaryDir scratch;
    const QString warmUp = scratch.filePath(QStringLiteral("ordinary"));
    QDir().mkpath(warmUp);
    for (const hostile::File& f : hostile::ordinary())
        write(QDir(warmUp).filePath(f.name), f.bytes);
    if (p.isSet(judgeOption)) {
        int broken = 0;
        for (const QString& path : p.positionalArguments()) {
            const hostile::Verdict v = hostile::judged(warmUp, path, cell, area);
            std::printf("%s: %s (longest %.2f s, peak %.1f MB)\n", qPrintable(path),
                        v.broken.isEmpty() ? "within the promise" : qPrintable(v.broken), v.cpu,
                        double(v.peak) / (1 << 20));
            broken += v.broken.isEmpty() ? 0 : 1;
        }
        return broken == 0 && !p.positionalArguments().isEmpty() ? 0 : 1;
    }
    QString folder = p.value(keepOption);
    QStringList files;
    for (const QString& f : p.positionalArguments())
        files << QFileInfo(f).absoluteFilePath();
    if (files.isEmpty()) {
        if (folder.isEmpty()) folder = scratch.filePath(QStringLiteral("pictures"));
        if (!QDir().mkpath(folder) || !generate(folder)) {
            std::fprintf(stderr, "cannot generate the pictures in %s\n", qPrintable(folder));
            return 1;
        }
        for (const QFileInfo& info : QDir(folder).entryInfoList(QDir::Files, QDir::Name))
            files << info.absoluteFilePath();
    }

    std::printf("# Vetrinova picture benchmark\n\ncell %dx%d, picture area %dx%d\n\n", cell.width(),
                cell.height(), area.width(), area.height());
    std::printf("| %-44s | %-7s | %7s | %8s | %s |\n", "what", "result", "cpu s", "peak MB",
                "note");
    std::printf("|---|---|---:|---:|---|\n");
    QMap<QString, Worst> worst;
    for (const QString& path : files) {
        const QString name = QFileInfo(path).fileName();
        Worst& w = worst[formatOf(name)];
        ++w.files;
        const QSize size = probePicture(path).size;
        const QString probed = name + QStringLiteral(": probe");
        const hostile::ChildRun probe = hostile::inChild(warmUp, {"probe", path});
        w.add(probed, probe);
        row(probed, probe,
            size.isValid() ? QStringLiteral("%1x%2, %3 KB")
                                 .arg(size.width())
                                 .arg(size.height())
                                 .arg(QFileInfo(path).size() / 1024)
                           : QString());
        for (const QSize target : {cell, area}) {
            const qint64 planned = size.isValid()
                                       ? picture::decodeBytes(path, hostile::fitted(size, target))
                                       : qint64(-1);
            const QString what = name + (target == cell ? QStringLiteral(": strip decode")
                                                        : QStringLiteral(": screen decode"));
            const hostile::ChildRun decode =
                hostile::inChild(warmUp, {"decode", path, QString::number(target.width()),
                                          QString::number(target.height())});
            w.add(what, decode);
            row(what, decode,
                planned < 0
                    ? QString()
                    : QStringLiteral("planned %1 MB").arg(double(planned) / (1 << 20), 0, 'f', 1));
        }
    }
    if (!folder.isEmpty()) {
        const int found = int(folder_scan::scan(folder).pictures.size());
        row(QStringLiteral("scan of the folder"), hostile::inChild(warmUp, {"scan", folder}),
            QStringLiteral("%1 pictures").arg(found));
    }
    // A large folder: links to the generated pictures, scanned twice (the second time with
    // the file system's caches warm) and timed.
    if (scanCount > 0 && !files.isEmpty()) {
        const QString big = scratch.filePath(QStringLiteral("scan"));
        QDir().mkpath(big);
        for (int i = 0; i < scanCount; ++i)
            QFile::link(files[i % files.size()],
                        QDir(big).filePath(QStringLiteral("%1-%2").arg(i).arg(
                            QFileInfo(files[i % files.size()]).fileName())));
        for (int pass = 1; pass <= 2; ++pass) {
            QElapsedTimer t;
            t.start();
            const int found = int(folder_scan::scan(big).pictures.size());
            const double seconds = double(t.nsecsElapsed()) / 1e9;
            std::printf("\nscan of %d files, pass %d: %.3f s (%.3f s per 1,000), %d pictures\n",
                        scanCount, pass, seconds, seconds * 1000 / scanCount, found);
        }
    }
    std::printf("\n## The worst case of each format\n\n");
    std::printf("| format | files | most processor time | | highest peak | |\n");
    std::printf("|---|---:|---:|---|---:|---|\n");
    for (auto it = worst.cbegin(); it != worst.cend(); ++it)
        std::printf("| %s | %d | %.3f s | %s | %.1f MB | %s |\n", qPrintable(it.key()), it->files,
                    it->cpu, qPrintable(it->cpuWhat), double(it->peak) / (1 << 20),
                    qPrintable(it->peakWhat));
    return 0;
}

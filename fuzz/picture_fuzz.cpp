// The picture probe and loader under arbitrary file contents. Besides never crashing or
// hanging: the loader gives a picture only where the probe accepted the file, and always
// at the size it will be drawn.
#include "pictures/decode/picture.h"
#include "pictures/fitting.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImageReader>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

void check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "picture property broken: %s\n", what);
    std::abort();
}

// The decoders are not instrumented: the fuzzer sees only this program's code, where every
// picture takes much the same path. Which decoder took the file, how far it got and how large
// the picture is become code paths of their own here, so that inputs reaching a new decoder,
// outcome or size are kept in the corpus.
enum Outcome { refused, undecoded, decoded, resized, probedOnly, outcomes };

template <int N> [[gnu::noinline]] void mark() {
    asm volatile("" ::: "memory");
}
template <int... N> constexpr auto markTable(std::integer_sequence<int, N...>) {
    return std::array<void (*)(), sizeof...(N)>{&mark<N>...};
}
constexpr auto marks = markTable(std::make_integer_sequence<int, 24 * outcomes + 32>());

void markOutcome(const QString& path, Outcome outcome, QSize size) {
    static const QList<QByteArray> formats = QImageReader::supportedImageFormats();
    const qsizetype format = formats.indexOf(QImageReader::imageFormat(path)); // -1: none
    marks[size_t((format + 1) % 24 * outcomes + outcome)]();
    if (size.isValid()) {
        const auto pixels = quint64(size.width()) * quint64(size.height());
        marks[size_t(24 * outcomes) + std::min<size_t>(std::bit_width(pixels) / 2, 31)]();
    }
}

// A thumbnail cell: every decode the fuzzer asks for is a small one, as in the strip.
const QSize cell(96, 72);

// Under the sanitizers a legitimate picture of a hundred megapixels takes ten seconds and more
// to decode (a second in the program), and one such input in the corpus would eat the whole
// run. The harness only probes pictures whose header promises more than this; the loader's
// own limits, far above it, are what the hostile-file tests and the benchmark hold.
constexpr qint64 kMostFuzzedPixels = qint64(4) << 20;

QString folder;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // The image plugins are found through the application object.
    static QCoreApplication app(*argc, *argv);
    // The loader's own limits stay in force (picture::maxPixels, picture::allocationLimitMB):
    // scripts/fuzz.sh gives each input a memory ceiling and a time limit to match, so that a
    // file the program would take for seconds or gigabytes fails the run.
    // The decoders' complaints about damaged files are expected by the thousand.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    // The loader reads paths only: the input becomes a file, in memory so that no disk
    // slows every run. scripts/fuzz.sh names a folder it removes afterwards.
    folder = qEnvironmentVariable("VETRINOVA_FUZZ_TMP");
    if (folder.isEmpty()) {
        folder = QStringLiteral("/dev/shm/vetrinova-fuzz-%1").arg(::getpid());
        if (::mkdir(QFile::encodeName(folder).constData(), 0700) == 0)
            std::atexit([] { ::rmdir(QFile::encodeName(folder).constData()); });
        else
            folder = QStringLiteral("/tmp");
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The name's extension is the reader's first guess of the format; the content decides.
    static const char* const names[] = {"p", "p.png", "p.jpg", "p.gif", "p.bmp", "p.tif", "p.webp"};
    const QString path =
        folder + QLatin1Char('/') + QLatin1String(names[size % (sizeof names / sizeof names[0])]);
    {
        QFile f(path);
        // The folder lives in shared memory; should something sweep it away, make it again.
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
            !(QDir().mkpath(folder) && f.open(QIODevice::WriteOnly | QIODevice::Truncate)))
            std::abort();
        if (f.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
            std::abort();
    }

    const PictureProbe probe = probePicture(path);
    if (probe.ok) {
        check(probe.size.width() > 0 && probe.size.height() > 0, "probe size not positive");
        check(qint64(probe.size.width()) * probe.size.height() <= picture::maxPixels,
              "probe over the pixel limit");
    }

    if (probe.ok && qint64(probe.size.width()) * probe.size.height() > kMostFuzzedPixels) {
        markOutcome(path, probedOnly, probe.size);
        QFile::remove(path);
        return 0;
    }
    QSize asked, wanted;
    const LoadedPicture loaded = loadPicture(path, [&](QSize full) {
        asked = full;
        wanted = fitting::fitRect(full, cell).size();
        return wanted;
    });
    markOutcome(path,
                !probe.ok                       ? refused
                : loaded.isNull()               ? undecoded
                : loaded.original != probe.size ? resized
                                                : decoded,
                loaded.isNull() ? probe.size : loaded.original);
    if (!loaded.isNull()) {
        check(probe.ok, "loaded what the probe refused");
        // The picture's size is the header's, unless the decode showed another one.
        check(asked == loaded.original, "drawn size asked for another size");
        check(loaded.image.size() == wanted.expandedTo(QSize(1, 1)).boundedTo(loaded.original),
              "not decoded at the drawn size");
    }
    QFile::remove(path);
    return 0;
}

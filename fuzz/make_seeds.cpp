// Writes the seed corpora of the fuzz targets: presentation files of several shapes, and
// small pictures of every common format, whole, cut short and with a damaged body.
//   make_seeds OUTDIR   ->  OUTDIR/presentation_file/*, OUTDIR/picture/*
#include "base/values.h"
#include "bench/hostile_pictures.h"
#include "logic/state/model.h"
#include "logic/state/presentation_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QPainter>
#include <cstdio>

namespace pf = presentation_file;

namespace {

bool failed = false;

void put(const QDir& folder, const QString& name, const QByteArray& bytes) {
    QFile f(folder.filePath(name));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(f.fileName()));
        failed = true;
    }
}

void presentationSeeds(const QDir& folder) {
    pf::Data d;
    d.folder = QStringLiteral("/home/user/Pictures/Vacanze 2023");
    d.thumb_pos = edge::Top;
    d.percent = 20;
    d.fill = d.display = true;
    d.count = 3;
    for (int i = 0; i < colour::kCount; ++i)
        pf::setColour(d, i, HSV(i / 7.0, 0.5, 1));
    d.notes = {{"Nota: città\tdi notte", "Liberation Sans", "30\t", "1", "0", "1", "4", "1", "10",
                "20", "-30", "-40", "5"}};
    const QByteArray three = pf::write(d);
    put(folder, "three.v69", three);
    put(folder, "bom-crlf.v69", "\xEF\xBB\xBF" + QByteArray(three).replace("\r", "\r\n"));
    put(folder, "hostile.v69",
        "/x\r" + QByteArray("1e300\r-5\rnan\r +.5e-3\t7\r\xC3\x28\r").repeated(6));
    // A count far beyond empty lines; line 1 too long for a path, a bare name, or broken in
    // two; a long note.
    const QByteArray afterLine1 = three.mid(three.indexOf('\r'));
    put(folder, "count-beyond-empty-lines.v69",
        "/x\r" + QByteArray("0\r").repeated(26) + "2147483647" + QByteArray(5200, '\r'));
    put(folder, "long-folder.v69", "/" + QByteArray(5000, 'x') + afterLine1);
    put(folder, "bare-folder.v69", "Vacanze" + afterLine1);
    put(folder, "folder-line-break.v69", "/two\nlines" + afterLine1);
    put(folder, "long-note.v69", QByteArray(three).replace("Nota", QByteArray(6000, 'w')));
    // Written by another system: a folder and notes in Latin-1, beside notes in UTF-8.
    put(folder, "latin1.v69",
        QByteArray(three)
            .replace("Vacanze", "Vacanze a Forl\xEC")
            .replace("citt\xC3\xA0", "citt\xE0"));
}

// The header stays whole, the rest of the file is overwritten with noise.
QByteArray damagedBody(QByteArray bytes, int keep) {
    for (qsizetype i = keep; i < bytes.size(); ++i)
        bytes[i] = char((i * 151 + 7) & 0xFF);
    return bytes;
}

void pictureSeeds(const QDir& folder) {
    QImage sample(24, 16, QImage::Format_ARGB32);
    sample.fill(Qt::transparent);
    QPainter p(&sample);
    p.fillRect(0, 0, 12, 16, QColor(200, 30, 30));
    p.fillRect(12, 0, 12, 8, QColor(30, 60, 220, 160));
    p.end();
    const QList<std::pair<const char*, QImage::Format>> formats{
        {"png", QImage::Format_ARGB32}, {"png", QImage::Format_Indexed8},
        {"jpeg", QImage::Format_RGB32}, {"jpeg", QImage::Format_Grayscale8},
        {"bmp", QImage::Format_Mono},   {"tiff", QImage::Format_RGB32},
        {"webp", QImage::Format_RGB32}, {"ico", QImage::Format_ARGB32}};
    int n = 0;
    for (const auto& [format, pixels] : formats) {
        const QByteArray bytes =
            hostile::encode(sample.convertToFormat(pixels), format, -1, {}, n % 2 == 1);
        failed |= bytes.isEmpty();
        const QString name = QStringLiteral("%1.%2").arg(n++).arg(QLatin1String(format));
        put(folder, name, bytes);
        put(folder, "half-" + name, bytes.left(bytes.size() / 2));
        put(folder, "damaged-" + name, damagedBody(bytes, 40));
    }
    // The toolkit reads GIF but does not write it: a 2 x 1 picture by hand.
    put(folder, "still.gif",
        QByteArray::fromHex(
            "4749463839610200010080000000000000ffffff2c00000000020001000002024401003b"));
    // HEIF and AVIF as libheif writes them, turned by their orientation; a compressed SVG;
    // the bombs whole (the fuzzer cuts what is longer than its inputs may be).
    const QImage rgb = sample.convertToFormat(QImage::Format_RGB32);
    put(folder, "turned.heic", hostile::encodeHeif(rgb, hostile::Heic, 6));
    // TGA in the shapes its writers give it (the toolkit writes none).
    int style = 0;
    for (const auto tga : {hostile::TgaPlain, hostile::TgaRle, hostile::TgaGrey, hostile::TgaMapped,
                           hostile::Tga16TopRight, hostile::TgaAlphaFooter, hostile::TgaGreyAlpha})
        put(folder, QStringLiteral("%1.tga").arg(style++), hostile::tga(sample, tga));
    put(folder, "turned.avif", hostile::encodeHeif(rgb, hostile::Avif, 6));
    put(folder, "print.jpg", hostile::solidJpeg(16, 8, QByteArray("\x20\x40\x60\x00", 4)));
    put(folder, "drawing.svgz",
        hostile::gzipped("<svg xmlns='http://www.w3.org/2000/svg' width='24' height='16'>"
                         "<circle cx='8' cy='8' r='6' fill='red'/></svg>"));
    for (const hostile::File& f : hostile::all())
        put(folder, "hostile-" + f.name, f.bytes);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds OUTDIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath("presentation_file") || !out.mkpath("picture")) return 1;
    presentationSeeds(QDir(out.filePath("presentation_file")));
    pictureSeeds(QDir(out.filePath("picture")));
    return failed ? 1 : 0;
}

// Writes a benchmark folder: N photo-like JPEGs (smooth shapes, mid-scale detail and grain,
// so they compress like photographs rather than flat colour), every fifth with EXIF
// orientation 6 as a phone held upright writes it, a few PNGs and a few files that are not
// pictures. The same arguments give the same files, byte for byte.
//
// With --camera, the photos are as cameras and phones write them: 80 % carry EXIF data with
// the usual camera tags and an embedded 160 x 120 thumbnail (written by Exiv2, as the camera
// stores it: in the sensor's orientation, the photo's orientation tag beside it); the other
// 20 % carry neither.
//
// With --phone, the photos are HEIC as phones write them: a grid of 512 x 512 tiles coded at
// quality 50 with a 320-pixel-wide thumbnail; with --phone-bare, the same without thumbnail
// (as some converters write them). With --avif, AVIF photos of one image each, quality 50, with
// the same thumbnail.
//
// With --distinct K, only the first K photos are made; the others are hard links to them in
// turn: a folder of thousands of photos in minutes, each name still a photo of its own to the
// program (its own thumbnail, its own place in the strip).
//
//   vetrinova_make_corpus FOLDER N [--camera | --phone | --phone-bare | --avif] [--size WxH]
//                         [--quality Q] [--jobs J] [--seed S] [--distinct K]
#include "bench/camera_exif.h"
#include "bench/hostile_pictures.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QRegularExpression>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentMap>
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <vector>

#include <exiv2/exiv2.hpp>
#include <unistd.h>

namespace {

uint64_t mix(uint64_t x) {
    // splitmix64's finaliser: a well spread hash of the position and seed.
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// A grid of random colours, read with bilinear interpolation: smooth colour fields.
class ValueGrid {
  public:
    ValueGrid(int width, int height, int step, uint64_t seed)
        : step_(step), cols_(width / step + 2), rows_(height / step + 2),
          values_(size_t(cols_) * size_t(rows_) * 3), gx_(size_t(width)), fx_(size_t(width)) {
        for (size_t k = 0; k < values_.size(); ++k)
            values_[k] = int(mix(seed * 0x100000001B3ull + k) & 0xFF);
        for (int x = 0; x < width; ++x) {
            gx_[size_t(x)] = x / step_;
            fx_[size_t(x)] = (x % step_) * 256 / step_;
        }
    }
    // Channels 0..2 of every pixel of row y, 0..255 each, interleaved.
    void row(int y, std::vector<int>& out) const {
        const int gy = y / step_, fy = (y % step_) * 256 / step_;
        const int* top = &values_[size_t(gy) * size_t(cols_) * 3];
        const int* bottom = top + size_t(cols_) * 3;
        out.resize(gx_.size() * 3);
        for (size_t x = 0; x < gx_.size(); ++x) {
            const size_t at = size_t(gx_[x]) * 3;
            const int fx = fx_[x];
            for (size_t c = 0; c < 3; ++c) {
                const int t = top[at + c] * (256 - fx) + top[at + 3 + c] * fx;
                const int b = bottom[at + c] * (256 - fx) + bottom[at + 3 + c] * fx;
                out[x * 3 + c] = (t * (256 - fy) + b * fy) >> 16;
            }
        }
    }

  private:
    int step_, cols_, rows_;
    std::vector<int> values_;
    std::vector<int> gx_, fx_; // grid column and fraction of every x
};

QImage photoLike(QSize size, uint64_t seed) {
    const int w = size.width(), h = size.height();
    const int big = std::max(8, std::min(w, h) / 6);
    const ValueGrid coarse(w, h, big, seed);
    const ValueGrid detail(w, h, std::max(4, big / 24), seed ^ 0xD1B54A32D192ED03ull);
    QImage image(size, QImage::Format_RGB32);
    std::vector<int> base, fine;
    for (int y = 0; y < h; ++y) {
        coarse.row(y, base);
        detail.row(y, fine);
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        uint64_t grain = mix(seed + uint64_t(y) * 0x2545F4914F6CDD1Dull);
        for (int x = 0; x < w; ++x) {
            if ((x & 7) == 0) grain = mix(grain);
            const int g = int((grain >> ((x & 7) * 8)) & 0xFF) - 128; // film grain
            int rgb[3];
            for (int c = 0; c < 3; ++c) {
                const size_t k = size_t(x) * 3 + size_t(c);
                rgb[c] = std::clamp(base[k] + (fine[k] - 128) / 3 + g / 10, 0, 255);
            }
            line[x] = qRgb(rgb[0], rgb[1], rgb[2]);
        }
    }
    return image;
}

// An APP1 segment with EXIF orientation `orientation` (big-endian TIFF, one IFD entry).
QByteArray exifOrientation(int orientation) {
    const char tiff[] = {'M',  'M',  0, 42, 0, 0, 0, 8, // header, IFD at 8
                         0,    1,                       // one entry
                         0x01, 0x12, 0, 3,  0, 0, 0, 1, 0, char(orientation), 0, 0, // SHORT
                         0,    0,    0, 0};                                         // no next IFD
    QByteArray payload = QByteArray("Exif\0\0", 6) + QByteArray(tiff, sizeof tiff);
    const int length = int(payload.size()) + 2;
    QByteArray segment("\xFF\xE1", 2);
    segment.append(char(length >> 8));
    segment.append(char(length & 0xFF));
    return segment + payload;
}

// Puts an APP1 segment right after the JFIF header (or after SOI when there is none).
QByteArray withSegment(const QByteArray& jpeg, const QByteArray& segment) {
    int at = 2;
    if (jpeg.size() > 6 && uchar(jpeg[2]) == 0xFF && uchar(jpeg[3]) == 0xE0)
        at = 4 + ((uchar(jpeg[4]) << 8) | uchar(jpeg[5]));
    return jpeg.left(at) + segment + jpeg.mid(at);
}

// Photo i of a camera-like folder has EXIF data and a thumbnail, but for two in ten.
bool hasCameraExif(int i) {
    return i % 10 != 4 && i % 10 != 5;
}

// What a camera writes into a photo of `image` (as stored): the usual tags, the orientation
// and a thumbnail of at most 160 x 120 in the stored orientation. False when Exiv2 failed.
bool addCameraExif(const QString& path, const QImage& image, int i, int orientation, int quality) {
    const QByteArray thumbnail =
        hostile::encode(image.scaled(160, 120, Qt::KeepAspectRatio, Qt::SmoothTransformation),
                        "jpg", std::min(quality, 80));
    const QString taken = QStringLiteral("2024:05:17 %1:%2:%3")
                              .arg(8 + i / 3600 % 12, 2, 10, QLatin1Char('0'))
                              .arg(i / 60 % 60, 2, 10, QLatin1Char('0'))
                              .arg(i % 60, 2, 10, QLatin1Char('0'));
    return !thumbnail.isEmpty() &&
           hostile::writeCameraExif(
               path, orientation, thumbnail,
               {{"Exif.Image.Make", "Vetrinova"},
                {"Exif.Image.Model", QStringLiteral("Bench Camera ") + QChar('A' + i % 3)},
                {"Exif.Photo.DateTimeOriginal", taken},
                {"Exif.Photo.ExposureTime", QStringLiteral("1/%1").arg(60 << (i % 4))},
                {"Exif.Photo.FNumber", QStringLiteral("%1/10").arg(28 + 8 * (i % 3))},
                {"Exif.Photo.ISOSpeedRatings", QString::number(100 << (i % 4))}});
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.flush();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QGuiApplication app(argc, argv);
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral("Writes a folder of photo-like test pictures."));
    p.addHelpOption();
    p.addPositionalArgument(QStringLiteral("folder"), QStringLiteral("Folder to write into."));
    p.addPositionalArgument(QStringLiteral("count"), QStringLiteral("Number of JPEG photos."));
    const QCommandLineOption size(QStringLiteral("size"), QStringLiteral("Photo size WxH."),
                                  QStringLiteral("WxH"), QStringLiteral("4000x3000"));
    const QCommandLineOption quality(QStringLiteral("quality"), QStringLiteral("JPEG quality."),
                                     QStringLiteral("q"), QStringLiteral("87"));
    const QCommandLineOption jobs(QStringLiteral("jobs"), QStringLiteral("Threads."),
                                  QStringLiteral("j"), QStringLiteral("2"));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("Seed."),
                                  QStringLiteral("s"), QStringLiteral("1"));
    const QCommandLineOption camera(
        QStringLiteral("camera"),
        QStringLiteral("80 % of the photos with camera tags and an EXIF thumbnail."));
    const QCommandLineOption phone(
        QStringLiteral("phone"),
        QStringLiteral("HEIC photos of 512-pixel tiles with a 320-pixel thumbnail."));
    const QCommandLineOption phoneBare(QStringLiteral("phone-bare"),
                                       QStringLiteral("The same HEIC photos without thumbnail."));
    const QCommandLineOption avif(QStringLiteral("avif"),
                                  QStringLiteral("AVIF photos with a 320-pixel thumbnail."));
    const QCommandLineOption distinct(QStringLiteral("distinct"),
                                      QStringLiteral("Photos made; the rest link to them."),
                                      QStringLiteral("k"), QStringLiteral("0"));
    p.addOptions({size, quality, jobs, seed, camera, phone, phoneBare, avif, distinct});
    p.process(app);
    const QStringList args = p.positionalArguments();
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$")).match(p.value(size));
    bool okCount = false, okQuality = false, okJobs = false, okSeed = false, okDistinct = false;
    const int made = p.value(distinct).toInt(&okDistinct);
    const int count = args.value(1).toInt(&okCount);
    const int q = p.value(quality).toInt(&okQuality);
    const int threads = p.value(jobs).toInt(&okJobs);
    const uint64_t s = p.value(seed).toULongLong(&okSeed);
    if (args.size() != 2 || !okCount || count < 0 || count > 100000 || !m.hasMatch() ||
        !okQuality || q < 1 || q > 100 || !okJobs || threads < 1 || !okSeed ||
        int(p.isSet(camera)) + int(p.isSet(phone)) + int(p.isSet(phoneBare)) + int(p.isSet(avif)) >
            1 ||
        !okDistinct || made < 0) {
        std::fprintf(stderr, "usage: vetrinova_make_corpus FOLDER N "
                             "[--camera | --phone | --phone-bare | --avif] "
                             "[--size WxH] [--quality Q] [--jobs J] [--seed S] "
                             "[--distinct K]\n");
        return 2;
    }
    const QSize photo(m.captured(1).toInt(), m.captured(2).toInt());
    if (photo.width() < 16 || photo.height() < 16) {
        std::fprintf(stderr, "photos must be at least 16x16\n");
        return 2;
    }
    const QDir folder(args[0]);
    if (!QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(folder.path()));
        return 1;
    }
    QThreadPool::globalInstance()->setMaxThreadCount(threads);
    const bool cameraLike = p.isSet(camera), phoneLike = p.isSet(phone) || p.isSet(phoneBare),
               avifLike = p.isSet(avif);
    const int thumbnail = p.isSet(phone) || avifLike ? 320 : 0;
    Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
    Exiv2::XmpParser::initialize(); // before the threads: its set-up is not thread-safe

    const int makeCount = made > 0 ? std::min(made, count) : count;
    std::vector<int> indexes(static_cast<size_t>(makeCount));
    for (int i = 0; i < makeCount; ++i)
        indexes[size_t(i)] = i + 1;
    std::atomic<int> failures{0};
    const int digits = std::max(4, int(QString::number(count).size()));
    const auto photoName = [digits, phoneLike, avifLike](int i) {
        return QStringLiteral("photo_%1.%2")
            .arg(i, digits, 10, QLatin1Char('0'))
            .arg(phoneLike  ? QLatin1String("heic")
                 : avifLike ? QLatin1String("avif")
                            : QLatin1String("jpg"));
    };
    QtConcurrent::blockingMap(indexes, [&](int i) {
        const QImage image = photoLike(photo, mix(s * 1000003u + uint64_t(i)));
        if (phoneLike || avifLike) {
            const QByteArray heif =
                phoneLike ? hostile::encodeGridHeic(image, 512, thumbnail, 50)
                          : hostile::encodeHeif(image, hostile::Avif, 1, thumbnail, 50);
            if (heif.isEmpty() || !writeFile(folder.filePath(photoName(i)), heif)) ++failures;
            return;
        }
        QByteArray jpeg = hostile::encode(image, "jpg", q);
        const int orientation = i % 5 == 0 ? 6 : 1;
        const bool withCamera = cameraLike && hasCameraExif(i);
        if (!jpeg.isEmpty() && !withCamera && orientation != 1)
            jpeg = withSegment(jpeg, exifOrientation(orientation));
        const QString path = folder.filePath(photoName(i));
        if (jpeg.isEmpty() || !writeFile(path, jpeg) ||
            (withCamera && !addCameraExif(path, image, i, orientation, q)))
            ++failures;
    });

    for (int i = makeCount + 1; i <= count; ++i) {
        const QByteArray from =
            QFile::encodeName(folder.filePath(photoName((i - 1) % makeCount + 1)));
        const QByteArray to = QFile::encodeName(folder.filePath(photoName(i)));
        ::unlink(to.constData());
        if (::link(from.constData(), to.constData()) != 0) ++failures;
    }

    // A few PNGs (screenshots, scans) at a modest size, and a few files that are not pictures.
    const QSize png(std::min(photo.width(), 1600), std::min(photo.height(), 1200));
    for (int i = 1; i <= 3; ++i) {
        const QByteArray bytes =
            hostile::encode(photoLike(png, mix(s ^ uint64_t(0xA0 + i))), "png", 50);
        if (bytes.isEmpty() ||
            !writeFile(folder.filePath(QStringLiteral("scan_%1.png").arg(i)), bytes))
            ++failures;
    }
    const bool others =
        writeFile(folder.filePath(QStringLiteral("readme.txt")), "Photos for the benchmark.\n") &&
        writeFile(folder.filePath(QStringLiteral("not_a_photo.jpg")), "plain text, not a JPEG\n") &&
        writeFile(folder.filePath(QStringLiteral("empty.dat")), QByteArray());
    if (!others) ++failures;
    if (failures > 0) {
        std::fprintf(stderr, "%d files could not be written\n", failures.load());
        return 1;
    }
    std::printf(
        "%d photos %dx%d%s, 3 PNGs and 3 other files in %s\n", count, photo.width(), photo.height(),
        cameraLike                   ? " (80 % with camera EXIF and thumbnail)"
        : avifLike                   ? " (AVIF with a 320-pixel thumbnail)"
        : phoneLike && thumbnail > 0 ? " (HEIC of 512-pixel tiles with a 320-pixel thumbnail)"
        : phoneLike                  ? " (HEIC of 512-pixel tiles without thumbnail)"
                                     : "",
        qPrintable(folder.path()));
    return 0;
}

#include "pictures/thumbnails/camera_thumbnail.h"

#include "base/files.h"
#include "pictures/decode/picture.h"
#include "pictures/decode/picture_scale.h"
#include "pictures/thumbnail_size.h"

#include <QBuffer>
#include <QFile>

#include <exiv2/exiv2.hpp>

#include <algorithm>
#include <cstring>
#include <mutex>

namespace {

// Exiv2 is set up once for the process: quiet (its warnings about damaged files are not ours
// to print) and with a lock for the XMP toolkit, which JPEG metadata may start on any thread.
void prepareExiv2() {
    static std::once_flag once;
    std::call_once(once, [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        static std::mutex xmpMutex;
        Exiv2::XmpParser::initialize(
            [](void* data, bool lock) {
                auto* m = static_cast<std::mutex*>(data);
                lock ? m->lock() : m->unlock();
            },
            &xmpMutex);
    });
}

// A file that Exiv2 may read only so far. Exiv2 keeps every APP13 and ICC segment it meets
// before the picture data, copying them as they come, so a file made of many of them would
// otherwise cost memory and time without bound.
class BoundedFileIo : public Exiv2::FileIo {
  public:
    BoundedFileIo(const std::string& path, long budget) : Exiv2::FileIo(path), left_(budget) {}

    long read(Exiv2::byte* buf, long rcount) override {
        const long wanted = std::max(rcount, 0L);
        if (wanted > left_) exhausted_ = true;
        const long n = Exiv2::FileIo::read(buf, std::min(wanted, left_));
        left_ -= std::max(n, 0L);
        return n;
    }
    Exiv2::DataBuf read(long rcount) override {
        Exiv2::DataBuf buf(std::clamp(rcount, 0L, left_));
        if (rcount > left_) exhausted_ = true;
        const long n = read(buf.pData_, buf.size_);
        buf.size_ = std::max(n, 0L);
        return buf;
    }
    int getb() override {
        if (left_ <= 0) {
            exhausted_ = true;
            return EOF;
        }
        --left_;
        return Exiv2::FileIo::getb();
    }
    bool exhausted() const { return exhausted_; }

  private:
    long left_;
    bool exhausted_ = false;
};

// The embedded JPEG of a photo's EXIF data, as bytes; empty when there is none to use.
QByteArray embeddedJpeg(const QString& path) {
    const QByteArray native = files::encodeName(path);
    if (!files::stampOf(native)) return {}; // only a regular file is opened
    prepareExiv2();
    try {
        auto* file = new BoundedFileIo(native.toStdString(), camera_thumbnail::kMaxMetadataBytes);
        Exiv2::JpegImage image(Exiv2::BasicIo::AutoPtr(file), false);
        try {
            image.readMetadata();
        } catch (const Exiv2::AnyError&) {
            // Out of budget after the EXIF segment (it comes first): what was read is whole.
            if (!file->exhausted()) return {};
        }
        const Exiv2::ExifThumbC thumb(image.exifData());
        if (std::strcmp(thumb.mimeType(), "image/jpeg") != 0) return {};
        const Exiv2::DataBuf data = thumb.copy();
        if (data.size_ <= 0 || data.size_ > camera_thumbnail::kMaxBytes) return {};
        return QByteArray(reinterpret_cast<const char*>(data.pData_), int(data.size_));
    } catch (...) {
        // Exiv2 throws on damaged input; anything else thrown here is as good a reason to
        // decode the photo instead.
        return {};
    }
}

// A JPEG that ends where it should: one cut short decodes with a grey lower part.
bool complete(const QByteArray& jpeg) {
    qsizetype end = jpeg.size();
    while (end > 0 && jpeg[end - 1] == '\0') // some cameras pad the thumbnail's space
        --end;
    return jpeg.startsWith("\xFF\xD8") && end >= 4 && jpeg[end - 2] == '\xFF' &&
           jpeg[end - 1] == '\xD9';
}

// Through the loader's JPEG path: the scans counted and bounded, the budget shared.
QImage decode(QByteArray jpeg, qint64* work) {
    if (!complete(jpeg)) return {};
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::ReadOnly);
    return picture::decodeJpegThumbnail(buffer, camera_thumbnail::kMaxSide, work);
}

// A line of pixels that is black but for what JPEG compression adds: next to the picture the
// band takes some of its colour (chroma is kept for 2 x 2 pixels and 8 x 8 blocks), so the line
// is dark on the whole and nowhere bright.
bool darkLine(const QImage& image, bool row, int index) {
    constexpr int kMeanLevel = 16, kPeakLevel = 64;
    const int length = row ? image.width() : image.height();
    qint64 sum = 0;
    for (int i = 0; i < length; ++i) {
        const int grey = qGray(row ? image.pixel(i, index) : image.pixel(index, i));
        if (grey > kPeakLevel) return false;
        sum += grey;
    }
    return sum <= qint64(kMeanLevel) * length;
}

// The picture inside the black bands that pad it across (`rows`: above and below) or sideways.
QImage withoutBands(const QImage& image, bool rows) {
    const int length = rows ? image.height() : image.width();
    int first = 0, last = length - 1;
    while (first <= last && darkLine(image, rows, first))
        ++first;
    while (last >= first && darkLine(image, rows, last))
        --last;
    if (first > last) return {};
    return rows ? image.copy(0, first, image.width(), last - first + 1)
                : image.copy(first, 0, last - first + 1, image.height());
}

} // namespace

namespace camera_thumbnail {

QImage read(const QString& path, QSize photo, QImageIOHandler::Transformations orientation,
            qint64* work) {
    if (photo.isEmpty()) return {};
    const QImage decoded = decode(embeddedJpeg(path), work);
    if (decoded.isNull()) return {};
    const QImage image = picture::turned(decoded, orientation);
    if (thumbnail_size::sameProportions(image.size(), photo)) return image;
    // Wider than the photo: bands left and right; taller: above and below.
    const bool tooWide =
        qint64(image.width()) * photo.height() > qint64(image.height()) * photo.width();
    const QImage inner = withoutBands(image.convertToFormat(QImage::Format_RGB32), !tooWide);
    if (inner.isNull() || !thumbnail_size::sameProportions(inner.size(), photo)) return {};
    return inner;
}

} // namespace camera_thumbnail

#include "framework/picture.h"

#include <QFile>
#include <QImageIOHandler>
#include <QImageReader>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void setAllocationLimitOnce() {
    static const bool done = [] {
        QImageReader::setAllocationLimit(picture::allocationLimitMB);
        return true;
    }();
    (void)done;
}

// Opens a regular file for reading. The type is checked before opening (a FIFO would block
// in open, a device may act on being opened) and again on the open descriptor, in case the
// path was replaced in between. The QFile keeps the path, so the reader can use the suffix
// as a first guess of the format.
bool openRegular(const QString& path, QFile& file) {
    const QByteArray native = QFile::encodeName(path);
    if (native.isEmpty()) return false;
    struct stat st {};
    if (::stat(native.constData(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat opened {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        ::close(fd);
        return false;
    }
    file.setFileName(path);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

struct Header {
    bool ok = false;
    QSize stored;         // as the file stores it
    bool rotated = false; // a quarter turn: the stored width is the upright height
    QSize upright() const { return rotated ? stored.transposed() : stored; }
};

// A picture file opened for reading, its header read and checked.
class PictureFile {
  public:
    explicit PictureFile(const QString& path) {
        setAllocationLimitOnce();
        if (!openRegular(path, file_)) return;
        reader_.setDevice(&file_);
        reader_.setAutoTransform(true);
        if (!reader_.canRead()) return;
        header_.stored = reader_.size();
        const QSize s = header_.stored;
        if (s.width() <= 0 || s.height() <= 0 ||
            qint64(s.width()) * s.height() > picture::maxPixels)
            return;
        header_.rotated = reader_.transformation() & QImageIOHandler::TransformationRotate90;
        header_.ok = true;
    }
    const Header& header() const { return header_; }
    QImageReader& reader() { return reader_; }

  private:
    QFile file_; // outlives the reader that reads it
    QImageReader reader_;
    Header header_;
};

} // namespace

PictureProbe probePicture(const QString& path) {
    const PictureFile file(path);
    if (!file.header().ok) return {};
    return {true, file.header().upright()};
}

LoadedPicture loadPicture(const QString& path, const std::function<QSize(QSize)>& drawSize) {
    PictureFile file(path);
    const Header& h = file.header();
    if (!h.ok) return {};
    const QSize full = h.upright();
    const auto drawnSize = [&drawSize](QSize picture) {
        return drawSize ? drawSize(picture).expandedTo(QSize(1, 1)).boundedTo(picture) : picture;
    };
    QSize target = drawnSize(full);
    const bool scaled = target != full;
    // Only JPEG and SVG decode at a reduced size themselves; other readers decode in full
    // and shrink afterwards (Qt 6.4's PNG reader also returns garbage when asked to shrink
    // 1-bit and palette pictures). The scaled size applies to the stored picture, before it
    // is turned upright.
    const QByteArray format = file.reader().format();
    if (scaled && (format == "jpeg" || format == "jpg" || format == "svg" || format == "svgz"))
        file.reader().setScaledSize(h.rotated ? target.transposed() : target);
    LoadedPicture out;
    if (!file.reader().read(&out.image)) return {};
    out.original = full;
    if (!scaled && out.image.size() != full) {
        // The header understated the picture (a GIF whose first frame is smaller than its
        // canvas): what was decoded is the picture, drawn at the size asked for it.
        out.original = out.image.size();
        target = drawnSize(out.original);
    }
    if (out.image.size() != target) {
        // Smooth scaling needs true colour; palette and 1-bit pictures are converted first.
        if (out.image.format() == QImage::Format_Mono ||
            out.image.format() == QImage::Format_MonoLSB ||
            out.image.format() == QImage::Format_Indexed8)
            out.image.convertTo(out.image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                            : QImage::Format_RGB32);
        out.image = out.image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    return out;
}

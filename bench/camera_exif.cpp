#include "bench/camera_exif.h"

#include <QFile>
#include <exiv2/exiv2.hpp>

namespace hostile {

bool writeCameraExif(const QString& path, int orientation, const QByteArray& thumbnail,
                     const QList<std::pair<const char*, QString>>& tags) {
    try {
        const auto photo = Exiv2::ImageFactory::open(QFile::encodeName(path).toStdString());
        Exiv2::ExifData exif;
        for (const auto& [key, value] : tags)
            exif[key] = value.toStdString();
        exif["Exif.Image.Orientation"] = uint16_t(orientation);
        if (!thumbnail.isEmpty())
            Exiv2::ExifThumb(exif).setJpegThumbnail(
                reinterpret_cast<const Exiv2::byte*>(thumbnail.constData()),
                long(thumbnail.size()));
        photo->setExifData(exif);
        photo->writeMetadata();
        return true;
    } catch (const Exiv2::AnyError&) {
        return false;
    }
}

} // namespace hostile

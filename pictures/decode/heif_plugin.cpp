// HEIF and AVIF as an image format of the toolkit, built into the program: every reader of
// pictures in the program (and the list of formats it can read) sees them.
#define QT_STATICPLUGIN
#include "pictures/decode/heif.h"

#include <QImageIOPlugin>

namespace {

class HeifHandler : public QImageIOHandler {
  public:
    bool canRead() const override {
        if (!device() || !heif::isHeif(device()->peek(32))) return false;
        setFormat("heif");
        return true;
    }
    bool read(QImage* image) override {
        if (!device()) return false;
        *image = heif::decode(*device(), scaledSize_);
        if (!image->isNull() && scaledSize_.isValid() && image->size() != scaledSize_)
            *image = image->scaled(scaledSize_, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        return !image->isNull();
    }
    bool supportsOption(ImageOption option) const override {
        return option == Size || option == ScaledSize;
    }
    QVariant option(ImageOption option) const override {
        if (option != Size || !device()) return {};
        const qint64 at = device()->pos();
        const picture::Header h = heif::readHeader(*device());
        device()->seek(at);
        return h.ok() ? QVariant(h.stored) : QVariant();
    }
    void setOption(ImageOption option, const QVariant& value) override {
        if (option == ScaledSize) scaledSize_ = value.toSize();
    }

  private:
    QSize scaledSize_;
};

} // namespace

class HeifPlugin : public QImageIOPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QImageIOHandlerFactoryInterface_iid FILE "heif_plugin.json")
  public:
    Capabilities capabilities(QIODevice* device, const QByteArray& format) const override {
        if (format == "heif" || format == "heic" || format == "avif") return CanRead;
        if (!format.isEmpty() || !device || !device->isReadable()) return {};
        return heif::isHeif(device->peek(32)) ? CanRead : Capabilities();
    }
    QImageIOHandler* create(QIODevice* device, const QByteArray& format) const override {
        auto* handler = new HeifHandler;
        handler->setDevice(device);
        handler->setFormat(format);
        return handler;
    }
};

#include "heif_plugin.moc"

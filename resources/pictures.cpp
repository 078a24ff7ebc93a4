#include "resources/pictures.h"

namespace pictures {

namespace {
QImage load(const char* name) {
    QImage image(QStringLiteral(":/pictures/%1.png").arg(QLatin1String(name)));
    // A missing resource is a build fault; fail loudly in debug builds rather than draw nothing.
    Q_ASSERT_X(!image.isNull(), "pictures", name);
    return image;
}
// The picture drawn for twice the pixels, covering the same logical size.
QImage loadDouble(const char* name) {
    QImage image = load(name);
    image.setDevicePixelRatio(2);
    return image;
}
} // namespace

const QImage& bita(qreal dpr) {
    static const QImage image = load("bita");
    static const QImage twice = loadDouble("bita@2x");
    return dpr > 1 ? twice : image;
}

const QImage& busa(qreal dpr) {
    static const QImage image = load("busa");
    static const QImage twice = loadDouble("busa@2x");
    return dpr > 1 ? twice : image;
}

const QImage& notfound() {
    static const QImage image = load("notfound");
    return image;
}

const QImage& eesci() {
    static const QImage image = load("eesci");
    return image;
}

const QImage& eexit() {
    static const QImage image = load("eexit");
    return image;
}

const QImage& vetrinova(qreal dpr) {
    static const QImage image = load("vetrinova");
    static const QImage twice = loadDouble("vetrinova@2x");
    return dpr > 1 ? twice : image;
}

} // namespace pictures

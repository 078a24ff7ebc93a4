#include "resources/pictures.h"

namespace pictures {

namespace {
QImage load(const char* name) {
    QImage image(QStringLiteral(":/pictures/%1.png").arg(QLatin1String(name)));
    // A missing resource is a build fault; fail loudly in debug builds rather than draw nothing.
    Q_ASSERT_X(!image.isNull(), "pictures", name);
    return image;
}
} // namespace

const QImage& bita() {
    static const QImage image = load("bita");
    return image;
}

const QImage& busa() {
    static const QImage image = load("busa");
    return image;
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

const QImage& vetrinova() {
    static const QImage image = load("vetrinova");
    return image;
}

} // namespace pictures

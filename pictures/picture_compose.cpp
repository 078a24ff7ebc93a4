#include "pictures/picture_compose.h"

#include "pictures/fitting.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace picture_compose {

namespace {
bool scaled(qreal dpr) {
    return dpr > 1.0 && std::isfinite(dpr);
}
} // namespace

QSize deviceSize(QSize area, qreal dpr) {
    if (!scaled(dpr)) return area;
    return QSize(int(std::ceil(area.width() * dpr)), int(std::ceil(area.height() * dpr)));
}

QImage composeFitted(const QImage& picture, QSize original, QSize area, qreal dpr,
                     const QColor& fill) {
    if (area.width() <= 0 || area.height() <= 0) return QImage();
    const QSize device = deviceSize(area, dpr);
    QImage out(device, QImage::Format_RGB32);
    out.fill(fill);
    const QRect target = fitting::fitRect(original, device);
    if (!picture.isNull() && !target.isEmpty()) {
        QImage source = picture;
        source.setDevicePixelRatio(1.0); // the target rectangle is in device pixels
        QPainter p(&out);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(target, source);
    }
    if (scaled(dpr)) out.setDevicePixelRatio(dpr);
    return out;
}

void drawFrame(QImage& target, QRect frame, int thickness, const QColor& colour) {
    if (target.isNull() || thickness < 1 || frame.isEmpty()) return;
    const int t = std::min(thickness, kMaxFrameLine);
    QPainter p(&target);
    if (2 * qint64(t) >= frame.width() || 2 * qint64(t) >= frame.height()) {
        p.fillRect(frame, colour);
        return;
    }
    const int x = frame.x(), y = frame.y(), w = frame.width(), h = frame.height();
    p.fillRect(QRect(x, y, w, t), colour);
    p.fillRect(QRect(x, y + h - t, w, t), colour);
    p.fillRect(QRect(x, y + t, t, h - 2 * t), colour);
    p.fillRect(QRect(x + w - t, y + t, t, h - 2 * t), colour);
}

} // namespace picture_compose

// Draws the demo presentation at build time: eight pictures made for this program (dunes,
// a lake, a lighthouse, a night sky, a panorama, a forest, waves, a meadow) in landscape,
// portrait, square and panorama shapes, and a presentation file whose notes show every
// position, the three styles, the shadow, the box and frames.
//
//   vetrinova_make_demo OUTPUT_FOLDER [SCREEN_WIDTH SCREEN_HEIGHT]
//
// Writes OUTPUT_FOLDER/pictures/*.jpg|png and OUTPUT_FOLDER/Demo.v69. The frames are placed
// for the given screen (1920 x 1080 unless told) with the strip at the left at 10 percent.
#include "logic/state/presentation_file.h"
#include "pictures/fitting.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>
#include <QSaveFile>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

namespace {

constexpr int stripPercent = 10;

using Stops = std::vector<std::pair<double, QColor>>;

QLinearGradient vertical(double top, double bottom, const Stops& stops) {
    QLinearGradient g(0, top, 0, bottom);
    for (const auto& [at, colour] : stops)
        g.setColorAt(at, colour);
    return g;
}

void fillVertical(QPainter& p, const QRectF& r, const Stops& stops) {
    p.fillRect(r, vertical(r.top(), r.bottom(), stops));
}

QColor withAlpha(QColor c, int alpha) {
    c.setAlpha(alpha);
    return c;
}

// A soft round light: a radial gradient from the colour to nothing.
void glow(QPainter& p, QPointF centre, double radius, const QColor& colour) {
    QRadialGradient g(centre, radius);
    g.setColorAt(0, colour);
    g.setColorAt(1, withAlpha(colour, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(centre, radius, radius);
}

// A mountain ridge by midpoint displacement, closed along the bottom of the picture.
QPolygonF ridge(QRandomGenerator& rng, double width, double height, double baseY, double rough,
                const std::function<double(double)>& shape = {}) {
    const int n = 256;
    std::vector<double> y(n + 1, 0.0);
    double amplitude = rough;
    for (int step = n; step > 1; step /= 2, amplitude *= 0.55)
        for (int i = step / 2; i < n; i += step)
            y[size_t(i)] = (y[size_t(i - step / 2)] + y[size_t(i + step / 2)]) / 2 +
                           (rng.generateDouble() * 2 - 1) * amplitude;
    QPolygonF poly;
    poly << QPointF(0, height);
    for (int i = 0; i <= n; ++i) {
        const double x = width * i / n;
        poly << QPointF(x, baseY + y[size_t(i)] - (shape ? shape(x) : 0.0));
    }
    poly << QPointF(width, height);
    return poly;
}

// Film grain, so that the pictures look photographed rather than drawn.
void grain(QImage& image, QRandomGenerator& rng, int amount) {
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int d = int(rng.bounded(2 * amount + 1)) - amount;
            const QRgb c = line[x];
            line[x] = qRgb(std::clamp(qRed(c) + d, 0, 255), std::clamp(qGreen(c) + d, 0, 255),
                           std::clamp(qBlue(c) + d, 0, 255));
        }
    }
}

void stars(QPainter& p, QRandomGenerator& rng, const QRectF& r, int count, double maxSize) {
    p.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const QPointF at(r.left() + rng.generateDouble() * r.width(),
                         r.top() + rng.generateDouble() * r.height());
        const double s = 0.6 + rng.generateDouble() * rng.generateDouble() * maxSize;
        p.setBrush(QColor(255, 250, 235, 90 + int(rng.bounded(166))));
        p.drawEllipse(at, s, s);
    }
}

// A pine as stacked triangles.
void pine(QPainter& p, double x, double bottom, double h, const QColor& colour) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRect(QRectF(x - h * 0.02, bottom - h * 0.15, h * 0.04, h * 0.15));
    for (int k = 0; k < 4; ++k) {
        const double top = bottom - h + k * h * 0.18;
        const double base = top + h * 0.38;
        const double half = h * (0.12 + 0.05 * k);
        p.drawPolygon(QPolygonF{QPointF(x, top), QPointF(x - half, base), QPointF(x + half, base)});
    }
}

struct Picture {
    QString name;
    QSize size;
    // Draws the scene; returns the part of it that the note's frame surrounds.
    std::function<QRectF(QPainter&, QRandomGenerator&, QSize)> draw;
};

QRectF dunes(QPainter& p, QRandomGenerator&, QSize s) {
    const double w = s.width(), h = s.height();
    fillVertical(p, QRectF(0, 0, w, h * 0.7),
                 {{0, QColor(0x2b, 0x1b, 0x4a)},
                  {0.55, QColor(0xc8, 0x48, 0x5a)},
                  {0.85, QColor(0xf7, 0xa4, 0x40)},
                  {1, QColor(0xff, 0xd2, 0x7a)}});
    const QPointF sun(w * 0.69, h * 0.52);
    glow(p, sun, h * 0.35, QColor(255, 200, 120, 150));
    glow(p, sun, h * 0.09, QColor(255, 246, 210));
    const QColor lit[] = {QColor(0xc9, 0x6a, 0x45), QColor(0xb3, 0x55, 0x35),
                          QColor(0x9a, 0x43, 0x28), QColor(0x7e, 0x33, 0x1d)};
    for (int layer = 0; layer < 4; ++layer) {
        const double base = h * (0.6 + layer * 0.1);
        QPainterPath path(QPointF(0, h));
        for (int x = 0; x <= int(w); x += 8)
            path.lineTo(x, base + std::sin(x / w * (5 + layer * 2) + layer) * h * 0.03 +
                               std::sin(x / w * 13 + layer * 2.1) * h * 0.012);
        path.lineTo(w, h);
        path.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(vertical(base - h * 0.04, h, {{0, lit[layer].lighter(135)}, {1, lit[layer]}}));
        p.drawPath(path);
    }
    return QRectF(sun.x() - h * 0.11, sun.y() - h * 0.11, h * 0.22, h * 0.22);
}

QRectF lake(QPainter& p, QRandomGenerator& rng, QSize s) {
    const double w = s.width(), h = s.height(), horizon = h * 0.55;
    QImage upper(s, QImage::Format_RGB32);
    {
        QPainter u(&upper);
        u.setRenderHint(QPainter::Antialiasing);
        fillVertical(u, QRectF(0, 0, w, horizon),
                     {{0, QColor(0x4f, 0x8f, 0xd0)}, {1, QColor(0xd4, 0xe8, 0xf5)}});
        for (int i = 0; i < 9; ++i)
            glow(u, QPointF(rng.generateDouble() * w, h * (0.08 + rng.generateDouble() * 0.2)),
                 h * (0.06 + rng.generateDouble() * 0.08), QColor(255, 255, 255, 170));
        u.setPen(Qt::NoPen);
        u.setBrush(QColor(0x86, 0x99, 0xb8));
        u.drawPolygon(ridge(rng, w, horizon, horizon * 0.55, h * 0.22));
        const QPolygonF near = ridge(rng, w, horizon, horizon * 0.78, h * 0.16);
        u.setBrush(vertical(horizon * 0.4, horizon,
                            {{0, QColor(0x4e, 0x63, 0x57)}, {1, QColor(0x2a, 0x3d, 0x2e)}}));
        u.drawPolygon(near);
        for (double x = 0; x < w; x += w / 90)
            pine(u, x + rng.generateDouble() * 10, horizon + 2, h * (0.04 + rng.bounded(30) / 1e3),
                 QColor(0x1c, 0x2b, 0x1f));
    }
    p.drawImage(QPointF(0, 0), upper, QRectF(0, 0, w, horizon));
    p.fillRect(QRectF(0, horizon, w, h - horizon), QColor(0x2a, 0x46, 0x60));
    // The lake mirrors the shore, bluer and darker, broken by ripples.
    for (int y = int(horizon); y < s.height(); ++y) {
        const double d = y - horizon;
        const int source = std::clamp(int(horizon - d * 1.05), 0, int(horizon) - 1);
        const double shift = std::sin(d * 0.35) * (2 + d * 0.02);
        p.drawImage(QPointF(shift, y), upper, QRectF(0, source, w, 1));
    }
    p.fillRect(QRectF(0, horizon, w, h - horizon),
               vertical(horizon, h,
                        {{0, QColor(0x1d, 0x3a, 0x52, 90)}, {1, QColor(0x0c, 0x1f, 0x30, 200)}}));
    p.setPen(QPen(QColor(255, 255, 255, 40), 1.5));
    for (int i = 0; i < 60; ++i) {
        const double y = horizon + 4 + rng.generateDouble() * (h - horizon);
        const double x = rng.generateDouble() * w;
        p.drawLine(QPointF(x, y), QPointF(x + 30 + rng.generateDouble() * 120, y));
    }
    return QRectF(w * 0.3, horizon * 0.5, w * 0.4, horizon * 0.5);
}

QRectF lighthouse(QPainter& p, QRandomGenerator& rng, QSize s) {
    const double w = s.width(), h = s.height(), horizon = h * 0.7;
    fillVertical(p, QRectF(0, 0, w, horizon),
                 {{0, QColor(0x0f, 0x23, 0x40)},
                  {0.6, QColor(0x3d, 0x5a, 0x80)},
                  {1, QColor(0xe0, 0xa8, 0x72)}});
    stars(p, rng, QRectF(0, 0, w, horizon * 0.45), 120, 1.6);
    fillVertical(p, QRectF(0, horizon, w, h - horizon),
                 {{0, QColor(0x2b, 0x41, 0x57)}, {1, QColor(0x0b, 0x17, 0x22)}});
    p.setPen(QPen(QColor(0xf0, 0xc0, 0x90, 70), 2));
    for (int i = 0; i < 80; ++i) {
        const double y = horizon + 3 + rng.generateDouble() * (h - horizon) * 0.6;
        const double x = w * 0.55 + (rng.generateDouble() - 0.5) * w * 0.5;
        p.drawLine(QPointF(x, y), QPointF(x + 10 + rng.generateDouble() * 40, y));
    }
    const double cx = w * 0.52, top = h * 0.35, bottom = h * 0.68;
    const QPointF lantern(cx, top - h * 0.035);
    // Beams first, so that the tower stands in front of them.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 240, 180, 45));
    p.drawPolygon(QPolygonF{lantern, QPointF(0, top - h * 0.12), QPointF(0, top + h * 0.02)});
    p.drawPolygon(QPolygonF{lantern, QPointF(w, top - h * 0.08), QPointF(w, top + h * 0.05)});
    glow(p, lantern, w * 0.2, QColor(255, 230, 150, 170));
    QPainterPath cliff(QPointF(0, h));
    cliff.lineTo(0, h * 0.74);
    cliff.cubicTo(w * 0.2, h * 0.7, w * 0.3, h * 0.66, w * 0.45, bottom);
    cliff.lineTo(w * 0.62, bottom);
    cliff.cubicTo(w * 0.75, h * 0.7, w * 0.8, h * 0.78, w * 0.9, h * 0.8);
    cliff.lineTo(w * 0.86, h);
    cliff.closeSubpath();
    p.setBrush(vertical(bottom, h, {{0, QColor(0x2d, 0x2a, 0x28)}, {1, QColor(0x0e, 0x0d, 0x0c)}}));
    p.drawPath(cliff);
    const QPolygonF tower{QPointF(cx - w * 0.05, top), QPointF(cx + w * 0.05, top),
                          QPointF(cx + w * 0.075, bottom), QPointF(cx - w * 0.075, bottom)};
    QLinearGradient shade(cx - w * 0.075, 0, cx + w * 0.075, 0);
    shade.setColorAt(0, QColor(0xf5, 0xf1, 0xe8));
    shade.setColorAt(1, QColor(0x9a, 0x96, 0x90));
    p.setBrush(shade);
    p.drawPolygon(tower);
    p.save();
    QPainterPath clip;
    clip.addPolygon(tower);
    p.setClipPath(clip);
    for (int band = 0; band < 5; band += 2)
        p.fillRect(QRectF(0, top + (bottom - top) * band / 5, w, (bottom - top) / 5),
                   QColor(0xb0, 0x22, 0x2a, 220));
    p.restore();
    p.setBrush(QColor(0x22, 0x22, 0x24));
    p.drawRect(QRectF(cx - w * 0.07, top - h * 0.006, w * 0.14, h * 0.008));
    p.setBrush(QColor(0xff, 0xe9, 0x9a));
    p.drawRect(QRectF(cx - w * 0.035, top - h * 0.05, w * 0.07, h * 0.044));
    p.setBrush(QColor(0x22, 0x22, 0x24));
    p.drawPolygon(QPolygonF{QPointF(cx - w * 0.05, top - h * 0.05),
                            QPointF(cx + w * 0.05, top - h * 0.05), QPointF(cx, top - h * 0.085)});
    return QRectF(cx - w * 0.1, top - h * 0.1, w * 0.2, h * 0.12);
}

QRectF nightSky(QPainter& p, QRandomGenerator& rng, QSize s) {
    const double w = s.width(), h = s.height();
    fillVertical(p, QRectF(0, 0, w, h),
                 {{0, QColor(0x02, 0x03, 0x0a)},
                  {0.6, QColor(0x0b, 0x18, 0x38)},
                  {1, QColor(0x24, 0x34, 0x60)}});
    p.save();
    p.translate(w / 2, h / 2);
    p.rotate(-35);
    glow(p, QPointF(0, 0), w * 0.5, QColor(120, 130, 180, 40));
    p.scale(1, 0.18);
    glow(p, QPointF(0, 0), w * 0.7, QColor(200, 190, 230, 60));
    p.restore();
    stars(p, rng, QRectF(0, 0, w, h * 0.8), 900, 2.2);
    const QPointF moon(w * 0.74, h * 0.22);
    glow(p, moon, h * 0.2, QColor(230, 230, 200, 90));
    QPainterPath disc, shadow;
    disc.addEllipse(moon, h * 0.075, h * 0.075);
    shadow.addEllipse(moon + QPointF(h * 0.035, -h * 0.02), h * 0.07, h * 0.07);
    p.setBrush(QColor(0xf4, 0xf1, 0xdc));
    p.drawPath(disc.subtracted(shadow));
    p.setBrush(QColor(0x10, 0x14, 0x1c));
    p.drawPolygon(ridge(rng, w, h, h * 0.8, h * 0.09));
    p.setBrush(QColor(0x04, 0x05, 0x08));
    p.drawPolygon(ridge(rng, w, h, h * 0.9, h * 0.05));
    for (int i = 0; i < 6; ++i)
        pine(p, w * (0.05 + i * 0.05), h * 0.93, h * (0.12 + rng.bounded(60) / 1e3),
             QColor(0x03, 0x04, 0x06));
    p.setBrush(QColor(0xff, 0xc8, 0x6e));
    p.drawRect(QRectF(w * 0.6, h * 0.87, w * 0.012, h * 0.012));
    return QRectF(moon.x() - h * 0.12, moon.y() - h * 0.12, h * 0.24, h * 0.24);
}

QRectF panorama(QPainter& p, QRandomGenerator& rng, QSize s) {
    const double w = s.width(), h = s.height();
    fillVertical(p, QRectF(0, 0, w, h),
                 {{0, QColor(0x6f, 0xa3, 0xdb)}, {0.55, QColor(0xe8, 0xf1, 0xf7)}});
    for (int i = 0; i < 14; ++i)
        glow(p, QPointF(rng.generateDouble() * w, h * (0.06 + rng.generateDouble() * 0.2)),
             h * (0.05 + rng.generateDouble() * 0.07), QColor(255, 255, 255, 160));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xa9, 0xb8, 0xcc));
    p.drawPolygon(ridge(rng, w, h, h * 0.5, h * 0.18));
    const double peakX = w * 0.66;
    auto bump = [peakX, h, w](double x) {
        const double d = (x - peakX) / (w * 0.05);
        return h * 0.3 * std::exp(-d * d);
    };
    const QPolygonF middle = ridge(rng, w, h, h * 0.62, h * 0.14, bump);
    p.setBrush(vertical(h * 0.25, h * 0.7,
                        {{0, QColor(0x6b, 0x7f, 0x95)}, {1, QColor(0x45, 0x55, 0x68)}}));
    p.drawPolygon(middle);
    // Snow on what stands above the snow line.
    p.save();
    QPainterPath snowLine;
    snowLine.addRect(QRectF(0, 0, w, h * 0.47));
    p.setClipPath(snowLine);
    p.setBrush(QColor(0xf4, 0xf7, 0xfa));
    p.drawPolygon(middle);
    p.restore();
    double peakY = h;
    for (const QPointF& pt : middle)
        if (std::abs(pt.x() - peakX) < w * 0.03) peakY = std::min(peakY, pt.y());
    p.setBrush(
        vertical(h * 0.6, h, {{0, QColor(0x4a, 0x6b, 0x3a)}, {1, QColor(0x2b, 0x40, 0x22)}}));
    p.drawPolygon(ridge(rng, w, h, h * 0.8, h * 0.06));
    fillVertical(p, QRectF(0, h * 0.9, w, h * 0.1),
                 {{0, QColor(0x6d, 0x8f, 0x3e, 0)}, {1, QColor(0x6d, 0x8f, 0x3e)}});
    return QRectF(peakX - w * 0.07, peakY - h * 0.06, w * 0.14, h * 0.3);
}

QRectF forest(QPainter& p, QRandomGenerator& rng, QSize s) {
    const double w = s.width(), h = s.height();
    fillVertical(p, QRectF(0, 0, w, h),
                 {{0, QColor(0xe6, 0xec, 0xe8)}, {1, QColor(0x9f, 0xb3, 0xab)}});
    const QColor layers[] = {QColor(0xb7, 0xc6, 0xbf), QColor(0x8f, 0xa5, 0x9a),
                             QColor(0x5e, 0x78, 0x6a), QColor(0x30, 0x4a, 0x3b),
                             QColor(0x16, 0x26, 0x1c)};
    for (int layer = 0; layer < 5; ++layer) {
        const double ground = h * (0.52 + layer * 0.1);
        const double size = h * (0.18 + layer * 0.09);
        for (double x = -40; x < w + 40; x += size * (0.22 + rng.generateDouble() * 0.2))
            pine(p, x, ground, size * (0.8 + rng.generateDouble() * 0.4), layers[layer]);
        p.fillRect(QRectF(0, ground, w, h - ground), layers[layer]);
        fillVertical(p, QRectF(0, ground - size * 0.5, w, size * 0.6),
                     {{0, QColor(255, 255, 255, 0)}, {1, QColor(240, 244, 242, 110)}});
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 250, 225, 28));
    for (int i = 0; i < 4; ++i) {
        const double x = w * (0.45 + i * 0.15);
        p.drawPolygon(QPolygonF{QPointF(x, 0), QPointF(x + w * 0.06, 0), QPointF(x - w * 0.25, h),
                                QPointF(x - w * 0.4, h)});
    }
    return QRectF(0, 0, w, h * 0.5);
}

QRectF waves(QPainter& p, QRandomGenerator& rng, QSize s) {
    const double w = s.width(), h = s.height(), horizon = h * 0.44;
    fillVertical(p, QRectF(0, 0, w, horizon),
                 {{0, QColor(0x6f, 0xa8, 0xd6)}, {1, QColor(0xf3, 0xd9, 0xb1)}});
    glow(p, QPointF(w * 0.2, horizon * 0.6), h * 0.25, QColor(255, 250, 220, 140));
    fillVertical(p, QRectF(0, horizon, w, h - horizon),
                 {{0, QColor(0x2a, 0x7a, 0x96)}, {1, QColor(0x0c, 0x36, 0x4e)}});
    for (int row = 0; row < 40; ++row) {
        const double y = horizon + std::pow(row / 40.0, 1.6) * (h - horizon);
        const double amp = 1 + row * 0.2;
        QPainterPath line(QPointF(0, y));
        for (int x = 0; x <= int(w); x += 10)
            line.lineTo(x, y + std::sin(x * (0.02 - row * 3e-4) + row * 1.7) * amp);
        p.setPen(QPen(QColor(255, 255, 255, 16 + row / 2), 1 + row * 0.05));
        p.setBrush(Qt::NoBrush);
        p.drawPath(line);
    }
    // One wave breaking towards the beach.
    const double crestY = h * 0.68, left = w * 0.3, right = w * 0.72;
    QPainterPath wave(QPointF(left, crestY + h * 0.08));
    wave.cubicTo(left + (right - left) * 0.3, crestY - h * 0.02, right - (right - left) * 0.3,
                 crestY - h * 0.06, right, crestY);
    wave.cubicTo(right + w * 0.02, crestY + h * 0.04, right - w * 0.03, crestY + h * 0.06,
                 right - w * 0.06, crestY + h * 0.1);
    wave.lineTo(left, crestY + h * 0.12);
    wave.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(vertical(crestY - h * 0.06, crestY + h * 0.12,
                        {{0, QColor(0x5c, 0xb4, 0xc4)}, {1, QColor(0x13, 0x4e, 0x66)}}));
    p.drawPath(wave);
    for (int i = 0; i < 400; ++i) {
        const double t = rng.generateDouble();
        const double x = left + t * (right - left) + rng.generateDouble() * 30;
        const double y =
            crestY + h * 0.06 - std::sin(t * 2.6) * h * 0.1 + rng.generateDouble() * 14;
        p.setBrush(QColor(255, 255, 255, 80 + int(rng.bounded(150))));
        p.drawEllipse(QPointF(x, y), 2 + rng.generateDouble() * 5, 1.5 + rng.generateDouble() * 3);
    }
    QPainterPath sand(QPointF(w * 0.55, h));
    sand.cubicTo(w * 0.7, h * 0.9, w * 0.85, h * 0.86, w, h * 0.8);
    sand.lineTo(w, h);
    sand.closeSubpath();
    p.setBrush(
        vertical(h * 0.8, h, {{0, QColor(0xd9, 0xc0, 0x8a)}, {1, QColor(0xe8, 0xd3, 0xa2)}}));
    p.drawPath(sand);
    p.setPen(QPen(QColor(255, 255, 255, 180), 5));
    p.setBrush(Qt::NoBrush);
    QPainterPath foam(QPointF(w * 0.55, h));
    foam.cubicTo(w * 0.7, h * 0.9, w * 0.85, h * 0.86, w, h * 0.8);
    p.drawPath(foam);
    return QRectF(left - w * 0.02, crestY - h * 0.09, right - left + w * 0.06, h * 0.24);
}

QRectF meadow(QPainter& p, QRandomGenerator& rng, QSize s) {
    const double w = s.width(), h = s.height(), horizon = h * 0.52;
    fillVertical(p, QRectF(0, 0, w, horizon + h * 0.1),
                 {{0, QColor(0x7f, 0xbc, 0xe8)}, {1, QColor(0xf4, 0xf9, 0xfc)}});
    for (int i = 0; i < 7; ++i)
        glow(p, QPointF(rng.generateDouble() * w, h * (0.08 + rng.generateDouble() * 0.22)),
             h * (0.05 + rng.generateDouble() * 0.06), QColor(255, 255, 255, 190));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x8d, 0xae, 0x6e));
    p.drawPolygon(ridge(rng, w, h, horizon, h * 0.05));
    fillVertical(p, QRectF(0, horizon + h * 0.03, w, h),
                 {{0, QColor(0x76, 0xa3, 0x3f)}, {1, QColor(0x35, 0x62, 0x1e)}});
    // A tree on the left: trunk and a crown of overlapping leaves.
    p.setBrush(QColor(0x4a, 0x33, 0x22));
    p.drawRect(QRectF(w * 0.14, horizon - h * 0.1, w * 0.02, h * 0.16));
    for (int i = 0; i < 40; ++i) {
        const QPointF at(w * 0.15 + (rng.generateDouble() - 0.5) * w * 0.14,
                         horizon - h * 0.16 + (rng.generateDouble() - 0.5) * h * 0.14);
        p.setBrush(QColor(0x2e + int(rng.bounded(30)), 0x5a + int(rng.bounded(40)), 0x22, 230));
        p.drawEllipse(at, h * 0.035, h * 0.03);
    }
    const QColor petals[] = {QColor(0xe6, 0x3b, 0x3b), QColor(0xf5, 0xd0, 0x2a),
                             QColor(0x9b, 0x59, 0xd0), QColor(0xff, 0xff, 0xff)};
    for (int i = 0; i < 900; ++i) {
        const double depth = rng.generateDouble();
        const double y = horizon + h * 0.04 + depth * depth * (h - horizon);
        const double size = 1.5 + depth * depth * 12;
        const double x = rng.generateDouble() * w;
        p.setPen(QPen(QColor(0x2f, 0x55, 0x1a), std::max(1.0, size * 0.2)));
        p.drawLine(QPointF(x, y), QPointF(x, y + size * 2.5));
        p.setPen(Qt::NoPen);
        p.setBrush(petals[rng.bounded(4)]);
        p.drawEllipse(QPointF(x, y), size, size * 0.8);
    }
    for (int i = 0; i < 6; ++i)
        glow(p, QPointF(rng.generateDouble() * w, h * (0.85 + rng.generateDouble() * 0.1)),
             h * 0.08, QColor(255, 240, 200, 60));
    return QRectF(w * 0.05, horizon - h * 0.3, w * 0.2, h * 0.35);
}

// The frame of a note: the picture's feature where the fitting rule puts it on the screen.
QRect frameOn(QSize picture, const QRectF& feature, QSize area) {
    const QRect fit = fitting::fitRect(picture, area);
    const double f = double(fit.width()) / picture.width();
    return QRectF(fit.x() + feature.x() * f, fit.y() + feature.y() * f, feature.width() * f,
                  feature.height() * f)
        .toRect();
}

struct NoteStyle {
    QString text, font;
    int size;
    bool bold, italic, underline;
    int position;
    bool frame;
    int frameWidth;
};

presentation_file::Note noteOf(const NoteStyle& n, const QRect& frame) {
    auto flag = [](bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); };
    presentation_file::Note cells;
    cells[note::Text] = n.text;
    cells[note::Font] = n.font;
    cells[note::Size] = QString::number(n.size);
    cells[note::Bold] = flag(n.bold);
    cells[note::Italic] = flag(n.italic);
    cells[note::Underline] = flag(n.underline);
    cells[note::Position] = QString::number(n.position);
    cells[note::FrameOn] = flag(n.frame);
    if (n.frame) {
        cells[note::FrameLeft] = QString::number(frame.x());
        cells[note::FrameTop] = QString::number(frame.y());
        cells[note::FrameWidth] = QString::number(frame.width());
        cells[note::FrameHeight] = QString::number(frame.height());
        cells[note::FrameLine] = QString::number(n.frameWidth);
    }
    return cells;
}

bool fail(const QString& what) {
    std::fprintf(stderr, "vetrinova_make_demo: %s\n", qPrintable(what));
    return false;
}

bool makeDemo(const QString& outFolder, QSize screen) {
    const QString sans = QStringLiteral("Liberation Sans");
    const QString serif = QStringLiteral("Liberation Serif");
    const std::vector<std::pair<Picture, NoteStyle>> demo = {
        {{"01 Dunes.jpg", {1800, 1200}, dunes},
         {"Dunes at sunset", sans, 36, true, false, false, 0, true, 3}},
        {{"02 Lake.jpg", {1600, 1200}, lake},
         {"A quiet mountain lake", serif, 38, false, true, false, 1, false, 0}},
        {{"03 Lighthouse.jpg", {1000, 1500}, lighthouse},
         {"The lighthouse at dusk", sans, 32, false, false, true, 2, true, 2}},
        {{"04 Night sky.png", {1200, 1200}, nightSky},
         {"Moonrise over the hills", serif, 36, true, true, false, 3, false, 0}},
        {{"05 Panorama.jpg", {3200, 900}, panorama},
         {"Alpine panorama", sans, 36, true, false, true, 4, true, 4}},
        {{"06 Forest.jpg", {1080, 1440}, forest},
         {"Pines in the morning mist", serif, 34, false, true, true, 5, false, 0}},
        {{"07 Waves.jpg", {1920, 1080}, waves},
         {"Waves: bold, italic, underlined", sans, 32, true, true, true, 1, true, 6}},
        {{"08 Meadow.jpg", {1400, 1000}, meadow},
         {"Spring meadow", serif, 40, false, false, false, 0, false, 0}},
    };

    QDir out(outFolder);
    QDir pictures(out.filePath(QStringLiteral("pictures")));
    // Only this program's pictures: a file left from an earlier demo would shift the notes.
    if (pictures.exists() && !pictures.removeRecursively())
        return fail("cannot clear " + pictures.path());
    if (!QDir().mkpath(pictures.path())) return fail("cannot create " + pictures.path());

    const int strip = screen.width() * stripPercent / 100;
    const QSize area(screen.width() - strip - 1, screen.height());
    presentation_file::Data d;
    d.folder = QDir::toNativeSeparators(pictures.absolutePath());
    d.thumb_pos = edge::Left;
    d.percent = stripPercent;
    const QColor colours[colour::kCount] = {
        QColor(0x3a, 0x3f, 0x47), // thumbnail cells
        QColor(0x1c, 0x1f, 0x24), // strip background
        QColor(0x0b, 0x0c, 0x0e), // around the picture
        QColor(0xff, 0xf6, 0xe0), // note text
        QColor(0x1f, 0x3a, 0x5f), // note box
        QColor(0x00, 0x00, 0x00), // shadow
        QColor(0xff, 0xc4, 0x2e), // frames
    };
    for (int i = 0; i < colour::kCount; ++i)
        presentation_file::setColour(d, i, colours[i]);
    d.fill = true;
    d.display = true;
    d.ombra = 3;
    d.count = int(demo.size());

    QRandomGenerator rng(69);
    for (const auto& [picture, style] : demo) {
        QImage image(picture.size, QImage::Format_RGB32);
        image.fill(Qt::black);
        QRectF feature;
        {
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            feature = picture.draw(p, rng, picture.size);
        }
        grain(image, rng, 5);
        const QString path = pictures.filePath(picture.name);
        if (!image.save(path, nullptr, 90)) return fail("cannot write " + path);
        d.notes.push_back(noteOf(style, frameOn(picture.size, feature, area)));
    }

    QSaveFile file(out.filePath(QStringLiteral("Demo.v69")));
    const QByteArray bytes = presentation_file::write(d);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return fail("cannot write " + file.fileName());
    return true;
}

} // namespace

// The demo as installed: the same file naming the picture folder where it was installed.
int relocate(const QString& from, const QString& to, const QString& folder) {
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly)) return fail("cannot read " + from) ? 0 : 1;
    QByteArray bytes = in.readAll();
    const qsizetype end = bytes.indexOf('\r');
    if (end < 0) return fail(from + " is not a presentation") ? 0 : 1;
    bytes.replace(0, end, QDir::toNativeSeparators(folder).toUtf8());
    QSaveFile out(to);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        return fail("cannot write " + to) ? 0 : 1;
    return 0;
}

int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], "--relocate") == 0)
        return relocate(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                        QString::fromLocal8Bit(argv[4]));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() != 2 && args.size() != 4) {
        std::fprintf(stderr, "usage: vetrinova_make_demo OUTPUT_FOLDER [WIDTH HEIGHT]\n"
                             "       vetrinova_make_demo --relocate DEMO COPY FOLDER\n");
        return 2;
    }
    QSize screen(1920, 1080);
    if (args.size() == 4) {
        screen = QSize(args[2].toInt(), args[3].toInt());
        if (screen.width() < 320 || screen.height() < 240 || screen.width() > 16384 ||
            screen.height() > 16384) {
            std::fprintf(stderr, "vetrinova_make_demo: screen size out of range\n");
            return 2;
        }
    }
    return makeDemo(args[1], screen) ? 0 : 1;
}

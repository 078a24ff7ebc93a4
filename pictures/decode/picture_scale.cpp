#include "pictures/decode/picture_scale.h"

#include <QColorSpace>
#include <QColorTransform>
#include <QTransform>
#include <algorithm>
#include <vector>

namespace picture {

namespace {

// Formats the toolkit's smooth scaling reads as they are and gives back in 32-bit pixels.
// Others it converts whole first, and those of 16-bit samples it gives back in 16-bit ones, at
// twice the memory: all of these go through the band-wise mean instead.
bool scalesInPlace(QImage::Format f) {
    switch (f) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32_Premultiplied:
    case QImage::Format_RGBX8888:
    case QImage::Format_RGBA8888_Premultiplied:
        return true;
    default:
        return false;
    }
}

// Where each source column (or row) goes: the output column it starts in and the share of it
// that falls there; the rest falls into the next one.
struct Spans {
    std::vector<int> index;
    std::vector<float> share;
};

Spans spans(int from, int to) {
    Spans s;
    s.index.resize(size_t(from));
    s.share.resize(size_t(from));
    const double step = double(from) / to; // source pixels per output pixel, at least 1
    for (int i = 0; i < from; ++i) {
        const int o = std::min(int(i / step), to - 1);
        const double boundary = (o + 1) * step;
        s.index[size_t(i)] = o;
        s.share[size_t(i)] = o + 1 == to || boundary >= i + 1 ? 1.f : float(boundary - i);
    }
    return s;
}

// Each output column's source columns: those wholly inside it, one run of them, summed as
// integers; the few it shares with the next column are weighed.
struct Columns {
    std::vector<int> first, end; // of the run inside output column o
    std::vector<int> shared;     // source columns split between two output columns
};

Columns columns(const Spans& xs, int to) {
    Columns c;
    c.first.assign(size_t(to), 0);
    c.end.assign(size_t(to), 0);
    for (size_t x = 0; x < xs.index.size(); ++x) {
        const size_t o = size_t(xs.index[x]);
        if (xs.share[x] < 1.f) {
            c.shared.push_back(int(x));
        } else {
            if (c.end[o] == c.first[o]) c.first[o] = int(x);
            c.end[o] = int(x) + 1;
        }
    }
    return c;
}

// How a band of source rows is read: 32-bit pixels, grey bytes, or grey 16-bit words.
enum class Samples { Rgb32, Grey8, Grey16 };

// Adds one source row to `row` (four sums per output column: red, green, blue and alpha, or
// the grey level alone, on a scale of 0 to 255).
void addRow(const uchar* line, Samples samples, const Spans& xs, const Columns& c,
            std::vector<float>& row) {
    const auto* words = reinterpret_cast<const quint16*>(line);
    const auto channel = [line, words, samples](int x, int k) -> float {
        if (samples == Samples::Grey8) return line[x];
        if (samples == Samples::Grey16) return float(words[x]) * (255.f / 65535.f);
        const QRgb p = reinterpret_cast<const QRgb*>(line)[x];
        return float(k == 0 ? qRed(p) : k == 1 ? qGreen(p) : k == 2 ? qBlue(p) : qAlpha(p));
    };
    const int channels = samples == Samples::Rgb32 ? 4 : 1;
    for (size_t o = 0; o < c.first.size(); ++o) {
        quint64 sum[4] = {0, 0, 0, 0};
        if (samples == Samples::Grey8) {
            for (int x = c.first[o]; x < c.end[o]; ++x)
                sum[0] += line[x];
        } else if (samples == Samples::Grey16) {
            for (int x = c.first[o]; x < c.end[o]; ++x)
                sum[0] += words[x];
        } else {
            const auto* pixels = reinterpret_cast<const QRgb*>(line);
            for (int x = c.first[o]; x < c.end[o]; ++x) {
                const QRgb p = pixels[x];
                sum[0] += quint32(qRed(p));
                sum[1] += quint32(qGreen(p));
                sum[2] += quint32(qBlue(p));
                sum[3] += quint32(qAlpha(p));
            }
        }
        const float scale = samples == Samples::Grey16 ? 255.f / 65535.f : 1.f;
        for (int k = 0; k < channels; ++k)
            row[o * 4 + size_t(k)] += float(sum[k]) * scale;
    }
    for (const int x : c.shared) {
        const size_t o = size_t(xs.index[size_t(x)]);
        const float a = xs.share[size_t(x)];
        for (int k = 0; k < channels; ++k) {
            const float v = channel(x, k);
            row[o * 4 + size_t(k)] += a * v;
            row[(o + 1) * 4 + size_t(k)] += (1.f - a) * v;
        }
    }
}

// The mean of each output pixel's area, a band of source rows at a time: only a band is
// ever converted to a format whose pixels can be summed (grey pictures read as they are or as
// bytes, others as 32-bit pixels).
QImage areaMean(const QImage& src, QSize size) {
    const int w = size.width(), h = size.height();
    const bool alpha = src.hasAlphaChannel();
    const QImage::Format work = alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    const Samples samples = src.format() == QImage::Format_Grayscale16        ? Samples::Grey16
                            : !alpha && src.depth() <= 8 && src.isGrayscale() ? Samples::Grey8
                                                                              : Samples::Rgb32;
    const bool grey = samples != Samples::Rgb32;
    QImage out(size, work);
    if (out.isNull()) return {};
    const Spans xs = spans(src.width(), w), ys = spans(src.height(), h);
    const Columns cs = columns(xs, w);
    const float area = float(double(src.width()) / w * double(src.height()) / h);
    std::vector<float> row(size_t(w) * 4), current(size_t(w) * 4, 0.f), next(size_t(w) * 4, 0.f);
    for (int y0 = 0; y0 < src.height(); y0 += kShrinkBand) {
        const int n = std::min(kShrinkBand, src.height() - y0);
        QImage rows(src.constScanLine(y0), src.width(), n, src.bytesPerLine(), src.format());
        rows.setColorTable(src.colorTable());
        const bool asIs = src.format() == QImage::Format_Grayscale8 || samples == Samples::Grey16;
        const QImage pixels = asIs   ? rows
                              : grey ? rows.convertToFormat(QImage::Format_Grayscale8)
                                     : rows.convertToFormat(work);
        if (pixels.isNull()) return {};
        for (int r = 0; r < n; ++r) {
            std::fill(row.begin(), row.end(), 0.f);
            addRow(pixels.constScanLine(r), samples, xs, cs, row);
            const int sy = y0 + r, oy = ys.index[size_t(sy)];
            const float a = ys.share[size_t(sy)];
            for (size_t k = 0; k < row.size(); ++k) {
                current[k] += a * row[k];
                next[k] += (1.f - a) * row[k];
            }
            if (sy + 1 < src.height() && ys.index[size_t(sy + 1)] == oy) continue;
            // Output row oy has all its source rows.
            auto* o = reinterpret_cast<QRgb*>(out.scanLine(oy));
            for (int x = 0; x < w; ++x) {
                int v[4];
                for (int k = 0; k < 4; ++k)
                    v[k] =
                        std::clamp(int(current[size_t(x) * 4 + size_t(k)] / area + 0.5f), 0, 255);
                if (grey) v[1] = v[2] = v[0];
                const int alphaValue = alpha ? v[3] : 255;
                o[x] = qRgba(std::min(v[0], alphaValue), std::min(v[1], alphaValue),
                             std::min(v[2], alphaValue), alphaValue);
            }
            current.swap(next);
            std::fill(next.begin(), next.end(), 0.f);
        }
    }
    out.setColorSpace(src.colorSpace());
    return out;
}

// Many programs write sRGB PNGs as gamma 1/2.2 with chromaticities near sRGB's: sRGB is meant,
// and converting would only move the darkest greys by a few levels.
bool nearlySrgb(const QColorSpace& space) {
    // sRGB's colours in that space (the other way, saturated colours would clip to themselves).
    const QColorTransform t = QColorSpace(QColorSpace::SRgb).transformationToColorSpace(space);
    for (const QRgb c : {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 255),
                         qRgb(128, 128, 128), qRgb(24, 24, 24)}) {
        const QRgb m = t.map(c);
        if (std::abs(qRed(m) - qRed(c)) + std::abs(qGreen(m) - qGreen(c)) +
                std::abs(qBlue(m) - qBlue(c)) >
            24)
            return false;
    }
    return true;
}

} // namespace

qint64 shrinkBytes(QSize from, QSize to) {
    // The band converted, the spans across and down, and three rows of sums.
    return qint64(kShrinkBand) * from.width() * 4 + 8 * (qint64(from.width()) + from.height()) +
           qint64(to.width()) * 48;
}

QImage shrink(const QImage& image, QSize size) {
    if (image.isNull() || size == image.size()) return image;
    size = size.expandedTo(QSize(1, 1)).boundedTo(image.size());
    if (scalesInPlace(image.format()))
        return image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return areaMean(image, size);
}

QImage turned(const QImage& image, QImageIOHandler::Transformations t) {
    if (t == QImageIOHandler::TransformationNone) return image;
    if (t == QImageIOHandler::TransformationRotate270)
        return image.transformed(QTransform().rotate(270));
    QImage out = image.mirrored(t & QImageIOHandler::TransformationMirror,
                                t & QImageIOHandler::TransformationFlip);
    if (t & QImageIOHandler::TransformationRotate90) out = out.transformed(QTransform().rotate(90));
    return out;
}

void toSrgb(QImage& image) {
    const QColorSpace space = image.colorSpace();
    if (image.isNull() || !space.isValid() || space == QColorSpace::SRgb) return;
    if (nearlySrgb(space)) return;
    if (image.depth() < 32)
        image.convertTo(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    image.convertToColorSpace(QColorSpace::SRgb);
}

} // namespace picture

#include "base/values.h"

#include <QByteArray>
#include <QLocale>
#include <cmath>
#include <cstdlib>
#include <limits>

double Val(const QString& text) {
    int i = 0;
    const int n = int(text.size());
    while (i < n && text[i] == QLatin1Char(' '))
        ++i;
    QByteArray num;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        num += char(text[i++].toLatin1());
    int digits = 0;
    while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
        num += char(text[i++].toLatin1());
        ++digits;
    }
    if (i < n && text[i] == QLatin1Char('.')) {
        num += '.';
        ++i;
        while (i < n && text[i].unicode() < 128 && text[i].isDigit()) {
            num += char(text[i++].toLatin1());
            ++digits;
        }
    }
    if (digits == 0) return 0;
    // An exponent counts only when at least one digit follows it.
    if (i < n && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        int j = i + 1;
        QByteArray exp = "e";
        if (j < n && (text[j] == QLatin1Char('-') || text[j] == QLatin1Char('+')))
            exp += char(text[j++].toLatin1());
        int expDigits = 0;
        while (j < n && text[j].unicode() < 128 && text[j].isDigit()) {
            exp += char(text[j++].toLatin1());
            ++expDigits;
        }
        if (expDigits > 0) num += exp;
    }
    const double d = std::strtod(num.constData(), nullptr);
    return std::isfinite(d)
               ? d
               : (d > 0 ? std::numeric_limits<double>::max() : -std::numeric_limits<double>::max());
}

int toInt(double x) {
    if (std::isnan(x)) return 0;
    if (x >= 2147483647.0) return std::numeric_limits<int>::max();
    if (x <= -2147483648.0) return std::numeric_limits<int>::min();
    return int(std::trunc(x));
}

QString Str(int n) {
    return QString::number(n);
}

QString Str(double x) {
    if (x == 0) return QStringLiteral("0"); // also for -0
    return QString::number(x, 'g', QLocale::FloatingPointShortest);
}

namespace {
double unit(double x) {
    if (std::isnan(x) || x < 0) return 0;
    return x > 1 ? 1 : x;
}
// Channel of a component 0..1; the small bias keeps c / 255 * 255 at c.
int channel(double x) {
    return int(std::floor(unit(x) * 255.0 + 1e-7));
}
} // namespace

QColor HSV(double h, double s, double v) {
    h = unit(h);
    s = unit(s);
    v = unit(v);
    double r = v, g = v, b = v;
    if (s > 0) {
        double hh = h * 6.0;
        if (hh >= 6.0) hh = 0;
        const int sector = int(hh);
        const double f = hh - sector;
        const double p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
        switch (sector) {
        case 0:
            r = v, g = t, b = p;
            break;
        case 1:
            r = q, g = v, b = p;
            break;
        case 2:
            r = p, g = v, b = t;
            break;
        case 3:
            r = p, g = q, b = v;
            break;
        case 4:
            r = t, g = p, b = v;
            break;
        default:
            r = v, g = p, b = q;
            break;
        }
    }
    return QColor(channel(r), channel(g), channel(b));
}

HsvComponents toHsv(const QColor& c) {
    const double r = c.red() / 255.0, g = c.green() / 255.0, b = c.blue() / 255.0;
    const double mx = std::max({r, g, b}), mn = std::min({r, g, b});
    HsvComponents out;
    out.v = mx;
    const double d = mx - mn;
    if (mx <= 0 || d <= 0) return out;
    out.s = d / mx;
    double h;
    if (mx == r)
        h = (g - b) / d;
    else if (mx == g)
        h = 2 + (b - r) / d;
    else
        h = 4 + (r - g) / d;
    h /= 6.0;
    if (h < 0) h += 1;
    out.h = h;
    return out;
}

#pragma once
// Number and colour conversions shared by every window and by the presentation file.
#include <QColor>
#include <QString>

// Leading number of a text: optional blanks, sign, digits, fraction and exponent.
// Anything else ends the number (a tab included); a text without a number reads 0.
double Val(const QString& text);

// Window coordinates and sizes computed from stored numbers are held within +-kFar: nothing
// that far out can be seen on any screen, and values from a damaged file then stay clear of
// integer overflow.
inline constexpr int kFar = 1 << 20;

// Real to 32-bit integer: drops the fraction, saturates at the integer limits, NaN gives 0.
int toInt(double x);

// Decimal text of an integer, and of a real in the shortest form that reads back the same value.
QString Str(int n);
QString Str(double x);

// Colour from hue, saturation and value (each 0..1, hexcone model) with 8 bits per channel.
// Components outside 0..1 are clamped, NaN reads 0.
QColor HSV(double h, double s, double v);

struct HsvComponents {
    double h = 0;
    double s = 0;
    double v = 0;
};
// The three components back from an 8-bit colour. An achromatic colour reads hue 0.
HsvComponents toHsv(const QColor& c);

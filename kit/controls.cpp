#include "kit/controls.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <algorithm>

namespace fw {

QFont makeFont(const QString& family, int pixelSize, bool bold, bool italic, bool underline) {
    QFont f(family);
    f.setPixelSize(std::clamp(pixelSize, 1, 2000));
    f.setBold(bold);
    f.setItalic(italic);
    f.setUnderline(underline);
    return f;
}

// ---------------------------------------------------------------- Rectangle

Rectangle::Rectangle(QWidget* parent, QRect geometry, QColor fill, QColor border, int borderWidth)
    : QWidget(parent), fill_(fill), topLeft_(border), bottomRight_(border), border_(borderWidth) {
    setGeometry(geometry);
}

void Rectangle::setFill(const QColor& c) {
    fill_ = c;
    update();
}
void Rectangle::setTopLeftColor(const QColor& c) {
    topLeft_ = c;
    update();
}
void Rectangle::setBottomRightColor(const QColor& c) {
    bottomRight_ = c;
    update();
}
void Rectangle::setClickThrough(bool on) {
    setAttribute(Qt::WA_TransparentForMouseEvents, on);
}

void Rectangle::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int w = width(), h = height();
    p.fillRect(rect(), fill_);
    const int b = std::min({border_, w, h});
    if (b <= 0) return;
    // Top and left in one colour, bottom and right in the other, meeting on the diagonal.
    const QPolygon topLeft({QPoint(0, 0), QPoint(w, 0), QPoint(w - b, b), QPoint(b, b),
                            QPoint(b, h - b), QPoint(0, h)});
    const QPolygon bottomRight({QPoint(w, 0), QPoint(w, h), QPoint(0, h), QPoint(b, h - b),
                                QPoint(w - b, h - b), QPoint(w - b, b)});
    p.setPen(Qt::NoPen);
    p.setBrush(topLeft_);
    p.drawPolygon(topLeft);
    p.setBrush(bottomRight_);
    p.drawPolygon(bottomRight);
}

void Rectangle::mousePressEvent(QMouseEvent* e) {
    emit mouseDown(e->position().toPoint().x(), e->position().toPoint().y());
}

// ---------------------------------------------------------------- Line

Line::Line(QWidget* parent, QPoint p1, QPoint p2, int width, QColor colour)
    : QWidget(parent), p1_(p1), p2_(p2), width_(width), colour_(colour) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    place();
}

void Line::setPoints(QPoint p1, QPoint p2) {
    p1_ = p1;
    p2_ = p2;
    place();
}
void Line::setLineWidth(int w) {
    width_ = std::clamp(w, 0, 1000);
    place();
}
void Line::setColor(const QColor& c) {
    colour_ = c;
    update();
}

void Line::place() {
    const int pad = width_ / 2 + 1;
    setGeometry(QRect(p1_, p2_).normalized().adjusted(-pad, -pad, pad, pad));
    update();
}

void Line::paintEvent(QPaintEvent*) {
    if (width_ <= 0) return;
    QPainter p(this);
    p.setPen(QPen(colour_, width_, Qt::SolidLine, Qt::SquareCap));
    p.drawLine(p1_ - pos(), p2_ - pos());
}

// ---------------------------------------------------------------- StaticText

StaticText::StaticText(QWidget* parent, QRect geometry, const QString& text, const QString& family,
                       int size, bool bold, int align, QColor colour, bool multiline)
    : QWidget(parent), text_(text), font_(makeFont(family, size, bold)), align_(align),
      colour_(colour), multiline_(multiline) {
    setGeometry(geometry);
}

void StaticText::setText(const QString& t) {
    text_ = t;
    update();
}
void StaticText::setTextColor(const QColor& c) {
    colour_ = c;
    update();
}
void StaticText::setAlignment(int a) {
    align_ = a;
    update();
}
void StaticText::setFontFamily(const QString& family) {
    font_.setFamily(family);
    update();
}
void StaticText::setTextSize(int size) {
    font_.setPixelSize(std::clamp(size, 1, 2000));
    update();
}
void StaticText::setBold(bool on) {
    font_.setBold(on);
    update();
}
void StaticText::setItalic(bool on) {
    font_.setItalic(on);
    update();
}
void StaticText::setUnderline(bool on) {
    font_.setUnderline(on);
    update();
}
void StaticText::setClickThrough(bool on) {
    setAttribute(Qt::WA_TransparentForMouseEvents, on);
}

void StaticText::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setFont(font_);
    p.setPen(colour_);
    const Qt::Alignment h = align_ == 1   ? Qt::AlignHCenter
                            : align_ == 2 ? Qt::AlignRight
                                          : Qt::AlignLeft;
    QString shown = text_;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\r"));
    shown.replace(QLatin1Char('\n'), QLatin1Char('\r'));
    if (multiline_)
        shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    else
        shown.replace(QLatin1Char('\r'), QLatin1Char(' '));
    p.drawText(rect(), int(h | Qt::AlignTop | (multiline_ ? Qt::TextWordWrap : 0)), shown);
}

void StaticText::enterEvent(QEnterEvent*) {
    emit mouseEnter();
}
void StaticText::leaveEvent(QEvent*) {
    emit mouseExit();
}
void StaticText::mousePressEvent(QMouseEvent* e) {
    emit mouseDown(e->position().toPoint().x(), e->position().toPoint().y());
}

// ---------------------------------------------------------------- Canvas

Canvas::Canvas(QWidget* parent, QRect geometry) : QWidget(parent) {
    setGeometry(geometry);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
}

void Canvas::setBackdrop(const QImage& picture) {
    backdrop_ = picture;
    update();
}

void Canvas::paintEvent(QPaintEvent*) {
    if (backdrop_.isNull()) return;
    QPainter p(this);
    // A picture made for another device pixel ratio than the screen's is resampled smoothly.
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QPoint(0, 0), backdrop_);
}

void Canvas::mousePressEvent(QMouseEvent* e) {
    emit mouseDown(e->position().toPoint().x(), e->position().toPoint().y());
}
void Canvas::mouseMoveEvent(QMouseEvent* e) {
    emit mouseMove(e->position().toPoint().x(), e->position().toPoint().y());
}
void Canvas::enterEvent(QEnterEvent*) {
    emit mouseEnter();
}
void Canvas::leaveEvent(QEvent*) {
    emit mouseExit();
}

// ---------------------------------------------------------------- Slider

Slider::Slider(QWidget* parent, QRect geometry, int minimum, int maximum, int value, int lineStep,
               int pageStep)
    : QSlider(Qt::Horizontal, parent) {
    setGeometry(geometry);
    setRange(minimum, maximum);
    setSingleStep(lineStep);
    setPageStep(pageStep);
    setValue(value);
    setTracking(false);
    connect(this, &QSlider::valueChanged, this, [this](int v) {
        if (!quiet_) emit ValueChanged(v);
    });
}

void Slider::setValueSilently(int v) {
    quiet_ = true;
    setValue(v);
    setSliderPosition(value());
    quiet_ = false;
}

// ---------------------------------------------------------------- buttons and boxes

PushButton::PushButton(QWidget* parent, QRect geometry, const QString& caption, const QFont& font)
    : QPushButton(caption, parent) {
    setGeometry(geometry);
    setFont(font);
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, &PushButton::Action);
}

CheckBox::CheckBox(QWidget* parent, QRect geometry, const QString& caption, const QFont& font)
    : QCheckBox(caption, parent) {
    setGeometry(geometry);
    setFont(font);
    connect(this, &QCheckBox::clicked, this, &CheckBox::Action);
}

RadioButton::RadioButton(QWidget* parent, QRect geometry, const QString& caption, const QFont& font)
    : QRadioButton(caption, parent) {
    setGeometry(geometry);
    setFont(font);
    connect(this, &QRadioButton::clicked, this, &RadioButton::Action);
}

PopupMenu::PopupMenu(QWidget* parent, QRect geometry, const QFont& font) : QComboBox(parent) {
    setGeometry(geometry);
    setFont(font);
    connect(this, &QComboBox::activated, this, &PopupMenu::Change);
}

EditField::EditField(QWidget* parent, QRect geometry, const QFont& font) : QLineEdit(parent) {
    setGeometry(geometry);
    setFont(font);
    connect(this, &QLineEdit::textEdited, this, [this](const QString& typed) {
        const QString clean = oneLine(typed);
        if (clean != typed) {
            // Pasted or dropped text brought line breaks: keep one line, cursor where it was.
            const int cursor = cursorPosition();
            QSignalBlocker block(this);
            setText(clean);
            setCursorPosition(cursor);
        }
        emit TextChange(clean);
    });
}

QString EditField::oneLine(QString text) {
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

void EditField::setColors(const QColor& text, const QColor& background) {
    QPalette p = palette();
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Base, background);
    setPalette(p);
}

Separator::Separator(QWidget* parent, QRect geometry) : QFrame(parent) {
    setGeometry(geometry);
    setFrameShape(QFrame::HLine);
    setFrameShadow(QFrame::Sunken);
}

} // namespace fw

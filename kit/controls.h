#pragma once
// The controls the windows are built from. Each behaves as the windows expect: placed at
// window coordinates, styled by plain values, and reporting user actions only, so that code
// setting a control's value never runs the handler bound to it.
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QImage>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QWidget>

namespace fw {

// Font of the given family with a size in pixels, as the layouts give sizes.
QFont makeFont(const QString& family, int pixelSize, bool bold = false, bool italic = false,
               bool underline = false);

// A filled rectangle whose top and left border use one colour and bottom and right another.
class Rectangle : public QWidget {
    Q_OBJECT
  public:
    explicit Rectangle(QWidget* parent, QRect geometry, QColor fill, QColor border,
                       int borderWidth);
    void setFill(const QColor& c);
    void setTopLeftColor(const QColor& c);
    void setBottomRightColor(const QColor& c);
    QColor fill() const { return fill_; }
    // Clicking through: the rectangle lets the mouse reach what lies below it.
    void setClickThrough(bool on);

  signals:
    void mouseDown(int x, int y);

  protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;

  private:
    QColor fill_, topLeft_, bottomRight_;
    int border_;
};

// A straight line between two points given in the parent's coordinates.
class Line : public QWidget {
    Q_OBJECT
  public:
    Line(QWidget* parent, QPoint p1, QPoint p2, int width, QColor colour);
    void setPoints(QPoint p1, QPoint p2);
    void setLineWidth(int w);
    void setColor(const QColor& c);
    QPoint p1() const { return p1_; }
    QPoint p2() const { return p2_; }
    int lineWidth() const { return width_; }

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    void place();
    QPoint p1_, p2_;
    int width_;
    QColor colour_;
};

// Text in one font, size and style; alignment 0 left, 1 centre, 2 right. A carriage return
// in the text breaks the line when the control is multi-line.
class StaticText : public QWidget {
    Q_OBJECT
  public:
    StaticText(QWidget* parent, QRect geometry, const QString& text, const QString& family,
               int size, bool bold = false, int align = 0, QColor colour = Qt::black,
               bool multiline = false);
    QString text() const { return text_; }
    void setText(const QString& t);
    void setTextColor(const QColor& c);
    void setAlignment(int a);
    void setFontFamily(const QString& family);
    void setTextSize(int size);
    void setBold(bool on);
    void setItalic(bool on);
    void setUnderline(bool on);
    QFont textFont() const { return font_; }
    bool multiline() const { return multiline_; }
    void setClickThrough(bool on);

  signals:
    void mouseEnter();
    void mouseExit();
    void mouseDown(int x, int y);

  protected:
    void paintEvent(QPaintEvent*) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;

  private:
    QString text_;
    QFont font_;
    int align_;
    QColor colour_;
    bool multiline_;
};

// A surface showing a backdrop picture at its top-left corner, reporting the mouse.
class Canvas : public QWidget {
    Q_OBJECT
  public:
    Canvas(QWidget* parent, QRect geometry);
    void setBackdrop(const QImage& picture);
    const QImage& backdrop() const { return backdrop_; }

  signals:
    void mouseDown(int x, int y);
    void mouseMove(int x, int y);
    void mouseEnter();
    void mouseExit();

  protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;

  private:
    QImage backdrop_;
};

// A horizontal slider whose value is taken when the user lets go.
class Slider : public QSlider {
    Q_OBJECT
  public:
    Slider(QWidget* parent, QRect geometry, int minimum, int maximum, int value, int lineStep,
           int pageStep);
    // Sets the value from code (clamped to the range); ValueChanged is not raised.
    void setValueSilently(int v);

  signals:
    void ValueChanged(int value);

  private:
    bool quiet_ = false;
};

class PushButton : public QPushButton {
    Q_OBJECT
  public:
    PushButton(QWidget* parent, QRect geometry, const QString& caption, const QFont& font);
  signals:
    void Action();
};

class CheckBox : public QCheckBox {
    Q_OBJECT
  public:
    CheckBox(QWidget* parent, QRect geometry, const QString& caption, const QFont& font);
  signals:
    void Action();
};

class RadioButton : public QRadioButton {
    Q_OBJECT
  public:
    RadioButton(QWidget* parent, QRect geometry, const QString& caption, const QFont& font);
  signals:
    void Action();
};

class PopupMenu : public QComboBox {
    Q_OBJECT
  public:
    PopupMenu(QWidget* parent, QRect geometry, const QFont& font);
  signals:
    void Change(int row);
};

// A one-line text field. Line breaks never enter it, whether typed or pasted.
class EditField : public QLineEdit {
    Q_OBJECT
  public:
    EditField(QWidget* parent, QRect geometry, const QFont& font);
    void setColors(const QColor& text, const QColor& background);
    // The text with every carriage return and line feed turned into a blank.
    static QString oneLine(QString text);

  signals:
    void TextChange(const QString& text);
};

class Separator : public QFrame {
    Q_OBJECT
  public:
    Separator(QWidget* parent, QRect geometry);
};

// Members of one control array, reached by index; a missing index finds nothing.
template <class T> class ControlArray {
  public:
    void add(int index, T* control) { members_.insert(index, control); }
    T* operator()(int index) const { return members_.value(index, nullptr); }
    QList<int> indexes() const { return members_.keys(); }
    int count() const { return int(members_.size()); }

  private:
    QMap<int, T*> members_;
};

} // namespace fw

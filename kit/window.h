#pragma once
// Windows with a fixed content size whose controls sit at given coordinates, and the rule
// that each window class has at most one instance: reaching it creates it and runs its Open
// handler first, closing it destroys it, and the next reach creates a new one.
#include "kit/controls.h"

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <functional>

class QMenuBar;

namespace fw {

enum class Frame {
    Document,     // title bar with a close box, not resizable
    MovableModal, // a dialog that keeps the rest of the program waiting while it shows
    PlainBox,     // no decoration at all, above every other window (presentation windows)
};

class Window : public QWidget {
    Q_OBJECT
  public:
    Window(Frame frame, QSize contentSize, const QString& title);
    ~Window() override;

    // The area the controls live in; window coordinates are its coordinates.
    QWidget* content() const { return content_; }
    void setMenuBar(QMenuBar* bar);
    void setContentSize(QSize size);
    // Places the window so that its content starts at the given screen point.
    void placeContent(QRect screenRect);
    void setBackColor(const QColor& c);
    void setBackdrop(const QImage& picture);
    const QImage& backdropPicture() const;
    // The button pressed by Return.
    void setDefaultButton(QPushButton* b) { default_ = b; }

    // Runs once, right after creation, before the window is used.
    virtual void Event_Open() {}
    // The user's close box: true when the window has answered it itself (the box's own close
    // is then dropped), false to let it close the window.
    virtual bool Event_CancelClose() { return false; }
    // A key pressed while the window is frontmost.
    virtual void Event_KeyDown(int key) { Q_UNUSED(key) }

    void Show();
    void Hide();
    // Centres the window on the main screen (Show does it the first time).
    void centre();
    // Destroys the window; the next reach creates a new one.
    void Close();

    std::function<void()> onClosed;

  protected:
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

  private:
    QWidget* content_;
    QPointer<QPushButton> default_;
    bool closing_ = false;
    bool placed_ = false;
};

// The program's main window, to which the others hand control back when they end, and what
// its return does (the setup window takes its strip percentage back): the windows that hand
// back need not know it.
void setHome(Window* window, std::function<void()> welcomeBack);
// The main window, or null while it does not exist.
Window* home();
// Brings the main window back after a presentation or the editor: its welcome, or a plain Show.
void comeHome();

// The single instance of window class W.
template <class W> class Single {
  public:
    // The instance, created (and opened) on first reach.
    static W* get() {
        if (!instance_) {
            W* w = new W;
            instance_ = w;
            w->onClosed = [w] {
                if (instance_ == w) instance_ = nullptr;
            };
            w->Event_Open();
        }
        return instance_;
    }
    // The instance if it exists, without creating it.
    static W* peek() { return instance_; }
    static bool exists() { return instance_ != nullptr; }

  private:
    static inline QPointer<W> instance_;
};

} // namespace fw

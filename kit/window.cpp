#include "kit/window.h"

#include "kit/seams.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPainter>
#include <QVBoxLayout>

namespace fw {

namespace {
// The content area: paints the window's backdrop picture at its top-left corner.
class Content : public QWidget {
  public:
    using QWidget::QWidget;
    QImage backdrop;

  protected:
    void paintEvent(QPaintEvent*) override {
        if (backdrop.isNull()) return;
        QPainter p(this);
        p.drawImage(QPoint(0, 0), backdrop);
    }
};
} // namespace

Window::Window(Frame frame, QSize contentSize, const QString& title)
    : QWidget(nullptr), content_(new Content(this)) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(content_);
    content_->setFixedSize(contentSize);
    switch (frame) {
    case Frame::Document:
        setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                       Qt::WindowCloseButtonHint);
        break;
    case Frame::MovableModal:
        setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
        setWindowModality(Qt::ApplicationModal);
        break;
    case Frame::PlainBox:
        // Exactly the rectangle it is given, without decoration, above every other window.
        // Managed by the window manager, not hidden from it: it takes the keyboard focus when
        // clicked or switched to (Alt+Tab), as any window does, so its keys keep working.
        setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
        break;
    }
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

Window::~Window() {
    if (onClosed) onClosed();
}

void Window::setMenuBar(QMenuBar* bar) {
    static_cast<QVBoxLayout*>(layout())->setMenuBar(bar);
}

void Window::setContentSize(QSize size) {
    content_->setFixedSize(size.expandedTo(QSize(0, 0)));
    adjustSize();
}

void Window::placeContent(QRect screenRect) {
    setContentSize(screenRect.size());
    move(screenRect.topLeft());
    placed_ = true;
}

void Window::setBackColor(const QColor& c) {
    content_->setAutoFillBackground(true);
    QPalette p = content_->palette();
    p.setColor(QPalette::Window, c);
    content_->setPalette(p);
}

void Window::setBackdrop(const QImage& picture) {
    static_cast<Content*>(content_)->backdrop = picture;
    content_->update();
}

const QImage& Window::backdropPicture() const {
    return static_cast<Content*>(content_)->backdrop;
}

void Window::centre() {
    adjustSize();
    const QRect screen = Screen0Rect();
    move(screen.x() + (screen.width() - width()) / 2,
         screen.y() + (screen.height() - height()) / 2);
}

void Window::Show() {
    if (closing_) return;
    if (!placed_) {
        centre();
        placed_ = true;
    }
    show();
    // The offscreen platform of headless tests has no stacking order to change.
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
        raise();
        activateWindow();
    }
}

void Window::Hide() {
    hide();
}

namespace {
QPointer<Window> homeWindow;
std::function<void()> homeWelcome;
} // namespace

void setHome(Window* window, std::function<void()> welcomeBack) {
    homeWindow = window;
    homeWelcome = std::move(welcomeBack);
}

Window* home() {
    return homeWindow;
}

void comeHome() {
    if (!homeWindow) return;
    if (homeWelcome)
        homeWelcome();
    else
        homeWindow->Show();
}

void Window::Close() {
    if (closing_) return;
    closing_ = true;
    hide();
    // The next reach must create a new window even before this one is gone.
    if (onClosed) onClosed();
    onClosed = nullptr;
    deleteLater();
}

void Window::closeEvent(QCloseEvent* e) {
    if (closing_) {
        e->accept();
        return;
    }
    if (Event_CancelClose()) {
        e->ignore();
        return;
    }
    e->ignore();
    Close();
}

void Window::keyPressEvent(QKeyEvent* e) {
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && default_ &&
        default_->isEnabled() && default_->isVisible()) {
        default_->click();
        return;
    }
    Event_KeyDown(e->key());
    QWidget::keyPressEvent(e);
}

} // namespace fw

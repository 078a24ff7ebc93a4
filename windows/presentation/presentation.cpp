#include "windows/presentation/presentation.h"

#include "kit/screen_awake.h"
#include "kit/seams.h"
#include "logic/geometry/presentation_geometry.h"
#include "logic/state/globali.h"
#include "windows/presentation/fin_pict.h"
#include "windows/presentation/fin_thumb.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWindow>

namespace presentation {

namespace {

// An Escape typed right after "Start presentation", before the new windows were mapped and
// focused, goes to the window that had the focus: the setup window, hidden by then. It is
// meant for the presentation.
class TypedAhead : public QObject {
  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress ||
            static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape)
            return false;
        const fw::Window* setup = fw::home();
        if (!setup || setup->isVisible() || !fw::Single<fin_pict>::exists()) return false;
        const auto* widget = qobject_cast<QWidget*>(watched);
        const bool toSetup = (widget && widget->window() == setup) ||
                             (setup->windowHandle() && watched == setup->windowHandle());
        if (!toSetup) return false;
        endPresentation();
        return true;
    }
};

TypedAhead& typedAhead() {
    static TypedAhead filter;
    return filter;
}

} // namespace

bool layoutUsable(QSize screen, int thumb_pos, int T, int pictures) {
    if (pictures < 1 || pictures >= presentation_geo::kMaxCells) return false;
    const auto split = presentation_geo::screenSplit(screen, thumb_pos, T);
    if (!split.valid || split.pct_dx < 1 || split.pct_dy < 1) return false;
    return !presentation_geo::stripGrid(split.tmb_dx, split.tmb_dy, thumb_pos, pictures + 1)
                .cells.empty();
}

bool startPresentation() {
    using namespace Globali;
    if (!layoutUsable(Screen0(), thumb_pos, thumb_per, quantidisegni)) {
        Beep();
        endPresentation();
        return false;
    }
    // Opening lays out both windows and only queues their pictures: they are on screen (and
    // take Escape) before the first decode is done.
    fw::Single<fin_pict>::get()->Show();
    fw::Single<fin_thumb>::get()->Show();
    qApp->installEventFilter(&typedAhead());
    // A talk runs longer than the desktop waits before it blanks or locks the screen.
    screen_awake::hold(QStringLiteral("A presentation is showing"));
    return true;
}

void endPresentation() {
    qApp->removeEventFilter(&typedAhead());
    screen_awake::release();
    if (fin_pict* picture = fw::Single<fin_pict>::peek()) {
        picture->picture.cancel();
        picture->ahead.clear();
        picture->Close();
    }
    if (fin_thumb* strip = fw::Single<fin_thumb>::peek()) {
        strip->thumbnails.cancel();
        strip->Close();
    }
    fw::comeHome();
}

bool busy() {
    const fin_pict* picture = fw::Single<fin_pict>::peek();
    const fin_thumb* strip = fw::Single<fin_thumb>::peek();
    return (picture && (picture->picture.pending() > 0 || picture->ahead.awaiting())) ||
           (strip && strip->thumbnails.pending() > 0);
}

} // namespace presentation

#include "windows/presentation/presentation.h"

#include "framework/seams.h"
#include "state/globali.h"
#include "windows/presentation/fin_pict.h"
#include "windows/presentation/fin_thumb.h"
#include "windows/presentation/presentation_geometry.h"
#include "windows/setup/start.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <vector>

namespace presentation {

namespace {

int openingDepth = 0;
std::vector<std::function<void()>> held;

void runHeld() {
    const std::vector<std::function<void()>> actions = std::move(held);
    held.clear();
    for (const auto& action : actions)
        action();
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
    fw::Single<fin_pict>::get()->Show();
    fw::Single<fin_thumb>::get()->Show();
    return true;
}

void endPresentation() {
    whenOpen([] {
        if (fin_pict* picture = fw::Single<fin_pict>::peek()) picture->Close();
        if (fin_thumb* strip = fw::Single<fin_thumb>::peek()) strip->Close();
        start::instance()->comeBack();
    });
}

void whenOpen(std::function<void()> action) {
    if (isOpening())
        held.push_back(std::move(action));
    else
        action();
}

bool isOpening() {
    return openingDepth > 0;
}

OpeningScope::OpeningScope() {
    ++openingDepth;
}

OpeningScope::~OpeningScope() {
    // Held input runs from the event loop, after the caller that opened the windows has
    // finished showing them.
    if (--openingDepth == 0 && !held.empty()) QTimer::singleShot(0, qApp, runHeld);
}

} // namespace presentation

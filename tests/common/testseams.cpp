#include "common/testseams.h"

#include "windows/dialogs/cart_noi.h"
#include "windows/dialogs/cart_spo.h"

namespace {
template <class T> T next(std::deque<T>& q, T cancel) {
    if (q.empty()) return cancel;
    T v = q.front();
    q.pop_front();
    return v;
}
} // namespace

TestSeams::TestSeams(QSize s) : screen(s) {
    auto& h = seams::hooks();
    h.screenSize = [this] { return screen; };
    h.beep = [this] { ++beeps; };
    h.showUrl = [this](const QString& u) { urls << u; };
    h.selectFolder = [this] { return next(folders, QString()); };
    h.openFile = [this] { return next(openFiles, QString()); };
    h.saveFile = [this](const QString&) { return next(saveFiles, QString()); };
    h.selectColor = [this](const QColor&, const QString& prompt) {
        colorPrompts << prompt;
        return next(colors, std::optional<QColor>());
    };
    h.prefsFolder = [this] { return prefs.path(); };
    h.error = [this](const QString& title, const QString& text) { errors << title + ": " + text; };
}

TestSeams::~TestSeams() {
    seams::hooks() = seams::systemHooks();
}

void closeWarnings() {
    for (fw::Window* w : {static_cast<fw::Window*>(fw::Single<cart_noi>::peek()),
                          static_cast<fw::Window*>(fw::Single<cart_spo>::peek())})
        if (w) w->Close();
}

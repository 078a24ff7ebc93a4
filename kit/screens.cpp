#include "kit/screens.h"

#include <QGuiApplication>
#include <QScreen>

namespace screens {

namespace {
QString& chosenName() {
    static QString name;
    return name;
}
} // namespace

std::vector<Monitor> monitors() {
    std::vector<Monitor> out;
    if (!qGuiApp) return out;
    const QScreen* primary = QGuiApplication::primaryScreen();
    for (const QScreen* s : QGuiApplication::screens())
        out.push_back({s->name(), s->geometry(), s == primary});
    return out;
}

void choose(const QString& name) {
    chosenName() = name;
}

bool connected(const QString& name) {
    for (const Monitor& m : monitors())
        if (m.name == name) return true;
    return false;
}

Monitor mainScreen() {
    const std::vector<Monitor> all = monitors();
    const Monitor* primary = nullptr;
    for (const Monitor& m : all) {
        if (!chosenName().isEmpty() && m.name == chosenName()) return m;
        if (m.primary) primary = &m;
    }
    if (primary) return *primary;
    if (!all.empty()) return all.front();
    return {QString(), QRect(0, 0, 1024, 768), true};
}

QString describe() {
    QString out;
    for (const Monitor& m : monitors()) {
        const QRect& g = m.geometry;
        out += QStringLiteral("%1  %2x%3 at %4,%5%6\n")
                   .arg(m.name)
                   .arg(g.width())
                   .arg(g.height())
                   .arg(g.x())
                   .arg(g.y())
                   .arg(m.primary ? QStringLiteral("  (primary)") : QString());
    }
    return out;
}

} // namespace screens

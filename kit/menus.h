#pragma once
// The application's one menu bar, as the windows see it: the application makes it and
// registers it here; a window attaches it and finds its items by name, without knowing the
// application itself.
#include <QString>

class QAction;
class QMenuBar;

namespace fw {

void setApplicationMenuBar(QMenuBar* bar);
// The registered menu bar, or null before the application has made one (a window shown
// alone, as in tests, then has none).
QMenuBar* applicationMenuBar();
// An item (or a menu's title action) by name anywhere in the menu bar; null when absent.
QAction* menuItem(const QString& name);

} // namespace fw

#include "kit/menus.h"

#include <QAction>
#include <QMenuBar>
#include <QPointer>

namespace fw {

namespace {
QPointer<QMenuBar>& registered() {
    static QPointer<QMenuBar> bar;
    return bar;
}
} // namespace

void setApplicationMenuBar(QMenuBar* bar) {
    registered() = bar;
}

QMenuBar* applicationMenuBar() {
    return registered();
}

QAction* menuItem(const QString& name) {
    QMenuBar* bar = registered();
    return bar ? bar->findChild<QAction*>(name, Qt::FindChildrenRecursively) : nullptr;
}

} // namespace fw

#pragma once
// Monitors side by side for tests that run headless: the offscreen platform reads them from a
// file named when the application object is made. It lists them in the order of their names,
// and the first of them is the primary.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <initializer_list>
#include <unistd.h>

namespace testmonitors {

// The platform (for QT_QPA_PLATFORM) with those monitors, each "NAME x y width height".
inline QByteArray platform(std::initializer_list<const char*> monitors) {
    QByteArrayList screens;
    for (const char* m : monitors) {
        const QList<QByteArray> f = QByteArray(m).split(' ');
        screens << "{\"name\": \"" + f[0] + "\", \"x\": " + f[1] + ", \"y\": " + f[2] +
                       ", \"width\": " + f[3] + ", \"height\": " + f[4] + "}";
    }
    const QByteArray json = "{\"screens\": [" + screens.join(", ") + "]}";
    const QString path =
        QDir::temp().filePath(QStringLiteral("vetrinova-monitors-%1.json").arg(getpid()));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(json);
    return "offscreen:configfile=" + QFile::encodeName(path);
}

// The same for this process: call before the application object exists.
inline void use(std::initializer_list<const char*> monitors) {
    qputenv("QT_QPA_PLATFORM", platform(monitors));
}

} // namespace testmonitors

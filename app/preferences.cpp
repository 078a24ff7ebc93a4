#include "app/preferences.h"

#include "framework/values.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace preferences {

int readLingua(const QString& folder) {
    const QString path = QDir(folder).filePath(fileName);
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile()) return 1;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return 1;
    // Only the first line matters: read a small head, so a huge or binary file costs nothing.
    const QByteArray head = f.read(256);
    qsizetype end = head.size();
    for (qsizetype i = 0; i < head.size(); ++i)
        if (head[i] == '\r' || head[i] == '\n') {
            end = i;
            break;
        }
    return toInt(Val(QString::fromUtf8(head.left(end))));
}

bool writeLingua(const QString& folder, int lingua) {
    QSaveFile f(QDir(folder).filePath(fileName));
    if (!f.open(QIODevice::WriteOnly)) return false;
    const QByteArray line = (Str(lingua) + QLatin1Char('\r')).toUtf8();
    // commit() misses a failure of the last flush (a full disk): checked first, so a failed
    // write never leaves an empty file in place of the old one.
    return f.write(line) == line.size() && f.flush() && f.commit();
}

} // namespace preferences

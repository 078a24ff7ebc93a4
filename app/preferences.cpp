#include "app/preferences.h"

#include "base/files.h"
#include "base/values.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace preferences {

namespace {

QByteArray pathIn(const QString& folder) {
    return QFile::encodeName(QDir(folder).filePath(fileName));
}

QString systemReason() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

// What the file's place holds: nothing (ENOENT), a regular file, or something else; the
// place itself, not what a link there leads to.
enum class Place { Empty, File, Other };
Place placeOf(const QByteArray& path, mode_t* mode = nullptr) {
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0)
        return errno == ENOENT || errno == ENOTDIR ? Place::Empty : Place::Other;
    if (mode) *mode = st.st_mode & 0777;
    return S_ISREG(st.st_mode) ? Place::File : Place::Other;
}

bool fail(QString* why, const QString& reason) {
    if (why) *why = reason;
    return false;
}

} // namespace

int readLingua(const QString& folder) {
    // Not through a link, and only a file of its own.
    const files::Opened opened = files::openRegular(pathIn(folder), files::Links::Refuse);
    if (!opened.fd.ok()) return 1;
    // Only the first line matters: a small head is read, so a huge or binary file costs
    // nothing.
    char head[256];
    const ssize_t n = ::read(opened.fd.get(), head, sizeof head);
    if (n < 0) return 1;
    qsizetype end = 0;
    while (end < n && head[end] != '\r' && head[end] != '\n')
        ++end;
    return toInt(Val(QString::fromUtf8(head, end)));
}

bool writeLingua(const QString& folder, int lingua, QString* why) {
    const QByteArray path = pathIn(folder);
    mode_t mode = 0644;
    if (placeOf(path, &mode) == Place::Other)
        return fail(why, QStringLiteral("not a regular file"));
    QByteArray temporary = path + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return fail(why, systemReason());
    const QByteArray line = (Str(lingua) + QLatin1Char('\r')).toUtf8();
    bool written = ::fchmod(fd, mode) == 0 &&
                   ::write(fd, line.constData(), size_t(line.size())) == line.size() &&
                   ::fsync(fd) == 0;
    QString reason = written ? QString() : systemReason();
    if (::close(fd) != 0 && written) {
        written = false;
        reason = systemReason();
    }
    // Looked at again just before the rename: something other than a file that appeared
    // meanwhile is left alone. Whatever comes in the last instant, rename() replaces the name
    // itself and never writes through it.
    if (written && placeOf(path) == Place::Other) {
        written = false;
        reason = QStringLiteral("not a regular file");
    }
    if (written && ::rename(temporary.constData(), path.constData()) != 0) {
        written = false;
        reason = systemReason();
    }
    if (!written) {
        ::unlink(temporary.constData());
        return fail(why, reason);
    }
    return true;
}

QString folderToUse(const QString& preferred, const QString& fallback) {
    return placeOf(pathIn(preferred)) == Place::Other ? fallback : preferred;
}

} // namespace preferences

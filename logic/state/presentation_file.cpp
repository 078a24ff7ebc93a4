#include "logic/state/presentation_file.h"

#include "base/files.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <limits>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace presentation_file {

namespace {

void writeLine(QByteArray& out, QString text) {
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    out += files::encodeName(text);
    out += '\r';
}

// Hands out the lines of a file one by one; past the end every line is "".
class LineReader {
  public:
    explicit LineReader(const QByteArray& bytes, qsizetype from = 0) : bytes_(bytes), pos_(from) {
        // Byte order marks before the first line (an editor may add one at every save) are
        // no part of the folder's path.
        if (from == 0)
            while (QByteArrayView(bytes_).sliced(pos_).startsWith("\xEF\xBB\xBF"))
                pos_ += 3;
    }
    bool atEnd() const { return pos_ >= bytes_.size(); }
    qsizetype position() const { return pos_; }
    // The next line, its bytes kept (files::decodeName); one longer than `most` bytes comes as
    // its first and last `most` / 4 bytes around an ellipsis, without the rest ever being
    // decoded. Written again, that is less than `most` bytes and reads back the same.
    QString next(qsizetype most = std::numeric_limits<qsizetype>::max()) {
        if (atEnd()) return {};
        const char* begin = bytes_.constData() + pos_;
        const char* end = bytes_.constData() + bytes_.size();
        const char* stop = std::find_if(begin, end, [](char c) { return c == '\r' || c == '\n'; });
        const QByteArrayView bytes(begin, stop - begin);
        pos_ += (stop - begin);
        // A byte cut from its character stays a byte of its own, and the ellipsis starts a
        // character of its own: its ends decode alike read alone or in the shortened line.
        return lineEnd(bytes.size() <= most
                           ? files::decodeName(bytes)
                           : files::decodeName(bytes.first(most / 4)) + QChar(0x2026) +
                                 files::decodeName(bytes.last(most / 4)));
    }
    int nextInt() { return toInt(Val(next())); }
    bool nextSwitch() { return next() == QLatin1String("1"); }

  private:
    // Steps past the line break after the line just read.
    QString lineEnd(QString line) {
        if (pos_ < bytes_.size()) {
            const bool cr = bytes_[pos_] == '\r';
            ++pos_;
            if (cr && pos_ < bytes_.size() && bytes_[pos_] == '\n') ++pos_;
        }
        return line;
    }
    const QByteArray& bytes_;
    qsizetype pos_;
};

} // namespace

QByteArray write(const Data& d) {
    const int count = std::max(d.count, 0);
    QByteArray out;
    writeLine(out, d.folder);
    writeLine(out, Str(d.thumb_pos));
    writeLine(out, Str(d.percent));
    for (const HsvComponents& c : d.colours) {
        writeLine(out, Str(c.h));
        writeLine(out, Str(c.s));
        writeLine(out, Str(c.v));
    }
    writeLine(out, d.fill ? QStringLiteral("1") : QStringLiteral("0"));
    writeLine(out, d.display ? QStringLiteral("1") : QStringLiteral("0"));
    writeLine(out, Str(d.ombra));
    writeLine(out, Str(count));
    // The blocks left as bytes go through the same decoding as the ones held, so they come
    // out exactly as if they had been held.
    std::optional<LineReader> unheld;
    if (d.unheldFrom >= 0 && d.unheldFrom < d.source.size()) unheld.emplace(d.source, d.unheldFrom);
    for (int i = 0; i < count; ++i) {
        if (size_t(i) < d.notes.size())
            for (const QString& cell : d.notes[size_t(i)])
                writeLine(out, cell);
        else if (unheld && !unheld->atEnd())
            for (int c = 0; c < note::kCells; ++c)
                writeLine(out, unheld->next());
        else
            out.append(note::kCells, '\r');
    }
    return out;
}

Data read(const QByteArray& bytes, int held) {
    LineReader in(bytes);
    Data d;
    d.folder = in.next(longestFolderLine);
    d.thumb_pos = in.nextInt();
    d.percent = in.nextInt();
    for (HsvComponents& c : d.colours) {
        c.h = Val(in.next());
        c.s = Val(in.next());
        c.v = Val(in.next());
    }
    d.fill = in.nextSwitch();
    d.display = in.nextSwitch();
    d.ombra = in.nextInt();
    d.count = std::max(in.nextInt(), 0);
    const int blocks = std::min(d.count, std::max(held, 0));
    for (int i = 0; i < blocks && !in.atEnd(); ++i) {
        Note& note = d.notes.emplace_back();
        for (QString& cell : note)
            cell = in.next();
    }
    if (int(d.notes.size()) < d.count && !in.atEnd()) {
        d.source = bytes;
        d.unheldFrom = in.position();
    }
    return d;
}

Loaded load(const QString& path) {
    Loaded out;
    const files::Opened opened = files::openRegular(files::encodeName(path));
    if (opened.failure == files::Failure::NotAFile) {
        out.error = LoadError::NotAFile;
        return out;
    }
    if (!opened.fd.ok()) {
        out.error = LoadError::Unreadable;
        out.detail = QString::fromLocal8Bit(std::strerror(opened.error));
        return out;
    }
    if (opened.bytes > largestFile) {
        out.error = LoadError::TooLarge;
        return out;
    }
    const int fd = opened.fd.get();
    // One buffer of the size the file has now, grown only if the file grows while it is read.
    QByteArray bytes(qsizetype(opened.bytes) + 1, Qt::Uninitialized);
    qsizetype got = 0;
    for (;;) {
        if (got == bytes.size()) {
            if (got > largestFile) break;
            bytes.resize(std::min<qsizetype>(got * 2 + 4096, largestFile + 1));
        }
        const ssize_t n = ::read(fd, bytes.data() + got, size_t(bytes.size() - got));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            out.error = LoadError::Unreadable;
            out.detail = QString::fromLocal8Bit(std::strerror(errno));
            return out;
        }
        if (n == 0) break;
        got += n;
    }
    if (got > largestFile) {
        out.error = LoadError::TooLarge;
        return out;
    }
    bytes.truncate(got);
    out.bytes = std::move(bytes);
    return out;
}

static_assert(longestFolderLine / 4 * 2 + 3 >= PATH_MAX,
              "a shortened folder line must stay no path");

bool tooLongForPath(const QString& path) {
    // A UTF-16 unit never takes less than one byte in the file system's encoding.
    return path.size() >= PATH_MAX || files::encodeName(path).size() >= PATH_MAX;
}

bool storableFolder(const QString& path) {
    return !path.contains(QLatin1Char('\r')) && !path.contains(QLatin1Char('\n'));
}

QString folderOf(const QString& line, const QString& appFolder, const QString& fileFolder) {
    if (line.isEmpty() || line.contains(QChar(0))) return QString();
    const bool tooLong = tooLongForPath(line);
    // Only "/" starts an absolute path here (Qt would also take ":" for its own resources).
    if (line.startsWith(QLatin1Char('/'))) return tooLong ? line : QDir::cleanPath(line);
    if (line.contains(QLatin1Char('/')) || line == QLatin1String(".") ||
        line == QLatin1String(".."))
        return QString();
    // Joined by hand: QDir would take ":name" for one of Qt's resources.
    const QString beside = fileFolder + QLatin1Char('/') + line;
    if (tooLong) return beside;
    const QString inApp = appFolder + QLatin1Char('/') + line;
    return files::exists(files::encodeName(inApp)) ? QDir::cleanPath(inApp)
                                                   : QDir::cleanPath(beside);
}

QColor colour(const Data& d, int i) {
    if (i < 0 || i >= colour::kCount) return QColor(0, 0, 0);
    const HsvComponents& c = d.colours[size_t(i)];
    return HSV(c.h, c.s, c.v);
}

void setColour(Data& d, int i, const QColor& c) {
    if (i >= 0 && i < colour::kCount) d.colours[size_t(i)] = toHsv(c);
}

} // namespace presentation_file

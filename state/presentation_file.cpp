#include "state/presentation_file.h"

#include <QStringDecoder>
#include <algorithm>

namespace presentation_file {

namespace {

void writeLine(QByteArray& out, QString text) {
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    out += text.toUtf8();
    out += '\r';
}

// Hands out the lines of a file one by one; past the end every line is "".
class LineReader {
  public:
    explicit LineReader(const QByteArray& bytes) : bytes_(bytes) {
        // Byte order marks before the first line (an editor may add one at every save) are
        // no part of the folder's path.
        while (QByteArrayView(bytes_).sliced(pos_).startsWith("\xEF\xBB\xBF"))
            pos_ += 3;
    }
    bool atEnd() const { return pos_ >= bytes_.size(); }
    QString next() {
        if (atEnd()) return {};
        const char* begin = bytes_.constData() + pos_;
        const char* end = bytes_.constData() + bytes_.size();
        const char* stop = std::find_if(begin, end, [](char c) { return c == '\r' || c == '\n'; });
        // Every line keeps its text exactly, a leading U+FEFF included (QString::fromUtf8
        // would drop it, and a save after an open would then change the file).
        const QString line = decoder_(QByteArrayView(begin, stop - begin));
        pos_ += (stop - begin);
        if (pos_ < bytes_.size()) {
            const bool cr = bytes_[pos_] == '\r';
            ++pos_;
            if (cr && pos_ < bytes_.size() && bytes_[pos_] == '\n') ++pos_;
        }
        return line;
    }
    int nextInt() { return toInt(Val(next())); }
    bool nextSwitch() { return next() == QLatin1String("1"); }

  private:
    const QByteArray& bytes_;
    qsizetype pos_ = 0;
    QStringDecoder decoder_{QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                      QStringDecoder::Flag::ConvertInitialBom};
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
    for (int i = 0; i < count; ++i) {
        if (size_t(i) < d.notes.size())
            for (const QString& cell : d.notes[size_t(i)])
                writeLine(out, cell);
        else
            out.append(note::kCells, '\r');
    }
    return out;
}

Data read(const QByteArray& bytes) {
    LineReader in(bytes);
    Data d;
    d.folder = in.next();
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
    for (int i = 0; i < d.count && !in.atEnd(); ++i) {
        Note& note = d.notes.emplace_back();
        for (QString& cell : note)
            cell = in.next();
    }
    return d;
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

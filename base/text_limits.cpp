#include "base/text_limits.h"

#include <algorithm>

namespace text_limits {

namespace {

// The part [from, from + length) widened or narrowed at its ends so that neither end falls
// between the two halves of a surrogate pair.
QString whole(const QString& text, qsizetype from, qsizetype length) {
    qsizetype to = from + length;
    if (from > 0 && from < text.size() && text[from].isLowSurrogate()) ++from;
    if (to < text.size() && text[to].isLowSurrogate()) --to;
    return to > from ? text.mid(from, to - from) : QString();
}

} // namespace

QString excerpt(const QString& text, qsizetype most, Keep keep) {
    most = std::max<qsizetype>(most, 0);
    if (text.size() <= most) return text;
    switch (keep) {
    case Keep::Start:
        return whole(text, 0, most);
    case Keep::End:
        return whole(text, text.size() - most, most);
    case Keep::Middle:
        break;
    }
    return whole(text, (text.size() - most) / 2, most);
}

QString shortenedMiddle(const QString& text, qsizetype most) {
    most = std::max<qsizetype>(most, 3);
    if (text.size() <= most) return text;
    const qsizetype head = (most - 1) / 2, tail = most - 1 - head;
    return whole(text, 0, head) + QChar(0x2026) + whole(text, text.size() - tail, tail);
}

} // namespace text_limits

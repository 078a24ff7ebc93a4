#pragma once
// Texts from files may be of any length; what a window draws of them need not be. These cut
// a text down to a bounded part, so drawing it costs the same however long it is stored.
#include <QString>

namespace text_limits {

// The most characters of one line of text a window is given to draw or edit: more than a line
// across any screen shows at a readable size.
inline constexpr int kLongestLine = 4096;

// Which part of a text to keep.
enum class Keep { Start, Middle, End };

// At most `most` UTF-16 units of the text: its start, its middle or its end. A surrogate pair
// is never split (the excerpt may then be one unit shorter). A shorter text comes back whole.
QString excerpt(const QString& text, qsizetype most, Keep keep);

// At most `most` units: the start and the end of the text joined by an ellipsis (U+2026),
// for naming something too long to show whole. A text of at most `most` units comes back
// whole; `most` below 3 is taken as 3.
QString shortenedMiddle(const QString& text, qsizetype most);

} // namespace text_limits

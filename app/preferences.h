#pragma once
// The one-line preferences file that remembers the interface language.
#include <QString>

namespace preferences {

inline const QString fileName = QStringLiteral("vtnvprfs.txt");

// lingua from the file in the folder: 1 when there is no file or it cannot be read,
// otherwise the integer part of the first line's leading number (0 when it has none).
int readLingua(const QString& folder);
// Replaces the file with one line holding lingua; false when it cannot be written.
bool writeLingua(const QString& folder, int lingua);

} // namespace preferences

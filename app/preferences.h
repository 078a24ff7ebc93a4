#pragma once
// The one-line preferences file that remembers the interface language.
#include <QString>

namespace preferences {

inline const QString fileName = QStringLiteral("vtnvprfs.txt");

// lingua from the file in the folder: 1 when there is no file or it cannot be read (a link,
// a named pipe, a device, a folder), otherwise the integer part of the first line's leading
// number (0 when it has none).
int readLingua(const QString& folder);

// Replaces the file in the folder with one line holding lingua. The file is only ever written
// as a regular file of its own: made beside it under another name and renamed over it, so a
// link in its place is replaced, never followed; when the file's place holds anything but a
// regular file (a link, a device, a named pipe, a folder), nothing is written. false when
// nothing was written, with the reason in `why`; the old file is then as it was.
bool writeLingua(const QString& folder, int lingua, QString* why = nullptr);

// The folder whose preferences file the program uses: `preferred`, unless the file's place
// there holds something other than a regular file (see writeLingua): then `fallback` (the
// user's configuration folder), so that a link planted in a shared folder leads nowhere.
QString folderToUse(const QString& preferred, const QString& fallback);

} // namespace preferences

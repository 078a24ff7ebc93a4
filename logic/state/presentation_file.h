#pragma once
// The presentation file: plain text, one value per line, each line ended by a carriage
// return. 28 lines of settings, then 13 lines for the note of each picture.
#include "base/values.h"
#include "logic/state/model.h"

#include <QByteArray>
#include <QColor>
#include <QString>
#include <array>
#include <limits>
#include <vector>

namespace presentation_file {

inline constexpr int settingLines = 28;
using Note = std::array<QString, note::kCells>;

// A folder line longer than this (in bytes) names no folder the system could reach; it is
// read as its first and last quarter of this around an ellipsis, which is still too long for
// a path (see tooLongForPath) and reads back the same, so a damaged line costs nothing.
// Every other folder line and every note cell is held with its bytes (files::decodeName): a
// file written from what was read has the same bytes on those lines, whatever encoding it
// was written in.
inline constexpr qsizetype longestFolderLine = 8192;

struct Data {
    QString folder;    // line 1: absolute path of the image folder
    int thumb_pos = 0; // line 2: strip edge, stored as found
    int percent = 0;   // line 3: strip size slider value
    std::array<HsvComponents, colour::kCount> colours{}; // lines 4..24: hue, saturation, value
    bool fill = false;                                   // line 25: "Notes with fill"
    bool display = false;                                // line 26: "Display notes"
    int ombra = 0;                                       // line 27: shadow offset
    int count = 0;           // line 28: number of pictures, never negative
    std::vector<Note> notes; // the note blocks held as text; notes[0] is picture 1
    // The blocks the file holds beyond `notes` when read() was told to hold fewer: the file's
    // bytes (shared with the buffer read, not copied) and where the first of them starts;
    // write() copies their lines back, so a read and a write never lose a block.
    QByteArray source;
    qsizetype unheldFrom = -1;
};

// The largest presentation file that is read: far beyond any real presentation (a million
// pictures with long notes), yet reading it can never exhaust memory.
inline constexpr qint64 largestFile = qint64(512) * 1024 * 1024;

// Why a file's bytes could not be had.
enum class LoadError {
    None,
    NotAFile,   // a folder, a named pipe, a device...
    TooLarge,   // beyond largestFile, or grew beyond it while read
    Unreadable, // missing, not permitted...: the system's reason is in `detail`
};
struct Loaded {
    QByteArray bytes;
    LoadError error = LoadError::None;
    QString detail;
};
// The bytes of a presentation file. Only a regular file (also reached through a link) is
// read; a named pipe or a device is refused without waiting for a writer. The file is read
// once: one that shrinks meanwhile gives what it held, one that grows past the limit is
// refused.
Loaded load(const QString& path);

// The file's bytes: 28 + 13 * count lines, each ended by CR alone, texts as their bytes
// (files::encodeName: UTF-8, but for the bytes a text kept from a file), numbers with Str. A CR or
// LF inside a text (which would shift every later line) is written as a space. Pictures beyond
// d.notes get empty notes.
QByteArray write(const Data& d);

// Reads a file written by write() or edited by hand: lines may end with CR, LF or CRLF, and a
// leading UTF-8 byte order mark is skipped. Lines the file lacks read as "". Numbers are the
// leading number of their line (Val) made integer (toInt); a switch is on only when its line
// is exactly "1"; a negative count reads 0. Only the note blocks that the file's lines reach
// are kept, the last one completed with empty cells, so a count far beyond the file costs
// nothing. At most `held` blocks become text; the rest stay bytes (see Data::source), so
// reading costs only what the notes that can be shown need.
Data read(const QByteArray& bytes, int held = std::numeric_limits<int>::max());

// A folder path that no file system call takes: longer than the system's path limit.
bool tooLongForPath(const QString& path);
// Whether the folder's path can be stored on line 1 and read back as the same path: it must
// not hold a line break (every line break ends a line of the file).
bool storableFolder(const QString& path);

// The image folder that line 1 names, as the framework resolves a file reference: an absolute
// path is itself (cleaned); a bare name (no separator, not "." or "..") is the item of that
// name in appFolder, or, when appFolder has none, the one beside the presentation file, in
// fileFolder. A line too long for a path is taken as it stands, without asking the file
// system. "" (no folder) for an empty line, a relative path with separators or a NUL.
QString folderOf(const QString& line, const QString& appFolder, const QString& fileFolder);

// Colour i (0..6) of the file, built from its components (out-of-range components are
// clamped). Black for another i.
QColor colour(const Data& d, int i);
// Stores a colour's components as colour i; another i changes nothing.
void setColour(Data& d, int i, const QColor& c);

} // namespace presentation_file

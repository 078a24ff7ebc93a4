#pragma once
// The presentation file: plain text, one value per line, each line ended by a carriage
// return. 28 lines of settings, then 13 lines for the note of each picture.
#include "framework/values.h"
#include "state/model.h"

#include <QByteArray>
#include <QColor>
#include <QString>
#include <array>
#include <vector>

namespace presentation_file {

inline constexpr int settingLines = 28;
using Note = std::array<QString, note::kCells>;

struct Data {
    QString folder;    // line 1: absolute path of the image folder
    int thumb_pos = 0; // line 2: strip edge, stored as found
    int percent = 0;   // line 3: strip size slider value
    std::array<HsvComponents, colour::kCount> colours{}; // lines 4..24: hue, saturation, value
    bool fill = false;                                   // line 25: "Notes with fill"
    bool display = false;                                // line 26: "Display notes"
    int ombra = 0;                                       // line 27: shadow offset
    int count = 0;           // line 28: number of pictures, never negative
    std::vector<Note> notes; // the note blocks present in the file; notes[0] is picture 1
};

// The file's bytes: 28 + 13 * count lines, each ended by CR alone, text in UTF-8, numbers
// with Str. A CR or LF inside a text (which would shift every later line) is written as a
// space. Pictures beyond d.notes get empty notes.
QByteArray write(const Data& d);

// Reads a file written by write() or edited by hand: lines may end with CR, LF or CRLF, and a
// leading UTF-8 byte order mark is skipped. Lines the file lacks read as "". Numbers are the
// leading number of their line (Val) made integer (toInt); a switch is on only when its line
// is exactly "1"; a negative count reads 0. Only the note blocks that the file's lines reach
// are kept, the last one completed with empty cells, so a count far beyond the file costs
// nothing.
Data read(const QByteArray& bytes);

// Colour i (0..6) of the file, built from its components (out-of-range components are
// clamped). Black for another i.
QColor colour(const Data& d, int i);
// Stores a colour's components as colour i; another i changes nothing.
void setColour(Data& d, int i, const QColor& c);

} // namespace presentation_file

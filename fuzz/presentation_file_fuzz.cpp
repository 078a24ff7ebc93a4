// Presentation file reader under arbitrary bytes. Besides never crashing, a file that has
// been read and written again must read back as the same presentation, and writing that
// again must give the same bytes: a save after an open never changes what the file says.
// The folder line and every note cell come out as the very bytes they were in the file.
#include "logic/state/model.h"
#include "logic/state/presentation_file.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace pf = presentation_file;

namespace {

void check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "presentation file property broken: %s\n", what);
    std::abort();
}

// The program never writes more pictures than a folder holds; a count from a hostile file
// is kept by read() but only a bounded one is worth writing out again.
constexpr int largestWrittenCount = 20000;

qsizetype lineCount(const QByteArray& bytes) {
    return bytes.count('\r') + bytes.count('\n') + 1;
}

bool sameComponents(const HsvComponents& a, const HsvComponents& b) {
    return a.h == b.h && a.s == b.s && a.v == b.v;
}

// The lines as the reader finds them: after any byte order marks at the start, ended by CR,
// LF or CRLF.
QList<QByteArray> linesOf(QByteArray bytes) {
    while (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QList<QByteArray> lines;
    qsizetype from = 0;
    while (from < bytes.size()) {
        qsizetype end = from;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        lines << bytes.mid(from, end - from);
        from = end + (bytes.mid(end, 2) == "\r\n" ? 2 : 1);
    }
    return lines;
}

// The folder line and the cells of the note blocks read are written with their own bytes.
void checkBytesKept(const QByteArray& file, const pf::Data& d, const QByteArray& written) {
    const QList<QByteArray> in = linesOf(file), out = written.split('\r');
    const QByteArray folder = in.value(0);
    if (folder.size() <= pf::longestFolderLine) check(out[0] == folder, "folder line bytes");
    for (size_t i = 0; i < d.notes.size(); ++i)
        for (int c = 0; c < note::kCells; ++c) {
            const qsizetype line = pf::settingLines + qsizetype(i) * note::kCells + c;
            check(out[line] == in.value(line), "note cell bytes");
        }
}

// Pictures beyond the note blocks a file holds have empty notes.
pf::Note noteOf(const pf::Data& d, int i) {
    return size_t(i) < d.notes.size() ? d.notes[size_t(i)] : pf::Note{};
}

void checkSame(const pf::Data& a, const pf::Data& b) {
    check(a.folder == b.folder, "folder");
    check(a.thumb_pos == b.thumb_pos, "thumb_pos");
    check(a.percent == b.percent, "percent");
    for (int i = 0; i < colour::kCount; ++i)
        check(sameComponents(a.colours[size_t(i)], b.colours[size_t(i)]), "colour");
    check(a.fill == b.fill && a.display == b.display, "switches");
    check(a.ombra == b.ombra, "ombra");
    check(a.count == b.count, "count");
    for (int i = 0; i < a.count; ++i)
        check(noteOf(a, i) == noteOf(b, i), "note");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const pf::Data first = pf::read(bytes);

    check(first.count >= 0, "negative count");
    check(first.notes.size() <= size_t(first.count), "more notes than pictures");
    // Only blocks that the file's lines reach are kept.
    check(qint64(first.notes.size()) <= lineCount(bytes) / note::kCells + 1, "notes from nothing");
    for (const HsvComponents& c : first.colours)
        check(std::isfinite(c.h) && std::isfinite(c.s) && std::isfinite(c.v), "colour not finite");
    for (int i = 0; i < 8; ++i)
        (void)pf::colour(first, i - 1);

    if (first.count > largestWrittenCount) return 0;
    const QByteArray written = pf::write(first);
    check(written.endsWith('\r') && !written.contains('\n'), "line ends");
    check(written.count('\r') == pf::settingLines + qsizetype(note::kCells) * first.count,
          "line count");
    checkBytesKept(bytes, first, written);
    // Blocks left as bytes come out exactly as if they had been held as text.
    for (const int held : {0, 1, int(first.notes.size() / 2)}) {
        const pf::Data part = pf::read(bytes, held);
        check(part.notes.size() <= size_t(held), "more blocks held than asked");
        check(pf::write(part) == written, "held or not, written differently");
    }
    const pf::Data second = pf::read(written);
    checkSame(first, second);
    check(second.notes.size() == size_t(second.count), "every note block read back");
    check(pf::write(second) == written, "written twice differently");
    return 0;
}

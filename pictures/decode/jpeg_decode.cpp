#include "pictures/decode/jpeg_decode.h"

#include "pictures/decode/decode_budget.h"
#include "pictures/decode/picture_streams.h"

#include <QColorSpace>

#include <array>
#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE
#include <cstdlib>
#include <memory>

#include <jpeglib.h>

#include <jerror.h> // after jpeglib.h, which it needs

namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return: it jumps back
// to the decode, past only the library's own C frames.
struct Errors {
    jpeg_error_mgr manager;
    std::jmp_buf back;
};

[[noreturn]] void failed(j_common_ptr c) {
    std::longjmp(reinterpret_cast<Errors*>(c->err)->back, 1);
}

// A damaged photo is expected; its complaints are not worth a line on the terminal.
void quiet(j_common_ptr) {}

// The file, read in large pieces as the library asks for them.
struct Source {
    jpeg_source_mgr manager;
    QIODevice* file;
    std::array<JOCTET, 64 * 1024> buffer;
    bool ended;
};

Source& sourceOf(j_decompress_ptr c) {
    return *reinterpret_cast<Source*>(c->src);
}

void startSource(j_decompress_ptr) {}

boolean fill(j_decompress_ptr c) {
    Source& s = sourceOf(c);
    const qint64 got =
        s.ended ? 0
                : s.file->read(reinterpret_cast<char*>(s.buffer.data()), qint64(s.buffer.size()));
    if (got > 0) {
        s.manager.next_input_byte = s.buffer.data();
        s.manager.bytes_in_buffer = size_t(got);
        return TRUE;
    }
    // A file cut short ends as if complete: what was decoded shows, the rest stays grey,
    // as every viewer does it.
    s.ended = true;
    WARNMS(c, JWRN_JPEG_EOF);
    s.buffer[0] = 0xFF;
    s.buffer[1] = JPEG_EOI;
    s.manager.next_input_byte = s.buffer.data();
    s.manager.bytes_in_buffer = 2;
    return TRUE;
}

void skip(j_decompress_ptr c, long count) {
    Source& s = sourceOf(c);
    while (count > 0) {
        if (size_t(count) <= s.manager.bytes_in_buffer) {
            s.manager.next_input_byte += count;
            s.manager.bytes_in_buffer -= size_t(count);
            return;
        }
        count -= long(s.manager.bytes_in_buffer);
        s.manager.bytes_in_buffer = 0;
        // Past the buffer: the file can jump ahead unless it is a stream.
        if (!s.file->isSequential() && !s.ended && s.file->seek(s.file->pos() + count)) return;
        fill(c);
    }
}

void endSource(j_decompress_ptr) {}

// Called by the library between rows, also while it reads the scans of a progressive JPEG: a
// decode no longer wanted stops here. So do scans beyond those counted before the decode: the file
// grew scans since, which the memory and time planned for did not include. The work of each scan is
// counted again as it starts, by what the library is about to do, so that a file rewritten with
// heavier scans is stopped too.
struct Progress {
    jpeg_progress_mgr manager;
    int scans;
    int counted; // the scan whose work was added last
    qint64 work;
};

void watchScans(j_common_ptr common) {
    const auto c = reinterpret_cast<j_decompress_ptr>(common);
    Progress& p = *reinterpret_cast<Progress*>(c->progress);
    if (c->input_scan_number > p.scans || picture::cancelled()) ERREXIT(c, JERR_NOT_COMPILED);
    if (c->input_scan_number != p.counted) {
        p.counted = c->input_scan_number;
        const qint64 blocks =
            qint64(c->MCUs_per_row) * qint64(c->MCU_rows_in_scan) * qint64(c->blocks_in_MCU);
        p.work += picture::jpegScanWork(blocks, c->Ss, c->Se, c->Ah);
        if (p.work > picture::kMostJpegWork) ERREXIT(c, JERR_NOT_COMPILED);
    }
}

// `m` eighths of a picture's size, rounded up as libjpeg does.
QSize eighths(QSize stored, int m) {
    return QSize(int((qint64(stored.width()) * m + 7) / 8),
                 int((qint64(stored.height()) * m + 7) / 8));
}

constexpr J_COLOR_SPACE kRgb32 =
    Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB; // QImage::Format_RGB32

// One decode's state; the library's structures point into it.
struct Decoder {
    jpeg_decompress_struct c{};
    Errors errors{};
    Source source{};
    Progress progress{};
};

// The decode proper. Locals changed after setjmp are not read after a jump back, and nothing
// with a destructor lives in the frames a jump crosses: the library's own, and this one's
// callbacks above.
bool run(Decoder& d, QSize stored, int components, bool progressive, QSize scaled, QImage& out,
         QByteArray& profile) {
    jpeg_decompress_struct& c = d.c;
    if (setjmp(d.errors.back)) return false;
    jpeg_create_decompress(&c); // allocates: it may fail, and jump back, like any call after it
    c.src = &d.source.manager;  // creating clears all but the error handler
    c.progress = &d.progress.manager;
    jpeg_save_markers(&c, JPEG_APP0 + 2, 0xFFFF); // the colour profile, in pieces
    if (jpeg_read_header(&c, TRUE) != JPEG_HEADER_OK) return false;
    if (QSize(int(c.image_width), int(c.image_height)) != stored ||
        c.num_components != components || bool(c.progressive_mode) != progressive)
        return false;
    JOCTET* icc = nullptr;
    unsigned int length = 0;
    if (jpeg_read_icc_profile(&c, &icc, &length)) {
        profile = QByteArray(reinterpret_cast<const char*>(icc), qsizetype(length));
        std::free(icc);
    }
    const bool grey = components == 1;
    c.out_color_space = grey ? JCS_GRAYSCALE : kRgb32;
    int m = 1;
    while (m <= 8 && eighths(stored, m) != scaled)
        ++m;
    if (m > 8) return false;
    c.scale_num = unsigned(m);
    c.scale_denom = 8;
    jpeg_start_decompress(&c);
    if (QSize(int(c.output_width), int(c.output_height)) != scaled) return false;
    out = QImage(scaled, grey ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
    if (out.isNull()) return false;
    while (c.output_scanline < c.output_height) {
        JSAMPROW row = out.scanLine(int(c.output_scanline));
        if (jpeg_read_scanlines(&c, &row, 1) != 1) return false;
    }
    // What follows the picture must be its end: markers where there should be none mean a
    // damaged file, and another scan one that grew since it was measured.
    return jpeg_finish_decompress(&c);
}

} // namespace

namespace picture {

QSize jpegScaled(QSize stored, QSize target) {
    for (int m = 1; m < 8; ++m) {
        const QSize s = eighths(stored, m);
        if (s.width() >= target.width() && s.height() >= target.height()) return s;
    }
    return stored;
}

QImage decodeJpeg(QIODevice& file, QSize stored, int components, bool progressive, QSize scaled,
                  int scans) {
    if (components != 1 && components != 3) return {};
    const auto d = std::make_unique<Decoder>();
    d->c.err = jpeg_std_error(&d->errors.manager);
    d->errors.manager.error_exit = failed;
    d->errors.manager.output_message = quiet;
    d->source.file = &file;
    d->source.manager.init_source = startSource;
    d->source.manager.fill_input_buffer = fill;
    d->source.manager.skip_input_data = skip;
    d->source.manager.resync_to_restart = jpeg_resync_to_restart;
    d->source.manager.term_source = endSource;
    d->progress.manager.progress_monitor = watchScans;
    d->progress.scans = scans;
    QImage out;
    QByteArray profile;
    const bool ok = run(*d, stored, components, progressive, scaled, out, profile);
    jpeg_destroy_decompress(&d->c); // nothing to do when it was never created
    if (!ok) return {};
    if (!profile.isEmpty()) out.setColorSpace(QColorSpace::fromIccProfile(profile));
    return out;
}

} // namespace picture

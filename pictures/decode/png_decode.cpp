#include "pictures/decode/png_decode.h"

#include "pictures/decode/decode_budget.h"

#include <QColorSpace>

#include <algorithm>
#include <array>
#include <climits>
#include <csetjmp>
#include <memory>

#include <png.h>

namespace {

// libpng reports a fatal error through this, which must not return: it jumps back to the
// decode, past only the library's frames and the callbacks below, which hold nothing with a
// destructor when they call it.
[[noreturn]] void failed(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

// A damaged picture is expected; its complaints are not worth a line on the terminal.
void quiet(png_structp, png_const_charp) {}

// One decode's state; the library's callbacks reach it through its progressive pointer.
struct Decoder {
    png_structp png = nullptr;
    png_infop info = nullptr;
    QSize stored;
    QImage image;
    QList<QRgb> colours; // of a palette or grey picture of few levels
    QColorSpace space;
    int lastPass = 0;
    bool done = false; // the last row of the last pass is in
    std::array<char, 64 * 1024> buffer{};
};

Decoder& decoderOf(png_structp png) {
    return *static_cast<Decoder*>(png_get_progressive_ptr(png));
}

// The colour space the chunks before the image data describe: an ICC profile first, then the
// sRGB chunk, then gamma with or without chromaticities.
QColorSpace colourSpace(png_structp png, png_infop info) {
    png_charp name = nullptr;
    int compression = 0;
    png_bytep profile = nullptr;
    png_uint_32 length = 0;
    if (png_get_iCCP(png, info, &name, &compression, &profile, &length) && profile) {
        const QColorSpace icc = QColorSpace::fromIccProfile(
            QByteArray(reinterpret_cast<const char*>(profile), qsizetype(length)));
        if (icc.isValid()) return icc;
    }
    int intent = -1;
    if (png_get_sRGB(png, info, &intent) && intent >= 0 && intent <= 3) return QColorSpace::SRgb;
    double gamma = 0;
    if (!png_get_gAMA(png, info, &gamma) || !(gamma > 0)) return {};
    const auto transfer = QColorSpace::TransferFunction::Gamma;
    double wx = 0, wy = 0, rx = 0, ry = 0, gx = 0, gy = 0, bx = 0, by = 0;
    if (png_get_cHRM(png, info, &wx, &wy, &rx, &ry, &gx, &gy, &bx, &by)) {
        const QColorSpace c(QPointF(wx, wy), QPointF(rx, ry), QPointF(gx, gy), QPointF(bx, by),
                            transfer, float(1 / gamma));
        if (c.isValid()) return c;
    }
    return QColorSpace(QColorSpace::Primaries::SRgb, transfer, float(1 / gamma));
}

// The library's transformations and the image the rows go into, as the toolkit's reader
// chooses them; false when the picture cannot be made. The library may jump out of here: what
// this keeps is in `d`.
bool prepare(Decoder& d) {
    png_structp png = d.png;
    png_infop info = d.info;
    png_uint_32 width = 0, height = 0;
    int depth = 0, type = 0, interlace = 0;
    png_get_IHDR(png, info, &width, &height, &depth, &type, &interlace, nullptr, nullptr);
    if (QSize(int(std::min<png_uint_32>(width, INT_MAX)),
              int(std::min<png_uint_32>(height, INT_MAX))) != d.stored)
        return false;
    d.space = colourSpace(png, info);
    const bool transparency = png_get_valid(png, info, PNG_INFO_tRNS);
    png_bytep alphas = nullptr;
    int transparent = 0;
    png_color_16p key = nullptr;
    png_get_tRNS(png, info, &alphas, &transparent, &key);
    constexpr bool little = Q_BYTE_ORDER == Q_LITTLE_ENDIAN;
    QImage::Format format = QImage::Format_RGB32;
    QList<QRgb>& colours = d.colours;
    png_colorp palette = nullptr;
    int entries = 0;
    if (type == PNG_COLOR_TYPE_GRAY && depth == 1) {
        png_set_invert_mono(png);
        format = QImage::Format_Mono;
        colours = {qRgb(255, 255, 255), qRgb(0, 0, 0)};
        if (key && key->gray <= 1) colours[1 - key->gray] &= 0x00FFFFFF;
    } else if (type == PNG_COLOR_TYPE_GRAY && depth == 16 && !transparency) {
        format = QImage::Format_Grayscale16;
        if (little) png_set_swap(png);
    } else if (type == PNG_COLOR_TYPE_GRAY && depth == 16) {
        png_set_expand(png);
        png_set_gray_to_rgb(png);
        format = QImage::Format_RGBA64;
        if (little) png_set_swap(png);
    } else if (type == PNG_COLOR_TYPE_GRAY && depth == 8 && !transparency) {
        format = QImage::Format_Grayscale8;
    } else if (type == PNG_COLOR_TYPE_GRAY) {
        if (depth < 8) png_set_packing(png);
        const int n = 1 << depth;
        for (int i = 0; i < n; ++i)
            colours << qRgb(i * 255 / (n - 1), i * 255 / (n - 1), i * 255 / (n - 1));
        if (key && key->gray < n) colours[key->gray] = 0;
        format = QImage::Format_Indexed8;
    } else if (type == PNG_COLOR_TYPE_PALETTE) {
        if (!png_get_PLTE(png, info, &palette, &entries) || entries < 1 || entries > 256)
            return false;
        if (depth != 1) png_set_packing(png);
        format = depth == 1 ? QImage::Format_Mono : QImage::Format_Indexed8;
        for (int i = 0; i < (depth == 1 ? std::min(entries, 2) : entries); ++i)
            colours << qRgba(palette[i].red, palette[i].green, palette[i].blue,
                             alphas && i < transparent ? alphas[i] : 255);
        while (format == QImage::Format_Mono && colours.size() < 2)
            colours << qRgb(0, 0, 0);
    } else if (depth == 16) {
        const bool alpha = (type & PNG_COLOR_MASK_ALPHA) || transparency;
        if (!alpha) png_set_filler(png, 0xFFFF, PNG_FILLER_AFTER);
        if (transparency) png_set_expand(png);
        if (!(type & PNG_COLOR_MASK_COLOR)) png_set_gray_to_rgb(png);
        format = alpha ? QImage::Format_RGBA64 : QImage::Format_RGBX64;
        if (little) png_set_swap(png);
    } else {
        png_set_expand(png);
        if (type == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
        const bool alpha = (type & PNG_COLOR_MASK_ALPHA) || transparency;
        if (!alpha) png_set_filler(png, 0xFF, little ? PNG_FILLER_AFTER : PNG_FILLER_BEFORE);
        if (!little) png_set_swap_alpha(png);
        if (little) png_set_bgr(png);
        format = alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    }
    d.lastPass = interlace == PNG_INTERLACE_NONE ? 0 : png_set_interlace_handling(png) - 1;
    png_start_read_image(png);
    d.image = QImage(d.stored, format);
    if (d.image.isNull()) return false;
    if (!colours.isEmpty()) d.image.setColorTable(colours);
    return true;
}

void infoReady(png_structp png, png_infop) {
    if (!prepare(decoderOf(png))) png_error(png, "unusable");
}

void rowReady(png_structp png, png_bytep row, png_uint_32 number, int pass) {
    Decoder& d = decoderOf(png);
    if (d.done || number >= png_uint_32(d.image.height())) return;
    if (picture::cancelled()) png_error(png, "cancelled");
    png_progressive_combine_row(png, d.image.scanLine(int(number)), row);
    if (pass < d.lastPass || number + 1 < png_uint_32(d.image.height())) return;
    // The picture is complete: no more of the file is handed over, whatever it holds besides;
    // the library inflates nothing more of what it has.
    d.done = true;
}

void ended(png_structp png, png_infop) {
    decoderOf(png).done = true;
}

// Hands the file to the library until the last row is in. Nothing with a destructor lives in
// this frame after setjmp, and nothing changed after it is read after a jump back.
bool run(Decoder& d, QIODevice& device) {
    if (setjmp(png_jmpbuf(d.png))) return false;
    png_set_progressive_read_fn(d.png, &d, infoReady, rowReady, ended);
    while (!d.done) {
        if (picture::cancelled()) return false;
        const qint64 n = device.read(d.buffer.data(), qint64(d.buffer.size()));
        if (n <= 0) return false; // cut short before the last row
        png_process_data(d.png, d.info, reinterpret_cast<png_bytep>(d.buffer.data()), size_t(n));
    }
    return !d.image.isNull();
}

// Palette indices beyond the palette would read colours that are not there: they show its
// first, as the toolkit's reader has them.
void boundIndices(QImage& image) {
    const int colours = int(image.colorCount());
    if (image.format() != QImage::Format_Indexed8 || colours >= 256) return;
    const int w = image.width(), h = image.height();
    for (int y = 0; y < h; ++y) {
        uchar* p = image.scanLine(y);
        std::replace_if(
            p, p + w, [colours](uchar i) { return i >= colours; }, uchar(0));
    }
}

} // namespace

namespace picture {

QImage decodePng(QIODevice& device, QSize stored) {
    const auto d = std::make_unique<Decoder>();
    d->stored = stored;
    d->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, failed, quiet);
    if (!d->png) return {};
    d->info = png_create_info_struct(d->png);
    // Files whose encoders declared too small a window still decode, as elsewhere.
    png_set_option(d->png, PNG_MAXIMUM_INFLATE_WINDOW, PNG_OPTION_ON);
    const bool ok = d->info && run(*d, device);
    png_destroy_read_struct(&d->png, d->info ? &d->info : nullptr, nullptr);
    if (!ok) return {};
    boundIndices(d->image);
    if (d->space.isValid()) d->image.setColorSpace(d->space);
    return std::move(d->image);
}

} // namespace picture

// Showing one picture of the presentation in the picture window: the backdrop (the picture
// scaled to fit on the background colour, with the note's frame) and the note's labels.
#include "windows/presentation/mostra_pict.h"

#include "framework/picture.h"
#include "framework/values.h"
#include "state/fitting.h"
#include "state/globali.h"
#include "windows/presentation/fin_pict.h"
#include "windows/presentation/picture_compose.h"
#include "windows/presentation/presentation_geometry.h"
#include "windows/setup/start.h"

#include <algorithm>

namespace {

// Font sizes beyond this come only from damaged files; they would only fill the screen.
constexpr int kMaxNotePixels = 1000;

// The picture of note i scaled to fit the area with its frame, or a null image when the
// file does not give a picture.
QImage backdropOf(int i, QSize area, qreal dpr, bool notes) {
    using namespace Globali;
    const QSize device = picture_compose::deviceSize(area, dpr);
    const LoadedPicture loaded = loadPicture(
        disegno(i), [device](QSize full) { return fitting::fitRect(full, device).size(); });
    if (loaded.isNull()) return QImage();
    QImage backdrop = picture_compose::composeFitted(loaded.image, loaded.original, area, dpr,
                                                     colore(colour::PictureBackground));
    if (notes && contorno(i, note::FrameOn) == QLatin1String("1")) {
        const auto cell = [i](int c) { return toInt(Val(contorno(i, c))); };
        picture_compose::drawFrame(
            backdrop,
            presentation_geo::frameRect(cell(note::FrameLeft), cell(note::FrameTop),
                                        cell(note::FrameWidth), cell(note::FrameHeight)),
            cell(note::FrameLine), colore(colour::Frame));
    }
    return backdrop;
}

void place(QWidget* control, QRect geometry) {
    control->setGeometry(geometry);
}

} // namespace

namespace Globali {

void mostra_pict(int i) {
    fin_pict* window = fw::Single<fin_pict>::peek();
    if (!window) return; // no presentation is open
    const start* setup = start::instance();
    const bool notes = setup->CheckBox2->isChecked();
    // Picture numbers come from clicks and files: only 1..quantidisegni name a picture.
    const bool known = i >= 1 && i <= quantidisegni && i <= disegno.ubound();

    const QSize area(pct_dx, pct_dy);
    if (known && !disegno(i).isEmpty() && !area.isEmpty()) {
        const QImage backdrop = backdropOf(i, area, window->devicePixelRatioF(), notes);
        if (!backdrop.isNull()) window->setBackdrop(backdrop);
    }

    window->StaticText2->setText(QString());
    place(window->StaticText2, presentation_geo::kParked);
    window->StaticText1->setText(QString());
    place(window->StaticText1, presentation_geo::kParked);
    place(window->Rectangle1, presentation_geo::kParked);
    if (!known || !notes || contorno(i, note::Text).isEmpty()) return;

    const auto note = presentation_geo::noteLayout(
        window->content()->size(), contorno(i, note::Text), Val(contorno(i, note::Size)),
        Val(contorno(i, note::Position)), ombra, setup->CheckBox1->isChecked());
    const int pixels = std::clamp(toInt(Val(contorno(i, note::Size))), 1, kMaxNotePixels);
    for (fw::StaticText* label : {window->StaticText1, window->StaticText2}) {
        label->setFontFamily(contorno(i, note::Font));
        label->setTextSize(pixels);
        label->setBold(contorno(i, note::Bold) == QLatin1String("1"));
        label->setItalic(contorno(i, note::Italic) == QLatin1String("1"));
        label->setUnderline(contorno(i, note::Underline) == QLatin1String("1"));
        label->setText(note.text);
        label->setAlignment(note.align);
    }
    place(window->StaticText1, note.label);
    place(window->StaticText2, note.shadow);
    place(window->Rectangle1, note.box);
}

} // namespace Globali

// Showing one picture of the presentation in the picture window: the backdrop (the picture
// scaled to fit on the background colour, with the note's frame) and the note's labels.
// The backdrop is decoded and composed on a worker thread; until it comes the previous one
// stays, and the note changes together with the picture.
#include "windows/presentation/mostra_pict.h"

#include "framework/picture.h"
#include "framework/values.h"
#include "state/fitting.h"
#include "state/globali.h"
#include "state/model.h"
#include "windows/presentation/fin_pict.h"
#include "windows/presentation/picture_compose.h"
#include "windows/presentation/presentation_geometry.h"
#include "windows/setup/start.h"

#include <algorithm>
#include <optional>

namespace {

// Font sizes beyond this come only from damaged files; they would only fill the screen.
constexpr int kMaxNotePixels = 1000;

// What composing a backdrop needs, taken from the state on the GUI thread.
struct Backdrop {
    QString path;
    QSize area;
    qreal dpr = 1.0;
    QColor fill;
    struct Frame {
        QRect rect;
        int line = 0;
        QColor colour;
    };
    std::optional<Frame> frame;
};

Backdrop backdropOf(int i, QSize area, qreal dpr, bool notes) {
    using namespace Globali;
    Backdrop b{disegno(i), area, dpr, colore(colour::PictureBackground), std::nullopt};
    if (notes && contorno(i, note::FrameOn) == QLatin1String("1")) {
        const auto cell = [i](int c) { return toInt(Val(contorno(i, c))); };
        b.frame = Backdrop::Frame{
            presentation_geo::frameRect(cell(note::FrameLeft), cell(note::FrameTop),
                                        cell(note::FrameWidth), cell(note::FrameHeight)),
            cell(note::FrameLine), colore(colour::Frame)};
    }
    return b;
}

// The picture scaled to fit the area with its frame, or a null image when the file does not
// give a picture. Runs on a worker thread.
QImage compose(const Backdrop& b) {
    const QSize device = picture_compose::deviceSize(b.area, b.dpr);
    const LoadedPicture loaded =
        loadPicture(b.path, [device](QSize full) { return fitting::fitRect(full, device).size(); });
    if (loaded.isNull()) return QImage();
    QImage backdrop =
        picture_compose::composeFitted(loaded.image, loaded.original, b.area, b.dpr, b.fill);
    if (b.frame)
        picture_compose::drawFrame(backdrop, b.frame->rect, b.frame->line, b.frame->colour);
    return backdrop;
}

void place(QWidget* control, QRect geometry) {
    control->setGeometry(geometry);
}

// Picture i on screen: its backdrop when it has one (else the previous stays) and its note,
// when notes are on.
void show(fin_pict* window, int i, const QImage& backdrop, bool notes, bool fill) {
    using namespace Globali;
    if (!backdrop.isNull()) window->setBackdrop(backdrop);

    window->StaticText2->setText(QString());
    place(window->StaticText2, presentation_geo::kParked);
    window->StaticText1->setText(QString());
    place(window->StaticText1, presentation_geo::kParked);
    place(window->Rectangle1, presentation_geo::kParked);
    if (!notes || contorno(i, note::Text).isEmpty()) return;

    const auto note = presentation_geo::noteLayout(
        window->content()->size(), contorno(i, note::Text), Val(contorno(i, note::Size)),
        Val(contorno(i, note::Position)), ombra, fill);
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

} // namespace

namespace Globali {

void mostra_pict(int i) {
    fin_pict* window = fw::Single<fin_pict>::peek();
    if (!window) return; // no presentation is open
    // Picture numbers come from clicks and files: only 1..quantidisegni name a picture.
    const bool known = i >= 1 && i <= quantidisegni && i <= disegno.ubound();
    const start* setup = start::instance();
    const bool notes = known && setup->CheckBox2->isChecked();
    const bool fill = setup->CheckBox1->isChecked();

    // The picture asked for last is the one shown: one still being decoded is dropped.
    window->picture.cancel();
    const QSize area(pct_dx, pct_dy);
    if (!known || disegno(i).isEmpty() || area.isEmpty()) {
        show(window, i, QImage(), notes, fill);
        return;
    }
    const Backdrop b = backdropOf(i, area, window->devicePixelRatioF(), notes);
    window->picture.run([b] { return compose(b); },
                        [window, i, notes, fill](const QImage& backdrop) {
                            show(window, i, backdrop, notes, fill);
                        });
}

} // namespace Globali

// Showing one picture of the presentation in the picture window: the backdrop (the picture
// scaled to fit on the background colour, with the note's frame) and the note's labels.
// The backdrop is decoded and composed on a worker thread, unless it was made ahead; until it
// comes the previous one stays, and the note changes together with the picture. A picture
// slow to decode shows first from a smaller version of it.
#include "windows/presentation/mostra_pict.h"

#include "base/values.h"
#include "logic/geometry/presentation_geometry.h"
#include "logic/state/globali.h"
#include "logic/state/model.h"
#include "pictures/backdrop.h"
#include "pictures/thumbnails/thumbnail_cache.h"
#include "windows/presentation/fin_pict.h"
#include "windows/setup/start.h"

#include <algorithm>
#include <memory>
#include <optional>

namespace {

// Font sizes beyond this come only from damaged files; they would only fill the screen.
constexpr int kMaxNotePixels = 1000;

backdrop::Request requestOf(int i, QSize area, qreal dpr, bool notes) {
    using namespace Globali;
    backdrop::Request b{disegno(i), area, dpr, colore(colour::PictureBackground), std::nullopt};
    if (notes && contorno(i, note::FrameOn) == QLatin1String("1")) {
        const auto cell = [i](int c) { return toInt(Val(contorno(i, c))); };
        b.frame = backdrop::Request::Frame{
            presentation_geo::frameRect(cell(note::FrameLeft), cell(note::FrameTop),
                                        cell(note::FrameWidth), cell(note::FrameHeight)),
            cell(note::FrameLine), colore(colour::Frame)};
    }
    return b;
}

// The pictures a presenter is likely to ask for after picture i: the next, then the one before.
QList<backdrop::Request> beside(int i, QSize area, qreal dpr, bool notes) {
    using namespace Globali;
    QList<backdrop::Request> requests;
    for (const int k : {i + 1, i - 1})
        if (k >= 1 && k <= quantidisegni && k <= disegno.ubound() && !disegno(k).isEmpty())
            requests << requestOf(k, area, dpr, notes);
    return requests;
}

void place(QWidget* control, QRect geometry) {
    control->setGeometry(geometry);
}

// Picture i on screen: its backdrop when it has one (else the previous stays) and its note,
// when notes are on.
void show(fin_pict* window, int i, const QImage& picture, bool notes, bool fill) {
    using namespace Globali;
    if (!picture.isNull()) window->setBackdrop(picture);

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
    window->ahead.stopAwaiting();
    const QSize area(pct_dx, pct_dy);
    if (!known || disegno(i).isEmpty() || area.isEmpty()) {
        show(window, i, QImage(), notes, fill);
        return;
    }
    const qreal dpr = window->devicePixelRatioF();
    const backdrop::Request b = requestOf(i, area, dpr, notes);
    // Once on screen, the pictures beside it are made ahead.
    const auto shown = [window, i, notes, fill, b](const backdrop::Made& made) {
        show(window, i, made.image, notes, fill);
        window->ahead.shownNow(b, made, beside(i, b.area, b.dpr, notes));
    };
    if (const std::optional<backdrop::Made> ready = window->ahead.take(b)) {
        shown(*ready);
        return;
    }
    if (window->ahead.await(b, shown)) return;
    // A picture that takes long to decode shows at once from a smaller version of it, and
    // sharp when it is decoded. Both decodes run at once: a stand-in that comes after the
    // sharp picture is not shown, but one that comes after its decode failed (a picture too
    // large to decode whole) is, rather than leave the previous picture under this one's note.
    const auto sharp = std::make_shared<bool>(false);
    if (backdrop::slow(b)) {
        if (const thumbnail_cache::Thumbnail kept = thumbnail_cache::kept(b.path); kept.ok())
            show(window, i, backdrop::standIn(b, kept.image, kept.original), notes, fill);
        else
            window->picture.run([b] { return backdrop::standInDecoded(b); },
                                [window, i, notes, fill, sharp](const backdrop::Made& made) {
                                    if (!made.image.isNull() && !*sharp)
                                        show(window, i, made.image, notes, fill);
                                });
    }
    window->picture.run([b] { return backdrop::make(b); },
                        [shown, sharp](const backdrop::Made& made) {
                            *sharp = !made.image.isNull();
                            shown(made);
                        });
}

} // namespace Globali

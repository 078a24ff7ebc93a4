#include "windows/setup/start.h"

#include "base/files.h"
#include "base/values.h"
#include "kit/menus.h"
#include "kit/seams.h"
#include "logic/geometry/setup_geometry.h"
#include "resources/pictures.h"
#include "windows/editor/fin_edita.h"
#include "windows/presentation/presentation.h"
#include "windows/setup/setup_routines.h"

#include <QApplication>
#include <QMenuBar>

namespace {
const QString arial = QStringLiteral("arial");
const QChar CR(13);
QFont arialFont(int size, bool bold, bool italic = false, bool underline = false) {
    return fw::makeFont(arial, size, bold, italic, underline);
}
} // namespace

start::start() : fw::Window(fw::Frame::Document, QSize(512, 344), QStringLiteral("Setup")) {
    if (QMenuBar* bar = fw::applicationMenuBar()) setMenuBar(bar);
    fw::setHome(this, [this] { comeBack(); });
    QWidget* c = content();
    const QColor cyanish(0x00, 0xFF, 0xFE);
    auto* rs2 = new fw::Rectangle(c, QRect(-100, 284, 36, 36), cyanish, cyanish, 1);
    Rectsel.add(2, rs2);
    rec_schermo =
        new fw::Rectangle(c, QRect(-400, -400, 320, 240), QColor(0x7F, 0x7F, 0x72), Qt::black, 3);
    connect(rec_schermo, &fw::Rectangle::mouseDown, this,
            [this](int x, int y) { rec_schermo_MouseDown(x, y); });
    rec_min = new fw::Rectangle(c, QRect(-20, -20, 10, 10), QColor(0x6B, 0x8E, 0xB2),
                                QColor(0, 0, 0xFF), 3);
    rec_min->setClickThrough(true);
    Slider1 = new fw::Slider(c, QRect(45, 262, 250, 16), 5, 50, 10, 1, 20);
    connect(Slider1, &fw::Slider::ValueChanged, this, [this] { Slider1_ValueChanged(); });
    StaticText1 = new fw::StaticText(c, QRect(10, 258, 24, 20), QStringLiteral("5%"), arial, 12,
                                     true, 0, Qt::black);
    StaticText1->setUnderline(true);
    StaticText2 = new fw::StaticText(c, QRect(306, 258, 24, 20), QStringLiteral("50%"), arial, 12,
                                     true, 2, Qt::black);
    StaticText2->setUnderline(true);
    PushButton1 =
        new fw::PushButton(c, QRect(50, 315, 240, 20),
                           QStringLiteral("Click to choose image folder"), arialFont(12, true));
    connect(PushButton1, &fw::PushButton::Action, this, [this] { PushButton1_Action(); });
    for (int i = 0; i < 2; ++i) {
        auto* flag = new fw::Canvas(c, QRect(i == 0 ? 10 : 302, 288, 28, 28));
        const qreal dpr = flag->devicePixelRatioF();
        flag->setBackdrop(i == 0 ? pictures::busa(dpr) : pictures::bita(dpr));
        Canvasl.add(i, flag);
        connect(flag, &fw::Canvas::mouseEnter, this, [this, i] { Canvasl_MouseEnter(i); });
        connect(flag, &fw::Canvas::mouseExit, this, [this, i] { Canvasl_MouseExit(i); });
        connect(flag, &fw::Canvas::mouseDown, this,
                [this, i](int x, int y) { Canvasl_MouseDown(i, x, y); });
    }
    // Two lines of its 10-pixel font need 24 pixels: the picture count's descenders would be
    // cut off in 20.
    testo_folder =
        new fw::StaticText(c, QRect(45, 286, 250, 24),
                           QStringLiteral("No image folder / Nessuna cartella immagine") + CR +
                               QStringLiteral("selected / selezionata"),
                           arial, 10, true, 1, QColor(0x00, 0x4C, 0x27), true);
    StaticText3 = new fw::StaticText(c, QRect(30, 40, 280, 32),
                                     QStringLiteral("Click near border of this rectangle") + CR +
                                         QStringLiteral("to choose thumbnails position;"),
                                     arial, 12, true, 1, Qt::white, true);
    StaticText4 =
        new fw::StaticText(c, QRect(30, 195, 110, 48),
                           QStringLiteral("to use english") + CR +
                               QStringLiteral("click on usa flag") + CR + QStringLiteral("on left"),
                           arial, 12, true, 0, QColor(0xFF, 0xB2, 0xB2), true);
    StaticText5 = new fw::StaticText(c, QRect(170, 195, 140, 48),
                                     QStringLiteral("per utilizzare l'italiano") + CR +
                                         QStringLiteral("fai click sulla bandiera") + CR +
                                         QStringLiteral("a destra"),
                                     arial, 12, true, 2, QColor(0xB2, 0xFF, 0xB2), true);
    StaticText6 = new fw::StaticText(c, QRect(30, 84, 280, 32),
                                     QStringLiteral("Use the slider to select") + CR +
                                         QStringLiteral("thumbnails size;"),
                                     arial, 12, true, 1, Qt::white, true);
    auto* start0 = new fw::PushButton(c, QRect(350, 315, 152, 20),
                                      QStringLiteral("Start presentation"), arialFont(12, true));
    start0->setEnabled(false);
    bottone.add(0, start0);
    setDefaultButton(start0);
    connect(start0, &fw::PushButton::Action, this, [this] { bottone_Action(0); });
    const QColor yellowish(0xFF, 0xFE, 0x7F), yellow(0xFF, 0xFE, 0x00);
    StaticText7 = new fw::StaticText(c, QRect(30, 130, 130, 20), QStringLiteral("Immagini"), arial,
                                     12, false, 0, yellowish, true);
    StaticText8 = new fw::StaticText(c, QRect(180, 130, 130, 20), QStringLiteral("Thumbnails"),
                                     arial, 12, false, 2, yellowish, true);
    testo_scr = new fw::StaticText(c, QRect(30, 150, 130, 20), QStringLiteral("0"), arial, 12, true,
                                   0, yellow, true);
    testo_scr->setUnderline(true);
    testo_min = new fw::StaticText(c, QRect(180, 150, 130, 20), QStringLiteral("0"), arial, 12,
                                   true, 2, yellow, true);
    testo_min->setUnderline(true);
    // The texts over the screen preview let clicks reach it.
    for (fw::StaticText* t : {StaticText3, StaticText4, StaticText5, StaticText6, StaticText7,
                              StaticText8, testo_scr, testo_min})
        t->setClickThrough(true);
    for (int i = 0; i < 2; ++i) {
        auto* bar = new fw::Rectangle(c, QRect(i == 0 ? 6 : 302, 320, i == 0 ? 36 : 28, 10),
                                      cyanish, cyanish, 1);
        bar->hide();
        Rectsel.add(i, bar);
    }
    Line1 = new fw::Line(c, QPoint(340, 5), QPoint(340, 339), 1, QColor(0xB3, 0xB3, 0xB3));

    const QColor swatchBorder(0x00, 0xFF, 0xFF);
    auto swatch = [&](int i, QRect r, QColor fill) {
        auto* s = new fw::Rectangle(c, r, fill, swatchBorder, 4);
        color_t.add(i, s);
        connect(s, &fw::Rectangle::mouseDown, this,
                [this, i](int x, int y) { color_t_MouseDown(i, x, y); });
    };
    swatch(0, QRect(350, 225, 24, 24), QColor(0x99, 0x99, 0x99));
    swatch(1, QRect(350, 255, 24, 24), QColor(0xCC, 0xCC, 0xCC));
    swatch(2, QRect(410, 225, 92, 84), Qt::black);
    for (int i = 0; i < 4; ++i)
        color_s.add(i, new fw::Rectangle(c, QRect(386, 225 + 21 * i, 24, 21),
                                         QColor(0x99, 0x99, 0x99), QColor(0xCC, 0xCC, 0xCC), 2));
    swatch(3, QRect(350, 105, 24, 24), QColor(0x7F, 0, 0));
    swatch(4, QRect(350, 135, 24, 24), Qt::white);
    StaticText9 = new fw::StaticText(c, QRect(350, 82, 150, 20), QStringLiteral("Colors setup"),
                                     arial, 12, true, 1, QColor(0x7F, 0, 0));
    auto* box = new fw::Rectangle(c, QRect(386, 115, 114, 64), Qt::white, Qt::white, 2);
    color_s.add(5, box);
    Separator1 = new fw::Separator(c, QRect(350, 77, 150, 4));
    CheckBox1 = new fw::CheckBox(c, QRect(365, 53, 120, 20), QStringLiteral("Notes with fill"),
                                 arialFont(12, true));
    CheckBox1->setEnabled(false);
    CheckBox2 = new fw::CheckBox(c, QRect(365, 31, 120, 20), QStringLiteral("Display notes"),
                                 arialFont(12, true));
    CheckBox2->setEnabled(false);
    // The note sample lives inside its box; its coordinates stay window coordinates.
    color_o = new fw::StaticText(box, QRect(407 - 386, 134 - 115, 80, 36), QStringLiteral("Text"),
                                 arial, 36, true, 1, Qt::black);
    color_o->setItalic(true);
    color_d = new fw::StaticText(box, QRect(402 - 386, 129 - 115, 80, 36), QStringLiteral("Text"),
                                 arial, 36, true, 1, QColor(0x7F, 0, 0));
    color_d->setItalic(true);
    color_r =
        new fw::Rectangle(color_t(2), QRect(430 - 410, 245 - 225, 30, 15), Qt::black, Qt::red, 3);
    color_r->setClickThrough(true);
    swatch(5, QRect(350, 165, 24, 24), Qt::black);
    swatch(6, QRect(350, 285, 24, 24), Qt::red);
    Slider2 = new fw::Slider(c, QRect(350, 201, 150, 16), 0, 5, 5, 1, 20);
    connect(Slider2, &fw::Slider::ValueChanged, this, [this] { Slider2_ValueChanged(); });
    bottone1 = new fw::PushButton(c, QRect(350, 5, 152, 20), QStringLiteral("Notes setup"),
                                  arialFont(12, true));
    bottone1->setEnabled(false);
    connect(bottone1, &fw::PushButton::Action, this, [this] { bottone1_Action(); });
}

start::~start() {
    // The menu bar outlives the window: the application keeps using it.
    if (QMenuBar* bar = fw::applicationMenuBar(); bar && bar->parent() == this)
        bar->setParent(nullptr);
}

void start::fitPreviewToScreen() {
    using namespace Globali;
    const QSize screen = Screen0();
    testo_scr->setText(setup_geo::screenText(screen));
    const setup_geo::PreviewRect p =
        setup_geo::screenPreview(screen, setup_geo::kPreviewBox, setup_geo::kPreviewCentre);
    xtl = p.xtl;
    xbr = p.xbr;
    ytl = p.ytl;
    ybr = p.ybr;
    rec_schermo->setGeometry(xtl, ytl, xbr - xtl, ybr - ytl);
}

void start::screenChanged() {
    // While a presentation or the editor shows, thumb_per holds pixels: the preview follows
    // when the window comes back.
    if (!isVisible()) {
        screenPending_ = true;
        return;
    }
    screenPending_ = false;
    fitPreviewToScreen();
    Globali::mostra_thumb();
    Globali::applyLanguage();
    centre();
}

void start::Event_Open() {
    using namespace Globali;
    fitPreviewToScreen();
    thumb_per = 10;
    thumb_pos = edge::Left;
    colore(colour::CellBackground) = HSV(0, 0, 0.6);
    colore(colour::StripBackground) = HSV(0, 0, 0.8);
    colore(colour::PictureBackground) = HSV(0, 0, 0);
    colore(colour::NoteText) = HSV(0, 1, 0.5);
    colore(colour::NoteBox) = HSV(0, 0, 1);
    colore(colour::NoteShadow) = HSV(0, 0, 0);
    colore(colour::Frame) = HSV(0, 1, 1);
    ombra = 5;
    mostra_thumb();
    mostra_colori();
}

bool start::Event_CancelClose() {
    // Closing the setup window ends the program.
    QApplication::quit();
    return true;
}

bool start::rec_schermo_MouseDown(int x, int y) {
    Globali::thumb_pos = setup_geo::nearestEdge(x, y, rec_schermo->width(), rec_schermo->height());
    Globali::mostra_thumb();
    return false;
}

void start::Slider1_ValueChanged() {
    Globali::thumb_per = Slider1->value();
    Globali::mostra_thumb();
}

void start::Slider2_ValueChanged() {
    Globali::ombra = Slider2->value();
    color_o->move(color_d->x() + Globali::ombra, color_d->y() + Globali::ombra);
}

bool start::color_t_MouseDown(int index, int, int) {
    fw::Rectangle* swatch = color_t(index);
    if (!swatch) return false;
    QColor c = swatch->fill();
    if (const std::optional<QColor> chosen = SelectColor(c, QStringLiteral("Color/Colore")))
        c = *chosen;
    // The presentation colours are 8-bit colours built from hue, saturation and value.
    const HsvComponents k = toHsv(c);
    Globali::colore(index) = HSV(k.h, k.s, k.v);
    Globali::mostra_colori();
    return false;
}

void start::Canvasl_MouseEnter(int index) {
    if (fw::Rectangle* bar = Rectsel(index)) bar->show();
}

void start::Canvasl_MouseExit(int index) {
    if (fw::Rectangle* bar = Rectsel(index)) bar->hide();
}

bool start::Canvasl_MouseDown(int index, int, int) {
    Globali::lingua = index + 1;
    Globali::applyLanguage();
    return false;
}

void start::PushButton1_Action() {
    Globali::importa();
}

void start::showLoadedFolder(const QString& path, int count) {
    CheckBox1->setEnabled(true);
    CheckBox2->setEnabled(true);
    bottone(0)->setEnabled(true);
    bottone1->setEnabled(true);
    // A long path is shortened in the middle, so that the picture count below it stays in
    // sight; the whole path is one hover away. Bytes of a name that are not UTF-8 show as
    // Latin-1.
    const QString whole = files::shownName(path);
    const QString shown = QFontMetrics(testo_folder->textFont())
                              .elidedText(whole, Qt::ElideMiddle, testo_folder->width());
    testo_folder->setText(shown + QChar(13) + Str(count) + QStringLiteral(" picts"));
    testo_folder->setToolTip(whole);
}

bool start::takeStripPixels(bool forStrip) {
    using namespace Globali;
    // The thickness the read-out shows, from the same computation.
    const int pixels =
        setup_geo::stripPreview(thumb_pos, thumb_per, rec_schermo->geometry(), Screen0()).strip;
    // Whatever a file or an import left behind, there must be pictures to show; a strip must
    // lie along a real edge of the screen and have room for its cells (the editor has none).
    if (quantidisegni < 1 || disegno.ubound() < quantidisegni ||
        (forStrip && !presentation::layoutUsable(Screen0(), thumb_pos, pixels, quantidisegni))) {
        Beep();
        return false;
    }
    thumb_per = pixels;
    Hide();
    return true;
}

void start::comeBack() {
    Globali::thumb_per = Slider1->value();
    Show();
    if (screenPending_) screenChanged();
}

void start::bottone_Action(int) {
    if (!takeStripPixels(true)) return;
    presentation::startPresentation();
}

void start::bottone1_Action() {
    if (!takeStripPixels(false)) return;
    fw::Single<fin_edita>::get()->Show();
}

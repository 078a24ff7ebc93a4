#include "windows/editor/fin_edita.h"

#include "base/files.h"
#include "base/values.h"
#include "kit/seams.h"
#include "logic/geometry/editor_geometry.h"
#include "logic/geometry/note_lists.h"
#include "logic/geometry/setup_geometry.h"
#include "logic/lang/captions.h"
#include "logic/state/globali.h"
#include "logic/state/model.h"
#include "pictures/decode/picture.h"
#include "pictures/fitting.h"
#include "pictures/picture_compose.h"
#include "resources/pictures.h"

#include <QButtonGroup>
#include <QFileInfo>
#include <algorithm>

// ---------------------------------------------------------------- the current row

int fin_edita::clampedPicture(int i) {
    return std::clamp(i, 1, std::max(1, Globali::quantidisegni));
}

QString fin_edita::cell(int column) const {
    return Globali::contorno(Globali::puntatore, column);
}

void fin_edita::store(int column, const QString& text) {
    Globali::puntatore = clampedPicture(Globali::puntatore);
    Globali::contorno(Globali::puntatore, column) = text;
}

// ---------------------------------------------------------------- opening and captions

void fin_edita::Event_Open() {
    using namespace Globali;
    puntatore = 1;
    if (language::isEnglish(lingua))
        me_usa();
    else
        me_ita();
    const QSize area =
        editor_geo::pictureArea(Screen0(), thumb_pos, thumb_per, QSize(pct_dx, pct_dy));
    pct_dx = area.width();
    pct_dy = area.height();
    const setup_geo::PreviewRect p =
        setup_geo::screenPreview(area, editor_geo::kPreviewBox, editor_geo::kPreviewCentre);
    xtl = p.xtl;
    xbr = p.xbr;
    ytl = p.ytl;
    ybr = p.ybr;
    rec_schermo->setGeometry(p.rect());
    // The marker and the note field show the note's own colours.
    Rectangle1->setFill(colore(colour::NoteBox));
    Rectangle1->setTopLeftColor(colore(colour::NoteBox));
    Rectangle1->setBottomRightColor(colore(colour::NoteBox));
    StaticText3->setTextColor(colore(colour::NoteText));
    EditField1->setColors(colore(colour::NoteText), colore(colour::NoteBox));
    for (int i = 0; i < 4; ++i) {
        bordo(i)->setColor(colore(colour::Frame));
        bordo(i)->hide();
    }
    for (int i = 0; i < 2; ++i)
        recbordo(i)->setFill(colore(colour::Frame));
    // Until picture 1 is decoded the preview shows the background colour, not a picture left
    // from an earlier session.
    prefre = picture_compose::composeFitted(QImage(), QSize(), rec_schermo->size(),
                                            rec_schermo->devicePixelRatioF(),
                                            colore(colour::PictureBackground));
    rec_schermo->setBackdrop(prefre);
    consami();
}

void fin_edita::applyCaptions(int lingua) {
    const captions::EditorCaptions t = captions::editorCaptions(lingua);
    setWindowTitle(t.title);
    PushButton1->setText(t.pushButton1);
    PushButton2->setText(t.pushButton2);
    PushButton3->setText(t.pushButton3);
    PushButton4->setText(t.pushButton4);
    StaticText8->setText(t.staticText8);
    StaticText2->setText(t.staticText2);
    StaticText5->setText(t.staticText5);
    StaticText6->setText(t.staticText6);
    CheckBoxs(0)->setText(t.checkBoxs0);
    CheckBoxs(1)->setText(t.checkBoxs1);
    CheckBoxs(2)->setText(t.checkBoxs2);
    CheckBox1->setText(t.checkBox1);
    StaticText7->setText(t.staticText7);
    StaticText9->setText(t.staticText9);
}

void fin_edita::me_usa() {
    applyCaptions(language::English);
}
void fin_edita::me_ita() {
    applyCaptions(language::Italian);
}

// ---------------------------------------------------------------- navigation and OK

void fin_edita::PushButton1_Action() {
    Globali::puntatore = 1;
    consami();
}

void fin_edita::PushButton2_Action() {
    Globali::puntatore = clampedPicture(Globali::puntatore - 1);
    consami();
}

void fin_edita::PushButton3_Action() {
    // The bound keeps a saturated puntatore from wrapping round.
    Globali::puntatore = clampedPicture(std::min(Globali::puntatore, Globali::quantidisegni) + 1);
    consami();
}

void fin_edita::PushButton4_Action() {
    Globali::puntatore = clampedPicture(Globali::quantidisegni);
    consami();
}

void fin_edita::PushButton5_Action() {
    preview_.cancel();
    Close();
    fw::comeHome();
}

bool fin_edita::Event_CancelClose() {
    // Closing the editor alone would leave the setup window hidden and thumb_per in pixels,
    // with no window left to go on from.
    PushButton5_Action();
    return true;
}

// ---------------------------------------------------------------- the note's fields

void fin_edita::EditField1_TextChange() {
    store(note::Text, EditField1->text());
    // A note written where no font or size was ever chosen keeps those the editor shows (the
    // first font, "12"): the presentation draws what the editor promised, where an empty
    // size would draw it too small to read. Only the cells still empty are filled.
    if (cell(note::Font).isEmpty() && PopupMenu1->currentIndex() >= 0)
        store(note::Font, PopupMenu1->currentText());
    if (cell(note::Size).isEmpty() && PopupMenu2->currentIndex() >= 0)
        store(note::Size, PopupMenu2->currentText());
}

void fin_edita::RadioB_Action(int index) {
    if (index < 0 || index > 5) return;
    store(note::Position, Str(index));
    consami();
}

void fin_edita::PopupMenu1_Change() {
    if (PopupMenu1->currentIndex() < 0) return;
    store(note::Font, PopupMenu1->currentText());
    StaticText3->setFontFamily(PopupMenu1->currentText());
}

void fin_edita::PopupMenu2_Change() {
    if (PopupMenu2->currentIndex() < 0) return;
    store(note::Size, PopupMenu2->currentText());
}

void fin_edita::CheckBoxs_Action(int index) {
    fw::CheckBox* box = CheckBoxs(index);
    if (!box) return;
    store(note::Bold + index, box->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
}

void fin_edita::CheckBox1_Action() {
    store(note::FrameOn, CheckBox1->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
}

void fin_edita::Slider1_ValueChanged() {
    const int v = Slider1->value();
    rec_schermo->setBackdrop(Globali::prefre);
    for (int i = 0; i < 4; ++i)
        bordo(i)->setLineWidth(v);
    StaticText10->setText(Str(v));
    store(note::FrameLine, Str(v));
}

// ---------------------------------------------------------------- the rectangle on the preview

int fin_edita::nextCorner() {
    return Globali::volta == 1 ? 1 : 0;
}

void fin_edita::moveHandle(int k, QPoint centre) {
    recbordo(k)->move(editor_geo::handleTopLeft(centre));
}

editor_geo::FrameLines fin_edita::drawFrameFromHandles() {
    const editor_geo::FrameLines f = editor_geo::frameLines(
        editor_geo::handleCentre(recbordo(0)->pos()), editor_geo::handleCentre(recbordo(1)->pos()));
    for (int i = 0; i < 4; ++i)
        bordo(i)->setPoints(f.l[i].p1(), f.l[i].p2());
    return f;
}

void fin_edita::showFrame(bool on) {
    for (int i = 0; i < 4; ++i)
        bordo(i)->setVisible(on);
}

bool fin_edita::rec_schermo_MouseDown(int x, int y) {
    if (!CheckBox1->isChecked()) return false;
    // Every click first forgets the stored rectangle; it is stored again below once both
    // corners lie on the preview.
    showFrame(false);
    for (int i = 0; i < 4; ++i)
        store(note::FrameLeft + i, QString());
    const QRect preview = rec_schermo->geometry();
    moveHandle(nextCorner(), preview.topLeft() + QPoint(x, y));
    const editor_geo::FrameLines f = drawFrameFromHandles();
    if (f.placed()) {
        const editor_geo::AreaRect a =
            editor_geo::previewToArea(f.corner0(), f.corner1(), preview, Globali::pct_dx);
        store(note::FrameLeft, Str(a.left));
        store(note::FrameTop, Str(a.top));
        store(note::FrameWidth, Str(a.width));
        store(note::FrameHeight, Str(a.height));
        rec_schermo->setBackdrop(Globali::prefre);
        showFrame(true);
    }
    Globali::volta = 1 - nextCorner();
    return false;
}

void fin_edita::rec_schermo_MouseMove(int x, int y) {
    if (!CheckBox1->isChecked()) return;
    moveHandle(nextCorner(), rec_schermo->pos() + QPoint(x, y));
}

void fin_edita::rec_schermo_MouseExit() {
    if (!CheckBox1->isChecked()) return;
    // The handle goes back to its corner of the frame as last drawn.
    if (nextCorner() == 0)
        moveHandle(0, bordo(0)->p1());
    else
        moveHandle(1, bordo(3)->p2());
}

// ---------------------------------------------------------------- the load

namespace {

// The preview of a picture file: fitted into the preview on the background colour, or the
// placeholder when the file gives no picture. Runs on a worker thread.
QImage previewOf(const QString& file, QSize box, qreal dpr, const QColor& fill) {
    // Decoded at the size it is drawn, in device pixels, so that even very large photos load
    // quickly and the preview is as sharp as the screen.
    const QSize device = picture_compose::deviceSize(box, dpr);
    LoadedPicture pic =
        loadPicture(file, [device](QSize full) { return fitting::fitRect(full, device).size(); });
    if (pic.isNull()) pic = {pictures::notfound(), pictures::notfound().size()};
    return picture_compose::composeFitted(pic.image, pic.original, box, dpr, fill);
}

} // namespace

// The name changes at once; the picture when it has been decoded, and only if it is still
// the one asked for last.
void fin_edita::showPreviewPicture() {
    using namespace Globali;
    preview_.cancel();
    const FolderItem file = disegno(puntatore);
    if (file.isEmpty()) {
        // Without a file the preview keeps the picture shown before.
        StaticText1->setText(QStringLiteral("?"));
        return;
    }
    StaticText1->setText(files::shownName(QFileInfo(file).fileName()));
    const QSize box = rec_schermo->size();
    const qreal dpr = rec_schermo->devicePixelRatioF();
    const QColor fill = colore(colour::PictureBackground);
    preview_.run([file, box, dpr, fill] { return previewOf(file, box, dpr, fill); },
                 [this](const QImage& picture) {
                     Globali::prefre = picture;
                     rec_schermo->setBackdrop(picture);
                 });
}

void fin_edita::selectPosition(int index) {
    // An exclusive group keeps one button checked; a position no button stands for (from a
    // damaged file) shows none.
    RadioGroup->setExclusive(false);
    for (int i = 0; i < 6; ++i)
        RadioB(i)->setChecked(i == index);
    RadioGroup->setExclusive(true);
}

void fin_edita::consami() {
    using namespace Globali;
    puntatore = clampedPicture(puntatore);
    showPreviewPicture();

    PushButton1->setEnabled(puntatore > 1);
    PushButton2->setEnabled(puntatore > 1);
    PushButton3->setEnabled(puntatore < quantidisegni);
    PushButton4->setEnabled(puntatore < quantidisegni);

    EditField1->setText(cell(note::Text));

    // Values a damaged file may hold are shown as best the controls can, and never written
    // back: a position outside 0..5 selects no button and hides the marker, a size outside
    // the list selects no row, a border width outside 1..9 shows the nearest of the two.
    const double position = Val(cell(note::Position));
    selectPosition(editor_geo::radioIndex(position));
    Rectangle1->move(editor_geo::markerPos(position, rec_schermo->geometry()).topLeft);

    QStringList fonts;
    for (int i = 0; i < PopupMenu1->count(); ++i)
        fonts << PopupMenu1->itemText(i);
    PopupMenu1->setCurrentIndex(note_lists::fontRow(fonts, cell(note::Font)));
    PopupMenu2->setCurrentIndex(editor_geo::sizeRow(Val(cell(note::Size))));
    for (int i = 0; i < 3; ++i)
        CheckBoxs(i)->setChecked(toInt(Val(cell(note::Bold + i))) == 1);
    CheckBox1->setChecked(toInt(Val(cell(note::FrameOn))) == 1);

    if (cell(note::FrameLine).isEmpty()) store(note::FrameLine, QStringLiteral("5"));
    const int width =
        editor_geo::borderWidth(cell(note::FrameLine).isEmpty() ? 5 : Val(cell(note::FrameLine)));
    Slider1->setValueSilently(width);
    for (int i = 0; i < 4; ++i)
        bordo(i)->setLineWidth(width);
    StaticText10->setText(Str(Slider1->value()));

    if (cell(note::FrameHeight).isEmpty()) {
        // No rectangle: the handles leave the preview; the lines keep their end points.
        showFrame(false);
        for (int i = 0; i < 2; ++i)
            recbordo(i)->move(-50, recbordo(i)->y());
    } else {
        const editor_geo::Handles h = editor_geo::storedToHandles(
            Val(cell(note::FrameLeft)), Val(cell(note::FrameTop)), Val(cell(note::FrameWidth)),
            Val(cell(note::FrameHeight)), rec_schermo->geometry(), pct_dx);
        recbordo(0)->move(h.h0);
        recbordo(1)->move(h.h1);
        drawFrameFromHandles();
        showFrame(true);
    }
}

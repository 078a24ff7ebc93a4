// The routines of the presentation state that keep the setup window's previews and
// captions in step with the state.
#include "windows/setup/setup_routines.h"

#include "kit/menus.h"
#include "kit/seams.h"
#include "kit/toolkit_language.h"
#include "logic/geometry/setup_geometry.h"
#include "logic/lang/captions.h"
#include "windows/setup/start.h"

#include <QAction>

namespace Globali {

void mostra_thumb() {
    start* w = start::instance();
    const setup_geo::StripPreview p =
        setup_geo::stripPreview(thumb_pos, thumb_per, w->rec_schermo->geometry(), Screen0());
    if (p.moved) w->rec_min->setGeometry(p.rec_min);
    w->testo_min->setText(p.testo_min);
    w->testo_scr->setText(p.testo_scr);
}

void mostra_colori() {
    start* w = start::instance();
    using namespace colour;
    for (int i = 0; i < kCount; ++i)
        w->color_t(i)->setFill(colore(i));
    // The four cell previews (color_s has no member 4: that index is the note box).
    for (int i = 0; i <= 3; ++i) {
        fw::Rectangle* cell = w->color_s(i);
        cell->setTopLeftColor(colore(StripBackground));
        cell->setBottomRightColor(colore(StripBackground));
        cell->setFill(colore(CellBackground));
    }
    fw::Rectangle* box = w->color_s(5);
    box->setTopLeftColor(colore(NoteBox));
    box->setBottomRightColor(colore(NoteBox));
    box->setFill(colore(NoteBox));
    w->color_d->setTextColor(colore(NoteText));
    w->color_o->setTextColor(colore(NoteShadow));
    w->color_r->setTopLeftColor(colore(Frame));
    w->color_r->setBottomRightColor(colore(Frame));
    w->color_r->setFill(colore(PictureBackground));
}

namespace {
void applyCaptions(int lingua) {
    const captions::SetupCaptions c = captions::setupCaptions(lingua, Screen0());
    start* w = start::instance();
    fw::setToolkitItalian(!language::isEnglish(lingua));
    w->Rectsel(2)->move(c.flagFrameLeft, w->Rectsel(2)->y());
    const auto caption = [](const char* item, const QString& text) {
        if (QAction* a = fw::menuItem(QLatin1String(item))) a->setText(text);
    };
    caption("FileMenu", c.fileMenu);
    caption("FileQuit", c.fileQuit);
    caption("FileOpen", c.fileOpen);
    caption("FileSave", c.fileSave);
    caption("FileImportfolder", c.fileImportfolder);
    caption("FileScreen", c.fileScreen);
    w->setWindowTitle(c.title);
    w->PushButton1->setText(c.pushButton1);
    w->bottone(0)->setText(c.bottone0);
    w->bottone1->setText(c.bottone1);
    w->CheckBox1->setText(c.checkBox1);
    w->CheckBox2->setText(c.checkBox2);
    w->StaticText3->setText(c.staticText3);
    w->StaticText6->setText(c.staticText6);
    w->StaticText7->setText(c.staticText7);
    w->StaticText8->setText(c.staticText8);
    w->StaticText9->setText(c.staticText9);
}
} // namespace

void local_usa() {
    applyCaptions(language::English);
}
void local_ita() {
    applyCaptions(language::Italian);
}

void applyLanguage() {
    if (language::isEnglish(lingua))
        local_usa();
    else
        local_ita();
}

} // namespace Globali

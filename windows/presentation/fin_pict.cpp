#include "windows/presentation/fin_pict.h"

#include "kit/seams.h"
#include "logic/geometry/presentation_geometry.h"
#include "logic/state/globali.h"
#include "logic/state/model.h"
#include "windows/presentation/fin_thumb.h"
#include "windows/presentation/presentation.h"

#include <QCoreApplication>

fin_pict::fin_pict() : fw::Window(fw::Frame::PlainBox, QSize(300, 300), QStringLiteral("picture")) {
    setBackColor(Qt::black);
    QWidget* c = content();
    Rectangle1 = new fw::Rectangle(c, QRect(-50, -50, 10, 10), Qt::white, Qt::white, 1);
    StaticText2 = new fw::StaticText(c, QRect(-30, -30, 20, 20), QStringLiteral("X"),
                                     QStringLiteral("System"), 12);
    StaticText1 = new fw::StaticText(c, QRect(-25, -25, 20, 20), QStringLiteral("X"),
                                     QStringLiteral("System"), 12);
}

void fin_pict::Event_Open() {
    using namespace Globali;
    // The split is the main screen's; the windows stand where that monitor stands.
    const QRect screen = Screen0Rect();
    const auto split = presentation_geo::screenSplit(screen.size(), thumb_pos, thumb_per);
    // An edge outside 0..3 has no layout: nothing is laid out and the presentation ends
    // right after it has opened (below), rather than showing windows of earlier sizes.
    tmb_dx = split.tmb_dx;
    tmb_dy = split.tmb_dy;
    pct_dx = split.pct_dx;
    pct_dy = split.pct_dy;
    placeContent(QRect(screen.topLeft() + split.picturePos, QSize(pct_dx, pct_dy)));
    // What shows until picture 1 has been decoded.
    setBackColor(colore(colour::PictureBackground));
    fin_thumb* strip = fw::Single<fin_thumb>::get();
    strip->placeContent(QRect(screen.topLeft() + split.stripPos, QSize(tmb_dx, tmb_dy)));

    StaticText1->setTextColor(colore(colour::NoteText));
    StaticText2->setTextColor(colore(colour::NoteShadow));
    Rectangle1->setTopLeftColor(colore(colour::NoteBox));
    Rectangle1->setBottomRightColor(colore(colour::NoteBox));
    Rectangle1->setFill(colore(colour::NoteBox));

    if (!presentation::layoutUsable(screen.size(), thumb_pos, thumb_per, quantidisegni)) {
        Beep();
        // Not from inside the opening: whoever reached the window is still using it.
        QMetaObject::invokeMethod(qApp, &presentation::endPresentation, Qt::QueuedConnection);
    }
}

void fin_pict::Event_KeyDown(int key) {
    if (key == Qt::Key_Escape) presentation::endPresentation();
}

bool fin_pict::Event_CancelClose() {
    presentation::endPresentation();
    return true;
}

#include "windows/dialogs/cart_noi.h"

#include "kit/seams.h"
#include "logic/lang/captions.h"
#include "logic/state/globali.h"

namespace {
const QColor darkRed(0x7F, 0x00, 0x00);
} // namespace

cart_noi::cart_noi() : dialogo(QSize(260, 112), QStringLiteral("!"), 84) {
    StaticText1 = addText(QRect(20, 10, 220, 36), QStringLiteral("!\r!"), 12, true, darkRed, true);
    StaticText3 = addText(QRect(20, 50, 220, 18), QStringLiteral("!"), 12, true, darkRed);
}

void cart_noi::Event_Open() {
    Beep();
    const captions::WarningTexts t = captions::cartNoiTexts(Globali::lingua);
    setWindowTitle(t.title);
    StaticText1->setText(t.message);
    StaticText3->setText(t.headline);
}

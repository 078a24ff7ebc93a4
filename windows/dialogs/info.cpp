#include "windows/dialogs/info.h"

#include "kit/seams.h"
#include "logic/lang/captions.h"
#include "resources/pictures.h"

info::info() : dialogo(QSize(260, 152), QStringLiteral("Vetrinova info"), 124) {
    StaticText1 = addText(QRect(20, 6, 222, 16), captions::aboutVersion(), 12, true,
                          QColor(0x00, 0x7F, 0x00));
    StaticText2 = addText(QRect(22, 24, 220, 16), captions::aboutAuthorLine(), 12, true,
                          QColor(0x00, 0x00, 0x7F));
    StaticText2->setCursor(Qt::PointingHandCursor);
    connect(StaticText2, &fw::StaticText::mouseEnter, this, [this] { StaticText2_MouseEnter(); });
    connect(StaticText2, &fw::StaticText::mouseExit, this, [this] { StaticText2_MouseExit(); });
    connect(StaticText2, &fw::StaticText::mouseDown, this,
            [this](int x, int y) { StaticText2_MouseDown(x, y); });
    Canvas1 = new fw::Canvas(content(), QRect(98, 48, 64, 64));
    Canvas1->setBackdrop(pictures::vetrinova(Canvas1->devicePixelRatioF()));
    Canvas1->setCursor(Qt::PointingHandCursor);
    connect(Canvas1, &fw::Canvas::mouseDown, this,
            [this](int x, int y) { Canvas1_MouseDown(x, y); });
}

void info::StaticText2_MouseEnter() {
    StaticText2->setUnderline(true);
}

void info::StaticText2_MouseExit() {
    StaticText2->setUnderline(false);
}

bool info::StaticText2_MouseDown(int, int) {
    ShowURL(captions::aboutMailUrl());
    return false;
}

bool info::Canvas1_MouseDown(int, int) {
    ShowURL(captions::aboutWebUrl());
    return false;
}

#include "windows/dialogs/dialogo.h"

dialogo::dialogo(QSize size, const QString& title, int okTop)
    : fw::Window(fw::Frame::MovableModal, size, title) {
    setBackColor(Qt::white);
    PushButton1 = new fw::PushButton(content(), QRect(81, okTop, 100, 20), QStringLiteral("OK"),
                                     fw::makeFont(QStringLiteral("arial"), 12, true));
    setDefaultButton(PushButton1);
    connect(PushButton1, &fw::PushButton::Action, this, [this] { PushButton1_Action(); });
}

fw::StaticText* dialogo::addText(QRect geometry, const QString& text, int size, bool bold,
                                 QColor colour, bool multiline) {
    return new fw::StaticText(content(), geometry, text, QStringLiteral("arial"), size, bold, 1,
                              colour, multiline);
}

void dialogo::PushButton1_Action() {
    Close();
    if (fw::Window* setup = fw::home()) setup->Show();
}

bool dialogo::Event_CancelClose() {
    PushButton1_Action();
    return true;
}

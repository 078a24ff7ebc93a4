// The notes editor's controls, created in the order that also stacks them: the marker, the
// frame lines and the corner handles come after the preview and are drawn above it.
#include "windows/editor/fin_edita.h"

#include "base/text_limits.h"
#include "kit/menus.h"
#include "logic/geometry/note_lists.h"

#include <QAction>
#include <QButtonGroup>
#include <QFontDatabase>

namespace {
const QString arial = QStringLiteral("arial");
QFont arialFont(bool bold = true, bool italic = false, bool underline = false) {
    return fw::makeFont(arial, 12, bold, italic, underline);
}
QFont systemFont() {
    return fw::makeFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont).family(), 12);
}
fw::StaticText* label(QWidget* parent, QRect r, const QString& text, int align = 0,
                      QColor colour = Qt::black) {
    return new fw::StaticText(parent, r, text, arial, 12, true, align, colour);
}
} // namespace

fin_edita::fin_edita()
    : fw::Window(fw::Frame::MovableModal, QSize(512, 344), QStringLiteral("Edit notes")) {
    QWidget* c = content();
    const QColor darkRed(0x7F, 0, 0);

    auto button = [&](QRect r, const QString& caption, void (fin_edita::*handler)()) {
        auto* b = new fw::PushButton(c, r, caption, arialFont());
        connect(b, &fw::PushButton::Action, this, handler);
        return b;
    };
    PushButton1 =
        button(QRect(10, 314, 80, 20), QStringLiteral("<<  First"), &fin_edita::PushButton1_Action);
    PushButton2 = button(QRect(97, 314, 120, 20), QStringLiteral("<  Previous"),
                         &fin_edita::PushButton2_Action);
    PushButton3 =
        button(QRect(224, 314, 120, 20), QStringLiteral("Next  >"), &fin_edita::PushButton3_Action);
    PushButton4 =
        button(QRect(351, 314, 80, 20), QStringLiteral("Last  >>"), &fin_edita::PushButton4_Action);
    PushButton5 =
        button(QRect(438, 314, 64, 20), QStringLiteral("OK"), &fin_edita::PushButton5_Action);
    setDefaultButton(PushButton5);

    rec_schermo = new fw::Canvas(c, QRect(10, 44, 280, 210));
    connect(rec_schermo, &fw::Canvas::mouseDown, this,
            [this](int x, int y) { rec_schermo_MouseDown(x, y); });
    connect(rec_schermo, &fw::Canvas::mouseMove, this, &fin_edita::rec_schermo_MouseMove);
    connect(rec_schermo, &fw::Canvas::mouseExit, this, &fin_edita::rec_schermo_MouseExit);

    EditField1 = new fw::EditField(c, QRect(97, 282, 405, 22), arialFont());
    // A note of any length stays stored as it is; the field holds and lays out only its
    // start, and an edit stores what the field holds.
    EditField1->setMaxLength(text_limits::kLongestLine);
    EditField1->setColors(darkRed, QColor(0xFF, 0xFA, 0xE4));
    connect(EditField1, &fw::EditField::TextChange, this, &fin_edita::EditField1_TextChange);
    StaticText2 = label(c, QRect(10, 282, 80, 20), QStringLiteral("Note text"), 1, darkRed);

    RadioGroup = new QButtonGroup(this);
    RadioGroup->setExclusive(true);
    for (int i = 0; i < 6; ++i) {
        const int left[3] = {10, 140, 270};
        auto* r = new fw::RadioButton(c, QRect(left[i % 3], i < 3 ? 255 : 24, 20, 20), QString(),
                                      systemFont());
        RadioB.add(i, r);
        RadioGroup->addButton(r, i);
        connect(r, &fw::RadioButton::Action, this, [this, i] { RadioB_Action(i); });
    }
    RadioB(0)->setChecked(true);

    const QColor yellow(0xFF, 0xFF, 0x00);
    Rectangle1 = new fw::Rectangle(c, QRect(-50, -50, 40, 20), yellow, yellow, 1);
    Rectangle1->setClickThrough(true);
    StaticText3 = new fw::StaticText(Rectangle1, QRect(0, 0, 40, 20), QStringLiteral("TEXT"), arial,
                                     12, false, 1, QColor(0, 0, 0xFF));
    StaticText3->setClickThrough(true);

    StaticText1 =
        label(c, QRect(310, 2, 180, 20), QStringLiteral("Name"), 0, QColor(0x00, 0x4C, 0x27));
    PopupMenu1 = new fw::PopupMenu(c, QRect(310, 46, 120, 20), systemFont());
    PopupMenu1_Open();
    connect(PopupMenu1, &fw::PopupMenu::Change, this, &fin_edita::PopupMenu1_Change);

    auto checkBox = [&](int i, QRect r, const QString& caption, const QFont& font) {
        auto* b = new fw::CheckBox(c, r, caption, font);
        CheckBoxs.add(i, b);
        connect(b, &fw::CheckBox::Action, this, [this, i] { CheckBoxs_Action(i); });
    };
    checkBox(0, QRect(310, 99, 120, 20), QStringLiteral("Bold"), arialFont());
    StaticText4 = label(c, QRect(440, 46, 60, 20), QStringLiteral("Font"));
    PopupMenu2 = new fw::PopupMenu(c, QRect(310, 72, 120, 20), systemFont());
    PopupMenu2->addItems(note_lists::sizeRows());
    connect(PopupMenu2, &fw::PopupMenu::Change, this, &fin_edita::PopupMenu2_Change);
    StaticText5 = label(c, QRect(440, 72, 60, 20), QStringLiteral("Points"));
    checkBox(1, QRect(310, 120, 120, 20), QStringLiteral("Italic"), arialFont(false, true));
    checkBox(2, QRect(310, 141, 120, 20), QStringLiteral("Underline"),
             arialFont(false, false, true));
    StaticText6 = label(c, QRect(310, 24, 180, 20), QStringLiteral("Font setup"), 0, darkRed);
    Separator1 = new fw::Separator(c, QRect(310, 170, 180, 4));
    Line1 = new fw::Line(c, QPoint(300, 5), QPoint(300, 275), 1, QColor(0xB3, 0xB3, 0xB3));
    StaticText7 = label(c, QRect(310, 182, 180, 20), QStringLiteral("Rectangle (click two times)"),
                        0, darkRed);
    CheckBox1 =
        new fw::CheckBox(c, QRect(310, 207, 180, 20), QStringLiteral("Use rectangle"), arialFont());
    connect(CheckBox1, &fw::CheckBox::Action, this, &fin_edita::CheckBox1_Action);
    StaticText8 = label(c, QRect(30, 2, 240, 20), QStringLiteral("Choose text position"), 1,
                        QColor(0x80, 0, 0));
    Slider1 = new fw::Slider(c, QRect(313, 256, 180, 16), 1, 9, 5, 1, 20);
    connect(Slider1, &fw::Slider::ValueChanged, this, &fin_edita::Slider1_ValueChanged);
    StaticText9 = label(c, QRect(330, 230, 120, 20), QStringLiteral("Border width"));
    Line2 = new fw::Line(c, QPoint(313, 239), QPoint(323, 239), 5, Qt::black);
    for (int i = 0; i < 4; ++i)
        bordo.add(
            i, new fw::Line(c, QPoint(-50, 100 + 5 * i), QPoint(-10, 100 + 5 * i), 3, Qt::black));
    for (int i = 0; i < 2; ++i) {
        auto* handle = new fw::Rectangle(c, QRect(-20, i == 0 ? 213 : 225, 9, 9), Qt::white,
                                         QColor(0x00, 0xFF, 0xFF), 3);
        // The handle follows the pointer over the preview: clicks must reach the preview.
        handle->setClickThrough(true);
        recbordo.add(i, handle);
    }
    StaticText10 = label(c, QRect(470, 230, 20, 20), QStringLiteral("5"), 2);
    // Save and Quit work here as on the setup window, whose menu the editor keeps waiting;
    // Open and Import would replace the pictures under the editor, so they stay there.
    for (const char* item : {"FileSave", "FileQuit"})
        if (QAction* a = fw::menuItem(QLatin1String(item))) addAction(a);
}

void fin_edita::PopupMenu1_Open() {
    // Row i is installed font i: the load finds a note's font by its row.
    PopupMenu1->addItems(QFontDatabase::families());
}

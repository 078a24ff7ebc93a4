#include "windows/dialogs/cart_spo.h"

#include "framework/seams.h"
#include "lang/captions.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QColor darkRed(0x7F, 0x00, 0x00);
const QColor darkGreen(0x00, 0x4C, 0x27);
} // namespace

cart_spo::cart_spo() : dialogo(QSize(260, 152), QStringLiteral("!"), 124) {
    StaticText1 =
        addText(QRect(20, 10, 220, 48), QStringLiteral("!\r!\r!"), 12, true, darkRed, true);
    StaticText2 = addText(QRect(20, 64, 220, 18), QStringLiteral("!"), 10, false, darkGreen);
    StaticText3 = addText(QRect(20, 90, 220, 18), QStringLiteral("!"), 12, true, darkRed);
}

QString cart_spo::folderName(const FolderItem& folder) {
    if (folder.isEmpty()) return QString();
    // A trailing separator must not hide the name.
    const QString clean = QDir::cleanPath(folder);
    const QString name = QFileInfo(clean).fileName();
    return name.isEmpty() ? clean : name;
}

void cart_spo::Event_Open() {
    Beep();
    const FolderItem& folder = Globali::cartella;
    const captions::WarningTexts t =
        captions::cartSpoTexts(Globali::lingua, folderName(folder), folder);
    setWindowTitle(t.title);
    StaticText1->setText(t.message);
    StaticText2->setText(t.path);
    // A long path does not fit the line; the whole of it is one hover away.
    StaticText2->setToolTip(t.path);
    StaticText3->setText(t.headline);
}

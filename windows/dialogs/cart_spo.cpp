#include "windows/dialogs/cart_spo.h"

#include "base/files.h"
#include "base/text_limits.h"
#include "kit/seams.h"
#include "logic/lang/captions.h"
#include "logic/state/presentation_file.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <climits>

namespace {
const QColor darkRed(0x7F, 0x00, 0x00);
const QColor darkGreen(0x00, 0x4C, 0x27);

// Far more than any line of the dialog can show; what is longer (a damaged file's folder line
// may run to megabytes) is cut in the middle before the text is measured at all.
constexpr qsizetype kLongestMeasured = 512;

// The text as it fits `width` pixels in the label's font: a longer one loses its middle.
QString fitted(const fw::StaticText* label, const QString& text, int width) {
    return QFontMetrics(label->textFont())
        .elidedText(text_limits::shortenedMiddle(text, kLongestMeasured), Qt::ElideMiddle, width);
}
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

void cart_spo::showFor(const FolderItem& folder) {
    missing = folder;
    fw::Single<cart_spo>::get()->Show();
}

void cart_spo::Event_Open() {
    Beep();
    // Shown as read: bytes that are not UTF-8 as Latin-1.
    const QString folder = files::shownName(missing);
    // A real path is shown as it is (the line shows what fits of it, the whole is one hover
    // away). A folder line too long for any path, from a damaged file, is named by its two
    // ends, cut to fit: laid out whole it would cost its length many times over.
    QString name = folderName(folder), path = folder;
    if (presentation_file::tooLongForPath(missing)) {
        // The name's line holds "> " and " <" beside it.
        const int room =
            StaticText1->width() -
            QFontMetrics(StaticText1->textFont()).horizontalAdvance(QStringLiteral(">  <"));
        name = fitted(StaticText1, name, room);
        path = fitted(StaticText2, folder, StaticText2->width());
    }
    const captions::WarningTexts t = captions::cartSpoTexts(Globali::lingua, name, path);
    setWindowTitle(t.title);
    StaticText1->setText(t.message);
    StaticText2->setText(t.path);
    StaticText2->setToolTip(text_limits::shortenedMiddle(folder, PATH_MAX));
    StaticText3->setText(t.headline);
}

#pragma once
// The notes editor's lists and its preview picture: which row of the font and size lists a
// stored note selects, and the picture of the screen the preview shows.
#include <QColor>
#include <QImage>
#include <QSize>
#include <QStringList>

namespace note_lists {

// The rows of the size list. The fourth is "30" followed by a tab: that text is what a note
// stores when it is chosen, and every reader takes the number in front of the tab.
QStringList sizeRows();

// The row of the font list for a stored font name. The last row equal to the name wins; a
// name that equals no row but one of them apart from letter case selects the last such row
// (the presentation finds fonts regardless of case); otherwise row 0, or -1 for an empty list.
int fontRow(const QStringList& families, const QString& name);

// The preview of a picture area: `preview` pixels filled with `fill`, the picture fitted into
// it and centred. `pictureSize` is the picture's full upright size, which fixes where it lands
// even when `picture` was decoded smaller. A preview without a positive size is a null image;
// a picture without a positive size leaves just the fill.
QImage composePreview(const QImage& picture, QSize pictureSize, QSize preview, const QColor& fill);

} // namespace note_lists

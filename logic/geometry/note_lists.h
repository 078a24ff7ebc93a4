#pragma once
// The notes editor's lists: which row of the font and size lists a stored note selects.
#include <QStringList>

namespace note_lists {

// The rows of the size list. The fourth is "30" followed by a tab: that text is what a note
// stores when it is chosen, and every reader takes the number in front of the tab.
QStringList sizeRows();

// The row of the font list for a stored font name. The last row equal to the name wins; a
// name that equals no row but one of them apart from letter case selects the last such row
// (the presentation finds fonts regardless of case); otherwise row 0, or -1 for an empty list.
int fontRow(const QStringList& families, const QString& name);

} // namespace note_lists

#include "logic/geometry/note_lists.h"

namespace note_lists {

QStringList sizeRows() {
    return {QStringLiteral("12"),   QStringLiteral("18"), QStringLiteral("24"),
            QStringLiteral("30\t"), QStringLiteral("36"), QStringLiteral("42"),
            QStringLiteral("48"),   QStringLiteral("54"), QStringLiteral("60"),
            QStringLiteral("66"),   QStringLiteral("72")};
}

int fontRow(const QStringList& families, const QString& name) {
    int exact = -1, caseless = -1;
    for (int i = 0; i < families.size(); ++i) {
        if (families[i] == name)
            exact = i;
        else if (families[i].compare(name, Qt::CaseInsensitive) == 0)
            caseless = i;
    }
    if (exact >= 0) return exact;
    if (caseless >= 0) return caseless;
    return families.isEmpty() ? -1 : 0;
}

} // namespace note_lists

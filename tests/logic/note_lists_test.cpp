// The editor's size rows and the font row a stored name selects.
#include "base/values.h"
#include "logic/geometry/note_lists.h"

#include <QTest>

class NoteListsTest : public QObject {
    Q_OBJECT
  private slots:
    // Every row reads back as its size, "30" with its tab included.
    void sizeRows() {
        const QStringList rows = note_lists::sizeRows();
        QCOMPARE(rows.size(), 11);
        QCOMPARE(rows[3], QStringLiteral("30\t"));
        for (int i = 0; i < rows.size(); ++i)
            QCOMPARE(toInt(Val(rows[i])), 12 + 6 * i);
    }

    // The last name equal to the stored one, else one equal but for case, else row 0.
    void fontRow() {
        const QStringList fonts{"Alpha", "Beta", "beta", "Gamma", "Beta"};
        const QList<std::pair<QString, int>> cases{
            {"Gamma", 3}, {"Beta", 4}, {"beta", 2}, {"GAMMA", 3}, {"Delta", 0}};
        for (const auto& [name, row] : cases)
            QCOMPARE(note_lists::fontRow(fonts, name), row);
        QCOMPARE(note_lists::fontRow({}, "Alpha"), -1);
    }
};

QTEST_GUILESS_MAIN(NoteListsTest)
#include "note_lists_test.moc"

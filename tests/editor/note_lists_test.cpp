// The editor's size rows, the font row a stored name selects, and the preview picture.
#include "framework/values.h"
#include "windows/editor/note_lists.h"

#include <QTest>

class NoteListsTest : public QObject {
    Q_OBJECT
  private slots:
    void sizeRows() {
        const QStringList rows = note_lists::sizeRows();
        QCOMPARE(rows.size(), 11);
        QCOMPARE(rows[3], QStringLiteral("30\t"));
        QCOMPARE(rows[10], QStringLiteral("72"));
        // Every row reads back as its size, and the size maps back to its row.
        for (int i = 0; i < rows.size(); ++i)
            QCOMPARE(toInt(Val(rows[i])), 12 + 6 * i);
    }

    void fontRow_data() {
        QTest::addColumn<QStringList>("families");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("row");
        const QStringList fonts{"Alpha", "Beta", "beta", "Gamma", "Beta"};
        QTest::newRow("exact") << fonts << "Gamma" << 3;
        QTest::newRow("last equal wins") << fonts << "Beta" << 4;
        QTest::newRow("exact beats other case") << fonts << "beta" << 2;
        QTest::newRow("other case") << fonts << "GAMMA" << 3;
        QTest::newRow("not installed") << fonts << "Delta" << 0;
        QTest::newRow("empty name") << fonts << "" << 0;
        QTest::newRow("no fonts") << QStringList() << "Alpha" << -1;
    }
    void fontRow() {
        QFETCH(QStringList, families);
        QFETCH(QString, name);
        QFETCH(int, row);
        QCOMPARE(note_lists::fontRow(families, name), row);
    }
};

QTEST_GUILESS_MAIN(NoteListsTest)
#include "note_lists_test.moc"

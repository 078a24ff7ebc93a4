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

    void composePreview_data() {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("decoded");
        QTest::addColumn<QSize>("preview");
        QTest::addColumn<QRect>("landed");
        // A wide picture on the 252 x 210 preview of a 923 x 768 area: f = 0.63.
        QTest::newRow("wide") << QSize(400, 100) << QSize(400, 100) << QSize(252, 210)
                              << QRect(0, 73, 252, 63);
        QTest::newRow("tall") << QSize(100, 400) << QSize(100, 400) << QSize(252, 210)
                              << QRect(99, 0, 52, 210);
        // Decoded smaller than its full size: it still lands where the full size fits.
        QTest::newRow("decoded smaller")
            << QSize(4000, 1000) << QSize(252, 63) << QSize(252, 210) << QRect(0, 73, 252, 63);
    }
    void composePreview() {
        QFETCH(QSize, picture);
        QFETCH(QSize, decoded);
        QFETCH(QSize, preview);
        QFETCH(QRect, landed);
        QImage source(decoded, QImage::Format_RGB32);
        source.fill(Qt::red);
        const QImage p = note_lists::composePreview(source, picture, preview, Qt::blue);
        QCOMPARE(p.size(), preview);
        for (int y = 0; y < preview.height(); ++y)
            for (int x = 0; x < preview.width(); ++x) {
                const QColor expected = landed.contains(x, y) ? Qt::red : Qt::blue;
                if (p.pixelColor(x, y) != expected)
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
            }
    }

    void composePreviewWithoutSizes() {
        QImage source(10, 10, QImage::Format_RGB32);
        source.fill(Qt::red);
        QVERIFY(
            note_lists::composePreview(source, QSize(10, 10), QSize(0, 210), Qt::blue).isNull());
        const QImage fillOnly =
            note_lists::composePreview(QImage(), QSize(), QSize(4, 3), Qt::blue);
        QCOMPARE(fillOnly.size(), QSize(4, 3));
        QCOMPARE(fillOnly.pixelColor(2, 1), QColor(Qt::blue));
    }
};

QTEST_GUILESS_MAIN(NoteListsTest)
#include "note_lists_test.moc"

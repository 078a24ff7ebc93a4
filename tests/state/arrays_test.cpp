#include "state/arrays.h"

#include <QString>
#include <QTest>

class ArraysTest : public QObject {
    Q_OBJECT
  private slots:
    void resizeKeepsWhatFitsBothBounds() {
        Array2<QString> notes(5, 15);
        for (int r = 1; r <= 5; ++r)
            notes(r, 0) = QString("row %1").arg(r);
        notes.resize(2, 15);
        QCOMPARE(notes.ubound1(), 2);
        QCOMPARE(notes(1, 0), QString("row 1"));
        QCOMPARE(notes(2, 0), QString("row 2"));
        notes.resize(4, 15);
        QCOMPARE(notes(3, 0), QString()); // dropped rows come back empty

        // Cells read at (n, 12) survive the resize to (m, 15) after the folder scan.
        Array2<QString> read(3, 12);
        read(3, 12) = "5";
        read(2, 7) = "1";
        read.resize(6, 15);
        QCOMPARE(read(3, 12), QString("5"));
        QCOMPARE(read(2, 7), QString("1"));
        QCOMPARE(read(6, 15), QString());
    }

    void indexesOutsideTheBoundsAreHarmless() {
        Array1<QString> files(3);
        files(3) = "c";
        files(4) = "lost";
        files(-1) = "lost";
        QCOMPARE(files(4), QString());
        QCOMPARE(files(-1), QString());
        QCOMPARE(files(3), QString("c"));
        files.resize(-7); // a hostile bound keeps element 0
        QCOMPARE(files.ubound(), 0);
        Array2<QString> notes(1, 12);
        notes(2, 0) = "lost";
        notes(1, 13) = "lost";
        QCOMPARE(notes(2, 0), QString());
        QCOMPARE(notes(1, 13), QString());
        const Array2<QString>& view = notes;
        QCOMPARE(view(-1, -1), QString());
    }
};

QTEST_GUILESS_MAIN(ArraysTest)
#include "arrays_test.moc"

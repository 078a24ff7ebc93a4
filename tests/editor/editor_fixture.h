#pragma once
// A notes editor over a generated picture set, on a screen of a chosen size.
#include "common/testseams.h"

#include <QStringList>
#include <QTemporaryDir>

class fin_edita;

struct EditorFixture {
    explicit EditorFixture(QSize screen = QSize(1024, 768));
    ~EditorFixture();

    // n plain pictures pic1.png .. picN.png of `size` in `colour`, and an empty note table
    // sized as an import leaves it.
    void loadPictures(int n, QSize size = QSize(400, 300), QColor colour = Qt::green);
    QString picturePath(int i) const;
    // Opens a fresh editor (closing one still open) with the strip on `edge`, `pixels` thick.
    fin_edita* open(int edge = 0, int pixels = 100);
    // Closes and destroys the editor if it is open.
    static void close();
    // Columns 0 to 12 of row i.
    static QStringList row(int i);
    static void setRow(int i, const QStringList& cells);

    TestSeams seams;
    QTemporaryDir dir;
};

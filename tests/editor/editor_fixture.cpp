#include "editor/editor_fixture.h"

#include "framework/values.h"
#include "state/globali.h"
#include "windows/editor/fin_edita.h"

#include <QCoreApplication>
#include <QImage>

EditorFixture::EditorFixture(QSize screen) : seams(screen) {
    close();
    Globali::reset();
    // The setup window's default colours.
    Globali::colore(2) = HSV(0, 0, 0);
    Globali::colore(3) = HSV(0, 1, 0.5);
    Globali::colore(4) = HSV(0, 0, 1);
    Globali::colore(6) = HSV(0, 1, 1);
}

EditorFixture::~EditorFixture() {
    close();
}

void EditorFixture::loadPictures(int n, QSize size, QColor colour) {
    Globali::quantidisegni = n;
    Globali::disegno.resize(n);
    Globali::contorno.resize(n, 15);
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(colour);
    for (int i = 1; i <= n; ++i) {
        picture.save(picturePath(i));
        Globali::disegno(i) = picturePath(i);
    }
}

QString EditorFixture::picturePath(int i) const {
    return dir.filePath(QStringLiteral("pic%1.png").arg(i));
}

fin_edita* EditorFixture::open(int edge, int pixels) {
    close();
    Globali::thumb_pos = edge;
    Globali::thumb_per = pixels;
    fin_edita* w = fw::Single<fin_edita>::get();
    w->Show();
    return w;
}

void EditorFixture::close() {
    if (fin_edita* w = fw::Single<fin_edita>::peek()) w->Close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QStringList EditorFixture::row(int i) {
    QStringList cells;
    for (int c = 0; c <= 12; ++c)
        cells << Globali::contorno(i, c);
    return cells;
}

void EditorFixture::setRow(int i, const QStringList& cells) {
    for (int c = 0; c <= 12; ++c)
        Globali::contorno(i, c) = cells.value(c);
}

#include "common/testseams.h"

#include "common/testfiles.h"
#include "logic/state/globali.h"
#include "windows/dialogs/cart_noi.h"
#include "windows/dialogs/cart_spo.h"
#include "windows/dialogs/info.h"
#include "windows/editor/fin_edita.h"
#include "windows/presentation/fin_pict.h"
#include "windows/presentation/fin_thumb.h"
#include "windows/setup/setup_routines.h"
#include "windows/setup/start.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <unistd.h>

namespace {
template <class T> T next(std::deque<T>& q, T cancel) {
    if (q.empty()) return cancel;
    T v = q.front();
    q.pop_front();
    return v;
}
template <class... W> void closeEach() {
    (..., [] {
        if (W* w = fw::Single<W>::peek()) w->Close();
    }());
}
} // namespace

TestSeams::TestSeams(QSize s) : screen(s) {
    // The windows read and write the desktop's thumbnail cache: never the user's, also when a
    // test program is run by hand rather than by CTest.
    if (qEnvironmentVariableIsEmpty("XDG_CACHE_HOME"))
        qputenv("XDG_CACHE_HOME",
                QFile::encodeName(QDir::tempPath() +
                                  QStringLiteral("/vetrinova-tests-%1").arg(getuid())));
    auto& h = seams::hooks();
    h.screenRect = [this] { return QRect(QPoint(), screen); };
    h.beep = [this] { ++beeps; };
    h.showUrl = [this](const QString& url) { links << url; };
    h.selectFolder = [this] { return next(folders, QString()); };
    h.openFile = [this] { return next(openFiles, QString()); };
    h.saveFile = [this](const QString&) { return next(saveFiles, QString()); };
    h.selectColor = [](const QColor&, const QString&) { return std::optional<QColor>(); };
    h.prefsFolder = [this] { return prefs.path(); };
    h.error = [this](const QString& title, const QString& text) { errors << title + ": " + text; };
}

TestSeams::~TestSeams() {
    seams::hooks() = seams::systemHooks();
}

WindowFixture::WindowFixture(QSize screen) : seams(screen) {
    closeWindows();
    Globali::reset();
}

WindowFixture::~WindowFixture() {
    closeWindows();
}

void WindowFixture::closeWindows() {
    closeEach<fin_edita, fin_pict, fin_thumb, cart_spo, cart_noi, info, start>();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QString WindowFixture::makeFolder(const QString& name, int n, QSize size, QColor colour) {
    const QString folder = path(name);
    QDir().mkpath(folder);
    for (int i = 1; i <= n; ++i)
        testfiles::writePicture(QDir(folder).filePath(QStringLiteral("pic%1.png").arg(i)), size,
                                colour);
    return folder;
}

void WindowFixture::importFolder(const QString& folder) {
    seams.folders.push_back(folder);
    start::instance()->PushButton1->click(); // "Select image folder"
}

void WindowFixture::saveTo(const QString& file) {
    seams.saveFiles.push_back(file);
    Globali::salva_presentazione();
}

fin_edita* WindowFixture::openEditor(int edge, int pixels) {
    if (fin_edita* old = fw::Single<fin_edita>::peek()) old->Close();
    Globali::thumb_pos = edge;
    Globali::thumb_per = pixels;
    fin_edita* w = fw::Single<fin_edita>::get();
    w->Show();
    return w;
}

QStringList WindowFixture::presentationState() {
    QStringList state{Globali::cartella, QString::number(Globali::quantidisegni)};
    for (int i = 1; i <= Globali::quantidisegni; ++i)
        state << Globali::disegno(i) << row(i);
    return state;
}

QStringList WindowFixture::row(int i) {
    QStringList cells;
    for (int c = 0; c < note::kCells; ++c)
        cells << Globali::contorno(i, c);
    return cells;
}

void WindowFixture::setRow(int i, const QStringList& cells) {
    for (int c = 0; c < note::kCells; ++c)
        Globali::contorno(i, c) = cells.value(c);
}

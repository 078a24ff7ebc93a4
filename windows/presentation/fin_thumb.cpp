#include "windows/presentation/fin_thumb.h"

#include "framework/progress.h"
#include "resources/pictures.h"
#include "state/globali.h"
#include "windows/presentation/mostra_pict.h"
#include "windows/presentation/picture_compose.h"
#include "windows/presentation/presentation.h"
#include "windows/presentation/presentation_geometry.h"
#include "windows/presentation/thumbnail_cache.h"

#include <QCoreApplication>
#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentMap>
#include <algorithm>
#include <optional>
#include <vector>

namespace {

struct Job {
    QString path;
    QSize cell; // device pixels
};

thumbnail_cache::Thumbnail decodeJob(const Job& job) {
    return thumbnail_cache::decode(job.path, job.cell);
}

} // namespace

fin_thumb::fin_thumb()
    : fw::Window(fw::Frame::PlainBox, QSize(300, 300), QStringLiteral("thumbnails")) {
    setBackColor(QColor(0xCC, 0xCC, 0xCC));
    addCell(0, QRect(-200, -200, 100, 100));
}

fw::Canvas* fin_thumb::addCell(int index, QRect geometry) {
    auto* cell = new fw::Canvas(content(), geometry);
    miniabase.add(index, cell);
    connect(cell, &fw::Canvas::mouseDown, this,
            [this, index](int x, int y) { miniabase_MouseDown(index, x, y); });
    return cell;
}

void fin_thumb::Event_Open() {
    using namespace Globali;
    presentation::OpeningScope opening;
    setBackColor(colore(colour::StripBackground));
    const int pictures = std::clamp(quantidisegni, 0, presentation_geo::kMaxCells - 1);
    const int n = pictures + 1;
    const auto grid = presentation_geo::stripGrid(tmb_dx, tmb_dy, thumb_pos, n);
    for (int k = 1; k <= int(grid.cells.size()); ++k)
        addCell(k, grid.cells[size_t(k - 1)])->show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

    if (!grid.cells.empty()) {
        const QSize cell(grid.cw, grid.ch);
        fillThumbnails(pictures, cell);
        const QImage& exit = language::isEnglish(lingua) ? pictures::eexit() : pictures::eesci();
        miniabase(n)->setBackdrop(picture_compose::composeFitted(
            exit, exit.size(), cell, devicePixelRatioF(), colore(colour::CellBackground)));
    }
    mostra_pict(1);
}

// Decodes the thumbnails the cache lacks on worker threads (QImage work only) and places
// every cell's picture in order here, keeping the windows painted meanwhile.
void fin_thumb::fillThumbnails(int pictures, QSize cell) {
    using namespace Globali;
    const qreal dpr = devicePixelRatioF();
    const QSize device = picture_compose::deviceSize(cell, dpr);

    std::vector<thumbnail_cache::Key> keys(size_t(pictures) + 1);
    std::vector<std::optional<thumbnail_cache::Thumbnail>> ready(size_t(pictures) + 1);
    std::vector<int> jobOf(size_t(pictures) + 1, -1);
    QList<Job> jobs;
    for (int i = 1; i <= pictures; ++i) {
        keys[size_t(i)] = thumbnail_cache::keyFor(disegno(i), device);
        ready[size_t(i)] = thumbnail_cache::find(keys[size_t(i)]);
        if (!ready[size_t(i)]) {
            jobOf[size_t(i)] = int(jobs.size());
            jobs.append({disegno(i), device});
        }
    }

    QFuture<thumbnail_cache::Thumbnail> decoded;
    QFutureWatcher<thumbnail_cache::Thumbnail> watcher;
    if (!jobs.isEmpty()) {
        decoded = QtConcurrent::mapped(jobs, decodeJob);
        // Each finished decode posts an event that wakes the wait below.
        connect(&watcher, &QFutureWatcher<thumbnail_cache::Thumbnail>::resultReadyAt, this, [] {});
        watcher.setFuture(decoded);
    }

    fw::Progress progress(language::isEnglish(lingua)
                              ? QStringLiteral("Preparing the thumbnails")
                              : QStringLiteral("Preparazione delle miniature"),
                          pictures);
    for (int i = 1; i <= pictures; ++i) {
        auto& thumb = ready[size_t(i)];
        if (!thumb) {
            const int job = jobOf[size_t(i)];
            while (!decoded.isResultReadyAt(job))
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                                QEventLoop::WaitForMoreEvents);
            thumb = decoded.resultAt(job);
            thumbnail_cache::store(keys[size_t(i)], *thumb);
        }
        const QImage& shown = thumb->ok() ? thumb->image : pictures::notfound();
        const QSize original = thumb->ok() ? thumb->original : shown.size();
        miniabase(i)->setBackdrop(picture_compose::composeFitted(shown, original, cell, dpr,
                                                                 colore(colour::CellBackground)));
        thumb.reset();
        progress.step(i);
    }
}

bool fin_thumb::miniabase_MouseDown(int index, int x, int y) {
    Q_UNUSED(x)
    Q_UNUSED(y)
    if (index > Globali::quantidisegni)
        presentation::endPresentation();
    else
        presentation::whenOpen([index] { Globali::mostra_pict(index); });
    return false;
}

void fin_thumb::Event_KeyDown(int key) {
    if (key == Qt::Key_Escape) presentation::endPresentation();
}

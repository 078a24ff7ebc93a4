#include "pictures/backdrop.h"

#include "base/files.h"
#include "pictures/decode/picture.h"

#include "pictures/fitting.h"
#include "pictures/picture_compose.h"
#include <QFile>

#include <algorithm>
#include <utility>

namespace backdrop {

namespace {

// The backdrop of a picture decoded at any size up to its fitted one.
QImage composed(const Request& request, const QImage& picture, QSize original) {
    QImage image =
        picture_compose::composeFitted(picture, original, request.area, request.dpr, request.fill);
    if (request.frame)
        picture_compose::drawFrame(image, request.frame->rect, request.frame->line,
                                   request.frame->colour);
    return image;
}

QSize fittedDevice(const Request& request, QSize full) {
    return fitting::fitRect(full, picture_compose::deviceSize(request.area, request.dpr)).size();
}

// A stand-in this much smaller than the fitted picture is still plainly the picture.
constexpr int kStandInShrink = 4;

Made decoded(const Request& request, int shrink) {
    Made made{QImage(), files::stampOf(files::encodeName(request.path))};
    const LoadedPicture loaded = loadPicture(request.path, [&request, shrink](QSize full) {
        return fittedDevice(request, full) / shrink;
    });
    if (!loaded.isNull()) made.image = composed(request, loaded.image, loaded.original);
    return made;
}

} // namespace

Made make(const Request& request) {
    return decoded(request, 1);
}

bool slow(const Request& request) {
    const QSize full = probePicture(request.path).size;
    return full.isValid() && picture::slowToDecode(request.path, fittedDevice(request, full));
}

QImage standIn(const Request& request, const QImage& small, QSize original) {
    return composed(request, small, original);
}

Made standInDecoded(const Request& request) {
    const QSize full = probePicture(request.path).size;
    if (!full.isValid() ||
        picture::slowToDecode(request.path, fittedDevice(request, full) / kStandInShrink))
        return {};
    return decoded(request, kStandInShrink);
}

Ahead::Ahead() = default;
Ahead::~Ahead() = default;

Ahead::Entry* Ahead::find(const Request& request) {
    for (const auto& e : entries_)
        if (e->request == request) return e.get();
    return nullptr;
}

std::optional<Made> Ahead::take(const Request& request) {
    Entry* e = find(request);
    if (!e || e->job) return std::nullopt;
    Made made = std::move(e->made);
    std::erase_if(entries_, [e](const auto& p) { return p.get() == e; });
    // Changed since it was decoded: the picture is decoded again.
    if (made.from != files::stampOf(files::encodeName(request.path))) return std::nullopt;
    return made;
}

bool Ahead::await(const Request& request, std::function<void(const Made&)> then) {
    stopAwaiting();
    Entry* e = find(request);
    if (!e || !e->job) return false;
    e->then = std::move(then);
    return true;
}

void Ahead::stopAwaiting() {
    for (const auto& e : entries_)
        e->then = nullptr;
}

bool Ahead::awaiting() const {
    return std::any_of(entries_.begin(), entries_.end(),
                       [](const auto& e) { return bool(e->then); });
}

void Ahead::shownNow(const Request& shown, const Made& made, const QList<Request>& next) {
    const QList<Request> wanted = next.mid(0, kMost);
    std::erase_if(entries_, [&wanted](const auto& e) { return !wanted.contains(e->request); });
    if (shown_ && wanted.contains(shown_->first) && !find(shown_->first) &&
        !shown_->second.image.isNull())
        entries_.push_back(std::make_unique<Entry>(Entry{shown_->first, shown_->second, {}, {}}));
    shown_ = std::make_pair(shown, made);
    if (holding_)
        waiting_ = wanted;
    else
        makeAll(wanted);
}

void Ahead::hold() {
    holding_ = true;
}

void Ahead::release() {
    if (!holding_) return;
    holding_ = false;
    makeAll(std::exchange(waiting_, {}));
}

void Ahead::makeAll(const QList<Request>& wanted) {
    int priority = int(wanted.size());
    for (const Request& request : wanted) {
        --priority;
        if (find(request)) continue;
        auto entry = std::make_unique<Entry>(
            Entry{request, {}, std::make_unique<fw::Jobs>(fw::Lane::Ahead), {}});
        Entry* e = entry.get();
        entries_.push_back(std::move(entry));
        e->job->run([request] { return make(request); },
                    [this, e](const Made& result) {
                        e->job.reset(); // the set is done: its jobs are over
                        auto then = std::move(e->then);
                        e->then = nullptr;
                        if (!then) {
                            e->made = result;
                            return;
                        }
                        std::erase_if(entries_, [e](const auto& p) { return p.get() == e; });
                        then(result);
                    },
                    priority);
    }
}

void Ahead::clear() {
    entries_.clear();
    shown_.reset();
    holding_ = false;
    waiting_.clear();
}

int Ahead::held() const {
    return int(
        std::count_if(entries_.begin(), entries_.end(), [](const auto& e) { return !e->job; }));
}

int Ahead::coming() const {
    return int(entries_.size()) - held();
}

} // namespace backdrop

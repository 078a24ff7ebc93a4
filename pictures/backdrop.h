#pragma once
// The picture view's backdrop: a picture scaled to fit the picture area on its background
// colour, with its note's frame. Made on worker threads; the ones beside the picture shown are
// made ahead, so that going on to the next picture shows it at once.
#include "base/files.h"
#include "pictures/background.h"
#include "pictures/decode/picture.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace backdrop {

// Everything a backdrop is made of, taken from the presentation's state on the GUI thread.
struct Request {
    QString path;
    QSize area; // logical pixels
    qreal dpr = 1.0;
    QColor fill;
    struct Frame {
        QRect rect;
        int line = 0;
        QColor colour;
        bool operator==(const Frame&) const = default;
    };
    std::optional<Frame> frame;
    bool operator==(const Request&) const = default;
};

// A backdrop and the file as it was before it was decoded.
struct Made {
    QImage image;                     // null when the file gave no picture
    std::optional<files::Stamp> from; // none when there was no file
};

// The picture scaled to fit the area, with its frame. Any thread.
Made make(const Request& request);

// A picture that takes a while to decode (picture::slowToDecode at the area's size) first
// shows a stand-in: the same backdrop made from a smaller version of the picture, drawn at
// the fitted size, which make() then replaces.
bool slow(const Request& request);
// The stand-in made from a smaller version of the picture at hand (the strip's thumbnail),
// `original` the picture's upright full size. Quick enough for the GUI thread.
QImage standIn(const Request& request, const QImage& small, QSize original);
// The stand-in decoded from the file at a fraction of the fitted size, where that is quick
// (a HEIF picture from its thumbnail): null image otherwise. Any thread.
Made standInDecoded(const Request& request);

// Backdrops made ahead of time, at most kMost, on a thread of their own: those beside the
// picture shown. A backdrop is given out only while its file is unchanged. Used on the GUI
// thread; what is being made when the set goes, or is no longer wanted, is dropped.
class Ahead {
  public:
    static constexpr int kMost = 2;
    Ahead();
    ~Ahead();
    Ahead(const Ahead&) = delete;
    Ahead& operator=(const Ahead&) = delete;

    // The backdrop of `request` when it has been made and its file is unchanged since, taken
    // out of the set; otherwise none.
    std::optional<Made> take(const Request& request);
    // When `request` is being made: `then` gets it once it is ready, instead of its being kept,
    // and true. A later await() or stopAwaiting() cancels that.
    bool await(const Request& request, std::function<void(const Made&)> then);
    void stopAwaiting();
    bool awaiting() const;

    // The picture `shown` is on screen now (its backdrop `made`, null when it gave none), and
    // the next wanted are `next` (at most kMost, the likeliest first): what is held or being
    // made for anything else is dropped, the backdrop that was on screen before is kept when it
    // is among them, and the rest are made, in that order.
    void shownNow(const Request& shown, const Made& made, const QList<Request>& next);
    // While the strip's thumbnails are being made the cores are theirs: what shownNow() would
    // make ahead waits until release().
    void hold();
    void release();
    // Drops everything.
    void clear();

    // How many backdrops are held, and being made.
    int held() const;
    int coming() const;

  private:
    struct Entry {
        Request request;
        Made made;
        std::unique_ptr<fw::Jobs> job; // while being made
        std::function<void(const Made&)> then;
    };
    Entry* find(const Request& request);
    void makeAll(const QList<Request>& wanted); // those not held or being made already
    std::vector<std::unique_ptr<Entry>> entries_;
    std::optional<std::pair<Request, Made>> shown_;
    bool holding_ = false;
    QList<Request> waiting_; // wanted while holding
};

} // namespace backdrop

#pragma once
// The image folder scan: which items of a folder are pictures, and in which order.
// Notes are matched to pictures by position, so the order must come out the same on
// every machine and at every scan of an unchanged folder.
#include <QString>
#include <QStringList>
#include <functional>

namespace folder_scan {

// A fixed total order of item names: letters compared without regard to case, runs of the
// digits 0-9 compared as numbers ("img2" before "img10"), no dependence on the locale.
// Names equal under these rules ("IMG1" and "img1", "a01" and "a1") are ordered by their
// exact text, so only identical names compare equal.
bool naturalLess(const QString& a, const QString& b);

struct Listing {
    QStringList paths;
    int leftOut = 0; // items whose path is too long for the system to open
};
// Absolute paths of every item of the folder: files, links, subfolders and hidden items,
// not "." and "..", not the contents of subfolders, whatever bytes their names hold (kept as
// files::decodeName keeps them). In naturalLess order of their names as files::shownName
// shows them. An unreadable or missing folder has no items.
Listing listItems(const QString& folder);

struct ScanResult {
    int items = 0;        // items listed in the folder, those left out not counted
    QStringList pictures; // the items that are pictures, in listing order
    bool stopped = false; // the progress function asked to stop before the last item
    int leftOut = 0;      // items that could not be opened by their path at all
};

// Lists the folder's items and keeps those whose header reads as a picture.
// progress, when given, is called after each item with the number of items examined and
// their total; when it returns false the scan stops there and the result holds the pictures
// found so far, with stopped set.
ScanResult scan(const QString& folder,
                const std::function<bool(int done, int total)>& progress = {});

} // namespace folder_scan

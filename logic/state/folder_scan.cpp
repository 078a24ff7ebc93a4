#include "logic/state/folder_scan.h"

#include "base/files.h"
#include "pictures/decode/picture.h"

#include <QDir>
#include <algorithm>
#include <climits>
#include <limits>
#include <memory>

#include <dirent.h>

namespace folder_scan {

namespace {

bool isDigit(uint c) {
    return c >= u'0' && c <= u'9';
}

// The name as compared: case folded by the Unicode tables (not the locale), in code points.
QList<uint> foldedKey(const QString& name) {
    return name.toCaseFolded().toUcs4();
}

// Compares two folded names, digit runs as numbers. Runs that differ only in leading zeros
// are equal here. Elsewhere code points compare directly; as a digit and a non-digit never
// tie, every number sorts where the character '0' would.
int compareKeys(const QList<uint>& a, const QList<uint>& b) {
    qsizetype i = 0, j = 0;
    const qsizetype na = a.size(), nb = b.size();
    while (i < na && j < nb) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            while (i < na && a[i] == u'0')
                ++i;
            while (j < nb && b[j] == u'0')
                ++j;
            const qsizetype startA = i, startB = j;
            while (i < na && isDigit(a[i]))
                ++i;
            while (j < nb && isDigit(b[j]))
                ++j;
            // Without leading zeros the longer run is the larger number.
            if (i - startA != j - startB) return i - startA < j - startB ? -1 : 1;
            for (qsizetype k = 0; k < i - startA; ++k)
                if (a[startA + k] != b[startB + k]) return a[startA + k] < b[startB + k] ? -1 : 1;
            continue;
        }
        if (a[i] != b[j]) return a[i] < b[j] ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < na) return 1;
    if (j < nb) return -1;
    return 0;
}

bool keyedLess(const QList<uint>& ka, const QString& a, const QList<uint>& kb, const QString& b) {
    const int c = compareKeys(ka, kb);
    if (c != 0) return c < 0;
    return QString::compare(a, b, Qt::CaseSensitive) < 0;
}

} // namespace

bool naturalLess(const QString& a, const QString& b) {
    return keyedLess(foldedKey(a), a, foldedKey(b), b);
}

Listing listItems(const QString& folder) {
    Listing out;
    if (folder.isEmpty()) return out;
    // Read through the names' bytes: the toolkit's listing turns bytes that are not UTF-8
    // into replacement characters, and such a name opens nothing.
    const QString base = QDir::cleanPath(
        QDir::isAbsolutePath(folder) ? folder : QDir::currentPath() + QLatin1Char('/') + folder);
    const QString prefix = base.endsWith(QLatin1Char('/')) ? base : base + QLatin1Char('/');
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(files::encodeName(base).constData()),
                                                  ::closedir);
    if (!dir) return out;
    struct Entry {
        QString name;
        QList<uint> key;
    };
    std::vector<Entry> entries;
    const qsizetype prefixBytes = files::encodeName(prefix).size();
    while (const dirent* e = ::readdir(dir.get())) {
        const QByteArrayView name(e->d_name);
        if (name == "." || name == "..") continue;
        // A path the system refuses to open: the item is there, but nothing can read it.
        if (prefixBytes + name.size() >= PATH_MAX) {
            ++out.leftOut;
            continue;
        }
        QString text = files::decodeName(name);
        // Ordered by the name as shown (bytes that are not UTF-8 as Latin-1), ties by the name
        // as it is: the same order at every scan.
        QList<uint> key = foldedKey(files::shownName(text));
        entries.push_back({std::move(text), std::move(key)});
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& x, const Entry& y) {
        return keyedLess(x.key, x.name, y.key, y.name);
    });
    out.paths.reserve(qsizetype(entries.size()));
    for (const Entry& e : entries)
        out.paths << prefix + e.name;
    return out;
}

ScanResult scan(const QString& folder, const std::function<bool(int done, int total)>& progress) {
    ScanResult result;
    const Listing listing = listItems(folder);
    const QStringList& items = listing.paths;
    result.leftOut = listing.leftOut;
    result.items = int(std::min<qsizetype>(items.size(), std::numeric_limits<int>::max()));
    for (int i = 0; i < result.items; ++i) {
        if (probePicture(items[i]).ok) result.pictures << items[i];
        if (progress && !progress(i + 1, result.items)) {
            result.stopped = i + 1 < result.items;
            break;
        }
    }
    return result;
}

} // namespace folder_scan

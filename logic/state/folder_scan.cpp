#include "logic/state/folder_scan.h"

#include "pictures/decode/picture.h"

#include <QDir>
#include <algorithm>
#include <limits>

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

QStringList listItems(const QString& folder) {
    if (folder.isEmpty()) return {};
    const QDir dir(folder);
    // System brings in broken links, pipes, sockets and devices: items like any other.
    const QStringList names = dir.entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::NoSort);
    struct Entry {
        QString name;
        QList<uint> key;
    };
    std::vector<Entry> entries;
    entries.reserve(size_t(names.size()));
    for (const QString& n : names)
        entries.push_back({n, foldedKey(n)});
    std::sort(entries.begin(), entries.end(), [](const Entry& x, const Entry& y) {
        return keyedLess(x.key, x.name, y.key, y.name);
    });
    QStringList paths;
    paths.reserve(names.size());
    for (const Entry& e : entries)
        paths << dir.absoluteFilePath(e.name);
    return paths;
}

ScanResult scan(const QString& folder, const std::function<bool(int done, int total)>& progress) {
    ScanResult result;
    const QStringList items = listItems(folder);
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

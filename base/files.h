#pragma once
// Files as the program opens them: only what is a regular file is opened (a named pipe would
// wait for a writer for ever, a device may act on being opened), and what identifies a file's
// contents cheaply. Paths are the system's bytes (encodeName below).
#include <QByteArray>
#include <QString>
#include <optional>
#include <utility>

namespace files {

// A file name's bytes as text, and back, without loss: the system takes any bytes but "/" and
// NUL in a name, and an older camera or another system may have written names that are not
// UTF-8. Valid UTF-8 reads as its characters; every other byte b becomes the unpaired
// surrogate U+DC00 + b, which valid UTF-8 never yields, so encodeName(decodeName(x)) == x for
// any bytes x. Text that holds no such surrogate encodes as UTF-8, as the toolkit's own names
// do. Used alike for the lines of a presentation file, which keep their bytes the same way.
QString decodeName(QByteArrayView bytes);
QByteArray encodeName(QStringView text);
// The same text fit to be shown: each byte kept by decodeName reads as the Latin-1 character
// of its value (the encoding older files and systems most often used), any other unpaired
// surrogate as U+FFFD.
QString shownName(const QString& text);
// Whether the text holds an unpaired surrogate, such as a byte that decodeName kept: whether
// shownName changes it.
bool keepsBytes(QStringView text);

// An open file descriptor, closed when it goes.
class Descriptor {
  public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Descriptor& operator=(Descriptor&& other) noexcept;
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor();
    int get() const { return fd_; }
    bool ok() const { return fd_ >= 0; }
    // Hands the descriptor on: the caller closes it.
    int release() { return std::exchange(fd_, -1); }
    // Closes now, to learn whether the last writes reached the disk.
    bool close();

  private:
    int fd_;
};

// What the file at a path is, as far as opening it for reading goes.
enum class Failure { None, NotAFile, Unreadable };

enum class Links { Follow, Refuse };

struct Opened {
    Descriptor fd;
    Failure failure = Failure::None;
    int error = 0;     // errno, when Unreadable
    qint64 bytes = -1; // the file's length when it was opened
};

// Opens the regular file at `path` for reading, a relative path inside the open folder `in`
// when given. Its type is checked before opening and again on what was opened, in case the
// path was replaced in between. With Links::Refuse a link at the path is not followed but
// refused (as something that is not a file).
Opened openRegular(const QByteArray& path, Links links = Links::Follow, int in = -1);

// What identifies a regular file's contents cheaply: when it was last modified, to the
// nanosecond the file system keeps, and its length. What was made from a file is still good
// while its stamp is the same.
struct Stamp {
    qint64 seconds = 0;     // since the epoch, as the desktop's thumbnail cache records them
    qint64 nanoseconds = 0; // within that second
    qint64 bytes = 0;
    bool operator==(const Stamp&) const = default;
};

// The stamp of the regular file at `path` (links followed); none when there is no regular
// file there.
std::optional<Stamp> stampOf(const QByteArray& path);

// Whether there is a folder at `path` (links followed).
bool isFolder(const QByteArray& path);
// Whether there is anything at `path`, a broken link included.
bool exists(const QByteArray& path);

} // namespace files

#include "base/files.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace files {

namespace {

constexpr char16_t kKeptByte = 0xDC00;

bool isKeptByte(char16_t u) {
    return u >= kKeptByte + 0x80 && u <= kKeptByte + 0xFF;
}

// The code point of the valid UTF-8 sequence at p (n bytes left) and its length, or a length
// of 0 where no valid sequence starts: a stray continuation byte, a lead byte without its
// continuations, an overlong form, a surrogate or a value past U+10FFFF.
std::pair<char32_t, int> sequenceAt(const uchar* p, qsizetype n) {
    const uchar b = p[0];
    int length = 0;
    char32_t cp = 0, least = 0;
    if (b >= 0xC2 && b <= 0xDF) {
        length = 2;
        cp = b & 0x1F;
        least = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3;
        cp = b & 0x0F;
        least = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4;
        cp = b & 0x07;
        least = 0x10000;
    } else {
        return {0, 0};
    }
    if (n < length) return {0, 0};
    for (int k = 1; k < length; ++k) {
        if ((p[k] & 0xC0) != 0x80) return {0, 0};
        cp = (cp << 6) | (p[k] & 0x3F);
    }
    if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return {0, 0};
    return {cp, length};
}

} // namespace

QString decodeName(QByteArrayView bytes) {
    // Most text is valid UTF-8: the toolkit's decoder takes it at once.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf8(bytes);
    if (!utf8.hasError()) return text;
    text.clear();
    text.reserve(bytes.size());
    const auto* p = reinterpret_cast<const uchar*>(bytes.data());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        if (p[i] < 0x80) {
            text += QChar(char16_t(p[i++]));
            continue;
        }
        const auto [cp, length] = sequenceAt(p + i, n - i);
        if (length == 0) {
            text += QChar(char16_t(kKeptByte + p[i++]));
            continue;
        }
        // Appended as code units: a conversion from UCS-4 would drop U+FEFF as a byte order
        // mark.
        if (QChar::requiresSurrogates(cp)) {
            text += QChar(QChar::highSurrogate(cp));
            text += QChar(QChar::lowSurrogate(cp));
        } else {
            text += QChar(char16_t(cp));
        }
        i += length;
    }
    return text;
}

QByteArray encodeName(QStringView text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    QStringEncoder utf8(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    qsizetype from = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (!isKeptByte(u) || (i > 0 && QChar::isHighSurrogate(text[i - 1].unicode()))) continue;
        bytes += utf8(text.sliced(from, i - from));
        bytes += char(u - kKeptByte);
        from = i + 1;
    }
    bytes += utf8(text.sliced(from));
    return bytes;
}

QString shownName(const QString& text) {
    if (!keepsBytes(text)) return text;
    QString shown = text;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const char16_t u = shown[i].unicode();
        if (QChar::isHighSurrogate(u) && i + 1 < shown.size() &&
            QChar::isLowSurrogate(shown[i + 1].unicode())) {
            ++i;
            continue;
        }
        if (QChar::isSurrogate(u))
            shown[i] = isKeptByte(u) ? QChar(char16_t(u - kKeptByte)) : QChar::ReplacementCharacter;
    }
    return shown;
}

bool keepsBytes(QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (!QChar::isSurrogate(u)) continue;
        if (QChar::isHighSurrogate(u) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text[i + 1].unicode())) {
            ++i; // a pair: one character beyond the first plane
            continue;
        }
        return true;
    }
    return false;
}

Descriptor& Descriptor::operator=(Descriptor&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

Descriptor::~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
}

bool Descriptor::close() {
    return ::close(std::exchange(fd_, -1)) == 0;
}

Opened openRegular(const QByteArray& path, Links links, int in) {
    Opened out;
    if (path.isEmpty()) {
        out.failure = Failure::Unreadable;
        out.error = ENOENT;
        return out;
    }
    const int at = in >= 0 ? in : AT_FDCWD;
    struct stat st {};
    const int found =
        ::fstatat(at, path.constData(), &st, links == Links::Follow ? 0 : AT_SYMLINK_NOFOLLOW);
    if (found == 0 && !S_ISREG(st.st_mode)) {
        out.failure = Failure::NotAFile;
        return out;
    }
    // O_NONBLOCK: a named pipe put in the file's place meanwhile must not hold the open.
    const int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | (links == Links::Refuse ? O_NOFOLLOW : 0);
    Descriptor fd(::openat(at, path.constData(), flags));
    if (!fd.ok()) {
        out.error = errno;
        out.failure = out.error == ELOOP ? Failure::NotAFile : Failure::Unreadable;
        return out;
    }
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        out.failure = Failure::NotAFile;
        return out;
    }
    out.bytes = qint64(st.st_size);
    out.fd = std::move(fd);
    return out;
}

std::optional<Stamp> stampOf(const QByteArray& path) {
    struct stat st {};
    if (path.isEmpty() || ::stat(path.constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return Stamp{qint64(st.st_mtim.tv_sec), qint64(st.st_mtim.tv_nsec), qint64(st.st_size)};
}

bool isFolder(const QByteArray& path) {
    struct stat st {};
    return !path.isEmpty() && ::stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool exists(const QByteArray& path) {
    struct stat st {};
    return !path.isEmpty() && ::lstat(path.constData(), &st) == 0;
}

} // namespace files

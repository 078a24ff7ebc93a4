#include "base/files.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace files {

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

} // namespace files

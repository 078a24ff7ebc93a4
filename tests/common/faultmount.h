#pragma once
// Small file systems that fault tests mount for themselves: read-only ones and nearly full
// ones. Permissions cannot make a fault for root (who runs the tests in CI), a mount can.
// Mounting needs root with CAP_SYS_ADMIN; before the first mount the test's thread moves to
// a mount namespace of its own, so no other process sees the mounts and none outlives the
// test program, even one that crashes. Each mount is undone when its object goes.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <QApplication>
#include <QTest>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sched.h>
#include <sys/mount.h>

namespace faultmount {

// Empty when this process may mount; otherwise why not, for a QSKIP.
inline QString unavailable() {
    static const QString reason = []() -> QString {
        const auto failed = [](const char* step) {
            return QStringLiteral("cannot %1 (%2): mounting needs root with CAP_SYS_ADMIN")
                .arg(QLatin1String(step), QString::fromLocal8Bit(std::strerror(errno)));
        };
        if (::unshare(CLONE_NEWNS) != 0) return failed("make a private mount namespace");
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return failed("make the mounts private");
        return {};
    }();
    return reason;
}

class Mount {
  public:
    Mount(const Mount&) = delete;
    Mount& operator=(const Mount&) = delete;
    ~Mount() {
        if (mounted_) ::umount2(target_.constData(), MNT_DETACH);
    }

    // A tmpfs of `kilobytes` on the folder `dir`.
    static std::unique_ptr<Mount> tmpfs(const QString& dir, int kilobytes) {
        std::unique_ptr<Mount> m(new Mount(dir));
        const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k,mode=0755";
        if (m->ok())
            m->check(::mount("vetrinova-faults", m->target_.constData(), "tmpfs",
                             MS_NOSUID | MS_NODEV, options.constData()));
        return m;
    }
    // The file or folder `path` bound onto itself, read-only.
    static std::unique_ptr<Mount> readOnlyBind(const QString& path) {
        std::unique_ptr<Mount> m(new Mount(path));
        if (m->ok() && m->check(::mount(m->target_.constData(), m->target_.constData(), nullptr,
                                        MS_BIND, nullptr)))
            m->makeReadOnly(MS_BIND);
        return m;
    }
    // Turns the mount read-only, with what it holds.
    bool makeReadOnly(unsigned long more = 0) {
        return ok() &&
               check(::mount(nullptr, target_.constData(), nullptr,
                             MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV | more, nullptr));
    }

    bool ok() const { return error_.isEmpty(); }
    QString error() const { return error_; }

  private:
    explicit Mount(const QString& target) : target_(QFile::encodeName(target)) {
        error_ = unavailable();
    }
    bool check(int result) {
        if (result == 0) {
            mounted_ = true;
            return true;
        }
        error_ = QStringLiteral("mount on %1: %2")
                     .arg(QFile::decodeName(target_), QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }

    QByteArray target_;
    QString error_;
    bool mounted_ = false;
};

// Fills the file system holding `folder` with a file "filler" until it takes no more bytes.
inline bool fillUp(const QString& folder) {
    QFile filler(QDir(folder).filePath(QStringLiteral("filler")));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
    const QByteArray block(1024, 'x');
    while (filler.write(block) == block.size()) {
    }
    // The last part of a block, byte by byte to the very end.
    while (filler.write("x", 1) == 1) {
    }
    return true;
}

} // namespace faultmount

// Skips the test when the mount could not be made.
#define VTN_REQUIRE_MOUNT(m)                                                                       \
    do {                                                                                           \
        if (!(m)->ok()) QSKIP(qPrintable((m)->error()));                                           \
    } while (0)

// main() of a test program whose every test mounts: without the right to mount it reports
// why and exits with kSkipped, which CTest shows as skipped rather than passed. The mount
// namespace is made before anything starts a thread (unshare refuses a threaded process).
namespace faultmount {
inline constexpr int kSkipped = 77;
}
#define VTN_MOUNT_TEST_MAIN(TestObject)                                                            \
    int main(int argc, char** argv) {                                                              \
        if (const QString why = faultmount::unavailable(); !why.isEmpty()) {                       \
            std::fprintf(stdout, "SKIP: %s\n", qPrintable(why));                                   \
            return faultmount::kSkipped;                                                           \
        }                                                                                          \
        QApplication app(argc, argv);                                                              \
        TestObject test;                                                                           \
        return QTest::qExec(&test, argc, argv);                                                    \
    }

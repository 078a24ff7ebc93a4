#pragma once
// Small file systems that fault tests mount for themselves: read-only ones and nearly full
// ones. Permissions cannot make a fault for root (who runs the tests in CI), a mount can.
// Mounting needs root with CAP_SYS_ADMIN. The test program first moves to a mount namespace
// of its own, so no other process sees the mounts and none outlives the test program, even
// one that crashes. Each mount is undone when its object goes.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sched.h>
#include <sys/mount.h>

namespace faultmount {

// Empty when this process may mount (made once: its own private mount namespace);
// otherwise why not.
inline QString unavailable() {
    static const QString reason = []() -> QString {
        if (::unshare(CLONE_NEWNS) == 0 &&
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0)
            return {};
        return "cannot make a private mount namespace (" +
               QString::fromLocal8Bit(std::strerror(errno)) +
               "): mounting needs root with CAP_SYS_ADMIN";
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
        m->check(::mount("vetrinova-faults", m->target_, "tmpfs", MS_NOSUID | MS_NODEV, options));
        return m;
    }
    // Turns the mount read-only, with what it holds.
    bool makeReadOnly() {
        return check(::mount(nullptr, target_, nullptr,
                             MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV, nullptr));
    }
    bool ok() const { return error_.isEmpty(); }
    QString error() const { return error_; }

  private:
    explicit Mount(const QString& target) : target_(QFile::encodeName(target)) {}
    bool check(int result) {
        mounted_ |= result == 0;
        if (result != 0 && ok())
            error_ = "mount on " + QFile::decodeName(target_) + ": " + std::strerror(errno);
        return result == 0;
    }
    QByteArray target_;
    QString error_;
    bool mounted_ = false;
};

// Fills the file system holding `folder` with a file "filler" until it takes no more bytes.
inline bool fillUp(const QString& folder) {
    QFile filler(QDir(folder).filePath(QStringLiteral("filler")));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
    while (filler.write(QByteArray(1024, 'x')) == 1024) {
    }
    while (filler.write("x", 1) == 1) { // the last part of a block, byte by byte
    }
    return true;
}

} // namespace faultmount

#define VTN_REQUIRE_MOUNT(m) QVERIFY2((m)->ok(), qPrintable((m)->error()))

// main() of a test program whose every test mounts: without the right to mount it says why
// and reports SKIP (77) rather than a pass. The mount namespace is made before anything
// starts a thread (unshare refuses a threaded process).
#define VTN_MOUNT_TEST_MAIN(TestObject)                                                            \
    int main(int argc, char** argv) {                                                              \
        if (const QString why = faultmount::unavailable(); !why.isEmpty()) {                       \
            std::fprintf(stdout, "SKIP: %s\n", qPrintable(why));                                   \
            return 77;                                                                             \
        }                                                                                          \
        QApplication app(argc, argv);                                                              \
        TestObject test;                                                                           \
        return QTest::qExec(&test, argc, argv);                                                    \
    }

#include "core/system/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QLockFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

SingleInstance::SingleInstance(const QString &dataFolder) : m_dataFolder(dataFolder) {}

SingleInstance::~SingleInstance() {
#ifdef Q_OS_UNIX
    if (m_fd >= 0) ::close(m_fd);
#endif
}

bool SingleInstance::tryAcquire() {
#ifdef Q_OS_UNIX
    if (m_fd >= 0) return true;
    // The folder, opened as a folder: a link to it leads to the same folder, and so to the same lock.
    const int fd = ::open(QFile::encodeName(m_dataFolder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return true; // nothing to lock: better to start than to refuse for ever
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        m_fd = fd;
        return true;
    }
    const bool held = errno == EWOULDBLOCK;
    ::close(fd);
    // A file system without locks cannot tell; the program starts, as it would without a folder to lock.
    return !held;
#else
    if (m_lock) return true;
    auto lock = std::make_unique<QLockFile>(QDir(m_dataFolder).filePath(QStringLiteral("Tsukiban.lock")));
    lock->setStaleLockTime(0);
    if (!lock->tryLock()) return false;
    m_lock = std::move(lock);
    return true;
#endif
}

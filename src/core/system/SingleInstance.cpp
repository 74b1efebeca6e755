#include "core/system/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

#ifdef Q_OS_UNIX
// $XDG_RUNTIME_DIR belongs to the user alone. Without it, the folder in the temporary directory has a name anyone can
// guess and plant a link at: it is made 0700 and used only when it is a real folder of ours, closed to others. Empty
// when there is no such folder.
QString runtimeFolder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir()) return runtime;
    const QString folder = QDir::tempPath() + QStringLiteral("/tsukiban-") + QString::number(::getuid());
    const QByteArray name = QFile::encodeName(folder);
    if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST) return QString();
    struct stat st {};
    if (::lstat(name.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid()) return QString();
    if ((st.st_mode & 077) != 0 && ::chmod(name.constData(), 0700) != 0) return QString();
    return folder;
}

// An exclusive lock on an open descriptor, or -1 when another process holds it (the descriptor is then closed).
int locked(int fd) {
    if (fd < 0 || ::flock(fd, LOCK_EX | LOCK_NB) == 0) return fd;
    ::close(fd);
    return -1;
}
#else
QString runtimeFolder() {
    const QString folder = QDir::tempPath() + QStringLiteral("/tsukiban");
    QDir().mkpath(folder);
    return folder;
}
#endif

} // namespace

SingleInstance::SingleInstance(const QString &dataFolder) : m_dataFolder(dataFolder) {
    const QString canonical = QFileInfo(dataFolder).canonicalFilePath();
    const QByteArray hash =
        QCryptographicHash::hash((canonical.isEmpty() ? dataFolder : canonical).toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    const QString folder = runtimeFolder();
    if (!folder.isEmpty())
        m_lockPath = folder + QStringLiteral("/tsukiban-") + QString::fromLatin1(hash) + QStringLiteral(".lock");
}

SingleInstance::~SingleInstance() {
#ifdef Q_OS_UNIX
    if (m_fd >= 0) ::close(m_fd);
#endif
}

bool SingleInstance::tryAcquire() {
#ifdef Q_OS_UNIX
    if (m_fd >= 0) return true;
    int fd = -1;
    if (!m_lockPath.isEmpty()) {
        fd = ::open(QFile::encodeName(m_lockPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK,
                    0600);
        struct stat st {};
        if (fd >= 0 && (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::getuid())) {
            ::close(fd); // not a lock file of ours: never written to
            fd = -1;
        }
    }
    const bool lockFile = fd >= 0;
    // Without a lock file of our own, the data folder itself is locked.
    if (!lockFile) fd = ::open(QFile::encodeName(m_dataFolder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return true; // nothing to lock: better to start than to refuse forever
    m_fd = locked(fd);
    if (m_fd < 0) return false;
    if (lockFile) {
        const QByteArray pid = QByteArray::number(qint64(::getpid())) + '\n';
        if (::ftruncate(m_fd, 0) == 0) (void)!::write(m_fd, pid.constData(), size_t(pid.size()));
    }
    return true;
#else
    if (m_lock) return true;
    auto lock = std::make_unique<QLockFile>(m_lockPath);
    lock->setStaleLockTime(0);
    if (!lock->tryLock()) return false;
    m_lock = std::move(lock);
    return true;
#endif
}

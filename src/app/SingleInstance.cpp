#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace {

QString runtimeFolder() {
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
#ifdef Q_OS_UNIX
        folder = QDir::tempPath() + QStringLiteral("/tsukiban-") + QString::number(::getuid());
#else
        folder = QDir::tempPath() + QStringLiteral("/tsukiban");
#endif
        QDir().mkpath(folder);
    }
    return folder;
}

} // namespace

SingleInstance::SingleInstance(const QString &programFolder) {
    const QString canonical = QFileInfo(programFolder).canonicalFilePath();
    const QByteArray hash =
        QCryptographicHash::hash((canonical.isEmpty() ? programFolder : canonical).toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    m_lockPath = runtimeFolder() + QStringLiteral("/tsukiban-") + QString::fromLatin1(hash) + QStringLiteral(".lock");
}

SingleInstance::~SingleInstance() {
#ifdef Q_OS_UNIX
    if (m_fd >= 0) ::close(m_fd);
#endif
}

bool SingleInstance::tryAcquire() {
#ifdef Q_OS_UNIX
    if (m_fd >= 0) return true;
    const int fd = ::open(QFile::encodeName(m_lockPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return true; // no runtime folder to lock in: better to start than to refuse forever
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    const QByteArray pid = QByteArray::number(qint64(::getpid())) + '\n';
    if (::ftruncate(fd, 0) == 0) (void)!::write(fd, pid.constData(), size_t(pid.size()));
    m_fd = fd;
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

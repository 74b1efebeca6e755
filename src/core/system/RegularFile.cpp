#include "core/system/RegularFile.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

RegularFileRead ReadRegularFile(const QString &path, qint64 maxBytes) {
    RegularFileRead read;
#ifdef Q_OS_UNIX
    // O_NONBLOCK: a FIFO opens at once instead of waiting for a writer, and is then refused by its type.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        read.status = errno == ENOENT || errno == ENOTDIR ? RegularFileRead::Status::Missing
                      : errno == ELOOP                    ? RegularFileRead::Status::NotRegular
                                                          : RegularFileRead::Status::Unreadable;
        // A link to nothing is still something at the path.
        if (read.status == RegularFileRead::Status::Missing && KindOfPath(path) == PathKind::Other)
            read.status = RegularFileRead::Status::NotRegular;
        return read;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        read.status = RegularFileRead::Status::NotRegular;
        return read;
    }
    read.size = qint64(st.st_size);
    if (maxBytes >= 0 && read.size > maxBytes) {
        ::close(fd);
        read.status = RegularFileRead::Status::TooLarge;
        return read;
    }
    read.bytes.reserve(qsizetype(read.size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            read.bytes.clear();
            read.status = RegularFileRead::Status::Unreadable;
            return read;
        }
        if (n == 0) break;
        read.bytes.append(buffer, qsizetype(n));
        // A file that grows while it is read is still bounded.
        if (maxBytes >= 0 && read.bytes.size() > maxBytes) {
            ::close(fd);
            read.bytes.clear();
            read.status = RegularFileRead::Status::TooLarge;
            return read;
        }
    }
    ::close(fd);
    read.status = RegularFileRead::Status::Ok;
    return read;
#else
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) return read;
    if (info.isSymLink() || !info.isFile()) {
        read.status = RegularFileRead::Status::NotRegular;
        return read;
    }
    read.size = info.size();
    if (maxBytes >= 0 && read.size > maxBytes) {
        read.status = RegularFileRead::Status::TooLarge;
        return read;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        read.status = RegularFileRead::Status::Unreadable;
        return read;
    }
    read.bytes = file.readAll();
    read.status = file.error() == QFileDevice::NoError ? RegularFileRead::Status::Ok : RegularFileRead::Status::Unreadable;
    return read;
#endif
}

PathKind KindOfPath(const QString &path) {
#ifdef Q_OS_UNIX
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return errno == ENOENT || errno == ENOTDIR ? PathKind::Missing : PathKind::Other;
    return S_ISREG(st.st_mode) ? PathKind::Regular : PathKind::Other;
#else
    const QFileInfo info(path);
    if (info.isSymLink()) return PathKind::Other;
    if (!info.exists()) return PathKind::Missing;
    return info.isFile() ? PathKind::Regular : PathKind::Other;
#endif
}

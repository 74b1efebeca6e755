#include "core/system/AtomicFile.h"

#include "core/system/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QSaveFile>
#endif

namespace {

const QString kMarker = QStringLiteral(".tsukiban-save-");

QString temporaryName(const QString &fileName) {
    const quint64 random = QRandomGenerator::system()->generate64() & 0xFFFFFFFFFFFFull;
    return u'.' + fileName + kMarker + QStringLiteral("%1").arg(random, 12, 16, QLatin1Char('0'));
}

} // namespace

bool IsSaveTemporaryName(const QString &fileName) {
    static const QRegularExpression pattern(QStringLiteral("^\\..+\\.tsukiban-save-[0-9a-f]{12}$"));
    return pattern.match(fileName).hasMatch();
}

bool WriteFileAtomically(const QString &path, const QByteArray &bytes) {
    if (KindOfPath(path) == PathKind::Other) return false;
#ifdef Q_OS_UNIX
    const QFileInfo target(path);
    const QByteArray finalName = QFile::encodeName(path);
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 8 && fd < 0; ++attempt) {
        temporary = QFile::encodeName(target.dir().filePath(temporaryName(target.fileName())));
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;
    const auto fail = [&] {
        ::close(fd);
        ::unlink(temporary.constData());
        return false;
    };
    // The new file keeps the permissions of the one it replaces.
    struct stat old {};
    if (::lstat(finalName.constData(), &old) == 0 && S_ISREG(old.st_mode)) (void)::fchmod(fd, old.st_mode & 07777);
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + written, size_t(bytes.size() - written));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return fail();
        written += n;
    }
    if (::fsync(fd) != 0) return fail();
    if (::close(fd) != 0) {
        ::unlink(temporary.constData());
        return false;
    }
    // rename() replaces a link placed at the path in the meantime, never the file it points to.
    if (KindOfPath(path) == PathKind::Other || ::rename(temporary.constData(), finalName.constData()) != 0) {
        ::unlink(temporary.constData());
        return false;
    }
    return true;
#else
    // Unbuffered, and the flush checked: QSaveFile does not notice a write error that happens while its buffer is
    // flushed at commit, and would put a cut file in place of the old one on a full disk.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
    if (file.write(bytes) != bytes.size() || !file.flush() || file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        file.commit(); // removes the temporary file
        return false;
    }
    return file.commit();
#endif
}

#pragma once

#include <QByteArray>
#include <QString>

// Files that come from elsewhere are read only when the path itself names a regular file: a symbolic link is not
// followed, and a FIFO, a device or a folder is never opened (a FIFO would block the reader for ever).
struct RegularFileRead {
    enum class Status {
        Ok,
        Missing,    // nothing at the path
        NotRegular, // a link, FIFO, device, socket or folder
        TooLarge,   // larger than the reader takes; nothing was read
        Unreadable, // no permission, or a read error
    };
    Status status = Status::Missing;
    QByteArray bytes;
    qint64 size = 0; // of the file, also when it was too large to read
    bool ok() const { return status == Status::Ok; }
};

// maxBytes < 0: no limit.
RegularFileRead ReadRegularFile(const QString &path, qint64 maxBytes = -1);

enum class PathKind { Missing, Regular, Other };
// What is at the path itself, a link not followed.
PathKind KindOfPath(const QString &path);

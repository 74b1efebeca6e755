#pragma once

#include <QByteArray>
#include <QString>

// Replaces the file with the bytes in one step: a reader sees the old file or the new one, never a part, and a failed
// write (full disk, no rights) leaves the old file and no temporary. False on failure.
bool WriteFileAtomically(const QString &path, const QByteArray &bytes);

#pragma once

#include <QByteArray>
#include <QString>

// Replaces the file with the bytes in one step: a reader sees the old file or the new one, never a part, and a failed
// write (full disk, no rights) leaves the old file and no temporary. A path that is a symbolic link, or anything else
// but a regular file, is never written through: the write fails. False on failure.
bool WriteFileAtomically(const QString &path, const QByteArray &bytes);

// The temporary a write makes beside its file: "." + file name + ".tsukiban-save-" + 12 hexadecimal digits, a name no
// person gives a file, so that one a killed save left behind can be told from the user's own files.
bool IsSaveTemporaryName(const QString &fileName);

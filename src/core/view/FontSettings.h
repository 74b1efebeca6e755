#pragma once

#include "core/settings/SettingValues.h"

#include <QFont>
#include <QString>

// Stored face names stay as written; the Windows faces are drawn with the Japanese fonts of this system whose metrics
// are closest to them.
void InstallFontSubstitutions();

// The face a stored name is drawn with here ("IPAPGothic" for "MS UI Gothic"), as a font dialog must show it.
QString DrawnFace(const QString &stored);
// The name to store for a face a dialog gave back: the stored name when the dialog kept the face it was opened on, the
// Windows name of a face that stands in for one (so an existing installation can still read the file), else the face.
QString StoredFaceName(const QString &chosen, const QString &stored);
// A font dialog's answer in the terms of the settings: face and size as above; a dialog shows whole sizes, so the
// size it was opened on (11 for 11.25) keeps the stored size; other sizes are brought into the limits.
QFont KeptFont(const QFont &chosen, const QFont &stored);
// A face name another program can find: a name that is only an alias of this system ("Sans Serif") becomes the face
// it is drawn with, under its Windows name where it stands for one; real faces and Windows names stay.
QString RealFaceName(const QString &family);

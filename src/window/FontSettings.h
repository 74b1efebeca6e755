#pragma once

#include <QColor>
#include <QFont>
#include <QString>

// Stored face names stay as written; the Windows faces are drawn with the Japanese fonts of this system whose metrics
// are closest to them.
void InstallFontSubstitutions();

// A font from its settings texts (name, size in points, flags "True"/"False").
QFont FontFromSettings(const QString &name, const QString &size, const QString &bold, const QString &italic,
                       const QString &underline);

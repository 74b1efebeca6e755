#pragma once

#include "core/shell/ProgramShortcuts.h"

class SettingsModel;
struct ProgramPaths;

// This program as a launcher starts it: its executable, and its icon: the file beside it, the icon theme's when
// installed, or else the built-in icon written as a file into the data folder.
ShortcutTarget ThisProgram(const ProgramPaths &paths, const QString &executable,
                           const QString &builtInIcon = QStringLiteral(":/icons/tsukiban.svg"));
// Adds or removes the desktop, autostart and menu launchers as Disp_DeskTop, StartUp and StartMenu say.
void ApplyProgramShortcuts(const SettingsModel &settings, const ShortcutTarget &target);

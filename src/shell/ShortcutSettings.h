#pragma once

#include "shell/ProgramShortcuts.h"

class SettingsModel;
struct ProgramPaths;

// This program as a launcher starts it: its executable, and its icon beside it or else from the icon theme.
ShortcutTarget ThisProgram(const ProgramPaths &paths, const QString &executable);
// Adds or removes the desktop, autostart and menu launchers as Disp_DeskTop, StartUp and StartMenu say.
void ApplyProgramShortcuts(const SettingsModel &settings, const ShortcutTarget &target);

#pragma once

#include <QString>

// What a launcher starts and shows.
struct ShortcutTarget {
    QString executable; // absolute path of the program
    QString icon;       // icon file path or theme name
};

// The folder a launcher goes to for a location name, compared without case: "DESKTOP" (the XDG desktop folder),
// "STARTUP" (autostart), "PROGRAMS" and "STARTMENU" (the applications menu). Empty for any other location.
QString ShortcutFolder(const QString &location);

// Writes "ツキバン.desktop" in the location's folder, making the folder when missing; an existing launcher is left
// as it is. False for an unknown location or when the file cannot be written.
bool AddProgramShortcut(const QString &location, const ShortcutTarget &target);
// Deletes the launcher; true when it is gone (also when there was none). False for an unknown location.
bool RemoveProgramShortcut(const QString &location, const ShortcutTarget &target);

#pragma once

#include <QString>
#include <QStringList>

#include <utility>

// What a launcher starts and shows.
struct ShortcutTarget {
    ShortcutTarget() = default;
    ShortcutTarget(QString executable, QString icon, QString iconSource = {})
        : executable(std::move(executable)), icon(std::move(icon)), iconSource(std::move(iconSource)) {}

    QString executable; // absolute path of the program
    QString icon;       // icon file path or theme name
    QString iconSource; // when set and the icon file is missing, it is written from here before a launcher names it
};

// The folder a launcher goes to for a location name, compared without case: "DESKTOP" (the XDG desktop folder),
// "STARTUP" (autostart), "PROGRAMS" and "STARTMENU" (the applications menu). Empty for any other location.
QString ShortcutFolder(const QString &location);

// The folders whose applications/ the menu lists after the user's own: $XDG_DATA_DIRS, by default /usr/local/share
// and /usr/share.
QStringList SystemDataFolders();
// The installed package's menu entry "tsukiban.desktop" as the menu finds it first (the user's folder, then the
// system's), when it is shown; empty when there is none or the user has hidden it.
QString PackageMenuEntry();

// Writes "ツキバン.desktop" in the location's folder, making the folder when missing. An existing launcher is left as
// it is, unless it is one this program wrote for the same executable, which is brought up to date. In the menu, where
// the package's own entry already shows the calendar, none is written (and one written before is removed), so that
// the menu does not show it twice. False for an unknown location or when the file cannot be written.
bool AddProgramShortcut(const QString &location, const ShortcutTarget &target);
// Deletes the launcher; true when it is gone (also when there was none). False for an unknown location.
bool RemoveProgramShortcut(const QString &location, const ShortcutTarget &target);

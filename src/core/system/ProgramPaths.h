#pragma once

#include <QString>

#include <functional>

bool IsWritableFolder(const QString &folder);

// Where the program finds its files, fixed once at start.
struct ProgramPaths {
    QString programFolder;    // folder of the executable
    QString dataFolder;       // folder of the settings file, the data file and the note folder
    QString settingsFilePath; // "Tsukiban.ini"
    QString dataFilePath;     // "Tsukiban.tdb"
    QString noteFolderPath;   // "Fusen/", ends with the separator
    QString helpFilePath;     // the manual "Tsukiban.html", beside the executable or installed
    QString sampleFolder;     // the sample pictures, ends with the separator
    QString exportFolder;     // where an export is proposed: the program folder, or the user's documents

    // The files live beside the executable (portable use, existing installations copied there); when that folder
    // cannot be written (installed under /usr), in $XDG_DATA_HOME/tsukiban instead, and exports are proposed in the
    // user's documents folder (the home when there is none).
    static ProgramPaths forFolder(const QString &programFolder,
                                  const std::function<bool(const QString &)> &isWritable = IsWritableFolder);
};

#include "core/system/ProgramPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString joined(const QString &folder, const QString &name) {
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

} // namespace

bool IsWritableFolder(const QString &folder) {
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable();
}

ProgramPaths ProgramPaths::forFolder(const QString &programFolder,
                                     const std::function<bool(const QString &)> &isWritable) {
    ProgramPaths paths;
    paths.programFolder = programFolder;
    paths.dataFolder = programFolder;
    paths.exportFolder = programFolder;
    if (!isWritable(programFolder)) {
        paths.dataFolder = joined(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation), "tsukiban");
        QDir().mkpath(paths.dataFolder);
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        paths.exportFolder = QFileInfo(documents).isDir() ? documents : QDir::homePath();
    }
    paths.settingsFilePath = joined(paths.dataFolder, "Tsukiban.ini");
    paths.dataFilePath = joined(paths.dataFolder, "Tsukiban.tdb");
    paths.noteFolderPath = joined(paths.dataFolder, "Fusen/");
    // The manual likewise: beside the executable, else in <prefix>/share/doc/tsukiban.
    paths.helpFilePath = joined(programFolder, "Tsukiban.html");
    const QString installedManual = QDir::cleanPath(joined(programFolder, "../share/doc/tsukiban/Tsukiban.html"));
    if (!QFileInfo(paths.helpFilePath).isFile() && QFileInfo(installedManual).isFile())
        paths.helpFilePath = installedManual;

    // Beside the executable in a build or portable folder; <prefix>/share/tsukiban/Sample when installed.
    paths.sampleFolder = joined(programFolder, "Sample/");
    const QString installed = QDir::cleanPath(joined(programFolder, "../share/tsukiban/Sample")) + u'/';
    if (!QFileInfo(paths.sampleFolder).isDir() && QFileInfo(installed).isDir()) paths.sampleFolder = installed;
    return paths;
}

#include "core/shell/ShortcutSettings.h"

#include "core/settings/SettingsModel.h"
#include "core/system/ProgramPaths.h"

#include <QDir>
#include <QFileInfo>

ShortcutTarget ThisProgram(const ProgramPaths &paths, const QString &executable, const QString &builtInIcon) {
    const QString name = QStringLiteral("tsukiban.svg");
    const QString beside = QDir(paths.programFolder).filePath(name);
    if (QFileInfo(beside).isFile()) return {executable, beside, {}};
    // Installed with its icon in the hicolor theme: the theme's name where the menu looks, else the file itself.
    const QString share = QDir::cleanPath(QDir(paths.programFolder).filePath(QStringLiteral("../share")));
    const QString installed = share + QStringLiteral("/icons/hicolor/scalable/apps/") + name;
    if (QFileInfo(installed).isFile())
        return {executable, SystemDataFolders().contains(share) ? QStringLiteral("tsukiban") : installed, {}};
    // A copy without its icon file: the built-in icon, written into the data folder when a launcher needs it.
    return {executable, QDir(paths.dataFolder).filePath(name), builtInIcon};
}

void ApplyProgramShortcuts(const SettingsModel &s, const ShortcutTarget &target) {
    const std::pair<const QString Settings::*, const char *> launchers[] = {
        {&Settings::Disp_DeskTop, "DESKTOP"}, {&Settings::StartUp, "STARTUP"}, {&Settings::StartMenu, "PROGRAMS"}};
    for (const auto &[field, location] : launchers) {
        const QString where = QString::fromLatin1(location);
        if (s.on(field))
            AddProgramShortcut(where, target);
        else
            RemoveProgramShortcut(where, target);
    }
}

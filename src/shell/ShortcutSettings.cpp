#include "shell/ShortcutSettings.h"

#include "app/ProgramPaths.h"
#include "app/SettingsModel.h"

#include <QDir>
#include <QFileInfo>

ShortcutTarget ThisProgram(const ProgramPaths &paths, const QString &executable) {
    const QString beside = QDir(paths.programFolder).filePath(QStringLiteral("tsukiban.svg"));
    return {executable, QFileInfo(beside).isFile() ? beside : QStringLiteral("tsukiban")};
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

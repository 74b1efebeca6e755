#include "core/settings/SettingsStore.h"

#include "core/settings/SettingValues.h"
#include "core/settings/Settings.h"
#include "core/system/Cp932.h"
#include "core/system/ProfileFile.h"
#include "core/system/ProgramPaths.h"
#include "core/system/Twips.h"

#include <QDir>

#include <algorithm>
#include <cstring>

namespace {

// The sample folder as Back_PicturePath. A program folder whose path code page 932 cannot hold ("josé") is given
// relative to the program folder, where the picture band looks for it; "?" in its place would lose the pictures.
QString DefaultPictureFolder(const ProgramPaths &paths) {
    if (Cp932::canEncode(paths.sampleFolder)) return paths.sampleFolder;
    QString relative = QDir(paths.programFolder).relativeFilePath(paths.sampleFolder);
    return relative.endsWith(u'/') ? relative : relative + u'/';
}

} // namespace

QString DefaultSettingValue(const ProgramPaths &paths, const char *key) {
    if (std::strcmp(key, "VERSION") == 0) return QString::fromLatin1(SettingsVersion);
    if (std::strcmp(key, "Frame_X") == 0) return SingleText(PrimaryScreenTwips().width() / 2.0);
    if (std::strcmp(key, "Back_PicturePath") == 0) return DefaultPictureFolder(paths);
    for (const SettingKey &k : SettingKeys())
        if (std::strcmp(k.key, key) == 0) return QString::fromUtf8(k.defaultValue);
    return QString();
}

bool WriteDefaultSettings(const SettingsFile &to) {
    std::vector<IniEdit> edits{{"SYSTEM", QStringLiteral("VERSION"), DefaultSettingValue(to.paths, "VERSION")}};
    for (const SettingKey &k : SettingKeys())
        edits.push_back({QString::fromLatin1(k.section), QString::fromLatin1(k.key), DefaultSettingValue(to.paths, k.key)});
    return to.file.write(edits);
}

std::vector<IniEdit> MissingSettings(const SettingsFile &in, const std::vector<IniEdit> &except) {
    std::vector<IniEdit> edits;
    const IniFile &file = in.file.file();
    for (const SettingKey &k : SettingKeys()) {
        const QString section = QString::fromLatin1(k.section), key = QString::fromLatin1(k.key);
        const bool written = std::any_of(except.begin(), except.end(),
                                         [&](const IniEdit &e) { return e.section == section && e.key == key; });
        if (!written && !file.value(section, key)) edits.push_back({section, key, DefaultSettingValue(in.paths, k.key)});
    }
    return edits;
}

bool FillMissingSettings(const SettingsFile &to) {
    const std::vector<IniEdit> edits = MissingSettings(to);
    return edits.empty() || to.file.write(edits);
}

void LoadSettings(const SettingsFile &from, Settings &into) {
    const IniFile &file = from.file.file();
    for (const SettingKey &k : SettingKeys()) {
        const std::optional<QString> value = file.value(QString::fromLatin1(k.section), QString::fromLatin1(k.key));
        into.*k.field = value ? *value : DefaultSettingValue(from.paths, k.key);
    }
    for (const SettingKey &k : SyncSettingKeys())
        into.*k.field = file.value(QString::fromLatin1(k.section), QString::fromLatin1(k.key))
                            .value_or(QString::fromUtf8(k.defaultValue));
}

bool SaveSettings(const SettingsFile &to, const Settings &from, const QString &group) {
    const auto inGroup = [&group](const char *section) {
        if (group == QLatin1String("ALL")) return true;
        if (group == QLatin1String("Picture")) return std::strcmp(section, "BACK") == 0;
        if (group == QLatin1String("Move")) return std::strcmp(section, "FRAME") == 0;
        return false;
    };
    std::vector<IniEdit> edits;
    for (const SettingKey &k : SettingKeys())
        if (inGroup(k.section))
            edits.push_back({QString::fromLatin1(k.section), QString::fromLatin1(k.key), from.*k.field});
    // [SYNC] only where the value differs from what the file gives now: a file without it stays byte for byte.
    const IniFile &file = to.file.file();
    for (const SettingKey &k : SyncSettingKeys()) {
        const QString section = QString::fromLatin1(k.section), key = QString::fromLatin1(k.key);
        if (group == QLatin1String("ALL") &&
            from.*k.field != file.value(section, key).value_or(QString::fromUtf8(k.defaultValue)))
            edits.push_back({section, key, from.*k.field});
    }
    if (edits.empty()) return true;
    return to.file.write(edits);
}

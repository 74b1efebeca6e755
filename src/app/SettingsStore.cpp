#include "app/SettingsStore.h"

#include "app/AppContext.h"
#include "app/SettingValues.h"
#include "app/Twips.h"

#include <cstring>

QString DefaultSettingValue(const AppContext &ctx, const char *key) {
    if (std::strcmp(key, "VERSION") == 0) return QString::fromLatin1(SettingsVersion);
    if (std::strcmp(key, "Frame_X") == 0) return SingleText(PrimaryScreenTwips().width() / 2.0);
    if (std::strcmp(key, "Back_PicturePath") == 0) return ctx.paths().sampleFolder;
    for (const SettingKey &k : SettingKeys())
        if (std::strcmp(k.key, key) == 0) return QString::fromUtf8(k.defaultValue);
    return QString();
}

bool WriteDefaultSettings(AppContext &ctx) {
    std::vector<IniEdit> edits{{"SYSTEM", QStringLiteral("VERSION"), DefaultSettingValue(ctx, "VERSION")}};
    for (const SettingKey &k : SettingKeys())
        edits.push_back({QString::fromLatin1(k.section), QString::fromLatin1(k.key), DefaultSettingValue(ctx, k.key)});
    return ctx.WriteSettings(edits);
}

void LoadSettings(AppContext &ctx) {
    for (const SettingKey &k : SettingKeys())
        ctx.settings.*k.field = ctx.ReadSetting(QString::fromLatin1(k.section), QString::fromLatin1(k.key));
}

bool SaveSettings(AppContext &ctx, const QString &group) {
    const auto inGroup = [&group](const char *section) {
        if (group == QLatin1String("ALL")) return true;
        if (group == QLatin1String("Picture")) return std::strcmp(section, "BACK") == 0;
        if (group == QLatin1String("Move")) return std::strcmp(section, "FRAME") == 0;
        return false;
    };
    std::vector<IniEdit> edits;
    for (const SettingKey &k : SettingKeys())
        if (inGroup(k.section))
            edits.push_back({QString::fromLatin1(k.section), QString::fromLatin1(k.key), ctx.settings.*k.field});
    if (edits.empty()) return true;
    return ctx.WriteSettings(edits);
}

#include "core/program/Migration.h"

#include "core/program/AppContext.h"
#include "core/settings/SettingValues.h"
#include "core/settings/Settings.h"
#include "core/settings/SettingsStore.h"

bool MigrateSettings(AppContext &ctx) {
    const QString version = ctx.ReadSetting("SYSTEM", "VERSION");
    const QString current = QString::fromLatin1(SettingsVersion);
    std::vector<IniEdit> edits;
    const auto set = [&edits](const char *section, const char *key, const QString &value) {
        edits.push_back({QString::fromLatin1(section), QString::fromLatin1(key), value});
    };
    if (version == QLatin1String("1.0.0")) {
        set("SYSTEM", "VERSION", current);
        // Compared as text, as the old release stored it: "5" > "3" but "10" < "3".
        if (ctx.ReadSetting("BACK", "Back_PicturePos") > QLatin1String("3")) set("BACK", "Back_PicturePos", "0");
        set("BACK", "Back_CellColor", ColorText(0xFFFFFF));
        set("NOTE", "Note_Frame_Color", ColorText(0xFFFFFF));
        set("OPTION", "Disp_Schedule_Button", "1");
        set("OPTION", "Disp_Pic_Button", "1");
        set("OPTION", "Disp_Mode_ToolBar", "2");
    } else if (version == QLatin1String("2.0.0")) {
        set("SYSTEM", "VERSION", current);
        set("OPTION", "Disp_Schedule_Button", "1");
        set("OPTION", "Disp_Mode_ToolBar", "2");
    } else if (version == QLatin1String("2.1.0")) {
        set("SYSTEM", "VERSION", current);
        set("OPTION", "Disp_Fusen_Button", "1");
    } else if (version == QLatin1String("2.2.0") || version == QLatin1String("2.3.0") ||
               version == QLatin1String("2.4.0")) {
        set("SYSTEM", "VERSION", current);
    }

    // Keys an older file lacks would load empty (a font size of 0, a black today marker).
    const std::vector<IniEdit> missing = MissingSettings(ctx.settingsStore(), edits);
    edits.insert(edits.end(), missing.begin(), missing.end());
    set("SYSTEM", "VERSION", current);
    return ctx.WriteSettings(edits);
}

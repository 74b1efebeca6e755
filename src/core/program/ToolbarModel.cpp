#include "core/program/ToolbarModel.h"

#include "core/settings/SettingsModel.h"

const std::array<ToolbarButton, ToolbarButtonCount> &ToolbarButtons() {
    // Numbered as VisibleToolbarButtons counts them.
    static const std::array<ToolbarButton, ToolbarButtonCount> buttons{{
        {Command::ToolbarMode},     // 1
        {std::nullopt, "SEP1"},     // 2
        {Command::MemoList},        // 3
        {Command::Import},          // 4
        {Command::Notes},           // 5
        {std::nullopt, "SEP2"},     // 6
        {Command::YearBack},        // 7
        {Command::MonthBack},       // 8
        {Command::ThisMonth},       // 9
        {Command::MonthOn},         // 10
        {Command::YearOn},          // 11
        {std::nullopt, "SEP3"},     // 12
        {Command::Options},         // 13
        {Command::Quit},            // 14
        {std::nullopt, "SEP4"},     // 15
        {Command::FirstPicture},    // 16
        {Command::PreviousPicture}, // 17
        {Command::PictureFolder},   // 18
        {Command::NextPicture},     // 19
        {Command::LastPicture},     // 20
    }};
    return buttons;
}

QString ToolbarModeOfEntry(const QString &entry) {
    if (entry == QLatin1String("ALL")) return QStringLiteral("0");
    if (entry == QLatin1String("MIN")) return QStringLiteral("1");
    if (entry == QLatin1String("DISABLE")) return QStringLiteral("2");
    return QString();
}

QString ToolbarEntryOfMode(const QString &mode) {
    if (mode == QLatin1String("0")) return QStringLiteral("ALL");
    if (mode == QLatin1String("1")) return QStringLiteral("MIN");
    if (mode == QLatin1String("2")) return QStringLiteral("DISABLE");
    return QString();
}

QString NextToolbarEntry(const QString &mode) {
    if (mode == QLatin1String("0")) return QStringLiteral("MIN");
    if (mode == QLatin1String("1")) return QStringLiteral("DISABLE");
    if (mode == QLatin1String("2")) return QStringLiteral("ALL");
    return QString();
}

std::array<bool, ToolbarButtonCount> VisibleToolbarButtons(const QString &entry, const SettingsModel &s) {
    std::array<bool, ToolbarButtonCount> shown;
    shown.fill(true);
    const auto on = [&s](const QString Settings::*field) { return s.on(field); };
    const auto hide = [&shown](int from, int to) { // 1-based button numbers, inclusive
        for (int b = from; b <= to; ++b) shown[size_t(b - 1)] = false;
    };
    if (entry == QLatin1String("DISABLE")) {
        hide(2, 20);
    } else if (entry == QLatin1String("MIN")) {
        if (!on(&Settings::Disp_NoteList_Button)) hide(3, 3);
        if (!on(&Settings::Disp_Schedule_Button)) hide(4, 4);
        if (!on(&Settings::Disp_Fusen_Button)) hide(5, 5);
        const bool anyOf3to5 = shown[2] || shown[3] || shown[4];
        if (!(anyOf3to5 && on(&Settings::Disp_Month_Button))) hide(6, 6);
        if (!on(&Settings::Disp_Month_Button))
            hide(7, 12);
        else if (!on(&Settings::Disp_Option_Button) && !on(&Settings::Disp_Quit_Button) &&
                 !on(&Settings::Disp_Pic_Button))
            hide(12, 12);
        if (!on(&Settings::Disp_Option_Button)) hide(13, 13);
        if (!on(&Settings::Disp_Quit_Button)) hide(14, 14);
        const bool anyOf13to14 = shown[12] || shown[13];
        if (!(anyOf13to14 && on(&Settings::Disp_Pic_Button))) hide(15, 15);
        if (!(on(&Settings::Disp_Pic_Button) && s.pictureMode() == PictureMode::Folder)) hide(16, 20);
    }
    return shown;
}

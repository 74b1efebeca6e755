#include "core/settings/SettingsModel.h"

#include "core/settings/SettingValues.h"
#include "core/settings/SettingsStore.h"

namespace {

const SettingKey &keyOf(const QString Settings::*field) {
    for (const SettingKey &k : SettingKeys())
        if (k.field == field) return k;
    for (const SettingKey &k : SyncSettingKeys())
        if (k.field == field) return k;
    Q_UNREACHABLE();
}

QString groupText(SettingsGroup group) {
    switch (group) {
    case SettingsGroup::Picture:
        return QStringLiteral("Picture");
    case SettingsGroup::Move:
        return QStringLiteral("Move");
    case SettingsGroup::All:
        break;
    }
    return QStringLiteral("ALL");
}

} // namespace

FontKeys FontKeysOf(TextClass text) {
    switch (text) {
    case TextClass::Title:
        return {&Settings::Title_Font_Name, &Settings::Title_Font_Size,      &Settings::Title_Font_Italic,
                &Settings::Title_Font_Bold, &Settings::Title_Font_UnderLine, &Settings::Title_Font_Color};
    case TextClass::Time:
        return {&Settings::Time_Font_Name, &Settings::Time_Font_Size,      &Settings::Time_Font_Italic,
                &Settings::Time_Font_Bold, &Settings::Time_Font_UnderLine, &Settings::Time_Font_Color};
    case TextClass::Weekday:
        return {&Settings::Weekday_Font_Name, &Settings::Weekday_Font_Size,      &Settings::Weekday_Font_Italic,
                &Settings::Weekday_Font_Bold, &Settings::Weekday_Font_UnderLine, &Settings::Weekday_Font_Color};
    case TextClass::Offday:
        return {&Settings::Offday_Font_Name, &Settings::Offday_Font_Size,      &Settings::Offday_Font_Italic,
                &Settings::Offday_Font_Bold, &Settings::Offday_Font_UnderLine, &Settings::Offday_Font_Color};
    case TextClass::Holiday:
        return {&Settings::Holiday_Font_Name, &Settings::Holiday_Font_Size,      &Settings::Holiday_Font_Italic,
                &Settings::Holiday_Font_Bold, &Settings::Holiday_Font_UnderLine, &Settings::Holiday_Font_Color};
    case TextClass::Note:
        break;
    }
    return {&Settings::Note_Font_Name, &Settings::Note_Font_Size,      &Settings::Note_Font_Italic,
            &Settings::Note_Font_Bold, &Settings::Note_Font_UnderLine, &Settings::Note_Font_Color};
}

SettingsModel::SettingsModel(SettingsFile file) : m_file(file) {}

void SettingsModel::load() {
    LoadSettings(m_file, *this);
}

bool SettingsModel::change(SettingsGroup group, const std::function<void(Settings &)> &edit) {
    const Settings before = *this;
    edit(*this);
    if (!SaveSettings(m_file, *this, groupText(group))) {
        static_cast<Settings &>(*this) = before;
        return false;
    }
    emit changed(group);
    return true;
}

bool SettingsModel::on(const QString Settings::*field) const {
    const QString &text = this->*field;
    switch (keyOf(field).format) {
    case SettingFormat::SwitchNotZero:
        return text != QLatin1String("0");
    case SettingFormat::FontFlag:
        return FontFlag(text);
    default:
        return text == QLatin1String("1");
    }
}

QColor SettingsModel::color(const QString Settings::*field) const {
    return ColorFromText(this->*field);
}

QFont SettingsModel::font(TextClass text) const {
    const FontKeys k = FontKeysOf(text);
    QFont font(this->*k.name);
    if ((this->*k.name).isEmpty()) font.setFamily(QStringLiteral("MS UI Gothic"));
    font.setPointSizeF(FontPoints(this->*k.size));
    // Bold marks a day with a memo, so the day classes' own bold key is not used.
    const bool boldUsed = text == TextClass::Title || text == TextClass::Time || text == TextClass::Note;
    font.setBold(boldUsed && FontFlag(this->*k.bold));
    font.setItalic(FontFlag(this->*k.italic));
    font.setUnderline(FontFlag(this->*k.underline));
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QColor SettingsModel::textColor(TextClass text) const {
    return ColorFromText(this->*FontKeysOf(text).color);
}

bool SettingsModel::japaneseWeekdays() const {
    return Day_Format == QString::fromUtf8("日本語");
}

int SettingsModel::startDay() const {
    return StartDayValue(StartDay);
}

std::optional<ToolbarMode> SettingsModel::toolbarMode() const {
    if (Disp_Mode_ToolBar == QLatin1String("0")) return ToolbarMode::All;
    if (Disp_Mode_ToolBar == QLatin1String("1")) return ToolbarMode::Custom;
    if (Disp_Mode_ToolBar == QLatin1String("2")) return ToolbarMode::Hidden;
    return std::nullopt;
}

PictureMode SettingsModel::pictureMode() const {
    if (Back_PictureDisp == QLatin1String("1")) return PictureMode::File;
    if (Back_PictureDisp == QLatin1String("2")) return PictureMode::Folder;
    return PictureMode::None;
}

QPoint SettingsModel::position(const QRect &screens) const {
    return StoredPosition(Frame_X, Frame_Y, screens);
}

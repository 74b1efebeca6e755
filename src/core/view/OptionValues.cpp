#include "core/view/OptionValues.h"

#include "core/calendar/DayClass.h"
#include "core/settings/SettingValues.h"
#include "core/view/BackgroundPicture.h"

#include <QDir>

namespace {

using Field = QString Settings::*;

const std::array<Field, 7> kButtonKeys{&Settings::Disp_Month_Button,    &Settings::Disp_Option_Button,
                                       &Settings::Disp_NoteList_Button, &Settings::Disp_Schedule_Button,
                                       &Settings::Disp_Fusen_Button,    &Settings::Disp_Quit_Button,
                                       &Settings::Disp_Pic_Button};

struct ColorKey {
    QColor OptionValues::*value;
    Field field;
};
const ColorKey kColors[] = {
    {&OptionValues::today, &Settings::Today_Color},          {&OptionValues::back, &Settings::Back_Color},
    {&OptionValues::cell, &Settings::Back_CellColor},        {&OptionValues::line, &Settings::Back_Line_Color},
    {&OptionValues::frame, &Settings::Frame_Color},          {&OptionValues::noteBack, &Settings::Note_Back_Color},
    {&OptionValues::noteFrame, &Settings::Note_Frame_Color},
};

struct SwitchKey {
    bool OptionValues::*value;
    Field field;
};
const SwitchKey kSwitches[] = {
    {&OptionValues::rokuyo, &Settings::Rokuyo},
    {&OptionValues::clock, &Settings::Disp_Time},
    {&OptionValues::seeThrough, &Settings::Back_Style},
    {&OptionValues::lines, &Settings::Back_Line},
    {&OptionValues::frameShown, &Settings::Frame_Style},
    {&OptionValues::frameRounded, &Settings::Frame_Conner},
    {&OptionValues::noteRounded, &Settings::Note_Frame_Conner},
    {&OptionValues::fixed, &Settings::Position},
    {&OptionValues::tray, &Settings::Disp_TaskTray},
    {&OptionValues::desktop, &Settings::Disp_DeskTop},
    {&OptionValues::startup, &Settings::StartUp},
    {&OptionValues::startMenu, &Settings::StartMenu},
    {&OptionValues::remindToday, &Settings::Remind_Today},
    {&OptionValues::remindTime, &Settings::Remind_Time},
};

int indexValue(const QString &text, int count) {
    return int(SettingNumber(text, 0, count - 1, 0));
}

} // namespace

OptionValues OptionValues::of(const SettingsModel &s, const QString &programFolder) {
    OptionValues v;
    for (int i = 0; i < 6; ++i) {
        const FontKeys k = FontKeysOf(TextClass(i));
        QFont font = s.font(TextClass(i));
        font.setBold(FontFlag(s.*k.bold)); // as stored, also where the calendar leaves it off
        v.fonts[size_t(i)] = {font, s.color(k.color)};
    }
    for (const ColorKey &c : kColors) v.*c.value = s.color(c.field);
    for (const SwitchKey &k : kSwitches) v.*k.value = s.on(k.field);
    v.titleFormat = s.Title_Format;
    v.dayFormat = s.Day_Format;
    v.timeFormat = s.Time_Format;
    v.timeZone = s.Time_Zone;
    v.startDay = s.startDay();
    for (int d = 0; d < 7; ++d) v.offDays[size_t(d)] = IsWeeklyOffDay(s.OffDay, d + 1);
    v.pictureMode = int(s.pictureMode());
    v.picture = s.Back_Picture;
    v.pictureFolder = QDir::toNativeSeparators(PictureFolderPath(s.Back_PicturePath, programFolder));
    v.picturePos = indexValue(s.Back_PicturePos, 4);
    v.toolbarMode = int(s.toolbarMode().value_or(ToolbarMode::All));
    for (size_t b = 0; b < kButtonKeys.size(); ++b) v.buttons[b] = s.on(kButtonKeys[b]);
    v.remindMinutes = RemindMinutes(s.Remind_Minutes);
    return v;
}

void OptionValues::storeInto(Settings &r, const SettingsModel &now, const QString &programFolder) const {
    const OptionValues was = of(now, programFolder);
    const auto text = [&r](Field field, const QString &value) { r.*field = value; };
    for (int i = 0; i < 6; ++i) {
        const FontChoice &f = fonts[size_t(i)], &old = was.fonts[size_t(i)];
        const FontKeys k = FontKeysOf(TextClass(i));
        if (f.font.family() != old.font.family()) text(k.name, f.font.family());
        if (f.font.pointSizeF() != old.font.pointSizeF()) text(k.size, SingleText(f.font.pointSizeF()));
        if (f.font.bold() != old.font.bold()) text(k.bold, FontFlagText(f.font.bold()));
        if (f.font.italic() != old.font.italic()) text(k.italic, FontFlagText(f.font.italic()));
        if (f.font.underline() != old.font.underline()) text(k.underline, FontFlagText(f.font.underline()));
        if (f.color != old.color) text(k.color, ColorText(BgrFromColor(f.color)));
    }
    for (const ColorKey &c : kColors)
        if (this->*c.value != was.*c.value) text(c.field, ColorText(BgrFromColor(this->*c.value)));
    for (const SwitchKey &k : kSwitches)
        if (this->*k.value != was.*k.value) text(k.field, this->*k.value ? QStringLiteral("1") : QStringLiteral("0"));
    // Kept as the combo's text, also a value of no list.
    r.Title_Format = titleFormat;
    r.Day_Format = dayFormat;
    r.Time_Format = timeFormat;
    r.Time_Zone = timeZone;
    if (startDay != was.startDay) r.StartDay = QString::number(startDay);
    if (offDays != was.offDays) r.OffDay = OffDayText(offDays);
    if (pictureMode != was.pictureMode) r.Back_PictureDisp = QString::number(pictureMode);
    r.Back_Picture = picture;
    if (pictureFolder != was.pictureFolder) {
        const QString folder = QDir::fromNativeSeparators(pictureFolder);
        r.Back_PicturePath = folder.isEmpty() ? folder : PictureFolderSetting(folder);
    }
    if (picturePos != was.picturePos) r.Back_PicturePos = QString::number(picturePos);
    if (toolbarMode != was.toolbarMode) r.Disp_Mode_ToolBar = QString::number(toolbarMode);
    for (size_t b = 0; b < kButtonKeys.size(); ++b)
        if (buttons[b] != was.buttons[b]) text(kButtonKeys[b], buttons[b] ? QStringLiteral("1") : QStringLiteral("0"));
    if (remindMinutes != was.remindMinutes) r.Remind_Minutes = QString::number(remindMinutes);
}

QString OffDayText(const std::array<bool, 7> &checked) {
    QString text;
    for (int d = 0; d < 7; ++d)
        if (checked[size_t(d)]) text += QString::number(d + 1) + u',';
    return text;
}

QString WeekdayPreview(const QString &dayFormat) {
    return dayFormat == QString::fromUtf8("日本語") ? QString::fromUtf8("日,月,火,水,木,金,土")
                                                    : QStringLiteral("Sun,Mon,Tue,Wed,Thu,Fri,Sat");
}

DayToggle ToggleListedDay(QStringList &own, const QStringList &other, const QDate &date, bool shownBold, bool offDays) {
    const QString key = date.toString(QStringLiteral("yyyy/MM/dd"));
    if (other.contains(key))
        return {QString::fromUtf8(offDays ? "平日と同じ日付（" : "休日と同じ日付（") + key +
                    QString::fromUtf8("）は設定できません。"),
                false};
    const qsizetype found = own.lastIndexOf(key);
    if (shownBold && found >= 0) {
        own.removeAt(found);
        return {QString(), true};
    }
    if (!shownBold && found < 0) {
        own.append(key);
        return {QString(), true};
    }
    return {QString(), false};
}

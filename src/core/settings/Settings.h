#pragma once

#include <QString>

#include <array>

// The settings record: one text per key of the sections FONT, BACK, FRAME, NOTE and OPTION, held as stored (each user
// converts the text when applying it), so a value loaded and saved again is written back unchanged.
struct Settings {
    QString Title_Font_Name;
    QString Title_Font_Size;
    QString Title_Font_Italic;
    QString Title_Font_Bold;
    QString Title_Font_Color;
    QString Title_Font_UnderLine;
    QString Title_Format;
    QString Day_Format;
    QString StartDay;
    QString OffDay;
    QString Rokuyo;
    QString Weekday_Font_Name;
    QString Weekday_Font_Size;
    QString Weekday_Font_Italic;
    QString Weekday_Font_Bold;
    QString Weekday_Font_Color;
    QString Weekday_Font_UnderLine;
    QString Offday_Font_Name;
    QString Offday_Font_Size;
    QString Offday_Font_Italic;
    QString Offday_Font_Bold;
    QString Offday_Font_Color;
    QString Offday_Font_UnderLine;
    QString Holiday_Font_Name;
    QString Holiday_Font_Size;
    QString Holiday_Font_Italic;
    QString Holiday_Font_Bold;
    QString Holiday_Font_Color;
    QString Holiday_Font_UnderLine;
    QString Time_Font_Name;
    QString Time_Font_Size;
    QString Time_Font_Italic;
    QString Time_Font_Bold;
    QString Time_Font_Color;
    QString Time_Font_UnderLine;
    QString Time_Format;
    QString Time_Zone;
    QString Today_Color;
    QString Back_Color;
    QString Back_CellColor;
    QString Back_Style;
    QString Back_PictureDisp;
    QString Back_Picture;
    QString Back_PicturePath;
    QString Back_PictureShowName;
    QString Back_PicturePos;
    QString Back_Line;
    QString Back_Line_Color;
    QString Frame_Conner;
    QString Frame_Style;
    QString Frame_Color;
    QString Frame_X;
    QString Frame_Y;
    QString Note_Font_Name;
    QString Note_Font_Size;
    QString Note_Font_Italic;
    QString Note_Font_Bold;
    QString Note_Font_Color;
    QString Note_Font_UnderLine;
    QString Note_Back_Color;
    QString Note_Frame_Color;
    QString Note_Frame_Conner;
    QString Disp_Month_Button;
    QString Disp_Option_Button;
    QString Disp_Schedule_Button;
    QString Disp_Fusen_Button;
    QString Disp_NoteList_Button;
    QString Disp_Quit_Button;
    QString Disp_Pic_Button;
    QString Disp_Time;
    QString Position;
    QString Disp_Mode_ToolBar;
    QString Disp_TaskTray;
    QString Disp_DeskTop;
    QString StartUp;
    QString StartMenu;
    QString Remind_Today;
    QString Remind_Time;
    QString Remind_Minutes;
    // [SYNC]: the calendar sync.
    QString Sync_Enabled;
    QString Sync_Url;
    QString Sync_User;
    QString Sync_Interval;
    QString Sync_PlainHttp; // the host[:port] the user allowed plain http to
};

// Switch: on means exactly "1"; SwitchNotZero: anything but "0" is on.
enum class SettingFormat { Text, Name, FontSize, FontFlag, Colour, Switch, SwitchNotZero, Index, Pattern, Number };

struct SettingKey {
    const char *section;
    const char *key;
    QString Settings::*field;
    SettingFormat format;
    const char *defaultValue; // nullptr where the default depends on the machine (Frame_X, Back_PicturePath)
};

// Every key of the record in the order the defaults are written.
const std::array<SettingKey, 76> &SettingKeys();
// Keys newer than the files of existing installations ([REMIND], [SYNC]): read at their defaults and written only
// once they differ from what the file says, so that the file of someone who never sets them stays as it was.
const std::array<SettingKey, 8> &AddedSettingKeys();

inline constexpr const char *SettingsVersion = "2.5.0";

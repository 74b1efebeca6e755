#pragma once

#include "core/settings/SettingsModel.h"

#include <QColor>
#include <QDate>
#include <QFont>
#include <QString>
#include <QStringList>

#include <array>

// A font sample of the options dialog: the face, size and flags, and the text colour.
struct FontChoice {
    QFont font;
    QColor color;
    bool operator==(const FontChoice &) const = default;
};

// What the options dialog edits, as typed values. Read from the settings and stored back into the record, where a key
// whose value did not change keeps its text as the file holds it.
struct OptionValues {
    std::array<FontChoice, 6> fonts; // by TextClass: title, time, weekday, off day, holiday, note
    QColor today, back, cell, line, frame, noteBack, noteFrame;
    QString titleFormat, dayFormat, timeFormat, timeZone;
    int startDay = 1;              // 1 Sunday ... 7 Saturday
    std::array<bool, 7> offDays{}; // Sunday first
    bool rokuyo = false, clock = false, seeThrough = false, lines = false, frameShown = false, frameRounded = false,
         noteRounded = false;
    int pictureMode = 0; // 0 none, 1 a file, 2 a folder
    QString picture;
    QString pictureFolder; // as the user sees it: a folder of the file system
    int picturePos = 0;
    int toolbarMode = 0;
    // Month, Option, NoteList, Schedule, Fusen, Quit, Pic.
    std::array<bool, 7> buttons{};
    bool fixed = false, tray = false, desktop = false, startup = false, startMenu = false;
    bool remindToday = false, remindTime = false;
    int remindMinutes = 10; // before the time; 0 at the time

    bool operator==(const OptionValues &) const = default;

    static OptionValues of(const SettingsModel &settings, const QString &programFolder);
    // Writes every value into the record; a value equal to what the record already means is left as its text.
    void storeInto(Settings &record, const SettingsModel &now, const QString &programFolder) const;
};

// The weekly off days as the dialog writes them: the number of each checked weekday followed by a comma ("2,7,").
QString OffDayText(const std::array<bool, 7> &checked);
// The weekday names the 曜日 preview shows for a Day_Format.
QString WeekdayPreview(const QString &dayFormat);

// What a double click on a date of a month picker does to its list. The date is refused when it stands in the other
// list; otherwise a date shown in bold leaves the list and one not shown in bold joins it.
struct DayToggle {
    QString refusal; // the message, empty when accepted
    bool changed = false;
};
DayToggle ToggleListedDay(QStringList &own, const QStringList &other, const QDate &date, bool shownBold, bool offDays);

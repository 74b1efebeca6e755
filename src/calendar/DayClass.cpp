#include "calendar/DayClass.h"

#include "app/AppContext.h"
#include "app/SettingValues.h"
#include "calendar/Holidays.h"
#include "schedule/MemoStore.h"

bool IsWeeklyOffDay(const QString &offDay, int weekday) {
    return offDay.contains(QChar(u'0' + weekday));
}

int FirstDayColumn(const QDate &month, int startDay) {
    const int s = (startDay >= 1 && startDay <= 7) ? startDay : 1;
    const int w = WeekdayNumber(QDate(month.year(), month.month(), 1));
    return s > w ? 7 - s + w + 1 : w - s + 1;
}

QDate GridCellDate(int cell, const QDate &month, int startDay) {
    const QDate first(month.year(), month.month(), 1);
    const int column = FirstDayColumn(month, startDay);
    if (cell + 1 < column) return QDate();
    const QDate date = first.addDays(cell - column + 1);
    return date.month() == first.month() && date.year() == first.year() ? date : QDate();
}

GridDay ClassifyGridDay(const AppContext &ctx, int cell, const QDate &month) {
    GridDay day;
    day.date = GridCellDate(cell, month, StartDayValue(ctx.settings.StartDay));
    if (!day.date.isValid()) return day;
    day.key = DayKey(day.date);
    const bool holiday = !HolidayName(day.date).isEmpty();
    const bool memo = !ctx.ReadData(QStringLiteral("PROGRAM"), day.key).isEmpty();
    const bool off = !ctx.ReadData(QStringLiteral("OFFDAY"), day.key).isEmpty();
    const bool work = !ctx.ReadData(QStringLiteral("WEEKDAY"), day.key).isEmpty();
    if (holiday)
        day.dayClass = work ? DayClass::Working : DayClass::Holiday;
    else if (!off && !work)
        day.dayClass = IsWeeklyOffDay(ctx.settings.OffDay, WeekdayNumber(day.date)) ? DayClass::Off : DayClass::Working;
    else
        day.dayClass = work ? DayClass::Working : DayClass::Off;
    if (memo) day.dayClass += DayClass::Memo;
    return day;
}

QStringList ReadDayList(const AppContext &ctx, const QString &section) {
    QStringList keys;
    for (const QString &entry : ctx.ReadDataSection(section)) keys << entry.section(u'=', 0, 0);
    return keys;
}

bool WriteDayLists(AppContext &ctx, const QStringList &offDays, const QStringList &workingDays) {
    std::vector<IniEdit> edits{{QStringLiteral("OFFDAY"), std::nullopt, std::nullopt}};
    for (const QString &key : offDays) edits.push_back({QStringLiteral("OFFDAY"), key, QStringLiteral("1")});
    edits.push_back({QStringLiteral("WEEKDAY"), std::nullopt, std::nullopt});
    for (const QString &key : workingDays) edits.push_back({QStringLiteral("WEEKDAY"), key, QStringLiteral("2")});
    return ctx.WriteData(edits);
}

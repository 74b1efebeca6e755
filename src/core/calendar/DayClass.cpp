#include "core/calendar/DayClass.h"

#include "core/calendar/Holidays.h"

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

int ClassifyDay(const QDate &date, const DayMarks &marks, const QString &offDay) {
    int dayClass;
    if (!HolidayName(date).isEmpty())
        dayClass = marks.extraWorking ? DayClass::Working : DayClass::Holiday;
    else if (!marks.extraOff && !marks.extraWorking)
        dayClass = IsWeeklyOffDay(offDay, WeekdayNumber(date)) ? DayClass::Off : DayClass::Working;
    else
        dayClass = marks.extraWorking ? DayClass::Working : DayClass::Off;
    return marks.memo ? dayClass + DayClass::Memo : dayClass;
}

GridDay ClassifyGridDay(int cell, const QDate &month, int startDay, const QString &offDay,
                        const std::function<DayMarks(const QDate &)> &marksOf) {
    GridDay day;
    day.date = GridCellDate(cell, month, startDay);
    if (!day.date.isValid()) return day;
    day.dayClass = ClassifyDay(day.date, marksOf(day.date), offDay);
    return day;
}

#pragma once

#include <QDate>
#include <QString>

#include <functional>

// Day classes of the month grid: 0 blank cell, 1 working day, 2 off day, 3 public holiday; plus 3 when the day has
// a memo.
namespace DayClass {
inline constexpr int Blank = 0;
inline constexpr int Working = 1;
inline constexpr int Off = 2;
inline constexpr int Holiday = 3;
inline constexpr int Memo = 3; // added to the class of a day with a memo
} // namespace DayClass

// What the data file says of a day.
struct DayMarks {
    bool memo = false;
    bool extraOff = false;     // in the extra off days
    bool extraWorking = false; // in the extra working days
};

struct GridDay {
    QDate date; // invalid for a blank cell
    int dayClass = DayClass::Blank;
};

// Weekday numbers run 1 = Sunday to 7 = Saturday.
inline int WeekdayNumber(const QDate &date) {
    return date.dayOfWeek() % 7 + 1;
}
// A weekday is a weekly off day when its digit occurs anywhere in the OffDay text ("1,7").
bool IsWeeklyOffDay(const QString &offDay, int weekday);
// The 1-based grid column of the month's first day for a StartDay weekday number.
int FirstDayColumn(const QDate &month, int startDay);
// The date shown in a cell (0..41) of the month, invalid for a blank cell.
QDate GridCellDate(int cell, const QDate &month, int startDay);

// Extra working day, then public holiday, extra off day, weekly off day, ordinary working day; a memo adds bold.
int ClassifyDay(const QDate &date, const DayMarks &marks, const QString &offDay);
// The cell of the month grid: its date and class; marksOf tells what the data file says of a date.
GridDay ClassifyGridDay(int cell, const QDate &month, int startDay, const QString &offDay,
                        const std::function<DayMarks(const QDate &)> &marksOf);

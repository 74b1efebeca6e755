#include "core/calendar/DayClass.h"

#include <gtest/gtest.h>

#include <map>

TEST(DayClass, Precedence) {
    const QDate holiday(2026, 11, 3), sunday(2026, 12, 6), saturday(2026, 12, 5), monday(2026, 12, 7),
        wednesday(2026, 12, 9);
    const DayMarks none, memo{true, false, false}, off{false, true, false}, working{false, false, true},
        both{false, true, true};
    const struct {
        QDate date;
        DayMarks marks;
        const char *offDay;
        int dayClass;
    } cases[] = {
        {holiday, none, "1,7", DayClass::Holiday},
        {sunday, none, "1,7", DayClass::Off},
        {wednesday, none, "1,7", DayClass::Working},
        {holiday, off, "1,7", DayClass::Holiday}, // an extra off day changes nothing on a holiday
        {holiday, working, "1,7", DayClass::Working},
        {holiday, {true, false, true}, "1,7", DayClass::Working + DayClass::Memo},
        {holiday, memo, "1,7", DayClass::Holiday + DayClass::Memo},
        {sunday, working, "1,7", DayClass::Working},
        {wednesday, off, "1,7", DayClass::Off},
        {wednesday, {true, true, false}, "1,7", DayClass::Off + DayClass::Memo}, // bold, still in the off-day colour
        {wednesday, both, "1,7", DayClass::Working},
        {saturday, none, "", DayClass::Working},
        {monday, none, "2,3,", DayClass::Off},
        {saturday, none, "2,3,", DayClass::Working},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ClassifyDay(c.date, c.marks, QString::fromUtf8(c.offDay)), c.dayClass)
            << c.date.toString(Qt::ISODate).toStdString() << " off " << c.offDay;
}

TEST(DayClass, GridPlacement) {
    const struct {
        int startDay;
        QDate month;
        int firstCell, lastCell;
    } cases[] = {
        {1, QDate(2007, 2, 14), 4, 31},  // February 2007 starts on a Thursday
        {1, QDate(2026, 11, 1), 0, 29},  // starts on a Sunday
        {2, QDate(2026, 11, 30), 6, 35}, // Monday first: that Sunday goes to the last column
        {7, QDate(2026, 12, 1), 3, 33},  // Saturday first
        {1, QDate(2026, 2, 1), 0, 27},   // four full rows, two empty ones
    };
    for (const auto &c : cases) {
        std::map<QDate, int> asked; // each dated cell asks for its own marks once, blank cells never
        const auto marksOf = [&](const QDate &date) {
            ++asked[date];
            return DayMarks{date.day() == 5, false, false};
        };
        for (int cell = 0; cell < 42; ++cell) {
            const GridDay day = ClassifyGridDay(cell, c.month, c.startDay, "1,7", marksOf);
            const bool inside = cell >= c.firstCell && cell <= c.lastCell;
            ASSERT_EQ(day.date.isValid(), inside) << c.startDay << " cell " << cell;
            if (inside) {
                EXPECT_EQ(day.date.day(), cell - c.firstCell + 1) << c.startDay << " cell " << cell;
                EXPECT_EQ(day.dayClass > DayClass::Holiday, day.date.day() == 5) << c.startDay << " cell " << cell;
            } else {
                EXPECT_EQ(day.dayClass, DayClass::Blank);
            }
        }
        EXPECT_EQ(asked.size(), size_t(c.lastCell - c.firstCell + 1));
        for (const auto &[date, times] : asked) EXPECT_EQ(times, 1);
    }
}

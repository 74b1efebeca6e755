#include "core/calendar/Kyureki.h"
#include "core/calendar/LunarYearCache.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QString>

#include <algorithm>
#include <cmath>

namespace {

QDate Iso(const char *text) {
    return QDate::fromString(QString::fromLatin1(text), Qt::ISODate);
}

double DayNumberOf(const QDate &d, int h = 0, int mi = 0) {
    return DayNumber(d.year(), d.month(), d.day(), h, mi, 0);
}

LunarDate CachedLunarDate(const QDate &d) {
    return LunarDateOf(d.year(), d.month(), d.day());
}

std::string Describe(const LunarDate &l) {
    return (l.leap ? "leap " : "") + std::to_string(l.month) + "/" + std::to_string(l.day);
}

} // namespace

TEST(Kyureki, DayNumberCountsWholeDaysFromJstMidnight) {
    EXPECT_EQ(DayNumber(2000, 1, 1, 0, 0, 0), 2451544);
    EXPECT_EQ(DayNumber(2000, 1, 1, 12, 0, 0), 2451544.5);
    EXPECT_DOUBLE_EQ(DayNumber(2000, 3, 1, 6, 30, 36), 2451604 + (6 + 30 / 60.0 + 36 / 3600.0) / 24);
    // One day before the Julian day number of the date, on every day the calendar shows.
    for (QDate d(1900, 1, 1); d <= QDate(2100, 12, 31); d = d.addDays(1))
        ASSERT_EQ(DayNumberOf(d), d.toJulianDay() - 1) << d.toString(Qt::ISODate).toStdString();
}

TEST(Kyureki, NormalizeAngle) {
    const struct {
        double in, out;
    } cases[] = {{0, 0}, {359.5, 359.5}, {360, 0}, {720, 0}, {361, 1}, {-30, 330}, {-720, 0}, {-0.5, 359.5}};
    for (const auto &c : cases) EXPECT_DOUBLE_EQ(NormalizeAngle(c.in), c.out) << c.in;
}

// The series are good to a few minutes against published moments (JST).
TEST(Kyureki, SolarTermsAndNewMoonsNearPublishedMoments) {
    const struct {
        const char *searchFrom;
        int step;
        double target;
        const char *day;
        int hour, minute;
    } terms[] = {
        {"2000-04-01", 90, 0, "2000-03-20", 16, 35},   // vernal equinox
        {"2024-01-01", 90, 270, "2023-12-22", 12, 27}, // winter solstice
        {"2024-01-01", 30, 270, "2023-12-22", 12, 27},
        {"2023-10-01", 30, 180, "2023-09-23", 15, 50}, // autumnal equinox
        {"2024-07-01", 90, 90, "2024-06-21", 5, 51},   // summer solstice
    };
    for (const auto &c : terms) {
        double target = -1;
        const double moment = SolarTermBefore(DayNumberOf(Iso(c.searchFrom)), c.step, &target);
        EXPECT_EQ(target, c.target) << c.searchFrom;
        EXPECT_NEAR(moment, DayNumberOf(Iso(c.day), c.hour, c.minute), 0.02) << c.searchFrom;
        const double t = (moment - 9.0 / 24 - 2451545 + 0.5) / 36525;
        EXPECT_NEAR(NormalizeAngle(SunLongitude(t) - c.target + 180) - 180, 0, 1e-4) << c.searchFrom;
    }
    const struct {
        const char *searchFrom;
        const char *day;
        int hour, minute;
    } moons[] = {
        {"2000-01-10", "2000-01-07", 3, 14},
        {"2024-02-10", "2024-01-11", 20, 57}, // the new moon of that day comes after midnight
        {"2024-02-11", "2024-02-10", 7, 59},
    };
    for (const auto &c : moons) {
        const double moment = NewMoonBefore(DayNumberOf(Iso(c.searchFrom)));
        EXPECT_NEAR(moment, DayNumberOf(Iso(c.day), c.hour, c.minute), 0.02) << c.searchFrom;
        const double t = (moment - 9.0 / 24 - 2451545 + 0.5) / 36525;
        const double gap = NormalizeAngle(MoonLongitude(t) - SunLongitude(t) + 180) - 180;
        EXPECT_NEAR(gap, 0, 1e-3) << c.searchFrom;
    }
}

TEST(Kyureki, LunarDatesAndRokuyo) {
    const struct {
        const char *date;
        int month;
        bool leap;
        int day;
        const char *rokuyo;
    } cases[] = {
        {"2000-01-01", 11, false, 25, "大安"}, {"2000-02-05", 1, false, 1, "先勝"}, {"2024-02-10", 1, false, 1, "先勝"},
        {"2023-03-21", 2, false, 30, "先勝"},  {"2023-03-22", 2, true, 1, "友引"},  {"2023-04-19", 2, true, 29, "赤口"},
        {"2023-04-20", 3, false, 1, "先負"},   {"2020-05-23", 4, true, 1, "仏滅"},  {"2020-06-21", 5, false, 1, "大安"},
        {"2014-10-24", 9, true, 1, "先負"},
        // Late 2033: the month from 08-25 lacks a principal term, yet its span from one 11th month to the next has
        // only 12 months; the leap month is the one after the 11th.
        {"2033-08-24", 7, false, 30, "赤口"}, {"2033-08-25", 8, false, 1, "友引"},  {"2033-09-22", 8, false, 29, "赤口"},
        {"2033-09-23", 9, false, 1, "先負"},  {"2033-10-23", 10, false, 1, "仏滅"}, {"2033-11-22", 11, false, 1, "大安"},
        {"2033-12-21", 11, false, 30, "仏滅"}, {"2033-12-22", 11, true, 1, "大安"},  {"2034-01-20", 12, false, 1, "赤口"},
        {"2034-02-19", 1, false, 1, "先勝"},
    };
    for (const auto &c : cases) {
        const QDate d = Iso(c.date);
        const LunarDate expected{c.month, c.leap, c.day};
        const LunarDate uncached = LunarDateUncached(d.year(), d.month(), d.day());
        EXPECT_EQ(uncached, expected) << c.date << " got " << Describe(uncached);
        EXPECT_EQ(CachedLunarDate(d), expected) << c.date;
        EXPECT_EQ(RokuyoName(d.year(), d.month(), d.day()), QString::fromUtf8(c.rokuyo)) << c.date;
    }
}

// Leap months of 2001-2025 as published, by their first day.
TEST(Kyureki, LeapMonthsOfRecentYears) {
    const QStringList expected = {
        QStringLiteral("2001-05-23 4"), QStringLiteral("2004-03-21 2"), QStringLiteral("2006-08-24 7"),
        QStringLiteral("2009-06-23 5"), QStringLiteral("2012-04-21 3"), QStringLiteral("2014-10-24 9"),
        QStringLiteral("2017-06-24 5"), QStringLiteral("2020-05-23 4"), QStringLiteral("2023-03-22 2"),
        QStringLiteral("2025-07-25 6"),
    };
    QStringList found;
    for (QDate d(2001, 1, 1); d <= QDate(2025, 12, 31); d = d.addDays(1)) {
        const LunarDate l = CachedLunarDate(d);
        if (l.leap && l.day == 1) found << d.toString(Qt::ISODate) + u' ' + QString::number(l.month);
    }
    EXPECT_EQ(found, expected);
}

// From one 11th month to the next: 12 months, or 13 with exactly one leap month, which
// is the first month of the span without a principal term.
TEST(Kyureki, YearTablesHoldTwelveMonthsOrThirteenWithOneLeap) {
    const struct {
        int year;
        int leapMonth; // 0: no leap month in the span that begins in this year's 11th month
    } cases[] = {{2019, 4}, {2021, 0}, {2022, 2}, {2024, 6}, {2032, 0}, {2033, 11}, {2034, 0}, {1954, 3}, {1955, 0}, {1983, 10}};
    for (const auto &c : cases) {
        const LunarYearTable table = BuildLunarYearTable(c.year);
        EXPECT_EQ(table.count, c.leapMonth ? 13 : 12) << c.year;
        int leapMonth = 0;
        for (int row = 0; row < table.count; ++row)
            if (table.leap[row]) leapMonth = table.month[row];
        EXPECT_EQ(leapMonth, c.leapMonth) << c.year;
        EXPECT_EQ(table.month[0], 11) << c.year;
        EXPECT_EQ(table.firstDay[table.count], BuildLunarYearTable(c.year + 1).firstDay[0]) << c.year;
    }
    for (int year = 1899; year <= 2100; ++year) {
        const LunarYearTable table = BuildLunarYearTable(year);
        ASSERT_TRUE(table.count == 12 || table.count == 13) << year;
        ASSERT_EQ(std::count(table.leap, table.leap + table.count, true), table.count - 12) << year;
    }
}

TEST(Kyureki, MonthsRunInOrderAndStartOnTheirRokuyo) {
    const char *firstDayRokuyo[] = {"先勝", "友引", "先負", "仏滅", "大安", "赤口"};
    LunarDate previous = CachedLunarDate(QDate(1899, 12, 31));
    for (QDate d(1900, 1, 1); d <= QDate(2100, 12, 31); d = d.addDays(1)) {
        const LunarDate l = CachedLunarDate(d);
        const std::string where = d.toString(Qt::ISODate).toStdString();
        if (l.day == 1) {
            ASSERT_TRUE(previous.day == 29 || previous.day == 30) << where;
            ASSERT_EQ(RokuyoName(l), QString::fromUtf8(firstDayRokuyo[(l.month - 1) % 6])) << where;
            ASSERT_EQ(l.month, l.leap ? previous.month : previous.month % 12 + 1) << where;
            ASSERT_FALSE(l.leap && previous.leap) << where;
        } else {
            ASSERT_EQ(l.day, previous.day + 1) << where;
            ASSERT_EQ(l.month, previous.month) << where;
            ASSERT_EQ(l.leap, previous.leap) << where;
        }
        previous = l;
    }
}

TEST(Kyureki, CacheGivesTheFullConversionOnEveryDay) {
    const QDate first(1900, 1, 1);
    const QDate last(2100, 12, 31);
    LunarYearCache cache; // a fresh one, filled in date order
    for (QDate d = first.addDays(-3); d <= last.addDays(3); d = d.addDays(1)) {
        const LunarDate expected = LunarDateUncached(d.year(), d.month(), d.day());
        ASSERT_EQ(cache.lunarDate(d.year(), d.month(), d.day()), expected) << d.toString(Qt::ISODate).toStdString();
    }
    // Jumping around reuses and evicts tables out of order.
    for (int i = 0; i < 2000; ++i) {
        const QDate d = first.addDays((i * 7919LL) % first.daysTo(last));
        const LunarDate expected = LunarDateUncached(d.year(), d.month(), d.day());
        ASSERT_EQ(LunarDateOf(d.year(), d.month(), d.day()), expected) << d.toString(Qt::ISODate).toStdString();
    }
}

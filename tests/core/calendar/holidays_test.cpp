#include "core/calendar/Holidays.h"

#include <gtest/gtest.h>

#include <QList>
#include <QPair>

#include <initializer_list>

namespace {

// Each case is "yyyy-MM-dd" for no holiday or "yyyy-MM-dd name".
void ExpectHolidays(std::initializer_list<const char *> cases) {
    for (const char *c : cases) {
        const QString text = QString::fromUtf8(c);
        const QDate date = QDate::fromString(text.left(10), Qt::ISODate);
        ASSERT_TRUE(date.isValid()) << c;
        EXPECT_EQ(HolidayName(date), text.mid(11)) << c;
    }
}

QStringList HolidaysOfYear(int year) {
    QStringList result;
    for (QDate d(year, 1, 1); d.year() == year; d = d.addDays(1)) {
        const QString name = HolidayName(d);
        if (!name.isEmpty()) result << d.toString(QStringLiteral("MM-dd ")) + name;
    }
    return result;
}

} // namespace

TEST(Holidays, EachAmendmentAtItsFirstAndLastYear) {
    // clang-format off
    ExpectHolidays({
        "1948-05-03", "1948-07-19", "1948-07-20", "1948-09-23 秋分の日", "1948-11-03 文化の日", "1949-01-01 元日",
        // Coming of age day: January 15, then the second Monday.
        "1999-01-15 成人の日", "1999-01-11", "2000-01-15", "2000-01-10 成人の日",
        // Marine day: July 20 from 1996, the third Monday from 2003.
        "1995-07-20", "1996-07-20 海の日", "2002-07-20 海の日", "2002-07-15", "2003-07-21 海の日", "2003-07-20",
        // Respect for the aged day: September 15 from 1966, the third Monday from 2003.
        "1965-09-15", "1966-09-15 敬老の日", "2002-09-15 敬老の日", "2003-09-15 敬老の日", "2004-09-15",
        "2004-09-20 敬老の日",
        // Sports day: October 10, the second Monday from 2000, renamed in 2020.
        "1965-10-10", "1966-10-10 体育の日", "1999-10-10 体育の日", "2000-10-10", "2000-10-09 体育の日",
        "2019-10-14 体育の日", "2022-10-10 スポーツの日",
        // April 29 and May 4.
        "1988-04-29 天皇誕生日", "1989-04-29 みどりの日", "2006-04-29 みどりの日", "2007-04-29 昭和の日",
        "2006-05-04 国民の休日", "2007-05-04 みどりの日",
        // National foundation day, emperor's birthday, mountain day.
        "1966-02-11", "1967-02-11 建国記念の日", "1988-12-23", "1989-12-23 天皇誕生日", "2018-12-23 天皇誕生日",
        "2019-12-23", "2019-02-23", "2020-02-23 天皇誕生日", "2015-08-11", "2016-08-11 山の日", "2007-01-01 元日",
        "2007-01-02",
    });
    // clang-format on
}

TEST(Holidays, SubstituteHolidays) {
    // clang-format off
    ExpectHolidays({
        "1967-01-02", "1973-04-09", "1973-04-30 振替休日", "1987-05-04 振替休日", "1999-10-11 振替休日",
        "2002-09-16 振替休日", "2006-01-02 振替休日", "2018-12-24 振替休日", "2006-05-06", "2007-05-06",
        // From 2007 the substitute moves to the first day after the run of holidays.
        "2008-05-06 振替休日", "2009-05-06 振替休日", "2013-05-06 振替休日", "2019-05-06 振替休日",
        "2025-02-24 振替休日", "2025-11-24 振替休日", "2027-03-22 振替休日",
    });
    // clang-format on
}

TEST(Holidays, DaysBetweenTwoHolidays) {
    // clang-format off
    ExpectHolidays({
        "1985-05-04", "1986-05-04", // before the rule, then a Sunday
        "1988-05-04 国民の休日",
        "2009-09-22 国民の休日", "2009-09-21 敬老の日", "2015-09-22 国民の休日", "2019-04-30 国民の休日",
        "2019-05-02 国民の休日", "2026-09-22 国民の休日", "2010-09-22",
    });
    // clang-format on
}

TEST(Holidays, CeremoniesAndTheOlympicYears) {
    // clang-format off
    ExpectHolidays({
        "1959-04-10 皇太子明仁親王の結婚の儀", "1989-02-24 昭和天皇の大喪の礼", "1990-11-12 即位礼正殿の儀",
        "1993-06-09 皇太子徳仁親王の結婚の儀", "1960-04-10", "1990-02-24", "1991-11-12", "1994-06-09",
        "2019-05-01 天皇の即位の日", "2019-10-22 即位礼正殿の儀", "2020-07-23 海の日", "2020-07-24 スポーツの日",
        "2020-08-10 山の日", "2021-07-22 海の日", "2021-07-23 スポーツの日", "2021-08-08 山の日",
        "2021-08-09 振替休日", "2020-07-20", "2020-08-11", "2020-10-12", "2021-07-19", "2021-08-11", "2021-10-11",
    });
    // clang-format on
}

// Whole years as published by the Cabinet Office.
TEST(Holidays, WholeYearsMatchThePublishedLists) {
    const auto list = [](std::initializer_list<const char *> days) {
        QStringList result;
        for (const char *day : days) result << QString::fromUtf8(day);
        return result;
    };
    EXPECT_EQ(HolidaysOfYear(2019),
              list({"01-01 元日",       "01-14 成人の日",    "02-11 建国記念の日",   "03-21 春分の日",
                    "04-29 昭和の日",   "04-30 国民の休日",  "05-01 天皇の即位の日", "05-02 国民の休日",
                    "05-03 憲法記念日", "05-04 みどりの日",  "05-05 こどもの日",     "05-06 振替休日",
                    "07-15 海の日",     "08-11 山の日",      "08-12 振替休日",       "09-16 敬老の日",
                    "09-23 秋分の日",   "10-14 体育の日",    "10-22 即位礼正殿の儀", "11-03 文化の日",
                    "11-04 振替休日",   "11-23 勤労感謝の日"}));
    EXPECT_EQ(HolidaysOfYear(2020),
              list({"01-01 元日", "01-13 成人の日", "02-11 建国記念の日", "02-23 天皇誕生日", "02-24 振替休日",
                    "03-20 春分の日", "04-29 昭和の日", "05-03 憲法記念日", "05-04 みどりの日", "05-05 こどもの日",
                    "05-06 振替休日", "07-23 海の日", "07-24 スポーツの日", "08-10 山の日", "09-21 敬老の日",
                    "09-22 秋分の日", "11-03 文化の日", "11-23 勤労感謝の日"}));
    EXPECT_EQ(HolidaysOfYear(2021),
              list({"01-01 元日", "01-11 成人の日", "02-11 建国記念の日", "02-23 天皇誕生日", "03-20 春分の日",
                    "04-29 昭和の日", "05-03 憲法記念日", "05-04 みどりの日", "05-05 こどもの日", "07-22 海の日",
                    "07-23 スポーツの日", "08-08 山の日", "08-09 振替休日", "09-20 敬老の日", "09-23 秋分の日",
                    "11-03 文化の日", "11-23 勤労感謝の日"}));
    EXPECT_EQ(HolidaysOfYear(2026),
              list({"01-01 元日", "01-12 成人の日", "02-11 建国記念の日", "02-23 天皇誕生日", "03-20 春分の日",
                    "04-29 昭和の日", "05-03 憲法記念日", "05-04 みどりの日", "05-05 こどもの日", "05-06 振替休日",
                    "07-20 海の日", "08-11 山の日", "09-21 敬老の日", "09-22 国民の休日", "09-23 秋分の日",
                    "10-12 スポーツの日", "11-03 文化の日", "11-23 勤労感謝の日"}));
}

TEST(Holidays, EverySundayHolidayGetsOneSubstituteSince2007) {
    int sundayHolidays = 0;
    int substitutes = 0;
    for (QDate d(2007, 1, 1); d <= QDate(2150, 12, 31); d = d.addDays(1)) {
        const QString name = HolidayName(d);
        if (name == QString::fromUtf8("振替休日"))
            ++substitutes;
        else if (!name.isEmpty() && name != QString::fromUtf8("国民の休日") && d.dayOfWeek() == Qt::Sunday)
            ++sundayHolidays;
    }
    EXPECT_GT(sundayHolidays, 100);
    EXPECT_EQ(substitutes, sundayHolidays);
}

TEST(Holidays, EquinoxDays) {
    const struct {
        int year, vernal, autumnal;
    } cases[] = {
        {1947, 99, 99}, {1948, 21, 23}, {1960, 20, 23}, {1975, 21, 24}, {1979, 21, 24}, {2000, 20, 23},
        {2007, 21, 23}, {2020, 20, 22}, {2100, 20, 23}, {2150, 21, 23}, {2151, 99, 99},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(VernalEquinoxDay(c.year), c.vernal) << c.year;
        EXPECT_EQ(AutumnalEquinoxDay(c.year), c.autumnal) << c.year;
    }
    for (int year = 1948; year <= 2150; ++year) {
        EXPECT_TRUE(VernalEquinoxDay(year) >= 19 && VernalEquinoxDay(year) <= 22) << year;
        EXPECT_TRUE(AutumnalEquinoxDay(year) >= 21 && AutumnalEquinoxDay(year) <= 24) << year;
    }
    EXPECT_TRUE(HolidayName(QDate()).isEmpty());
}

#include "core/calendar/DatePattern.h"

#include <gtest/gtest.h>

namespace {

const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);
const QLocale kJapanese(QLocale::Japanese, QLocale::Japan);

QString Utf8(const char *text) {
    return QString::fromUtf8(text);
}

} // namespace

TEST(DatePattern, EveryTokenInBothLocales) {
    const QDateTime when(QDate(2026, 3, 5), QTime(7, 8, 9)); // a Thursday
    const struct {
        const char *pattern;
        const char *english;
        const char *japanese; // null when the same as english
    } cases[] = {
        // clang-format off
        {"yyyy", "2026", nullptr}, {"yy", "26", nullptr}, {"m", "3", nullptr}, {"mm", "03", nullptr},
        {"M", "3", nullptr}, {"MM", "03", nullptr}, {"mmm", "Mar", "3月"}, {"MMM", "Mar", "3月"},
        {"mmmm", "March", "3月"}, {"MMMM", "March", "3月"}, {"d", "5", nullptr}, {"dd", "05", nullptr},
        {"ddd", "Thu", "木"}, {"aaa", "木", nullptr}, {"ggg", "令和", nullptr}, {"e", "8", nullptr},
        {"h", "7", nullptr}, {"hh", "07", nullptr}, {"s", "9", nullptr}, {"ss", "09", nullptr},
        // m after an hour or before seconds is minutes.
        {"h:m:s", "7:8:9", nullptr}, {"hh:mm:ss", "07:08:09", nullptr}, {"h:m", "7:8", nullptr},
        {"hh:mm", "07:08", nullptr}, {"mm:ss", "08:09", nullptr}, {"hh:mm yyyy/mm", "07:08 2026/03", nullptr},
        // The patterns the program uses.
        {"yyyy年m月", "2026年3月", nullptr}, {"yy年m月", "26年3月", nullptr}, {"ggge年m月", "令和8年3月", nullptr},
        {"mmm yyyy", "Mar 2026", "3月 2026"}, {"mmmm yyyy", "March 2026", "3月 2026"},
        {"yyyy/mm/dd", "2026/03/05", nullptr}, {"M月d日 (aaa)", "3月5日 (木)", nullptr},
        {"MMM dd", "Mar 05", "3月 05"}, {"ddd MMM dd yyyy", "Thu Mar 05 2026", "木 3月 05 2026"},
        {"yyyy年M月d日(aaa)", "2026年3月5日(木)", nullptr}, {"yyyy/mm", "2026/03", nullptr},
        // Longest token first; anything else is copied.
        {"yyy", "26y", nullptr}, {"dddd", "Thu5", "木5"}, {"y a aa g gg x%:", "y a aa g gg x%:", nullptr},
        {"", "", nullptr},
        // clang-format on
    };
    for (const auto &c : cases) {
        EXPECT_EQ(FormatDatePattern(when.date(), when.time(), Utf8(c.pattern), kEnglish), Utf8(c.english)) << c.pattern;
        EXPECT_EQ(FormatDatePattern(when.date(), when.time(), Utf8(c.pattern), kJapanese),
                  Utf8(c.japanese ? c.japanese : c.english))
            << c.pattern;
    }
}

TEST(DatePattern, JapaneseWeekdaysFromSunday) {
    const char *weekdays[] = {"日", "月", "火", "水", "木", "金", "土"};
    for (int i = 0; i < 7; ++i) {
        const QDate date = QDate(2026, 3, 1).addDays(i); // 2026-03-01 is a Sunday
        EXPECT_EQ(FormatDatePattern(date, QStringLiteral("aaa"), kEnglish), Utf8(weekdays[i])) << i;
    }
}

TEST(DatePattern, ErasChangeOnTheirFirstDay) {
    const struct {
        QDate date;
        const char *expected;
    } cases[] = {
        {QDate(1867, 12, 31), "1867年"}, // no era before Meiji: the Western year alone
        {QDate(1868, 1, 1), "明治1年"},    {QDate(1912, 7, 29), "明治45年"}, {QDate(1912, 7, 30), "大正1年"},
        {QDate(1926, 12, 24), "大正15年"}, {QDate(1926, 12, 25), "昭和1年"}, {QDate(1989, 1, 7), "昭和64年"},
        {QDate(1989, 1, 8), "平成1年"},    {QDate(2019, 4, 30), "平成31年"}, {QDate(2019, 5, 1), "令和1年"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FormatDatePattern(c.date, QStringLiteral("ggge年"), kJapanese), Utf8(c.expected)) << c.expected;
}

TEST(DatePattern, PaddingAndMidnight) {
    const QDateTime midnight(QDate(2005, 11, 30), QTime(0, 0, 0));
    EXPECT_EQ(FormatDatePattern(midnight.date(), midnight.time(), QStringLiteral("yy/m/d h:mm:ss"), kEnglish),
              QStringLiteral("05/11/30 0:00:00"));
    EXPECT_EQ(FormatDatePattern(QDate(1999, 1, 2), QTime(23, 59, 59), QStringLiteral("yy hh:mm:ss"), kEnglish),
              QStringLiteral("99 23:59:59"));
    EXPECT_EQ(FormatDatePattern(QDate(812, 6, 7), QStringLiteral("yyyy/mm/dd hh"), kEnglish),
              QStringLiteral("0812/06/07 00"));
}

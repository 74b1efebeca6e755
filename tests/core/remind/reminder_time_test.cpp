#include "core/remind/Reminder.h"
#include "core/remind/ReminderTime.h"

#include <gtest/gtest.h>

TEST(ReminderTime, TheFormatsPeopleWriteAndTheImportWrites) {
    const std::pair<const char *, const char *> cases[] = {
        {"9:30 歯医者", "09:30"},
        {"09:30 朝会", "09:30"},
        {"15:00-16:00 会議", "15:00"},
        {"15：00 打合せ", "15:00"},
        {"１５：３０ 全角", "15:30"},
        {"１５:０５", "15:05"},
        {"15時 来客", "15:00"},
        {"15時30分 面談", "15:30"},
        {"15時半 面談", "15:30"},
        {"９時５分", "09:05"},
        {"0:00 日付が変わる", "00:00"},
        {"23:59", "23:59"},
        {"  10:00 字下げ", "10:00"},
        {"　10:00 全角の字下げ", "10:00"},
        {"[開始] 10:00", "10:00"},
        {"【開始】 10:00", "10:00"},
        {"<<開始>> 10:00", "10:00"},
        {"[開催日] 2006/11/25,[開始] 10:00,[件名] Meeting,", "10:00"},
        {"【開催日】 2006/11/25;【開始】 08:45;【件名】 朝会", "08:45"},
    };
    for (const auto &[line, time] : cases) {
        const std::optional<QTime> found = ReminderTime(QString::fromUtf8(line));
        ASSERT_TRUE(found.has_value()) << line;
        EXPECT_EQ(found->toString("HH:mm"), QString::fromLatin1(time)) << line;
    }
}

TEST(ReminderTime, LinesThatOnlyLookLikeTimes) {
    const char *lines[] = {"1:1000", "25:00", "12:60", "24:00", "9:5 分が一桁", "123:00", "10.30", "2026/12/09",
                           "会議 15:00", "3時間勉強する", "時計を買う", "", ":30", "15時60分", "[終了] 11:00",
                           "[開始]10:00 空白なし", "[件名] 開始 しない"};
    for (const char *line : lines) EXPECT_FALSE(ReminderTime(QString::fromUtf8(line)).has_value()) << line;
}

TEST(ReminderTime, AMemoGivesOneReminderPerTimedLine) {
    const QDate day(2026, 12, 9);
    const std::vector<Reminder> found =
        RemindersOf(day, QString::fromUtf8("買い物\r\n9:30 歯医者\r\n15:00-16:00 会議\r\nメモ 10:00"));
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0], (Reminder{day, QTime(9, 30), QString::fromUtf8("9:30 歯医者")}));
    EXPECT_EQ(found[1], (Reminder{day, QTime(15, 0), QString::fromUtf8("15:00-16:00 会議")}));
}

TEST(ReminderTime, AnImportWithALinePerFieldBringsItsSubject) {
    // The import's 改行 separator: each field on its own line, the next appointment after it.
    const QString memo = QString::fromUtf8("[開催日] 2026/12/09\n[開始] 10:00\n[終了] 11:00\n[件名] 定例\n[場所] 会議室\n"
                                           "[開催日] 2026/12/09\n[開始] 13:00\n[件名] 来客\n");
    const std::vector<Reminder> found = RemindersOf(QDate(2026, 12, 9), memo);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].time, QTime(10, 0));
    EXPECT_EQ(found[0].text, QString::fromUtf8("[開始] 10:00\n[終了] 11:00\n[件名] 定例\n[場所] 会議室"));
    EXPECT_EQ(found[1].text, QString::fromUtf8("[開始] 13:00\n[件名] 来客"));
}

TEST(ReminderTime, AnEditedLineIsANewReminder) {
    const QDate day(2026, 12, 9);
    const Reminder a{day, QTime(15, 0), QString::fromUtf8("15:00 歯医者")};
    Reminder moved = a, renamed = a, otherDay = a;
    moved.time = QTime(16, 0);
    renamed.text = QString::fromUtf8("15:00 眼科");
    otherDay.date = day.addDays(1);
    EXPECT_EQ(a.key(), Reminder(a).key());
    for (const Reminder &b : {moved, renamed, otherDay}) EXPECT_NE(a.key(), b.key());
    // The record holds no memo text.
    EXPECT_FALSE(a.key().contains(QString::fromUtf8("歯医者")));
}

#include "TestApp.h"
#include "core/memos/MemoBook.h"
#include "core/view/DayNote.h"

#include <gtest/gtest.h>

namespace {

QDateTime at(int day, int hour, int minute = 0) {
    return QDateTime(QDate(2026, 12, day), QTime(hour, minute));
}

ForeignEvent timed(const char *summary, QDateTime start, QDateTime end, const char *location = "") {
    ForeignEvent e;
    e.day = QDate(2026, 12, 10);
    e.summary = QString::fromUtf8(summary);
    e.location = QString::fromUtf8(location);
    e.start = start;
    e.end = end;
    return e;
}

ForeignEvent allDay(const char *summary) {
    ForeignEvent e = timed(summary, QDateTime(QDate(2026, 12, 10), QTime()), QDateTime(QDate(2026, 12, 11), QTime()));
    e.allDay = true;
    return e;
}

} // namespace

TEST(HoverNote, EventsOfOthersShowWithTheirTimes) {
    const QDate day(2026, 12, 10);
    const struct {
        ForeignEvent event;
        const char *line;
    } cases[] = {
        {timed("会議", at(10, 10), at(10, 11)), "10:00-11:00 会議"},
        {timed("会議", at(10, 10), at(10, 11), "第2会議室"), "10:00-11:00 会議（第2会議室）"},
        {allDay("出張"), "出張"},
        {timed("夜勤", at(10, 22), at(11, 6)), "22:00- 夜勤"},
        {timed("夜勤", at(9, 22), at(10, 6)), "-06:00 夜勤"},
        {timed("合宿", at(9, 9), at(11, 17)), "合宿"},
        {timed("忘年会", at(10, 19), at(11, 0)), "19:00-24:00 忘年会"},
        {timed("電話", at(10, 9, 30), at(10, 9, 30)), "09:30 電話"},
        {timed("", at(10, 9), at(10, 10)), "09:00-10:00 （件名なし）"},
        {timed("二行の\n件名", at(10, 9), at(10, 10)), "09:00-10:00 二行の 件名"},
        // Times in UTC are shown in this computer's time.
        {timed("UTC", at(10, 1).toUTC(), at(10, 2).toUTC()), "01:00-02:00 UTC"},
    };
    for (const auto &c : cases) EXPECT_EQ(ForeignEventLine(c.event, day), QString::fromUtf8(c.line)) << c.line;
}

TEST(HoverNote, UnderTheMemoAllDayFirstAndNeverInTheMemoFile) {
    TestApp app;
    MemoBook &memos = app.ctx().memos();
    const QDate day(2026, 12, 10);
    const QList<ForeignEvent> others{timed("歯医者", at(10, 15), at(10, 16)), timed("朝会", at(10, 9), at(10, 9, 15)),
                                     allDay("出張")};
    // Only events: a note all the same.
    EXPECT_EQ(HoverNoteText(memos, day, others), QString::fromUtf8("出張\r\n09:00-09:15 朝会\r\n15:00-16:00 歯医者"));
    ASSERT_EQ(memos.store(day, QString::fromUtf8("買い物\r\n牛乳")), StoreResult::Stored);
    const QByteArray stored = app.bytes("Tsukiban.tdb");
    EXPECT_EQ(HoverNoteText(memos, day, others),
              QString::fromUtf8("買い物\r\n牛乳\r\n出張\r\n09:00-09:15 朝会\r\n15:00-16:00 歯医者"));
    // A holiday comes first, as always; without events the note is what it was.
    EXPECT_EQ(HoverNoteText(memos, QDate(2026, 11, 23), {allDay("旅行")}), QString::fromUtf8("勤労感謝の日\r\n旅行"));
    EXPECT_EQ(HoverNoteText(memos, day), QString::fromUtf8("買い物\r\n牛乳"));
    EXPECT_EQ(HoverNoteText(memos, QDate(2026, 12, 11)), "");
    EXPECT_EQ(app.bytes("Tsukiban.tdb"), stored);
}

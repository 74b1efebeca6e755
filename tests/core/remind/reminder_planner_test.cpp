#include "TestApp.h"
#include "core/remind/ReminderLog.h"
#include "core/remind/ReminderNotice.h"
#include "core/remind/ReminderPlanner.h"

#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QDate kToday(2026, 12, 7);

QDateTime at(int h, int m, const QDate &day = kToday) {
    return QDateTime(day, QTime(h, m));
}

QString U(const char *text) {
    return QString::fromUtf8(text);
}

// A planner over a test program folder, with what it said recorded.
struct Plan {
    TestApp app;
    std::unique_ptr<ReminderLog> log;
    std::unique_ptr<ReminderPlanner> planner;
    std::vector<QDate> todays;
    std::vector<std::pair<Reminder, bool>> due;

    explicit Plan(ReminderOptions options = {}) { start(options); }

    // A fresh start of the program over the same folder.
    void start(ReminderOptions options = {}) {
        planner.reset();
        log = std::make_unique<ReminderLog>(app.path(ReminderLog::fileName()));
        planner = std::make_unique<ReminderPlanner>(app.ctx().memos(), app.clock, *log);
        QObject::connect(planner.get(), &ReminderPlanner::todayDue, [this](const QDate &d) { todays.push_back(d); });
        QObject::connect(planner.get(), &ReminderPlanner::reminderDue,
                         [this](const Reminder &r, bool late) { due.push_back({r, late}); });
        planner->setOptions(options);
        planner->update();
    }
    void memo(const char *text, const QDate &day = kToday) {
        ASSERT_EQ(app.ctx().memos().store(day, U(text)), StoreResult::Stored);
    }
    // What came since the last look, as "time text [late]".
    QStringList take() {
        QStringList said;
        for (const auto &[r, late] : due)
            said << r.time.toString("HH:mm") + u' ' + r.text + (late ? QStringLiteral(" late") : QString());
        due.clear();
        return said;
    }
};

} // namespace

TEST(ReminderPlanner, TheOneTimerAimsAtTheLeadMinutesBeforeTheTime) {
    Plan p;
    EXPECT_EQ(p.todays, std::vector<QDate>{kToday});
    // Nothing planned: the timer waits for the day change only.
    EXPECT_EQ(p.planner->nextWake(), at(0, 0, kToday.addDays(1)));
    p.memo("15:00 歯医者\r\n10:30 電話");
    EXPECT_EQ(p.planner->nextWake(), at(10, 20));
    EXPECT_EQ(p.planner->pending().size(), 2u);
    for (const auto &[minutes, wake] : {std::pair{0, at(10, 30)}, {30, at(10, 0)}, {90, at(9, 0)}}) {
        p.planner->setOptions({true, true, minutes});
        if (minutes == 90) {
            // Already within the lead: it comes at once.
            EXPECT_EQ(p.take(), QStringList{U("10:30 10:30 電話")});
            EXPECT_EQ(p.planner->nextWake(), at(13, 30));
        } else {
            EXPECT_EQ(p.planner->nextWake(), wake) << minutes;
        }
    }
    EXPECT_TRUE(p.planner->timerActive());
}

TEST(ReminderPlanner, AReminderComesOnceAtItsMomentByTheTimer) {
    Plan p;
    p.memo("9:30 歯医者");
    ASSERT_EQ(p.planner->nextWake(), at(9, 20));
    // The timer was aimed at the moment; the clock is there when it fires.
    p.app.clock.set(at(9, 19).addSecs(59).addMSecs(900));
    p.planner->update();
    ASSERT_TRUE(p.take().isEmpty());
    p.app.clock.set(at(9, 20));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !p.due.empty(); }, 5000));
    EXPECT_EQ(p.take(), QStringList{U("09:30 9:30 歯医者")});
    p.planner->update();
    p.planner->clockTick();
    EXPECT_TRUE(p.take().isEmpty());
}

TEST(ReminderPlanner, AnEditMovesTheReminderAndAClearCancelsIt) {
    Plan p;
    p.memo("15:00 歯医者");
    EXPECT_EQ(p.planner->nextWake(), at(14, 50));
    p.memo("16:30 歯医者（変更）");
    EXPECT_EQ(p.planner->nextWake(), at(16, 20));
    ASSERT_EQ(p.planner->pending().size(), 1u);
    EXPECT_EQ(p.planner->pending()[0].time, QTime(16, 30));
    ASSERT_TRUE(p.app.ctx().memos().remove(kToday));
    EXPECT_TRUE(p.planner->pending().empty());
    EXPECT_EQ(p.planner->nextWake(), at(0, 0, kToday.addDays(1)));
    for (const QDateTime &t : {at(14, 50), at(16, 20), at(23, 59)}) {
        p.app.clock.set(t);
        p.planner->clockTick();
    }
    EXPECT_TRUE(p.take().isEmpty());
}

TEST(ReminderPlanner, ARestartShowsNothingAgain) {
    Plan p;
    p.memo("9:05 朝会\r\n17:00 退勤");
    EXPECT_EQ(p.take(), QStringList{U("09:05 9:05 朝会")});
    p.app.clock.set(at(12, 0));
    p.start();
    EXPECT_TRUE(p.take().isEmpty());
    EXPECT_EQ(p.todays, std::vector<QDate>{kToday}); // today's notice once, not again after the restart
    EXPECT_EQ(p.planner->nextWake(), at(16, 50));
    p.app.clock.set(at(16, 50));
    p.planner->update();
    EXPECT_EQ(p.take(), QStringList{U("17:00 17:00 退勤")});
    p.start();
    EXPECT_TRUE(p.take().isEmpty());
    EXPECT_EQ(p.todays.size(), 1u);
}

TEST(ReminderPlanner, ALateStartShowsTodaysMissedOnesOnceAndNothingOfEarlierDays) {
    Plan p;
    p.planner.reset(); // the program is not running
    p.memo("8:00 昨日の会議", kToday.addDays(-1));
    p.memo("7:00 朝食\r\n8:30 出社\r\n9:05 朝会\r\n11:00 打合せ");
    p.app.clock.set(at(9, 0));
    p.start();
    // Past its time: marked late; within the lead but not yet begun: plain; the rest is planned.
    EXPECT_EQ(p.take(), (QStringList{U("07:00 7:00 朝食 late"), U("08:30 8:30 出社 late"), U("09:05 9:05 朝会")}));
    EXPECT_EQ(p.planner->nextWake(), at(10, 50));
    const ReminderNotice late = TimedNotice({kToday, QTime(8, 30), U("8:30 出社")}, true, at(9, 0));
    EXPECT_EQ(late.summary, U("8:30（時刻を過ぎています）"));
    EXPECT_EQ(late.body, U("8:30 出社"));
    EXPECT_EQ(TimedNotice({kToday, QTime(9, 5), U("9:05 朝会")}, false, at(9, 0)).summary, U("9:05（あと5分）"));
    EXPECT_EQ(TimedNotice({kToday, QTime(9, 5), U("9:05 朝会")}, false, at(9, 5)).summary, U("9:05"));
}

TEST(ReminderPlanner, WakingFromSleepShowsWhatWasMissedAtTheNextTick) {
    Plan p;
    p.memo("13:00 会議\r\n18:00 夕食");
    // Asleep from 9:00 to 15:00: the timer knows nothing of it (it stands still with the computer).
    p.app.clock.set(at(15, 0));
    p.planner->clockTick();
    EXPECT_EQ(p.take(), QStringList{U("13:00 13:00 会議 late")});
    EXPECT_EQ(p.planner->nextWake(), at(17, 50));
    // The clock set back an hour: planned again, nothing shown twice.
    p.app.clock.set(at(14, 0));
    p.planner->clockTick();
    EXPECT_TRUE(p.take().isEmpty());
    EXPECT_EQ(p.planner->nextWake(), at(17, 50));
}

TEST(ReminderPlanner, SleepingOverMidnightBringsNothingOfTheDayBefore) {
    Plan p;
    p.memo("23:00 寝る前の電話");
    p.memo("7:00 朝の電車\r\n12:00 昼食", kToday.addDays(1));
    p.app.clock.set(at(22, 0));
    p.planner->clockTick();
    ASSERT_TRUE(p.take().isEmpty());
    // Asleep from 22:00 to 8:00 of the next day.
    p.app.clock.set(at(8, 0, kToday.addDays(1)));
    p.planner->clockTick();
    EXPECT_EQ(p.todays, (std::vector<QDate>{kToday, kToday.addDays(1)}));
    EXPECT_EQ(p.take(), QStringList{U("07:00 7:00 朝の電車 late")});
    EXPECT_EQ(p.planner->nextWake(), at(11, 50, kToday.addDays(1)));
    // The record keeps no day before today.
    EXPECT_FALSE(p.app.bytes(ReminderLog::fileName()).contains("2026/12/07"));
}

TEST(ReminderPlanner, TheDayChangeBringsTodaysNoticeAndTheNewDaysPlan) {
    Plan p;
    p.memo("0:05 夜勤の引き継ぎ\r\n9:00 次の日の朝会", kToday.addDays(1));
    // The lead reaches back over midnight.
    EXPECT_EQ(p.planner->nextWake(), at(23, 55));
    p.app.clock.set(at(23, 55));
    p.planner->clockTick();
    EXPECT_EQ(p.take(), QStringList{U("00:05 0:05 夜勤の引き継ぎ")});
    EXPECT_EQ(p.planner->nextWake(), at(0, 0, kToday.addDays(1)));
    p.app.clock.set(at(0, 0, kToday.addDays(1)));
    p.planner->clockTick();
    EXPECT_EQ(p.todays, (std::vector<QDate>{kToday, kToday.addDays(1)}));
    EXPECT_TRUE(p.take().isEmpty());
    EXPECT_EQ(p.planner->nextWake(), at(8, 50, kToday.addDays(1)));
}

TEST(ReminderPlanner, SnoozeBringsItBackInFiveMinutesUnlessTheLineIsGone) {
    Plan p;
    p.memo("9:10 歯医者\r\n9:30 電話");
    ASSERT_EQ(p.take(), QStringList{U("09:10 9:10 歯医者")});
    p.planner->snooze({kToday, QTime(9, 10), U("9:10 歯医者")});
    EXPECT_EQ(p.planner->nextWake(), at(9, 5));
    p.app.clock.set(at(9, 5));
    p.planner->update();
    EXPECT_EQ(p.take(), QStringList{U("09:10 9:10 歯医者")});
    // Snoozed again, then the line is edited: the snooze goes with it.
    p.planner->snooze({kToday, QTime(9, 10), U("9:10 歯医者")});
    p.memo("9:30 電話");
    p.app.clock.set(at(9, 10));
    p.planner->update();
    EXPECT_TRUE(p.take().isEmpty());
    EXPECT_EQ(p.planner->nextWake(), at(9, 20));
}

TEST(ReminderPlanner, APlannedReminderFollowsAChangeOfTimeZone) {
    Plan p;
    p.app.clock.set(QDateTime(kToday, QTime(9, 0), Qt::OffsetFromUTC, 9 * 3600));
    p.planner->update();
    p.planner->setOptions({true, true, 0});
    p.memo("10:00 会議");
    EXPECT_EQ(p.planner->nextWake(), at(10, 0));
    // The same moment, one zone east: the wall clock reads 10:00.
    p.app.clock.set(QDateTime(kToday, QTime(10, 0), Qt::OffsetFromUTC, 10 * 3600));
    p.planner->clockTick();
    EXPECT_EQ(p.take(), QStringList{U("10:00 10:00 会議")});
}

TEST(ReminderPlanner, TheSwitchesAndLinesWrittenAfterTheirTime) {
    Plan off({false, false, 10});
    off.memo("9:05 朝会");
    EXPECT_TRUE(off.todays.empty());
    EXPECT_TRUE(off.take().isEmpty());
    EXPECT_TRUE(off.planner->pending().empty());
    // Switched on in the afternoon: what is over is not news, what is ahead is planned.
    off.memo("9:05 朝会\r\n18:00 夕食");
    off.app.clock.set(at(14, 0));
    off.planner->setOptions({false, true, 10});
    EXPECT_TRUE(off.take().isEmpty());
    EXPECT_EQ(off.planner->nextWake(), at(17, 50));
    // A line written after its time is a record, not an appointment to remind of.
    off.memo("9:05 朝会\r\n18:00 夕食\r\n13:00 昼の来客（済）\r\n14:05 電話");
    EXPECT_EQ(off.take(), QStringList{U("14:05 14:05 電話")});
}

TEST(ReminderNotice, TodaysNoticeHasTheDateRokuyoHolidayAndTheFirstLines) {
    TestApp app;
    const QDate labourDay(2026, 11, 23);
    ASSERT_EQ(app.ctx().memos().store(labourDay, U("1\r\n2\r\n3\r\n4\r\n5\r\n6")), StoreResult::Stored);
    const ReminderNotice n = TodayNotice(app.ctx().memos(), labourDay, true, app.ctx().locale);
    EXPECT_TRUE(n.summary.startsWith(U("2026年11月23日(月)　"))) << n.summary.toStdString();
    EXPECT_TRUE(n.summary.endsWith(U("　勤労感謝の日"))) << n.summary.toStdString();
    const QString rokuyo = n.summary.section(U("　"), 1, 1);
    EXPECT_TRUE(U("先勝,友引,先負,仏滅,大安,赤口").split(',').contains(rokuyo)) << rokuyo.toStdString();
    EXPECT_EQ(n.body, U("1\n2\n3\n4\n5\n…"));
    const ReminderNotice empty = TodayNotice(app.ctx().memos(), kToday, true, app.ctx().locale);
    EXPECT_EQ(empty.summary.count(U("　")), 1) << empty.summary.toStdString();
    EXPECT_EQ(empty.body, U("今日の予定はありません。"));
}

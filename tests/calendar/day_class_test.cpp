#include "TestApp.h"
#include "calendar/DayClass.h"
#include "schedule/MemoStore.h"

#include <gtest/gtest.h>

namespace {

struct DayClassTest : ::testing::Test {
    TestApp app;
    AppContext &ctx = app.ctx();
    void SetUp() override {
        ctx.settings.StartDay = "1";
        ctx.settings.OffDay = "1,7";
    }
    // Class of a date, found through its grid cell.
    int classOf(const QDate &date) {
        for (int cell = 0; cell < 42; ++cell) {
            const GridDay day = ClassifyGridDay(ctx, cell, date);
            if (day.date == date) return day.dayClass;
        }
        ADD_FAILURE() << "no cell for " << date.toString().toStdString();
        return -1;
    }
    void put(const char *section, const QDate &date, const char *value = "1") {
        ASSERT_TRUE(ctx.WriteData(section, DayKey(date), QString(value)));
    }
};

} // namespace

TEST_F(DayClassTest, Precedence) {
    const QDate holiday(2026, 11, 3), sunday(2026, 12, 6), wednesday(2026, 12, 9), both(2026, 12, 16);
    EXPECT_EQ(classOf(holiday), DayClass::Holiday);
    EXPECT_EQ(classOf(sunday), DayClass::Off);
    EXPECT_EQ(classOf(wednesday), DayClass::Working);

    put("OFFDAY", holiday);
    EXPECT_EQ(classOf(holiday), DayClass::Holiday); // an extra off day changes nothing on a holiday
    put("WEEKDAY", holiday, "2");
    EXPECT_EQ(classOf(holiday), DayClass::Working);
    put("PROGRAM", holiday, "memo");
    EXPECT_EQ(classOf(holiday), DayClass::Working + DayClass::Memo);

    put("WEEKDAY", sunday, "2");
    EXPECT_EQ(classOf(sunday), DayClass::Working);
    put("OFFDAY", wednesday);
    EXPECT_EQ(classOf(wednesday), DayClass::Off);
    put("PROGRAM", wednesday, "memo");
    EXPECT_EQ(classOf(wednesday), DayClass::Off + DayClass::Memo); // bold, still in the off-day colour
    put("OFFDAY", both);
    put("WEEKDAY", both, "2");
    EXPECT_EQ(classOf(both), DayClass::Working);

    ctx.settings.OffDay = "";
    EXPECT_EQ(classOf(QDate(2026, 12, 5)), DayClass::Working);
    ctx.settings.OffDay = "2,3,";
    EXPECT_EQ(classOf(QDate(2026, 12, 7)), DayClass::Off);
    EXPECT_EQ(classOf(QDate(2026, 12, 5)), DayClass::Working);
}

TEST_F(DayClassTest, GridPlacement) {
    const struct {
        const char *startDay;
        QDate month;
        int firstCell, lastCell;
    } cases[] = {
        {"1", QDate(2007, 2, 14), 4, 31},  // February 2007 starts on a Thursday
        {"1", QDate(2026, 11, 1), 0, 29},  // starts on a Sunday
        {"2", QDate(2026, 11, 30), 6, 35}, // Monday first: that Sunday goes to the last column
        {"7", QDate(2026, 12, 1), 3, 33},  {"9", QDate(2026, 12, 1), 3, 33}, // out of range is brought to Saturday
        {"1", QDate(2026, 2, 1), 0, 27},                                     // four full rows, two empty ones
    };
    for (const auto &c : cases) {
        ctx.settings.StartDay = c.startDay;
        for (int cell = 0; cell < 42; ++cell) {
            const GridDay day = ClassifyGridDay(ctx, cell, c.month);
            const bool inside = cell >= c.firstCell && cell <= c.lastCell;
            ASSERT_EQ(day.date.isValid(), inside) << c.startDay << " cell " << cell;
            if (inside) {
                EXPECT_EQ(day.date.day(), cell - c.firstCell + 1) << c.startDay << " cell " << cell;
                EXPECT_EQ(day.key, DayKey(day.date));
            } else {
                EXPECT_EQ(day.dayClass, DayClass::Blank);
                EXPECT_TRUE(day.key.isEmpty());
            }
        }
    }
}

TEST_F(DayClassTest, DayListsRoundTripWhole) {
    QStringList offDays, workingDays;
    for (int i = 0; i < 400; ++i) offDays << DayKey(QDate(2020, 1, 1).addDays(i)); // more than any buffer held
    workingDays << "2026/12/05"
                << "not a date";
    ASSERT_TRUE(WriteDayLists(ctx, offDays, workingDays));
    EXPECT_EQ(ReadDayList(ctx, "OFFDAY"), offDays);
    EXPECT_EQ(ReadDayList(ctx, "WEEKDAY"), workingDays);
    EXPECT_EQ(ctx.ReadData("WEEKDAY", "2026/12/05"), "2");
    EXPECT_EQ(ctx.ReadData("OFFDAY", "2020/01/01"), "1");

    ASSERT_TRUE(WriteDayLists(ctx, {}, {}));
    EXPECT_FALSE(ctx.dataFile().hasSection("OFFDAY"));
    EXPECT_FALSE(ctx.dataFile().hasSection("WEEKDAY"));
}

TEST_F(DayClassTest, AHandWrittenSecondSectionSurvivesASave) {
    // A list of 400 dates as the program writes it, and a second [OFFDAY] section added by hand further down.
    QByteArray file = "[OFFDAY]\r\n";
    QStringList offDays;
    for (int i = 0; i < 400; ++i) {
        offDays << DayKey(QDate(2020, 1, 1).addDays(i));
        file += offDays.back().toLatin1() + "=1\r\n";
    }
    file += "[WEEKDAY]\r\n2026/12/05=2\r\n[OFFDAY]\r\n; added by hand\r\n2027/01/04=1\r\n2027/01/05=1\r\n";
    app.writeBytes("Tsukiban.tdb", file);

    // The lists are saved as read: the first section goes and its entries join the one that counts now.
    ASSERT_TRUE(WriteDayLists(ctx, ReadDayList(ctx, "OFFDAY"), ReadDayList(ctx, "WEEKDAY")));
    const QStringList after = ReadDayList(ctx, "OFFDAY");
    EXPECT_EQ(after.size(), 402);
    for (const QString &key : offDays + QStringList{"2027/01/04", "2027/01/05"})
        EXPECT_TRUE(after.contains(key)) << key.toStdString();
    EXPECT_TRUE(app.bytes("Tsukiban.tdb").contains("; added by hand\r\n"));
    EXPECT_EQ(ReadDayList(ctx, "WEEKDAY"), QStringList{"2026/12/05"});
}

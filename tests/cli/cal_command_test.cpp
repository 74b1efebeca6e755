#include "cli/CalCommand.h"

#include <QProcess>

#include <gtest/gtest.h>

namespace {

struct Result {
    int status = -1;
    QString out;
    QString err;
};

Result RunCal(const QStringList &args, const QDate &today = QDate(2026, 12, 15)) {
    Result result;
    QTextStream out(&result.out);
    QTextStream err(&result.err);
    result.status = RunCalCommand(args, today, out, err);
    return result;
}

QString Utf8(const char *text) {
    return QString::fromUtf8(text);
}

const char kDecember2026[] = "        2026年12月\n"
                             "日  月  火  水  木  金  土\n"
                             "         1   2   3   4   5\n"
                             " 6   7   8   9  10  11  12\n"
                             "13  14  15  16  17  18  19\n"
                             "20  21  22  23  24  25  26\n"
                             "27  28  29  30  31\n";

} // namespace

TEST(CalCommand, MonthWithoutHolidays) {
    const Result result = RunCal({QStringLiteral("2026-12")});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, Utf8(kDecember2026));
    EXPECT_TRUE(result.err.isEmpty());
}

TEST(CalCommand, DefaultsToThisMonth) {
    EXPECT_EQ(RunCal({}, QDate(2026, 12, 31)).out, Utf8(kDecember2026));
    EXPECT_EQ(RunCal({}, QDate(2101, 1, 1)).status, 2);
}

TEST(CalCommand, HolidaysAreMarkedAndListed) {
    const Result result = RunCal({QStringLiteral("2026-05")});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, Utf8("         2026年5月\n"
                               "日  月  火  水  木  金  土\n"
                               "                     1   2\n"
                               " 3*  4*  5*  6*  7   8   9\n"
                               "10  11  12  13  14  15  16\n"
                               "17  18  19  20  21  22  23\n"
                               "24  25  26  27  28  29  30\n"
                               "31\n"
                               "\n"
                               "5/3 憲法記念日\n"
                               "5/4 みどりの日\n"
                               "5/5 こどもの日\n"
                               "5/6 振替休日\n"));
}

TEST(CalCommand, ListsOneTabSeparatedLinePerDay) {
    const Result result =
        RunCal({QStringLiteral("--list"), QStringLiteral("2023-03-20"), QStringLiteral("2023-03-22")});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, Utf8("2023-03-20\t\t2\t29\t赤口\n"
                               "2023-03-21\t春分の日\t2\t30\t先勝\n"
                               "2023-03-22\t\t閏2\t1\t友引\n"));
    EXPECT_EQ(RunCal({QStringLiteral("--list"), QStringLiteral("2000-01-01"), QStringLiteral("2000-01-01")}).out,
              Utf8("2000-01-01\t元日\t11\t25\t大安\n"));
    const Result leapYear =
        RunCal({QStringLiteral("--list"), QStringLiteral("2024-01-01"), QStringLiteral("2024-12-31")});
    EXPECT_EQ(leapYear.out.count(u'\n'), 366);
    EXPECT_EQ(leapYear.out.count(u'\t'), 366 * 4);
}

TEST(CalCommand, AcceptsTheWholeRange) {
    EXPECT_EQ(RunCal({QStringLiteral("1900-01")}).status, 0);
    EXPECT_EQ(RunCal({QStringLiteral("2100-12")}).status, 0);
    EXPECT_EQ(RunCal({QStringLiteral("--list"), QStringLiteral("1900-01-01"), QStringLiteral("1900-01-01")}).status, 0);
    EXPECT_EQ(RunCal({QStringLiteral("--list"), QStringLiteral("2100-12-31"), QStringLiteral("2100-12-31")}).status, 0);
}

TEST(CalCommand, UsageErrorsExitWithTwo) {
    // clang-format off
    const QList<QStringList> cases = {
        {"2026-13"}, {"2026-5"}, {"202605"}, {"1899-12"}, {"2101-01"}, {"2026-05", "2026-06"}, {"--verbose"},
        {"2026-05", "-x"}, {"--list"}, {"--list", "2026-01-01"}, {"--list", "2026-01-02", "2026-01-01"},
        {"--list", "2026-02-30", "2026-03-01"}, {"--list", "2026-1-01", "2026-03-01"},
        {"--list", "1899-12-31", "1900-01-01"}, {"--list", "2100-12-31", "2101-01-01"},
        {"--list", "2026-01-01", "2026-01-02", "2026-01-03"}, {"--help", "2026-05"},
    };
    // clang-format on
    for (const QStringList &args : cases) {
        const Result result = RunCal(args);
        const std::string what = args.join(u' ').toStdString();
        EXPECT_EQ(result.status, 2) << what;
        EXPECT_TRUE(result.out.isEmpty()) << what;
        EXPECT_TRUE(result.err.startsWith(QStringLiteral("tsukiban-cal: "))) << what;
        EXPECT_EQ(result.err.count(u'\n'), 1) << what;
        EXPECT_TRUE(result.err.endsWith(u'\n')) << what;
    }
}

TEST(CalCommand, HelpExitsWithZero) {
    for (const char *option : {"--help", "-h"}) {
        const Result result = RunCal({QString::fromLatin1(option)});
        EXPECT_EQ(result.status, 0) << option;
        EXPECT_TRUE(result.out.contains(QStringLiteral("tsukiban-cal --list FROM TO"))) << option;
        EXPECT_TRUE(result.err.isEmpty()) << option;
    }
}

TEST(CalCommand, TheExecutableWritesUtf8AndExitStatus) {
    const struct {
        QStringList args;
        int status;
        const char *firstLine;
    } cases[] = {
        {{"2026-12"}, 0, "        2026年12月"},
        {{"--list", "2026-01-01", "2026-12-31"}, 0, "2026-01-01\t元日\t11\t13\t大安"},
        {{"2026-13"}, 2, ""},
    };
    for (const auto &c : cases) {
        QProcess cal;
        cal.start(TSUKIBAN_CAL, c.args);
        ASSERT_TRUE(cal.waitForFinished(30000));
        EXPECT_EQ(cal.exitCode(), c.status) << c.args.join(' ').toStdString();
        const QStringList lines = QString::fromUtf8(cal.readAllStandardOutput()).split('\n');
        EXPECT_EQ(lines.front(), Utf8(c.firstLine)) << c.args.join(' ').toStdString();
        if (c.args.front() == "--list") {
            EXPECT_EQ(lines.size(), 366); // 365 days and the end of the last line
        }
        if (c.status != 0) {
            EXPECT_TRUE(QString::fromUtf8(cal.readAllStandardError()).startsWith("tsukiban-cal: "));
        }
    }
}

#include "TestApp.h"
#include "cli/CalCommand.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QProcess>
#include <QStringDecoder>

#include <gtest/gtest.h>
#include <libical/ical.h>

#include <memory>
#include <string>
#include <vector>

namespace {

struct Result {
    int status = -1;
    QString out;
    QString err;
};

// The moment the in-process runs write their files.
const QDateTime kNow(QDate(2026, 12, 15), QTime(3, 4, 5), Qt::UTC);

Result RunCal(const QStringList &args, const QDate &today = QDate(2026, 12, 15), const QDateTime &now = kNow) {
    Result result;
    QTextStream out(&result.out);
    QTextStream err(&result.err);
    result.status = RunCalCommand(args, today, out, err, {}, now);
    return result;
}

// As the program runs it, with the folder the calendar itself would keep its data in.
Result RunCalBeside(const QStringList &args, const QString &defaultDataFolder) {
    Result result;
    QTextStream out(&result.out);
    QTextStream err(&result.err);
    result.status =
        RunCalCommand(args, QDate(2026, 12, 15), out, err, [defaultDataFolder] { return defaultDataFolder; }, kNow);
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

// The memos of the data folder below, as the calendar stores them.
const struct {
    QDate day;
    const char *memo;
    const char *summary;  // of its event
    const char *listText; // its field in --list
} kMemos[] = {
    {QDate(2026, 12, 24), "会議\n資料を持参", "会議", "会議\\n資料を持参"},
    {QDate(2026, 12, 25), "A, B; C\\D", "A, B; C\\D", "A, B; C\\\\D"},
    {QDate(2026, 12, 26), "\n二行目から", "二行目から", "\\n二行目から"},
    {QDate(2026, 12, 28),
     "年末の大掃除：窓、換気扇、冷蔵庫、エアコンのフィルター、玄関、ベランダ、物置の片付けと車の洗車、それから年賀状",
     "年末の大掃除：窓、換気扇、冷蔵庫、エアコンのフィルター、玄関、ベランダ、物置の片付けと車の洗車、それから年賀状",
     "年末の大掃除：窓、換気扇、冷蔵庫、エアコンのフィルター、玄関、ベランダ、物置の片付けと車の洗車、それから年賀状"},
    {QDate(2027, 1, 1), "初詣\n\n\t親戚に挨拶", "初詣", "初詣\\n\\n\\t親戚に挨拶"},
    {QDate(2027, 2, 1), "範囲の外", "範囲の外", "範囲の外"},
};

// A program folder whose data file holds kMemos, written by the calendar's own code.
class MemoFolder {
public:
    MemoFolder() {
        for (const auto &m : kMemos)
            EXPECT_EQ(app.ctx().memos().store(m.day, Utf8(m.memo), MemoBook::Limit::None), StoreResult::Stored);
    }
    QString path() const { return app.folder(); }
    QByteArray dataFile() const { return app.bytes(QStringLiteral("Tsukiban.tdb")); }
    QStringList entries() const { return QDir(app.folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot); }

    TestApp app;
};

// One event as another calendar program reads it back.
struct ReadEvent {
    std::string text; // the fields joined, so that a difference shows as text

    bool operator==(const ReadEvent &) const = default;
    friend std::ostream &operator<<(std::ostream &os, const ReadEvent &e) { return os << e.text; }
};

ReadEvent Event(const QDate &day, const QString &uid, const QString &summary, const QString &description,
                const QString &category, bool transparent) {
    const QStringList fields = {day.toString(Qt::ISODate),
                                day.addDays(1).toString(Qt::ISODate),
                                uid,
                                summary,
                                description,
                                category,
                                transparent ? QStringLiteral("TRANSPARENT") : QString()};
    return {fields.join(u'|').toStdString()};
}

struct ComponentFree {
    void operator()(icalcomponent *c) const { icalcomponent_free(c); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

QString Text(const char *text) {
    return text ? QString::fromUtf8(text) : QString();
}

QDate DateOf(const icaltimetype &time) {
    return time.is_date ? QDate(time.year, time.month, time.day) : QDate();
}

// The events of an iCalendar file in file order, parsed by libical; fails the test when the file has errors.
std::vector<ReadEvent> ParseIcs(const QByteArray &bytes) {
    const Component calendar(icalparser_parse_string(bytes.constData()));
    EXPECT_NE(calendar, nullptr);
    if (!calendar) return {};
    EXPECT_EQ(icalcomponent_isa(calendar.get()), ICAL_VCALENDAR_COMPONENT);
    EXPECT_EQ(icalcomponent_count_errors(calendar.get()), 0);
    std::vector<ReadEvent> events;
    for (icalcomponent *e = icalcomponent_get_first_component(calendar.get(), ICAL_VEVENT_COMPONENT); e;
         e = icalcomponent_get_next_component(calendar.get(), ICAL_VEVENT_COMPONENT)) {
        const QDate start = DateOf(icalcomponent_get_dtstart(e));
        EXPECT_EQ(DateOf(icalcomponent_get_dtend(e)), start.addDays(1)) << icalcomponent_get_uid(e);
        icalproperty *category = icalcomponent_get_first_property(e, ICAL_CATEGORIES_PROPERTY);
        icalproperty *transp = icalcomponent_get_first_property(e, ICAL_TRANSP_PROPERTY);
        events.push_back(Event(start, Text(icalcomponent_get_uid(e)), Text(icalcomponent_get_summary(e)),
                               Text(icalcomponent_get_description(e)),
                               category ? Text(icalproperty_get_categories(category)) : QString(),
                               transp && icalproperty_get_transp(transp) == ICAL_TRANSP_TRANSPARENT));
    }
    return events;
}

// The file without its DTSTAMP lines, the only ones that come from the clock.
QByteArray WithoutStamps(const QByteArray &ics) {
    QByteArrayList kept;
    for (const QByteArray &line : ics.split('\n'))
        if (!line.startsWith("DTSTAMP:")) kept << line;
    return kept.join('\n');
}

// Lines end with CR LF, none is longer than 75 octets, and none ends inside a UTF-8 character.
void ExpectFoldedLines(const QByteArray &bytes) {
    ASSERT_TRUE(bytes.endsWith("\r\n"));
    const QList<QByteArray> lines = bytes.chopped(2).split('\n');
    for (const QByteArray &line : lines) {
        ASSERT_TRUE(line.endsWith('\r') || &line == &lines.back()) << line.toStdString();
        const QByteArray text = &line == &lines.back() ? line : line.chopped(1);
        EXPECT_FALSE(text.contains('\r')) << line.toStdString();
        EXPECT_LE(text.size(), 75) << line.toStdString();
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString decoded = utf8.decode(text);
        EXPECT_FALSE(utf8.hasError()) << line.toStdString();
    }
}

// A usage error: nothing on standard output, one line on standard error, exit status 2.
void ExpectUsageError(const Result &result, const std::string &what) {
    EXPECT_EQ(result.status, 2) << what;
    EXPECT_TRUE(result.out.isEmpty()) << what;
    EXPECT_TRUE(result.err.startsWith(QStringLiteral("tsukiban-cal: "))) << what;
    EXPECT_EQ(result.err.count(u'\n'), 1) << what;
    EXPECT_TRUE(result.err.endsWith(u'\n')) << what;
}

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
        {"--list", "2026-01-01", "2026-01-02", "2026-01-03"}, {"--help", "2026-05"}, {"--version", "2026-05"},
        {"2026-05", "--version"}, {"--version", "--help"},
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

TEST(CalCommand, HelpAndVersionExitWithZero) {
    const struct {
        const char *option;
        const char *says;
    } cases[] = {
        {"--help", "tsukiban-cal --list FROM TO"},
        {"-h", "tsukiban-cal --list FROM TO"},
        {"--version", "tsukiban-cal 2.5.0 (ツキバン)\n"},
        {"-v", "GNU 一般公衆利用許諾書（GPL）バージョン 3"},
    };
    for (const auto &c : cases) {
        const Result result = RunCal({QString::fromLatin1(c.option)});
        EXPECT_EQ(result.status, 0) << c.option;
        EXPECT_TRUE(result.out.contains(Utf8(c.says))) << c.option << "\n" << result.out.toStdString();
        EXPECT_TRUE(result.err.isEmpty()) << c.option;
    }
    EXPECT_TRUE(RunCal({QStringLiteral("--help")}).out.contains(QStringLiteral("tsukiban-cal --help | --version")));
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
        {{"--version"}, 0, "tsukiban-cal 2.5.0 (ツキバン)"},
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

TEST(CalCommand, ListWithDataAddsTheMemo) {
    const MemoFolder data;
    const Result plain = RunCal({QStringLiteral("--list"), QStringLiteral("2026-12-20"), QStringLiteral("2027-01-11")});
    const Result withMemos = RunCal({QStringLiteral("--list"), QStringLiteral("2026-12-20"),
                                     QStringLiteral("2027-01-11"), QStringLiteral("--data"), data.path()});
    EXPECT_EQ(withMemos.status, 0);
    EXPECT_TRUE(withMemos.err.isEmpty());
    const QStringList plainLines = plain.out.split(u'\n');
    const QStringList lines = withMemos.out.split(u'\n');
    ASSERT_EQ(lines.size(), 24); // 23 days and the end of the last line
    ASSERT_EQ(plainLines.size(), lines.size());
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        QString field;
        for (const auto &m : kMemos)
            if (plainLines.at(i).startsWith(m.day.toString(Qt::ISODate))) field = Utf8(m.listText);
        EXPECT_EQ(lines.at(i), plainLines.at(i) + u'\t' + field);
        EXPECT_EQ(lines.at(i).count(u'\t'), 5);
    }
    // --data may also come first.
    EXPECT_EQ(RunCal({QStringLiteral("--data"), data.path(), QStringLiteral("--list"), QStringLiteral("2026-12-20"),
                      QStringLiteral("2027-01-11")})
                  .out,
              withMemos.out);
}

TEST(CalCommand, ListWithoutDataShowsNoMemos) {
    const MemoFolder data;
    const QStringList args = {QStringLiteral("--list"), QStringLiteral("2026-12-24"), QStringLiteral("2026-12-24")};
    const Result result = RunCalBeside(args, data.path());
    EXPECT_EQ(result.out, RunCal(args).out);
    EXPECT_EQ(result.out.count(u'\t'), 4);
}

TEST(CalCommand, IcsHoldsTheMemosAndHolidaysOfTheRange) {
    const MemoFolder data;
    const QByteArray before = data.dataFile();
    const QStringList entries = data.entries();
    const QStringList args = {QStringLiteral("--ics"), QStringLiteral("2026-12-20"), QStringLiteral("2027-01-11"),
                              QStringLiteral("--data"), data.path()};
    const Result result = RunCal(args);
    EXPECT_EQ(result.status, 0);
    EXPECT_TRUE(result.err.isEmpty());
    const QByteArray bytes = result.out.toUtf8();
    EXPECT_TRUE(bytes.startsWith("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Tsukiban//tsukiban-cal//JA\r\n"
                                 "CALSCALE:GREGORIAN\r\n"));

    const auto memo = [](int i) {
        const auto &m = kMemos[i];
        return Event(m.day, QStringLiteral("memo-%1@tsukiban").arg(m.day.toString(QStringLiteral("yyyyMMdd"))),
                     Utf8(m.summary), Utf8(m.memo), QString(), false);
    };
    const auto holiday = [](const QDate &day, const char *name) {
        return Event(day, QStringLiteral("holiday-%1@tsukiban").arg(day.toString(QStringLiteral("yyyyMMdd"))),
                     Utf8(name), QString(), Utf8("祝日"), true);
    };
    const std::vector<ReadEvent> expected = {
        memo(0),
        memo(1),
        memo(2),
        memo(3),
        holiday(QDate(2027, 1, 1), "元日"),
        memo(4),
        holiday(QDate(2027, 1, 11), "成人の日"),
    };
    EXPECT_EQ(ParseIcs(bytes), expected);
    ExpectFoldedLines(bytes);
    EXPECT_TRUE(bytes.contains("\r\n ")) << "the long memo is folded";

    EXPECT_EQ(RunCal(args).out.toUtf8(), bytes);
    EXPECT_EQ(data.dataFile(), before);
    EXPECT_EQ(data.entries(), entries);
}

TEST(CalCommand, IcsOfAHolidayIsExactlyThis) {
    const Result result = RunCal({QStringLiteral("--ics"), QStringLiteral("2026-01-01"), QStringLiteral("2026-01-01")});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, Utf8("BEGIN:VCALENDAR\r\n"
                               "VERSION:2.0\r\n"
                               "PRODID:-//Tsukiban//tsukiban-cal//JA\r\n"
                               "CALSCALE:GREGORIAN\r\n"
                               "BEGIN:VEVENT\r\n"
                               "UID:holiday-20260101@tsukiban\r\n"
                               "DTSTAMP:20261215T030405Z\r\n"
                               "DTSTART;VALUE=DATE:20260101\r\n"
                               "DTEND;VALUE=DATE:20260102\r\n"
                               "SUMMARY:元日\r\n"
                               "CATEGORIES:祝日\r\n"
                               "TRANSP:TRANSPARENT\r\n"
                               "END:VEVENT\r\n"
                               "END:VCALENDAR\r\n"));
}

TEST(CalCommand, IcsReadsTheCalendarsOwnDataWithoutData) {
    const MemoFolder data;
    const QStringList range = {QStringLiteral("--ics"), QStringLiteral("2026-12-24"), QStringLiteral("2026-12-24")};
    const Result result = RunCalBeside(range, data.path());
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(ParseIcs(result.out.toUtf8()).size(), 1u);
    EXPECT_EQ(result.out, RunCal(range + QStringList{QStringLiteral("--data"), data.path()}).out);
    // --data wins over the calendar's own folder.
    const QTemporaryDir empty;
    QFile(QDir(empty.path()).filePath(QStringLiteral("Tsukiban.tdb"))).open(QIODevice::WriteOnly);
    EXPECT_TRUE(
        ParseIcs(RunCalBeside(range + QStringList{QStringLiteral("--data"), empty.path()}, data.path()).out.toUtf8())
            .empty());
}

TEST(CalCommand, ADataFolderWithoutTheDataFileFailsWithTwo) {
    const QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("missing"));
    const QString plainFile = dir.filePath(QStringLiteral("plain"));
    QFile(plainFile).open(QIODevice::WriteOnly);
    const QString tdb = QDir::toNativeSeparators(dir.filePath(QStringLiteral("Tsukiban.tdb")));
    // A folder that is not there, a plain file, a folder without Tsukiban.tdb: each is one line and status 2.
    const std::pair<QString, QString> cases[] = {
        {missing, Utf8("tsukiban-cal: データフォルダーがありません: ") + QDir::toNativeSeparators(missing)},
        {plainFile, Utf8("tsukiban-cal: データフォルダーがありません: ") + QDir::toNativeSeparators(plainFile)},
        {dir.path(), Utf8("tsukiban-cal: データファイルがありません: ") + tdb},
    };
    for (const auto &[folder, message] : cases) {
        for (const char *option : {"--list", "--ics"}) {
            const Result result = RunCal({QString::fromLatin1(option), QStringLiteral("2027-01-01"),
                                          QStringLiteral("2027-01-01"), QStringLiteral("--data"), folder});
            EXPECT_EQ(result.status, 2) << option << " " << folder.toStdString();
            EXPECT_TRUE(result.out.isEmpty()) << option;
            EXPECT_EQ(result.err, message + u'\n') << option;
        }
    }
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_FALSE(QFileInfo::exists(tdb)); // nothing is made where the user pointed
}

TEST(CalCommand, AnUnreadableDataFileFailsWithTwo) {
    const QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Tsukiban.tdb"))); // readable by no user, root included
    for (const char *option : {"--list", "--ics"}) {
        const Result result = RunCal({QString::fromLatin1(option), QStringLiteral("2027-01-01"),
                                      QStringLiteral("2027-01-01"), QStringLiteral("--data"), dir.path()});
        EXPECT_EQ(result.status, 2) << option;
        EXPECT_TRUE(result.out.isEmpty()) << option;
        EXPECT_EQ(result.err, Utf8("tsukiban-cal: ファイルを読み込めませんでした。") +
                                  QDir::toNativeSeparators(dir.filePath(QStringLiteral("Tsukiban.tdb"))) + u'\n')
            << option;
    }
}

TEST(CalCommand, DataAndIcsUsageErrorsExitWithTwo) {
    // clang-format off
    const QList<QStringList> cases = {
        {"--ics"}, {"--ics", "2026-01-01"}, {"--ics", "2026-01-02", "2026-01-01"}, {"--ics", "2026-02-30", "2026-03-01"},
        {"--ics", "1899-12-31", "1900-01-01"}, {"--ics", "2100-12-31", "2101-01-01"},
        {"--ics", "2026-01-01", "2026-01-02", "2026-01-03"}, {"--ics", "2026-01-01", "2026-01-02", "--list"},
        {"--list", "2026-01-01", "2026-01-02", "--data"}, {"--list", "2026-01-01", "2026-01-02", "--data", ""},
        {"--data", "--list", "2026-01-01", "2026-01-02"}, {"--data", "/tmp"}, {"2026-05", "--data", "/tmp"},
        {"--help", "--data", "/tmp"}, {"--list", "2026-01-01", "2026-01-02", "--data", "/tmp", "--data", "/tmp"},
        {"--ics", "2026-01-01", "2026-01-02", "--dat", "/tmp"},
    };
    // clang-format on
    for (const QStringList &args : cases) ExpectUsageError(RunCal(args), args.join(u' ').toStdString());
}

TEST(CalCommand, HelpNamesTheNewOptions) {
    const QString usage = RunCal({QStringLiteral("--help")}).out;
    for (const char *line :
         {"tsukiban-cal --list FROM TO [--data FOLDER]", "tsukiban-cal --ics FROM TO [--data FOLDER]"})
        EXPECT_TRUE(usage.contains(QString::fromLatin1(line))) << line;
}

TEST(CalCommand, TheExecutableWritesTheSameIcsBytes) {
    const MemoFolder data;
    const QStringList args = {QStringLiteral("--ics"), QStringLiteral("2026-12-01"), QStringLiteral("2027-01-31"),
                              QStringLiteral("--data"), data.path()};
    const QByteArray expected = WithoutStamps(RunCal(args).out.toUtf8());
    ASSERT_FALSE(expected.isEmpty());
    for (int run = 0; run < 2; ++run) {
        QProcess cal;
        const QDateTime started = QDateTime::currentDateTimeUtc().addSecs(-1);
        cal.start(TSUKIBAN_CAL, args);
        ASSERT_TRUE(cal.waitForFinished(30000));
        const QDateTime ended = QDateTime::currentDateTimeUtc().addSecs(1);
        EXPECT_EQ(cal.exitCode(), 0);
        const QByteArray written = cal.readAllStandardOutput();
        EXPECT_EQ(WithoutStamps(written), expected) << "run " << run;
        EXPECT_TRUE(cal.readAllStandardError().isEmpty());
        // Stamped with the moment it ran, in UTC.
        const qsizetype at = written.indexOf("DTSTAMP:");
        ASSERT_GE(at, 0);
        const QDateTime stamp =
            QDateTime::fromString(QString::fromLatin1(written.mid(at + 8, 16)), QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
        ASSERT_TRUE(stamp.isValid());
        const QDateTime utc(stamp.date(), stamp.time(), Qt::UTC);
        EXPECT_LE(started, utc);
        EXPECT_LE(utc, ended);
    }
}

TEST(CalCommand, AChangedMemoIsANewerRevisionOfItsEvent) {
    MemoFolder data;
    const QString file = data.app.path(QStringLiteral("Tsukiban.tdb"));
    const auto setModified = [&](const QDateTime &when) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(when, QFileDevice::FileModificationTime));
    };
    const QDateTime first(QDate(2026, 12, 1), QTime(8, 0), Qt::UTC);
    setModified(first);
    const QStringList args = {QStringLiteral("--ics"), QStringLiteral("2026-12-24"), QStringLiteral("2026-12-24"),
                              QStringLiteral("--data"), data.path()};
    // Of the memo's event: stamp, last change, sequence.
    const auto revision = [&](const QDateTime &now) {
        const Component calendar(icalparser_parse_string(RunCal(args, QDate(2026, 12, 15), now).out.toUtf8().constData()));
        icalcomponent *e = calendar ? icalcomponent_get_first_component(calendar.get(), ICAL_VEVENT_COMPONENT) : nullptr;
        if (!e) return std::string("no event");
        icalproperty *modified = icalcomponent_get_first_property(e, ICAL_LASTMODIFIED_PROPERTY);
        return std::string(icaltime_as_ical_string(icalcomponent_get_dtstamp(e))) + ' ' +
               (modified ? icaltime_as_ical_string(icalproperty_get_lastmodified(modified)) : "-") + ' ' +
               std::to_string(icalcomponent_get_sequence(e));
    };
    const int firstSequence = int(QDateTime(QDate(2000, 1, 1), QTime(0, 0), Qt::UTC).secsTo(first));
    EXPECT_EQ(revision(kNow), "20261215T030405Z 20261201T080000Z " + std::to_string(firstSequence));
    // Another run later on the same file: only the stamp differs.
    const QDateTime later = kNow.addDays(3);
    EXPECT_EQ(WithoutStamps(RunCal(args, QDate(2026, 12, 18), later).out.toUtf8()),
              WithoutStamps(RunCal(args).out.toUtf8()));
    EXPECT_EQ(revision(later), "20261218T030405Z 20261201T080000Z " + std::to_string(firstSequence));

    // The memo changed: a later change and a higher sequence.
    ASSERT_EQ(data.app.ctx().memos().store(QDate(2026, 12, 24), Utf8("会議は中止")), StoreResult::Stored);
    setModified(first.addSecs(90));
    EXPECT_EQ(revision(later), "20261218T030405Z 20261201T080130Z " + std::to_string(firstSequence + 90));
}

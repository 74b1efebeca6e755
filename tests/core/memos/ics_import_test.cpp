#include "TestApp.h"
#include "core/memos/IcsAppointments.h"
#include "core/memos/MemoBook.h"
#include "core/memos/ScheduleImport.h"
#include "core/system/Cp932.h"

#include <QFile>

#include <sys/stat.h>

#include <gtest/gtest.h>

namespace {

const QTimeZone kTokyo("Asia/Tokyo");

QByteArray Fixture(const char *name) {
    QFile file(QStringLiteral(SCHEDULE_FIXTURES "/") + QString::fromLatin1(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}

QByteArray Calendar(const QByteArray &events) {
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n" + events + "END:VCALENDAR\r\n";
}

QByteArray Event(const QByteArray &properties) {
    return "BEGIN:VEVENT\r\nUID:x\r\nDTSTAMP:20261201T000000Z\r\n" + properties + "END:VEVENT\r\n";
}

// "yyyy/MM/dd HH:mm-HH:mm subject" for each row.
QStringList Rows(const IcsAppointments &read) {
    QStringList rows;
    for (const Appointment &a : read.appointments) {
        const AppointmentCells c = CellsOf(a);
        rows << c[0] + u' ' + c[1] + u'-' + c[2] + u' ' + c[3];
    }
    return rows;
}

Appointment At(const char *start, const char *subject, const char *body = "") {
    const QDateTime when = QDateTime::fromString(QString::fromLatin1(start), Qt::ISODate);
    return {when, when.addSecs(3600), QString::fromUtf8(subject), {}, {}, QString::fromUtf8(body)};
}

} // namespace

TEST(IcsAppointments, ACalendarProgramsExportInLocalTime) {
    const IcsAppointments read =
        ReadIcsAppointments(Fixture("work.ics"), QDate(2026, 10, 1), QDate(2026, 12, 31), kTokyo);
    ASSERT_TRUE(read.ok()) << read.error.reason.toStdString();
    // The weekly meeting in New York moves by an hour when daylight saving time ends there on 1 November; 2 December
    // is left out, 9 December moved to the next day and 16 December cancelled. Then, in the order of the file, the
    // moved meeting (4:00 in Tokyo on the 11th), a whole day, a UTC time, a Tokyo time with a duration and a floating
    // time with no end. The cancelled meeting and the to-do are not there.
    const QStringList expected{
        "2026/10/21 22:00-23:00 NY定例",         "2026/10/28 22:00-23:00 NY定例",
        "2026/11/04 23:00-00:00 NY定例",         "2026/11/11 23:00-00:00 NY定例",
        "2026/11/18 23:00-00:00 NY定例",         "2026/11/25 23:00-00:00 NY定例",
        "2026/12/23 23:00-00:00 NY定例",         "2026/12/30 23:00-00:00 NY定例",
        "2026/12/11 04:00-05:00 NY定例（振替）", "2026/12/23 00:00-00:00 大掃除",
        "2026/12/08 10:00-11:30 企画会議",       "2026/12/18 18:00-20:00 忘年会",
        "2026/12/24 19:00-19:00 🎄 Noël パーティー",
    };
    EXPECT_EQ(Rows(read), expected);

    const Appointment &meeting = read.appointments[10];
    EXPECT_EQ(meeting.attendees, QString::fromUtf8("山田太郎; suzuki@example.jp")); // required ones only
    EXPECT_EQ(meeting.location, QString::fromUtf8("本社 3F 会議室A"));
    EXPECT_EQ(meeting.body, QString::fromUtf8("議題:\n1. 来期の予算\n2. 日程, 担当の確認\n\n資料は共有フォルダにあります。"));
}

TEST(IcsAppointments, OnlyWhatStartsOnTheChosenDays) {
    const QByteArray work = Fixture("work.ics");
    const struct {
        QDate from, to;
        QStringList rows;
    } cases[] = {
        // The moved meeting is on the 10th in New York and on the 11th here.
        {QDate(2026, 12, 8), QDate(2026, 12, 11), {"2026/12/11 04:00-05:00 NY定例（振替）", "2026/12/08 10:00-11:30 企画会議"}},
        {QDate(2026, 12, 10), QDate(2026, 12, 10), {}},
        {QDate(2026, 12, 24), QDate(2026, 12, 24), {"2026/12/24 19:00-19:00 🎄 Noël パーティー"}},
        {QDate(2026, 12, 31), QDate(2026, 12, 1), {}}, // from after to
        {QDate(2027, 1, 1), QDate(2027, 12, 31), {}},  // after the rule's end
    };
    for (const auto &c : cases) {
        const IcsAppointments read = ReadIcsAppointments(work, c.from, c.to, kTokyo);
        ASSERT_TRUE(read.ok());
        EXPECT_EQ(Rows(read), c.rows) << c.from.toString().toStdString();
    }
}

TEST(IcsAppointments, RecurrencesAreFollowedIntoTheChosenDaysOnly) {
    const QByteArray daily = Calendar(Event("DTSTART:20000101T090000\r\nRRULE:FREQ=DAILY\r\nSUMMARY:d\r\n"));
    EXPECT_EQ(ReadIcsAppointments(daily, QDate(2026, 12, 1), QDate(2026, 12, 31), kTokyo).appointments.size(), 31u);
    // Counted from its start: the 10th of 20 occurrences.
    const QByteArray counted =
        Calendar(Event("DTSTART;VALUE=DATE:20261201\r\nRRULE:FREQ=DAILY;COUNT=20\r\nRDATE;VALUE=DATE:20261231\r\n"
                       "EXDATE;VALUE=DATE:20261215\r\nSUMMARY:c\r\n"));
    const IcsAppointments tenDays = ReadIcsAppointments(counted, QDate(2026, 12, 10), QDate(2026, 12, 31), kTokyo);
    EXPECT_EQ(tenDays.appointments.size(), 11u);
    EXPECT_FALSE(tenDays.cut);
    // Every second for ever, from 1970: bounded, and still what the chosen day holds first.
    const QByteArray endless = Calendar(Event("DTSTART:19700101T000000Z\r\nRRULE:FREQ=SECONDLY\r\nSUMMARY:s\r\n"));
    const IcsAppointments read = ReadIcsAppointments(endless, QDate(2026, 12, 1), QDate(2026, 12, 1), kTokyo);
    ASSERT_TRUE(read.ok());
    ASSERT_FALSE(read.appointments.empty());
    EXPECT_TRUE(read.cut);
    EXPECT_EQ(read.appointments.front().start, QDateTime(QDate(2026, 12, 1), QTime(0, 0), kTokyo));
    // Rules that never match (a 30th of February) would keep libical's iterator looking, unit by unit, until 2037.
    for (const char *rule : {"FREQ=MINUTELY;BYMONTH=2;BYMONTHDAY=30", "FREQ=SECONDLY;BYMONTH=2;BYMONTHDAY=30;COUNT=5",
                             "FREQ=HOURLY;BYMONTH=2;BYMONTHDAY=30;UNTIL=20371231T000000Z"}) {
        const QByteArray never =
            Calendar(Event("DTSTART:20000101T090000\r\nRRULE:" + QByteArray(rule) + "\r\nSUMMARY:n\r\n"));
        EXPECT_TRUE(ReadIcsAppointments(never, QDate(2026, 12, 1), QDate(2026, 12, 31), kTokyo).appointments.empty())
            << rule;
    }
    // A rule libical cannot follow leaves the start alone.
    const QByteArray broken = Calendar(Event("DTSTART:20261201T090000\r\nRRULE:FREQ=NEVER\r\nSUMMARY:b\r\n"));
    EXPECT_EQ(Rows(ReadIcsAppointments(broken, QDate(2026, 12, 1), QDate(2026, 12, 31), kTokyo)),
              QStringList{"2026/12/01 09:00-09:00 b"});
}

TEST(IcsAppointments, FilesThatAreNotWholeICalendarGiveNoRows) {
    const QByteArray work = Fixture("work.ics");
    const struct {
        const char *what;
        QByteArray bytes;
        int number;
        const char *reason;
    } cases[] = {
        {"cut off", work.left(work.size() / 2), 62, "ファイル「a.ics」は途中で終わっています。"},
        {"cut after an event", work.left(work.lastIndexOf("END:VCALENDAR")), 62,
         "ファイル「a.ics」は途中で終わっています。"},
        {"text", "今日は晴れ\r\n", 321, "ファイル「a.ics」は iCalendar 形式ではありません。"},
        {"empty", "", 321, "ファイル「a.ics」は iCalendar 形式ではありません。"},
        {"binary", QByteArray("BEGIN:VCALENDAR\r\n\0\0\x01", 20) + work, 321,
         "ファイル「a.ics」は iCalendar 形式ではありません。"},
        {"a lone event", Event("DTSTART:20261201T090000Z\r\n"), 321,
         "ファイル「a.ics」は iCalendar 形式ではありません。"},
        {"no start", Calendar(Event("SUMMARY:x\r\n")), 321,
         "ファイル「a.ics」に開始日時（DTSTART）のない予定があります。"},
        {"a start that is no time", Calendar(Event("DTSTART:2026XX01\r\n")), 321,
         "ファイル「a.ics」に開始日時（DTSTART）のない予定があります。"},
    };
    for (const auto &c : cases) {
        const IcsAppointments read =
            ReadIcsAppointments(c.bytes, QDate(2000, 1, 1), QDate(2030, 12, 31), kTokyo, {}, "a.ics");
        EXPECT_EQ(read.error.number, c.number) << c.what;
        EXPECT_EQ(read.error.reason, QString::fromUtf8(c.reason)) << c.what;
        EXPECT_TRUE(read.appointments.empty()) << c.what;
    }

    TestApp app;
    const auto fileError = [&](const QString &path) {
        return ReadIcsFile(path, QDate(2026, 1, 1), QDate(2026, 12, 31), kTokyo).error;
    };
    EXPECT_EQ(fileError(app.path("none.ics")).number, 53);
    EXPECT_EQ(fileError(app.path("none.ics")).reason,
              QString::fromUtf8("ファイル「%1」が見つかりません。").arg(app.path("none.ics")));
    EXPECT_EQ(fileError(app.folder()).number, 57);
}

TEST(IcsAppointments, ReadsMarkedUtf8Utf16AndShiftJisFiles) {
    const QByteArray utf8 = Calendar(Event("DTSTART:20261201T090000\r\nSUMMARY:年末調整\r\n"));
    const QString text = QString::fromUtf8(utf8);
    QByteArray utf16("\xFF\xFE");
    utf16.append(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    const QByteArray inputs[] = {"\xEF\xBB\xBF" + utf8, utf16, *Cp932::encode(text)};
    for (const QByteArray &bytes : inputs) {
        const IcsAppointments read = ReadIcsAppointments(bytes, QDate(2026, 12, 1), QDate(2026, 12, 1), kTokyo);
        EXPECT_EQ(Rows(read), QStringList{"2026/12/01 09:00-09:00 年末調整"}) << bytes.left(3).toHex().toStdString();
    }
}

TEST(IcsAppointments, ProgressGoesThroughEveryEvent) {
    QByteArray events;
    for (int i = 0; i < 50; ++i) events += Event("DTSTART:20261201T090000\r\nSUMMARY:e\r\n");
    std::vector<qsizetype> told;
    ReadIcsAppointments(Calendar(events), QDate(2026, 12, 1), QDate(2026, 12, 1), kTokyo,
                        [&](qsizetype done, qsizetype total) {
                            EXPECT_EQ(total, 50);
                            told.push_back(done);
                        });
    ASSERT_EQ(told.size(), 51u);
    EXPECT_EQ(told.front(), 0);
    EXPECT_EQ(told.back(), 50);
}

TEST(ScheduleImport, TextOfTheChosenFields) {
    const AppointmentCells cells{"2006/11/25", "10:00", "11:00", "Meeting", "", "", "a\r\nb"};
    const auto choice = [](std::array<bool, 7> fields, bool names, int style, int separator) {
        ImportChoice c;
        c.fields = fields;
        c.withNames = names;
        c.nameStyle = style;
        c.nameLeft = "<";
        c.nameRight = ">";
        c.separator = separator;
        c.separatorText = "//";
        return c;
    };
    const std::array<bool, 7> dateStartSubject{true, true, false, true, false, false, false};
    const struct {
        ImportChoice choice;
        const char *text;
    } cases[] = {
        {choice(dateStartSubject, true, 0, 0), "[開催日] 2006/11/25,[開始] 10:00,[件名] Meeting,"},
        {choice(dateStartSubject, true, 0, 3), "[開催日] 2006/11/25\r\n[開始] 10:00\r\n[件名] Meeting\r\n"},
        {choice(dateStartSubject, false, 0, 1), "2006/11/25;10:00;Meeting;"},
        {choice(dateStartSubject, false, 0, -1), "2006/11/2510:00Meeting"},
        {choice(dateStartSubject, true, 1, 2), "【開催日】 2006/11/25:【開始】 10:00:【件名】 Meeting:"},
        {choice(dateStartSubject, true, 2, 4), "<開催日> 2006/11/25//<開始> 10:00//<件名> Meeting//"},
        {choice({false, false, false, false, false, false, true}, true, 0, 0), "[本文] a\r\nb,"},
    };
    for (const auto &c : cases) EXPECT_EQ(ImportText(cells, c.choice), QString::fromUtf8(c.text)) << c.text;
    EXPECT_FALSE(choice({}, true, 0, 0).anyField());
}

TEST(ScheduleImport, AppendsFromTheLastRowUpAfterTheMemoOfTheDay) {
    TestApp app;
    MemoBook &memos = app.ctx().memos();
    ASSERT_EQ(memos.store(QDate(2006, 11, 25), "既存"), StoreResult::Stored);
    std::vector<QDate> told;
    QObject::connect(&memos, &MemoBook::memoChanged, [&](const QDate &d) { told.push_back(d); });
    ImportChoice c;
    c.fields = {false, true, false, true, false, false, true};
    c.withNames = false;
    c.separator = 0;
    const std::vector<Appointment> rows{At("2006-11-25T10:00", "朝会"), At("2006-11-26T09:00", "😀 Café", "1\n2\r3"),
                                        At("2006-11-25T15:00", "打合せ")};
    std::vector<qsizetype> progress;
    const ImportOutcome outcome = ImportAppointments(memos, rows, c, [&](qsizetype n) { progress.push_back(n); });
    EXPECT_TRUE(outcome.written);
    EXPECT_EQ(outcome.replaced, 2);
    EXPECT_EQ(progress, (std::vector<qsizetype>{1, 2, 3}));
    // Every line break of a field, of whatever kind, is one stored line break; one write for all.
    EXPECT_EQ(app.bytes("Tsukiban.tdb"),
              Sjis("[PROGRAM]\r\n2006/11/25=既存\\CRLF\\15:00,打合せ,,\\CRLF\\10:00,朝会,,\r\n"
                   "2006/11/26=09:00,〓 Caf〓,1\\CRLF\\2\\CRLF\\3,\r\n"));
    EXPECT_EQ(told, (std::vector<QDate>{QDate(2006, 11, 25), QDate(2006, 11, 26)}));

    // Twice imported, twice there.
    ImportAppointments(memos, {rows[0]}, c);
    EXPECT_EQ(memos.memo(QDate(2006, 11, 25)).count(QString::fromUtf8("朝会")), 2);
}

namespace {

// A New York zone as Outlook and Google write it beside their events.
const QByteArray kNewYork = "BEGIN:VTIMEZONE\r\nTZID:America/New_York\r\n"
                            "BEGIN:DAYLIGHT\r\nTZOFFSETFROM:-0500\r\nTZOFFSETTO:-0400\r\nDTSTART:19700308T020000\r\n"
                            "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=2SU\r\nEND:DAYLIGHT\r\n"
                            "BEGIN:STANDARD\r\nTZOFFSETFROM:-0400\r\nTZOFFSETTO:-0500\r\nDTSTART:19701101T020000\r\n"
                            "RRULE:FREQ=YEARLY;BYMONTH=11;BYDAY=1SU\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\n";

// Folds a content line every 75 octets, as RFC 5545 says, without regard for where a character ends.
QByteArray FoldedAt75(const QByteArray &line, const QByteArray &lineEnd) {
    QByteArray out = line.left(75);
    for (qsizetype at = 75; at < line.size(); at += 74) out += lineEnd + ' ' + line.mid(at, 74);
    return out + lineEnd;
}

// The file's appointments, imported with the body and separated by line breaks without names; the data file after.
QByteArray ImportedBytes(TestApp &app, const QByteArray &file, const QDate &day) {
    app.writeBytes("in.ics", file);
    const IcsAppointments read = ReadIcsFile(app.path("in.ics"), day, day, kTokyo);
    EXPECT_TRUE(read.ok()) << read.error.reason.toStdString();
    ImportChoice choice;
    choice.fields = {false, false, false, true, false, false, true};
    choice.withNames = false;
    EXPECT_TRUE(ImportAppointments(app.ctx().memos(), read.appointments, choice).written);
    return app.bytes("Tsukiban.tdb");
}

} // namespace

TEST(IcsAppointments, LinesFoldedInsideACharacterKeepTheirJapanese) {
    const QString summary = QString::fromUtf8("第3四半期の営業戦略会議（大阪・名古屋・福岡の各支店と本社を結んだオンライン会議）");
    const QString body = QString::fromUtf8("議題は来期の予算配分、新しい顧客管理システムの導入時期、年末年始の営業体制です。"
                                           "資料は前日までに共有フォルダに置いてください。");
    for (const QByteArray &lineEnd : {QByteArray("\r\n"), QByteArray("\n")}) {
        SCOPED_TRACE(lineEnd == "\n" ? "LF" : "CR LF");
        QByteArray file = "BEGIN:VCALENDAR" + lineEnd + "VERSION:2.0" + lineEnd + "BEGIN:VEVENT" + lineEnd +
                          "UID:f" + lineEnd + "DTSTART:20261201T090000" + lineEnd;
        const QByteArray folded = FoldedAt75("SUMMARY:" + summary.toUtf8(), lineEnd) +
                                  FoldedAt75("DESCRIPTION:" + body.toUtf8(), lineEnd);
        // The cuts fall inside characters: the folded bytes alone are no UTF-8.
        ASSERT_FALSE(QByteArrayView(folded).isValidUtf8());
        file += folded + "END:VEVENT" + lineEnd + "END:VCALENDAR" + lineEnd;

        TestApp app;
        EXPECT_EQ(ImportedBytes(app, file, QDate(2026, 12, 1)),
                  *Cp932::encode(QStringLiteral("[PROGRAM]\r\n2026/12/01=") + summary + QStringLiteral("\\CRLF\\") +
                                 body + QStringLiteral("\\CRLF\\\r\n")));
    }
    // A Shift-JIS file folded inside a double-byte character is read as Shift-JIS.
    const QByteArray sjis = *Cp932::encode(QStringLiteral("SUMMARY:") + summary);
    const QByteArray file = Calendar(Event("DTSTART:20261201T090000\r\n" + FoldedAt75(sjis, "\r\n")));
    const IcsAppointments read = ReadIcsAppointments(file, QDate(2026, 12, 1), QDate(2026, 12, 1), kTokyo);
    ASSERT_EQ(read.appointments.size(), 1u);
    EXPECT_EQ(read.appointments[0].subject, summary);
}

TEST(IcsAppointments, TimesTheClocksSkipOrRepeatAreReadAsICalendarSays) {
    // 14 March 2027 New York puts its clocks forward at 2:00, 1 November 2026 back at 2:00.
    const struct {
        const char *start;
        const char *tokyo;
    } cases[] = {
        {"20270314T013000", "2027/03/14 15:30"}, // before the change, EST
        {"20270314T023000", "2027/03/14 16:30"}, // no such time: the offset before the gap
        {"20270314T033000", "2027/03/14 16:30"}, // EDT
        {"20261101T003000", "2026/11/01 13:30"}, // EDT
        {"20261101T013000", "2026/11/01 14:30"}, // twice that night: the first, still EDT
        {"20261101T023000", "2026/11/01 16:30"}, // EST
    };
    for (const bool ownZone : {true, false}) {
        for (const auto &c : cases) {
            SCOPED_TRACE(std::string(c.start) + (ownZone ? " with the file's zone" : " with the zone libical knows"));
            TestApp app;
            const QByteArray file =
                Calendar((ownZone ? kNewYork : QByteArray()) +
                         Event("DTSTART;TZID=America/New_York:" + QByteArray(c.start) + "\r\nSUMMARY:NY\r\n"));
            app.writeBytes("ny.ics", file);
            const IcsAppointments read = ReadIcsFile(app.path("ny.ics"), QDate(2026, 10, 1), QDate(2027, 3, 31), kTokyo);
            ASSERT_EQ(read.appointments.size(), 1u);
            const AppointmentCells cells = CellsOf(read.appointments[0]);
            EXPECT_EQ(cells[0] + u' ' + cells[1], QString::fromLatin1(c.tokyo));
        }
    }
}

TEST(IcsAppointments, TextAfterABareLineBreakStaysInTheValue) {
    // A CR LF file whose description holds line breaks written as they are: LF, CR, an empty line between, and a
    // line with a colon that names no property.
    const QByteArray file = Calendar(Event("DTSTART:20261201T090000\r\nSUMMARY:打合せ\r\n"
                                           "DESCRIPTION:1行目\n2行目\r3行目\n\nTime: 10:00\r\n"
                                           "LOCATION:会議室\r\n")) +
                            "\r\n\r\n";
    TestApp app;
    EXPECT_EQ(ImportedBytes(app, file, QDate(2026, 12, 1)),
              Sjis("[PROGRAM]\r\n2026/12/01=打合せ\\CRLF\\1行目\\CRLF\\2行目\\CRLF\\3行目\\CRLF\\\\CRLF\\Time: 10:00"
                   "\\CRLF\\\r\n"));
    const IcsAppointments read = ReadIcsFile(app.path("in.ics"), QDate(2026, 12, 1), QDate(2026, 12, 1), kTokyo);
    ASSERT_EQ(read.appointments.size(), 1u);
    EXPECT_EQ(read.appointments[0].location, QString::fromUtf8("会議室"));
}

namespace {

// A zone of the file's own whose rule changes the offset every second since 1601.
const QByteArray kEverySecondZone = "BEGIN:VTIMEZONE\r\nTZID:Tick\r\n"
                                    "BEGIN:STANDARD\r\nTZOFFSETFROM:+0900\r\nTZOFFSETTO:+0900\r\n"
                                    "DTSTART:16010101T000000\r\nRRULE:FREQ=SECONDLY\r\nEND:STANDARD\r\n"
                                    "END:VTIMEZONE\r\n";

// One property line holding every value, comma-separated, as some programs write them.
QByteArray OneLineOfDates(const char *name, const QDate &first, int count) {
    QByteArray line = QByteArray(name) + ";VALUE=DATE:";
    for (int i = 0; i < count; ++i) line += (i ? "," : "") + first.addDays(i).toString("yyyyMMdd").toLatin1();
    return line + "\r\n";
}

} // namespace

TEST(IcsAppointments, HostileInvitationsAreReadWithinBounds) {
    // Zone rules are bounded like event rules; the event is still placed.
    const IcsAppointments ticking = ReadIcsAppointments(
        Calendar(kEverySecondZone + Event("DTSTART;TZID=Tick:20261201T090000\r\nSUMMARY:t\r\n")), QDate(2026, 12, 1),
        QDate(2026, 12, 1), kTokyo);
    ASSERT_TRUE(ticking.ok());
    EXPECT_EQ(Rows(ticking), QStringList{"2026/12/01 09:00-09:00 t"});

    // Every value of a long EXDATE or RDATE line counts: 610 of 700 days excluded, 600 extra days given.
    const QDate first(2025, 1, 1);
    const QByteArray excluded =
        Calendar(Event("DTSTART;VALUE=DATE:20250101\r\nRRULE:FREQ=DAILY;COUNT=700\r\n" +
                       OneLineOfDates("EXDATE", first, 610) + "SUMMARY:x\r\n"));
    EXPECT_EQ(ReadIcsAppointments(excluded, first, first.addDays(699), kTokyo).appointments.size(), 90u);
    const QByteArray extra = Calendar(
        Event("DTSTART;VALUE=DATE:20241231\r\n" + OneLineOfDates("RDATE", first, 600) + "SUMMARY:r\r\n"));
    EXPECT_EQ(ReadIcsAppointments(extra, first, first.addDays(699), kTokyo).appointments.size(), 600u);

    // A counted series that began years before the chosen days is counted to them, not given up.
    const struct {
        const char *rule;
        size_t december; // occurrences in December 2026
    } counted[] = {
        {"FREQ=DAILY;COUNT=5000", 31},          // from 2020-01-01: 2,557 days before
        {"FREQ=DAILY;COUNT=2555", 29},          // the last on 2026-12-29
        {"FREQ=DAILY;INTERVAL=2;COUNT=3000", 16},
        {"FREQ=WEEKLY;COUNT=1000", 5},          // Wednesdays
        {"FREQ=WEEKLY;BYDAY=MO,WE,FR;COUNT=3000", 13},
        {"FREQ=WEEKLY;BYDAY=MO,WE,FR;COUNT=1088", 5}, // the last on Friday 2026-12-11
        {"FREQ=MONTHLY;BYMONTHDAY=1,15;COUNT=167", 1},
        {"FREQ=MONTHLY;BYMONTHDAY=1,15;COUNT=500", 2},
        {"FREQ=HOURLY;INTERVAL=24;COUNT=4000", 31},
    };
    for (const auto &c : counted) {
        const QByteArray series =
            Calendar(Event("DTSTART:20200101T090000\r\nRRULE:" + QByteArray(c.rule) + "\r\nSUMMARY:c\r\n"));
        const IcsAppointments read = ReadIcsAppointments(series, QDate(2026, 12, 1), QDate(2026, 12, 31), kTokyo);
        EXPECT_EQ(read.appointments.size(), c.december) << c.rule;
        EXPECT_FALSE(read.cut) << c.rule;
    }

    // Positions no set of the rule can have (the ninth of two days, the first 30th of February) and days no month has
    // (the first Monday that is a 29th) give only the start, at once; libical would look for them until the year 2582.
    const struct {
        const char *rule;
        size_t march; // occurrences in March 2026
    } positions[] = {
        {"FREQ=MONTHLY;BYDAY=1MO,-1FR;BYSETPOS=9;COUNT=30", 0},
        {"FREQ=MONTHLY;BYMONTHDAY=30;BYMONTH=2;BYSETPOS=1", 0},
        {"FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=30;BYSETPOS=-1", 0},
        {"FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-1", 1}, // the last working day: 31 March
        {"FREQ=MONTHLY;BYDAY=MO;BYSETPOS=5", 1},             // a fifth Monday: 30 March
        {"FREQ=MONTHLY;BYDAY=1MO;BYMONTHDAY=29", 0},
        {"FREQ=MONTHLY;BYDAY=1MO,-2FR;BYMONTH=2;BYMONTHDAY=29", 0},
        {"FREQ=YEARLY;BYMONTH=2;BYDAY=1MO;BYMONTHDAY=29", 0},
        {"FREQ=MONTHLY;BYDAY=MO;BYMONTHDAY=30", 1},         // a Monday the 30th: 30 March
        {"FREQ=MONTHLY;BYDAY=-1TU;BYMONTHDAY=-1,-2,-3,-4,-5,-6,-7", 1}, // the last Tuesday: 31 March
    };
    for (const auto &c : positions) {
        const QByteArray series =
            Calendar(Event("DTSTART:20260105T080000\r\nRRULE:" + QByteArray(c.rule) + "\r\nSUMMARY:p\r\n"));
        EXPECT_EQ(ReadIcsAppointments(series, QDate(2026, 3, 1), QDate(2026, 3, 31), kTokyo).appointments.size(),
                  c.march)
            << c.rule;
    }

    // A time of the year 4052 in a zone: read as the computer's own time, without working out the zone's rules to it.
    const IcsAppointments far = ReadIcsAppointments(
        Calendar(Event("DTSTART;TZID=Europe/Paris:40520210T080000\r\nSUMMARY:f\r\n")), QDate(4052, 2, 1),
        QDate(4052, 2, 28), kTokyo);
    EXPECT_EQ(Rows(far), QStringList{"4052/02/10 08:00-08:00 f"});

    // One 10 MB line is read whole.
    const QByteArray huge(10 * 1024 * 1024, 'a');
    const IcsAppointments big = ReadIcsAppointments(
        Calendar(Event("DTSTART:20261201T090000\r\nSUMMARY:b\r\nDESCRIPTION:" + huge + "\r\n")), QDate(2026, 12, 1),
        QDate(2026, 12, 1), kTokyo);
    ASSERT_EQ(big.appointments.size(), 1u);
    EXPECT_EQ(big.appointments[0].body.size(), huge.size());
}

TEST(IcsAppointments, AZoneNameIsNeverAPathAndOnlyRegularFilesAreRead) {
    TestApp app;
    const QByteArray fifo = QFile::encodeName(app.path("fifo"));
    ASSERT_EQ(mkfifo(fifo.constData(), 0600), 0);
    // Written as a path from the zone folder up to the FIFO: it is not opened (that would block for ever), and the
    // time is read as one of an unknown zone, the computer's own.
    for (const QByteArray &tzid : {"../../../../../../.." + fifo, "/freeassociation.sourceforge.net/../../../.." + fifo,
                                   QByteArray("../../../../../../../etc/passwd")}) {
        const IcsAppointments read = ReadIcsAppointments(
            Calendar(Event("DTSTART;TZID=" + tzid + ":20261201T090000\r\nSUMMARY:p\r\n")), QDate(2026, 12, 1),
            QDate(2026, 12, 1), kTokyo);
        EXPECT_EQ(Rows(read), QStringList{"2026/12/01 09:00-09:00 p"}) << tzid.toStdString();
    }
    // Plain zone names, with or without the prefix libical writes, still work.
    for (const QByteArray &tzid :
         {QByteArray("America/New_York"), QByteArray("/freeassociation.sourceforge.net/America/New_York")}) {
        const IcsAppointments read = ReadIcsAppointments(
            Calendar(Event("DTSTART;TZID=" + tzid + ":20261201T090000\r\nSUMMARY:n\r\n")), QDate(2026, 12, 1),
            QDate(2026, 12, 2), kTokyo);
        EXPECT_EQ(Rows(read), QStringList{"2026/12/01 23:00-23:00 n"}) << tzid.toStdString();
    }
    // A FIFO chosen as the file is refused at once; a link to a real file is read.
    EXPECT_EQ(ReadIcsFile(app.path("fifo"), QDate(2026, 12, 1), QDate(2026, 12, 1), kTokyo).error.number, 57);
    app.writeBytes("real.ics", Calendar(Event("DTSTART:20261201T090000\r\nSUMMARY:l\r\n")));
    ASSERT_TRUE(QFile::link(app.path("real.ics"), app.path("link.ics")));
    EXPECT_EQ(Rows(ReadIcsFile(app.path("link.ics"), QDate(2026, 12, 1), QDate(2026, 12, 1), kTokyo)),
              QStringList{"2026/12/01 09:00-09:00 l"});
}

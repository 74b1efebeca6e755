// Extracting the appointments of a calendar file of 10,000 events, as the import does for one file.
#include "core/memos/AppointmentTable.h"
#include "core/memos/IcsAppointments.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// A year of a busy calendar as a calendar program exports it: a time zone, events in it and in UTC, whole days, a
// few weekly series with an exception, descriptions and attendees.
QByteArray TenThousandEvents() {
    QByteArray ics = "BEGIN:VCALENDAR\r\nPRODID:-//bench//EN\r\nVERSION:2.0\r\n"
                     "BEGIN:VTIMEZONE\r\nTZID:Asia/Tokyo\r\nBEGIN:STANDARD\r\nTZOFFSETFROM:+0900\r\n"
                     "TZOFFSETTO:+0900\r\nTZNAME:JST\r\nDTSTART:19700101T000000\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\n";
    const QDate first(2026, 1, 1);
    for (int i = 0; i < 10000; ++i) {
        const QByteArray day = first.addDays(i % 365).toString("yyyyMMdd").toLatin1();
        const QByteArray n = QByteArray::number(i);
        ics += "BEGIN:VEVENT\r\nUID:event-" + n + "@bench\r\nDTSTAMP:20260101T000000Z\r\n";
        switch (i % 4) {
        case 0: ics += "DTSTART;TZID=Asia/Tokyo:" + day + "T100000\r\nDTEND;TZID=Asia/Tokyo:" + day + "T113000\r\n"; break;
        case 1: ics += "DTSTART:" + day + "T050000Z\r\nDURATION:PT1H\r\n"; break;
        case 2: ics += "DTSTART;VALUE=DATE:" + day + "\r\n"; break;
        default:
            ics += "DTSTART;TZID=Asia/Tokyo:" + day + "T090000\r\nDTEND;TZID=Asia/Tokyo:" + day + "T093000\r\n";
            if (i % 400 == 3) ics += "RRULE:FREQ=WEEKLY;COUNT=20\r\nEXDATE;TZID=Asia/Tokyo:" + day + "T090000\r\n";
        }
        ics += "SUMMARY:打合せ " + n + "\r\nLOCATION:会議室" + QByteArray::number(i % 9) +
               "\r\nDESCRIPTION:議題\\n1. 進捗\\n2. 予定\r\n"
               "ATTENDEE;ROLE=REQ-PARTICIPANT;CN=山田:mailto:yamada@example.jp\r\nEND:VEVENT\r\n";
    }
    return ics + "END:VCALENDAR\r\n";
}

void BM_ExtractTenThousandEvents(benchmark::State &state) {
    QTemporaryDir dir;
    const QString path = dir.filePath("calendar.ics");
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(TenThousandEvents());
    file.close();
    const QTimeZone tokyo("Asia/Tokyo");
    size_t rows = 0;
    for (auto _ : state) {
        AppointmentTable table;
        IcsAppointments read = ReadIcsFile(path, QDate(2026, 1, 1), QDate(2026, 12, 31), tokyo);
        table.append(std::move(read.appointments));
        rows = size_t(table.rowCount());
    }
    state.SetLabel(std::to_string(rows) + " rows");
}
BENCHMARK(BM_ExtractTenThousandEvents)->Unit(benchmark::kMillisecond);

// Hostile invitations: one 10 MB line, a zone that changes every second since 1601, a counted daily series begun
// twenty years before the chosen month.
QByteArray HostileCalendar(int which) {
    QByteArray ics = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//bench//EN\r\n";
    QByteArray event = "BEGIN:VEVENT\r\nUID:h\r\nDTSTAMP:20260101T000000Z\r\nSUMMARY:h\r\n";
    switch (which) {
    case 0: event += "DTSTART:20261201T090000\r\nDESCRIPTION:" + QByteArray(10 << 20, 'a') + "\r\n"; break;
    case 1:
        ics += "BEGIN:VTIMEZONE\r\nTZID:Tick\r\nBEGIN:STANDARD\r\nTZOFFSETFROM:+0900\r\nTZOFFSETTO:+0900\r\n"
               "DTSTART:16010101T000000\r\nRRULE:FREQ=SECONDLY\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\n";
        event += "DTSTART;TZID=Tick:20261201T090000\r\n";
        break;
    default: event += "DTSTART:20061201T090000\r\nRRULE:FREQ=DAILY;COUNT=100000\r\n";
    }
    return ics + event + "END:VEVENT\r\nEND:VCALENDAR\r\n";
}

void BM_ExtractHostile(benchmark::State &state) {
    const QByteArray ics = HostileCalendar(int(state.range(0)));
    const QTimeZone tokyo("Asia/Tokyo");
    size_t rows = 0;
    for (auto _ : state) rows = ReadIcsAppointments(ics, QDate(2026, 12, 1), QDate(2026, 12, 31), tokyo).appointments.size();
    const char *names[] = {"one 10 MB line", "a zone changing every second", "a count begun 20 years before"};
    state.SetLabel(std::string(names[state.range(0)]) + ": " + std::to_string(rows) + " rows");
}
BENCHMARK(BM_ExtractHostile)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

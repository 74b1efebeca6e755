#include "core/memos/IcsAppointments.h"
#include "core/memos/ScheduleImport.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const QTimeZone tokyo("Asia/Tokyo");
    // A fortnight with the change to daylight saving time in Europe and America's first weekend of it nearby: rules
    // are still followed from their start, while each input stays quick.
    const QDate from(2026, 3, 20);
    const QDate to(2026, 4, 2);
    const IcsAppointments read =
        ReadIcsAppointments(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), from, to, tokyo);
    // A file is read whole or not at all, and every row starts on a chosen day.
    if (!read.ok() && !read.appointments.empty()) abort();
    for (const Appointment &a : read.appointments) {
        if (a.start.date() < from || a.start.date() > to) abort();
        if (ImportText(CellsOf(a), ImportChoice{}).isEmpty()) abort();
    }
    return 0;
}

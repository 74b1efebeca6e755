#include "core/memos/IcsCalendar.h"

#include <libical/ical.h>

namespace {

icaltimetype IcalDate(const QDate &date) {
    icaltimetype time = icaltime_null_date();
    time.year = date.year();
    time.month = date.month();
    time.day = date.day();
    return time;
}

icaltimetype IcalUtc(const QDateTime &moment) {
    return icaltime_from_timet_with_zone(time_t(moment.toSecsSinceEpoch()), 0, icaltimezone_get_utc_timezone());
}

} // namespace

QByteArray IcsCalendar(const std::vector<AllDayEvent> &events, const QDateTime &written) {
    icalcomponent *calendar = icalcomponent_vanew(ICAL_VCALENDAR_COMPONENT, icalproperty_new_version("2.0"),
                                                  icalproperty_new_prodid("-//Tsukiban//tsukiban-cal//JA"),
                                                  icalproperty_new_calscale("GREGORIAN"), nullptr);
    for (const AllDayEvent &event : events) {
        icalcomponent *vevent = icalcomponent_new(ICAL_VEVENT_COMPONENT);
        icalcomponent_add_property(vevent, icalproperty_new_uid(event.uid.toUtf8().constData()));
        icalcomponent_add_property(vevent, icalproperty_new_dtstamp(IcalUtc(written)));
        icalcomponent_add_property(vevent, icalproperty_new_dtstart(IcalDate(event.day)));
        // The end of an all-day event is the next day, not included.
        icalcomponent_add_property(vevent, icalproperty_new_dtend(IcalDate(event.day.addDays(1))));
        icalcomponent_add_property(vevent, icalproperty_new_summary(event.summary.toUtf8().constData()));
        if (!event.description.isEmpty())
            icalcomponent_add_property(vevent, icalproperty_new_description(event.description.toUtf8().constData()));
        if (!event.category.isEmpty())
            icalcomponent_add_property(vevent, icalproperty_new_categories(event.category.toUtf8().constData()));
        if (event.transparent) icalcomponent_add_property(vevent, icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT));
        if (event.lastModified.isValid())
            icalcomponent_add_property(vevent, icalproperty_new_lastmodified(IcalUtc(event.lastModified)));
        if (event.sequence > 0) icalcomponent_add_property(vevent, icalproperty_new_sequence(event.sequence));
        icalcomponent_add_component(calendar, vevent);
    }
    char *text = icalcomponent_as_ical_string_r(calendar);
    const QByteArray bytes(text);
    icalmemory_free_buffer(text);
    icalcomponent_free(calendar);
    return bytes;
}

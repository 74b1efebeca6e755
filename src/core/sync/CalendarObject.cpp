#include "core/sync/CalendarObject.h"

#include "core/memos/IcsAppointments.h"
#include "core/memos/MemoEvent.h"

#include <libical/ical.h>

#include <memory>

namespace {

QString PropertyText(icalcomponent *event, icalproperty_kind kind) {
    icalproperty *property = icalcomponent_get_first_property(event, kind);
    if (!property) return {};
    const char *value = icalproperty_get_value_as_string(property);
    if (!value) return {};
    // get_value_as_string escapes; the typed getters give the text itself.
    switch (kind) {
    case ICAL_SUMMARY_PROPERTY: return QString::fromUtf8(icalproperty_get_summary(property));
    case ICAL_DESCRIPTION_PROPERTY: return QString::fromUtf8(icalproperty_get_description(property));
    case ICAL_UID_PROPERTY: return QString::fromUtf8(icalproperty_get_uid(property));
    default: return QString::fromUtf8(value);
    }
}

QString Lf(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

} // namespace

CalendarObject ReadCalendarObject(const QByteArray &data, const QDate &from, const QDate &to) {
    CalendarObject object;
    std::unique_ptr<icalcomponent, void (*)(icalcomponent *)> root(icalparser_parse_string(data.constData()),
                                                                  icalcomponent_free);
    if (!root) return object;
    icalcomponent *event = icalcomponent_isa(root.get()) == ICAL_VEVENT_COMPONENT
                               ? root.get()
                               : icalcomponent_get_first_component(root.get(), ICAL_VEVENT_COMPONENT);
    if (!event) {
        // A to-do or a journal entry: valid, but nothing to show.
        object.valid = icalcomponent_isa(root.get()) == ICAL_VCALENDAR_COMPONENT;
        return object;
    }
    object.valid = true;
    object.uid = PropertyText(event, ICAL_UID_PROPERTY);
    object.memoDay = MemoEventDay(object.uid);
    if (object.memoDay.isValid()) {
        const QString summary = Lf(PropertyText(event, ICAL_SUMMARY_PROPERTY));
        const QString description = Lf(PropertyText(event, ICAL_DESCRIPTION_PROPERTY));
        // A phone that edits only the title leaves the description as it was: keep both rather than lose the title.
        if (description.isEmpty())
            object.memo = summary;
        else if (summary.isEmpty() || summary == MemoSummary(description))
            object.memo = description;
        else
            object.memo = summary + u'\n' + description;
        return object;
    }
    const icaltimetype start = icalcomponent_get_dtstart(event);
    const bool allDay = start.is_date;
    const IcsAppointments found = ReadIcsAppointments(data, from, to);
    for (const Appointment &a : found.appointments) {
        ForeignEvent foreign;
        foreign.day = a.start.date();
        foreign.summary = a.subject;
        foreign.location = a.location;
        foreign.start = a.start;
        foreign.end = a.end;
        foreign.allDay = allDay;
        object.events << foreign;
    }
    return object;
}

#include "core/memos/IcsAppointments.h"

#include "core/memos/IcsLines.h"
#include "core/system/Cp932.h"
#include "core/system/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <libical/ical.h>

#include <algorithm>
#include <limits>
#include <map>
#include <memory>

#include <sys/stat.h>

namespace {

// Occurrences further from the chosen days than any zone offset are not looked at, and rules are followed for a
// bounded number of steps, so that no rule (every second, for ever) holds the program. A step of libical's rule
// iterator goes through ICU and costs tens of microseconds: a daily series counted from five years back is within
// one rule's steps, and a file's steps end within a second or so. A rule without a count starts at the chosen days.
constexpr int kMarginDays = 2;
constexpr int kMaxRuleSteps = 2000;
constexpr int kMaxFileSteps = 20000;
// Between two occurrences libical's iterator looks at every unit of the rule (every minute of a minutely rule, every
// day of a daily or longer one) and stops only at UNTIL or in 2037, also when none can match (February the 30th).
// Each rule gets an UNTIL at the chosen days and at most this many units to look at.
constexpr qint64 kMaxRuleUnits = 20000;
constexpr qint64 kMaxFileUnits = 100000;

IcsError fileError(int number, const char *what, const QString &fileName) {
    return {number, QString::fromUtf8(what).arg(QDir::toNativeSeparators(fileName))};
}

// A parser fed with whole content lines: libical's own line reader is quadratic in the length of a line.
struct Parsed {
    std::unique_ptr<icalcomponent, void (*)(icalcomponent *)> root{nullptr, icalcomponent_free}; // an XROOT
    bool whole = true; // every component that was begun also ended
    bool startsAsCalendar = false;
};

// EXDATE and RDATE lines with many values become several lines of a few values each: libical's parser keeps only
// the first 500 values of a line and drops the rest without a word.
constexpr int kValuesPerLine = 100;

void addLine(icalparser *parser, const QByteArray &line, icalcomponent *root) {
    QByteArray copy = line; // libical may write into the line it parses
    if (icalcomponent *done = icalparser_add_line(parser, copy.data())) icalcomponent_add_component(root, done);
}

QByteArrayList splitValues(const QByteArray &line) {
    const QByteArray name = line.left(7).toUpper();
    if (!name.startsWith("EXDATE") && !name.startsWith("RDATE")) return {line};
    qsizetype colon = -1;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size() && colon < 0; ++i) {
        if (line[i] == '"') quoted = !quoted;
        else if (line[i] == ':' && !quoted) colon = i;
    }
    if (colon < 0 || line.count(',') < kValuesPerLine) return {line};
    const QByteArray head = line.left(colon + 1);
    const QByteArrayList values = line.mid(colon + 1).split(',');
    QByteArrayList lines;
    for (qsizetype at = 0; at < values.size(); at += kValuesPerLine)
        lines << head + values.mid(at, kValuesPerLine).join(',');
    return lines;
}

Parsed parse(const QByteArrayList &lines) {
    Parsed parsed;
    parsed.startsAsCalendar = !lines.isEmpty() && lines.front().trimmed().toUpper() == "BEGIN:VCALENDAR";
    parsed.root.reset(icalcomponent_new(ICAL_XROOT_COMPONENT));
    const std::unique_ptr<icalparser, void (*)(icalparser *)> parser(icalparser_new(), icalparser_free);
    for (const QByteArray &line : lines)
        for (const QByteArray &part : splitValues(line)) addLine(parser.get(), part, parsed.root.get());
    // What was begun and not ended is closed here and stays the parser's, which frees it.
    if (icalparser_clean(parser.get())) parsed.whole = false;
    return parsed;
}

// libical works out a zone's changes from its first one to the year asked, at the first use. Real zones change a
// few times a year by yearly rules; rules that would give more (every second since 1601) and long lists of extra
// dates are dropped, so that a zone leaves its observances' starts and a sane number of changes.
constexpr int kMaxZoneDates = 1000;

int listed(const short *values, int size) {
    int n = 0;
    while (n < size && values[n] != ICAL_RECURRENCE_ARRAY_MAX) ++n;
    return n;
}

bool saneZoneRule(const icalrecurrencetype &r) {
    return r.freq == ICAL_YEARLY_RECURRENCE && listed(r.by_second, ICAL_BY_SECOND_SIZE) == 0 &&
           listed(r.by_minute, ICAL_BY_MINUTE_SIZE) == 0 && listed(r.by_hour, ICAL_BY_HOUR_SIZE) == 0 &&
           listed(r.by_year_day, ICAL_BY_YEARDAY_SIZE) == 0 && listed(r.by_week_no, ICAL_BY_WEEKNO_SIZE) == 0 &&
           listed(r.by_month, ICAL_BY_MONTH_SIZE) <= 2 && listed(r.by_month_day, ICAL_BY_MONTHDAY_SIZE) <= 7 &&
           listed(r.by_day, ICAL_BY_DAY_SIZE) <= 7;
}

void boundZones(icalcomponent *root) {
    for (icalcomponent *calendar = icalcomponent_get_first_component(root, ICAL_VCALENDAR_COMPONENT); calendar;
         calendar = icalcomponent_get_next_component(root, ICAL_VCALENDAR_COMPONENT))
        for (icalcomponent *zone = icalcomponent_get_first_component(calendar, ICAL_VTIMEZONE_COMPONENT); zone;
             zone = icalcomponent_get_next_component(calendar, ICAL_VTIMEZONE_COMPONENT)) {
            int dates = 0;
            for (icalcomponent *part = icalcomponent_get_first_component(zone, ICAL_ANY_COMPONENT); part;
                 part = icalcomponent_get_next_component(zone, ICAL_ANY_COMPONENT)) {
                std::vector<icalproperty *> dropped;
                for (icalproperty *p = icalcomponent_get_first_property(part, ICAL_ANY_PROPERTY); p;
                     p = icalcomponent_get_next_property(part, ICAL_ANY_PROPERTY)) {
                    const icalproperty_kind kind = icalproperty_isa(p);
                    if ((kind == ICAL_RRULE_PROPERTY && !saneZoneRule(icalproperty_get_rrule(p))) ||
                        (kind == ICAL_RDATE_PROPERTY && ++dates > kMaxZoneDates))
                        dropped.push_back(p);
                }
                for (icalproperty *p : dropped) {
                    icalcomponent_remove_property(part, p);
                    icalproperty_free(p);
                }
            }
        }
}

QString textOf(const char *value) {
    return value ? QString::fromUtf8(value) : QString();
}

// A calendar that cancels (an iTIP CANCEL) lists what is no longer on.
bool cancels(icalcomponent *calendar) {
    icalproperty *method = icalcomponent_get_first_property(calendar, ICAL_METHOD_PROPERTY);
    return method && icalproperty_get_method(method) == ICAL_METHOD_CANCEL;
}

constexpr int kFirstZonedYear = 1900, kLastZonedYear = 2199;

// A TZID names a zone of the system's zone folder only when it is a plain name ("Asia/Tokyo", also after the prefix
// libical writes) of a regular file there: libical would open any path it is given, ../../etc/passwd or a FIFO that
// blocks for ever.
icaltimezone *systemZone(const char *id) {
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_+-]+(/[A-Za-z0-9_+-]+)*$"));
    QString name = QString::fromUtf8(id);
    for (const QString &prefix : {QStringLiteral("/freeassociation.sourceforge.net/Tzfile/"),
                                 QStringLiteral("/freeassociation.sourceforge.net/")})
        if (name.startsWith(prefix)) {
            name = name.mid(prefix.size());
            break;
        }
    if (name.size() > 64 || !plain.match(name).hasMatch()) return nullptr;
    if (name != QLatin1String("UTC")) {
        struct stat info {};
        const QByteArray path = QFile::encodeName(QString::fromUtf8(icaltzutil_get_zone_directory()) + u'/' + name);
        if (::stat(path.constData(), &info) != 0 || !S_ISREG(info.st_mode)) return nullptr;
    }
    return icaltimezone_get_builtin_timezone(name.toUtf8().constData());
}

// A time with its zone: the file's own VTIMEZONE first, then the zones of the system; an unknown zone is taken as
// local time, like a floating one.
icaltimetype zoned(icaltimetype t, icalproperty *property, icalcomponent *calendar) {
    if (t.is_date || icaltime_is_utc(t)) return t;
    t.zone = nullptr;
    // Far from now no zone's rules are known: libical would work out every change up to the year 2582 first, a
    // second or more, for a time that is then read as the computer's own within an hour or two.
    if (t.year < kFirstZonedYear || t.year > kLastZonedYear) return t;
    icalparameter *tzid = icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER);
    const char *id = tzid ? icalparameter_get_tzid(tzid) : nullptr;
    if (!id || !*id) return t;
    icaltimezone *zone = icalcomponent_get_timezone(calendar, id);
    t.zone = zone ? zone : systemZone(id);
    return t;
}

QDate wallDate(const icaltimetype &t) {
    return QDate(t.year, t.month, t.day);
}

bool usable(const icaltimetype &t) {
    return !icaltime_is_null_time(t) && t.year >= 1 && t.year <= 9999 && wallDate(t).isValid();
}

// The wall clock of a time as seconds since 1970, as if it were UTC.
qint64 wallSeconds(const icaltimetype &t) {
    return (wallDate(t).toJulianDay() - QDate(1970, 1, 1).toJulianDay()) * 86400 + t.hour * 3600 + t.minute * 60 +
           t.second;
}

int offsetAt(const icaltimezone *zone, qint64 utc) {
    icaltimetype at = icaltime_from_timet_with_zone(time_t(utc), 0, icaltimezone_get_utc_timezone());
    // libical asks for a zone it may change: its offsets are worked out when first needed.
    return icaltimezone_get_utc_offset_of_utc_time(const_cast<icaltimezone *>(zone), &at, nullptr);
}

// A wall clock time of a zone as seconds since 1970. A time that the zone skips (the hour the clocks are put forward)
// is read with the offset before the change, and a time that comes twice (the hour they are put back) is the first
// of the two, as iCalendar has it; libical gives the later offset in both.
qint64 utcSeconds(const icaltimetype &t) {
    const qint64 wall = wallSeconds(t);
    const int before = offsetAt(t.zone, wall - 86400);
    const int after = offsetAt(t.zone, wall + 86400);
    if (offsetAt(t.zone, wall - before) == before) return wall - before;
    if (offsetAt(t.zone, wall - after) == after) return wall - after;
    return wall - before;
}

// Seconds on one line for a timed occurrence (a floating one by its wall clock), the day number for a date.
qint64 instant(const icaltimetype &t) {
    if (t.is_date) return wallDate(t).toJulianDay();
    if (t.zone) return utcSeconds(t);
    return wallDate(t).toJulianDay() * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
}

// The same occurrence: a date matches any time of its day.
bool sameOccurrence(const icaltimetype &a, const icaltimetype &b) {
    if (a.is_date || b.is_date) return wallDate(a) == wallDate(b);
    return instant(a) == instant(b);
}

QDateTime localTime(const icaltimetype &t, const QTimeZone &local) {
    const QDate day = wallDate(t);
    if (t.is_date) return QDateTime(day, QTime(0, 0), local);
    if (t.zone) return QDateTime::fromSecsSinceEpoch(utcSeconds(t), local);
    return QDateTime(day, QTime(t.hour, t.minute, t.second), local);
}

QString requiredAttendees(icalcomponent *event) {
    QStringList names;
    for (icalproperty *p = icalcomponent_get_first_property(event, ICAL_ATTENDEE_PROPERTY); p;
         p = icalcomponent_get_next_property(event, ICAL_ATTENDEE_PROPERTY)) {
        icalparameter *role = icalproperty_get_first_parameter(p, ICAL_ROLE_PARAMETER);
        if (role && icalparameter_get_role(role) != ICAL_ROLE_REQPARTICIPANT) continue;
        icalparameter *cn = icalproperty_get_first_parameter(p, ICAL_CN_PARAMETER);
        QString name = cn ? textOf(icalparameter_get_cn(cn)).trimmed() : QString();
        if (name.isEmpty()) {
            name = textOf(icalproperty_get_attendee(p)).trimmed();
            if (name.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive)) name = name.mid(7);
        }
        if (!name.isEmpty()) names << name;
    }
    return names.join(QStringLiteral("; "));
}

class Reader {
public:
    Reader(const QDate &from, const QDate &to, const QTimeZone &local)
        : m_from(from), m_to(to), m_first(from.addDays(-kMarginDays)), m_last(to.addDays(kMarginDays)),
          m_local(local) {}

    // Notes every replaced occurrence (RECURRENCE-ID) of the series of its UID.
    void noteOverride(icalcomponent *event, icalcomponent *calendar) {
        icalproperty *id = icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY);
        if (!id) return;
        const icaltimetype t = zoned(icalproperty_get_recurrenceid(id), id, calendar);
        if (usable(t)) m_overrides[textOf(icalcomponent_get_uid(event))].push_back(t);
    }

    // False when the event has no start to place it by.
    bool add(icalcomponent *event, icalcomponent *calendar, bool cancelledCalendar) {
        icalproperty *startProperty = icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY);
        if (!startProperty) return false;
        const icaltimetype start = zoned(icalproperty_get_dtstart(startProperty), startProperty, calendar);
        if (!usable(start)) return false;
        if (cancelledCalendar || icalcomponent_get_status(event) == ICAL_STATUS_CANCELLED) return true;
        if (m_from > m_to) return true;

        Appointment base;
        base.subject = textOf(icalcomponent_get_summary(event));
        base.attendees = requiredAttendees(event);
        base.location = textOf(icalcomponent_get_location(event));
        base.body = textOf(icalcomponent_get_description(event));
        const QDateTime firstStart = localTime(start, m_local);
        const QDateTime firstEnd = endOf(event, calendar, start, firstStart);

        const bool single = icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY) != nullptr;
        for (const icaltimetype &t : single ? std::vector<icaltimetype>{start} : occurrences(event, calendar, start)) {
            Appointment a = base;
            a.start = localTime(t, m_local);
            a.end = start.is_date ? a.start.addDays(firstStart.daysTo(firstEnd))
                                  : a.start.addSecs(firstStart.secsTo(firstEnd));
            const QDate day = a.start.date();
            if (day >= m_from && day <= m_to) m_found.push_back(std::move(a));
        }
        return true;
    }

    std::vector<Appointment> take() { return std::move(m_found); }
    bool cut() const { return m_cut; }

private:
    // DTEND, else DTSTART + DURATION, else the start itself.
    QDateTime endOf(icalcomponent *event, icalcomponent *calendar, const icaltimetype &start,
                    const QDateTime &localStart) const {
        if (icalproperty *p = icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY)) {
            const icaltimetype end = zoned(icalproperty_get_dtend(p), p, calendar);
            if (usable(end)) return localTime(end, m_local);
        }
        if (icalproperty *p = icalcomponent_get_first_property(event, ICAL_DURATION_PROPERTY)) {
            const icaldurationtype d = icalproperty_get_duration(p);
            if (start.is_date) return localStart.addDays(qint64(d.is_neg ? -1 : 1) * (d.weeks * 7 + d.days));
            return localStart.addSecs(icaldurationtype_as_int(d));
        }
        return localStart;
    }

    bool inWindow(const icaltimetype &t) const {
        const QDate day = wallDate(t);
        return day >= m_first && day <= m_last;
    }

    // An extra date of the series in the kind of its start: a date for a day-long event, the start's time of day
    // for a timed one.
    static icaltimetype like(icaltimetype t, const icaltimetype &start) {
        if (start.is_date && !t.is_date) {
            t.is_date = 1;
            t.hour = t.minute = t.second = 0;
            t.zone = nullptr;
        } else if (!start.is_date && t.is_date) {
            t.is_date = 0;
            t.hour = start.hour;
            t.minute = start.minute;
            t.second = start.second;
            t.zone = start.zone;
        }
        return t;
    }

    // The start of a local day in the start's own kind and zone.
    icaltimetype startOfDay(const QDate &day, const icaltimetype &start) const {
        icaltimetype t;
        if (start.zone && !start.is_date) {
            const QDateTime begin(day, QTime(0, 0), m_local);
            t = icaltime_from_timet_with_zone(time_t(begin.toSecsSinceEpoch()), 0, start.zone);
        } else {
            t = start;
            t.year = day.year();
            t.month = day.month();
            t.day = day.day();
            t.hour = t.minute = t.second = 0;
        }
        t.zone = start.zone;
        return t;
    }

    // The seconds of the units the iterator steps through: those of the rule below a day, else a day.
    static qint64 unitSeconds(const icalrecurrencetype &rule) {
        const qint64 interval = std::max<qint64>(1, rule.interval);
        switch (rule.freq) {
        case ICAL_SECONDLY_RECURRENCE: return interval;
        case ICAL_MINUTELY_RECURRENCE: return 60 * interval;
        case ICAL_HOURLY_RECURRENCE: return 3600 * interval;
        default: return 86400;
        }
    }

    // Units from a to b (same kind and zone); dates count in days.
    static qint64 unitsBetween(const icaltimetype &a, const icaltimetype &b, qint64 unit) {
        const qint64 span = instant(b) - instant(a);
        return a.is_date ? span * 86400 / unit : span / unit;
    }

    // Occurrences in each period of a counted rule whose series repeats itself period by period from its start;
    // 0 when it does not (positions, lists the start is not in, month days a month may lack).
    static int perPeriod(const icalrecurrencetype &r, const icaltimetype &start) {
        if (listed(r.by_second, ICAL_BY_SECOND_SIZE) || listed(r.by_minute, ICAL_BY_MINUTE_SIZE) ||
            listed(r.by_hour, ICAL_BY_HOUR_SIZE) || listed(r.by_year_day, ICAL_BY_YEARDAY_SIZE) ||
            listed(r.by_week_no, ICAL_BY_WEEKNO_SIZE) || listed(r.by_month, ICAL_BY_MONTH_SIZE) ||
            listed(r.by_set_pos, ICAL_BY_SETPOS_SIZE) || r.rscale)
            return 0;
        const int days = listed(r.by_day, ICAL_BY_DAY_SIZE);
        const int monthDays = listed(r.by_month_day, ICAL_BY_MONTHDAY_SIZE);
        if (days == 0 && monthDays == 0) {
            if (r.freq == ICAL_MONTHLY_RECURRENCE) return start.day <= 28 ? 1 : 0;
            if (r.freq == ICAL_YEARLY_RECURRENCE) return start.month == 2 && start.day == 29 ? 0 : 1;
            return 1;
        }
        if (r.freq == ICAL_WEEKLY_RECURRENCE && monthDays == 0) {
            bool startIsOne = false;
            for (int i = 0; i < days; ++i) {
                if (icalrecurrencetype_day_position(r.by_day[i]) != 0) return 0;
                startIsOne = startIsOne || int(icalrecurrencetype_day_day_of_week(r.by_day[i])) ==
                                               icaltime_day_of_week(start);
            }
            return startIsOne ? days : 0;
        }
        if (r.freq == ICAL_MONTHLY_RECURRENCE && days == 0) {
            bool startIsOne = false;
            for (int i = 0; i < monthDays; ++i) {
                if (r.by_month_day[i] < 1 || r.by_month_day[i] > 28) return 0;
                startIsOne = startIsOne || r.by_month_day[i] == start.day;
            }
            return startIsOne ? monthDays : 0;
        }
        return 0;
    }

    // The start moved by whole periods of the rule, on its wall clock.
    static icaltimetype periodsLater(icaltimetype t, const icalrecurrencetype &r, qint64 periods) {
        const qint64 n = periods * std::max<qint64>(1, r.interval); // in days, weeks, months or years
        switch (r.freq) {
        case ICAL_YEARLY_RECURRENCE: t.year += int(n); break;
        case ICAL_MONTHLY_RECURRENCE:
            t.year += int(n / 12);
            t.month += int(n % 12);
            break;
        case ICAL_WEEKLY_RECURRENCE: t.day += int(n * 7); break;
        case ICAL_DAILY_RECURRENCE: t.day += int(n); break;
        default: {
            const qint64 seconds = periods * unitSeconds(r);
            t.day += int(seconds / 86400);
            t.second += int(seconds % 86400);
        }
        }
        return icaltime_normalize(t);
    }

    // A counted series is counted from its start; one that began long before the chosen days is moved on by whole
    // periods to just before them, its count less what those periods held, so that no steps are spent on the years
    // between.
    // False when the series ends before them.
    bool skipToChosenDays(icalrecurrencetype &rule, icaltimetype &start) const {
        const int each = rule.count > 0 ? perPeriod(rule, start) : 0;
        if (each == 0) return true;
        const QDate first = m_first.addDays(-1);
        const QDate from = wallDate(start);
        if (from >= first) return true;
        qint64 periods = 0;
        const qint64 interval = std::max<qint64>(1, rule.interval);
        switch (rule.freq) {
        case ICAL_YEARLY_RECURRENCE: periods = (first.year() - from.year()) / interval; break;
        case ICAL_MONTHLY_RECURRENCE:
            periods = ((first.year() - from.year()) * 12 + first.month() - from.month()) / interval;
            break;
        case ICAL_WEEKLY_RECURRENCE: periods = from.daysTo(first) / (7 * interval); break;
        case ICAL_DAILY_RECURRENCE: periods = from.daysTo(first) / interval; break;
        default: periods = from.daysTo(first) * 86400 / unitSeconds(rule); break;
        }
        periods = std::max<qint64>(0, periods - 1);
        if (periods == 0) return true;
        const qint64 left = qint64(rule.count) - periods * each;
        if (left <= 0) return false;
        const icaltimetype moved = periodsLater(start, rule, periods);
        if (!usable(moved)) return true;
        rule.count = int(left);
        start = moved;
        return true;
    }

    // The most members a period's set can have, or more: the days the rule picks in its period times its times.
    static qint64 largestSet(const icalrecurrencetype &r) {
        const auto atLeastOne = [](const short *values, int size) { return qint64(std::max(1, listed(values, size))); };
        const qint64 times = atLeastOne(r.by_hour, ICAL_BY_HOUR_SIZE) * atLeastOne(r.by_minute, ICAL_BY_MINUTE_SIZE) *
                             atLeastOne(r.by_second, ICAL_BY_SECOND_SIZE);
        const int weekDays = listed(r.by_day, ICAL_BY_DAY_SIZE);
        const int monthDays = listed(r.by_month_day, ICAL_BY_MONTHDAY_SIZE);
        qint64 days = 1;
        switch (r.freq) {
        case ICAL_WEEKLY_RECURRENCE: days = std::max(1, weekDays); break;
        case ICAL_MONTHLY_RECURRENCE:
            if (monthDays) {
                days = monthDays;
            } else if (weekDays) {
                days = 0;
                for (int i = 0; i < weekDays; ++i) days += icalrecurrencetype_day_position(r.by_day[i]) != 0 ? 1 : 5;
            }
            break;
        case ICAL_YEARLY_RECURRENCE: days = 366; break;
        default: break;
        }
        return days * times;
    }

    // libical looks for a position in a set (BYSETPOS) period after period until the year 2582 when no set has it,
    // UNTIL or not: seconds on end for "the ninth of two Mondays" or "the first 30th of February". Such a rule
    // gives nothing beyond its start.
    static bool setPositionsCanMatch(const icalrecurrencetype &rule, const icaltimetype &start,
                                     const icaltimetype &until) {
        int nearest = std::numeric_limits<int>::max();
        for (int i = 0; i < listed(rule.by_set_pos, ICAL_BY_SETPOS_SIZE); ++i)
            nearest = std::min(nearest, std::abs(int(rule.by_set_pos[i])));
        if (nearest > largestSet(rule)) return false;
        // Without its positions the rule must have a day between its start and the chosen days.
        icalrecurrencetype whole = rule;
        whole.by_set_pos[0] = ICAL_RECURRENCE_ARRAY_MAX;
        whole.count = 0;
        whole.until = until;
        std::unique_ptr<icalrecur_iterator, void (*)(icalrecur_iterator *)> it(icalrecur_iterator_new(whole, start),
                                                                                icalrecur_iterator_free);
        if (!it) return false;
        for (int step = 0; step < 2; ++step) {
            const icaltimetype t = icalrecur_iterator_next(it.get());
            if (!usable(t) || icaltime_compare(t, until) > 0) return false;
            if (icaltime_compare(t, start) > 0) return true;
        }
        return true;
    }

    // Whether a monthly rule, or a yearly one within its months, has any day in the 400 years from its start (the
    // calendar repeats after that). libical looks month by month until the year 2582, UNTIL or not, for a day none can
    // be, "the first Monday that is a 29th": seconds for one event.
    static bool someDayMatches(const icalrecurrencetype &r, const icaltimetype &start) {
        const int months = listed(r.by_month, ICAL_BY_MONTH_SIZE), weekDays = listed(r.by_day, ICAL_BY_DAY_SIZE);
        const int monthDays = listed(r.by_month_day, ICAL_BY_MONTHDAY_SIZE);
        const bool withinMonths =
            r.freq == ICAL_MONTHLY_RECURRENCE || (r.freq == ICAL_YEARLY_RECURRENCE && months > 0);
        if (!withinMonths || (weekDays == 0 && monthDays == 0) || listed(r.by_year_day, ICAL_BY_YEARDAY_SIZE) ||
            listed(r.by_week_no, ICAL_BY_WEEKNO_SIZE))
            return true;
        const auto dayIsOne = [&](const QDate &d) {
            const int length = d.daysInMonth();
            bool byMonthDay = monthDays == 0;
            for (int i = 0; i < monthDays && !byMonthDay; ++i) {
                const int v = r.by_month_day[i];
                byMonthDay = v == d.day() || (v < 0 && length + 1 + v == d.day());
            }
            if (!byMonthDay) return false;
            if (weekDays == 0) return true;
            for (int i = 0; i < weekDays; ++i) {
                const int ical = int(icalrecurrencetype_day_day_of_week(r.by_day[i])); // 1 is Sunday
                if ((ical == 1 ? 7 : ical - 1) != d.dayOfWeek()) continue;
                const int n = icalrecurrencetype_day_position(r.by_day[i]);
                if (n == 0 || (n > 0 && (d.day() - 1) / 7 + 1 == n) || (n < 0 && (length - d.day()) / 7 + 1 == -n))
                    return true;
            }
            return false;
        };
        QDate month(start.year, start.month, 1);
        for (int m = 0; m < 400 * 12 && month.isValid(); ++m, month = month.addMonths(1)) {
            bool inMonths = months == 0;
            for (int i = 0; i < months && !inMonths; ++i)
                inMonths = icalrecurrencetype_month_month(r.by_month[i]) == month.month();
            if (!inMonths) continue;
            for (QDate d = month; d.month() == month.month(); d = d.addDays(1))
                if (dayIsOne(d)) return true;
        }
        return false;
    }

    void follow(icalrecurrencetype rule, icaltimetype start, std::vector<icaltimetype> &out) {
        if (rule.freq == ICAL_NO_RECURRENCE) return;
        if (!skipToChosenDays(rule, start)) return;
        // Jump to the first chosen day where the rule allows it (a counted rule must be counted from its start).
        const icaltimetype first = startOfDay(m_from, start);
        const bool jump = rule.count == 0 && instant(start) < instant(first);
        const icaltimetype from = jump ? first : start;
        // An UNTIL after the chosen days, or after as many units as the iterator may look at, whichever is first.
        const qint64 unit = unitSeconds(rule);
        const qint64 units = std::min(kMaxRuleUnits, m_unitsLeft);
        icaltimetype until = startOfDay(m_last.addDays(1), start);
        qint64 needed = unitsBetween(from, until, unit);
        if (needed > units) {
            const qint64 seconds = std::max<qint64>(0, units) * unit;
            until = from;
            icaltime_adjust(&until, int(std::min<qint64>(seconds / 86400, 3660000)), 0, 0,
                            from.is_date ? 0 : int(seconds % 86400));
            needed = units;
            if (icaltime_is_null_time(rule.until) || icaltime_compare(rule.until, until) > 0) m_cut = true;
        }
        m_unitsLeft -= std::max<qint64>(0, needed);
        if (!someDayMatches(rule, start)) return;
        if (listed(rule.by_set_pos, ICAL_BY_SETPOS_SIZE) && !setPositionsCanMatch(rule, start, until)) return;
        icalrecurrencetype bounded = rule;
        if (icaltime_is_null_time(rule.until) || icaltime_compare(rule.until, until) > 0) bounded.until = until;

        std::unique_ptr<icalrecur_iterator, void (*)(icalrecur_iterator *)> it(icalrecur_iterator_new(bounded, start),
                                                                                icalrecur_iterator_free);
        if (!it) return;
        if (jump) icalrecur_iterator_set_start(it.get(), from);
        for (int step = 0;; ++step, --m_stepsLeft) {
            if (step == kMaxRuleSteps || m_stepsLeft == 0) {
                m_cut = true;
                return;
            }
            icaltimetype t = icalrecur_iterator_next(it.get());
            if (!usable(t) || wallDate(t) > m_last) return;
            t.zone = start.zone;
            t.is_date = start.is_date;
            if (inWindow(t)) out.push_back(t);
        }
    }

    std::vector<icaltimetype> occurrences(icalcomponent *event, icalcomponent *calendar, const icaltimetype &start) {
        std::vector<icaltimetype> found;
        if (inWindow(start)) found.push_back(start);
        for (icalproperty *p = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY); p;
             p = icalcomponent_get_next_property(event, ICAL_RRULE_PROPERTY))
            follow(icalproperty_get_rrule(p), start, found);
        for (icalproperty *p = icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY); p;
             p = icalcomponent_get_next_property(event, ICAL_RDATE_PROPERTY)) {
            const icaldatetimeperiodtype rdate = icalproperty_get_rdate(p);
            const icaltimetype t =
                like(zoned(icaltime_is_null_time(rdate.time) ? rdate.period.start : rdate.time, p, calendar), start);
            if (usable(t) && inWindow(t)) found.push_back(t);
        }
        std::vector<icaltimetype> excluded;
        for (icalproperty *p = icalcomponent_get_first_property(event, ICAL_EXDATE_PROPERTY); p;
             p = icalcomponent_get_next_property(event, ICAL_EXDATE_PROPERTY)) {
            const icaltimetype t = zoned(icalproperty_get_exdate(p), p, calendar);
            if (usable(t)) excluded.push_back(t);
        }
        // An occurrence that the file gives again on its own (RECURRENCE-ID) is listed from there.
        if (const auto o = m_overrides.find(textOf(icalcomponent_get_uid(event))); o != m_overrides.end())
            excluded.insert(excluded.end(), o->second.begin(), o->second.end());

        std::vector<std::pair<qint64, icaltimetype>> keyed;
        keyed.reserve(found.size());
        for (const icaltimetype &t : found) {
            const bool gone = std::any_of(excluded.begin(), excluded.end(),
                                          [&](const icaltimetype &x) { return sameOccurrence(t, x); });
            if (!gone) keyed.emplace_back(instant(t), t);
        }
        std::stable_sort(keyed.begin(), keyed.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
        keyed.erase(std::unique(keyed.begin(), keyed.end(),
                                [](const auto &a, const auto &b) { return a.first == b.first; }),
                    keyed.end());
        std::vector<icaltimetype> out;
        out.reserve(keyed.size());
        for (const auto &k : keyed) out.push_back(k.second);
        return out;
    }

    QDate m_from, m_to;
    QDate m_first, m_last; // the days worth looking at
    QTimeZone m_local;
    std::map<QString, std::vector<icaltimetype>> m_overrides;
    int m_stepsLeft = kMaxFileSteps;
    qint64 m_unitsLeft = kMaxFileUnits;
    bool m_cut = false;
    std::vector<Appointment> m_found;
};

} // namespace

IcsAppointments ReadIcsAppointments(const QByteArray &bytes, const QDate &from, const QDate &to,
                                    const QTimeZone &local, const IcsProgress &progress, const QString &fileName) {
    IcsAppointments result;
    const QByteArrayList lines = IcsContentLines(bytes);
    const auto notCalendar = [&] {
        result.error = fileError(321, "ファイル「%1」は iCalendar 形式ではありません。", fileName);
        return result;
    };
    for (const QByteArray &line : lines)
        if (line.contains('\0')) return notCalendar();

    const Parsed parsed = parse(lines);
    boundZones(parsed.root.get());
    if (!parsed.whole) {
        if (!parsed.startsAsCalendar) return notCalendar();
        result.error = fileError(62, "ファイル「%1」は途中で終わっています。", fileName);
        return result;
    }
    std::vector<icalcomponent *> calendars;
    for (icalcomponent *c = icalcomponent_get_first_component(parsed.root.get(), ICAL_VCALENDAR_COMPONENT); c;
         c = icalcomponent_get_next_component(parsed.root.get(), ICAL_VCALENDAR_COMPONENT))
        calendars.push_back(c);
    if (calendars.empty()) return notCalendar();

    Reader reader(from, to, local);
    struct Event {
        icalcomponent *event, *calendar;
        bool cancelled;
    };
    std::vector<Event> events;
    for (icalcomponent *calendar : calendars) {
        const bool cancelling = cancels(calendar);
        for (icalcomponent *e = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); e;
             e = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
            events.push_back({e, calendar, cancelling});
            reader.noteOverride(e, calendar);
        }
    }
    const qsizetype total = qsizetype(events.size());
    if (progress) progress(0, total);
    for (qsizetype i = 0; i < total; ++i) {
        const Event &e = events[size_t(i)];
        if (!reader.add(e.event, e.calendar, e.cancelled)) {
            result.error = fileError(321, "ファイル「%1」に開始日時（DTSTART）のない予定があります。", fileName);
            return result;
        }
        if (progress) progress(i + 1, total);
    }
    result.appointments = reader.take();
    result.cut = reader.cut();
    return result;
}

IcsAppointments ReadIcsFile(const QString &path, const QDate &from, const QDate &to, const QTimeZone &local,
                            const IcsProgress &progress) {
    IcsAppointments result;
    const QFileInfo info(path);
    if (!info.exists()) {
        result.error = fileError(53, "ファイル「%1」が見つかりません。", path);
        return result;
    }
    // A link the user chose is followed to its file; only a regular file is opened, never a FIFO that would block.
    const RegularFileRead read = ReadRegularFile(info.isSymLink() ? info.canonicalFilePath() : path);
    if (!read.ok()) {
        result.error = read.status == RegularFileRead::Status::Unreadable && !info.isReadable()
                           ? fileError(70, "ファイル「%1」を読む権限がありません。", path)
                           : fileError(57, "ファイル「%1」を読み込めませんでした。", path);
        return result;
    }
    return ReadIcsAppointments(read.bytes, from, to, local, progress, path);
}

IcsAppointments ReadIcsFiles(const QStringList &paths, const QDate &from, const QDate &to, const QTimeZone &local,
                             const std::function<void(qsizetype file, qsizetype done, qsizetype total)> &progress) {
    IcsAppointments all;
    for (qsizetype i = 0; i < paths.size(); ++i) {
        IcsAppointments read = ReadIcsFile(paths[i], from, to, local, [&](qsizetype done, qsizetype total) {
            if (progress) progress(i, done, total);
        });
        if (!read.ok()) {
            all.error = read.error;
            break;
        }
        all.appointments.insert(all.appointments.end(), std::make_move_iterator(read.appointments.begin()),
                                std::make_move_iterator(read.appointments.end()));
        all.cut = all.cut || read.cut;
    }
    return all;
}

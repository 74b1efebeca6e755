#pragma once

#include "core/sync/ForeignEvent.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

// What one calendar object resource of the server holds, for the sync: a day memo of this program (its UID names
// the day) or events that others made.
struct CalendarObject {
    bool valid = false;
    QString uid;
    QDate memoDay;              // valid for a memo event
    QString memo;               // a memo event's text as the server holds it, line breaks as LF
    QList<ForeignEvent> events; // the other events' occurrences from `from` to `to`
};

CalendarObject ReadCalendarObject(const QByteArray &data, const QDate &from, const QDate &to);

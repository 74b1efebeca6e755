#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>

#include <vector>

// One whole day in another calendar program.
struct AllDayEvent {
    QDate day;
    QString uid; // the same for the same day and kind, so importing again finds the event it made before
    QString summary;
    QString description;      // none when empty
    QString category;         // none when empty
    bool transparent = false; // the day stays free
    QDateTime lastModified;   // none when null
    int sequence = 0;
};

// An iCalendar (RFC 5545) file of the events, written by libical: UTF-8, CR LF line ends, lines folded at 75 octets
// between characters. Every event is stamped (DTSTAMP) with the moment of writing; apart from that the same events
// give the same bytes.
QByteArray IcsCalendar(const std::vector<AllDayEvent> &events, const QDateTime &written);

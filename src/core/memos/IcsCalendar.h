#pragma once

#include <QByteArray>
#include <QDate>
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
};

// An iCalendar (RFC 5545) file of the events, written by libical: UTF-8, CR LF line ends, lines folded at 75 octets
// between characters. The same events give the same bytes: nothing in it comes from the clock.
QByteArray IcsCalendar(const std::vector<AllDayEvent> &events);

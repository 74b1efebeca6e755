#pragma once

#include <QDateTime>
#include <QString>

// One appointment as the import lists it: times in the computer's local time, texts as the calendar gave them.
struct Appointment {
    QDateTime start;
    QDateTime end;
    QString subject;
    QString attendees; // the required attendees, "; " between them
    QString location;
    QString body;
};

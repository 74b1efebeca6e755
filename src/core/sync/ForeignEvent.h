#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

// An event someone else put in the synced calendar (a phone, another program): shown read-only, never written into
// the memo file.
struct ForeignEvent {
    QDate day;
    QString summary;
    QString location;
    QDateTime start, end;
    bool allDay = false;
};

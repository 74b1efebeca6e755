#pragma once

#include <QString>
#include <QUrl>

// Where and as whom to sync: the calendar collection and its credentials.
struct SyncAccount {
    QUrl calendarUrl;             // the calendar collection (Sync_Url)
    QString user;
    QString password;             // never logged, printed or written
    bool allowPlainHttp = false;  // http:// to a non-loopback host only when the user confirmed it
};

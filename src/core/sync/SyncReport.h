#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QMetaType>
#include <QString>

// The outcome of one sync, for the CLI, the 同期 tab and the tray tip.
struct SyncReport {
    bool ok = false;
    bool authFailed = false; // 401/403: the desktop asks for the password again (once)
    bool tlsError = false;   // certificate problem, the message says which; never ignored
    bool retryable = false;  // offline, timeout, 5xx: the scheduler backs off and retries
    QString error;           // Japanese, for the user; empty when ok
    int uploaded = 0, downloaded = 0, deleted = 0;
    QList<QDate> mergedDays; // days whose memo became both texts; told to the user once
    QList<QDate> changedDays; // days whose memo this run stored or removed in the memo book (its own memoChanged)
    QDateTime finished;
    QString summary() const; // one Japanese line
};
Q_DECLARE_METATYPE(SyncReport)

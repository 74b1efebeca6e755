#pragma once

#include <QString>
#include <QUrl>

struct Settings;

// The typed view of [SYNC]: what the scheduler, the 同期 tab and tsukiban-cal read from the record.
bool SyncEnabled(const Settings &settings);
// Sync_Interval in minutes, 1 to 1440; 15 when the text holds no number.
int SyncIntervalMinutes(const Settings &settings);
// Sync_Url as a URL; empty when it is blank or no http(s) address.
QUrl SyncCalendarUrl(const Settings &settings);
// The host and port that a consent to plain http is bound to ("nas.local:5232"); another host asks again.
QString PlainHttpHost(const QUrl &url);
// True when Sync_Url is http:// to another computer and the user allowed it for that host.
bool SyncPlainHttpConfirmed(const Settings &settings);

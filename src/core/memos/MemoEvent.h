#pragma once

#include "core/memos/IcsCalendar.h"

#include <QDate>
#include <QString>

// A day's memo as one all-day event in another calendar. The UID comes from the date alone, so every computer and
// every export names the same day's memo the same way and a calendar never holds two of them.
QString MemoEventUid(const QDate &day);
// The day a memo event's UID names; null for any other UID.
QDate MemoEventDay(const QString &uid);
// The first line with something on it names the event.
QString MemoSummary(const QString &memo);
// The whole memo in the description, its first line as the summary; free time (TRANSP:TRANSPARENT).
AllDayEvent MemoEvent(const QDate &day, const QString &memo);

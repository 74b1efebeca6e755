#pragma once

#include "core/remind/Reminder.h"

#include <QDateTime>
#include <QString>

class MemoBook;
class QLocale;

// The words of a notification: its heading and its text.
struct ReminderNotice {
    QString summary;
    QString body;
};

// Today's notice: the date with its rokuyo and holiday as the heading, the first lines of the day's memo as the text.
ReminderNotice TodayNotice(const MemoBook &memos, const QDate &date, bool japaneseWeekdays, const QLocale &locale);
// An appointment's reminder: its time and how long until it (or that it has passed) as the heading, the line as text.
ReminderNotice TimedNotice(const Reminder &reminder, bool late, const QDateTime &now);

// Lines of today's memo a notification shows; the rest is in the calendar.
inline constexpr int TodayNoticeLines = 5;

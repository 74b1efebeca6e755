#include "core/remind/ReminderNotice.h"

#include "core/calendar/DatePattern.h"
#include "core/calendar/Holidays.h"
#include "core/calendar/Kyureki.h"
#include "core/memos/MemoBook.h"

#include <QStringList>

ReminderNotice TodayNotice(const MemoBook &memos, const QDate &date, bool japaneseWeekdays, const QLocale &locale) {
    QStringList heading{japaneseWeekdays ? FormatDatePattern(date, QString::fromUtf8("yyyy年M月d日(aaa)"), locale)
                                         : FormatDatePattern(date, QStringLiteral("ddd MMM dd yyyy"), locale),
                        RokuyoName(date.year(), date.month(), date.day())};
    if (const QString holiday = HolidayName(date); !holiday.isEmpty()) heading << holiday;
    QStringList lines = memos.memo(date, QStringLiteral("\n")).split(u'\n');
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty()) lines.removeLast();
    QString body;
    if (lines.isEmpty()) {
        body = QString::fromUtf8("今日の予定はありません。");
    } else {
        const bool more = lines.size() > TodayNoticeLines;
        body = lines.mid(0, TodayNoticeLines).join(u'\n');
        if (more) body += QString::fromUtf8("\n…");
    }
    return {heading.join(QString::fromUtf8("　")), body};
}

ReminderNotice TimedNotice(const Reminder &reminder, bool late, const QDateTime &now) {
    QString summary = reminder.time.toString(QStringLiteral("H:mm"));
    const QDateTime at(reminder.date, reminder.time);
    const qint64 seconds = QDateTime(now.date(), now.time()).secsTo(at);
    if (late)
        summary += QString::fromUtf8("（時刻を過ぎています）");
    else if (seconds >= 60)
        summary += QString::fromUtf8("（あと%1分）").arg((seconds + 59) / 60);
    return {summary, reminder.text};
}

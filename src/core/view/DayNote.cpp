#include "core/view/DayNote.h"

#include "core/calendar/DatePattern.h"
#include "core/calendar/Holidays.h"
#include "core/memos/MemoBook.h"

#include <algorithm>

namespace {

QString joinLines(const QStringList &parts) {
    QStringList present;
    for (const QString &p : parts)
        if (!p.isEmpty()) present << p;
    return present.join(QStringLiteral("\r\n"));
}

} // namespace

QString ForeignEventLine(const ForeignEvent &event, const QDate &day) {
    QString line = event.summary.isEmpty() ? QStringLiteral("（件名なし）") : event.summary;
    line.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(u'\n', u' ').replace(u'\r', u' ');
    if (!event.location.isEmpty()) line += QStringLiteral("（%1）").arg(event.location);
    if (event.allDay || !event.start.isValid()) return line;
    const QDateTime start = event.start.toLocalTime();
    const QDateTime end = event.end.isValid() ? event.end.toLocalTime() : start;
    const QString hhmm = QStringLiteral("HH:mm");
    const bool startsToday = start.date() == day;
    // An end at midnight belongs to the day before.
    const bool endsToday = end.date() == day && end > start;
    const bool endsAtMidnight = end.date() == day.addDays(1) && end.time() == QTime(0, 0);
    QString times;
    if (startsToday && (endsToday || end == start))
        times = end == start ? start.toString(hhmm) : start.toString(hhmm) + u'-' + end.toString(hhmm);
    else if (startsToday)
        times = start.toString(hhmm) + (endsAtMidnight ? QStringLiteral("-24:00") : QStringLiteral("-"));
    else if (endsToday)
        times = u'-' + end.toString(hhmm);
    return times.isEmpty() ? line : times + u' ' + line;
}

QString HoverNoteText(const MemoBook &memos, const QDate &date, const QList<ForeignEvent> &others) {
    QList<ForeignEvent> events = others;
    // All-day ones first, then by the time they begin.
    std::stable_sort(events.begin(), events.end(), [](const ForeignEvent &a, const ForeignEvent &b) {
        if (a.allDay != b.allDay) return a.allDay;
        return !a.allDay && a.start < b.start;
    });
    QStringList parts{HolidayName(date), memos.memo(date)};
    for (const ForeignEvent &e : events) parts << ForeignEventLine(e, date);
    return joinLines(parts);
}

QString TrayTipText(const MemoBook &memos, bool japaneseWeekdays, const QLocale &locale, const QDate &today) {
    const QString date = japaneseWeekdays
                             ? FormatDatePattern(today, QString::fromUtf8("yyyy年M月d日(aaa)"), locale)
                             : FormatDatePattern(today, QStringLiteral("ddd MMM dd yyyy"), locale);
    return joinLines({date, HoverNoteText(memos, today)});
}

NotePlacement PlaceDayNote(const NotePlacementInput &in, const std::function<int(int)> &lineCount) {
    NotePlacement out;
    QSize label = in.text;
    const int limit = 2 * in.frameWidth - 100;
    if (limit > 0 && label.width() >= limit) {
        // Too wide for one line beside the calendar: wrapped to the limit, as many lines again as it is wide.
        label = QSize(limit, label.height() * (label.width() / limit));
        out.wrap = true;
    }
    const int textWidth = label.width() + 100;
    const int textHeight =
        in.windowWidth - 100 > label.width() ? label.height() + 100 : lineCount(textWidth) * in.lineHeight;
    out.text = QRect(50, in.cell.height() / 2, textWidth, textHeight);

    int left = in.cell.left() + in.cell.width() + 200;
    int top = in.cell.top();
    const int width = textWidth + 200, height = in.cell.height() + textHeight;
    if (left + width > in.screen.width()) left = in.cell.left() - width - 100; // to the left of the cell
    if (top + height > in.screen.height()) top = in.screen.height() - height - 1000;
    if (left < 0) left = 0;
    if (top < 0 || top + height > in.screen.height() + 500) top = 0;
    out.window = QRect(left, top, width, height);
    return out;
}

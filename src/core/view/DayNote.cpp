#include "core/view/DayNote.h"

#include "core/calendar/DatePattern.h"
#include "core/calendar/Holidays.h"
#include "core/memos/MemoBook.h"

namespace {

QString joinLines(const QStringList &parts) {
    QStringList present;
    for (const QString &p : parts)
        if (!p.isEmpty()) present << p;
    return present.join(QStringLiteral("\r\n"));
}

} // namespace

QString HoverNoteText(const MemoBook &memos, const QDate &date) {
    return joinLines({HolidayName(date), memos.memo(date)});
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

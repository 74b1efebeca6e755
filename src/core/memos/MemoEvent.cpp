#include "core/memos/MemoEvent.h"

#include <QRegularExpression>

QString MemoEventUid(const QDate &day) {
    return QStringLiteral("memo-") + day.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral("@tsukiban");
}

QDate MemoEventDay(const QString &uid) {
    static const QRegularExpression pattern(QStringLiteral("^memo-(\\d{4})(\\d{2})(\\d{2})@tsukiban$"));
    const QRegularExpressionMatch match = pattern.match(uid);
    if (!match.hasMatch()) return {};
    return QDate(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
}

QString MemoSummary(const QString &memo) {
    for (const QString &line : memo.split(u'\n'))
        if (!line.trimmed().isEmpty()) return line.endsWith(u'\r') ? line.chopped(1) : line;
    return {};
}

AllDayEvent MemoEvent(const QDate &day, const QString &memo) {
    AllDayEvent event;
    event.day = day;
    event.uid = MemoEventUid(day);
    event.summary = MemoSummary(memo);
    event.description = memo;
    event.transparent = true;
    return event;
}

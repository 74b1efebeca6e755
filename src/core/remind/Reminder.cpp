#include "core/remind/Reminder.h"

#include "core/remind/ReminderTime.h"

#include <QCryptographicHash>
#include <QRegularExpression>
#include <QStringList>

namespace {

// What a line holds beside its time: nothing but the import's field name, the time and a separator.
bool onlyTime(const QString &line) {
    static const QRegularExpression bare(QString::fromUtf8(
        "^[\\s　]*(\\S{0,5}開始\\S{0,5} )?[\\s　]*"
        "[0-9０-９]{1,2}([:：][0-9０-９]{2}|時([0-9０-９]{1,2}分?|半)?)([-－~〜～][0-9０-９:：時分半]*)?[\\s　,;:]*$"));
    return bare.match(line).hasMatch();
}

} // namespace

QString Reminder::key() const {
    const QByteArray digest = QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
    return date.toString(QStringLiteral("yyyy/MM/dd")) + u' ' + time.toString(QStringLiteral("HH:mm")) + u' ' +
           QString::fromLatin1(digest);
}

std::vector<Reminder> RemindersOf(const QDate &date, const QString &memo) {
    const QStringList lines = QString(memo).replace(QLatin1String("\r\n"), QLatin1String("\n")).split(u'\n');
    std::vector<Reminder> found;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const std::optional<QTime> time = ReminderTime(lines[i]);
        if (!time) continue;
        QString text = lines[i].trimmed();
        // An import with a line per field: the subject and place follow, up to the next appointment's date or time.
        if (onlyTime(lines[i]))
            for (qsizetype j = i + 1; j < lines.size() && j <= i + 4 && !ReminderTime(lines[j]) &&
                                      !lines[j].left(8).contains(QString::fromUtf8("開催日"));
                 ++j)
                if (!lines[j].trimmed().isEmpty()) text += u'\n' + lines[j].trimmed();
        found.push_back({date, *time, text});
    }
    return found;
}

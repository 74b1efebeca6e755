#pragma once

#include <QDate>
#include <QString>
#include <QTime>

#include <vector>

// An appointment of a day's memo: a line that starts with a time.
struct Reminder {
    QDate date;
    QTime time;
    QString text; // the line; a line that holds only the import's 開始 field brings the lines after it

    // Who it is in the record of shown reminders: the day, the time and a digest of the text, so that an edited line
    // is a new reminder and the record holds nothing of the memo itself.
    QString key() const;
    bool operator==(const Reminder &) const = default;
};

// The appointments of a memo (line breaks as LF or CR LF), in the order of its lines.
std::vector<Reminder> RemindersOf(const QDate &date, const QString &memo);

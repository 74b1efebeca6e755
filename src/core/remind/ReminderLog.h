#pragma once

#include <QDate>
#include <QSet>
#include <QString>

// What was already shown, kept in a small file of the data folder so that a restart does not show it again: the day
// of the last today's notice and the keys of the reminders shown (Reminder::key()). Only today's and later entries are
// kept. A file that cannot be read counts as empty: at worst a reminder comes twice, never a memo is lost.
class ReminderLog {
public:
    explicit ReminderLog(QString path);

    QDate todayShown() const { return m_today; }
    void setTodayShown(const QDate &day);
    bool shown(const QString &key) const { return m_keys.contains(key); }
    void markShown(const QString &key);
    // Drops the entries of days before day.
    void forgetBefore(const QDate &day);

    static QString fileName() { return QStringLiteral("Tsukiban.remind"); }

private:
    void load();
    void save() const;

    QString m_path;
    QDate m_today;
    QSet<QString> m_keys;
};

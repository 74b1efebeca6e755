#pragma once

#include "core/sync/ForeignEvent.h"

#include <QDate>
#include <QList>
#include <QString>

#include <map>

// What was last agreed with the server for one day.
struct DayStatus {
    QString hash; // of the memo text as this computer stored it (TextHash)
    QString href; // the event on the server
    QString etag; // empty when the server gave none yet
};

// The sync's memory in the data folder (SQLite): the agreed state of every synced day, the events that others put in
// the calendar, the collection and its sync token. Changes are made inside begin()/commit(), so a process killed at
// any point leaves the store as it was at the last commit.
class SyncStatus {
public:
    explicit SyncStatus(QString path);
    ~SyncStatus();
    SyncStatus(const SyncStatus &) = delete;
    SyncStatus &operator=(const SyncStatus &) = delete;

    // Opens (making it when missing); false with error when the file cannot be used.
    bool open(QString *error = nullptr);
    bool isOpen() const;

    // The store belongs to one collection: for another one, everything it knew is forgotten.
    bool useCollection(const QString &url);
    QString syncToken() const;
    bool setSyncToken(const QString &token);

    std::map<QDate, DayStatus> days() const;
    bool putDay(const QDate &day, const DayStatus &status);
    bool removeDay(const QDate &day);

    // href -> ETag of every resource that is not a memo event (others' events, to-dos)
    std::map<QString, QString> foreignEtags() const;
    bool putForeign(const QString &href, const QString &etag, const QList<ForeignEvent> &events);
    bool removeForeign(const QString &href);
    QList<ForeignEvent> foreignEvents(const QDate &day) const;

    bool begin();
    bool commit();
    void rollback();

    QString lastError() const;

private:
    bool exec(const QString &sql) const;
    QString value(const QString &key) const;
    bool setValue(const QString &key, const QString &value);

    QString m_path;
    QString m_connection;
};

// The hash the store keeps of a memo text (line breaks as LF).
QString TextHash(const QString &text);

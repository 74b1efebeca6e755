#include "core/sync/SyncStatus.h"

#include <QCryptographicHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>

namespace {

const QString kDayFormat = QStringLiteral("yyyy-MM-dd");

// An empty text, never NULL: the columns hold text, and Qt binds a null QString as NULL.
QString Text(const QString &text) {
    return text.isNull() ? QStringLiteral("") : text;
}

QSqlDatabase Db(const QString &connection) {
    return QSqlDatabase::database(connection, false);
}

} // namespace

QString TextHash(const QString &text) {
    return QString::fromLatin1(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256).toHex());
}

SyncStatus::SyncStatus(QString path)
    : m_path(std::move(path)), m_connection(QStringLiteral("sync-status-") + QUuid::createUuid().toString()) {}

SyncStatus::~SyncStatus() {
    {
        QSqlDatabase db = Db(m_connection);
        if (db.isValid()) db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

bool SyncStatus::open(QString *error) {
    if (isOpen()) return true;
    QSqlDatabase db = QSqlDatabase::contains(m_connection) ? Db(m_connection)
                                                           : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(m_path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    const auto fail = [&](const QString &what) {
        if (error) *error = QStringLiteral("同期の状態ファイルを開けませんでした (%1): %2").arg(m_path, what);
        db.close();
        return false;
    };
    if (!db.open()) return fail(db.lastError().text());
    // WAL: a killed process loses at most the transaction it was in; NORMAL keeps every commit through a kill.
    if (!exec(QStringLiteral("PRAGMA journal_mode=WAL")) || !exec(QStringLiteral("PRAGMA synchronous=NORMAL")) ||
        !exec(QStringLiteral("CREATE TABLE IF NOT EXISTS meta (key TEXT PRIMARY KEY, value TEXT NOT NULL)")) ||
        !exec(QStringLiteral("CREATE TABLE IF NOT EXISTS days (day TEXT PRIMARY KEY, hash TEXT NOT NULL, "
                             "href TEXT NOT NULL, etag TEXT NOT NULL)")) ||
        !exec(QStringLiteral("CREATE TABLE IF NOT EXISTS foreign_objects (href TEXT PRIMARY KEY, etag TEXT NOT NULL)")) ||
        !exec(QStringLiteral("CREATE TABLE IF NOT EXISTS foreign_events (href TEXT NOT NULL, day TEXT NOT NULL, "
                             "summary TEXT, location TEXT, start TEXT, finish TEXT, all_day INTEGER)")) ||
        !exec(QStringLiteral("CREATE INDEX IF NOT EXISTS foreign_events_day ON foreign_events (day)")))
        return fail(lastError());
    return true;
}

bool SyncStatus::isOpen() const {
    const QSqlDatabase db = Db(m_connection);
    return db.isValid() && db.isOpen();
}

QString SyncStatus::lastError() const {
    return Db(m_connection).lastError().text();
}

bool SyncStatus::exec(const QString &sql) const {
    QSqlQuery query(Db(m_connection));
    return query.exec(sql);
}

QString SyncStatus::value(const QString &key) const {
    QSqlQuery query(Db(m_connection));
    query.prepare(QStringLiteral("SELECT value FROM meta WHERE key = ?"));
    query.addBindValue(key);
    if (!query.exec() || !query.next()) return {};
    return query.value(0).toString();
}

bool SyncStatus::setValue(const QString &key, const QString &value) {
    QSqlQuery query(Db(m_connection));
    query.prepare(QStringLiteral("INSERT OR REPLACE INTO meta (key, value) VALUES (?, ?)"));
    query.addBindValue(key);
    query.addBindValue(Text(value));
    return query.exec();
}

bool SyncStatus::useCollection(const QString &url) {
    if (value(QStringLiteral("collection")) == url) return true;
    if (!begin()) return false;
    const bool done = exec(QStringLiteral("DELETE FROM days")) && exec(QStringLiteral("DELETE FROM foreign_objects")) &&
                      exec(QStringLiteral("DELETE FROM foreign_events")) && exec(QStringLiteral("DELETE FROM meta")) &&
                      setValue(QStringLiteral("collection"), url);
    if (!done) {
        rollback();
        return false;
    }
    return commit();
}

QString SyncStatus::syncToken() const {
    return value(QStringLiteral("sync_token"));
}

bool SyncStatus::setSyncToken(const QString &token) {
    return setValue(QStringLiteral("sync_token"), token);
}

std::map<QDate, DayStatus> SyncStatus::days() const {
    std::map<QDate, DayStatus> days;
    QSqlQuery query(Db(m_connection));
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT day, hash, href, etag FROM days"))) return days;
    while (query.next()) {
        const QDate day = QDate::fromString(query.value(0).toString(), kDayFormat);
        if (day.isValid())
            days[day] = {query.value(1).toString(), query.value(2).toString(), query.value(3).toString()};
    }
    return days;
}

bool SyncStatus::putDay(const QDate &day, const DayStatus &status) {
    QSqlQuery query(Db(m_connection));
    query.prepare(QStringLiteral("INSERT OR REPLACE INTO days (day, hash, href, etag) VALUES (?, ?, ?, ?)"));
    query.addBindValue(day.toString(kDayFormat));
    query.addBindValue(Text(status.hash));
    query.addBindValue(Text(status.href));
    query.addBindValue(Text(status.etag));
    return query.exec();
}

bool SyncStatus::removeDay(const QDate &day) {
    QSqlQuery query(Db(m_connection));
    query.prepare(QStringLiteral("DELETE FROM days WHERE day = ?"));
    query.addBindValue(day.toString(kDayFormat));
    return query.exec();
}

std::map<QString, QString> SyncStatus::foreignEtags() const {
    std::map<QString, QString> etags;
    QSqlQuery query(Db(m_connection));
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT href, etag FROM foreign_objects"))) return etags;
    while (query.next()) etags[query.value(0).toString()] = query.value(1).toString();
    return etags;
}

bool SyncStatus::putForeign(const QString &href, const QString &etag, const QList<ForeignEvent> &events) {
    if (!removeForeign(href)) return false;
    QSqlQuery object(Db(m_connection));
    object.prepare(QStringLiteral("INSERT INTO foreign_objects (href, etag) VALUES (?, ?)"));
    object.addBindValue(href);
    object.addBindValue(Text(etag));
    if (!object.exec()) return false;
    QSqlQuery query(Db(m_connection));
    query.prepare(QStringLiteral("INSERT INTO foreign_events (href, day, summary, location, start, finish, all_day) "
                                 "VALUES (?, ?, ?, ?, ?, ?, ?)"));
    for (const ForeignEvent &event : events) {
        query.addBindValue(href);
        query.addBindValue(event.day.toString(kDayFormat));
        query.addBindValue(Text(event.summary));
        query.addBindValue(Text(event.location));
        query.addBindValue(event.start.toString(Qt::ISODateWithMs));
        query.addBindValue(event.end.toString(Qt::ISODateWithMs));
        query.addBindValue(event.allDay ? 1 : 0);
        if (!query.exec()) return false;
    }
    return true;
}

bool SyncStatus::removeForeign(const QString &href) {
    QSqlQuery events(Db(m_connection));
    events.prepare(QStringLiteral("DELETE FROM foreign_events WHERE href = ?"));
    events.addBindValue(href);
    QSqlQuery object(Db(m_connection));
    object.prepare(QStringLiteral("DELETE FROM foreign_objects WHERE href = ?"));
    object.addBindValue(href);
    return events.exec() && object.exec();
}

QList<ForeignEvent> SyncStatus::foreignEvents(const QDate &day) const {
    QList<ForeignEvent> events;
    QSqlQuery query(Db(m_connection));
    query.prepare(QStringLiteral("SELECT summary, location, start, finish, all_day FROM foreign_events WHERE day = ? "
                                 "ORDER BY all_day DESC, start, summary"));
    query.addBindValue(day.toString(kDayFormat));
    if (!query.exec()) return events;
    while (query.next()) {
        ForeignEvent event;
        event.day = day;
        event.summary = query.value(0).toString();
        event.location = query.value(1).toString();
        event.start = QDateTime::fromString(query.value(2).toString(), Qt::ISODateWithMs);
        event.end = QDateTime::fromString(query.value(3).toString(), Qt::ISODateWithMs);
        event.allDay = query.value(4).toInt() != 0;
        events << event;
    }
    return events;
}

bool SyncStatus::begin() {
    return Db(m_connection).transaction();
}

bool SyncStatus::commit() {
    return Db(m_connection).commit();
}

void SyncStatus::rollback() {
    Db(m_connection).rollback();
}

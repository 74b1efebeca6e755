#pragma once

#include "core/sync/ForeignEvent.h"
#include "core/sync/SyncAccount.h"
#include "core/sync/SyncReport.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

class MemoBook;
class QNetworkAccessManager;
class SyncStatus;

// Two-way sync of the day memos with one CalDAV calendar, asynchronous on Qt Network.
class SyncEngine : public QObject {
    Q_OBJECT
public:
    // statusPath: the SQLite status store in the data folder ("TsukibanSync.db")
    SyncEngine(MemoBook &memos, QString statusPath, QNetworkAccessManager &network, QObject *parent = nullptr);
    ~SyncEngine() override;

    // Asynchronous; a call while running is remembered and runs after.
    void start(const SyncAccount &account);
    bool isRunning() const;
    // From the status store, no network.
    QList<ForeignEvent> foreignEvents(const QDate &day) const;

    // For tests: a sync stops (as if the process were killed) before its request number n (1-based) is sent.
    void setRequestLimitForTest(int n);
    // For tests: told of every request before it is sent (method, URL, body).
    void setRequestHookForTest(std::function<void(const QByteArray &, const QUrl &, const QByteArray &)> hook);

signals:
    void finished(const SyncReport &report);
    void foreignEventsChanged();

private:
    class Run;
    friend class Run;
    void runFinished(const SyncReport &report, bool foreignChanged);

    MemoBook &m_memos;
    QString m_statusPath;
    QNetworkAccessManager &m_network;
    std::unique_ptr<SyncStatus> m_status;
    Run *m_run = nullptr;
    std::optional<SyncAccount> m_pending;
    int m_requestLimit = 0;
    std::function<void(const QByteArray &, const QUrl &, const QByteArray &)> m_requestHook;
};

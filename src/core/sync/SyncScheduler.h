#pragma once

#include "core/sync/SyncAccount.h"
#include "core/sync/SyncReport.h"

#include <QDate>
#include <QDateTime>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>

#include <functional>
#include <optional>

class Clock;
class MemoBook;
class Prompts;
class SettingsModel;
class SyncPassword;

// When the memos are synced: at start, every Sync_Interval minutes, a few seconds after a memo changes, and on
// 今すぐ同期. Offline or a server error is retried with back-off (30 s doubling up to the interval) and only shown,
// never put in a message box; a wrong password asks once, then waits until the user changes the sync settings or the
// password. One single-shot timer aimed at the next due moment; nothing polls.
class SyncScheduler : public QObject {
    Q_OBJECT
public:
    // start: begins one sync with the account (the engine's start); its result comes back through finished().
    using Start = std::function<void(const SyncAccount &account)>;
    SyncScheduler(SettingsModel &settings, MemoBook &memos, SyncPassword &password, Prompts &prompts,
                  const Clock &clock, Start start, QObject *parent = nullptr);

    static constexpr int DebounceSeconds = 5;
    static constexpr int FirstRetrySeconds = 30;

    enum class State {
        Off,      // Sync_Enabled is not on
        Idle,     // waiting for the next due moment
        Running,  // fetching the password or syncing
        Retrying, // the last attempt failed for a passing reason
        Stopped,  // needs the user: a refused or missing password, no calendar, plain http not allowed
    };

    // At program start: the first sync when sync is on.
    void begin();
    // 今すぐ同期: at once, or right after the sync that is running. Also leaves Stopped.
    void syncNow();
    // The password was changed in the 同期 tab: a stop for a refused password ends.
    void passwordChanged();
    // The engine's result.
    void finished(const SyncReport &report);
    // What the timer runs: a sync when one is due at the clock's now, else the timer aimed again.
    void runDue();

    State state() const { return m_state; }
    const std::optional<SyncReport> &lastReport() const { return m_last; }
    // The next planned sync; invalid when none is planned.
    QDateTime nextRun() const;
    // One line for the tray tip and the 同期 tab; empty while sync is off.
    QString statusText() const;

signals:
    void statusChanged();

private:
    struct Watched {
        QString enabled, url, user, interval, plainHttp;
        bool operator==(const Watched &) const = default;
    };
    Watched watched() const;
    void settingsChanged();
    void memoChanged(const QDate &date);
    void startRun();
    void stop(const QString &error);
    void plan();
    qint64 intervalSeconds() const;

    SettingsModel &m_settings;
    SyncPassword &m_password;
    Prompts &m_prompts;
    const Clock &m_clock;
    Start m_start;
    QTimer m_timer;
    State m_state = State::Off;
    Watched m_watched;
    std::optional<SyncReport> m_last;
    QDateTime m_due;         // the next periodic sync or retry
    QDateTime m_debounceDue; // a few seconds after the last memo change
    qint64 m_backoff = 0;    // seconds of the last retry wait; 0 after a success
    bool m_againAfterRun = false;
    bool m_authRetried = false; // the password was asked for once after a refusal
    QSet<QDate> m_changedDuringRun;
    SyncAccount m_account; // of the run under way
};

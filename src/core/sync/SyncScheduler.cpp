#include "core/sync/SyncScheduler.h"

#include "core/memos/MemoBook.h"
#include "core/settings/SettingsModel.h"
#include "core/sync/SyncPassword.h"
#include "core/sync/SyncSettings.h"
#include "core/sync/SyncUrlPolicy.h"
#include "core/system/Clock.h"
#include "core/system/Prompts.h"

#include <QPointer>
#include <QStringList>

#include <algorithm>

SyncScheduler::SyncScheduler(SettingsModel &settings, MemoBook &memos, SyncPassword &password, Prompts &prompts,
                             const Clock &clock, Start start, QObject *parent)
    : QObject(parent), m_settings(settings), m_password(password), m_prompts(prompts), m_clock(clock),
      m_start(std::move(start)) {
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &SyncScheduler::runDue);
    connect(&settings, &SettingsModel::changed, this, &SyncScheduler::settingsChanged);
    connect(&memos, &MemoBook::memoChanged, this, &SyncScheduler::memoChanged);
    m_watched = watched();
}

SyncScheduler::Watched SyncScheduler::watched() const {
    return {m_settings.Sync_Enabled, m_settings.Sync_Url, m_settings.Sync_User, m_settings.Sync_Interval,
            m_settings.Sync_PlainHttp};
}

qint64 SyncScheduler::intervalSeconds() const {
    return qint64(SyncIntervalMinutes(m_settings)) * 60;
}

void SyncScheduler::begin() {
    if (!SyncEnabled(m_settings)) return;
    m_state = State::Idle;
    startRun();
}

void SyncScheduler::syncNow() {
    if (!SyncEnabled(m_settings)) return;
    if (m_state == State::Running) {
        m_againAfterRun = true;
        return;
    }
    m_authRetried = false;
    startRun();
}

void SyncScheduler::passwordChanged() {
    m_authRetried = false;
    if (m_state == State::Stopped) syncNow();
}

void SyncScheduler::settingsChanged() {
    const Watched now = watched();
    if (now == m_watched) return;
    const Watched before = std::exchange(m_watched, now);
    if (!SyncEnabled(m_settings)) {
        if (m_state != State::Running) m_state = State::Off;
        m_due = m_debounceDue = QDateTime();
        plan();
        emit statusChanged();
        return;
    }
    const bool sameAccount = before.enabled == now.enabled && before.url == now.url && before.user == now.user &&
                             before.plainHttp == now.plainHttp;
    if (sameAccount && m_state != State::Off && m_state != State::Stopped) {
        // Only the interval changed: the next periodic sync follows it.
        if (m_state == State::Idle) m_due = m_clock.now().addSecs(intervalSeconds());
        plan();
        emit statusChanged();
        return;
    }
    m_backoff = 0;
    m_authRetried = false;
    syncNow();
}

void SyncScheduler::memoChanged(const QDate &date) {
    // Offline, the retry carries the edit; it need not come sooner.
    if (m_state == State::Off || m_state == State::Stopped || m_state == State::Retrying) return;
    if (m_state == State::Running) {
        m_changedDuringRun.insert(date);
        return;
    }
    m_debounceDue = m_clock.now().addSecs(DebounceSeconds);
    plan();
}

void SyncScheduler::startRun() {
    m_timer.stop();
    m_due = m_debounceDue = QDateTime();
    m_changedDuringRun.clear();
    if (!SyncEnabled(m_settings)) {
        // Turned off while a sync ran: nothing follows it.
        m_state = State::Off;
        m_againAfterRun = false;
        emit statusChanged();
        return;
    }
    const QUrl url = SyncCalendarUrl(m_settings);
    if (url.isEmpty()) {
        stop(QStringLiteral("同期するカレンダーのアドレスがありません。オプションの「同期」タブで選んでください。"));
        return;
    }
    const bool plainHttp = SyncPlainHttpConfirmed(m_settings);
    if (!SyncUrlPolicy::allowed(url, plainHttp)) {
        stop(QStringLiteral("暗号化されない http:// での同期は、オプションの「同期」タブで確認してから行います。"));
        return;
    }
    m_state = State::Running;
    emit statusChanged();
    const QString user = m_settings.Sync_User;
    QPointer<SyncScheduler> self(this);
    m_password.fetch(user, url, [self, url, user, plainHttp](const std::optional<QString> &password) {
        if (!self) return;
        if (!password) {
            self->stop(QStringLiteral("パスワードがありません。オプションの「同期」タブで入力してください。"));
            return;
        }
        self->m_account = SyncAccount{url, user, *password, plainHttp};
        self->m_start(self->m_account);
    });
}

void SyncScheduler::stop(const QString &error) {
    SyncReport report;
    report.error = error;
    report.finished = m_clock.now();
    m_last = report;
    m_state = State::Stopped;
    m_againAfterRun = false;
    plan();
    emit statusChanged();
}

void SyncScheduler::finished(const SyncReport &report) {
    if (m_state != State::Running) return;
    m_last = report;
    if (!m_last->finished.isValid()) m_last->finished = m_clock.now();
    const QDateTime now = m_clock.now();

    // Changes the engine itself stored are agreed already; edits made meanwhile are synced a few seconds later.
    QSet<QDate> byUser = m_changedDuringRun;
    for (const QDate &day : report.changedDays) byUser.remove(day);
    m_changedDuringRun.clear();
    if (!byUser.isEmpty()) m_debounceDue = now.addSecs(DebounceSeconds);

    if (report.ok) {
        m_state = State::Idle;
        m_backoff = 0;
        m_authRetried = false;
        m_password.accepted(m_account.user, m_account.calendarUrl);
        m_due = now.addSecs(intervalSeconds());
        if (!report.mergedDays.isEmpty()) {
            QStringList days;
            for (const QDate &day : report.mergedDays) days << day.toString(QStringLiteral("yyyy/MM/dd"));
            m_prompts.notice(QStringLiteral("このコンピューターとサーバーの両方で変更された日のメモは、両方の内容を"
                                            "残しました（このコンピューターの内容、「――――」の行、サーバーの内容の順）。"
                                            "\r\n%1")
                                 .arg(days.join(QStringLiteral("、"))));
        }
    } else if (report.authFailed) {
        m_password.rejected(m_account.user, m_account.calendarUrl);
        if (!m_authRetried) {
            m_authRetried = true;
            startRun();
            return;
        }
        m_state = State::Stopped;
        m_againAfterRun = false;
        m_due = m_debounceDue = QDateTime();
    } else if (report.retryable) {
        m_state = State::Retrying;
        m_backoff = m_backoff == 0 ? FirstRetrySeconds : std::min(m_backoff * 2, intervalSeconds());
        m_backoff = std::min(m_backoff, intervalSeconds());
        m_due = now.addSecs(m_backoff);
    } else {
        // A certificate or a calendar that is gone: said in the tab and the tip, tried again at the interval.
        m_state = State::Idle;
        m_due = now.addSecs(intervalSeconds());
    }
    m_account.password.clear();
    if (!SyncEnabled(m_settings)) {
        m_state = State::Off;
        m_due = m_debounceDue = QDateTime();
        m_againAfterRun = false;
    }
    if (m_againAfterRun) {
        m_againAfterRun = false;
        startRun();
        return;
    }
    plan();
    emit statusChanged();
}

void SyncScheduler::runDue() {
    if (m_state == State::Running || m_state == State::Off || m_state == State::Stopped) return;
    const QDateTime now = m_clock.now();
    const QDateTime next = nextRun();
    if (next.isValid() && next <= now) {
        startRun();
        return;
    }
    plan();
}

QDateTime SyncScheduler::nextRun() const {
    if (m_state == State::Off || m_state == State::Stopped) return QDateTime();
    if (!m_due.isValid()) return m_debounceDue;
    if (!m_debounceDue.isValid()) return m_due;
    return std::min(m_due, m_debounceDue);
}

void SyncScheduler::plan() {
    const QDateTime next = m_state == State::Running ? QDateTime() : nextRun();
    if (!next.isValid()) {
        m_timer.stop();
        return;
    }
    m_timer.start(int(std::clamp<qint64>(m_clock.now().msecsTo(next), 0, 24 * 3600 * 1000)));
}

QString SyncScheduler::statusText() const {
    if (!SyncEnabled(m_settings) && m_state != State::Running) return QString();
    if (m_state == State::Running) return QStringLiteral("同期しています…");
    if (!m_last) return QString();
    QString text = m_last->summary();
    if (m_state == State::Retrying && m_due.isValid())
        text += QStringLiteral("（%1 にもう一度試します）").arg(m_due.toLocalTime().toString(QStringLiteral("HH:mm")));
    return text;
}

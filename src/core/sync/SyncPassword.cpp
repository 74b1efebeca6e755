#include "core/sync/SyncPassword.h"

#include "core/system/Prompts.h"

#include <QPointer>

#include <qt6keychain/keychain.h>

namespace {

const char *const kVariable = "TSUKIBAN_SYNC_PASSWORD";

QString service() {
    return QStringLiteral("tsukiban-sync");
}

QString serverName(const QUrl &server) {
    return server.adjusted(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment | QUrl::RemoveUserInfo)
        .toString();
}

} // namespace

SyncPassword::SyncPassword(Prompts &prompts, bool secretStore, QObject *parent)
    : QObject(parent), m_prompts(prompts), m_secretStore(secretStore) {}

bool SyncPassword::fromEnvironment() {
    return !qEnvironmentVariableIsEmpty(kVariable);
}

QString SyncPassword::keyOf(const QString &user, const QUrl &server) {
    // One password per account on a server: the calendars of one account share it.
    return user + u'@' + serverName(server);
}

void SyncPassword::fetch(const QString &user, const QUrl &server, const Done &done) {
    const QString key = keyOf(user, server);
    if (m_refused.contains(key)) {
        ask(key, user, server, true, done);
        return;
    }
    if (fromEnvironment()) {
        done(qEnvironmentVariable(kVariable));
        return;
    }
    if (const auto found = m_session.constFind(key); found != m_session.constEnd()) {
        done(*found);
        return;
    }
    if (!m_secretStore) {
        ask(key, user, server, false, done);
        return;
    }
    auto *job = new QKeychain::ReadPasswordJob(service(), this);
    job->setKey(key);
    QPointer<SyncPassword> self(this);
    connect(job, &QKeychain::Job::finished, this, [self, job, key, user, server, done] {
        if (!self) return;
        if (job->error() == QKeychain::NoError) {
            self->m_session.insert(key, job->textData());
            done(job->textData());
            return;
        }
        // No entry yet, or no store at all (no session bus, no keyring): the user is asked once.
        if (job->error() != QKeychain::EntryNotFound) self->m_secretStore = false;
        self->ask(key, user, server, false, done);
    });
    job->start();
}

void SyncPassword::ask(const QString &key, const QString &user, const QUrl &server, bool refused, const Done &done) {
    if (m_asked.contains(key)) {
        done(std::nullopt);
        return;
    }
    m_asked.insert(key);
    m_refused.remove(key);
    const QString who = QStringLiteral("%1（ユーザー名: %2）").arg(serverName(server), user);
    const QString text = refused ? QStringLiteral("%1 がパスワードを受け付けませんでした。\r\n正しいパスワードを入力してください。")
                                       .arg(who)
                                 : QStringLiteral("カレンダーの同期に %1 のパスワードが必要です。").arg(who);
    const std::optional<QString> typed = m_prompts.password(text);
    if (!typed || typed->isEmpty()) {
        done(std::nullopt);
        return;
    }
    m_session.insert(key, *typed);
    m_typed.insert(key);
    done(*typed);
}

void SyncPassword::set(const QString &user, const QUrl &server, const QString &password) {
    const QString key = keyOf(user, server);
    m_session.insert(key, password);
    m_asked.remove(key);
    m_refused.remove(key);
    m_typed.remove(key);
    writeToStore(key, password);
}

void SyncPassword::accepted(const QString &user, const QUrl &server) {
    const QString key = keyOf(user, server);
    m_asked.remove(key);
    if (!m_typed.remove(key)) return;
    writeToStore(key, m_session.value(key));
}

void SyncPassword::rejected(const QString &user, const QUrl &server) {
    const QString key = keyOf(user, server);
    m_session.remove(key);
    m_refused.insert(key);
    m_asked.remove(key); // a wrong password is asked for once more; the scheduler stops after that
}

void SyncPassword::writeToStore(const QString &key, const QString &password) {
    if (!m_secretStore) {
        emit stored(false);
        return;
    }
    auto *job = new QKeychain::WritePasswordJob(service(), this);
    job->setKey(key);
    job->setTextData(password);
    QPointer<SyncPassword> self(this);
    connect(job, &QKeychain::Job::finished, this, [self, job] {
        if (!self) return;
        const bool ok = job->error() == QKeychain::NoError;
        if (!ok) self->m_secretStore = false;
        emit self->stored(ok);
    });
    job->start();
}

#pragma once

#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

class Prompts;

// The sync password, never written to a file or a log: the variable TSUKIBAN_SYNC_PASSWORD first (headless runs,
// tests), else the desktop's secret store (qtkeychain), else asked once per session and kept in memory only.
class SyncPassword : public QObject {
    Q_OBJECT
public:
    // secretStore false leaves the desktop's secret store alone (tests).
    explicit SyncPassword(Prompts &prompts, bool secretStore = true, QObject *parent = nullptr);

    using Done = std::function<void(const std::optional<QString> &password)>;
    // Calls done with the account's password, later when the secret store is asked; nullopt when there is none and
    // the user cancelled the question, or was already asked in this session.
    void fetch(const QString &user, const QUrl &server, const Done &done);
    // The user typed it in the 同期 tab: kept for the session and put in the secret store where there is one.
    void set(const QString &user, const QUrl &server, const QString &password);
    // The server took it: a password the user was asked for goes to the secret store now.
    void accepted(const QString &user, const QUrl &server);
    // The server refused it: the next fetch asks the user once, whatever the variable or the store holds.
    void rejected(const QString &user, const QUrl &server);
    // The variable is set: the tab shows that it is used.
    static bool fromEnvironment();
    // Where the secret store answered so far: false once it said it has no backend.
    bool secretStoreAvailable() const { return m_secretStore; }

signals:
    // A write to the secret store ended; ok false means the password lives in memory for this session only.
    void stored(bool ok);

private:
    static QString keyOf(const QString &user, const QUrl &server);
    void ask(const QString &key, const QString &user, const QUrl &server, bool refused, const Done &done);
    void writeToStore(const QString &key, const QString &password);

    Prompts &m_prompts;
    bool m_secretStore;
    QHash<QString, QString> m_session; // key -> password, for this run of the program
    QSet<QString> m_asked;             // asked in this session without an answer the server took
    QSet<QString> m_refused;           // the server said no to what we had
    QSet<QString> m_typed;             // typed in a question, not yet in the store
};

#pragma once

#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>

#include <ostream>

// A real CalDAV server on 127.0.0.1 and a free port for one test, and the other device (python3-caldav) on it.
class SyncServer {
public:
    enum class Kind { Radicale, Xandikos };
    explicit SyncServer(Kind kind);
    ~SyncServer();

    // False with why when the server cannot run here: only its program missing is a reason to skip.
    bool start(QString &why);
    bool missing() const { return m_missing; }

    QUrl calendar() const { return m_calendar; }
    QString user() const { return m_user; }
    QString password() const { return m_password; }
    bool hasAuth() const { return m_kind == Kind::Radicale; }

    // The other device: phone.py with these arguments; its standard output, or a failed test.
    QByteArray phone(const QStringList &args) const;
    // uid -> {"summary", "description", "count"}
    QJsonObject events() const;

    void stop();

private:
    Kind m_kind;
    QTemporaryDir m_dir;
    QProcess m_process;
    QUrl m_calendar;
    QString m_user, m_password;
    bool m_missing = false;
};

int FreePort();

// The server's name in test output.
void PrintTo(SyncServer::Kind kind, std::ostream *os);

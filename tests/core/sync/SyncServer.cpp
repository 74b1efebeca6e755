#include "SyncServer.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <gtest/gtest.h>

namespace {

// Debian's interpreter, where radicale and python3-caldav are installed, whatever python3 comes first on PATH.
QString Python() {
    return QFile::exists(QStringLiteral("/usr/bin/python3")) ? QStringLiteral("/usr/bin/python3")
                                                              : QStringLiteral("python3");
}

} // namespace

void PrintTo(SyncServer::Kind kind, std::ostream *os) {
    *os << (kind == SyncServer::Kind::Radicale ? "Radicale" : "Xandikos");
}

int FreePort() {
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost, 0)) return 0;
    return server.serverPort();
}

SyncServer::SyncServer(Kind kind) : m_kind(kind) {}

SyncServer::~SyncServer() {
    stop();
}

bool SyncServer::start(QString &why) {
    const int port = FreePort();
    const QString root = m_dir.path();
    if (m_kind == Kind::Radicale) {
        if (QStandardPaths::findExecutable(QStringLiteral("radicale")).isEmpty()) {
            m_missing = true;
            why = QStringLiteral("radicale is not installed");
            return false;
        }
        m_user = QStringLiteral("alice");
        m_password = QStringLiteral("secret-パス");
        QFile users(root + QStringLiteral("/users"));
        users.open(QIODevice::WriteOnly);
        users.write((m_user + u':' + m_password + u'\n').toUtf8());
        users.close();
        QFile config(root + QStringLiteral("/config"));
        config.open(QIODevice::WriteOnly);
        config.write(QStringLiteral("[server]\nhosts = 127.0.0.1:%1\n[auth]\ntype = htpasswd\nhtpasswd_filename = %2/users\n"
                                    "htpasswd_encryption = plain\ndelay = 0\n[storage]\nfilesystem_folder = %2/store\n"
                                    "[logging]\nlevel = error\n")
                         .arg(port)
                         .arg(root)
                         .toUtf8());
        config.close();
        m_process.start(Python(), {QStringLiteral("-m"), QStringLiteral("radicale"), QStringLiteral("--config"),
                                   root + QStringLiteral("/config")});
        m_calendar = QUrl(QStringLiteral("http://127.0.0.1:%1/alice/tsukiban/").arg(port));
    } else {
        const QString xandikos = QStandardPaths::findExecutable(QStringLiteral("xandikos"));
        if (xandikos.isEmpty()) {
            m_missing = true;
            why = QStringLiteral("xandikos is not installed");
            return false;
        }
        m_process.start(xandikos, {QStringLiteral("--defaults"), QStringLiteral("-d"), root + QStringLiteral("/store"),
                                   QStringLiteral("-l"), QStringLiteral("127.0.0.1"), QStringLiteral("-p"),
                                   QString::number(port)});
        m_calendar = QUrl(QStringLiteral("http://127.0.0.1:%1/user/calendars/calendar/").arg(port));
        // Xandikos asks for no login; the command still wants a password to send.
        m_user = QStringLiteral("user");
        m_password = QStringLiteral("unused");
    }
    if (!m_process.waitForStarted(10000)) {
        why = QStringLiteral("the server did not start: ") + m_process.errorString();
        return false;
    }
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 20000) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, port);
        if (socket.waitForConnected(200)) {
            if (m_kind == Kind::Radicale) phone({QStringLiteral("mkcal"), QStringLiteral("tsukiban")});
            return true;
        }
        if (m_process.state() != QProcess::Running) break;
        QThread::msleep(50);
    }
    why = QStringLiteral("the server did not answer: ") + QString::fromUtf8(m_process.readAllStandardError());
    return false;
}

QByteArray SyncServer::phone(const QStringList &args) const {
    QProcess process;
    process.start(Python(), QStringList{QStringLiteral(SYNC_PHONE), m_calendar.toString(), m_user, m_password} + args);
    const bool done = process.waitForFinished(60000);
    EXPECT_TRUE(done && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
        << args.join(u' ').toStdString() << ": " << process.readAllStandardError().toStdString();
    return process.readAllStandardOutput();
}

QJsonObject SyncServer::events() const {
    return QJsonDocument::fromJson(phone({QStringLiteral("list")})).object();
}

void SyncServer::stop() {
    if (m_process.state() == QProcess::NotRunning) return;
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

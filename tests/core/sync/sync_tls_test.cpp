// A server whose certificate this computer does not trust: the sync and the discovery stop and say so.
#include "SyncServer.h"
#include "TestApp.h"
#include "core/memos/MemoBook.h"
#include "core/sync/CalDavDiscovery.h"
#include "core/sync/SyncEngine.h"

#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

TEST(SyncTls, AnUntrustedCertificateIsReportedAndNeverIgnored) {
    if (QStandardPaths::findExecutable(QStringLiteral("radicale")).isEmpty()) GTEST_SKIP() << "radicale is not installed";
    if (QStandardPaths::findExecutable(QStringLiteral("openssl")).isEmpty()) GTEST_SKIP() << "openssl is not installed";
    const QTemporaryDir dir;
    const QString cert = dir.filePath(QStringLiteral("cert.pem")), key = dir.filePath(QStringLiteral("key.pem"));
    ASSERT_EQ(QProcess::execute(QStringLiteral("openssl"),
                                {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                                 QStringLiteral("rsa:2048"), QStringLiteral("-nodes"), QStringLiteral("-keyout"), key,
                                 QStringLiteral("-out"), cert, QStringLiteral("-days"), QStringLiteral("2"),
                                 QStringLiteral("-subj"), QStringLiteral("/CN=127.0.0.1")}),
              0);
    const int port = FreePort();
    QFile config(dir.filePath(QStringLiteral("config")));
    ASSERT_TRUE(config.open(QIODevice::WriteOnly));
    config.write(QStringLiteral("[server]\nhosts = 127.0.0.1:%1\nssl = True\ncertificate = %2\nkey = %3\n[auth]\ntype = none\n"
                                "[storage]\nfilesystem_folder = %4/store\n[logging]\nlevel = error\n")
                     .arg(port)
                     .arg(cert, key, dir.path())
                     .toUtf8());
    config.close();
    QProcess server;
    server.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-m"), QStringLiteral("radicale"), QStringLiteral("--config"), config.fileName()});
    ASSERT_TRUE(server.waitForStarted());
    bool up = false;
    for (int i = 0; i < 200 && !up; ++i) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, quint16(port));
        up = socket.waitForConnected(100);
        if (!up) QThread::msleep(50);
    }
    ASSERT_TRUE(up);

    TestApp app;
    app.ctx().memos().store(QDate(2026, 12, 24), QStringLiteral("イブ"));
    QNetworkAccessManager network;
    SyncEngine engine(app.ctx().memos(), app.path(QStringLiteral("TsukibanSync.db")), network);
    SyncReport report;
    QEventLoop loop;
    QObject::connect(&engine, &SyncEngine::finished, &loop, [&](const SyncReport &r) {
        report = r;
        loop.quit();
    });
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    SyncAccount account;
    account.calendarUrl = QUrl(QStringLiteral("https://127.0.0.1:%1/alice/tsukiban/").arg(port));
    account.user = QStringLiteral("alice");
    account.password = QStringLiteral("secret");
    engine.start(account);
    loop.exec();
    EXPECT_FALSE(report.ok);
    EXPECT_TRUE(report.tlsError);
    EXPECT_FALSE(report.authFailed);
    EXPECT_TRUE(report.error.contains(QStringLiteral("証明書"))) << report.error.toStdString();
    EXPECT_FALSE(report.error.contains(QStringLiteral("secret")));
    EXPECT_EQ(app.ctx().memos().memo(QDate(2026, 12, 24)), QStringLiteral("イブ"));

    CalDavDiscovery discovery(network);
    bool tls = false;
    QString message;
    QObject::connect(&discovery, &CalDavDiscovery::failed, &loop, [&](const QString &m, bool, bool tlsError) {
        message = m;
        tls = tlsError;
        loop.quit();
    });
    QObject::connect(&discovery, &CalDavDiscovery::calendarsFound, &loop, &QEventLoop::quit);
    discovery.discover(QUrl(QStringLiteral("https://127.0.0.1:%1/").arg(port)), account.user, account.password, false);
    loop.exec();
    EXPECT_TRUE(tls) << message.toStdString();
    server.kill();
    server.waitForFinished();
}

} // namespace

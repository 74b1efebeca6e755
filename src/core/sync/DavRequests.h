#pragma once

#include <QByteArray>
#include <QNetworkRequest>
#include <QString>
#include <QStringList>
#include <QUrl>

class QNetworkReply;

// The bodies and requests of the WebDAV and CalDAV calls the sync makes.
namespace Dav {

QByteArray PropfindEtags();
QByteArray PropfindDiscovery();
QByteArray SyncCollection(const QString &token);
QByteArray Multiget(const QStringList &hrefs, bool withData);
QByteArray MakeCalendar(const QString &name);

// A request with the account's credentials (sent at once: the address was checked to be safe for them).
QNetworkRequest Request(const QUrl &url, const QString &user, const QString &password);

// The key an href is known by: its path, percent-decoded, whatever form the server wrote it in.
QString HrefKey(const QUrl &base, const QString &href);
// The URL of an href key on the server of base.
QUrl HrefUrl(const QUrl &base, const QString &key);

// What went wrong with a reply, in Japanese; empty when nothing did. authFailed, tlsError and retryable say what
// kind of failure it was.
struct Failure {
    QString message;
    bool authFailed = false;
    bool tlsError = false;
    bool retryable = false;
};
Failure FailureOf(QNetworkReply *reply, const QString &tlsErrors);
int StatusOf(QNetworkReply *reply);

} // namespace Dav

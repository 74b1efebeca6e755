#include "core/sync/DavRequests.h"

#include <QNetworkReply>

namespace Dav {

namespace {

QByteArray Escaped(const QString &text) {
    return text.toHtmlEscaped().toUtf8();
}

constexpr auto kHeader = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";

} // namespace

QByteArray PropfindEtags() {
    return QByteArray(kHeader) + "<D:propfind xmlns:D=\"DAV:\"><D:prop><D:getetag/><D:resourcetype/></D:prop></D:propfind>";
}

QByteArray PropfindDiscovery() {
    return QByteArray(kHeader) +
           "<D:propfind xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\"><D:prop>"
           "<D:current-user-principal/><C:calendar-home-set/><D:resourcetype/><D:displayname/>"
           "<C:supported-calendar-component-set/></D:prop></D:propfind>";
}

QByteArray SyncCollection(const QString &token) {
    return QByteArray(kHeader) + "<D:sync-collection xmlns:D=\"DAV:\"><D:sync-token>" + Escaped(token) +
           "</D:sync-token><D:sync-level>1</D:sync-level><D:prop><D:getetag/></D:prop></D:sync-collection>";
}

QByteArray Multiget(const QStringList &hrefs, bool withData) {
    QByteArray body = QByteArray(kHeader) +
                      "<C:calendar-multiget xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\"><D:prop>"
                      "<D:getetag/>" +
                      (withData ? "<C:calendar-data/>" : "") + "</D:prop>";
    for (const QString &href : hrefs) body += "<D:href>" + Escaped(href) + "</D:href>";
    return body + "</C:calendar-multiget>";
}

QByteArray MakeCalendar(const QString &name) {
    return QByteArray(kHeader) +
           "<C:mkcalendar xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\"><D:set><D:prop><D:displayname>" +
           Escaped(name) +
           "</D:displayname><C:supported-calendar-component-set><C:comp name=\"VEVENT\"/>"
           "</C:supported-calendar-component-set></D:prop></D:set></C:mkcalendar>";
}

QNetworkRequest Request(const QUrl &url, const QString &user, const QString &password) {
    QNetworkRequest request(url);
    if (!user.isEmpty() || !password.isEmpty())
        request.setRawHeader("Authorization", "Basic " + (user + u':' + password).toUtf8().toBase64());
    request.setHeader(QNetworkRequest::UserAgentHeader, QByteArrayLiteral("Tsukiban"));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setTransferTimeout(60000);
    return request;
}

QString HrefKey(const QUrl &base, const QString &href) {
    const QUrl url = base.resolved(QUrl(href.trimmed()));
    return url.path(QUrl::FullyDecoded);
}

QUrl HrefUrl(const QUrl &base, const QString &key) {
    QUrl url = base;
    url.setPath(key, QUrl::DecodedMode);
    url.setQuery(QString());
    url.setFragment(QString());
    return url;
}

int StatusOf(QNetworkReply *reply) {
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

Failure FailureOf(QNetworkReply *reply, const QString &tlsErrors) {
    Failure failure;
    const int status = StatusOf(reply);
    const QString host = reply->url().host();
    if (!tlsErrors.isEmpty() || reply->error() == QNetworkReply::SslHandshakeFailedError) {
        failure.tlsError = true;
        failure.message = QStringLiteral("サーバー %1 の証明書を確認できませんでした。%2")
                              .arg(host, tlsErrors.isEmpty() ? reply->errorString() : tlsErrors);
        return failure;
    }
    if (status == 401 || status == 403) {
        failure.authFailed = true;
        failure.message = QStringLiteral("サーバー %1 にログインできませんでした。ユーザー名とパスワードを確かめてください。")
                              .arg(host);
        return failure;
    }
    if (status >= 500 || (status == 0 && reply->error() != QNetworkReply::NoError)) {
        failure.retryable = true;
        failure.message = status >= 500 ? QStringLiteral("サーバー %1 でエラーが起きました (HTTP %2)。後でもう一度同期します。")
                                              .arg(host)
                                              .arg(status)
                                        : QStringLiteral("サーバー %1 に接続できませんでした (%2)。後でもう一度同期します。")
                                              .arg(host, reply->errorString());
        return failure;
    }
    if (status >= 300) failure.message = QStringLiteral("サーバー %1 が要求を受け付けませんでした (HTTP %2)。").arg(host).arg(status);
    return failure;
}

} // namespace Dav

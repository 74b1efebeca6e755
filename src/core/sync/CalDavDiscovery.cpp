#include "core/sync/CalDavDiscovery.h"

#include "core/sync/DavRequests.h"
#include "core/sync/DavXml.h"
#include "core/sync/SyncUrlPolicy.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSslError>
#include <QTimer>
#include <QUuid>

#include <memory>

namespace {

constexpr int kRedirects = 5;

struct Credentials {
    QString user, password;
    bool allowPlainHttp = false;
};

bool IsRedirect(int code) {
    return code == 301 || code == 302 || code == 303 || code == 307 || code == 308;
}

} // namespace

// One discovery or one MKCALENDAR: the requests in turn, each reply deciding the next.
class CalDavDiscovery::Run : public QObject {
public:
    Run(CalDavDiscovery &owner, Credentials credentials)
        : QObject(&owner), m_owner(owner), m_credentials(std::move(credentials)) {}

    using Answer = std::function<void(const QUrl &url, int code, const QByteArray &body)>;

    // A request that follows redirects itself, so that a PROPFIND stays a PROPFIND and no redirect leaves https.
    void request(const QByteArray &verb, const QUrl &url, const QByteArray &body, const QByteArray &depth,
                 Answer answer, int redirects = kRedirects) {
        if (!SyncUrlPolicy::allowed(url, m_credentials.allowPlainHttp))
            return fail(QStringLiteral("暗号化されていない http:// の接続は、このコンピューターの中のサーバー以外には確認のうえでしか使いません: ") +
                        url.host());
        QNetworkRequest outgoing = Dav::Request(url, m_credentials.user, m_credentials.password);
        outgoing.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/xml; charset=utf-8"));
        if (!depth.isEmpty()) outgoing.setRawHeader("Depth", depth);
        QNetworkReply *reply = m_owner.m_network.sendCustomRequest(outgoing, verb, body);
        auto tls = std::make_shared<QString>();
        connect(reply, &QNetworkReply::sslErrors, reply, [tls](const QList<QSslError> &errors) {
            QStringList texts;
            for (const QSslError &e : errors) texts << e.errorString();
            *tls = texts.join(QStringLiteral("、"));
        });
        connect(reply, &QNetworkReply::finished, this, [=, this] {
            reply->deleteLater();
            const int code = Dav::StatusOf(reply);
            if (IsRedirect(code) && redirects > 0) {
                const QUrl next = url.resolved(QUrl(QString::fromUtf8(reply->rawHeader("Location"))));
                if (next.isValid() && next != url) return request(verb, next, body, depth, answer, redirects - 1);
            }
            const Dav::Failure f = Dav::FailureOf(reply, *tls);
            if (f.authFailed || f.tlsError || f.retryable) return fail(f.message, f.authFailed, f.tlsError);
            answer(url, code, reply->readAll());
        });
    }

    void fail(const QString &message, bool authFailed = false, bool tlsError = false) {
        emit m_owner.failed(message, authFailed, tlsError);
        deleteLater();
    }

    // -- discovery -----------------------------------------------------------------------------------------------
    void discover(const QUrl &server) {
        QUrl start = server;
        if (start.path().isEmpty()) start.setPath(QStringLiteral("/"));
        m_server = start;
        if (start.path() == u"/") {
            QUrl wellKnown = start;
            wellKnown.setPath(QStringLiteral("/.well-known/caldav"));
            return probe(wellKnown, true);
        }
        probe(start, false);
    }

    // What the URL is: a calendar, a principal (or something naming one), a home.
    void probe(const QUrl &url, bool wellKnown) {
        request("PROPFIND", url, Dav::PropfindDiscovery(), "0", [=, this](const QUrl &at, int code, const QByteArray &body) {
            const DavMultistatus answer = code == 207 ? ReadMultistatus(body) : DavMultistatus{};
            const DavResponse *r = answer.ok && !answer.responses.isEmpty() ? &answer.responses.first() : nullptr;
            if (!r) {
                // No well-known address on this server: ask the root itself.
                if (wellKnown) return probe(m_server, false);
                return fail(QStringLiteral("%1 には CalDAV のカレンダーが見つかりませんでした (HTTP %2)。").arg(url.toString()).arg(code));
            }
            if (r->calendar) {
                QUrl home = at.resolved(QUrl(QStringLiteral("..")));
                return found(home, {{at, r->displayName.isEmpty() ? LastSegment(at) : r->displayName}});
            }
            if (!r->calendarHome.isEmpty()) return listHome(at.resolved(QUrl(r->calendarHome.first())));
            if (!r->principal.isEmpty() && !m_askedPrincipal) {
                m_askedPrincipal = true;
                return probe(at.resolved(QUrl(r->principal)), false);
            }
            if (wellKnown) return probe(m_server, false);
            fail(QStringLiteral("%1 には CalDAV のカレンダーが見つかりませんでした。").arg(url.toString()));
        });
    }

    void listHome(const QUrl &home) {
        request("PROPFIND", home, Dav::PropfindDiscovery(), "1", [=, this](const QUrl &at, int code, const QByteArray &body) {
            const DavMultistatus answer = code == 207 ? ReadMultistatus(body) : DavMultistatus{};
            if (!answer.ok)
                return fail(QStringLiteral("カレンダーの一覧を読めませんでした (HTTP %1)。%2").arg(code).arg(answer.error));
            QList<CalendarInfo> calendars;
            for (const DavResponse &r : answer.responses) {
                if (!r.calendar) continue;
                if (!r.components.isEmpty() && !r.components.contains(QStringLiteral("VEVENT"))) continue;
                const QUrl url = at.resolved(QUrl(r.href));
                calendars << CalendarInfo{url, r.displayName.isEmpty() ? LastSegment(url) : r.displayName};
            }
            found(at, calendars);
        });
    }

    void found(const QUrl &home, const QList<CalendarInfo> &calendars) {
        emit m_owner.calendarsFound(home, calendars);
        deleteLater();
    }

    // -- a new calendar ------------------------------------------------------------------------------------------
    void make(const QUrl &home, const QString &name, const QString &slug, bool last) {
        QUrl url = home;
        if (!url.path().endsWith(u'/')) url.setPath(url.path() + u'/');
        url = url.resolved(QUrl(slug + u'/'));
        request("MKCALENDAR", url, Dav::MakeCalendar(name), {}, [=, this](const QUrl &at, int code, const QByteArray &) {
            if (code == 201 || code == 200) {
                emit m_owner.calendarMade(CalendarInfo{at, name});
                return deleteLater();
            }
            // Something of that name is there already: another name, once.
            if ((code == 405 || code == 409) && !last)
                return make(home, name, QStringLiteral("tsukiban-") + QUuid::createUuid().toString(QUuid::Id128).left(8), true);
            fail(QStringLiteral("カレンダーを作れませんでした (HTTP %1)。").arg(code));
        });
    }

private:
    static QString LastSegment(const QUrl &url) {
        const QStringList parts = url.path(QUrl::FullyDecoded).split(u'/', Qt::SkipEmptyParts);
        return parts.isEmpty() ? url.host() : parts.last();
    }

    CalDavDiscovery &m_owner;
    Credentials m_credentials;
    QUrl m_server;
    bool m_askedPrincipal = false;
};

CalDavDiscovery::CalDavDiscovery(QNetworkAccessManager &network, QObject *parent)
    : QObject(parent), m_network(network) {}

CalDavDiscovery::~CalDavDiscovery() = default;

void CalDavDiscovery::discover(const QUrl &server, const QString &user, const QString &password, bool allowPlainHttp) {
    auto *run = new Run(*this, {user, password, allowPlainHttp});
    // Answered after this call returns, also when the address is refused at once.
    QTimer::singleShot(0, run, [run, server] { run->discover(server); });
}

void CalDavDiscovery::makeCalendar(const QUrl &home, const QString &name, const QString &user, const QString &password,
                                   bool allowPlainHttp) {
    auto *run = new Run(*this, {user, password, allowPlainHttp});
    QTimer::singleShot(0, run, [run, home, name] { run->make(home, name, QStringLiteral("tsukiban"), false); });
}

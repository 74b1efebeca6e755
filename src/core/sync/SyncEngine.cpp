#include "core/sync/SyncEngine.h"

#include "core/memos/IcsCalendar.h"
#include "core/memos/MemoBook.h"
#include "core/memos/MemoEvent.h"
#include "core/sync/CalendarObject.h"
#include "core/sync/DavRequests.h"
#include "core/sync/DavXml.h"
#include "core/sync/SyncDecision.h"
#include "core/sync/SyncStatus.h"
#include "core/sync/SyncUrlPolicy.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPointer>
#include <QSslError>
#include <QTimer>

#include <map>
#include <set>
#include <vector>

namespace {

constexpr int kParallel = 6;       // the connections Qt opens to one host
constexpr int kMultigetBatch = 500;
constexpr int kRetriesOf412 = 3;
constexpr std::size_t kMassDelete = 5; // synced days whose events an empty memo file would all delete

struct Remote {
    QString href; // key
    QString etag;
    QString text;
};

struct Upload {
    QDate day;
    QString memo;   // what this computer holds after it (hashed into the status)
    QString upload; // what is sent
    QString href;
    QString ifMatch; // empty: a new event (If-None-Match: *)
};

struct RemoteDelete {
    QDate day;
    QString href;
    QString etag;
};

} // namespace

// One sync from listing to the last status write. It ends by calling the engine's runFinished once.
class SyncEngine::Run : public QObject {
public:
    Run(SyncEngine &engine, const SyncAccount &account) : QObject(&engine), m_engine(engine), m_account(account) {
        m_base = account.calendarUrl;
        if (!m_base.path().endsWith(u'/')) m_base.setPath(m_base.path() + u'/');
        m_collectionKey = Dav::HrefKey(m_base, m_base.path(QUrl::FullyEncoded));
        const QDate today = QDate::currentDate();
        m_from = today.addYears(-1);
        m_to = today.addYears(2);
    }

    void begin() {
        if (!m_base.isValid() || m_base.host().isEmpty())
            return fail(QStringLiteral("同期するカレンダーの URL が正しくありません: ") + m_account.calendarUrl.toString());
        if (!SyncUrlPolicy::allowed(m_base, m_account.allowPlainHttp))
            return fail(QStringLiteral("暗号化されていない http:// の接続は、このコンピューターの中のサーバー以外には確認のうえでしか使いません: ") +
                        m_base.host());
        // Memos that cannot be read are not deleted memos: nothing must take them for such.
        if (m_engine.m_memos.unreadable()) return fail(QStringLiteral("データファイルを読み込めないため同期しませんでした。"));
        SyncStatus &status = *m_engine.m_status;
        QString error;
        if (!status.open(&error)) return fail(error);
        if (!status.useCollection(m_base.toString(QUrl::RemoveUserInfo))) return fail(storeError());
        m_statusDays = status.days();
        for (const auto &[day, s] : m_statusDays) m_hrefDay[s.href] = day;
        m_foreign = status.foreignEtags();
        syncCollection(status.syncToken());
    }

private:
    // -- requests ------------------------------------------------------------------------------------------------
    using Done = std::function<void(QNetworkReply *, const QString &tlsErrors)>;

    bool send(const QByteArray &verb, const QUrl &url, const QByteArray &body,
              const std::vector<std::pair<QByteArray, QByteArray>> &headers, Done done) {
        if (m_over) return false;
        ++m_requests;
        if (m_engine.m_requestLimit > 0 && m_requests >= m_engine.m_requestLimit) {
            fail(QStringLiteral("同期を途中で止めました"), false, false, true);
            return false;
        }
        if (m_engine.m_requestHook) m_engine.m_requestHook(verb, url, body);
        QNetworkRequest request = Dav::Request(url, m_account.user, m_account.password);
        if (!body.isEmpty())
            request.setHeader(QNetworkRequest::ContentTypeHeader,
                              verb == "PUT" ? QByteArrayLiteral("text/calendar; charset=utf-8")
                                            : QByteArrayLiteral("application/xml; charset=utf-8"));
        for (const auto &[name, value] : headers) request.setRawHeader(name, value);
        QNetworkReply *reply = m_engine.m_network.sendCustomRequest(request, verb, body);
        ++m_inFlight;
        auto tls = std::make_shared<QString>();
        connect(reply, &QNetworkReply::sslErrors, reply, [tls](const QList<QSslError> &errors) {
            QStringList texts;
            for (const QSslError &e : errors) texts << e.errorString();
            *tls = texts.join(QStringLiteral("、"));
        });
        connect(reply, &QNetworkReply::finished, this, [this, reply, tls, done] {
            reply->deleteLater();
            --m_inFlight;
            if (m_over) return;
            done(reply, *tls);
        });
        return true;
    }

    // A failure that ends the run, or false when the reply is fine.
    bool failed(QNetworkReply *reply, const QString &tls, bool acceptHttpErrors = false) {
        const Dav::Failure f = Dav::FailureOf(reply, tls);
        if (f.message.isEmpty()) return false;
        if (acceptHttpErrors && !f.authFailed && !f.tlsError && !f.retryable) return false;
        fail(f.message, f.authFailed, f.tlsError, f.retryable);
        return true;
    }

    // -- listing -------------------------------------------------------------------------------------------------
    void syncCollection(const QString &token) {
        send("REPORT", m_base, Dav::SyncCollection(token), {}, [this, token](QNetworkReply *reply, const QString &tls) {
            if (failed(reply, tls, true)) return;
            const int code = Dav::StatusOf(reply);
            DavMultistatus answer = code == 207 ? ReadMultistatus(reply->readAll()) : DavMultistatus{};
            // No sync-collection here, or a token the server forgot: list every ETag.
            if (!answer.ok || answer.syncToken.isEmpty()) return propfindListing();
            m_newToken = answer.syncToken;
            listed(answer, token.isEmpty());
        });
    }

    void propfindListing() {
        send("PROPFIND", m_base, Dav::PropfindEtags(), {{"Depth", "1"}}, [this](QNetworkReply *reply, const QString &tls) {
            if (failed(reply, tls)) return;
            const DavMultistatus answer = ReadMultistatus(reply->readAll());
            if (!answer.ok) return fail(answer.error);
            listed(answer, true);
        });
    }

    // complete: the answer names every resource, so what it lacks is gone.
    void listed(const DavMultistatus &answer, bool complete) {
        std::set<QString> seen;
        for (const DavResponse &r : answer.responses) {
            const QString key = Dav::HrefKey(m_base, r.href);
            if (key == m_collectionKey || key + u'/' == m_collectionKey || r.collection) continue;
            if (r.status == 404) {
                m_gone.insert(key);
                continue;
            }
            if (r.status < 200 || r.status > 299) continue;
            seen.insert(key);
            const auto day = m_hrefDay.find(key);
            const auto foreign = m_foreign.find(key);
            const QString known = day != m_hrefDay.end()       ? m_statusDays[day->second].etag
                                  : foreign != m_foreign.end() ? foreign->second
                                                               : QString();
            if (r.etag.isEmpty() || r.etag != known) m_changed.push_back(key);
        }
        // A memo file emptied at once (replaced, restored from elsewhere) is no person deleting every memo: forget
        // what was agreed, so that the server's events come down again instead of being deleted.
        if (m_engine.m_memos.memoDays().isEmpty() && m_statusDays.size() >= kMassDelete) {
            std::set<QString> listed(m_changed.begin(), m_changed.end());
            for (const auto &[day, s] : m_statusDays)
                if (!listed.count(s.href) && (!complete || seen.count(s.href))) m_changed.push_back(s.href);
            m_statusDays.clear();
            m_hrefDay.clear();
        }
        if (complete) {
            for (const auto &[href, day] : m_hrefDay)
                if (!seen.count(href)) m_gone.insert(href);
            for (const auto &[href, etag] : m_foreign)
                if (!seen.count(href)) m_gone.insert(href);
        }
        fetchNext(0);
    }

    void fetchNext(qsizetype from) {
        if (from >= m_changed.size()) return decide();
        const QStringList batch = QStringList(m_changed.begin() + from,
                                              m_changed.begin() + std::min<qsizetype>(m_changed.size(), from + kMultigetBatch));
        fetch(batch, [this, from, n = batch.size()] { fetchNext(from + n); });
    }

    // calendar-multiget of the hrefs; their objects go to m_remote and m_foreignNew, missing ones to m_gone.
    void fetch(const QStringList &keys, std::function<void()> then) {
        QStringList hrefs;
        for (const QString &key : keys) hrefs << Dav::HrefUrl(m_base, key).path(QUrl::FullyEncoded);
        send("REPORT", m_base, Dav::Multiget(hrefs, true), {{"Depth", "1"}},
             [this, keys, then](QNetworkReply *reply, const QString &tls) {
                 if (failed(reply, tls)) return;
                 const DavMultistatus answer = ReadMultistatus(reply->readAll());
                 if (!answer.ok) return fail(answer.error);
                 std::set<QString> found;
                 for (const DavResponse &r : answer.responses) {
                     const QString key = Dav::HrefKey(m_base, r.href);
                     if (r.status < 200 || r.status > 299 || r.calendarData.isEmpty()) continue;
                     found.insert(key);
                     take(key, r.etag, r.calendarData);
                 }
                 for (const QString &key : keys)
                     if (!found.count(key)) m_gone.insert(key);
                 then();
             });
    }

    void take(const QString &key, const QString &etag, const QByteArray &data) {
        m_gone.erase(key);
        const CalendarObject object = ReadCalendarObject(data, m_from, m_to);
        if (object.memoDay.isValid()) {
            m_foreignGone.insert(key);
            // One event per day; should a second copy exist somewhere, the one the status knows is kept.
            const auto known = m_statusDays.find(object.memoDay);
            const auto at = m_remote.find(object.memoDay);
            if (at == m_remote.end() || (known != m_statusDays.end() && known->second.href == key))
                m_remote[object.memoDay] = {key, etag, object.memo};
            // The href no longer holds the day the status had there.
            const auto was = m_hrefDay.find(key);
            if (was != m_hrefDay.end() && was->second != object.memoDay) m_movedAway.insert(was->second);
        } else {
            m_foreignNew[key] = {etag, object.events};
            const auto was = m_hrefDay.find(key);
            if (was != m_hrefDay.end()) m_movedAway.insert(was->second);
        }
    }

    // -- deciding ------------------------------------------------------------------------------------------------
    void decide() {
        MemoBook &memos = m_engine.m_memos;
        const QList<QDate> memoDays = memos.memoDays();
        std::set<QDate> days;
        for (const auto &[day, s] : m_statusDays) days.insert(day);
        for (const QDate &day : memoDays) days.insert(day);
        for (const auto &[day, r] : m_remote) days.insert(day);

        std::vector<std::pair<QDate, QString>> stores;
        std::vector<QDate> localDeletes;
        std::vector<QDate> forgets;
        std::map<QDate, DayStatus> agreed;
        for (const QDate &day : days) decideDay(day, memos, stores, localDeletes, forgets, agreed);

        // The memos first, then what was agreed: a process ended in between finds the texts equal and only agrees.
        if (!stores.empty() && !memos.replaceAll(stores))
            return fail(QStringLiteral("メモを保存できませんでした。ディスクの空きを確かめてください。"));
        if (!localDeletes.empty() && !memos.removeAll(localDeletes))
            return fail(QStringLiteral("メモを削除できませんでした。ディスクの空きを確かめてください。"));
        for (const auto &[day, text] : stores) m_report.changedDays << day;
        for (const QDate &day : localDeletes) m_report.changedDays << day;

        SyncStatus &status = *m_engine.m_status;
        if (!status.begin()) return fail(storeError());
        bool done = true;
        for (const auto &[day, s] : agreed) done = done && status.putDay(day, s);
        for (const QDate &day : forgets) done = done && status.removeDay(day);
        for (const QString &key : m_gone) {
            if (m_foreign.count(key)) {
                done = done && status.removeForeign(key);
                m_foreignChanged = true;
            }
        }
        for (const QString &key : m_foreignGone) {
            if (m_foreign.count(key)) {
                done = done && status.removeForeign(key);
                m_foreignChanged = true;
            }
        }
        for (const auto &[key, value] : m_foreignNew) {
            done = done && status.putForeign(key, value.first, value.second);
            m_foreignChanged = true;
        }
        if (!done || !status.commit()) {
            status.rollback();
            return fail(storeError());
        }
        for (const auto &[day, s] : agreed) m_statusDays[day] = s;
        for (const QDate &day : forgets) m_statusDays.erase(day);
        m_report.downloaded += int(stores.size());
        m_report.deleted += int(localDeletes.size());
        pump();
    }

    void decideDay(const QDate &day, MemoBook &memos, std::vector<std::pair<QDate, QString>> &stores,
                   std::vector<QDate> &localDeletes, std::vector<QDate> &forgets, std::map<QDate, DayStatus> &agreed) {
        DayInput in;
        const auto s = m_statusDays.find(day);
        if (s != m_statusDays.end()) in.statusHash = s->second.hash;
        if (memos.hasMemo(day)) in.local = memos.memo(day, QStringLiteral("\n"));
        const auto r = m_remote.find(day);
        if (r != m_remote.end()) {
            const bool same = s != m_statusDays.end() && s->second.href == r->second.href && !r->second.etag.isEmpty() &&
                              s->second.etag == r->second.etag;
            in.remote = same ? DayInput::Remote::Unchanged : DayInput::Remote::Changed;
            in.remoteText = r->second.text;
        } else if (s != m_statusDays.end()) {
            const bool gone = m_gone.count(s->second.href) || m_movedAway.count(day);
            in.remote = gone ? DayInput::Remote::Absent : DayInput::Remote::Unchanged;
        }
        const DayDecision d = DecideDay(in, &MemoFileText);
        const QString href = r != m_remote.end() ? r->second.href
                             : s != m_statusDays.end() && in.remote != DayInput::Remote::Absent
                                 ? s->second.href
                                 : Dav::HrefKey(m_base, m_base.path(QUrl::FullyEncoded) + MemoEventUid(day).section(u'@', 0, 0) +
                                                            QStringLiteral(".ics"));
        const QString etag = r != m_remote.end() ? r->second.etag
                             : s != m_statusDays.end() && in.remote != DayInput::Remote::Absent ? s->second.etag
                                                                                             : QString();
        using Action = DayDecision::Action;
        switch (d.action) {
        case Action::None:
            break;
        case Action::Upload:
            m_uploads.push_back({day, *in.local, d.upload, href, in.remote == DayInput::Remote::Absent ? QString() : etag});
            break;
        case Action::Merge:
            stores.emplace_back(day, d.memo);
            m_report.mergedDays << day;
            m_uploads.push_back({day, d.memo, d.upload, href, etag});
            break;
        case Action::Store:
            if (!in.local || *in.local != d.memo) stores.emplace_back(day, d.memo);
            agreed[day] = {TextHash(d.memo), href, etag};
            break;
        case Action::DeleteLocal:
            localDeletes.push_back(day);
            forgets.push_back(day);
            break;
        case Action::DeleteRemote:
            m_deletes.push_back({day, href, etag});
            break;
        case Action::Forget:
            forgets.push_back(day);
            break;
        }
    }

    // -- sending -------------------------------------------------------------------------------------------------
    void pump() {
        while (!m_over && m_inFlight < kParallel && (!m_uploads.empty() || !m_deletes.empty())) {
            if (!m_uploads.empty()) {
                const Upload u = m_uploads.back();
                m_uploads.pop_back();
                put(u);
            } else {
                const RemoteDelete d = m_deletes.back();
                m_deletes.pop_back();
                remove(d);
            }
        }
        if (!m_over && m_inFlight == 0 && m_uploads.empty() && m_deletes.empty() && m_refetch.empty()) finishEtags();
    }

    void put(const Upload &u) {
        const QByteArray body = IcsCalendar({MemoEvent(u.day, u.upload)}, QDateTime::currentDateTimeUtc());
        std::vector<std::pair<QByteArray, QByteArray>> headers;
        if (u.ifMatch.isEmpty())
            headers.push_back({"If-None-Match", "*"});
        else
            headers.push_back({"If-Match", u.ifMatch.toUtf8()});
        send("PUT", Dav::HrefUrl(m_base, u.href), body, headers, [this, u](QNetworkReply *reply, const QString &tls) {
            const int code = Dav::StatusOf(reply);
            if (code == 412) return conflict(u.day, u.href);
            if (failed(reply, tls, true)) return;
            if (code < 200 || code > 299) {
                dayError(u.day, Dav::FailureOf(reply, tls).message);
                return pump();
            }
            QString etag = QString::fromUtf8(reply->rawHeader("ETag"));
            // A weak ETag does not say the stored bytes are ours to compare.
            if (etag.startsWith(QStringLiteral("W/"))) etag.clear();
            if (etag.isEmpty()) m_needEtag.insert(u.href);
            const DayStatus s{TextHash(u.memo), u.href, etag};
            if (!record([&](SyncStatus &status) { return status.putDay(u.day, s); })) return;
            m_statusDays[u.day] = s;
            m_wrote = true;
            ++m_report.uploaded;
            pump();
        });
    }

    void remove(const RemoteDelete &d) {
        std::vector<std::pair<QByteArray, QByteArray>> headers;
        if (!d.etag.isEmpty()) headers.push_back({"If-Match", d.etag.toUtf8()});
        send("DELETE", Dav::HrefUrl(m_base, d.href), {}, headers, [this, d](QNetworkReply *reply, const QString &tls) {
            const int code = Dav::StatusOf(reply);
            if (code == 412) return conflict(d.day, d.href);
            if (code != 404 && failed(reply, tls, true)) return;
            if (code != 404 && (code < 200 || code > 299)) {
                dayError(d.day, Dav::FailureOf(reply, tls).message);
                return pump();
            }
            if (!record([&](SyncStatus &status) { return status.removeDay(d.day); })) return;
            m_statusDays.erase(d.day);
            m_wrote = true;
            ++m_report.deleted;
            pump();
        });
    }

    // The event changed on the server since it was listed: fetch it and decide that day again.
    void conflict(const QDate &day, const QString &href) {
        if (++m_conflicts[day] > kRetriesOf412) {
            dayError(day, QStringLiteral("サーバーの予定が変わり続けています"));
            return pump();
        }
        m_refetch.insert(href);
        m_remote.erase(day);
        fetch({href}, [this, day, href] {
            m_refetch.erase(href);
            std::vector<std::pair<QDate, QString>> stores;
            std::vector<QDate> localDeletes, forgets;
            std::map<QDate, DayStatus> agreed;
            MemoBook &memos = m_engine.m_memos;
            decideDay(day, memos, stores, localDeletes, forgets, agreed);
            if (!stores.empty() && !memos.replaceAll(stores))
                return fail(QStringLiteral("メモを保存できませんでした。ディスクの空きを確かめてください。"));
            if (!localDeletes.empty() && !memos.removeAll(localDeletes))
                return fail(QStringLiteral("メモを削除できませんでした。ディスクの空きを確かめてください。"));
            if (!stores.empty() || !localDeletes.empty()) m_report.changedDays << day;
            m_report.downloaded += int(stores.size());
            m_report.deleted += int(localDeletes.size());
            if (!record([&](SyncStatus &status) {
                    bool ok = true;
                    for (const auto &[d, s] : agreed) ok = ok && status.putDay(d, s);
                    for (const QDate &d : forgets) ok = ok && status.removeDay(d);
                    return ok;
                }))
                return;
            for (const auto &[d, s] : agreed) m_statusDays[d] = s;
            for (const QDate &d : forgets) m_statusDays.erase(d);
            pump();
        });
    }

    // The server gave no ETag for some uploads: ask for them, so that the next sync does not take our own upload
    // for a change.
    void finishEtags() {
        if (m_needEtag.empty()) return finish();
        QStringList hrefs;
        for (const QString &key : m_needEtag) hrefs << Dav::HrefUrl(m_base, key).path(QUrl::FullyEncoded);
        m_needEtag.clear();
        send("REPORT", m_base, Dav::Multiget(hrefs, false), {{"Depth", "1"}}, [this](QNetworkReply *reply, const QString &tls) {
            if (failed(reply, tls)) return;
            const DavMultistatus answer = ReadMultistatus(reply->readAll());
            if (!answer.ok) return fail(answer.error);
            std::map<QString, QDate> days;
            for (const auto &[day, s] : m_statusDays) days[s.href] = day;
            const bool ok = record([&](SyncStatus &status) {
                bool done = true;
                for (const DavResponse &r : answer.responses) {
                    const auto at = days.find(Dav::HrefKey(m_base, r.href));
                    if (at == days.end() || r.etag.isEmpty()) continue;
                    DayStatus s = m_statusDays[at->second];
                    s.etag = r.etag;
                    m_statusDays[at->second] = s;
                    done = done && status.putDay(at->second, s);
                }
                return done;
            });
            if (ok) finish();
        });
    }

    void finish() {
        if (!m_dayErrors.isEmpty()) return fail(m_dayErrors.join(QStringLiteral(" ")));
        if (m_newToken.isEmpty() || !m_wrote) return done(m_newToken);
        // The token came before this run's own writes. Some servers answer a later token with the difference of two
        // states only, so an event made here and deleted elsewhere would never show: take a token after the writes,
        // if everything since is ours; else the next sync lists everything.
        send("REPORT", m_base, Dav::SyncCollection(m_newToken), {}, [this](QNetworkReply *reply, const QString &) {
            const DavMultistatus answer =
                Dav::StatusOf(reply) == 207 ? ReadMultistatus(reply->readAll()) : DavMultistatus{};
            if (!answer.ok || answer.syncToken.isEmpty()) return done(QString());
            std::map<QString, QString> known;
            for (const auto &[day, s] : m_statusDays) known[s.href] = s.etag;
            for (const auto &[href, etag] : m_foreign) known[href] = etag;
            for (const auto &[href, value] : m_foreignNew) known[href] = value.first;
            for (const QString &href : m_gone) known.erase(href);
            for (const DavResponse &r : answer.responses) {
                const QString key = Dav::HrefKey(m_base, r.href);
                if (key == m_collectionKey || key + u'/' == m_collectionKey) continue;
                const auto at = known.find(key);
                const bool ours = r.status == 404 ? at == known.end()
                                                  : at != known.end() && !r.etag.isEmpty() && at->second == r.etag;
                if (!ours) return done(QString());
            }
            done(answer.syncToken);
        });
    }

    void done(const QString &token) {
        if (!record([&](SyncStatus &status) { return status.setSyncToken(token); })) return;
        m_report.ok = true;
        end();
    }

    // -- the end -------------------------------------------------------------------------------------------------
    bool record(const std::function<bool(SyncStatus &)> &change) {
        SyncStatus &status = *m_engine.m_status;
        if (status.begin() && change(status) && status.commit()) return true;
        status.rollback();
        fail(storeError());
        return false;
    }

    QString storeError() const {
        return QStringLiteral("同期の状態を保存できませんでした: ") + m_engine.m_status->lastError();
    }

    void dayError(const QDate &day, const QString &message) {
        m_dayErrors << day.toString(QStringLiteral("yyyy/MM/dd: ")) + message;
    }

    void fail(const QString &message, bool authFailed = false, bool tlsError = false, bool retryable = false) {
        if (m_over) return;
        m_report.ok = false;
        m_report.error = message;
        m_report.authFailed = authFailed;
        m_report.tlsError = tlsError;
        m_report.retryable = retryable;
        end();
    }

    void end() {
        m_over = true;
        m_report.finished = QDateTime::currentDateTimeUtc();
        // Told after this call returns, so that no reply handler runs on a finished run.
        QTimer::singleShot(0, &m_engine, [engine = &m_engine, report = m_report, changed = m_foreignChanged] {
            engine->runFinished(report, changed);
        });
    }

    SyncEngine &m_engine;
    SyncAccount m_account;
    QUrl m_base;
    QString m_collectionKey;
    QDate m_from, m_to;
    SyncReport m_report;
    bool m_over = false;
    bool m_foreignChanged = false;
    bool m_wrote = false; // this run changed the server
    int m_requests = 0;
    int m_inFlight = 0;

    std::map<QDate, DayStatus> m_statusDays;
    std::map<QString, QDate> m_hrefDay;
    std::map<QString, QString> m_foreign;
    QString m_newToken;
    QStringList m_changed;
    std::set<QString> m_gone;
    std::set<QString> m_foreignGone; // known as foreign, now a memo event
    std::set<QDate> m_movedAway;
    std::map<QDate, Remote> m_remote;
    std::map<QString, std::pair<QString, QList<ForeignEvent>>> m_foreignNew;
    std::vector<Upload> m_uploads;
    std::vector<RemoteDelete> m_deletes;
    std::set<QString> m_needEtag;
    std::set<QString> m_refetch;
    std::map<QDate, int> m_conflicts;
    QStringList m_dayErrors;
};

SyncEngine::SyncEngine(MemoBook &memos, QString statusPath, QNetworkAccessManager &network, QObject *parent)
    : QObject(parent), m_memos(memos), m_statusPath(std::move(statusPath)), m_network(network),
      m_status(std::make_unique<SyncStatus>(m_statusPath)) {
    qRegisterMetaType<SyncReport>();
}

SyncEngine::~SyncEngine() = default;

void SyncEngine::start(const SyncAccount &account) {
    if (m_run) {
        m_pending = account;
        return;
    }
    m_run = new Run(*this, account);
    m_run->begin();
}

bool SyncEngine::isRunning() const {
    return m_run != nullptr;
}

QList<ForeignEvent> SyncEngine::foreignEvents(const QDate &day) const {
    if (!m_status->isOpen() && !m_status->open()) return {};
    return m_status->foreignEvents(day);
}

void SyncEngine::setRequestLimitForTest(int n) {
    m_requestLimit = n;
}

void SyncEngine::setRequestHookForTest(std::function<void(const QByteArray &, const QUrl &, const QByteArray &)> hook) {
    m_requestHook = std::move(hook);
}

void SyncEngine::runFinished(const SyncReport &report, bool foreignChanged) {
    delete m_run;
    m_run = nullptr;
    if (foreignChanged) emit foreignEventsChanged();
    emit finished(report);
    if (m_pending && !m_run) {
        const SyncAccount next = *m_pending;
        m_pending.reset();
        start(next);
    }
}

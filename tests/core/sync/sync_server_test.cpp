// The sync against real servers that the tests start, with python3-caldav as the other device.
#include "SyncServer.h"
#include "TestApp.h"
#include "core/memos/MemoBook.h"
#include "core/sync/CalDavDiscovery.h"
#include "core/sync/SyncEngine.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QProcess>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

const QDate kEve(2026, 12, 24);
const QDate kXmas(2026, 12, 25);
const QDate kNewYear(2027, 1, 1);

QString Uid(const QDate &day) {
    return QStringLiteral("memo-%1@tsukiban").arg(day.toString(QStringLiteral("yyyyMMdd")));
}

class SyncAgainstServer : public testing::TestWithParam<SyncServer::Kind> {
protected:
    void SetUp() override {
        QString why;
        if (!server.start(why)) {
            if (server.missing()) GTEST_SKIP() << why.toStdString();
            FAIL() << why.toStdString();
        }
        engine = std::make_unique<SyncEngine>(memos(), statusPath(), network);
    }

    MemoBook &memos() { return app.ctx().memos(); }
    QString statusPath() const { return app.path(QStringLiteral("TsukibanSync.db")); }

    SyncAccount account() const {
        SyncAccount a;
        a.calendarUrl = server.calendar();
        a.user = server.user();
        a.password = server.password();
        return a;
    }

    SyncReport sync(const SyncAccount &a) {
        SyncReport report;
        QEventLoop loop;
        bool done = false;
        const auto connection = QObject::connect(engine.get(), &SyncEngine::finished, &loop, [&](const SyncReport &r) {
            report = r;
            done = true;
            loop.quit();
        });
        QTimer::singleShot(120000, &loop, &QEventLoop::quit);
        engine->start(a);
        if (!done) loop.exec();
        QObject::disconnect(connection);
        EXPECT_TRUE(done) << "the sync did not end";
        return report;
    }
    SyncReport sync() { return sync(account()); }
    SyncReport syncOk() {
        const SyncReport report = sync();
        EXPECT_TRUE(report.ok) << report.error.toStdString();
        return report;
    }

    QString description(const QDate &day) {
        return server.events().value(Uid(day)).toObject().value(QStringLiteral("description")).toString();
    }

    TestApp app;
    SyncServer server{GetParam()};
    QNetworkAccessManager network;
    std::unique_ptr<SyncEngine> engine;
};

TEST_P(SyncAgainstServer, FirstSyncUploadsEveryMemoAndTheNextSendsNothing) {
    ASSERT_EQ(memos().store(kEve, QStringLiteral("イブ\r\n18:00 ケーキ"), MemoBook::Limit::None), StoreResult::Stored);
    ASSERT_EQ(memos().store(kXmas, QStringLiteral("クリスマス; 休み, 本当"), MemoBook::Limit::None), StoreResult::Stored);
    const SyncReport first = syncOk();
    EXPECT_EQ(first.uploaded, 2);
    EXPECT_EQ(first.downloaded, 0);
    EXPECT_FALSE(first.summary().isEmpty());
    const QJsonObject events = server.events();
    ASSERT_EQ(events.size(), 2);
    EXPECT_EQ(events.value(Uid(kEve)).toObject().value(QStringLiteral("summary")).toString(), QStringLiteral("イブ"));
    EXPECT_EQ(description(kEve), QStringLiteral("イブ\n18:00 ケーキ"));
    EXPECT_EQ(description(kXmas), QStringLiteral("クリスマス; 休み, 本当"));

    int writes = 0;
    engine->setRequestHookForTest([&](const QByteArray &verb, const QUrl &, const QByteArray &) {
        writes += verb == "PUT" || verb == "DELETE";
    });
    const SyncReport second = syncOk();
    EXPECT_EQ(second.uploaded + second.downloaded + second.deleted, 0);
    EXPECT_EQ(writes, 0);
}

TEST_P(SyncAgainstServer, AChangeOnTheOtherDeviceComesDownAndOnlyItIsFetched) {
    for (int i = 0; i < 20; ++i) memos().store(kEve.addDays(i), QStringLiteral("メモ %1").arg(i), MemoBook::Limit::None);
    EXPECT_EQ(syncOk().uploaded, 20);
    server.phone({QStringLiteral("set"), Uid(kXmas), QStringLiteral("電話で書き換え\n二行目")});
    QList<QByteArray> fetches;
    engine->setRequestHookForTest([&](const QByteArray &verb, const QUrl &, const QByteArray &body) {
        if (verb == "REPORT" && body.contains("calendar-multiget")) fetches << body;
    });
    QList<QDate> told;
    QObject::connect(&memos(), &MemoBook::memoChanged, &memos(), [&](const QDate &day) { told << day; });
    const SyncReport report = syncOk();
    EXPECT_EQ(report.downloaded, 1);
    EXPECT_EQ(report.uploaded, 0);
    EXPECT_EQ(memos().memo(kXmas, QStringLiteral("\n")), QStringLiteral("電話で書き換え\n二行目"));
    EXPECT_EQ(told, QList<QDate>{kXmas});
    EXPECT_EQ(report.changedDays, QList<QDate>{kXmas});
    ASSERT_EQ(fetches.size(), 1);
    EXPECT_EQ(fetches[0].count("<D:href>"), 1);
}

TEST_P(SyncAgainstServer, AChangeOnBothSidesKeepsBothTexts) {
    memos().store(kEve, QStringLiteral("イブ"), MemoBook::Limit::None);
    syncOk();
    memos().store(kEve, QStringLiteral("イブ 19:00 に変更"), MemoBook::Limit::None);
    server.phone({QStringLiteral("set"), Uid(kEve), QStringLiteral("イブ 電話から")});
    const SyncReport report = syncOk();
    EXPECT_EQ(report.mergedDays, QList<QDate>{kEve});
    const QString both = QStringLiteral("イブ 19:00 に変更\n――――\nイブ 電話から");
    EXPECT_EQ(memos().memo(kEve, QStringLiteral("\n")), both);
    EXPECT_EQ(description(kEve), both);
    const SyncReport again = syncOk();
    EXPECT_TRUE(again.mergedDays.isEmpty());
    EXPECT_EQ(again.uploaded + again.downloaded, 0);
    EXPECT_EQ(server.events().value(Uid(kEve)).toObject().value(QStringLiteral("count")).toInt(), 1);
}

TEST_P(SyncAgainstServer, DeletesGoBothWaysAndADeleteLosesAgainstAChange) {
    memos().store(kEve, QStringLiteral("消すメモ"), MemoBook::Limit::None);
    memos().store(kXmas, QStringLiteral("電話で消す"), MemoBook::Limit::None);
    memos().store(kNewYear, QStringLiteral("ここで消して電話で変える"), MemoBook::Limit::None);
    syncOk();
    memos().remove(kEve);
    memos().remove(kNewYear);
    server.phone({QStringLiteral("delete"), Uid(kXmas)});
    server.phone({QStringLiteral("set"), Uid(kNewYear), QStringLiteral("元日 変更")});
    const SyncReport report = syncOk();
    EXPECT_EQ(report.deleted, 2);
    EXPECT_FALSE(memos().hasMemo(kXmas));
    EXPECT_EQ(memos().memo(kNewYear, QStringLiteral("\n")), QStringLiteral("元日 変更"));
    const QJsonObject events = server.events();
    EXPECT_FALSE(events.contains(Uid(kEve)));
    EXPECT_FALSE(events.contains(Uid(kXmas)));
    EXPECT_TRUE(events.contains(Uid(kNewYear)));
    EXPECT_EQ(syncOk().deleted, 0);
}

TEST_P(SyncAgainstServer, AnEmojiFromThePhoneIsNeverOverwrittenWithTheMark) {
    server.phone({QStringLiteral("set"), Uid(kEve), QStringLiteral("誕生日 🎂\nプレゼント 🎁")});
    const SyncReport first = syncOk();
    EXPECT_EQ(first.downloaded, 1);
    EXPECT_EQ(memos().memo(kEve, QStringLiteral("\n")), QStringLiteral("誕生日 〓\nプレゼント 〓"));
    // Another computer, or a restart, syncs again: the server keeps its emoji.
    app.restart();
    engine = std::make_unique<SyncEngine>(memos(), statusPath(), network);
    const SyncReport second = syncOk();
    EXPECT_EQ(second.uploaded, 0);
    EXPECT_EQ(description(kEve), QStringLiteral("誕生日 🎂\nプレゼント 🎁"));
}

TEST_P(SyncAgainstServer, AMemoFileEmptiedAtOnceIsFilledAgainFromTheServer) {
    for (int i = 0; i < 6; ++i) memos().store(kEve.addDays(i), QStringLiteral("メモ %1").arg(i), MemoBook::Limit::None);
    syncOk();
    // Another Tsukiban.tdb copied over this one, without memos.
    app.writeBytes(QStringLiteral("Tsukiban.tdb"), "[PROGRAM]\r\n");
    app.restart();
    engine = std::make_unique<SyncEngine>(memos(), statusPath(), network);
    const SyncReport report = syncOk();
    EXPECT_EQ(report.deleted, 0);
    EXPECT_EQ(report.downloaded, 6);
    EXPECT_EQ(server.events().size(), 6);
    EXPECT_EQ(memos().memo(kEve.addDays(5), QStringLiteral("\n")), QStringLiteral("メモ 5"));
    // Deleting one by one is what a person does, and goes through.
    memos().remove(kEve);
    EXPECT_EQ(syncOk().deleted, 1);
    EXPECT_EQ(server.events().size(), 5);
}

TEST_P(SyncAgainstServer, OthersEventsAreShownAndNeverWrittenIntoTheMemos) {
    server.phone({QStringLiteral("foreign"), QStringLiteral("party-1"), QStringLiteral("20261224T190000"),
                  QStringLiteral("20261224T210000"), QStringLiteral("忘年会")});
    int told = 0;
    QObject::connect(engine.get(), &SyncEngine::foreignEventsChanged, engine.get(), [&] { ++told; });
    const SyncReport report = syncOk();
    EXPECT_EQ(report.downloaded, 0);
    EXPECT_FALSE(memos().hasMemo(kEve));
    EXPECT_EQ(told, 1);
    const QList<ForeignEvent> events = engine->foreignEvents(kEve);
    ASSERT_EQ(events.size(), 1);
    EXPECT_EQ(events[0].summary, QStringLiteral("忘年会"));
    EXPECT_EQ(events[0].start.time(), QTime(19, 0));
    EXPECT_EQ(events[0].end.time(), QTime(21, 0));
    EXPECT_FALSE(events[0].allDay);
    server.phone({QStringLiteral("delete"), QStringLiteral("party-1")});
    syncOk();
    EXPECT_TRUE(engine->foreignEvents(kEve).isEmpty());
    EXPECT_EQ(told, 2);
}

TEST_P(SyncAgainstServer, ASyncStoppedAtAnyRequestIsFinishedByTheNextWithoutLossOrDuplicate) {
    for (int i = 0; i < 15; ++i) memos().store(kEve.addDays(i), QStringLiteral("メモ %1").arg(i), MemoBook::Limit::None);
    syncOk();
    // Work of every kind for the stopped syncs: uploads, a download, a merge, deletes both ways.
    for (int i = 15; i < 25; ++i) memos().store(kEve.addDays(i), QStringLiteral("新しい %1").arg(i), MemoBook::Limit::None);
    memos().store(kEve, QStringLiteral("ここで変更"), MemoBook::Limit::None);
    server.phone({QStringLiteral("set"), Uid(kEve), QStringLiteral("電話で変更")});
    server.phone({QStringLiteral("set"), Uid(kEve.addDays(1)), QStringLiteral("電話だけ")});
    memos().remove(kEve.addDays(2));
    server.phone({QStringLiteral("delete"), Uid(kEve.addDays(3))});
    int stops = 0;
    for (int limit = 1; limit < 40; ++limit) {
        engine->setRequestLimitForTest(limit);
        if (sync().ok) break;
        ++stops;
        // A new process each time: nothing is carried over but the files.
        app.restart();
        engine = std::make_unique<SyncEngine>(memos(), statusPath(), network);
    }
    EXPECT_GT(stops, 3);
    engine->setRequestLimitForTest(0);
    syncOk();
    const QJsonObject events = server.events();
    EXPECT_EQ(events.size(), 23);
    for (auto it = events.begin(); it != events.end(); ++it)
        EXPECT_EQ(it.value().toObject().value(QStringLiteral("count")).toInt(), 1) << it.key().toStdString();
    EXPECT_EQ(memos().memo(kEve, QStringLiteral("\n")), QStringLiteral("ここで変更\n――――\n電話で変更"));
    EXPECT_EQ(description(kEve), QStringLiteral("ここで変更\n――――\n電話で変更"));
    EXPECT_EQ(memos().memo(kEve.addDays(1), QStringLiteral("\n")), QStringLiteral("電話だけ"));
    EXPECT_FALSE(memos().hasMemo(kEve.addDays(2)));
    EXPECT_FALSE(memos().hasMemo(kEve.addDays(3)));
    for (int i = 4; i < 15; ++i) EXPECT_EQ(description(kEve.addDays(i)), QStringLiteral("メモ %1").arg(i));
    for (int i = 15; i < 25; ++i) EXPECT_EQ(description(kEve.addDays(i)), QStringLiteral("新しい %1").arg(i));
    const SyncReport quiet = syncOk();
    EXPECT_EQ(quiet.uploaded + quiet.downloaded + quiet.deleted, 0);
}

TEST_P(SyncAgainstServer, AnEventChangedBetweenListingAndUploadIsFetchedAndMerged) {
    memos().store(kEve, QStringLiteral("最初"), MemoBook::Limit::None);
    syncOk();
    memos().store(kEve, QStringLiteral("ここで変更"), MemoBook::Limit::None);
    bool changed = false;
    engine->setRequestHookForTest([&](const QByteArray &verb, const QUrl &, const QByteArray &) {
        if (verb != "PUT" || changed) return;
        changed = true;
        server.phone({QStringLiteral("set"), Uid(kEve), QStringLiteral("その間に電話で")});
    });
    const SyncReport report = syncOk();
    EXPECT_TRUE(changed);
    EXPECT_EQ(report.mergedDays, QList<QDate>{kEve});
    const QString both = QStringLiteral("ここで変更\n――――\nその間に電話で");
    EXPECT_EQ(memos().memo(kEve, QStringLiteral("\n")), both);
    EXPECT_EQ(description(kEve), both);
    EXPECT_EQ(server.events().value(Uid(kEve)).toObject().value(QStringLiteral("count")).toInt(), 1);
}

TEST_P(SyncAgainstServer, TheServerDownIsRetriedLater) {
    memos().store(kEve, QStringLiteral("イブ"), MemoBook::Limit::None);
    server.stop();
    const SyncReport report = sync();
    EXPECT_FALSE(report.ok);
    EXPECT_TRUE(report.retryable);
    EXPECT_FALSE(report.authFailed);
    EXPECT_FALSE(report.error.isEmpty());
    EXPECT_TRUE(report.summary().contains(report.error));
    EXPECT_EQ(memos().memo(kEve), QStringLiteral("イブ"));
}

TEST_P(SyncAgainstServer, AWrongPasswordAsksForAnother) {
    if (!server.hasAuth()) GTEST_SKIP() << "this server takes every request";
    memos().store(kEve, QStringLiteral("イブ"), MemoBook::Limit::None);
    SyncAccount wrong = account();
    wrong.password = QStringLiteral("wrong");
    const SyncReport report = sync(wrong);
    EXPECT_FALSE(report.ok);
    EXPECT_TRUE(report.authFailed);
    EXPECT_FALSE(report.retryable);
    EXPECT_FALSE(report.error.contains(QStringLiteral("wrong")));
    EXPECT_TRUE(server.events().isEmpty());
    EXPECT_EQ(syncOk().uploaded, 1);
}

TEST_P(SyncAgainstServer, PlainHttpToAnotherComputerIsRefusedWithoutConsent) {
    SyncAccount remote = account();
    remote.calendarUrl.setHost(QStringLiteral("calendar.example.org"));
    const SyncReport report = sync(remote);
    EXPECT_FALSE(report.ok);
    EXPECT_FALSE(report.retryable);
    EXPECT_TRUE(report.error.contains(QStringLiteral("http://")));
}

TEST_P(SyncAgainstServer, TheCommandKilledDuringASyncLosesNothingAndDuplicatesNothing) {
    const QString folder = app.folder();
    std::vector<std::pair<QDate, QString>> texts;
    for (int i = 0; i < 300; ++i) texts.emplace_back(kEve.addDays(i), QStringLiteral("予定 %1\n詳細").arg(i));
    ASSERT_TRUE(memos().append(texts));
    QFile ini(app.path(QStringLiteral("Tsukiban.ini")));
    ASSERT_TRUE(ini.open(QIODevice::Append));
    ini.write(QStringLiteral("\r\n[SYNC]\r\nSync_Enabled=1\r\nSync_Url=%1\r\nSync_User=%2\r\n")
                  .arg(server.calendar().toString(), server.user())
                  .toLatin1());
    ini.close();
    const auto run = [&](int killAfterMs) {
        QProcess cal;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TSUKIBAN_SYNC_PASSWORD"), server.password());
        env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
        cal.setProcessEnvironment(env);
        cal.start(QStringLiteral(TSUKIBAN_CAL), {QStringLiteral("--sync"), QStringLiteral("--data"), folder});
        EXPECT_TRUE(cal.waitForStarted());
        if (killAfterMs > 0 && !cal.waitForFinished(killAfterMs)) {
            cal.kill();
            cal.waitForFinished();
            return -1;
        }
        cal.waitForFinished(120000);
        return cal.exitCode();
    };
    int kills = 0;
    for (int ms : {400, 700, 1000, 1300}) kills += run(ms) == -1;
    EXPECT_GT(kills, 0);
    EXPECT_EQ(run(0), 0);
    const QJsonObject events = server.events();
    EXPECT_EQ(events.size(), 300);
    for (auto it = events.begin(); it != events.end(); ++it)
        ASSERT_EQ(it.value().toObject().value(QStringLiteral("count")).toInt(), 1) << it.key().toStdString();
    app.restart();
    for (int i = 0; i < 300; i += 37)
        EXPECT_EQ(description(kEve.addDays(i)), QStringLiteral("予定 %1\n詳細").arg(i));
    EXPECT_EQ(app.ctx().memos().memoDays().size(), 300);
}

TEST_P(SyncAgainstServer, AServerThatGivesNoEtagOnPutIsAskedAndNothingIsSentTwice) {
    if (GetParam() != SyncServer::Kind::Radicale) GTEST_SKIP() << "one proxy in front of one server is enough";
    const int port = FreePort();
    QProcess proxy;
    proxy.start(QStringLiteral("/usr/bin/python3"),
                {QStringLiteral(SYNC_NO_ETAG_PROXY), QString::number(port), QString::number(server.calendar().port())});
    ASSERT_TRUE(proxy.waitForStarted());
    for (int i = 0; i < 100; ++i) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, quint16(port));
        if (socket.waitForConnected(100)) break;
        QThread::msleep(50);
    }
    SyncAccount viaProxy = account();
    viaProxy.calendarUrl.setPort(port);
    for (int i = 0; i < 3; ++i) memos().store(kEve.addDays(i), QStringLiteral("メモ %1").arg(i), MemoBook::Limit::None);
    int etagQueries = 0;
    engine->setRequestHookForTest([&](const QByteArray &verb, const QUrl &, const QByteArray &body) {
        etagQueries += verb == "REPORT" && body.contains("calendar-multiget") && !body.contains("calendar-data");
    });
    SyncReport report = sync(viaProxy);
    EXPECT_TRUE(report.ok) << report.error.toStdString();
    EXPECT_EQ(report.uploaded, 3);
    EXPECT_EQ(etagQueries, 1);
    // The uploads are known by their ETags: nothing is taken for a change, nothing sent again.
    report = sync(viaProxy);
    EXPECT_EQ(report.uploaded + report.downloaded, 0);
    server.phone({QStringLiteral("set"), Uid(kXmas), QStringLiteral("電話で")});
    report = sync(viaProxy);
    EXPECT_EQ(report.downloaded, 1);
    EXPECT_EQ(report.uploaded, 0);
    EXPECT_TRUE(report.mergedDays.isEmpty());
    EXPECT_EQ(server.events().size(), 3);
    proxy.kill();
    proxy.waitForFinished();
}

struct Discovered {
    bool done = false;
    QUrl home;
    QList<CalendarInfo> calendars;
    CalendarInfo made;
    QString error;
    bool authFailed = false;
};

Discovered Discover(QNetworkAccessManager &network, const std::function<void(CalDavDiscovery &)> &call) {
    Discovered d;
    CalDavDiscovery discovery(network);
    QEventLoop loop;
    QObject::connect(&discovery, &CalDavDiscovery::calendarsFound, &loop, [&](const QUrl &home, const QList<CalendarInfo> &c) {
        d = {true, home, c, {}, {}, false};
        loop.quit();
    });
    QObject::connect(&discovery, &CalDavDiscovery::calendarMade, &loop, [&](const CalendarInfo &made) {
        d.done = true;
        d.made = made;
        loop.quit();
    });
    QObject::connect(&discovery, &CalDavDiscovery::failed, &loop, [&](const QString &message, bool auth, bool) {
        d.done = true;
        d.error = message;
        d.authFailed = auth;
        loop.quit();
    });
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    call(discovery);
    loop.exec();
    EXPECT_TRUE(d.done);
    return d;
}

TEST_P(SyncAgainstServer, DiscoveryFindsTheCalendarsFromTheServerAloneAndMakesANewOne) {
    QUrl root = server.calendar();
    root.setPath(QStringLiteral("/"));
    const auto discover = [&](const QUrl &url, const QString &password) {
        return Discover(network, [&](CalDavDiscovery &d) { d.discover(url, server.user(), password, false); });
    };
    const Discovered first = discover(root, server.password());
    ASSERT_TRUE(first.error.isEmpty()) << first.error.toStdString();
    const auto has = [](const Discovered &d, const QUrl &url) {
        return std::any_of(d.calendars.begin(), d.calendars.end(), [&](const CalendarInfo &c) { return c.url == url; });
    };
    EXPECT_TRUE(has(first, server.calendar()));

    const Discovered direct = discover(server.calendar(), server.password());
    ASSERT_EQ(direct.calendars.size(), 1);
    EXPECT_EQ(direct.calendars[0].url, server.calendar());

    const Discovered made = Discover(network, [&](CalDavDiscovery &d) {
        d.makeCalendar(first.home, QStringLiteral("ツキバン"), server.user(), server.password(), false);
    });
    ASSERT_TRUE(made.error.isEmpty()) << made.error.toStdString();
    EXPECT_EQ(made.made.displayName, QStringLiteral("ツキバン"));
    const Discovered again = discover(root, server.password());
    EXPECT_TRUE(has(again, made.made.url));
    EXPECT_TRUE(std::any_of(again.calendars.begin(), again.calendars.end(),
                            [](const CalendarInfo &c) { return c.displayName == QStringLiteral("ツキバン"); }));
    memos().store(kEve, QStringLiteral("新しいカレンダーへ"), MemoBook::Limit::None);
    SyncAccount a = account();
    a.calendarUrl = made.made.url;
    const SyncReport report = sync(a);
    EXPECT_TRUE(report.ok) << report.error.toStdString();
    EXPECT_EQ(report.uploaded, 1);

    if (server.hasAuth()) {
        const Discovered wrong = discover(root, QStringLiteral("wrong"));
        EXPECT_TRUE(wrong.authFailed);
        EXPECT_FALSE(wrong.error.isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(Servers, SyncAgainstServer,
                         testing::Values(SyncServer::Kind::Radicale, SyncServer::Kind::Xandikos),
                         [](const auto &info) {
                             return info.param == SyncServer::Kind::Radicale ? std::string("Radicale")
                                                                             : std::string("Xandikos");
                         });

} // namespace

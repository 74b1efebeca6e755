#include "NotificationServer.h"
#include "TestApp.h"
#include "core/settings/SettingsStore.h"
#include "gui/calendar/frmMain.h"
#include "gui/memos/frmInput.h"
#include "gui/remind/Reminders.h"
#include "gui/remind/frmRemind.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QDate kToday(2026, 12, 7);

QString U(const char *text) {
    return QString::fromUtf8(text);
}

// A program folder with default settings and a memo for today, the clock at 9:00, and the reminders of a running
// calendar on the test's session bus.
struct Remind {
    TestApp app;
    std::unique_ptr<Reminders> reminders;

    explicit Remind(const char *memo = "9:05 歯医者 & <b>\r\n17:00 退勤") {
        EXPECT_TRUE(WriteDefaultSettings(app.ctx().settingsStore()));
        app.ctx().settings.load();
        EXPECT_EQ(app.ctx().memos().store(kToday, U(memo)), StoreResult::Stored);
        reminders = std::make_unique<Reminders>(app.ctx(), QDBusConnection::sessionBus());
    }
};

bool waitFor(const std::function<bool()> &done) {
    return QTest::qWaitFor(done, 10000);
}

} // namespace

TEST(Notifications, TheTestRunsOnABusOfItsOwn) {
    ASSERT_TRUE(QDBusConnection::sessionBus().isConnected())
        << "run under dbus-run-session (ctest does): " << qPrintable(qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS"));
}

TEST(Notifications, TodayAndTheReminderGoToTheServerWithTheirActions) {
    NotificationServer server({"actions", "body"});
    ASSERT_TRUE(server.registered());
    Remind r;
    r.reminders->start();
    ASSERT_TRUE(waitFor([&] { return server.calls.size() == 2; })) << server.calls.size();
    const NotificationServer::Call &today = server.calls[0], &timed = server.calls[1];
    for (const NotificationServer::Call *c : {&today, &timed}) {
        EXPECT_EQ(c->app, U("ツキバン"));
        EXPECT_FALSE(c->icon.isEmpty());
        EXPECT_EQ(c->hints.value("desktop-entry").toString(), "tsukiban");
        EXPECT_EQ(c->replaces, 0u);
    }
    EXPECT_TRUE(today.summary.startsWith(U("2026年12月7日(月)　"))) << today.summary.toStdString();
    EXPECT_EQ(today.body, U("9:05 歯医者 & <b>\n17:00 退勤"));
    EXPECT_EQ(today.actions, (QStringList{"open", U("開く"), "default", ""}));
    EXPECT_EQ(timed.summary, U("9:05（あと5分）"));
    EXPECT_EQ(timed.body, U("9:05 歯医者 & <b>")); // a server without markup shows the text as it is
    EXPECT_EQ(timed.actions, (QStringList{"snooze", U("5分後に再通知"), "open", U("開く"), "default", ""}));
    EXPECT_EQ(timed.timeout, 0); // stays until it is dealt with
    EXPECT_TRUE(r.app.bytes("Tsukiban.remind").contains("today 2026/12/07"));
}

TEST(Notifications, MarkupIsEscapedAndAServerWithoutButtonsGetsNone) {
    {
        NotificationServer markup({"actions", "body", "body-markup"});
        Remind r;
        r.reminders->start();
        ASSERT_TRUE(waitFor([&] { return markup.calls.size() == 2; }));
        EXPECT_EQ(markup.calls[1].body, U("9:05 歯医者 &amp; &lt;b&gt;"));
        EXPECT_EQ(markup.calls[0].body, U("9:05 歯医者 &amp; &lt;b&gt;<br/>17:00 退勤"));
    }
    NotificationServer plain({"body"});
    Remind r;
    r.reminders->start();
    ASSERT_TRUE(waitFor([&] { return plain.calls.size() == 2; }));
    EXPECT_TRUE(plain.calls[0].actions.isEmpty());
    EXPECT_TRUE(plain.calls[1].actions.isEmpty());
}

TEST(Notifications, SnoozeBringsTheReminderBackFiveMinutesLater) {
    NotificationServer server({"actions", "body"});
    Remind r;
    r.reminders->start();
    ASSERT_TRUE(waitFor([&] { return server.calls.size() == 2; }));
    server.invoke(server.calls[1].id, "snooze");
    ReminderPlanner &planner = r.reminders->planner();
    ASSERT_TRUE(waitFor([&] { return planner.nextWake() == QDateTime(kToday, QTime(9, 5)); }))
        << planner.nextWake().toString().toStdString();
    ASSERT_TRUE(waitFor([&] { return server.closed == std::vector<uint>{server.calls[1].id}; }));
    // An action of another program's notice, or of today's notice, snoozes nothing.
    server.invoke(server.calls[1].id + 100, "snooze");
    server.invoke(server.calls[0].id, "snooze");
    r.app.clock.set(QDateTime(kToday, QTime(9, 5)));
    planner.clockTick();
    ASSERT_TRUE(waitFor([&] { return server.calls.size() == 3; }));
    EXPECT_EQ(server.calls[2].body, server.calls[1].body);
    EXPECT_EQ(server.calls[2].summary, U("9:05"));
    EXPECT_EQ(planner.nextWake(), QDateTime(kToday, QTime(16, 50)));
}

TEST(Notifications, OpenShowsTheEntryBoxOfThatDay) {
    NotificationServer server({"actions", "body"});
    Remind r;
    frmMain window(r.app.ctx());
    window.activateCalendar();
    // The calendar shows another month.
    r.app.ctx().displayedMonth = QDate(2027, 3, 1);
    window.ShowMonth(r.app.ctx().displayedMonth);
    r.reminders->attachTo(window);
    r.reminders->start();
    ASSERT_TRUE(waitFor([&] { return server.calls.size() == 2; }));
    server.invoke(server.calls[1].id, "open");
    ASSERT_TRUE(waitFor([&] { return window.input() != nullptr; }));
    EXPECT_EQ(window.input()->day(), kToday);
    EXPECT_EQ(r.app.ctx().displayedMonth.month(), 12);
    EXPECT_TRUE(window.input()->isVisible());
    window.input()->close();
}

TEST(Notifications, WithoutAServerTheTrayShowsTheMessage) {
    Remind r;
    QStringList tray;
    r.reminders->service().setTrayMessage([&](const QString &summary, const QString &body) {
        tray << summary + u'|' + body;
        return true;
    });
    std::vector<QDate> opened;
    QObject::connect(r.reminders.get(), &Reminders::openRequested, [&](const QDate &d) { opened.push_back(d); });
    r.reminders->start();
    ASSERT_TRUE(waitFor([&] { return tray.size() == 2; }));
    EXPECT_EQ(tray[1], U("9:05（あと5分）|9:05 歯医者 & <b>"));
    EXPECT_TRUE(r.reminders->service().windows().isEmpty());
    r.reminders->service().trayMessageClicked();
    EXPECT_EQ(opened, std::vector<QDate>{kToday});
}

TEST(Notifications, WithoutATrayEitherAWindowOfItsOwn) {
    Remind r;
    r.reminders->service().setTrayMessage([](const QString &, const QString &) { return false; });
    std::vector<QDate> opened;
    QObject::connect(r.reminders.get(), &Reminders::openRequested, [&](const QDate &d) { opened.push_back(d); });
    r.reminders->start();
    ASSERT_TRUE(waitFor([&] { return r.reminders->service().windows().size() == 2; }));
    const QList<frmRemind *> windows = r.reminders->service().windows();
    EXPECT_EQ(windows[0]->cmdSnooze, nullptr); // today's notice is not snoozed
    frmRemind *timed = windows[1];
    EXPECT_EQ(timed->lblSummary->text(), U("9:05（あと5分）"));
    EXPECT_EQ(timed->lblBody->text(), U("9:05 歯医者 & <b>"));
    EXPECT_TRUE(timed->isVisible());
    EXPECT_NE(windows[0]->y(), timed->y()); // one above the other
    ASSERT_NE(timed->cmdSnooze, nullptr);
    QTest::mouseClick(timed->cmdSnooze, Qt::LeftButton);
    EXPECT_EQ(r.reminders->planner().nextWake(), QDateTime(kToday, QTime(9, 5)));
    QTest::mouseClick(windows[0]->cmdOpen, Qt::LeftButton);
    EXPECT_EQ(opened, std::vector<QDate>{kToday});
    ASSERT_TRUE(waitFor([&] { return r.reminders->service().windows().isEmpty(); }));
}

#include "TestApp.h"
#include "core/memos/MemoBook.h"
#include "core/settings/SettingsModel.h"
#include "core/sync/SyncPassword.h"
#include "core/sync/SyncScheduler.h"

#include <gtest/gtest.h>

namespace {

// The scheduler over a real settings model, memo book and password; only the network engine is played by the test,
// which answers each started sync with a report of its choice.
struct Scheduled {
    explicit Scheduled(const char *url = "https://cloud.example.org/dav/calendars/aki/memo/",
                       const char *passwordVariable = "secret") {
        if (passwordVariable)
            qputenv("TSUKIBAN_SYNC_PASSWORD", passwordVariable);
        else
            qunsetenv("TSUKIBAN_SYNC_PASSWORD");
        enable(url);
        scheduler = std::make_unique<SyncScheduler>(app.ctx().settings, app.ctx().memos(), password, app.prompts,
                                                    app.clock, [this](const SyncAccount &a) { started.push_back(a); });
    }
    ~Scheduled() { qunsetenv("TSUKIBAN_SYNC_PASSWORD"); }

    void enable(const char *url, const char *plainHttp = "") {
        ASSERT_TRUE(app.ctx().settings.change(SettingsGroup::All, [&](Settings &s) {
            s.Sync_Enabled = "1";
            s.Sync_Url = url;
            s.Sync_User = "aki";
            s.Sync_PlainHttp = plainHttp;
        }));
    }
    static SyncReport report(bool ok, bool retryable = false, bool authFailed = false) {
        SyncReport r;
        r.ok = ok;
        r.retryable = retryable;
        r.authFailed = authFailed;
        if (!ok) r.error = "サーバーに接続できません";
        return r;
    }
    // Moves the clock to the next planned sync and lets the timer act.
    void reachNext() {
        ASSERT_TRUE(scheduler->nextRun().isValid());
        app.clock.set(scheduler->nextRun());
        scheduler->runDue();
    }
    qint64 secondsToNext() const { return app.clock.now().secsTo(scheduler->nextRun()); }

    TestApp app;
    SyncPassword password{app.prompts, false};
    std::vector<SyncAccount> started;
    std::unique_ptr<SyncScheduler> scheduler;
};

} // namespace

TEST(SyncScheduler, AtStartEveryIntervalAndAFewSecondsAfterAMemoChanges) {
    Scheduled t;
    EXPECT_TRUE(t.started.empty()) << "nothing before the program has started";
    t.scheduler->begin();
    ASSERT_EQ(t.started.size(), 1u);
    EXPECT_EQ(t.started[0].calendarUrl, QUrl("https://cloud.example.org/dav/calendars/aki/memo/"));
    EXPECT_EQ(t.started[0].user, "aki");
    EXPECT_EQ(t.started[0].password, "secret");
    EXPECT_EQ(t.scheduler->state(), SyncScheduler::State::Running);
    EXPECT_EQ(t.scheduler->statusText(), "同期しています…");

    t.scheduler->finished(Scheduled::report(true));
    EXPECT_EQ(t.scheduler->state(), SyncScheduler::State::Idle);
    EXPECT_EQ(t.secondsToNext(), 15 * 60);
    EXPECT_TRUE(t.scheduler->statusText().contains("同期しました"));

    // Edits are gathered: the sync follows five seconds after the last of them.
    t.app.clock.advance(60);
    t.app.ctx().memos().store(QDate(2026, 12, 24), "忘年会");
    EXPECT_EQ(t.secondsToNext(), 5);
    t.app.clock.advance(3);
    t.app.ctx().memos().store(QDate(2026, 12, 25), "休み");
    EXPECT_EQ(t.secondsToNext(), 5);
    t.app.clock.advance(4);
    t.scheduler->runDue(); // early: nothing yet
    EXPECT_EQ(t.started.size(), 1u);
    t.reachNext();
    ASSERT_EQ(t.started.size(), 2u);
    t.scheduler->finished(Scheduled::report(true));

    // Nothing changed: the next one at the interval.
    t.reachNext();
    EXPECT_EQ(t.started.size(), 3u);
}

TEST(SyncScheduler, OfflineIsRetriedWithBackOffUpToTheIntervalAndNeverInAMessageBox) {
    Scheduled t;
    t.scheduler->begin();
    const qint64 waits[] = {30, 60, 120, 240, 480, 900, 900};
    for (qint64 wait : waits) {
        t.scheduler->finished(Scheduled::report(false, true));
        EXPECT_EQ(t.scheduler->state(), SyncScheduler::State::Retrying);
        EXPECT_EQ(t.secondsToNext(), wait);
        EXPECT_TRUE(t.scheduler->statusText().contains("もう一度試します")) << t.scheduler->statusText().toStdString();
        // An edit meanwhile waits for the retry.
        t.app.ctx().memos().store(QDate(2026, 12, 24), QString("忘年会 %1").arg(wait));
        EXPECT_EQ(t.secondsToNext(), wait);
        t.reachNext();
    }
    EXPECT_EQ(t.started.size(), 8u);
    EXPECT_TRUE(t.app.prompts.shown().empty());
    // Back online: the wait starts again from the interval, the next failure from 30 s.
    t.scheduler->finished(Scheduled::report(true));
    EXPECT_EQ(t.secondsToNext(), 900);
    t.reachNext();
    t.scheduler->finished(Scheduled::report(false, true));
    EXPECT_EQ(t.secondsToNext(), 30);
}

TEST(SyncScheduler, AWrongPasswordAsksOnceThenWaitsForTheUser) {
    Scheduled t("https://cloud.example.org/dav/calendars/aki/memo/", nullptr);
    t.app.prompts.queuePassword(QString("first try"));
    t.scheduler->begin();
    ASSERT_EQ(t.started.size(), 1u);
    EXPECT_EQ(t.started[0].password, "first try");
    // Refused: asked once more.
    t.app.prompts.queuePassword(QString("second try"));
    t.scheduler->finished(Scheduled::report(false, false, true));
    ASSERT_EQ(t.started.size(), 2u);
    EXPECT_EQ(t.started[1].password, "second try");
    // Refused again: stopped, no more questions, no timer, edits do not wake it.
    t.scheduler->finished(Scheduled::report(false, false, true));
    EXPECT_EQ(t.scheduler->state(), SyncScheduler::State::Stopped);
    EXPECT_FALSE(t.scheduler->nextRun().isValid());
    t.app.ctx().memos().store(QDate(2026, 12, 24), "忘年会");
    EXPECT_FALSE(t.scheduler->nextRun().isValid());
    t.app.clock.advance(3600);
    t.scheduler->runDue();
    EXPECT_EQ(t.started.size(), 2u);
    EXPECT_EQ(t.app.prompts.texts().filter("受け付けませんでした").size(), 1);
    EXPECT_EQ(t.app.prompts.shown().size(), 2u);
    // Fixed in the tab: at once.
    t.password.set("aki", QUrl("https://cloud.example.org/"), "right");
    t.scheduler->passwordChanged();
    ASSERT_EQ(t.started.size(), 3u);
    EXPECT_EQ(t.started[2].password, "right");
}

TEST(SyncScheduler, TheEnginesOwnChangesStartNoSyncButEditsMadeMeanwhileDo) {
    Scheduled t;
    t.scheduler->begin();
    // The engine stores what came down while it runs.
    t.app.ctx().memos().store(QDate(2026, 12, 10), "携帯で書いた");
    SyncReport down = Scheduled::report(true);
    down.downloaded = 1;
    down.changedDays = {QDate(2026, 12, 10)};
    t.scheduler->finished(down);
    EXPECT_EQ(t.secondsToNext(), 15 * 60);

    // An edit of another day during a run is the user's, even when the run brought something down.
    t.reachNext();
    t.app.ctx().memos().store(QDate(2026, 12, 10), "携帯で直した");
    t.app.ctx().memos().store(QDate(2026, 12, 11), "ここで書いた");
    t.scheduler->finished(down);
    EXPECT_EQ(t.secondsToNext(), 5);
}

TEST(SyncScheduler, MergedDaysAreToldOnceWithoutStoppingTheCalendar) {
    Scheduled t;
    t.scheduler->begin();
    SyncReport merged = Scheduled::report(true);
    merged.mergedDays = {QDate(2026, 12, 3), QDate(2026, 12, 24)};
    merged.uploaded = 2;
    t.scheduler->finished(merged);
    ASSERT_EQ(t.app.prompts.shown().size(), 1u);
    EXPECT_EQ(t.app.prompts.shown()[0].kind, "notice");
    EXPECT_TRUE(t.app.prompts.shown()[0].text.contains("2026/12/03、2026/12/24"));
    EXPECT_TRUE(t.app.prompts.shown()[0].text.contains("――――"));
    t.reachNext();
    t.scheduler->finished(Scheduled::report(true));
    EXPECT_EQ(t.app.prompts.shown().size(), 1u);
}

TEST(SyncScheduler, SyncNowDuringARunRunsOnceMoreAfterIt) {
    Scheduled t;
    t.scheduler->begin();
    t.scheduler->syncNow();
    t.scheduler->syncNow();
    EXPECT_EQ(t.started.size(), 1u);
    t.scheduler->finished(Scheduled::report(true));
    EXPECT_EQ(t.started.size(), 2u);
    t.scheduler->finished(Scheduled::report(true));
    EXPECT_EQ(t.started.size(), 2u);
    EXPECT_EQ(t.secondsToNext(), 15 * 60);

    // Turned off during a run: the run ends and nothing follows, not even a refused password's question.
    t.reachNext();
    t.scheduler->syncNow();
    ASSERT_TRUE(t.app.ctx().settings.change(SettingsGroup::All, [](Settings &s) { s.Sync_Enabled = "0"; }));
    t.scheduler->finished(Scheduled::report(false, false, true));
    EXPECT_EQ(t.scheduler->state(), SyncScheduler::State::Off);
    EXPECT_FALSE(t.scheduler->nextRun().isValid());
    EXPECT_EQ(t.started.size(), 3u);
    EXPECT_TRUE(t.app.prompts.shown().empty());
}

TEST(SyncScheduler, SettingsDecideWhetherAndWhere) {
    Scheduled t("http://nas.local:5232/aki/memo/");
    t.scheduler->begin();
    EXPECT_TRUE(t.started.empty()) << "plain http to another computer waits for the user's consent";
    EXPECT_EQ(t.scheduler->state(), SyncScheduler::State::Stopped);
    EXPECT_TRUE(t.scheduler->statusText().contains("http://"));

    t.enable("http://nas.local:5232/aki/memo/", "nas.local:5232");
    ASSERT_EQ(t.started.size(), 1u) << "confirmed in the tab: at once";
    EXPECT_TRUE(t.started[0].allowPlainHttp);
    t.scheduler->finished(Scheduled::report(true));

    // A shorter interval takes effect for the next sync.
    ASSERT_TRUE(t.app.ctx().settings.change(SettingsGroup::All, [](Settings &s) { s.Sync_Interval = "5"; }));
    EXPECT_EQ(t.secondsToNext(), 5 * 60);
    EXPECT_EQ(t.started.size(), 1u);

    // Off: nothing planned, edits ignored, the tip says nothing.
    ASSERT_TRUE(t.app.ctx().settings.change(SettingsGroup::All, [](Settings &s) { s.Sync_Enabled = "0"; }));
    EXPECT_EQ(t.scheduler->state(), SyncScheduler::State::Off);
    t.app.ctx().memos().store(QDate(2026, 12, 24), "忘年会");
    EXPECT_FALSE(t.scheduler->nextRun().isValid());
    EXPECT_EQ(t.scheduler->statusText(), "");
    t.scheduler->syncNow();
    EXPECT_EQ(t.started.size(), 1u);

    // A loopback server needs no consent.
    t.enable("http://127.0.0.1:5232/aki/memo/");
    ASSERT_EQ(t.started.size(), 2u);
    EXPECT_FALSE(t.started[1].allowPlainHttp);
}

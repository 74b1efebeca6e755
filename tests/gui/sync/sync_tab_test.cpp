#include "SyncServer.h"
#include "TestApp.h"
#include "core/memos/MemoBook.h"
#include "core/settings/SettingsStore.h"
#include "core/sync/SyncEngine.h"
#include "core/sync/SyncPassword.h"
#include "core/sync/SyncScheduler.h"
#include "gui/calendar/TrayIcon.h"
#include "gui/calendar/frmMain.h"
#include "gui/options/frmOption.h"
#include "core/view/DayNote.h"
#include "gui/sync/SyncTab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDirIterator>
#include <QFile>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The calendar with sync made as the program makes it (but off the desktop's secret store), and its options dialog
// open on the 同期 tab.
struct SyncOptions {
    explicit SyncOptions(bool withDefaults = true) {
        qunsetenv("TSUKIBAN_SYNC_PASSWORD");
        if (withDefaults) {
            EXPECT_TRUE(WriteDefaultSettings(app.ctx().settingsStore()));
        }
        app.ctx().settings.load();
        app.ctx().startSync(false);
        window = std::make_unique<frmMain>(app.ctx());
        open();
    }
    void open() {
        EXPECT_TRUE(app.ctx().commands.run(Command::Options));
        dialog = window->findChild<frmOption *>();
        ASSERT_NE(dialog, nullptr);
        tab = dialog->fraSync;
        ASSERT_NE(tab, nullptr);
        const int index = dialog->SSTab1->indexOf(tab);
        EXPECT_EQ(dialog->SSTab1->tabText(index), "同期");
        dialog->SSTab1->setCurrentIndex(index);
    }
    void reopen() {
        delete dialog;
        open();
    }
    void click(QAbstractButton *button) { QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(4, 4)); }
    // Every byte the program wrote into its folder.
    QByteArray everyFile() const {
        QByteArray all;
        QDirIterator it(app.folder(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile f(it.next());
            if (f.open(QIODevice::ReadOnly)) all += f.readAll();
        }
        return all;
    }
    TestApp app;
    std::unique_ptr<frmMain> window;
    frmOption *dialog = nullptr;
    SyncTab *tab = nullptr;
};

} // namespace

TEST(SyncTab, StoredWithTheDialogAndThePasswordInNoFile) {
    SyncOptions o;
    SyncTab &t = *o.tab;
    EXPECT_EQ(t.spnSyncInterval->value(), 15);
    EXPECT_FALSE(t.chkSyncEnabled->isChecked());
    EXPECT_EQ(t.lblSyncResult->text(), "同期はしていません。");

    t.txtSyncServer->setText("https://cloud.example.org/remote.php/dav");
    t.cmbSyncCalendar->setEditText("https://cloud.example.org/remote.php/dav/calendars/aki/memo/");
    t.txtSyncUser->setText("aki");
    t.txtSyncPassword->setText("ひみつ-hunter2");
    t.chkSyncEnabled->setChecked(true);
    t.spnSyncInterval->setValue(30);
    EXPECT_TRUE(o.dialog->hasPendingChanges());
    o.click(o.dialog->cmdOption[2]);
    EXPECT_FALSE(o.dialog->hasPendingChanges());
    EXPECT_TRUE(t.txtSyncPassword->text().isEmpty()) << "not kept in the field either";

    const QByteArray after = o.app.bytes("Tsukiban.ini");
    EXPECT_TRUE(after.endsWith(
        "[SYNC]\r\nSync_Enabled=1\r\nSync_Url=https://cloud.example.org/remote.php/dav/calendars/aki/memo/\r\n"
        "Sync_User=aki\r\nSync_Interval=30\r\n"));
    EXPECT_EQ(after.count("[SYNC]"), 1);
    EXPECT_FALSE(o.everyFile().contains("hunter2"));
    EXPECT_FALSE(o.everyFile().contains(QString("ひみつ").toUtf8()));

    // The sync the new settings started has the password without a question.
    EXPECT_EQ(o.app.ctx().syncScheduler()->state(), SyncScheduler::State::Running);
    std::optional<QString> password;
    o.app.ctx().syncPassword()->fetch("aki", QUrl("https://cloud.example.org/"),
                                      [&](const std::optional<QString> &p) { password = p; });
    EXPECT_EQ(password, "ひみつ-hunter2");
    EXPECT_TRUE(o.app.prompts.shown().empty());

    // Opened again, the tab shows what is stored; OK without a change writes nothing.
    o.reopen();
    EXPECT_EQ(o.tab->calendarUrl(), QUrl("https://cloud.example.org/remote.php/dav/calendars/aki/memo/"));
    EXPECT_EQ(o.tab->txtSyncUser->text(), "aki");
    EXPECT_EQ(o.tab->txtSyncServer->text(), "https://cloud.example.org/") << "a search there lists all calendars";
    EXPECT_EQ(o.tab->spnSyncInterval->value(), 30);
    EXPECT_TRUE(o.tab->chkSyncEnabled->isChecked());
    EXPECT_FALSE(o.dialog->hasPendingChanges());
    o.tab->chkSyncEnabled->setChecked(false);
    o.tab->chkSyncEnabled->setChecked(true);
    o.click(o.dialog->cmdOption[0]);
    EXPECT_EQ(o.app.bytes("Tsukiban.ini"), after);
}

TEST(SyncTab, PlainHttpToAnotherComputerIsAskedOnceAndBoundToItsHost) {
    const struct {
        Prompts::Answer answer;
        const char *stored;
    } cases[] = {{Prompts::Answer::Yes, "nas.local:5232"}, {Prompts::Answer::No, ""}};
    for (const auto &c : cases) {
        SyncOptions o;
        o.tab->cmbSyncCalendar->setEditText("http://nas.local:5232/aki/memo/");
        o.tab->txtSyncUser->setText("aki");
        o.tab->chkSyncEnabled->setChecked(true);
        o.app.prompts.queueAnswer(c.answer);
        o.app.prompts.queuePassword(QString("pw")); // asked by the sync a consent starts
        o.click(o.dialog->cmdOption[2]);
        QStringList questions;
        for (const FakePrompts::Shown &shown : o.app.prompts.shown())
            if (shown.kind == "question") questions << shown.text;
        ASSERT_EQ(questions.size(), 1);
        EXPECT_TRUE(questions[0].contains("http://nas.local:5232")) << questions[0].toStdString();
        EXPECT_EQ(o.app.ctx().settings.Sync_PlainHttp, c.stored);
        if (c.answer == Prompts::Answer::No) {
            EXPECT_EQ(o.app.ctx().syncScheduler()->state(), SyncScheduler::State::Stopped);
            EXPECT_TRUE(o.tab->lblSyncResult->text().contains("http://"));
            continue;
        }
        // Consent given: not asked again, also not for another path on that host; another host asks.
        o.app.prompts.clear();
        o.reopen();
        o.tab->cmbSyncCalendar->setEditText("http://nas.local:5232/aki/other/");
        o.click(o.dialog->cmdOption[2]);
        EXPECT_TRUE(o.app.prompts.shown().empty());
        o.tab->cmbSyncCalendar->setEditText("http://192.168.1.20:5232/aki/memo/");
        o.app.prompts.queueAnswer(Prompts::Answer::No);
        o.click(o.dialog->cmdOption[2]);
        EXPECT_EQ(o.app.prompts.texts().filter("http://192.168.1.20:5232").size(), 1);
        EXPECT_EQ(o.app.ctx().settings.Sync_PlainHttp, "");
    }
}

TEST(SyncTab, TheLastResultFollowsTheScheduler) {
    SyncOptions o;
    // Turned on, a sync starts at once; with no password and the question cancelled, the tab says what is missing.
    o.app.prompts.queuePassword(std::nullopt);
    ASSERT_TRUE(o.app.ctx().settings.change(SettingsGroup::All, [](Settings &s) {
        s.Sync_Enabled = "1";
        s.Sync_Url = "http://127.0.0.1:9/aki/memo/"; // nothing listens there
    }));
    o.reopen();
    o.click(o.tab->cmdSyncNow);
    EXPECT_TRUE(o.tab->lblSyncResult->text().contains("パスワード")) << o.tab->lblSyncResult->text().toStdString();
    EXPECT_EQ(o.app.ctx().syncScheduler()->state(), SyncScheduler::State::Stopped);
    // A password typed and 今すぐ同期: stored first, then synced.
    o.tab->txtSyncPassword->setText("pw");
    o.click(o.tab->cmdSyncNow);
    EXPECT_FALSE(o.dialog->hasPendingChanges());
    EXPECT_EQ(o.tab->lblSyncResult->text(), "同期しています…");
    EXPECT_TRUE(QTest::qWaitFor([&] { return o.app.ctx().syncScheduler()->state() != SyncScheduler::State::Running; },
                                20000));
    EXPECT_EQ(o.tab->lblSyncResult->text(), o.app.ctx().syncScheduler()->statusText());
    EXPECT_FALSE(o.tab->lblSyncResult->text().isEmpty());
}

TEST(SyncTab, TheTrayTipSaysHowTheLastSyncWentWhileSyncIsOn) {
    SyncOptions o;
    auto *tray = o.window->findChild<TrayIcon *>();
    ASSERT_NE(tray, nullptr);
    const QString plain = tray->tip();
    EXPECT_FALSE(plain.contains("同期"));
    qputenv("TSUKIBAN_SYNC_PASSWORD", "pw");
    // A server that cannot be reached (nothing listens on port 9 of this computer).
    ASSERT_TRUE(o.app.ctx().settings.change(SettingsGroup::All, [](Settings &s) {
        s.Sync_Enabled = "1";
        s.Sync_Url = "http://127.0.0.1:9/aki/memo/";
    }));
    EXPECT_EQ(tray->tip(), plain + "\r\n同期しています…");
    SyncScheduler &scheduler = *o.app.ctx().syncScheduler();
    EXPECT_TRUE(QTest::qWaitFor([&] { return scheduler.state() != SyncScheduler::State::Running; }, 30000));
    EXPECT_TRUE(tray->tip().startsWith(plain + "\r\n"));
    EXPECT_TRUE(tray->tip().contains("同期できませんでした")) << tray->tip().toStdString();
    EXPECT_EQ(o.tab->lblSyncResult->text(), scheduler.statusText());
    EXPECT_TRUE(o.app.prompts.shown().empty()) << "no message box for a server that is down";
    ASSERT_TRUE(o.app.ctx().settings.change(SettingsGroup::All, [](Settings &s) { s.Sync_Enabled = "0"; }));
    EXPECT_EQ(tray->tip(), plain);
    qunsetenv("TSUKIBAN_SYNC_PASSWORD");
}

TEST(SyncTab, FindsMakesAndSyncsACalendarOnARealServer) {
    SyncServer server(SyncServer::Kind::Radicale);
    QString why;
    if (!server.start(why)) {
        if (server.missing()) GTEST_SKIP() << why.toStdString();
        FAIL() << why.toStdString();
    }
    // The phone has an appointment on the 10th.
    server.phone({"foreign", "", "20261210T100000", "20261210T110000", "会議"});
    SyncOptions o;
    ASSERT_EQ(o.app.ctx().memos().store(QDate(2026, 12, 7), "歯医者"), StoreResult::Stored);
    SyncTab &t = *o.tab;
    const QUrl root = server.calendar().adjusted(QUrl::RemovePath);
    t.txtSyncServer->setText(root.toString() + "/");
    t.txtSyncUser->setText(server.user());
    t.txtSyncPassword->setText(server.password());
    o.click(t.cmdSyncDiscover);
    EXPECT_FALSE(t.cmdSyncDiscover->isEnabled()) << "the search runs while the dialog goes on";
    ASSERT_TRUE(QTest::qWaitFor([&] { return t.cmdSyncDiscover->isEnabled(); }, 30000));
    ASSERT_TRUE(t.lblSyncDiscovery->text().contains("見つかりました")) << t.lblSyncDiscovery->text().toStdString();
    ASSERT_GE(t.cmbSyncCalendar->count(), 1);
    EXPECT_EQ(t.calendarUrl(), server.calendar());
    EXPECT_TRUE(o.dialog->hasPendingChanges()) << "a calendar chosen";

    // A calendar of its own, made on the server and chosen.
    ASSERT_TRUE(t.cmdSyncMake->isEnabled());
    o.click(t.cmdSyncMake);
    ASSERT_TRUE(QTest::qWaitFor([&] { return t.cmdSyncDiscover->isEnabled(); }, 30000));
    EXPECT_TRUE(t.lblSyncDiscovery->text().contains("作りました")) << t.lblSyncDiscovery->text().toStdString();
    EXPECT_EQ(t.cmbSyncCalendar->currentText(), "ツキバン");
    EXPECT_NE(t.calendarUrl(), server.calendar());
    EXPECT_EQ(t.calendarUrl().adjusted(QUrl::RemovePath), root);

    // Back to the phone's calendar, and synced from the tab.
    t.cmbSyncCalendar->setEditText(server.calendar().toString());
    t.chkSyncEnabled->setChecked(true);
    o.click(t.cmdSyncNow);
    EXPECT_FALSE(o.dialog->hasPendingChanges());
    SyncScheduler &scheduler = *o.app.ctx().syncScheduler();
    ASSERT_TRUE(QTest::qWaitFor([&] { return scheduler.state() != SyncScheduler::State::Running; }, 60000));
    EXPECT_EQ(scheduler.state(), SyncScheduler::State::Idle) << scheduler.statusText().toStdString();
    EXPECT_TRUE(t.lblSyncResult->text().contains("送信 1 件")) << t.lblSyncResult->text().toStdString();
    const QJsonObject events = server.events();
    bool memoThere = false;
    for (const QJsonValue &e : events) memoThere |= e.toObject().value("description").toString() == "歯医者";
    EXPECT_TRUE(memoThere);
    // The phone's appointment under the memo of its day, never in the memo file.
    const QDate day(2026, 12, 10);
    EXPECT_EQ(HoverNoteText(o.app.ctx().memos(), day, o.app.ctx().syncEngine()->foreignEvents(day)),
              "10:00-11:00 会議");
    EXPECT_FALSE(o.app.bytes("Tsukiban.tdb").contains(Sjis("会議")));
    EXPECT_FALSE(o.everyFile().contains(server.password().toUtf8()));
    EXPECT_TRUE(o.app.prompts.shown().empty());

    // Opened again, a search that finds the stored calendar leaves nothing to store.
    o.reopen();
    EXPECT_EQ(o.tab->txtSyncServer->text(), root.toString() + "/");
    o.click(o.tab->cmdSyncDiscover);
    ASSERT_TRUE(QTest::qWaitFor([&] { return o.tab->cmdSyncDiscover->isEnabled(); }, 30000));
    EXPECT_GE(o.tab->cmbSyncCalendar->count(), 2);
    EXPECT_EQ(o.tab->calendarUrl(), server.calendar());
    EXPECT_FALSE(o.dialog->hasPendingChanges());
}

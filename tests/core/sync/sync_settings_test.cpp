#include "TestApp.h"
#include "core/settings/SettingsModel.h"
#include "core/settings/SettingsStore.h"
#include "core/sync/SyncSettings.h"

#include <gtest/gtest.h>

TEST(SyncSettings, AFileWithoutSyncStaysByteForByteUntilASyncSettingChanges) {
    TestApp app;
    ASSERT_TRUE(WriteDefaultSettings(app.ctx().settingsStore()));
    const QByteArray before = app.bytes("Tsukiban.ini");
    SettingsModel &s = app.restart().settings;
    s.load();
    EXPECT_EQ(s.Sync_Enabled, "0");
    EXPECT_EQ(s.Sync_Interval, "15");
    EXPECT_EQ(s.Sync_Url, "");
    // The options dialog stores everything at once; sync keys at their defaults add nothing.
    ASSERT_TRUE(s.change(SettingsGroup::All, [](Settings &r) { r.Rokuyo = "1"; }));
    EXPECT_EQ(app.bytes("Tsukiban.ini"), before);

    ASSERT_TRUE(s.change(SettingsGroup::All, [](Settings &r) {
        r.Sync_Enabled = "1";
        r.Sync_Url = "https://cloud.example.org/remote.php/dav/calendars/aki/personal/";
    }));
    const QByteArray after = app.bytes("Tsukiban.ini");
    EXPECT_TRUE(after.startsWith(before)) << "the other sections are left as they were";
    EXPECT_EQ(after.mid(before.size()),
              "[SYNC]\r\nSync_Enabled=1\r\nSync_Url=https://cloud.example.org/remote.php/dav/calendars/aki/personal/\r\n");
    // Picture and move saves never touch [SYNC].
    ASSERT_TRUE(s.change(SettingsGroup::Move, [](Settings &r) { r.Sync_User = "aki"; }));
    EXPECT_FALSE(app.bytes("Tsukiban.ini").contains("Sync_User"));

    SettingsModel &again = app.restart().settings;
    again.load();
    EXPECT_TRUE(SyncEnabled(again));
    EXPECT_EQ(again.Sync_User, "");
    EXPECT_EQ(again.Sync_Interval, "15");
}

TEST(SyncSettings, TypedValues) {
    const struct {
        const char *interval;
        int minutes;
    } intervals[] = {{"15", 15}, {"", 15}, {"abc", 15}, {"0", 1}, {"5", 5}, {"90 ", 90}, {"2000", 1440}, {"-3", 1}};
    for (const auto &c : intervals) {
        Settings s;
        s.Sync_Interval = c.interval;
        EXPECT_EQ(SyncIntervalMinutes(s), c.minutes) << c.interval;
    }
    const struct {
        const char *url;
        const char *plainHttp;
        bool valid, confirmed;
    } urls[] = {
        {"https://cloud.example.org/remote.php/dav", "", true, false},
        {" http://127.0.0.1:5232/aki/cal/ ", "", true, false}, // loopback needs no consent
        {"http://nas.local:5232/aki/cal/", "nas.local:5232", true, true},
        {"http://NAS.local:5232/aki/cal/", "nas.local:5232", true, true},
        {"http://nas.local:5232/aki/cal/", "nas.local", true, false}, // another port, another consent
        {"http://other.local:5232/", "nas.local:5232", true, false},
        {"ftp://nas.local/", "", false, false},
        {"cloud.example.org", "", false, false},
        {"", "", false, false},
    };
    for (const auto &c : urls) {
        Settings s;
        s.Sync_Url = c.url;
        s.Sync_PlainHttp = c.plainHttp;
        EXPECT_EQ(SyncCalendarUrl(s).isValid(), c.valid) << c.url;
        EXPECT_EQ(SyncPlainHttpConfirmed(s), c.confirmed) << c.url;
    }
    Settings on;
    on.Sync_Enabled = "1";
    EXPECT_TRUE(SyncEnabled(on));
    on.Sync_Enabled = "True";
    EXPECT_FALSE(SyncEnabled(on));
}

#include "TestApp.h"
#include "core/settings/SettingsStore.h"
#include "core/view/OptionValues.h"

#include <gtest/gtest.h>

namespace {

bool storeOptions(AppContext &ctx, const std::function<void(OptionValues &)> &edit) {
    OptionValues v = OptionValues::of(ctx.settings, ctx.paths().programFolder);
    edit(v);
    return ctx.settings.change(SettingsGroup::All,
                               [&](Settings &r) { v.storeInto(r, ctx.settings, ctx.paths().programFolder); });
}

} // namespace

TEST(RemindSettings, AFileStaysAsItWasUntilTheyAreChanged) {
    TestApp app;
    ASSERT_TRUE(WriteDefaultSettings(app.ctx().settingsStore()));
    const QByteArray first = app.bytes("Tsukiban.ini");
    EXPECT_FALSE(first.contains("REMIND"));
    app.ctx().settings.load();
    const OptionValues v = OptionValues::of(app.ctx().settings, app.folder());
    EXPECT_TRUE(v.remindToday);
    EXPECT_TRUE(v.remindTime);
    EXPECT_EQ(v.remindMinutes, 10);
    // OK in the dialog with nothing of the reminders touched.
    ASSERT_TRUE(storeOptions(app.ctx(), [](OptionValues &o) { o.rokuyo = !o.rokuyo; }));
    ASSERT_TRUE(storeOptions(app.ctx(), [](OptionValues &o) { o.rokuyo = !o.rokuyo; }));
    EXPECT_EQ(app.bytes("Tsukiban.ini"), first);

    ASSERT_TRUE(storeOptions(app.ctx(), [](OptionValues &o) { o.remindMinutes = 5; }));
    const QByteArray five = app.bytes("Tsukiban.ini");
    EXPECT_TRUE(five.endsWith("[REMIND]\r\nRemind_Minutes=5\r\n")) << five.right(60).toStdString();
    EXPECT_FALSE(five.contains("Remind_Today"));
    ASSERT_TRUE(storeOptions(app.ctx(), [](OptionValues &o) {
        o.remindToday = false;
        o.remindMinutes = 10;
    }));
    EXPECT_TRUE(app.bytes("Tsukiban.ini").endsWith("[REMIND]\r\nRemind_Minutes=10\r\nRemind_Today=0\r\n"));

    // Read back by a new start, and a hand-edited value within bounds.
    app.writeBytes("Tsukiban.ini", app.bytes("Tsukiban.ini").replace("Remind_Minutes=10", "Remind_Minutes=99999") +
                                       "Remind_Time=0\r\n");
    app.restart().settings.load();
    const OptionValues back = OptionValues::of(app.ctx().settings, app.folder());
    EXPECT_FALSE(back.remindToday);
    EXPECT_FALSE(back.remindTime);
    EXPECT_EQ(back.remindMinutes, 24 * 60);
}

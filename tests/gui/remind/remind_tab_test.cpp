#include "CalendarFixture.h"
#include "gui/options/frmOption.h"
#include "gui/remind/Reminders.h"

#include <QCheckBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

TEST(RemindTab, TheSwitchesAndMinutesAreStoredAndTheRemindersFollowAtOnce) {
    Calendar c;
    // No bus here: the settings are what this test is about.
    Reminders reminders(c.app.ctx(), QDBusConnection(QStringLiteral("no bus")));
    reminders.start();
    EXPECT_EQ(reminders.planner().options(), (ReminderOptions{true, true, 10}));
    ASSERT_TRUE(c.app.ctx().commands.run(Command::Options));
    auto *dialog = c.w().findChild<frmOption *>();
    ASSERT_NE(dialog, nullptr);
    int tab = -1;
    for (int i = 0; i < dialog->SSTab1->count(); ++i)
        if (dialog->SSTab1->tabText(i) == QString::fromUtf8("予定・ツールバー")) tab = i;
    ASSERT_GE(tab, 0);
    dialog->SSTab1->setCurrentIndex(tab);
    EXPECT_TRUE(dialog->SSTab1->widget(tab)->isAncestorOf(dialog->chkRemindToday));
    EXPECT_EQ(dialog->chkRemindToday->text(), QString::fromUtf8("起動時と日付が変わったときに今日の予定を通知する"));
    EXPECT_TRUE(dialog->chkRemindToday->isChecked());
    EXPECT_TRUE(dialog->chkRemindTime->isChecked());
    EXPECT_EQ(dialog->spnRemindMinutes->value(), 10);
    EXPECT_TRUE(dialog->spnRemindMinutes->isEnabled());

    dialog->spnRemindMinutes->setValue(0);
    EXPECT_TRUE(dialog->hasPendingChanges());
    dialog->chkRemindToday->setChecked(false);
    ASSERT_TRUE(dialog->apply());
    EXPECT_TRUE(c.app.bytes("Tsukiban.ini").endsWith("[REMIND]\r\nRemind_Today=0\r\nRemind_Minutes=0\r\n"))
        << c.app.bytes("Tsukiban.ini").right(80).toStdString();
    EXPECT_EQ(reminders.planner().options(), (ReminderOptions{false, true, 0}));
    // Reminders off: the minutes have nothing to say.
    dialog->chkRemindTime->setChecked(false);
    EXPECT_FALSE(dialog->spnRemindMinutes->isEnabled());
    QTest::mouseClick(dialog->cmdOption[0], Qt::LeftButton, {}, QPoint(4, 4));
    EXPECT_FALSE(reminders.planner().options().timed);
    EXPECT_TRUE(c.app.bytes("Tsukiban.ini").contains("Remind_Time=0\r\n"));
}

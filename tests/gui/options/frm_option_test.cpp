#include "CalendarFixture.h"
#include "core/memos/MemoBook.h"
#include "core/view/FontSettings.h"
#include "gui/calendar/SeeThrough.h"
#include "gui/options/frmOption.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The calendar with its options dialog opened through the command, as the toolbar and the menu open it.
struct Options : Calendar {
    Options() { open(); }
    void open() {
        EXPECT_TRUE(app.ctx().commands.run(Command::Options));
        dialog = w().findChild<frmOption *>();
        EXPECT_NE(dialog, nullptr);
    }
    // Opened again, as after the data file changed.
    void reopen() {
        delete dialog;
        open();
    }
    bool closed() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return w().findChild<frmOption *>() == nullptr;
    }
    void click(QAbstractButton *button) { QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(4, 4)); }
    QByteArray files() { return app.bytes("Tsukiban.ini") + app.bytes("Tsukiban.tdb"); }
    frmOption *dialog = nullptr;
};

} // namespace

TEST(OptionsDialog, OkWithoutChangesWritesNothingAndClosing) {
    Options o;
    ASSERT_TRUE(o.app.ctx().memos().setDayLists({"2026/12/28"}, {"2026/12/26"}));
    o.reopen();
    const QByteArray before = o.files();
    int told = 0;
    QObject::connect(&o.app.ctx().settings, &SettingsModel::changed, [&] { ++told; });
    EXPECT_FALSE(o.dialog->hasPendingChanges());
    o.dialog->SSTab1->setCurrentIndex(3); // the lists are filled and refreshed
    EXPECT_FALSE(o.dialog->hasPendingChanges());
    o.click(o.dialog->cmdOption[0]);
    EXPECT_EQ(o.files(), before);
    EXPECT_EQ(told, 0); // the calendar is not re-applied
    EXPECT_TRUE(o.closed());
}

TEST(OptionsDialog, ControlRules) {
    Options o;
    frmOption &d = *o.dialog;
    d.chkBackColor->setChecked(true);
    EXPECT_FALSE(d.cmdDisp[6]->isEnabled()); // no background colour for a see-through background
    d.chkBackColor->setChecked(false);
    EXPECT_TRUE(d.cmdDisp[6]->isEnabled());
    d.chkBackLine->setChecked(false);
    EXPECT_FALSE(d.cmdDisp[7]->isEnabled());
    d.chkTime->setChecked(false);
    EXPECT_FALSE(d.cmbTimeFormat->isEnabled());
    EXPECT_TRUE(d.hasPendingChanges());

    d.cmbTitleFormat->setCurrentText(QString::fromUtf8("ggge年m月"));
    EXPECT_EQ(d.lblTitleFormat->text(), QString::fromUtf8("令和8年12月"));
    d.cmbDayFormat->setCurrentIndex(1);
    EXPECT_EQ(d.lblDayFormat->text(), "Sun,Mon,Tue,Wed,Thu,Fri,Sat");
    d.cmbTimeFormat->setCurrentText("hh:mm");
    EXPECT_EQ(d.lblTimeFormat->text(), "09:00");
    d.cmbTimeZone->setCurrentIndex(0);
    EXPECT_TRUE(d.lblTimeDiff->text().startsWith("GMT/UTC-"));
}

TEST(OptionsDialog, AFolderChoiceSelectsTheFolderOptionAndCancelWritesNothing) {
    Options o;
    const QByteArray before = o.files();
    o.app.prompts.queueFolder(o.app.folder());
    o.click(o.dialog->cmdDisp[10]);
    EXPECT_TRUE(o.dialog->optBackPicture[2]->isChecked());
    EXPECT_EQ(o.dialog->txtBackPicturePath->text(), o.app.folder());
    EXPECT_EQ(o.app.prompts.shown().back().text, QString::fromUtf8("入力ファイル保存場所を指定してください。"));
    EXPECT_TRUE(o.dialog->hasPendingChanges());
    o.click(o.dialog->cmdOption[1]);
    EXPECT_EQ(o.files(), before);
    EXPECT_EQ(o.app.ctx().settings.Back_PictureDisp, "2"); // the sample folder, as before
}

TEST(OptionsDialog, WhatIsAppliedIsWhatTheFileHolds) {
    Options o;
    frmOption &d = *o.dialog;
    for (int i = 0; i < 7; ++i) d.chkOffDay[size_t(i)]->setChecked(i == 1 || i == 6);
    d.cmbStartDay->setCurrentIndex(1);
    d.chkRokuyo->setChecked(false);
    QFont font("IPAGothic");
    font.setPointSizeF(14);
    font.setBold(true);
    o.app.prompts.queueFont(font);
    o.click(d.cmdDisp[4]);
    o.app.prompts.queueColor(QColor(0x12, 0x34, 0x56));
    o.click(d.cmdFontColor[4]);
    const QString zone = d.cmbTimeZone->itemText(3);
    d.cmbTimeZone->setCurrentIndex(3);
    o.click(d.cmdOption[2]); // 適用
    EXPECT_FALSE(d.hasPendingChanges());
    EXPECT_TRUE(d.isVisible());

    const AppContext &ctx = o.app.ctx();
    EXPECT_EQ(ctx.ReadSetting("FONT", "OffDay"), "2,7,");
    EXPECT_EQ(ctx.ReadSetting("FONT", "StartDay"), "2");
    EXPECT_EQ(ctx.ReadSetting("FONT", "Rokuyo"), "0");
    EXPECT_EQ(ctx.ReadSetting("FONT", "Holiday_Font_Name"), "MS Gothic"); // what IPAGothic stands for
    EXPECT_EQ(ctx.ReadSetting("FONT", "Holiday_Font_Size"), "14");
    EXPECT_EQ(ctx.ReadSetting("FONT", "Holiday_Font_Bold"), "True");
    EXPECT_EQ(ctx.ReadSetting("FONT", "Holiday_Font_Color"), "H563412");
    EXPECT_EQ(ctx.settings.Time_Zone, zone);
    // Untouched keys keep their text.
    EXPECT_EQ(ctx.ReadSetting("FONT", "Title_Font_Bold"), "False");
    // The calendar followed at once.
    EXPECT_EQ(o.w().lblHeader[0]->text(), QString::fromUtf8("月"));
    EXPECT_FALSE(o.w().lblRokuyo[10]->isVisible());
    const QLabel *newYear = nullptr;
    o.app.ctx().commands.run(Command::MonthOn);
    newYear = o.w().lblDay[size_t(o.cellOf(1))];
    EXPECT_EQ(newYear->font().pointSizeF(), 14.0);
    EXPECT_EQ(newYear->palette().color(QPalette::WindowText), QColor(0x12, 0x34, 0x56));
}

TEST(OptionsDialog, SeeThroughOffMakesTheWindowOpaqueAtOnce) {
    Options o;
    ASSERT_EQ(o.w().seeThrough()->mode(), SeeThrough::Mode::Shaped);
    o.dialog->chkBackColor->setChecked(false);
    o.click(o.dialog->cmdOption[0]);
    EXPECT_EQ(o.w().seeThrough()->mode(), SeeThrough::Mode::Opaque);
    EXPECT_EQ(o.app.ctx().ReadSetting("BACK", "Back_Style"), "0");
}

TEST(OptionsDialog, DayListsThroughThePickers) {
    Options o;
    ASSERT_TRUE(o.app.ctx().memos().setDayLists({}, {"2007/05/01"}));
    o.reopen();
    frmOption &d = *o.dialog;
    d.SSTab1->setCurrentIndex(3);
    ASSERT_EQ(d.lstWeekDay->count(), 1);

    // A date of the other list is refused.
    d.mtvOffDay->setSelectedDate(QDate(2007, 5, 1));
    emit d.mtvOffDay->activated(QDate(2007, 5, 1));
    EXPECT_EQ(o.app.prompts.texts(), QStringList{QString::fromUtf8("平日と同じ日付（2007/05/01）は設定できません。")});
    EXPECT_EQ(d.lstOffDay->count(), 0);

    // A date not in bold joins the list and shows bold; again, it leaves.
    emit d.mtvOffDay->activated(QDate(2007, 5, 3));
    ASSERT_EQ(d.lstOffDay->count(), 1);
    EXPECT_EQ(d.lstOffDay->item(0)->text(), "2007/05/03");
    EXPECT_EQ(d.mtvOffDay->dateTextFormat(QDate(2007, 5, 3)).fontWeight(), QFont::Bold);
    emit d.mtvOffDay->activated(QDate(2007, 5, 3));
    EXPECT_EQ(d.lstOffDay->count(), 0);
    EXPECT_NE(d.mtvOffDay->dateTextFormat(QDate(2007, 5, 3)).fontWeight(), QFont::Bold);

    // A double-clicked row leaves the list; the working-day picker refuses an off day likewise.
    emit d.mtvOffDay->activated(QDate(2007, 5, 4));
    d.mtvWeekDay->setSelectedDate(QDate(2007, 5, 4));
    emit d.mtvWeekDay->activated(QDate(2007, 5, 4));
    EXPECT_EQ(o.app.prompts.texts().back(), QString::fromUtf8("休日と同じ日付（2007/05/04）は設定できません。"));
    d.lstWeekDay->setCurrentRow(0);
    emit d.lstWeekDay->itemDoubleClicked(d.lstWeekDay->item(0));
    EXPECT_EQ(d.lstWeekDay->count(), 0);

    // Leaving the tab and coming back keeps what is not yet saved.
    d.SSTab1->setCurrentIndex(0);
    d.SSTab1->setCurrentIndex(3);
    EXPECT_EQ(d.lstOffDay->count(), 1);

    o.click(d.cmdOption[0]);
    EXPECT_EQ(o.app.ctx().memos().offDays(), QStringList{"2007/05/04"});
    EXPECT_TRUE(o.app.ctx().memos().workingDays().isEmpty());
    EXPECT_FALSE(o.app.ctx().dataFile().hasSection("WEEKDAY"));
}

TEST(OptionsDialog, ListsOf400DatesSurviveASave) {
    Options o;
    QStringList offDays, workingDays;
    for (int i = 0; i < 400; ++i) {
        offDays << QDate(2020, 1, 1).addDays(i * 2).toString("yyyy/MM/dd");
        workingDays << QDate(2020, 1, 2).addDays(i * 2).toString("yyyy/MM/dd");
    }
    ASSERT_TRUE(o.app.ctx().memos().setDayLists(offDays, workingDays));
    o.reopen();
    frmOption *d = o.dialog;
    d->chkRokuyo->toggle();
    o.click(d->cmdOption[0]);
    EXPECT_EQ(o.app.ctx().memos().offDays(), offDays);
    EXPECT_EQ(o.app.ctx().memos().workingDays(), workingDays);
}

TEST(OptionsDialog, ARefusedValueKeepsTheDialogOpenWithItsChanges) {
    Options o;
    const QByteArray before = o.files();
    o.dialog->optBackPicture[1]->setChecked(true);
    o.dialog->txtBackPicture->setText(QString::fromUtf8("/tmp/☃.png"));
    o.click(o.dialog->cmdOption[0]);
    EXPECT_TRUE(o.dialog->isVisible());
    EXPECT_TRUE(o.dialog->hasPendingChanges());
    EXPECT_EQ(o.app.prompts.texts(), QStringList{QString::fromUtf8("保存できない文字が含まれています。\r\n☃")});
    EXPECT_EQ(o.files(), before);
}

TEST(OptionsDialog, TheVersionTabNamesTheLicence) {
    Options o;
    frmOption &d = *o.dialog;
    int tab = -1;
    for (int i = 0; i < d.SSTab1->count(); ++i)
        if (d.SSTab1->tabText(i) == QString::fromUtf8("バージョン")) tab = i;
    ASSERT_GE(tab, 0);
    d.show();
    d.SSTab1->setCurrentIndex(tab);
    QWidget *page = d.SSTab1->currentWidget();
    auto *licence = page->findChild<QLabel *>("lblLicence");
    ASSERT_NE(licence, nullptr);
    EXPECT_TRUE(licence->isVisible());
    EXPECT_TRUE(licence->text().contains(QString::fromUtf8("GNU 一般公衆利用許諾書（GPL）バージョン 3")));
    EXPECT_TRUE(licence->text().contains("https://www.gnu.org/licenses/gpl-3.0.html"));
    // Wrapped inside the page, not cut off at its edge, and smaller than the dialog's own type.
    EXPECT_TRUE(page->rect().contains(licence->geometry())) << licence->geometry().width() << " in " << page->width();
    EXPECT_GE(licence->height(), licence->heightForWidth(licence->width()));
    EXPECT_LT(licence->font().pointSizeF(), d.font().pointSizeF());
    d.close();
}

TEST(OptionsDialog, AFontDialogLeftAsItOpenedStoresWhatWasStored) {
    InstallFontSubstitutions();
    Options o;
    frmOption &d = *o.dialog;
    const QByteArray before = o.files();
    // What the dialog shows for "MS UI Gothic" at 11.25 points, and gives back on OK: the face drawn, whole points.
    QFont shown(DrawnFace("MS UI Gothic"));
    EXPECT_EQ(shown.family(), "IPAPGothic");
    shown.setPointSize(11);
    for (int button : {1, 2, 3, 4}) {
        o.app.prompts.queueFont(shown);
        o.click(d.cmdDisp[size_t(button)]);
    }
    o.click(d.cmdOption[2]); // 適用
    const auto fontSection = [](const QByteArray &file) { return file.mid(file.indexOf("[FONT]"), file.indexOf("[BACK]") - file.indexOf("[FONT]")); };
    EXPECT_EQ(fontSection(o.files()), fontSection(before));
    EXPECT_EQ(o.app.ctx().ReadSetting("FONT", "Weekday_Font_Name"), "MS UI Gothic");
    EXPECT_EQ(o.app.ctx().ReadSetting("FONT", "Weekday_Font_Size"), "11.25");

    // A size past what a month calendar can use is brought to the limit.
    QFont huge(QStringLiteral("IPAPGothic"));
    huge.setPointSize(300);
    o.app.prompts.queueFont(huge);
    o.click(d.cmdDisp[2]);
    o.click(d.cmdOption[2]);
    EXPECT_EQ(o.app.ctx().ReadSetting("FONT", "Weekday_Font_Size"), "72");
    EXPECT_EQ(o.app.ctx().ReadSetting("FONT", "Weekday_Font_Name"), "MS UI Gothic");
}

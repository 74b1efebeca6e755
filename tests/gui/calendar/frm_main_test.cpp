#include "CalendarFixture.h"
#include "core/memos/MemoStore.h"
#include "core/settings/SettingValues.h"
#include "core/settings/SettingsStore.h"
#include "core/view/BackgroundPicture.h"
#include "gui/calendar/SeeThrough.h"
#include "gui/calendar/TodayMarker.h"
#include "gui/calendar/Toolbar.h"
#include "gui/calendar/frmMain.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

QColor textColor(const QLabel *label) {
    return label->palette().color(QPalette::WindowText);
}

} // namespace

TEST(CalendarWindow, StartDayPlacesTheFirst) {
    // November 2026 starts on a Sunday.
    Calendar sunday(QDate(2026, 11, 10), [](Settings &s) { s.StartDay = "1"; });
    EXPECT_EQ(sunday.cellOf(1), 0);
    EXPECT_EQ(sunday.w().lblHeader[0]->text(), QString::fromUtf8("日"));
    Calendar monday(QDate(2026, 11, 10), [](Settings &s) {
        s.StartDay = "2";
        s.Day_Format = QString::fromUtf8("英語");
    });
    EXPECT_EQ(monday.cellOf(1), 6);
    EXPECT_EQ(monday.cellOf(30), 35);
    EXPECT_EQ(monday.w().lblHeader[0]->text(), "Mon");
    EXPECT_EQ(monday.w().lblHeader[6]->text(), "Sun");
    for (int i : {0, 5, 36, 41}) EXPECT_TRUE(monday.w().lblDay[size_t(i)]->text().isEmpty()) << i;
    EXPECT_EQ(monday.w().lblTitle->text(), QString::fromUtf8("2026年11月"));
}

TEST(CalendarWindow, HeaderColoursFollowOffDaysAndTheOuterColumnsUseTheOffDayFont) {
    Calendar c(QDate(2026, 12, 7), [](Settings &s) {
        s.StartDay = "2";
        s.OffDay = "3,";
        s.Offday_Font_Size = "20";
    });
    const QColor off = ColorFromText("HFF00FF"), week = ColorFromText("H808080");
    for (int d = 0; d < 7; ++d) {
        // Monday first: column 1 is Tuesday, the only off day.
        EXPECT_EQ(textColor(c.w().lblHeader[size_t(d)]), d == 1 ? off : week) << d;
        EXPECT_EQ(c.w().lblHeader[size_t(d)]->font().pointSizeF(), d == 0 || d == 6 ? 20.0 : 11.25) << d;
    }
}

TEST(CalendarWindow, DayClassesAsColourAndBold) {
    Calendar c(QDate(2026, 12, 7), [](Settings &s) { s.OffDay = "1,7"; });
    AppContext &ctx = c.app.ctx();
    ASSERT_EQ(ctx.memos().store(QDate(2026, 12, 6), "memo on a Sunday"), StoreResult::Stored);
    ASSERT_EQ(ctx.memos().store(QDate(2026, 12, 9), "memo on a Wednesday"), StoreResult::Stored);
    const struct {
        int day;
        const char *colour;
        bool bold;
    } cases[] = {{6, "HFF00FF", true}, {9, "H808080", true}, {10, "H808080", false}, {12, "HFF00FF", false}};
    for (const auto &e : cases) {
        const QLabel *label = c.w().lblDay[size_t(c.cellOf(e.day))];
        EXPECT_EQ(textColor(label), ColorFromText(e.colour)) << e.day;
        EXPECT_EQ(label->font().bold(), e.bold) << e.day;
    }
    // A holiday: 2027-01-01.
    c.app.ctx().commands.run(Command::MonthOn);
    EXPECT_EQ(textColor(c.w().lblDay[size_t(c.cellOf(1))]), ColorFromText("HFFFF00"));
    EXPECT_EQ(c.w().lblRokuyo[size_t(c.cellOf(1))]->text(), QString::fromUtf8("  仏滅")); // lunar 11/24
}

TEST(CalendarWindow, TodayMarkerOnlyInTodaysMonth) {
    Calendar c;
    EXPECT_TRUE(c.w().shpToday->isVisibleTo(&c.w()));
    const QRect day = c.w().lblDay[size_t(c.cellOf(7))]->geometry();
    EXPECT_TRUE(c.w().shpToday->geometry().intersects(day));
    c.app.ctx().commands.run(Command::MonthBack);
    EXPECT_EQ(c.w().lblTitle->text(), QString::fromUtf8("2026年11月"));
    EXPECT_FALSE(c.w().shpToday->isVisibleTo(&c.w()));
    c.app.ctx().commands.run(Command::ThisMonth);
    EXPECT_TRUE(c.w().shpToday->isVisibleTo(&c.w()));
    c.app.ctx().commands.run(Command::YearOn);
    EXPECT_EQ(c.w().lblTitle->text(), QString::fromUtf8("2027年12月"));
    EXPECT_FALSE(c.w().shpToday->isVisibleTo(&c.w()));
}

TEST(CalendarWindow, SeeThroughRegions) {
    Calendar c;
    frmMain &w = c.w();
    const QRegion visible = w.visibleRegion(), input = w.inputRegion();
    ASSERT_FALSE(visible.isEmpty());
    // Against a render of the window: a pixel is visible exactly when it is not the key colour.
    QImage image(w.size(), QImage::Format_RGB32);
    w.render(&image);
    const QRgb key = ColorFromText("HFFFFFF").rgb();
    int checked = 0;
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3, ++checked)
            ASSERT_EQ(visible.contains(QPoint(x, y)), (image.pixel(x, y) & 0xFFFFFF) != (key & 0xFFFFFF))
                << x << "," << y;
    EXPECT_GT(checked, 1000);
    EXPECT_FALSE(visible.contains(
        QPoint(w.width() / 2, (w.lblDay[0]->geometry().bottom() + w.lblRokuyo[7]->geometry().top()) / 2)));
    // Every dated label takes the mouse; so do the title, the clock and the headers.
    for (int i = 0; i < 42; ++i) {
        const QRect r = w.lblDay[size_t(i)]->geometry();
        const bool dated = !w.lblDay[size_t(i)]->text().isEmpty();
        EXPECT_EQ(input.contains(r), dated) << i;
    }
    EXPECT_TRUE(input.contains(w.lblTitle->geometry()));
    EXPECT_TRUE(input.contains(w.lblHeader[3]->geometry()));
    EXPECT_TRUE((visible - input).isEmpty());
}

TEST(CalendarWindow, OpaqueWindowKeepsItsRoundedOutline) {
    Calendar c(QDate(2026, 12, 7), [](Settings &s) { s.Back_Style = "0"; });
    const QRegion region = c.w().visibleRegion();
    EXPECT_FALSE(region.contains(QPoint(0, 0)));
    EXPECT_TRUE(region.contains(QPoint(10, 0)));
    EXPECT_TRUE(region.contains(QPoint(c.w().width() / 2, c.w().height() / 2)));
    Calendar square(QDate(2026, 12, 7), [](Settings &s) {
        s.Back_Style = "0";
        s.Frame_Conner = "0";
    });
    EXPECT_TRUE(square.w().visibleRegion().contains(QPoint(0, 0)));
}

TEST(CalendarWindow, RokuyoOffMakesTheWindowShorter) {
    Calendar with;
    Calendar without(QDate(2026, 12, 7), [](Settings &s) { s.Rokuyo = "0"; });
    const int cellH = with.w().layoutTwips().cellHeight;
    EXPECT_EQ(with.w().layoutTwips().window.height() - without.w().layoutTwips().window.height(),
              qRound(cellH / 1.2 * 8));
    EXPECT_FALSE(without.w().lblRokuyo[10]->isVisibleTo(&without.w()));
    EXPECT_TRUE(with.w().lblRokuyo[10]->isVisibleTo(&with.w()));
}

TEST(CalendarWindow, PicturesInTheBandAndTheirErrors) {
    Calendar c(QDate(2026, 12, 7), [](Settings &s) { s.Back_PictureDisp = "2"; });
    AppContext &ctx = c.app.ctx();
    const QString folder = c.app.path("pics") + "/";
    ASSERT_TRUE(QDir().mkpath(folder));
    QImage wide(600, 150, QImage::Format_RGB32);
    wide.fill(Qt::darkGreen);
    ASSERT_TRUE(wide.save(folder + "a.png"));
    QImage small(60, 30, QImage::Format_RGB32);
    small.fill(Qt::darkBlue);
    ASSERT_TRUE(small.save(folder + "b.png"));
    c.app.writeBytes("pics/c.jpg", "not a picture");

    c.app.prompts.queueFolder(c.app.path("pics"));
    c.w().ChangePicture(2); // choose the folder: its first picture
    EXPECT_EQ(ctx.settings.Back_PicturePath, folder);
    EXPECT_EQ(ctx.settings.Back_PictureShowName, "a.png");
    const QRect band = c.w().pictureRect();
    EXPECT_EQ(band.width(), (c.w().layoutTwips().frame.width() - 200) / 15);     // shrunk to the window
    EXPECT_EQ(c.app.ctx().ReadSetting("BACK", "Back_PictureShowName"), "a.png"); // saved with the BACK section

    c.w().ChangePicture(3);
    EXPECT_EQ(ctx.settings.Back_PictureShowName, "b.png");
    EXPECT_EQ(c.w().pictureRect().size(), QSize(60 - 200 / 15 - 1, 30 - 200 / 15 - 1));
    EXPECT_TRUE(c.app.prompts.texts().filter("ERR").isEmpty());

    // A folder the settings file cannot name is refused: the band and the file stay as they were.
    const QString named = c.app.path(QString::fromUtf8("pics-é"));
    ASSERT_TRUE(QDir().mkpath(named));
    ASSERT_TRUE(wide.save(named + "/z.png"));
    const QByteArray settings = c.app.bytes("Tsukiban.ini");
    c.app.prompts.queueFolder(named);
    c.w().ChangePicture(2);
    EXPECT_EQ(c.app.prompts.texts().back(), QString::fromUtf8("保存できない文字が含まれています。\r\né"));
    EXPECT_EQ(ctx.settings.Back_PicturePath, folder);
    EXPECT_EQ(ctx.settings.Back_PictureShowName, "b.png");
    EXPECT_EQ(c.app.bytes("Tsukiban.ini"), settings);
    EXPECT_EQ(c.w().pictureRect().size(), QSize(60 - 200 / 15 - 1, 30 - 200 / 15 - 1));

    c.w().ChangePicture(3); // the broken file is reported, the program goes on
    ASSERT_EQ(c.app.prompts.texts().filter("ERR").size(), 1);
    EXPECT_TRUE(c.app.prompts.texts().filter("ERR")[0].startsWith(
        QString::fromUtf8("エラーが発生した為，画像を表示できません。\r\n画像ファイル：") + folder + "c.jpg\r\nERR("));
    EXPECT_TRUE(c.w().pictureRect().isEmpty());
}

TEST(CalendarWindow, HostileSettingsGiveANormalWindow) {
    Calendar c(QDate(2026, 12, 7), [](Settings &s) {
        for (QString *size : {&s.Title_Font_Size, &s.Weekday_Font_Size, &s.Offday_Font_Size, &s.Holiday_Font_Size,
                              &s.Time_Font_Size, &s.Note_Font_Size})
            *size = "2000";
        s.Frame_X = "1e30";
        s.Frame_Y = "-1e30";
        s.StartDay = "9";
    });
    EXPECT_EQ(c.app.ctx().settings.Frame_X, "1e30"); // the stored text stays
    EXPECT_EQ(c.w().lblDay[size_t(c.cellOf(1))]->font().pointSizeF(), 72.0);
    // 72-point type, the largest a month calendar can use: large, but a window and not gigabytes.
    EXPECT_LT(c.w().width(), 3000);
    EXPECT_LT(c.w().height(), 6000);
    EXPECT_EQ(c.w().lblHeader[0]->text(), QString::fromUtf8("土")); // the last weekday there is
    EXPECT_EQ(c.cellOf(1), 3);                                      // December 2026 starts on a Tuesday
}

namespace {

// A JPEG stored 300 x 100 whose orientation tag turns it a quarter: shown 100 x 300, as a phone's portrait photo.
QByteArray TurnedJpeg() {
    QImage image(300, 100, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    // APP1 "Exif": a little-endian TIFF header and one entry, Orientation (0x0112) = 6.
    const QByteArray exif = QByteArray("Exif\0\0II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0\x06\0\0\0\0\0\0\0", 32);
    QByteArray app1("\xFF\xE1");
    app1 += char((exif.size() + 2) >> 8);
    app1 += char((exif.size() + 2) & 0xFF);
    jpeg.insert(2, app1 + exif);
    return jpeg;
}

} // namespace

TEST(CalendarWindow, APortraitPhotoIsBandedAsItIsShown) {
    Calendar c;
    c.app.writeBytes("portrait.jpg", TurnedJpeg());
    EXPECT_EQ(PictureShownSize(c.app.path("portrait.jpg")), QSize(100, 300));
    c.w().lblTitle->setText(QString()); // laid out anew below
    AppContext &ctx = c.app.ctx();
    ctx.settings.Back_PictureDisp = "1";
    ctx.settings.Back_Picture = c.app.path("portrait.jpg");
    c.w().LayoutCalendar(ctx.displayedMonth);
    c.w().LoadBackgroundPicture();
    const QRect band = c.w().pictureRect();
    ASSERT_FALSE(band.isEmpty());
    EXPECT_GT(band.height(), band.width());
    // The band is made for the picture as drawn: it ends above the title.
    EXPECT_LT(band.bottom(), c.w().lblTitle->geometry().top());
}

TEST(CalendarWindow, ASettingsChangeReLaysTheOpenCalendarAtOnce) {
    Calendar c;
    frmMain &w = c.w();
    ASSERT_EQ(w.lblHeader[0]->text(), QString::fromUtf8("日"));
    ASSERT_EQ(w.seeThrough()->mode(), SeeThrough::Mode::Shaped);
    const int width = w.width();
    ASSERT_TRUE(c.app.ctx().settings.change(SettingsGroup::All, [](Settings &s) {
        s.StartDay = "2";
        s.Back_Style = "0";
        s.Weekday_Font_Size = "20";
    }));
    EXPECT_EQ(w.lblHeader[0]->text(), QString::fromUtf8("月"));
    EXPECT_EQ(c.cellOf(1), 1); // December 2026 starts on a Tuesday
    EXPECT_EQ(w.seeThrough()->mode(), SeeThrough::Mode::Opaque);
    EXPECT_EQ(w.lblDay[size_t(c.cellOf(2))]->font().pointSizeF(), 20.0);
    EXPECT_GT(w.width(), width);
}

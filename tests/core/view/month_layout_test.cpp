#include "TestApp.h"
#include "core/program/ToolbarModel.h"
#include "core/settings/Settings.h"
#include "core/view/BackgroundPicture.h"
#include "core/view/MonthLayout.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Fonts as measured at 96 dpi: a 16-pixel line, "99" 16 pixels wide.
MonthLayoutInput typicalInput() {
    MonthLayoutInput in;
    in.titleSample = QSize(255, 255);
    in.timeSample = in.weekdaySample = in.offdaySample = in.holidaySample = QSize(240, 240);
    in.weekdayPoints = in.offdayPoints = in.holidayPoints = 11.25;
    in.titleText = QSize(1500, 255);
    in.timeText = QSize(1200, 240);
    in.rokuyoHeight = 120;
    in.toolbarHeight = 345;
    in.rokuyo = true;
    in.picturePos = "0";
    return in;
}

} // namespace

TEST(MonthLayout, WithoutAPictureTheTitleStands350TwipsBelowTheTop) {
    MonthLayoutInput in = typicalInput();
    const MonthGeometry g = LayoutMonth(in);
    EXPECT_EQ(g.title.top(), 350);
    EXPECT_EQ(g.top, 200);
    EXPECT_EQ(g.title.left(), (255 * 7 + 1050 - 1500) / 2);
    EXPECT_EQ(g.cellWidth, 255); // the widest measuring label, the title's, sets every column
    EXPECT_EQ(g.window.width(), 255 * 7 + 1050);
    EXPECT_EQ(g.time.left(), g.window.width() - 1200 - 200);
    EXPECT_EQ(g.time.top(), 350 + 255 + 100);
    // A picture on top pushes the grid down by its band and the window grows by as much.
    in.picture = QSize(2000, 1000);
    const MonthGeometry withPicture = LayoutMonth(in);
    EXPECT_EQ(withPicture.title.top(), 1000 + 200 + 150);
    EXPECT_EQ(withPicture.window.height() - g.window.height(), 1000);
    EXPECT_EQ(withPicture.day[41].top() - g.day[41].top(), 1000);
}

TEST(MonthLayout, RokuyoLinesAndSixRows) {
    MonthLayoutInput in = typicalInput();
    const MonthGeometry with = LayoutMonth(in);
    in.rokuyo = false;
    const MonthGeometry without = LayoutMonth(in);
    EXPECT_EQ(with.window.height() - without.window.height(), qRound(240 / 1.2 * 8));
    // Six rows are always laid out, 100 twips apart; the rokuyo name stands above its number.
    for (int r = 0; r < 6; ++r) {
        EXPECT_EQ(without.day[size_t(r * 7)].top() - without.day[0].top(), r * (240 + 100)) << r;
        EXPECT_LT(with.rokuyo[size_t(r * 7)].bottom(), with.day[size_t(r * 7)].top()) << r;
        EXPECT_EQ(with.day[size_t(r * 7 + 3)].left(), 90 + 3 * 255 + 300);
    }
    EXPECT_EQ(without.lines[2].y1(), without.day[41].top() + 240 + 50);
    EXPECT_EQ(without.lines[0].y1(), without.header[0].top() - 100);
    EXPECT_EQ(without.lines[0].x1(), 200 + 100 - 200); // the 200-twip band is on top, not on the left
    // The toolbar sits midway between the last rule and the bottom.
    EXPECT_EQ(without.toolbar.y(), without.lines[2].y1() + (without.window.height() - without.lines[2].y1() - 345) / 2);
}

TEST(MonthLayout, PictureBandsOnEachSide) {
    const struct {
        const char *pos;
        int top, bottom, left, right;
    } cases[] = {
        {"0", 1200, 0, 0, 0}, {"1", 0, 1200, 0, 0}, {"2", 0, 0, 0, 2200}, {"3", 0, 0, 2200, 0}, {"9", 0, 0, 0, 0}};
    for (const auto &c : cases) {
        MonthLayoutInput in = typicalInput();
        in.picturePos = c.pos;
        in.picture = QSize(2000, 1000);
        const MonthGeometry g = LayoutMonth(in);
        EXPECT_EQ(g.top, c.top) << c.pos;
        EXPECT_EQ(g.bottom, c.bottom) << c.pos;
        EXPECT_EQ(g.left, c.left) << c.pos;
        EXPECT_EQ(g.right, c.right) << c.pos;
        EXPECT_EQ(g.window, BaseWindowSize(in) + QSize(c.left + c.right, c.top + c.bottom)) << c.pos;
        EXPECT_EQ(g.header[0].left(), c.left + 70) << c.pos;
    }
}

TEST(MonthLayout, PictureFitsItsSide) {
    const struct {
        QSize picture;
        const char *pos;
        QSize shown;
    } cases[] = {
        {{2000, 1000}, "0", {1800, 800}},                      // smaller than the window: its own size less 200
        {{8000, 2000}, "0", {3800, 4000 * 2000 / 8000 - 200}}, // shrunk at its proportions first
        {{8000, 2000}, "1", {3800, 800}},
        {{1000, 12000}, "2", {6000 * 1000 / 12000 - 200, 5800}},
        {{150, 100}, "3", {150, 100}}, // too small to lose 200 twips
        {{2000, 1000}, "7", {0, 0}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FitPicture(c.picture, c.pos, QSize(4000, 6000)), c.shown) << c.pos << " " << c.picture.width();
}

TEST(MonthLayout, ScreenClamping) {
    const QSize screen(1920 * 15, 1080 * 15), window(3000, 6000);
    const struct {
        QPoint stored, current, expected;
    } cases[] = {
        {{1000, 1000}, {1000, 1000}, {1000, 1000}},
        {{1000, 99999}, {0, 0}, {1000, 1080 * 15 - 6000 - 760}}, // bottom 760 twips above the screen's bottom
        {{99999, 1000}, {0, 0}, {1920 * 15 - 3000, 1000}},
        {{-500, -500}, {0, 0}, {0, 0}},
        {{-500, -500}, {900, 900}, {-500, -500}}, // kept while the window still reaches onto the screen
    };
    for (const auto &c : cases)
        EXPECT_EQ(ClampedWindowPosition(c.stored, c.current, window, screen), c.expected) << c.stored.x();
}

TEST(MonthLayout, OpeningPosition) {
    const QRect primary(0, 0, 1600, 1000), second(1600, 0, 1280, 1024);
    const QList<QRect> screens{primary, second};
    const QSize window(300, 400);
    const struct {
        QPoint stored;
        QList<QRect> screens;
        QPoint expected;
    } cases[] = {
        {{700, 66}, screens, {700, 66}},
        {{2000, 500}, screens, {2000, 500}},            // on the second monitor
        {{2000, 500}, {primary}, {1300, 500}},          // that monitor is gone: onto the primary one
        {{1580, 66}, screens, {1580, 66}},              // the corner spans both screens, each shows part of it
        {{1580, 66}, {primary}, {1300, 66}},            // a sliver of the corner is not enough
        {{-5000, -40}, screens, {0, 0}},                // the title above the screen
        {{1599, 990}, {primary}, {1300, 600}},          // bottom right
        {{1599, 990}, {QRect(0, 0, 200, 300)}, {0, 0}}, // a window larger than the screen shows its top-left
    };
    for (const auto &c : cases)
        EXPECT_EQ(OpeningPosition(c.stored, window, c.screens, c.screens.front()), c.expected) << c.stored.x();
}

TEST(MonthLayout, RokuyoSizeAndToolbarWidth) {
    const struct {
        double weekday, offday, holiday, rokuyo;
    } fonts[] = {{11.25, 11.25, 11.25, 5.5}, {11.25, 14.6, 9, 7.5}, {12.5, 9, 9, 6.5}, {9, 9, 9.49, 4.5}};
    for (const auto &f : fonts) {
        MonthLayoutInput in;
        in.weekdayPoints = f.weekday;
        in.offdayPoints = f.offday;
        in.holidayPoints = f.holiday;
        EXPECT_DOUBLE_EQ(RokuyoPoints(in), f.rokuyo) << f.offday; // the largest, rounded to whole points, halved
    }
    // A toolbar past the outline adds the frame and border metrics (4 + 1) as twips, not pixels.
    const std::tuple<int, int, int> widths[] = {{3000, 3300, 3300}, {3600, 3300, 3605}, {3300, 3300, 3305}};
    for (const auto &[toolbar, frame, window] : widths)
        EXPECT_EQ(ToolbarWindowWidth(toolbar, frame), window) << toolbar;
}

TEST(BackgroundPicture, StepsThroughAFolder) {
    QTemporaryDir dir;
    for (const char *name : {"c.jpg", "a.jpg", "B.JPG", "notes.txt", "d.wmf", "e.png"}) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const QString folder = dir.path() + "/";
    EXPECT_EQ(PictureFileNames(folder), QStringList({"a.jpg", "B.JPG", "c.jpg", "e.png"}));
    const struct {
        const char *current, *mode, *result;
    } cases[] = {
        {"e.png", "AFTER", "a.jpg"},    {"a.jpg", "BEFORE", "e.png"}, {"gone.jpg", "NOW", "a.jpg"},
        {"c.jpg", "NOW", "c.jpg"},      {"a.jpg", "AFTER", "B.JPG"},  {"gone.jpg", "BEFORE", "e.png"},
        {"gone.jpg", "AFTER", "a.jpg"}, {"c.jpg", "FIRST", "a.jpg"},  {"a.jpg", "LAST", "e.png"},
        {"b.jpg", "NOW", "a.jpg"}, // names are matched exactly
        {"a.jpg", "SIDEWAYS", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(SelectFolderPicture(folder, c.current, c.mode), c.result) << c.current << c.mode;
    EXPECT_EQ(SelectFolderPicture(dir.filePath("missing/"), "a.jpg", "NOW"), "");
    QTemporaryDir empty;
    EXPECT_EQ(SelectFolderPicture(empty.path(), "a.jpg", "FIRST"), "");
    EXPECT_EQ(PictureFolderSetting("/x/y"), "/x/y/");
    EXPECT_EQ(PictureFolderSetting("/x/y/"), "/x/y/");
}

TEST(Toolbar, CustomModeVisibility) {
    const auto shown = [](std::initializer_list<int> buttons) {
        std::array<bool, ToolbarButtonCount> v{};
        for (int b : buttons) v[size_t(b - 1)] = true;
        return v;
    };
    TestApp app;
    SettingsModel &s = app.ctx().settings;
    const auto with = [&s](const std::function<void(Settings &)> &adjust) -> const SettingsModel & {
        for (QString *k : {&s.Disp_NoteList_Button, &s.Disp_Schedule_Button, &s.Disp_Fusen_Button, &s.Disp_Month_Button,
                           &s.Disp_Option_Button, &s.Disp_Quit_Button, &s.Disp_Pic_Button})
            *k = "1";
        s.Back_PictureDisp = "1";
        adjust(s);
        return s;
    };
    const auto all = [](Settings &) {};
    const auto onlyMonth = [](Settings &o) {
        o.Disp_NoteList_Button = o.Disp_Schedule_Button = o.Disp_Fusen_Button = "0";
        o.Disp_Option_Button = o.Disp_Quit_Button = o.Disp_Pic_Button = "0";
    };
    // Every key on, but no folder pictures: the picture buttons go, separator 15 stays after the quit button.
    EXPECT_EQ(VisibleToolbarButtons("MIN", with(all)), shown({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
    EXPECT_EQ(VisibleToolbarButtons("MIN", with([](Settings &o) { o.Back_PictureDisp = "2"; })),
              shown({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20}));
    EXPECT_EQ(VisibleToolbarButtons("MIN", with([](Settings &o) { o.Disp_Month_Button = "0"; })),
              shown({1, 2, 3, 4, 5, 13, 14, 15}));
    // Only "0" hides a button (a hand-written "2" shows it).
    EXPECT_EQ(VisibleToolbarButtons("MIN", with([](Settings &o) { o.Disp_Month_Button = "2"; })),
              VisibleToolbarButtons("MIN", with(all)));
    EXPECT_EQ(VisibleToolbarButtons("MIN", with(onlyMonth)), shown({1, 2, 7, 8, 9, 10, 11}));
    // All shows the picture buttons whatever the picture mode; hidden keeps only the mode button.
    EXPECT_EQ(VisibleToolbarButtons("ALL", with(onlyMonth)),
              shown({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20}));
    EXPECT_EQ(VisibleToolbarButtons("DISABLE", with(all)), shown({1}));
    EXPECT_EQ(NextToolbarEntry("0"), "MIN");
    EXPECT_EQ(NextToolbarEntry("1"), "DISABLE");
    EXPECT_EQ(NextToolbarEntry("2"), "ALL");
    EXPECT_EQ(NextToolbarEntry("5"), "");
}

TEST(MonthLayout, KeptInTheWorkArea) {
    // A 1600 x 1000 screen with a 48-pixel panel at the bottom and a 32-pixel one at the top.
    const QRect area(0, 32, 1600, 1000 - 32 - 48);
    const QSize window(430, 450);
    const struct {
        QPoint at, kept;
    } cases[] = {
        {{800, 66}, {800, 66}},     // inside: left alone
        {{800, 600}, {800, 502}},   // the toolbar would be under the bottom panel
        {{800, 0}, {800, 32}},      // under the top panel
        {{1500, 100}, {1170, 100}}, // past the right edge
        {{-20, -20}, {0, 32}},
    };
    for (const auto &c : cases) EXPECT_EQ(KeptInWorkArea(c.at, window, area), c.kept) << c.at.x() << "," << c.at.y();
    // Larger than the work area: its top left stays reachable.
    EXPECT_EQ(KeptInWorkArea({300, 300}, QSize(2000, 1200), area), QPoint(0, 32));
}

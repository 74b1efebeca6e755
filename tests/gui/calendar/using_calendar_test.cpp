#include "CalendarFixture.h"
#include "core/memos/MemoBook.h"
#include "core/system/Cp932.h"
#include "core/view/DayNote.h"
#include "gui/calendar/ClockLabel.h"
#include "gui/calendar/TodayMarker.h"
#include "gui/calendar/Toolbar.h"
#include "gui/calendar/TrayIcon.h"
#include "gui/calendar/frmFrame.h"
#include "gui/calendar/frmMenu.h"
#include "gui/calendar/frmNote.h"
#include "gui/memos/frmInput.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimeZone>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

void clickDay(Calendar &c, int day, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(&c.w(), button, {}, c.centreOf(day));
}

// The mouse moving over a label, as the window system delivers it.
void hover(QWidget *label) {
    const QPointF local(label->rect().center());
    QMouseEvent move(QEvent::MouseMove, local, label->mapToGlobal(local), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(label, &move);
}

QStringList visibleItems(frmMenu *menu) {
    QStringList names;
    for (QAction *a : menu->menu()->actions())
        if (a->isVisible()) names << a->objectName();
    return names;
}

} // namespace

TEST(UsingTheCalendar, ClickTypeSaveMakesTheDayBold) {
    Calendar c;
    ASSERT_EQ(c.app.ctx().memos().store(QDate(2026, 12, 12), "old"), StoreResult::Stored);
    clickDay(c, 12);
    frmInput *box = c.w().input();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), "2026/12/12");
    EXPECT_EQ(box->txtInput->toPlainText(), "old");
    EXPECT_GE(box->y(), c.w().lblDay[size_t(c.cellOf(12))]->mapToGlobal(QPoint()).y()); // under the cell
    box->txtInput->selectAll();
    box->txtInput->insertPlainText(QString::fromUtf8("会議")); // typed through an input method
    QTest::keyClick(box->txtInput, Qt::Key_Return);
    QTest::keyClicks(box->txtInput, "b");
    QTest::mouseClick(box->cmdInput[0], Qt::LeftButton);
    EXPECT_TRUE(c.app.bytes("Tsukiban.tdb").contains(Sjis("2026/12/12=会議\\CRLF\\b\r\n")));
    EXPECT_TRUE(c.w().lblDay[size_t(c.cellOf(12))]->font().bold());
    EXPECT_FALSE(c.w().lblDay[size_t(c.cellOf(13))]->font().bold());
    // A blank cell opens nothing.
    QTest::mouseClick(&c.w(), Qt::LeftButton, {}, c.w().lblDay[0]->geometry().center());
    EXPECT_TRUE(c.w().input() == nullptr || !c.w().input()->isVisible());
}

TEST(UsingTheCalendar, CutAndPasteThroughTheDayMenu) {
    Calendar c;
    AppContext &ctx = c.app.ctx();
    ASSERT_EQ(ctx.memos().store(QDate(2026, 12, 5), "five"), StoreResult::Stored);
    ASSERT_EQ(ctx.memos().store(QDate(2026, 12, 12), "twelve"), StoreResult::Stored);

    clickDay(c, 5, Qt::RightButton);
    EXPECT_EQ(visibleItems(c.w().menu()), QStringList({"Cut", "Copy", "Paste", "Del", "Clear", "Line1", "Export"}));
    EXPECT_FALSE(c.w().menu()->item("Paste")->isEnabled()); // nothing cut or copied yet
    c.w().menu()->menu()->close();
    c.w().menu()->item("Cut")->trigger();

    clickDay(c, 12, Qt::RightButton);
    EXPECT_TRUE(c.w().menu()->item("Paste")->isEnabled());
    c.w().menu()->menu()->close();
    c.w().menu()->item("Paste")->trigger();
    EXPECT_EQ(ctx.memos().memo(QDate(2026, 12, 12)), "five");
    EXPECT_EQ(ctx.memos().memo(QDate(2026, 12, 5)), "");
    EXPECT_FALSE(c.w().lblDay[size_t(c.cellOf(5))]->font().bold());
    EXPECT_TRUE(c.w().lblDay[size_t(c.cellOf(12))]->font().bold());
    clickDay(c, 20, Qt::RightButton);
    EXPECT_FALSE(c.w().menu()->item("Paste")->isEnabled()); // a cut memo moves once
    c.w().menu()->menu()->close();
}

TEST(UsingTheCalendar, BackgroundMenuAndTheNoteMode) {
    Calendar c;
    QTest::mouseClick(&c.w(), Qt::RightButton, {}, c.w().lblTitle->geometry().center());
    EXPECT_EQ(visibleItems(c.w().menu()), QStringList({"BeforeYear", "BeforeMonth", "Now", "AfterMonth", "AfterYear",
                                                       "Line3", "NoteList", "Option", "Line4", "Quit"}));
    c.w().menu()->menu()->close();
    c.w().menu()->ShowPopupMenu("Fusen");
    EXPECT_EQ(visibleItems(c.w().menu()), QStringList({"Fusen_Edit", "Fusen_Position", "Fusen_Del", "Line6",
                                                       "Fusen_Sort", "Fusen_Scale", "Fusen_Folder"}));
    c.w().menu()->item("AfterMonth")->trigger();
    EXPECT_EQ(c.w().lblTitle->text(), QString::fromUtf8("2027年1月"));
}

TEST(UsingTheCalendar, HoverShowsTheNoteOfAHolidayWithItsMemo) {
    Calendar c(QDate(2027, 1, 5));
    ASSERT_EQ(c.app.ctx().memos().store(QDate(2027, 1, 11), "a\nb"), StoreResult::Stored); // 成人の日
    EXPECT_EQ(HoverNoteText(c.app.ctx().memos(), QDate(2027, 1, 11)), QString::fromUtf8("成人の日\r\na\r\nb"));
    EXPECT_EQ(HoverNoteText(c.app.ctx().memos(), QDate(2027, 1, 12)), "");

    QLabel *day = c.w().lblDay[size_t(c.cellOf(11))];
    hover(day);
    EXPECT_TRUE(c.w().note()->isVisible());
    EXPECT_EQ(c.w().note()->txtComment->text(), QString::fromUtf8("成人の日\na\nb"));
    EXPECT_TRUE(c.w().isHighlighted(day));
    // Lit: the whole cell is painted in the cell colour, and so belongs to the see-through window's shape.
    QImage shot(c.w().size(), QImage::Format_RGB32);
    c.w().render(&shot);
    const QPoint corner = day->geometry().topLeft() + QPoint(1, 1);
    EXPECT_EQ(QColor(shot.pixel(corner)), QColor(0x2F, 0x2F, 0x2F));
    EXPECT_TRUE(c.w().visibleRegion().contains(corner));
    EXPECT_GT(c.w().note()->x(), day->mapToGlobal(QPoint()).x()); // beside the cell
    // An ordinary day shows nothing; the highlight moves with the mouse.
    QLabel *plain = c.w().lblDay[size_t(c.cellOf(12))];
    hover(plain);
    EXPECT_FALSE(c.w().note()->isVisible());
    EXPECT_FALSE(c.w().isHighlighted(day));
    EXPECT_TRUE(c.w().isHighlighted(plain));
    hover(day);
    EXPECT_TRUE(c.w().note()->isVisible());
    // Blank cells never light up.
    hover(c.w().lblDay[0]);
    EXPECT_FALSE(c.w().isHighlighted(c.w().lblDay[0]));
    EXPECT_FALSE(c.w().note()->isVisible());
}

TEST(UsingTheCalendar, AMemoStoredElsewhereShowsThroughTheMemoBookAlone) {
    Calendar c(QDate(2026, 12, 7));
    MemoBook &book = c.app.ctx().memos();
    ASSERT_EQ(book.store(QDate(2026, 12, 7), QString::fromUtf8("朝会")), StoreResult::Stored);
    QLabel *today = c.w().lblDay[size_t(c.cellOf(7))];
    hover(today);
    ASSERT_TRUE(c.w().note()->isVisible());

    // As another window would: nothing here touches the calendar window.
    ASSERT_EQ(book.store(QDate(2026, 12, 7), QString::fromUtf8("会議\n資料")), StoreResult::Stored);
    ASSERT_EQ(book.store(QDate(2026, 12, 24), "eve"), StoreResult::Stored);
    ASSERT_EQ(book.store(QDate(2027, 1, 4), "next month"), StoreResult::Stored);
    EXPECT_TRUE(today->font().bold());
    EXPECT_TRUE(c.w().lblDay[size_t(c.cellOf(24))]->font().bold());
    EXPECT_EQ(c.w().note()->txtComment->text(), QString::fromUtf8("会議\n資料"));
    EXPECT_TRUE(c.w().tray()->tip().endsWith(QString::fromUtf8("会議\r\n資料")));

    ASSERT_TRUE(book.remove(QDate(2026, 12, 7)));
    EXPECT_FALSE(today->font().bold());
    EXPECT_FALSE(c.w().note()->isVisible());
    EXPECT_FALSE(c.w().tray()->tip().contains(QString::fromUtf8("会議")));

    // The day lists recolour the grid the same way.
    const QColor working = today->palette().color(QPalette::WindowText);
    ASSERT_TRUE(book.setDayLists({"2026/12/07"}, {}));
    EXPECT_NE(today->palette().color(QPalette::WindowText), working);
    ASSERT_TRUE(book.setDayLists({}, {}));
    EXPECT_EQ(today->palette().color(QPalette::WindowText), working);

    // The today marker over the day lets the click through to it.
    clickDay(c, 7);
    ASSERT_NE(c.w().input(), nullptr);
    EXPECT_EQ(c.w().input()->windowTitle(), "2026/12/07");
}

TEST(UsingTheCalendar, NotePlacement) {
    NotePlacementInput in;
    in.cell = QRect(3000, 3000, 400, 240);
    in.text = QSize(900, 480);
    in.frameWidth = 3000;
    in.windowWidth = 3000;
    in.screen = QSize(24000, 15000);
    const auto lines = [](int) { return 2; };
    const NotePlacement beside = PlaceDayNote(in, lines);
    EXPECT_EQ(beside.window, QRect(3000 + 400 + 200, 3000, 900 + 100 + 200, 240 + 480 + 100));
    in.cell.moveLeft(23500); // near the right edge: the note goes to the left of the cell
    EXPECT_EQ(PlaceDayNote(in, lines).window.left(), 23500 - 1200 - 100);
    in.cell.moveTop(14900); // near the bottom: moved up
    EXPECT_EQ(PlaceDayNote(in, lines).window.top(), 15000 - (240 + 580) - 1000);
    in.text = QSize(7000, 240); // wider than twice the calendar: wrapped
    const NotePlacement wide = PlaceDayNote(in, [](int) { return 4; });
    EXPECT_TRUE(wide.wrap);
    EXPECT_EQ(wide.text.width(), 2 * 3000 - 100 + 100);
    EXPECT_EQ(wide.text.height(), 4 * 225);
}

TEST(UsingTheCalendar, ToolbarModeCycling) {
    Calendar c;
    AppContext &ctx = c.app.ctx();
    Toolbar *bar = c.w().tlbToolbar;
    EXPECT_EQ(ctx.settings.Disp_Mode_ToolBar, "2");
    EXPECT_FALSE(bar->button(7)->isVisibleTo(bar));
    const int narrow = c.w().width();
    c.app.ctx().commands.run(Command::ToolbarMode); // hidden -> all
    EXPECT_EQ(ctx.settings.Disp_Mode_ToolBar, "0");
    EXPECT_TRUE(bar->button(20)->isVisibleTo(bar));
    EXPECT_GE(c.w().width(), bar->x() + bar->width()); // the window reaches past the toolbar
    EXPECT_GT(c.w().width(), narrow);
    QTest::mouseClick(bar->button(10), Qt::LeftButton); // a button runs its command
    EXPECT_EQ(c.w().lblTitle->text(), QString::fromUtf8("2027年1月"));
    QTest::mouseClick(bar->button(1), Qt::LeftButton, {}, QPoint(4, 4)); // all -> custom
    EXPECT_EQ(ctx.settings.Disp_Mode_ToolBar, "1");
    c.app.ctx().commands.run(Command::ToolbarMode); // custom -> hidden
    EXPECT_EQ(ctx.settings.Disp_Mode_ToolBar, "2");
    EXPECT_EQ(c.w().width(), narrow);
    EXPECT_EQ(ctx.ReadSetting("OPTION", "Disp_Mode_ToolBar"), "2"); // the record only; the file waits for a save
}

TEST(UsingTheCalendar, DraggingMovesTheWindowAndSavesItsPlace) {
    for (const char *position : {"0", "1"}) {
        Calendar c(QDate(2026, 12, 7), [position](Settings &s) { s.Position = position; });
        frmMain &w = c.w();
        w.move(100, 80);
        const QPoint start = w.mapToGlobal(QPoint(5, 5));
        w.sub_Move_Start(start);
        w.sub_Move_Start(start + QPoint(7, 7)); // a second press does not restart the drag
        w.sub_Move_Refresh(start + QPoint(40, 25));
        ASSERT_NE(w.outlineWindow(), nullptr);
        EXPECT_EQ(w.outlineWindow()->pos(), QPoint(140, 105)); // the outline follows the mouse
        EXPECT_EQ(w.pos(), QPoint(100, 80));                   // the window waits for the release
        w.sub_Move_End(start + QPoint(40, 25));
        const QPoint expected = QString(position) == "0" ? QPoint(140, 105) : QPoint(100, 80);
        EXPECT_EQ(w.pos(), expected) << position;
        EXPECT_EQ(c.app.ctx().ReadSetting("FRAME", "Frame_X"), QString::number(expected.x() * 15)) << position;
        EXPECT_EQ(c.app.ctx().ReadSetting("FRAME", "Frame_Y"), QString::number(expected.y() * 15)) << position;
        EXPECT_EQ(w.outlineWindow(), nullptr);
    }
}

TEST(UsingTheCalendar, TrayTip) {
    TestApp app;
    AppContext &ctx = app.ctx();
    ctx.settings.Day_Format = QString::fromUtf8("日本語");
    ASSERT_EQ(ctx.memos().store(QDate(2027, 1, 11), "式典\n会場へ"), StoreResult::Stored);
    const auto tip = [&ctx](const QDate &day) {
        return TrayTipText(ctx.memos(), ctx.settings.japaneseWeekdays(), ctx.locale, day);
    };
    EXPECT_EQ(tip(QDate(2027, 1, 11)),
              QString::fromUtf8("2027年1月11日(月)\r\n成人の日\r\n式典\r\n会場へ"));
    EXPECT_EQ(tip(QDate(2027, 1, 12)), QString::fromUtf8("2027年1月12日(火)")); // no empty line
    ctx.settings.Day_Format = QString::fromUtf8("英語");
    ctx.locale = QLocale(QLocale::English, QLocale::UnitedStates);
    EXPECT_TRUE(tip(QDate(2027, 1, 12)).startsWith("Tue Jan 12 2027"));
}

TEST(UsingTheCalendar, MidnightMovesTheMarkerAndTheMonth) {
    Calendar c(QDate(2026, 12, 31));
    AppContext &ctx = c.app.ctx();
    c.app.clock.set(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59)));
    c.w().tick();
    EXPECT_EQ(c.w().lblTitle->text(), QString::fromUtf8("2026年12月"));
    c.app.clock.advance(2);
    c.w().tick();
    EXPECT_EQ(ctx.displayedMonth, QDate(2027, 1, 1));
    EXPECT_EQ(c.w().lblTitle->text(), QString::fromUtf8("2027年1月"));
    EXPECT_TRUE(c.w().shpToday->isVisibleTo(&c.w()));
    EXPECT_TRUE(c.w().shpToday->geometry().intersects(c.w().lblDay[size_t(c.cellOf(1))]->geometry()));
    EXPECT_TRUE(c.w().tray()->tip().startsWith(QString::fromUtf8("2027年1月1日(金)\r\n元日")));
    // A view of another month stays where it is.
    c.app.ctx().commands.run(Command::MonthOn);
    c.app.clock.advance(24 * 3600);
    c.w().tick();
    EXPECT_EQ(c.w().lblTitle->text(), QString::fromUtf8("2027年2月"));
}

TEST(UsingTheCalendar, ClockShowsTheZoneTime) {
    Calendar c(QDate(2026, 12, 7), [](Settings &s) {
        s.Time_Zone = QString::fromUtf8("ロンドン，リスボン，レイキャビック，カサブランカ");
        s.Time_Format = "hh:mm";
    });
    const QDateTime tokyo(QDate(2026, 12, 7), QTime(8, 30), QTimeZone(9 * 3600));
    c.app.clock.set(tokyo);
    c.w().tick();
    EXPECT_EQ(c.w().lblTime->text(), "23:30");
    EXPECT_EQ(c.w().lblTime->toolTip(), QString::fromUtf8("ロンドン，リスボン，レイキャビック，カサブランカ GMT/UTC"));
}

TEST(UsingTheCalendar, TrayClickTogglesAndClosingTheMenuWindowEndsTheCalendar) {
    Calendar c;
    c.w().show();
    emit c.w().tray()->toggleRequested();
    EXPECT_FALSE(c.w().isVisible());
    emit c.w().tray()->toggleRequested();
    EXPECT_TRUE(c.w().isVisible());
    // Asked to close from outside (the session ending), the hidden menu window ends the calendar instead.
    c.w().menu()->close();
    EXPECT_TRUE(c.w().menu()->parentWidget() == &c.w());
    QCoreApplication::processEvents();
    EXPECT_FALSE(c.w().isVisible());
}

#include "CalendarFixture.h"
#include "core/memos/MemoStore.h"
#include "gui/calendar/ClockLabel.h"
#include "gui/calendar/SeeThrough.h"
#include "gui/calendar/TodayMarker.h"
#include "gui/calendar/Toolbar.h"
#include "gui/calendar/WindowShape.h"
#include "gui/calendar/frmMenu.h"
#include "gui/calendar/frmNote.h"
#include "gui/common/AccessibleMenus.h"
#include "gui/memos/frmInput.h"

#include <QAccessible>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QSet>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Regions of the window are in device pixels; widgets place themselves in logical ones.
QRect dev(const QWidget &w, const QRect &r) {
    return WindowShape::toDevice(r, w.devicePixelRatioF());
}
QPoint dev(const QWidget &w, const QPoint &p) {
    return dev(w, QRect(p, QSize(1, 1))).topLeft();
}

// A blank pixel of a day's cell: its left end, since the number stands right-aligned.
QPoint blankOf(QWidget *label) {
    return label->geometry().topLeft() + QPoint(1, label->height() / 2);
}

// The window shown at a known place, as the desktop shows it.
void show(Calendar &c) {
    c.w().move(100, 100);
    c.w().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&c.w()));
}

} // namespace

TEST(SeeThrough, CompositedAndShapedRegions) {
    Calendar c;
    frmMain &w = c.w();
    QLabel *day = w.lblDay[size_t(c.cellOf(9))], *next = w.lblDay[size_t(c.cellOf(10))];
    const QPoint gap((day->geometry().right() + next->geometry().left()) / 2, day->geometry().center().y());
    ASSERT_LT(day->geometry().right(), gap.x());

    const struct {
        bool composited;
        SeeThrough::Mode mode;
        bool smooth;
    } cases[] = {{true, SeeThrough::Mode::Composited, true}, {false, SeeThrough::Mode::Shaped, false}};
    for (const auto &m : cases) {
        SCOPED_TRACE(m.composited ? "composited" : "shaped");
        w.seeThrough()->setComposited(m.composited);
        EXPECT_EQ(w.seeThrough()->mode(), m.mode);
        EXPECT_EQ(w.testAttribute(Qt::WA_TranslucentBackground), m.composited);
        // Smoothed type only where nothing is blended with the key colour.
        EXPECT_EQ(day->font().styleStrategy() != QFont::NoAntialias, m.smooth);
        const QRegion visible = w.visibleRegion(), input = w.inputRegion();
        EXPECT_FALSE(visible.contains(dev(w, blankOf(day))));
        EXPECT_FALSE(input.contains(dev(w, gap))); // between two days the click reaches the desktop
        if (m.composited) {
            // Every dated day, the title, the clock, the headers and the toolbar take the mouse over their rectangle.
            for (int i = 0; i < 42; ++i)
                EXPECT_EQ(input.contains(dev(w, w.lblDay[size_t(i)]->geometry())), !w.lblDay[size_t(i)]->text().isEmpty()) << i;
            for (QWidget *label : {static_cast<QWidget *>(w.lblTitle), static_cast<QWidget *>(w.lblTime),
                                   static_cast<QWidget *>(w.lblHeader[3]), static_cast<QWidget *>(w.tlbToolbar)})
                EXPECT_TRUE(input.contains(dev(w, label->geometry()))) << label->objectName().toStdString();
        } else {
            EXPECT_EQ(input, visible); // X gives a shaped window the mouse where it is drawn, and nowhere else
        }
    }
}

TEST(SeeThrough, WithoutACompositorThePointerLightsWhatItReaches) {
    Calendar c;
    show(c);
    frmMain &w = c.w();
    ASSERT_EQ(w.seeThrough()->mode(), SeeThrough::Mode::Shaped);
    QLabel *day = w.lblDay[size_t(c.cellOf(17))];
    ASSERT_FALSE(w.visibleRegion().contains(dev(w, blankOf(day))));

    // The pointer arrives on the blank pixel of a day: the cell lights and is drawn, so it takes the click.
    emit w.seeThrough()->pointerMoved(w.mapToGlobal(blankOf(day)));
    EXPECT_TRUE(w.isHighlighted(day));
    EXPECT_TRUE(w.visibleRegion().contains(dev(w, day->geometry())));
    QTest::mouseClick(&w, Qt::LeftButton, {}, blankOf(day));
    ASSERT_NE(w.input(), nullptr);
    EXPECT_EQ(w.input()->windowTitle(), "2026/12/17");
    w.input()->close();

    // A toolbar button lights the same way: its whole face takes the click, not only the strokes of its icon.
    QWidget *button = w.tlbToolbar->findChildren<QToolButton *>().front();
    const QRect face(button->mapTo(&w, QPoint()), button->size());
    emit w.seeThrough()->pointerMoved(w.mapToGlobal(face.center()));
    EXPECT_TRUE(w.isHighlighted(button));
    EXPECT_TRUE(w.visibleRegion().contains(dev(w, face)));
    EXPECT_FALSE(w.isHighlighted(day));
    EXPECT_FALSE(w.visibleRegion().contains(dev(w, blankOf(day))));

    // Off the window nothing stays lit.
    emit w.seeThrough()->pointerMoved(w.mapToGlobal(QPoint(-50, -50)));
    EXPECT_FALSE(w.isHighlighted(button));
    EXPECT_FALSE(w.visibleRegion().contains(dev(w, face.topLeft() + QPoint(1, 1))));
}

TEST(SeeThrough, TheHoverNoteNeverCoversAnOpenMenu) {
    Calendar c(QDate(2027, 1, 5));
    show(c);
    frmMain &w = c.w();
    ASSERT_EQ(c.app.ctx().memos().store(QDate(2027, 1, 20), "memo"), StoreResult::Stored);
    QLabel *day = w.lblDay[size_t(c.cellOf(20))];
    const auto hover = [](QWidget *label) {
        const QPointF at(label->rect().center());
        QMouseEvent move(QEvent::MouseMove, at, label->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(label, &move);
    };
    hover(day);
    ASSERT_TRUE(w.note()->isVisible());
    QTest::mouseClick(&w, Qt::RightButton, {}, day->geometry().center());
    ASSERT_TRUE(w.menu()->menu()->isVisible());
    EXPECT_FALSE(w.note()->isVisible());
    hover(w.lblDay[size_t(c.cellOf(21))]);
    hover(day);
    EXPECT_FALSE(w.note()->isVisible());
    // Closed, the next hover shows the note again.
    w.menu()->menu()->close();
    hover(day);
    EXPECT_TRUE(w.note()->isVisible());
}

TEST(SeeThrough, TipsShowOnTheCalendarAsItSitsOnTheDesktop) {
    Calendar c;
    // Qt shows tooltips on the active window only, unless the window says otherwise.
    EXPECT_TRUE(c.w().testAttribute(Qt::WA_AlwaysShowToolTips));
    EXPECT_FALSE(c.w().lblTime->toolTip().isEmpty());
}

TEST(SeeThrough, WithoutACompositorEveryToolbarButtonIsDrawnAndTakesTheClick) {
    for (const char *entry : {"ALL", "MIN", "DISABLE"}) {
        SCOPED_TRACE(entry);
        Calendar c;
        show(c);
        frmMain &w = c.w();
        w.ApplyToolbarMode(QString::fromLatin1(entry));
        ASSERT_EQ(w.seeThrough()->mode(), SeeThrough::Mode::Shaped);
        int buttons = 0;
        for (int b = 1; b <= ToolbarButtonCount; ++b) {
            QToolButton *button = w.tlbToolbar->button(b);
            if (!button->isVisible() || !button->isEnabled()) continue;
            ++buttons;
            SCOPED_TRACE(button->objectName().toStdString());
            const QRect face(button->mapTo(&w, QPoint()), button->size());
            emit w.seeThrough()->pointerMoved(w.mapToGlobal(face.center()));
            EXPECT_TRUE(w.isHighlighted(button));
            // Lit, the whole face and its icon are drawn, so X gives the click to the window.
            EXPECT_TRUE(w.visibleRegion().contains(dev(w, face)));
            const QImage faceImage = button->grab().toImage();
            QSet<QRgb> colours;
            for (int y = 0; y < faceImage.height(); ++y)
                for (int x = 0; x < faceImage.width(); ++x) colours.insert(faceImage.pixel(x, y));
            EXPECT_GT(colours.size(), 2) << "an icon on the lit face";
        }
        EXPECT_GT(buttons, 0);
    }
}

TEST(SeeThrough, ALateCrossingDoesNotPutOutTheCellUnderThePointer) {
    Calendar c;
    show(c);
    frmMain &w = c.w();
    QLabel *day = w.lblDay[size_t(c.cellOf(15))];
    const QPoint at = w.mapToGlobal(blankOf(day));
    QCursor::setPos(at);
    ASSERT_EQ(QCursor::pos(), at);
    emit w.seeThrough()->pointerMoved(at);
    ASSERT_TRUE(w.isHighlighted(day));
    // Lighting the cell changed the shape under the pointer; the crossings that made come in afterwards.
    for (QEvent::Type crossing : {QEvent::Leave, QEvent::Enter, QEvent::Leave}) {
        QEvent event(crossing);
        QApplication::sendEvent(&w, &event);
        EXPECT_TRUE(w.isHighlighted(day)) << crossing;
        EXPECT_TRUE(w.visibleRegion().contains(dev(w, blankOf(day)))) << crossing;
    }
    // Gone from the window, the leave puts it out.
    QCursor::setPos(w.mapToGlobal(QPoint(-40, -40)));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&w, &leave);
    EXPECT_FALSE(w.isHighlighted(day));
}

TEST(SeeThrough, WithoutACompositorEveryKindOfLabelTakesTheMouseOverItsRectangle) {
    Calendar c;
    show(c);
    frmMain &w = c.w();
    ASSERT_EQ(w.seeThrough()->mode(), SeeThrough::Mode::Shaped);
    const int day = c.cellOf(17);
    for (QWidget *label : {static_cast<QWidget *>(w.lblTitle), static_cast<QWidget *>(w.lblTime),
                           static_cast<QWidget *>(w.lblHeader[3]), static_cast<QWidget *>(w.lblDay[size_t(day)]),
                           static_cast<QWidget *>(w.lblRokuyo[size_t(day)])}) {
        SCOPED_TRACE(label->objectName().toStdString());
        emit w.seeThrough()->pointerMoved(w.mapToGlobal(blankOf(label)));
        EXPECT_TRUE(w.isHighlighted(label));
        EXPECT_TRUE(w.visibleRegion().contains(dev(w, label->geometry())));
    }
}

TEST(ScreenReader, OpenMenusAndEveryToolbarButtonAreNamed) {
    InstallAccessibleMenus();
    Calendar c;
    show(c);
    frmMain &w = c.w();
    const auto names = [](QAccessibleInterface *iface) {
        QStringList found;
        std::function<void(QAccessibleInterface *)> walk = [&](QAccessibleInterface *node) {
            if (!node) return;
            found << node->text(QAccessible::Name);
            for (int i = 0; i < node->childCount(); ++i) walk(node->child(i));
        };
        walk(iface);
        return found;
    };
    QAccessibleInterface *root = QAccessible::queryAccessibleInterface(qApp);
    ASSERT_NE(root, nullptr);
    EXPECT_FALSE(names(root).contains(QString::fromUtf8("設定"))); // the menu's own caption; the toolbar says オプション
    // The calendar's menu and a day's, as the right button opens them.
    w.menu()->popup("Nomal", w.mapToGlobal(QPoint(20, 20)));
    ASSERT_TRUE(w.menu()->menu()->isVisible());
    QStringList open = names(root);
    for (const char *item : {"1年前", "1ヶ月前", "現在", "1ヵ月後", "1年後", "メモ一覧", "設定", "終了"})
        EXPECT_TRUE(open.contains(QString::fromUtf8(item))) << item;
    w.menu()->menu()->close();
    w.menu()->popup("Edit", w.mapToGlobal(QPoint(20, 20)), QDate(2026, 12, 7));
    open = names(root);
    for (const char *item : {"切り取り", "コピー", "貼り付け", "削除", "すべてクリア", "エクスポート"})
        EXPECT_TRUE(open.contains(QString::fromUtf8(item))) << item;
    w.menu()->menu()->close();
    EXPECT_FALSE(names(root).contains(QString::fromUtf8("切り取り")));

    // Every toolbar button has a name; the separators are separators.
    w.ApplyToolbarMode("ALL");
    for (int b = 1; b <= ToolbarButtonCount; ++b) {
        QAccessibleInterface *button = QAccessible::queryAccessibleInterface(w.tlbToolbar->button(b));
        ASSERT_NE(button, nullptr);
        if (ToolbarButtons()[size_t(b - 1)].separator())
            EXPECT_EQ(button->role(), QAccessible::Separator) << b;
        else
            EXPECT_FALSE(button->text(QAccessible::Name).isEmpty()) << b;
    }
}

TEST(SeeThrough, NoPerPixelMaskWhereTheWindowSystemIsNotX) {
    // Under Wayland (here the offscreen platform) a mask goes to the compositor as a list of rectangles, one per run
    // of pixels: millions for a calendar. Its alpha shows the desktop instead.
    Calendar c;
    show(c);
    c.w().seeThrough()->setComposited(false);
    c.w().seeThrough()->refresh();
    EXPECT_GT(c.w().visibleRegion().rectCount(), 100); // the shape is still worked out, for X
    EXPECT_TRUE(c.w().mask().isEmpty());
    c.w().seeThrough()->setComposited(true);
    EXPECT_TRUE(c.w().mask().isEmpty());
}

TEST(SeeThrough, TheTodayBoxHasFourWholeEdgesAtEveryScale) {
    Calendar c;
    show(c);
    frmMain &w = c.w();
    ASSERT_TRUE(w.shpToday->isVisible());
    const QColor red(Qt::red);
    w.shpToday->setColor(red);
    const QImage shot = w.grab().toImage().convertToFormat(QImage::Format_RGB32);
    // The box's device pixels, looked for around where the widget lies.
    const QRect around = dev(w, w.shpToday->geometry().adjusted(-2, -2, 2, 2)).intersected(shot.rect());
    QRect box;
    for (int y = around.top(); y <= around.bottom(); ++y)
        for (int x = around.left(); x <= around.right(); ++x)
            if (shot.pixelColor(x, y) == red) box |= QRect(x, y, 1, 1);
    ASSERT_FALSE(box.isEmpty());
    const auto edgeIsWhole = [&](bool column, int at) {
        const int from = column ? box.top() : box.left(), to = column ? box.bottom() : box.right();
        for (int i = from; i <= to; ++i)
            if (shot.pixelColor(column ? at : i, column ? i : at) != red) return false;
        return true;
    };
    EXPECT_TRUE(edgeIsWhole(true, box.left())) << "left";
    EXPECT_TRUE(edgeIsWhole(true, box.right())) << "right";
    EXPECT_TRUE(edgeIsWhole(false, box.top())) << "top";
    EXPECT_TRUE(edgeIsWhole(false, box.bottom())) << "bottom";
    // Edges as thick as each other: a right edge two device pixels wider than the left one was the doubled edge.
    int leftWidth = 0, rightWidth = 0;
    while (edgeIsWhole(true, box.left() + leftWidth)) ++leftWidth;
    while (edgeIsWhole(true, box.right() - rightWidth)) ++rightWidth;
    EXPECT_EQ(leftWidth, rightWidth);
    // As wide as the widget, within a device pixel on each side.
    const QRect widget = dev(w, w.shpToday->geometry());
    EXPECT_LE(std::abs(box.left() - widget.left()), 1);
    EXPECT_LE(std::abs(box.right() - widget.right()), 1);
}

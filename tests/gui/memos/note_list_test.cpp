#include "CalendarFixture.h"
#include "core/memos/MemoBook.h"
#include "gui/memos/frmNoteList.h"

#include <QAction>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The calendar on 2026-11-20 with the memo list opened through its command.
struct MemoList : Calendar {
    explicit MemoList(const std::function<void(Settings &)> &adjust = {}) : Calendar(QDate(2026, 11, 20), adjust) {
        EXPECT_EQ(app.ctx().memos().store(QDate(2026, 11, 3), "a\nb"), StoreResult::Stored);
        EXPECT_TRUE(app.ctx().commands.run(Command::MemoList));
        list = w().findChild<frmNoteList *>();
        EXPECT_NE(list, nullptr);
    }
    QString cell(int row, int column) { return list->flxNoteList->item(row, column)->text(); }
    void doubleClick(int row) {
        QTableWidget *grid = list->flxNoteList;
        const QPoint at = grid->visualItemRect(grid->item(row, 3)).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
    }
    void click(int row) {
        QTableWidget *grid = list->flxNoteList;
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(row, 2)).center());
    }
    frmNoteList *list = nullptr;
};

} // namespace

TEST(MemoList, EveryDayOfTheMonthWithItsMemo) {
    MemoList m;
    QTableWidget *grid = m.list->flxNoteList;
    ASSERT_EQ(grid->rowCount(), 30);
    EXPECT_EQ(m.list->windowTitle(), QString::fromUtf8("メモ一覧（2026年11月）"));
    EXPECT_EQ(m.cell(0, 1), "1");
    EXPECT_EQ(m.cell(29, 1), "30");
    EXPECT_EQ(m.cell(2, 2), QString::fromUtf8("11月3日 (火)"));
    EXPECT_EQ(m.cell(2, 3), "a\nb"); // a lone line feed
    EXPECT_EQ(m.cell(3, 3), "");
    EXPECT_TRUE(grid->isColumnHidden(0));

    MemoList english([](Settings &s) { s.Day_Format = QString::fromUtf8("英語"); });
    english.app.ctx().locale = QLocale(QLocale::English, QLocale::UnitedStates);
    english.list->FillMemoList();
    EXPECT_EQ(english.cell(24, 2), "Nov 25");
    EXPECT_EQ(english.list->windowTitle(), QString::fromUtf8("メモ一覧（Nov 2026）"));
}

TEST(MemoList, NavigationRefillsAndTheCalendarFollows) {
    MemoList m;
    m.list->action("AfterMonth")->trigger();
    EXPECT_EQ(m.list->flxNoteList->rowCount(), 31);
    EXPECT_EQ(m.list->windowTitle(), QString::fromUtf8("メモ一覧（2026年12月）"));
    EXPECT_EQ(m.w().lblTitle->text(), QString::fromUtf8("2026年12月"));
    m.list->action("BeforeYear")->trigger();
    EXPECT_EQ(m.list->windowTitle(), QString::fromUtf8("メモ一覧（2025年12月）"));
    m.list->action("Now")->trigger();
    EXPECT_EQ(m.list->windowTitle(), QString::fromUtf8("メモ一覧（2026年11月）"));
}

TEST(MemoList, EditingInPlace) {
    MemoList m;
    frmNoteList &list = *m.list;
    m.doubleClick(2);
    ASSERT_TRUE(list.isEditing());
    EXPECT_EQ(list.txtValue->toPlainText(), "a\nb");
    EXPECT_EQ(list.txtValue->textCursor().selectedText().size(), 3); // all of it selected
    QTest::keyClicks(list.txtValue, "new");
    m.click(10); // a click elsewhere stores
    EXPECT_FALSE(list.isEditing());
    EXPECT_EQ(m.app.ctx().memos().memo(QDate(2026, 11, 3)), "new");
    EXPECT_EQ(m.cell(2, 3), "new");
    EXPECT_TRUE(m.w().lblDay[size_t(m.cellOf(3))]->font().bold());

    // The last row's editor stands at the second-to-last row.
    QTableWidget *grid = list.flxNoteList;
    grid->scrollToBottom();
    m.doubleClick(29);
    ASSERT_TRUE(list.isEditing());
    const int secondToLast = grid->viewport()->mapTo(&list, QPoint(0, grid->rowViewportPosition(28))).y();
    EXPECT_EQ(list.txtValue->y(), secondToLast);
    list.txtValue->setPlainText(QString(513, QChar(0x3042))); // 1026 bytes
    EXPECT_FALSE(list.finishEditing());
    EXPECT_TRUE(list.isEditing());
    EXPECT_EQ(m.app.prompts.texts().back(),
              QString::fromUtf8("入力文字数（半角：1026）が制限（半角：1024桁）を超えています。"));

    // Navigating with the too-long edit open goes nowhere; once mended it is stored for its own day.
    list.action("AfterMonth")->trigger();
    EXPECT_EQ(list.windowTitle(), QString::fromUtf8("メモ一覧（2026年11月）"));
    list.txtValue->setPlainText("end of month");
    list.action("AfterMonth")->trigger();
    EXPECT_EQ(list.windowTitle(), QString::fromUtf8("メモ一覧（2026年12月）"));
    EXPECT_EQ(m.app.ctx().memos().memo(QDate(2026, 11, 30)), "end of month");
    EXPECT_EQ(m.app.ctx().memos().memo(QDate(2026, 12, 30)), "");
}

TEST(MemoList, CommandsOnARowReachTheListAndTheCalendar) {
    MemoList m;
    frmNoteList &list = *m.list;
    list.flxNoteList->setCurrentCell(2, 3);
    list.action("Cut")->trigger();
    list.flxNoteList->setCurrentCell(9, 3);
    list.action("Paste")->trigger();
    EXPECT_EQ(m.cell(2, 3), "");
    EXPECT_EQ(m.cell(9, 3), "a\nb");
    EXPECT_FALSE(m.w().lblDay[size_t(m.cellOf(3))]->font().bold());
    EXPECT_TRUE(m.w().lblDay[size_t(m.cellOf(10))]->font().bold());

    // A memo stored elsewhere shows in its row.
    ASSERT_EQ(m.app.ctx().memos().store(QDate(2026, 11, 15), QString::fromUtf8("外から")), StoreResult::Stored);
    EXPECT_EQ(m.cell(14, 3), QString::fromUtf8("外から"));

    list.flxNoteList->setCurrentCell(14, 3);
    list.action("Del")->trigger();
    EXPECT_EQ(m.cell(14, 3), "");
    m.app.prompts.queueAnswer(Prompts::Answer::Yes);
    list.action("Clear")->trigger();
    EXPECT_EQ(m.cell(9, 3), "");
    EXPECT_FALSE(m.app.ctx().memos().hasMemo(QDate(2026, 11, 10)));
}

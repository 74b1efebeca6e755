#include "DiskFull.h"
#include "TestApp.h"
#include "schedule/MemoCommands.h"
#include "schedule/MemoStore.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace {

// December 2026 with weeks starting on Sunday: the 1st is a Tuesday, in cell 2.
class MemoBoard {
public:
    MemoBoard() {
        ctx().settings.StartDay = "1";
        ctx().displayedMonth = QDate(2026, 12, 7);
    }
    AppContext &ctx() { return app.ctx(); }

    static int cell(int day) { return day + 1; }
    void select(int day) { ctx().selectedDayIndex = cell(day); }
    void store(const QDate &date, const char *text) {
        ASSERT_NE(StoreMemo(ctx(), date, QString::fromUtf8(text)), StoreResult::Failed);
    }
    QString memo(int day) { return ReadMemo(ctx(), QDate(2026, 12, day)); }

    TestApp app;
};

std::vector<MemoCellMark> Marks(std::initializer_list<std::pair<int, bool>> dayBold) {
    std::vector<MemoCellMark> marks;
    for (const auto &[day, bold] : dayBold) marks.push_back({MemoBoard::cell(day), bold});
    return marks;
}

} // namespace

TEST(MemoCommands, Paste) {
    struct Case {
        const char *name;
        std::function<MemoCommandResult(MemoBoard &)> run; // returns the last Paste's result
        std::map<int, const char *> memos;                 // December day -> memo afterwards ("" none)
        std::vector<MemoCellMark> cells;                   // of the last Paste
        bool canPaste;                                     // afterwards
    };
    const auto cut = [](MemoBoard &b, int day) { b.select(day), CutMemo(b.ctx()); };
    const auto copy = [](MemoBoard &b, int day) { b.select(day), CopyMemo(b.ctx()); };
    const auto paste = [](MemoBoard &b, int day) { return b.select(day), PasteMemo(b.ctx()); };
    const Case cases[] = {
        {"cut moves the memo and replaces the target's",
         [&](MemoBoard &b) { return cut(b, 5), paste(b, 12); },
         {{5, ""}, {12, "五日\r\n二行目"}},
         Marks({{12, true}, {5, false}}),
         false},
        {"copy pastes the source as it is at the time of pasting",
         [&](MemoBoard &b) { return copy(b, 3), b.store(QDate(2026, 12, 3), "後で直した"), paste(b, 20); },
         {{3, "後で直した"}, {20, "後で直した"}},
         Marks({{20, true}}),
         true},
        {"copying a day without memo removes the target's",
         [&](MemoBoard &b) { return copy(b, 7), paste(b, 12); },
         {{7, ""}, {12, ""}},
         Marks({{12, false}}),
         true},
        {"a copy pastes any number of times",
         [&](MemoBoard &b) { return copy(b, 5), paste(b, 12), paste(b, 20); },
         {{5, "五日\r\n二行目"}, {12, "五日\r\n二行目"}, {20, "五日\r\n二行目"}},
         Marks({{20, true}}),
         true},
        {"nothing to paste before any cut or copy",
         [&](MemoBoard &b) { return paste(b, 12); },
         {{12, "十二日"}},
         {},
         false},
        {"a cut pastes once: the second paste keeps the target's memo",
         [&](MemoBoard &b) { return cut(b, 5), paste(b, 20), paste(b, 12); },
         {{5, ""}, {12, "十二日"}, {20, "五日\r\n二行目"}},
         {},
         false},
        {"a cut pasted onto its own day stays where it is and can still be moved",
         [&](MemoBoard &b) {
             cut(b, 5);
             const MemoCommandResult onItself = paste(b, 5);
             EXPECT_FALSE(onItself.changed());
             EXPECT_EQ(b.memo(5), QString::fromUtf8("五日\r\n二行目"));
             return paste(b, 20);
         },
         {{5, ""}, {20, "五日\r\n二行目"}},
         Marks({{20, true}, {5, false}}),
         false},
        {"cut or copy on a blank cell keeps the clipboard",
         [&](MemoBoard &b) {
             copy(b, 5);
             b.ctx().selectedDayIndex = 0;
             CutMemo(b.ctx());
             return paste(b, 12);
         },
         {{5, "五日\r\n二行目"}, {12, "五日\r\n二行目"}},
         Marks({{12, true}}),
         true},
        {"paste on a blank cell does nothing",
         [&](MemoBoard &b) {
             cut(b, 5);
             b.ctx().selectedDayIndex = 40;
             return PasteMemo(b.ctx());
         },
         {{5, "五日\r\n二行目"}},
         {},
         true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        MemoBoard b;
        b.store(QDate(2026, 12, 5), "五日\n二行目");
        b.store(QDate(2026, 12, 12), "十二日");
        const MemoCommandResult result = c.run(b);
        for (const auto &[day, text] : c.memos) EXPECT_EQ(b.memo(day), QString::fromUtf8(text)) << day;
        EXPECT_EQ(result.cells, c.cells);
        EXPECT_EQ(CanPaste(b.ctx()), c.canPaste);
    }
}

TEST(MemoCommands, CutInOneMonthAndPasteInAnother) {
    MemoBoard b;
    b.store(QDate(2026, 11, 5), "霜月");
    b.store(QDate(2026, 12, 5), "師走");
    b.ctx().displayedMonth = QDate(2026, 11, 1); // the 1st is a Sunday, in cell 0
    b.ctx().selectedDayIndex = 4;
    CutMemo(b.ctx());
    b.ctx().displayedMonth = QDate(2026, 12, 1);
    b.select(12);
    const MemoCommandResult result = PasteMemo(b.ctx());

    EXPECT_EQ(ReadMemo(b.ctx(), QDate(2026, 11, 5)), QString());
    EXPECT_EQ(b.memo(12), QString::fromUtf8("霜月"));
    EXPECT_EQ(b.memo(5), QString::fromUtf8("師走"));
    EXPECT_EQ(result.cells, Marks({{12, true}})); // cell 4 of December is not the cut day
    EXPECT_EQ(result.days, (std::vector<QDate>{QDate(2026, 12, 12), QDate(2026, 11, 5)}));
    EXPECT_EQ(b.app.bytes("Tsukiban.tdb"), Sjis("[PROGRAM]\r\n2026/12/05=師走\r\n2026/12/12=霜月\r\n"));
}

TEST(MemoCommands, MemoListCells) {
    MemoBoard b;
    b.store(QDate(2026, 12, 5), "a\nb");
    b.ctx().currentListRow = 5;
    b.select(5);
    CutMemo(b.ctx());
    b.ctx().currentListRow = 12;
    b.select(12);
    EXPECT_EQ(PasteMemo(b.ctx()).listRows, (std::vector<MemoListText>{{12, "a\nb"}, {5, ""}}));

    // A cut from the calendar forgets the list row of an earlier cut, so Paste from the list empties no other row.
    b.ctx().currentListRow = 12;
    CopyMemo(b.ctx());
    b.ctx().currentListRow = -1;
    CutMemo(b.ctx());
    b.ctx().currentListRow = 20;
    b.select(20);
    EXPECT_EQ(PasteMemo(b.ctx()).listRows, (std::vector<MemoListText>{{20, "a\nb"}}));

    b.ctx().currentListRow = 20;
    const MemoCommandResult deleted = DeleteMemo(b.ctx());
    EXPECT_EQ(deleted.listRows, (std::vector<MemoListText>{{20, ""}}));
    EXPECT_EQ(deleted.cells, Marks({{20, false}}));
    EXPECT_EQ(b.memo(20), QString());
}

TEST(MemoCommands, DeleteRemovesOnlyTheSelectedDay) {
    MemoBoard b;
    b.store(QDate(2026, 12, 5), "五日");
    b.store(QDate(2026, 12, 12), "十二日");
    b.select(12);
    const MemoCommandResult result = DeleteMemo(b.ctx());
    EXPECT_EQ(result.cells, Marks({{12, false}}));
    EXPECT_TRUE(result.listRows.empty());
    EXPECT_EQ(b.app.bytes("Tsukiban.tdb"), Sjis("[PROGRAM]\r\n2026/12/05=五日\r\n"));
    EXPECT_TRUE(b.app.prompts.shown().empty()); // no confirmation

    b.ctx().selectedDayIndex = 0; // blank cell
    EXPECT_FALSE(DeleteMemo(b.ctx()).changed());
}

TEST(MemoCommands, FailedWritesChangeNothingAndAreReportedOnce) {
    MemoBoard b;
    b.store(QDate(2026, 12, 5), "五日");
    b.store(QDate(2026, 12, 12), "十二日");
    const QByteArray before = b.app.bytes("Tsukiban.tdb");
    b.select(5);
    CutMemo(b.ctx());
    b.app.prompts.queueAnswer(Prompts::Answer::Yes);

    MemoCommandResult pasted, deleted, cleared;
    bool canPaste = false;
    {
        const DiskFull full(8);
        ASSERT_TRUE(full.active());
        b.select(12);
        pasted = PasteMemo(b.ctx());
        canPaste = CanPaste(b.ctx());
        deleted = DeleteMemo(b.ctx());
        cleared = ClearMonthMemos(b.ctx());
    }
    EXPECT_FALSE(pasted.changed());
    EXPECT_TRUE(pasted.cells.empty());
    EXPECT_TRUE(canPaste); // the cut is still there to retry
    EXPECT_FALSE(deleted.changed());
    EXPECT_TRUE(deleted.cells.empty());
    EXPECT_FALSE(cleared.changed());
    EXPECT_TRUE(cleared.cells.empty());
    EXPECT_EQ(b.app.bytes("Tsukiban.tdb"), before);
    EXPECT_EQ(b.app.prompts.shown().size(), 4u); // the question and one report per failed write
}

TEST(MemoCommands, ClearAsksAndRemovesTheDisplayedMonthOnly) {
    MemoBoard b;
    b.store(QDate(2026, 11, 30), "十一月");
    b.store(QDate(2026, 12, 1), "一日");
    b.store(QDate(2026, 12, 31), "大晦日");
    b.store(QDate(2027, 1, 1), "元日");
    ASSERT_TRUE(b.ctx().WriteData("OFFDAY", QString("2026/12/28"), QString("1")));
    const QByteArray before = b.app.bytes("Tsukiban.tdb");
    const QString question = QString::fromUtf8("2026/12の予定をすべてクリアします。よろしいですか？");

    b.app.prompts.queueAnswer(Prompts::Answer::No);
    EXPECT_FALSE(ClearMonthMemos(b.ctx()).changed());
    EXPECT_EQ(b.app.bytes("Tsukiban.tdb"), before);
    ASSERT_EQ(b.app.prompts.shown().size(), 1u);
    EXPECT_EQ(b.app.prompts.shown()[0].kind, "question");
    EXPECT_EQ(b.app.prompts.shown()[0].text, question);

    b.app.prompts.queueAnswer(Prompts::Answer::Yes);
    const MemoCommandResult result = ClearMonthMemos(b.ctx());
    EXPECT_EQ(b.app.bytes("Tsukiban.tdb"),
              Sjis("[PROGRAM]\r\n2026/11/30=十一月\r\n2027/01/01=元日\r\n[OFFDAY]\r\n2026/12/28=1\r\n"));
    ASSERT_EQ(result.cells.size(), 31u); // every day of December, none of the blank cells
    for (int day = 1; day <= 31; ++day)
        EXPECT_EQ(result.cells[size_t(day - 1)], (MemoCellMark{MemoBoard::cell(day), false}));
    EXPECT_FALSE(result.clearList);
    EXPECT_EQ(b.app.prompts.texts(), (QStringList{question, question}));

    b.ctx().currentListRow = 3;
    b.app.prompts.queueAnswer(Prompts::Answer::Yes);
    EXPECT_TRUE(ClearMonthMemos(b.ctx()).clearList);
}

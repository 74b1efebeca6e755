#include "DiskFull.h"
#include "TestApp.h"
#include "core/memos/MemoBook.h"
#include "core/program/MemoCommands.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace {

QDate December(int day) {
    return QDate(2026, 12, day);
}

// A data file with memos on the 5th and the 12th of December 2026, and the days the memo book told of.
class MemoBoard {
public:
    MemoBoard() {
        store(December(5), "五日\n二行目");
        store(December(12), "十二日");
        QObject::connect(&ctx().memos(), &MemoBook::memoChanged, [this](const QDate &date) { told.push_back(date); });
    }
    AppContext &ctx() { return app.ctx(); }
    void store(const QDate &date, const char *text) {
        ASSERT_NE(ctx().memos().store(date, QString::fromUtf8(text)), StoreResult::Failed);
    }
    QString memo(int day) { return ctx().memos().memo(December(day)); }

    TestApp app;
    std::vector<QDate> told;
};

} // namespace

TEST(MemoCommands, Paste) {
    struct Case {
        const char *name;
        std::function<bool(MemoBoard &)> run; // returns the last Paste's result
        std::map<int, const char *> memos;    // December day -> memo afterwards ("" none)
        bool changed;                         // the last Paste
        bool canPaste;                        // afterwards
    };
    const auto cut = [](MemoBoard &b, int day) { CutMemo(b.ctx().clipboard, December(day)); };
    const auto copy = [](MemoBoard &b, int day) { CopyMemo(b.ctx().clipboard, December(day)); };
    const auto paste = [](MemoBoard &b, int day) { return PasteMemo(b.ctx().clipboard, b.ctx().memos(), December(day)); };
    const Case cases[] = {
        {"cut moves the memo and replaces the target's",
         [&](MemoBoard &b) { return cut(b, 5), paste(b, 12); },
         {{5, ""}, {12, "五日\r\n二行目"}},
         true,
         false},
        {"copy pastes the source as it is at the time of pasting",
         [&](MemoBoard &b) { return copy(b, 3), b.store(December(3), "後で直した"), paste(b, 20); },
         {{3, "後で直した"}, {20, "後で直した"}},
         true,
         true},
        {"copying a day without memo removes the target's",
         [&](MemoBoard &b) { return copy(b, 7), paste(b, 12); },
         {{7, ""}, {12, ""}},
         true,
         true},
        {"a copy pastes any number of times",
         [&](MemoBoard &b) { return copy(b, 5), paste(b, 12), paste(b, 20); },
         {{5, "五日\r\n二行目"}, {12, "五日\r\n二行目"}, {20, "五日\r\n二行目"}},
         true,
         true},
        {"nothing to paste before any cut or copy",
         [&](MemoBoard &b) { return paste(b, 12); },
         {{12, "十二日"}},
         false,
         false},
        {"a cut pastes once: the second paste keeps the target's memo",
         [&](MemoBoard &b) { return cut(b, 5), paste(b, 20), paste(b, 12); },
         {{5, ""}, {12, "十二日"}, {20, "五日\r\n二行目"}},
         false,
         false},
        {"a cut pasted onto its own day stays where it is and can still be moved",
         [&](MemoBoard &b) {
             cut(b, 5);
             EXPECT_FALSE(paste(b, 5));
             EXPECT_EQ(b.memo(5), QString::fromUtf8("五日\r\n二行目"));
             return paste(b, 20);
         },
         {{5, ""}, {20, "五日\r\n二行目"}},
         true,
         false},
        {"cut or copy of no day keeps the clipboard",
         [&](MemoBoard &b) {
             copy(b, 5);
             CutMemo(b.ctx().clipboard, QDate());
             return paste(b, 12);
         },
         {{5, "五日\r\n二行目"}, {12, "五日\r\n二行目"}},
         true,
         true},
        {"paste on no day does nothing",
         [&](MemoBoard &b) {
             cut(b, 5);
             return PasteMemo(b.ctx().clipboard, b.ctx().memos(), QDate());
         },
         {{5, "五日\r\n二行目"}},
         false,
         true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        MemoBoard b;
        EXPECT_EQ(c.run(b), c.changed);
        for (const auto &[day, text] : c.memos) EXPECT_EQ(b.memo(day), QString::fromUtf8(text)) << day;
        EXPECT_EQ(CanPaste(b.ctx().clipboard), c.canPaste);
    }
}

TEST(MemoCommands, CutInOneMonthAndPasteInAnother) {
    MemoBoard b;
    b.store(QDate(2026, 11, 5), "霜月");
    b.told.clear();
    CutMemo(b.ctx().clipboard, QDate(2026, 11, 5));
    ASSERT_TRUE(PasteMemo(b.ctx().clipboard, b.ctx().memos(), December(12)));

    EXPECT_EQ(b.ctx().memos().memo(QDate(2026, 11, 5)), QString());
    EXPECT_EQ(b.memo(12), QString::fromUtf8("霜月"));
    EXPECT_EQ(b.memo(5), QString::fromUtf8("五日\r\n二行目"));
    EXPECT_EQ(b.told, (std::vector<QDate>{December(12), QDate(2026, 11, 5)}));
    EXPECT_EQ(b.app.bytes("Tsukiban.tdb"), Sjis("[PROGRAM]\r\n2026/12/05=五日\\CRLF\\二行目\r\n2026/12/12=霜月\r\n"));
}

TEST(MemoCommands, DeleteRemovesOnlyTheGivenDay) {
    MemoBoard b;
    b.told.clear();
    EXPECT_TRUE(DeleteMemo(b.ctx().memos(), December(12)));
    EXPECT_EQ(b.told, std::vector<QDate>{December(12)});
    EXPECT_EQ(b.app.bytes("Tsukiban.tdb"), Sjis("[PROGRAM]\r\n2026/12/05=五日\\CRLF\\二行目\r\n"));
    EXPECT_TRUE(b.app.prompts.shown().empty()); // no confirmation

    EXPECT_FALSE(DeleteMemo(b.ctx().memos(), QDate())); // a blank cell
}

TEST(MemoCommands, FailedWritesChangeNothingAndAreReportedOnce) {
    MemoBoard b;
    const QByteArray before = b.app.bytes("Tsukiban.tdb");
    b.told.clear();
    CutMemo(b.ctx().clipboard, December(5));
    b.app.prompts.queueAnswer(Prompts::Answer::Yes);

    bool pasted = true, deleted = true, cleared = true, canPaste = false;
    {
        const DiskFull full(8);
        ASSERT_TRUE(full.active());
        pasted = PasteMemo(b.ctx().clipboard, b.ctx().memos(), December(12));
        canPaste = CanPaste(b.ctx().clipboard);
        deleted = DeleteMemo(b.ctx().memos(), December(12));
        cleared = ClearMonthMemos(b.ctx().memos(), b.ctx().prompts(), December(1));
    }
    EXPECT_FALSE(pasted);
    EXPECT_TRUE(canPaste); // the cut is still there to retry
    EXPECT_FALSE(deleted);
    EXPECT_FALSE(cleared);
    EXPECT_TRUE(b.told.empty());
    EXPECT_EQ(b.app.bytes("Tsukiban.tdb"), before);
    EXPECT_EQ(b.app.prompts.shown().size(), 4u); // the question and one report per failed write
}

TEST(MemoCommands, ClearAsksAndRemovesTheGivenMonthOnly) {
    MemoBoard b;
    b.store(QDate(2026, 11, 30), "十一月");
    b.store(December(1), "一日");
    b.store(December(31), "大晦日");
    b.store(QDate(2027, 1, 1), "元日");
    ASSERT_TRUE(b.ctx().memos().setDayLists({"2026/12/28"}, {}));
    const QByteArray before = b.app.bytes("Tsukiban.tdb");
    const QString question = QString::fromUtf8("2026/12の予定をすべてクリアします。よろしいですか？");
    b.told.clear();

    b.app.prompts.queueAnswer(Prompts::Answer::No);
    EXPECT_FALSE(ClearMonthMemos(b.ctx().memos(), b.ctx().prompts(), December(17)));
    EXPECT_EQ(b.app.bytes("Tsukiban.tdb"), before);
    ASSERT_EQ(b.app.prompts.shown().size(), 1u);
    EXPECT_EQ(b.app.prompts.shown()[0].kind, "question");
    EXPECT_EQ(b.app.prompts.shown()[0].text, question);

    b.app.prompts.queueAnswer(Prompts::Answer::Yes);
    EXPECT_TRUE(ClearMonthMemos(b.ctx().memos(), b.ctx().prompts(), December(17)));
    EXPECT_EQ(b.app.bytes("Tsukiban.tdb"),
              Sjis("[PROGRAM]\r\n2026/11/30=十一月\r\n2027/01/01=元日\r\n[OFFDAY]\r\n2026/12/28=1\r\n"));
    // Only the days that had a memo are told, each once.
    EXPECT_EQ(b.told, (std::vector<QDate>{December(1), December(5), December(12), December(31)}));
    EXPECT_EQ(b.app.prompts.texts(), (QStringList{question, question}));
}

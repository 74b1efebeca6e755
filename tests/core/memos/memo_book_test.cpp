#include "DiskFull.h"
#include "TestApp.h"
#include "core/memos/MemoBook.h"

#include <QDir>

#include <gtest/gtest.h>

#include <functional>

TEST(MemoBook, DayKeysAreTenCharacters) {
    EXPECT_EQ(DayKey(QDate(2007, 3, 1)), "2007/03/01");
    EXPECT_EQ(DayKey(QDate(2006, 11, 25)), "2006/11/25");
}

TEST(MemoBook, StoresEveryKindOfLineBreakAsCrlfMarks) {
    const std::pair<const char *, const char *> cases[] = {
        {"a\r\nb", "a\\CRLF\\b"},       {"a\nb", "a\\CRLF\\b"},     {"a\rb", "a\\CRLF\\b"},
        {"a\u2029b", "a\\CRLF\\b"},     {"a\u2028b", "a\\CRLF\\b"}, {"a\r\n\r\nb\n", "a\\CRLF\\\\CRLF\\b\\CRLF\\"},
        {"a\vb\fc\u0085d", "a\\CRLF\\b\\CRLF\\c\\CRLF\\d"},
        {"x=\"y\" \\z", "x=\"y\" \\z"}, // nothing else is escaped
    };
    for (const auto &[text, stored] : cases) {
        TestApp app;
        ASSERT_EQ(app.ctx().memos().store(QDate(2006, 11, 25), QString::fromUtf8(text)), StoreResult::Stored) << stored;
        EXPECT_TRUE(app.bytes("Tsukiban.tdb").contains(QByteArray("2006/11/25=") + stored + "\r\n")) << stored;
    }
    TestApp app;
    ASSERT_EQ(app.ctx().memos().store(QDate(2006, 11, 25), QString::fromUtf8("会議\n資料")), StoreResult::Stored);
    EXPECT_EQ(app.bytes("Tsukiban.tdb"), Sjis("[PROGRAM]\r\n2006/11/25=会議\\CRLF\\資料\r\n"));
    EXPECT_EQ(app.ctx().memos().memo(QDate(2006, 11, 25)), QString::fromUtf8("会議\r\n資料"));
    EXPECT_EQ(app.ctx().memos().memo(QDate(2006, 11, 25), "\n"), QString::fromUtf8("会議\n資料"));
    EXPECT_EQ(app.ctx().memos().memo(QDate(2006, 11, 26)), QString());
}

TEST(MemoBook, BlankMemosRemoveTheKey) {
    const std::pair<const char *, StoreResult> cases[] = {
        {"", StoreResult::Removed},      {"   ", StoreResult::Removed},
        {"\n", StoreResult::Stored},     // line breaks only are not blank
        {"\t", StoreResult::Stored},     // only spaces count as blank
        {"\u3000", StoreResult::Stored}, // a full-width space is text
    };
    for (const auto &[text, result] : cases) {
        TestApp app;
        ASSERT_EQ(app.ctx().memos().store(QDate(2026, 12, 7), "old"), StoreResult::Stored);
        EXPECT_EQ(app.ctx().memos().store(QDate(2026, 12, 7), QString::fromUtf8(text)), result) << text;
        EXPECT_EQ(app.ctx().dataFile().value("PROGRAM", "2026/12/07").has_value(), result == StoreResult::Stored)
            << text;
    }
}

TEST(MemoBook, CountsTheInputLimitInCodePage932Bytes) {
    const std::pair<QString, int> cases[] = {
        {QString(1024, 'a'), 1024},          {QString(1025, 'a'), 1025},
        {QString(512, QChar(0x3042)), 1024},                       // あ is two bytes
        {QString(513, QChar(0x3042)), 1026}, {QString("a\nb"), 4}, // a line break counts 2, whatever form it comes in
        {QString("a\u2029b\rc"), 7},         {QString::fromUtf8("ｱｲｳ"), 3}, // half-width katakana one byte each
    };
    for (const auto &[text, bytes] : cases) EXPECT_EQ(MemoByteCount(text), bytes) << text.left(20).toStdString();
}

TEST(MemoBook, AFailedWriteSaysSo) {
    TestApp app;
    ASSERT_TRUE(QDir(app.folder()).mkdir("Tsukiban.tdb"));
    EXPECT_EQ(app.ctx().memos().store(QDate(2026, 12, 7), "memo"), StoreResult::Failed);
    EXPECT_EQ(app.prompts.texts(),
              QStringList({QString::fromUtf8("ファイルを読み込めませんでした。\r\n") + app.path("Tsukiban.tdb"),
                           QString::fromUtf8("ファイルを保存できませんでした。\r\n") + app.path("Tsukiban.tdb")}));
}

TEST(MemoBook, AMemoComesBackExactlyAsTypedAfterARestart) {
    const std::pair<const char *, const char *> cases[] = {
        {"  \"引用\" ¥100  ", "  \"引用\" ￥100  "},
        {"¥CRLF¥ is no line break", "￥CRLF￥ is no line break"},
        {"C:\\temp\\CRLF\\", "C:\\temp\r\n"}, // a typed "\CRLF\" is a line break, as it always was
        {"\"quoted\"\n  second line  ", "\"quoted\"\r\n  second line  "},
        {"'x'", "'x'"},
    };
    for (const auto &[typed, back] : cases) {
        SCOPED_TRACE(typed);
        TestApp app;
        ASSERT_EQ(app.ctx().memos().store(QDate(2026, 12, 8), QString::fromUtf8(typed)), StoreResult::Stored);
        EXPECT_EQ(app.ctx().memos().memo(QDate(2026, 12, 8)), QString::fromUtf8(back));
        EXPECT_EQ(app.restart().memos().memo(QDate(2026, 12, 8)), QString::fromUtf8(back));
    }
}

TEST(MemoBook, TextTheFileCannotHoldIsRefusedAndTheOldMemoStays) {
    TestApp app;
    ASSERT_EQ(app.ctx().memos().store(QDate(2026, 12, 8), "old"), StoreResult::Stored);
    EXPECT_EQ(app.ctx().memos().store(QDate(2026, 12, 8), QString::fromUtf8("Café – Über")), StoreResult::Failed);
    EXPECT_EQ(app.prompts.texts(), QStringList{QString::fromUtf8("保存できない文字が含まれています。\r\né–Ü")});
    EXPECT_EQ(app.restart().memos().memo(QDate(2026, 12, 8)), "old");
}

TEST(MemoBook, TypedMemosHaveTheInputLimitImportedOnesNone) {
    const QString atLimit(512, QChar(0x3042)), over = atLimit + "a";
    const struct {
        QString text;
        MemoBook::Limit limit;
        StoreResult result;
    } cases[] = {
        {atLimit, MemoBook::Limit::Input, StoreResult::Stored},
        {over, MemoBook::Limit::Input, StoreResult::Failed},
        {over, MemoBook::Limit::None, StoreResult::Stored},
        {QString(3000, 'x'), MemoBook::Limit::None, StoreResult::Stored},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text.size());
        TestApp app;
        ASSERT_EQ(app.ctx().memos().store(QDate(2026, 12, 8), "old"), StoreResult::Stored);
        EXPECT_EQ(app.ctx().memos().store(QDate(2026, 12, 8), c.text, c.limit), c.result);
        if (c.result == StoreResult::Failed) {
            EXPECT_EQ(app.prompts.texts(),
                      QStringList{QString::fromUtf8("入力文字数（半角：1025）が制限（半角：1024桁）を超えています。")});
            EXPECT_EQ(app.restart().memos().memo(QDate(2026, 12, 8)), "old");
        } else {
            EXPECT_TRUE(app.prompts.texts().isEmpty());
            EXPECT_EQ(app.restart().memos().memo(QDate(2026, 12, 8)), c.text);
        }
    }
}

TEST(MemoBook, TellsWhichDaysChangedAndOnlyAfterTheyAreWritten) {
    const QDate fifth(2026, 12, 5), twelfth(2026, 12, 12), twentieth(2026, 12, 20);
    const struct {
        const char *name;
        std::function<bool(MemoBook &)> run;
        std::vector<QDate> told;
    } cases[] = {
        {"store", [&](MemoBook &b) { return b.store(twentieth, "x") == StoreResult::Stored; }, {twentieth}},
        {"store blank", [&](MemoBook &b) { return b.store(fifth, " ") == StoreResult::Removed; }, {fifth}},
        {"remove", [&](MemoBook &b) { return b.remove(fifth); }, {fifth}},
        {"paste a copy", [&](MemoBook &b) { return b.paste(fifth, twentieth, false); }, {twentieth}},
        {"paste a cut", [&](MemoBook &b) { return b.paste(fifth, twelfth, true); }, {twelfth, fifth}},
        {"a cut onto its own day", [&](MemoBook &b) { return b.paste(fifth, fifth, true); }, {}},
        {"remove all",
         [&](MemoBook &b) {
             return b.removeAll({fifth, twelfth});
         },
         {fifth, twelfth}},
        {"refused text",
         [&](MemoBook &b) { return b.store(fifth, QString::fromUtf8("☃")) != StoreResult::Failed; },
         {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TestApp app;
        MemoBook &book = app.ctx().memos();
        ASSERT_EQ(book.store(fifth, "五日"), StoreResult::Stored);
        ASSERT_EQ(book.store(twelfth, "十二日"), StoreResult::Stored);
        std::vector<QDate> told;
        QObject::connect(&book, &MemoBook::memoChanged, [&](const QDate &date) {
            told.push_back(date);
            const AppContext fresh(ProgramPaths::forFolder(app.folder()), app.prompts, app.clock);
            EXPECT_EQ(fresh.memos().memo(date), book.memo(date)); // already on disk when heard
        });
        EXPECT_EQ(c.run(book), !c.told.empty());
        EXPECT_EQ(told, c.told);
    }

    // A failed write tells nobody.
    TestApp app;
    ASSERT_EQ(app.ctx().memos().store(fifth, "五日"), StoreResult::Stored);
    int told = 0;
    QObject::connect(&app.ctx().memos(), &MemoBook::memoChanged, [&] { ++told; });
    QObject::connect(&app.ctx().memos(), &MemoBook::dayListsChanged, [&] { ++told; });
    {
        const DiskFull full;
        ASSERT_TRUE(full.active());
        EXPECT_FALSE(app.ctx().memos().remove(fifth));
        EXPECT_FALSE(app.ctx().memos().paste(fifth, twelfth, true));
        EXPECT_FALSE(app.ctx().memos().setDayLists({"2026/12/07"}, {}));
    }
    EXPECT_EQ(told, 0);
    EXPECT_EQ(app.ctx().memos().memo(fifth), QString::fromUtf8("五日"));
}

TEST(MemoBook, DayListsRoundTripWhole) {
    TestApp app;
    MemoBook &book = app.ctx().memos();
    int told = 0;
    QObject::connect(&book, &MemoBook::dayListsChanged, [&] { ++told; });
    QStringList offDays, workingDays;
    for (int i = 0; i < 400; ++i) offDays << DayKey(QDate(2020, 1, 1).addDays(i)); // more than any buffer held
    workingDays << "2026/12/05"
                << "not a date";
    ASSERT_TRUE(book.setDayLists(offDays, workingDays));
    EXPECT_EQ(told, 1);
    EXPECT_EQ(book.offDays(), offDays);
    EXPECT_EQ(book.workingDays(), workingDays);
    EXPECT_EQ(app.ctx().ReadData("WEEKDAY", "2026/12/05"), "2");
    EXPECT_EQ(app.ctx().ReadData("OFFDAY", "2020/01/01"), "1");
    EXPECT_TRUE(book.marks(QDate(2020, 1, 1)).extraOff);
    EXPECT_TRUE(book.marks(QDate(2026, 12, 5)).extraWorking);

    ASSERT_TRUE(book.setDayLists({}, {}));
    EXPECT_FALSE(app.ctx().dataFile().hasSection("OFFDAY"));
    EXPECT_FALSE(app.ctx().dataFile().hasSection("WEEKDAY"));
    EXPECT_EQ(told, 2);
}

TEST(MemoBook, AHandWrittenSecondSectionSurvivesASave) {
    TestApp app;
    MemoBook &book = app.ctx().memos();
    // A list of 400 dates as the program writes it, and a second [OFFDAY] section added by hand further down.
    QByteArray file = "[OFFDAY]\r\n";
    QStringList offDays;
    for (int i = 0; i < 400; ++i) {
        offDays << DayKey(QDate(2020, 1, 1).addDays(i));
        file += offDays.back().toLatin1() + "=1\r\n";
    }
    file += "[WEEKDAY]\r\n2026/12/05=2\r\n[OFFDAY]\r\n; added by hand\r\n2027/01/04=1\r\n2027/01/05=1\r\n";
    app.writeBytes("Tsukiban.tdb", file);

    // The lists are saved as read: the first section goes and its entries join the one that counts now.
    ASSERT_TRUE(book.setDayLists(book.offDays(), book.workingDays()));
    const QStringList after = book.offDays();
    EXPECT_EQ(after.size(), 402);
    for (const QString &key : offDays + QStringList{"2027/01/04", "2027/01/05"})
        EXPECT_TRUE(after.contains(key)) << key.toStdString();
    EXPECT_TRUE(app.bytes("Tsukiban.tdb").contains("; added by hand\r\n"));
    EXPECT_EQ(book.workingDays(), QStringList{"2026/12/05"});
}

#include "TestApp.h"
#include "schedule/MemoStore.h"

#include <QDir>

#include <gtest/gtest.h>

TEST(MemoStore, DayKeysAreTenCharacters) {
    EXPECT_EQ(DayKey(QDate(2007, 3, 1)), "2007/03/01");
    EXPECT_EQ(DayKey(QDate(2006, 11, 25)), "2006/11/25");
}

TEST(MemoStore, StoresEveryKindOfLineBreakAsCrlfMarks) {
    const std::pair<const char *, const char *> cases[] = {
        {"a\r\nb", "a\\CRLF\\b"},       {"a\nb", "a\\CRLF\\b"},     {"a\rb", "a\\CRLF\\b"},
        {"a\u2029b", "a\\CRLF\\b"},     {"a\u2028b", "a\\CRLF\\b"}, {"a\r\n\r\nb\n", "a\\CRLF\\\\CRLF\\b\\CRLF\\"},
        {"x=\"y\" \\z", "x=\"y\" \\z"}, // nothing else is escaped
    };
    for (const auto &[text, stored] : cases) {
        TestApp app;
        ASSERT_EQ(StoreMemo(app.ctx(), QDate(2006, 11, 25), QString::fromUtf8(text)), StoreResult::Stored) << stored;
        EXPECT_TRUE(app.bytes("Tsukiban.tdb").contains(QByteArray("2006/11/25=") + stored + "\r\n")) << stored;
    }
    TestApp app;
    ASSERT_EQ(StoreMemo(app.ctx(), QDate(2006, 11, 25), QString::fromUtf8("会議\n資料")), StoreResult::Stored);
    EXPECT_EQ(app.bytes("Tsukiban.tdb"), Sjis("[PROGRAM]\r\n2006/11/25=会議\\CRLF\\資料\r\n"));
    EXPECT_EQ(ReadMemo(app.ctx(), QDate(2006, 11, 25)), QString::fromUtf8("会議\r\n資料"));
    EXPECT_EQ(ReadMemo(app.ctx(), QDate(2006, 11, 25), "\n"), QString::fromUtf8("会議\n資料"));
    EXPECT_EQ(ReadMemo(app.ctx(), QDate(2006, 11, 26)), QString());
}

TEST(MemoStore, BlankMemosRemoveTheKey) {
    const std::pair<const char *, StoreResult> cases[] = {
        {"", StoreResult::Removed},      {"   ", StoreResult::Removed},
        {"\n", StoreResult::Stored},     // line breaks only are not blank
        {"\t", StoreResult::Stored},     // only spaces count as blank
        {"\u3000", StoreResult::Stored}, // a full-width space is text
    };
    for (const auto &[text, result] : cases) {
        TestApp app;
        ASSERT_EQ(StoreMemo(app.ctx(), QDate(2026, 12, 7), "old"), StoreResult::Stored);
        EXPECT_EQ(StoreMemo(app.ctx(), QDate(2026, 12, 7), QString::fromUtf8(text)), result) << text;
        EXPECT_EQ(app.ctx().dataFile().value("PROGRAM", "2026/12/07").has_value(), result == StoreResult::Stored)
            << text;
    }
}

TEST(MemoStore, CountsTheInputLimitInCodePage932Bytes) {
    const std::pair<QString, int> cases[] = {
        {QString(1024, 'a'), 1024},          {QString(1025, 'a'), 1025},
        {QString(512, QChar(0x3042)), 1024},                       // あ is two bytes
        {QString(513, QChar(0x3042)), 1026}, {QString("a\nb"), 4}, // a line break counts 2, whatever form it comes in
        {QString("a\u2029b\rc"), 7},         {QString::fromUtf8("ｱｲｳ"), 3}, // half-width katakana one byte each
    };
    for (const auto &[text, bytes] : cases) EXPECT_EQ(MemoByteCount(text), bytes) << text.left(20).toStdString();
}

TEST(MemoStore, AFailedWriteSaysSo) {
    TestApp app;
    ASSERT_TRUE(QDir(app.folder()).mkdir("Tsukiban.tdb"));
    EXPECT_EQ(StoreMemo(app.ctx(), QDate(2026, 12, 7), "memo"), StoreResult::Failed);
    EXPECT_EQ(app.prompts.texts(),
              QStringList({QString::fromUtf8("ファイルを読み込めませんでした。\r\n") + app.path("Tsukiban.tdb"),
                           QString::fromUtf8("ファイルを保存できませんでした。\r\n") + app.path("Tsukiban.tdb")}));
}

TEST(MemoStore, AMemoComesBackExactlyAsTypedAfterARestart) {
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
        ASSERT_EQ(StoreMemo(app.ctx(), QDate(2026, 12, 8), QString::fromUtf8(typed)), StoreResult::Stored);
        EXPECT_EQ(ReadMemo(app.ctx(), QDate(2026, 12, 8)), QString::fromUtf8(back));
        EXPECT_EQ(ReadMemo(app.restart(), QDate(2026, 12, 8)), QString::fromUtf8(back));
    }
}

TEST(MemoStore, TextTheFileCannotHoldIsRefusedAndTheOldMemoStays) {
    TestApp app;
    ASSERT_EQ(StoreMemo(app.ctx(), QDate(2026, 12, 8), "old"), StoreResult::Stored);
    EXPECT_EQ(StoreMemo(app.ctx(), QDate(2026, 12, 8), QString::fromUtf8("Café – Über")), StoreResult::Failed);
    EXPECT_EQ(app.prompts.texts(), QStringList{QString::fromUtf8("保存できない文字が含まれています。\r\né–Ü")});
    EXPECT_EQ(ReadMemo(app.restart(), QDate(2026, 12, 8)), "old");
}

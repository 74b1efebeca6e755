#include "DiskFull.h"
#include "TestApp.h"
#include "schedule/CsvExport.h"
#include "app/Cp932.h"
#include "schedule/MemoBook.h"
#include "schedule/MemoStore.h"

#include <QDir>

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

// November 2006 with memos on the 3rd (two lines and a quote) and the 20th.
struct November : TestApp {
    November() {
        EXPECT_EQ(ctx().memos().store(QDate(2006, 11, 3), QString::fromUtf8("会議\n\"資料\"持参")),
                  StoreResult::Stored);
        EXPECT_EQ(ctx().memos().store(QDate(2006, 11, 20), QString::fromUtf8("a,b")), StoreResult::Stored);
    }
    const QDate month{2006, 11, 25};
};

} // namespace

TEST(CsvExport, RecordsForTheDaysWithMemosOrForEveryDay) {
    November app;
    EXPECT_EQ(MemoCsv(app.ctx().memos(), app.month, true),
              Sjis("2006/11/03,\"会議\n\"\"資料\"\"持参\"\r\n2006/11/20,\"a,b\"\r\n"));

    const QByteArray every = MemoCsv(app.ctx().memos(), app.month, false);
    EXPECT_EQ(every.count("\r\n"), 30);
    EXPECT_TRUE(every.startsWith("2006/11/01,\r\n2006/11/02,\r\n2006/11/03,\""));
    EXPECT_TRUE(every.endsWith("2006/11/29,\r\n2006/11/30,\r\n"));
    EXPECT_TRUE(every.contains(Sjis("2006/11/20,\"a,b\"\r\n2006/11/21,\r\n")));
    EXPECT_EQ(DefaultCsvName(app.month), "Tsukiban_2006_11.csv");
}

TEST(CsvExport, TheCommandAsksWritesAndSays) {
    const struct {
        const char *name;
        Prompts::Answer answer;
        const char *fileName; // what the save dialog gives, "" for its cancel
        bool written;
        int lines;
    } cases[] = {
        {"only the days with memos", Prompts::Answer::Yes, "out.csv", true, 2},
        {"every day", Prompts::Answer::No, "out.csv", true, 30},
        {"the extension added", Prompts::Answer::Yes, "out", true, 2},
        {"cancelled question", Prompts::Answer::Cancel, "out.csv", false, 0},
        {"cancelled save", Prompts::Answer::Yes, "", false, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        November app;
        app.prompts.queueAnswer(c.answer);
        if (*c.fileName) app.prompts.queueFileName(app.path(c.fileName));
        EXPECT_EQ(ExportMonthMemos(app.ctx(), app.month), c.written);
        const QByteArray file = app.bytes("out.csv");
        EXPECT_EQ(file.count("\r\n"), c.lines);
        if (!c.written) continue;
        EXPECT_EQ(app.prompts.texts(), (QStringList{QString::fromUtf8("予定のある日のみ出力しますか？"), "エクスポート",
                                                    QString::fromUtf8("2006/11の予定を出力しました。")}));
    }
}

TEST(CsvExport, AFailedWriteIsSaidAndLeavesNoPartOfAFile) {
    November app;
    app.writeBytes("out.csv", "old contents\r\n");
    app.prompts.queueAnswer(Prompts::Answer::No);
    app.prompts.queueFileName(app.path("out.csv"));
    {
        const DiskFull full(20);
        ASSERT_TRUE(full.active());
        EXPECT_FALSE(ExportMonthMemos(app.ctx(), app.month));
    }
    EXPECT_EQ(app.bytes("out.csv"), "old contents\r\n");
    EXPECT_EQ(app.prompts.texts().back(), QString::fromUtf8("ファイルを保存できませんでした。\r\n") +
                                              QDir::toNativeSeparators(app.path("out.csv")));
    EXPECT_EQ(QDir(app.folder()).entryList({"*out.csv?*"}, QDir::Files | QDir::Hidden), QStringList());

    // A folder that cannot be written into.
    app.prompts.queueAnswer(Prompts::Answer::Yes);
    app.prompts.queueFileName(app.path("no such folder/out.csv"));
    EXPECT_FALSE(ExportMonthMemos(app.ctx(), app.month));
    EXPECT_TRUE(app.prompts.texts().back().startsWith(QString::fromUtf8("ファイルを保存できませんでした。")));
}

namespace {

// An RFC 4180 reader, as spreadsheets and Python's csv module read: fields in quotes may hold commas, line breaks
// and doubled quotes; a record ends at CR LF outside quotes.
std::vector<std::vector<QByteArray>> ReadCsv(const QByteArray &bytes) {
    std::vector<std::vector<QByteArray>> records(1, std::vector<QByteArray>(1));
    bool quoted = false;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        QByteArray &field = records.back().back();
        if (quoted) {
            if (c != '"')
                field += c;
            else if (i + 1 < bytes.size() && bytes[i + 1] == '"')
                field += bytes[++i];
            else
                quoted = false;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            records.back().emplace_back();
        } else if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            ++i;
            records.emplace_back(1);
        } else {
            field += c;
        }
    }
    if (records.back() == std::vector<QByteArray>(1)) records.pop_back();
    return records;
}

} // namespace

TEST(CsvExport, SpreadsheetsReadEveryMemoBesideItsOwnDate) {
    TestApp app;
    const QDate month(2026, 12, 1);
    const std::map<int, QString> memos{
        {3, QString::fromUtf8("\"至急\" 見積書")},
        {10, QString::fromUtf8("会議室は\"A\"\n資料\"3部\"")},
        {24, QString::fromUtf8("\"\"")},
        {25, QString::fromUtf8("a,\"b\",c")},
    };
    for (const auto &[day, memo] : memos) ASSERT_EQ(app.ctx().memos().store(QDate(2026, 12, day), memo), StoreResult::Stored);
    for (const Prompts::Answer answer : {Prompts::Answer::No, Prompts::Answer::Yes}) {
        app.prompts.queueAnswer(answer);
        app.prompts.queueFileName(app.path("dec.csv"));
        ASSERT_TRUE(ExportMonthMemos(app.ctx(), month));
        const auto records = ReadCsv(app.bytes("dec.csv"));
        ASSERT_EQ(records.size(), answer == Prompts::Answer::No ? 31u : memos.size());
        size_t row = 0;
        for (int day = 1; day <= 31; ++day) {
            const auto memo = memos.find(day);
            if (answer == Prompts::Answer::Yes && memo == memos.end()) continue;
            const std::vector<QByteArray> expected{DayKey(QDate(2026, 12, day)).toLatin1(),
                                                   memo == memos.end() ? QByteArray() : *Cp932::encode(memo->second)};
            EXPECT_EQ(records[row++], expected) << day;
        }
    }
}

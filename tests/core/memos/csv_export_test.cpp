#include "DiskFull.h"
#include "TestApp.h"
#include "core/memos/CsvExport.h"
#include "core/memos/MemoBook.h"
#include "core/memos/MemoStore.h"
#include "core/system/Cp932.h"
#include "core/system/ProgramPaths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <map>
#include <optional>
#include <vector>

#include <gtest/gtest.h>

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

// Records the path the save dialog proposes.
class SuggestionPrompts : public FakePrompts {
public:
    QString saveFileName(const QString &title, const QString &suggestedPath, const QString &filter) override {
        suggested << suggestedPath;
        return FakePrompts::saveFileName(title, suggestedPath, filter);
    }
    QStringList suggested;
};

// Sets an environment variable while it lives.
class ScopedEnv {
public:
    ScopedEnv(const char *name, const QString &value) : m_name(name) {
        if (qEnvironmentVariableIsSet(name)) m_saved = qgetenv(name);
        qputenv(name, QFile::encodeName(value));
    }
    ~ScopedEnv() {
        if (m_saved)
            qputenv(m_name, *m_saved);
        else
            qunsetenv(m_name);
    }

private:
    const char *m_name;
    std::optional<QByteArray> m_saved;
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
        EXPECT_EQ(ExportMonthMemos(app.ctx().memos(), app.ctx().prompts(), app.ctx().paths().exportFolder, app.month), c.written);
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
        EXPECT_FALSE(ExportMonthMemos(app.ctx().memos(), app.ctx().prompts(), app.ctx().paths().exportFolder, app.month));
    }
    EXPECT_EQ(app.bytes("out.csv"), "old contents\r\n");
    EXPECT_EQ(app.prompts.texts().back(), QString::fromUtf8("ファイルを保存できませんでした。\r\n") +
                                              QDir::toNativeSeparators(app.path("out.csv")));
    EXPECT_EQ(QDir(app.folder()).entryList({"*out.csv?*"}, QDir::Files | QDir::Hidden), QStringList());

    // A folder that cannot be written into.
    app.prompts.queueAnswer(Prompts::Answer::Yes);
    app.prompts.queueFileName(app.path("no such folder/out.csv"));
    EXPECT_FALSE(ExportMonthMemos(app.ctx().memos(), app.ctx().prompts(), app.ctx().paths().exportFolder, app.month));
    EXPECT_TRUE(app.prompts.texts().back().startsWith(QString::fromUtf8("ファイルを保存できませんでした。")));
}

TEST(CsvExport, TheFileIsProposedWhereItCanBeWritten) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString home = root.filePath("home");
    const QString program = root.filePath("usr/bin");
    ASSERT_TRUE(QDir().mkpath(home) && QDir().mkpath(program));
    const ScopedEnv homeVariable("HOME", home);
    const ScopedEnv config("XDG_CONFIG_HOME", home + "/.config");
    const ScopedEnv data("XDG_DATA_HOME", home + "/.local/share");
    const struct {
        const char *name;
        bool writable;
        const char *userDirs;  // user-dirs.dirs, "" for none
        const char *documents; // a folder made under the home, "" for none
        QString folder;
    } cases[] = {
        {"a program folder of its own", true, "", "Documents", program},
        {"installed", false, "", "Documents", home + "/Documents"},
        {"installed, a named documents folder", false, "XDG_DOCUMENTS_DIR=\"$HOME/ドキュメント\"\n", "ドキュメント",
         home + QString::fromUtf8("/ドキュメント")},
        {"installed, no documents folder", false, "", "", home},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QDir(home).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(home + "/.config"));
        if (*c.userDirs) {
            QFile file(home + "/.config/user-dirs.dirs");
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.userDirs);
        }
        if (*c.documents) {
            ASSERT_TRUE(QDir(home).mkpath(QString::fromUtf8(c.documents)));
        }
        const bool writable = c.writable;
        SuggestionPrompts prompts;
        TestApp app;
        AppContext ctx(ProgramPaths::forFolder(program, [writable](const QString &) { return writable; }), prompts,
                       app.clock);
        prompts.queueAnswer(Prompts::Answer::Yes);
        EXPECT_FALSE(ExportMonthMemos(ctx.memos(), ctx.prompts(), ctx.paths().exportFolder, QDate(2006, 11, 1))); // the save dialog is cancelled
        EXPECT_EQ(prompts.suggested, QStringList{c.folder + "/Tsukiban_2006_11.csv"});
    }
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
        ASSERT_TRUE(ExportMonthMemos(app.ctx().memos(), app.ctx().prompts(), app.ctx().paths().exportFolder, month));
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

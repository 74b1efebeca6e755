#include "DiskFull.h"
#include "TestApp.h"
#include "core/program/AppContext.h"
#include "core/system/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct IniFileTest : ::testing::Test {
    QTemporaryDir dir;
    QString path = dir.filePath("Tsukiban.tdb");

    void put(const QByteArray &bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    QByteArray bytes() const {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
};

} // namespace

TEST_F(IniFileTest, ReadsAsTheWindowsProfileFunctions) {
    put(Sjis("; comment=not a key\r\n"
             "stray line before any section\r\n"
             "[Font]\r\n"
             "  Title_Font_Name  =  MS UI Gothic  \r\n"
             "Quoted=\"  spaced  \"\r\n"
             "Single='x'\r\n"
             "Half=\"open\r\n"
             "NoValue\r\n"
             "Empty=\r\n"
             "title_font_name=second key loses\r\n"
             "ｶﾅ=half\r\n"
             "[表示]\r\n"
             "ソフト=表]\\x\r\n"
             "[FONT]\r\n"
             "Only=in the second section\r\n"
             "[BACK] \r\n"
             "Back_Color=HFFFFFF\r\n"));
    IniFile ini(path);
    const struct {
        const char *section, *key;
        std::optional<const char *> value;
    } cases[] = {
        {"FONT", "Title_Font_Name", "MS UI Gothic"}, // case folded, blanks trimmed, first key wins
        {"font", "TITLE_FONT_NAME", "MS UI Gothic"},
        {" FONT ", " Title_Font_Name ", "MS UI Gothic"},
        {"FONT", "Quoted", "  spaced  "},
        {"FONT", "Single", "x"},
        {"FONT", "Half", "\"open"},
        {"FONT", "NoValue", std::nullopt},
        {"FONT", "Empty", ""},
        {"FONT", "ｶﾅ", "half"},
        {"FONT", "Only", std::nullopt}, // the first section of a name is the one that counts
        {"FONT", "comment", std::nullopt},
        {"表示", "ソフト", "表]\\x"}, // 0x5C trail bytes are no delimiters
        {"BACK", "Back_Color", "HFFFFFF"},
        {"NONE", "Back_Color", std::nullopt},
    };
    for (const auto &c : cases) {
        const auto v = ini.value(QString::fromUtf8(c.section), QString::fromUtf8(c.key));
        ASSERT_EQ(v.has_value(), c.value.has_value()) << c.section << "/" << c.key;
        if (v) {
            EXPECT_EQ(*v, QString::fromUtf8(*c.value)) << c.section << "/" << c.key;
        }
    }
    EXPECT_EQ(ini.read("FONT", "NoValue"), QString());
    EXPECT_EQ(ini.section("font"),
              QStringList({"Title_Font_Name=MS UI Gothic", "Quoted=\"  spaced  \"", "Single='x'", "Half=\"open",
                           "NoValue", "Empty=", "title_font_name=second key loses", QString::fromUtf8("ｶﾅ=half")}));
    EXPECT_EQ(ini.sectionNames(), QStringList({"Font", QString::fromUtf8("表示"), "FONT", "BACK"}));
}

TEST_F(IniFileTest, WritesInPlaceAndKeepsEveryOtherByte) {
    // Lines the program does not touch keep their bytes: LF-only ends, a byte glibc cannot decode (0x80), and
    // 0xED40, which glibc would re-encode as 0xFA5C.
    const QByteArray original = "; \x95\x5C comment\r\n"
                                "[PROGRAM]\r\n"
                                "2026/12/01=\xED\x40\n"
                                "odd \x80 line\r\n"
                                "KEY = old \r\n"
                                "\r\n"
                                "[OFFDAY]\r\n"
                                "2026/12/24=1";
    put(original);
    IniFile ini(path);
    ASSERT_TRUE(ini.write("program", QString("key"), QString("new")));
    ASSERT_TRUE(ini.write("PROGRAM", QString("2026/12/02"), QString::fromUtf8("追加")));
    ASSERT_TRUE(ini.write("OFFDAY", QString("2026/12/25"), QString("1")));
    ASSERT_TRUE(ini.write("WEEKDAY", QString("2026/12/26"), QString("")));
    EXPECT_EQ(bytes(), QByteArray("; \x95\x5C comment\r\n"
                                  "[PROGRAM]\r\n"
                                  "2026/12/01=\xED\x40\n"
                                  "odd \x80 line\r\n"
                                  "KEY=new\r\n"
                                  "2026/12/02=\x92\xC7\x89\xC1\r\n"
                                  "\r\n"
                                  "[OFFDAY]\r\n"
                                  "2026/12/24=1\r\n"
                                  "2026/12/25=1\r\n"
                                  "[WEEKDAY]\r\n"
                                  "2026/12/26=\r\n"));
    EXPECT_EQ(ini.value("WEEKDAY", "2026/12/26"), std::optional<QString>(""));

    // A null value removes the key, a null key the whole section; removing what is absent changes nothing.
    ASSERT_TRUE(ini.write("PROGRAM", QString("KEY"), std::nullopt));
    ASSERT_TRUE(ini.write("OFFDAY", std::nullopt, std::nullopt));
    ASSERT_TRUE(ini.write("NOSUCH", std::nullopt, std::nullopt));
    EXPECT_EQ(bytes(), QByteArray("; \x95\x5C comment\r\n"
                                  "[PROGRAM]\r\n"
                                  "2026/12/01=\xED\x40\n"
                                  "odd \x80 line\r\n"
                                  "2026/12/02=\x92\xC7\x89\xC1\r\n"
                                  "\r\n"
                                  "[WEEKDAY]\r\n"
                                  "2026/12/26=\r\n"));
    EXPECT_TRUE(ini.section("OFFDAY").isEmpty());
    EXPECT_FALSE(ini.hasSection("OFFDAY"));
}

TEST_F(IniFileTest, NothingToChangeLeavesTheFileAlone) {
    IniFile ini(path);
    EXPECT_TRUE(ini.write("PROGRAM", QString("2026/12/01"), std::nullopt));
    EXPECT_FALSE(QFileInfo::exists(path)); // removing from a missing file creates nothing
    put("[A]\r\nk = \"v\" \r\n");
    const QDateTime before = QFileInfo(path).lastModified();
    EXPECT_TRUE(ini.write("A", QString("k"), QString("v")));
    EXPECT_EQ(bytes(), QByteArray("[A]\r\nk = \"v\" \r\n"));
    EXPECT_EQ(QFileInfo(path).lastModified(), before);
}

TEST_F(IniFileTest, ValuesAndSectionsAreReadWhole) {
    IniFile ini(path);
    const QString longValue = QString::fromUtf8("予").repeated(1000) + QString("x").repeated(1000); // 3,000 bytes
    std::vector<IniEdit> edits;
    for (int i = 0; i < 500; ++i) edits.push_back({"OFFDAY", QString("key%1").arg(i), QString("1")});
    edits.push_back({"PROGRAM", QString("2026/12/07"), longValue});
    ASSERT_TRUE(ini.write(edits));
    IniFile reread(path);
    EXPECT_EQ(reread.read("PROGRAM", "2026/12/07"), longValue);
    const QStringList section = reread.section("OFFDAY");
    ASSERT_EQ(section.size(), 500);
    EXPECT_EQ(section.front(), "key0=1");
    EXPECT_EQ(section.back(), "key499=1");
}

TEST_F(IniFileTest, ReadsAShiftJisFileWrittenByAnotherProgram) {
    const QString utf8Path = dir.filePath("utf8.ini");
    QFile utf8(utf8Path);
    ASSERT_TRUE(utf8.open(QIODevice::WriteOnly));
    utf8.write("[PROGRAM]\r\n2006/11/25=会議\\CRLF\\資料の表を作る\r\n[表]\r\nソ=ソ\r\n");
    utf8.close();
    QProcess iconv;
    iconv.setStandardOutputFile(path);
    iconv.start("iconv", {"-f", "UTF-8", "-t", "CP932", utf8Path});
    ASSERT_TRUE(iconv.waitForFinished(10000));
    ASSERT_EQ(iconv.exitCode(), 0);

    IniFile ini(path);
    EXPECT_EQ(ini.read("PROGRAM", "2006/11/25"), QString::fromUtf8("会議\\CRLF\\資料の表を作る"));
    EXPECT_EQ(ini.read(QString::fromUtf8("表"), QString::fromUtf8("ソ")), QString::fromUtf8("ソ"));
}

TEST_F(IniFileTest, SeesChangesMadeByHand) {
    put("[A]\r\nk=1\r\n");
    IniFile ini(path);
    EXPECT_EQ(ini.read("A", "k"), "1");
    put("[A]\r\nk=22\r\n"); // another size
    EXPECT_EQ(ini.read("A", "k"), "22");
    put("[A]\r\nk=33\r\n"); // same size, another time
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
    f.close();
    EXPECT_EQ(ini.read("A", "k"), "33");
    // A write builds on what is on disk now, not on the last parse.
    put("[A]\r\nk=33\r\nhand=edit\r\n");
    ASSERT_TRUE(ini.write("A", QString("new"), QString("1")));
    EXPECT_EQ(bytes(), QByteArray("[A]\r\nk=33\r\nhand=edit\r\nnew=1\r\n"));
    QFile::remove(path);
    EXPECT_EQ(ini.read("A", "k"), QString());
}

TEST_F(IniFileTest, RefusesLineBreaksThatWouldSplitALine) {
    IniFile ini(path);
    EXPECT_FALSE(ini.write("PROGRAM", QString("k"), QString("a\r\nb")));
    EXPECT_FALSE(ini.write("PROGRAM", QString("k\n"), QString("a")));
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST(IniFileFailure, AFailedWriteIsReportedAndTheFileStaysAsItWas) {
    TestApp app;
    {
        const DiskFull full;
        ASSERT_TRUE(full.active());
        EXPECT_FALSE(app.ctx().WriteData("PROGRAM", QString("2026/12/07"), QString("memo")));
    }
    ASSERT_EQ(app.prompts.shown().size(), 1u);
    EXPECT_EQ(app.prompts.shown()[0].kind, "information");
    EXPECT_EQ(app.prompts.shown()[0].text,
              QString::fromUtf8("ファイルを保存できませんでした。\r\n") + app.path("Tsukiban.tdb"));

    // The folder of the file is a plain file.
    app.writeBytes("plain", "x");
    IniFile inside(app.path("plain/Tsukiban.ini"));
    EXPECT_FALSE(inside.write("A", QString("k"), QString("v")));
    EXPECT_EQ(app.bytes("plain"), "x");
}

TEST(IniFileFailure, ADiskFullDuringTheWriteLeavesTheOldFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Tsukiban.tdb");
    IniFile ini(path);
    ASSERT_TRUE(ini.write("PROGRAM", QString("2026/12/07"), QString("keep me")));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray before = f.readAll();
    f.close();

    bool written = true;
    {
        const DiskFull full(64);
        ASSERT_TRUE(full.active());
        written = bool(ini.write("PROGRAM", QString("2026/12/08"), QString("x").repeated(500)));
    }

    EXPECT_FALSE(written);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
    EXPECT_EQ(ini.read("PROGRAM", "2026/12/08"), QString()); // memory follows the disk, not the failed change
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Tsukiban.tdb"}); // no temporary left behind
}

TEST_F(IniFileTest, ABatchOfRemovalsAndAdditionsActsInOrder) {
    put("[PROGRAM]\r\na=1\r\nb=2\r\nA=dup\r\nc=3\r\n\r\n[OFFDAY]\r\nx=1\r\n");
    IniFile ini(path);
    ASSERT_TRUE(ini.write({{"PROGRAM", QString("a"), std::nullopt}, // the first a goes; the later A then counts
                           {"PROGRAM", QString("c"), std::nullopt},
                           {"PROGRAM", QString("d"), QString("4")},
                           {"PROGRAM", QString("c"), QString("again")}, // removed, then written anew at the end
                           {"OFFDAY", QString("y"), QString("1")},
                           {"PROGRAM", QString("b"), std::nullopt}}));
    EXPECT_EQ(bytes(), QByteArray("[PROGRAM]\r\nA=dup\r\nd=4\r\nc=again\r\n\r\n[OFFDAY]\r\nx=1\r\ny=1\r\n"));
    EXPECT_EQ(ini.section("PROGRAM"), QStringList({"A=dup", "d=4", "c=again"}));
    EXPECT_EQ(ini.read("program", "a"), "dup");
}

TEST_F(IniFileTest, DeletionRemovesTheFirstMatchOnly) {
    put("[A]\r\nk=1\r\nK=2\r\n[B]\r\nx=1\r\n[a]\r\nk=3\r\n");
    IniFile ini(path);
    ASSERT_TRUE(ini.write("A", QString("k"), std::nullopt));
    EXPECT_EQ(ini.read("A", "k"), "2"); // the duplicate a person left counts now
    ASSERT_TRUE(ini.write("a", std::nullopt, std::nullopt));
    EXPECT_EQ(bytes(), QByteArray("[B]\r\nx=1\r\n[a]\r\nk=3\r\n"));
    EXPECT_EQ(ini.read("A", "k"), "3");
}

TEST_F(IniFileTest, EveryValueReadsBackAsWritten) {
    const struct {
        const char *value, *readBack, *line; // line: the bytes of the entry, as UTF-8
    } cases[] = {
        {"plain", "plain", "k=plain"},
        {"", "", "k="},
        {"a \"mid\" b", "a \"mid\" b", "k=a \"mid\" b"},
        {"\"open", "\"open", "k=\"open"},
        {"  indented", "  indented", "k=\"  indented\""},
        {"trailing\t", "trailing\t", "k=\"trailing\t\""},
        {"\"quoted\"", "\"quoted\"", "k=\"\"quoted\"\""},
        {"'single'", "'single'", "k=\"'single'\""},
        {"  \"引用\" ¥100  ", "  \"引用\" ￥100  ", "k=\"  \"引用\" ￥100  \""},
        {"¥CRLF¥ \\ ‾", "￥CRLF￥ \\ ￣",
         "k=￥CRLF￥ \\ ￣"}, // a typed yen sign stays a yen sign, a backslash a backslash
        {"〜", "～", "k=〜"}, // stored as its code page 932 look-alike
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.value);
        QFile::remove(path);
        IniFile ini(path);
        ASSERT_TRUE(ini.write("S", QString("k"), QString::fromUtf8(c.value)));
        EXPECT_EQ(bytes(), Sjis("[S]\r\n") + Sjis(c.line) + "\r\n");
        // What this run reads is what a restart reads.
        EXPECT_EQ(ini.read("S", "k"), QString::fromUtf8(c.readBack));
        EXPECT_EQ(IniFile(path).read("S", "k"), QString::fromUtf8(c.readBack));
    }
}

TEST_F(IniFileTest, TextTheFileCannotHoldIsRefusedWhole) {
    put("[S]\r\nk=old\r\n");
    IniFile ini(path);
    const IniFile::WriteResult result =
        ini.write({{"S", QString("k"), QString("new")}, {"S", QString("path"), QString::fromUtf8("/run-josé/–Ü/é")}});
    EXPECT_EQ(result.status, IniFile::Status::Unencodable);
    EXPECT_EQ(result.refused, QString::fromUtf8("é–Ü"));
    EXPECT_EQ(bytes(), "[S]\r\nk=old\r\n"); // not even the encodable part
    EXPECT_EQ(ini.read("S", "k"), "old");
    EXPECT_EQ(ini.write(QString::fromUtf8("節😀"), QString("k"), QString("v")).refused, QString::fromUtf8("😀"));
}

TEST_F(IniFileTest, AFileWithAByteOrderMarkKeepsItsEncoding) {
    const struct {
        const char *name;
        QStringConverter::Encoding encoding;
        QByteArray mark;
    } cases[] = {{"UTF-8", QStringConverter::Utf8, "\xEF\xBB\xBF"},
                 {"UTF-16LE", QStringConverter::Utf16LE, "\xFF\xFE"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QStringEncoder encode(c.encoding);
        const auto in = [&](const char *utf8) { return QByteArray(encode.encode(QString::fromUtf8(utf8))); };
        put(c.mark + in("[PROGRAM]\r\n2026/12/24=聖夜 ¥500\r\n\n[OFFDAY]\r\n2026/12/28=1"));
        IniFile ini(path);
        EXPECT_EQ(ini.encoding(),
                  c.name == std::string("UTF-8") ? IniFile::Encoding::Utf8 : IniFile::Encoding::Utf16Le);
        EXPECT_EQ(ini.read("PROGRAM", "2026/12/24"), QString::fromUtf8("聖夜 ¥500"));
        EXPECT_EQ(ini.read("OFFDAY", "2026/12/28"), "1");
        // Characters code page 932 lacks are at home here.
        ASSERT_TRUE(ini.write("PROGRAM", QString("2026/12/25"), QString::fromUtf8("café 😀")));
        ASSERT_TRUE(ini.write("OFFDAY", QString("2026/12/29"), QString("1")));
        EXPECT_EQ(bytes(), c.mark + in("[PROGRAM]\r\n2026/12/24=聖夜 ¥500\r\n2026/12/25=café 😀\r\n\n"
                                       "[OFFDAY]\r\n2026/12/28=1\r\n2026/12/29=1\r\n"));
        EXPECT_EQ(IniFile(path).read("PROGRAM", "2026/12/25"), QString::fromUtf8("café 😀"));
    }
}

TEST_F(IniFileTest, ACopyThatKeepsSizeAndTimeIsStillSeen) {
    put("[A]\r\nk=1\r\n");
    IniFile ini(path);
    EXPECT_EQ(ini.read("A", "k"), "1");
    const QByteArray name = QFile::encodeName(path);
    struct stat before {};
    ASSERT_EQ(::stat(name.constData(), &before), 0);
    const auto sameTime = [](const timespec &a, const timespec &b) {
        return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
    };
    const auto putTimeBack = [&](const QByteArray &file) {
        const timespec times[2] = {before.st_atim, before.st_mtim};
        return ::utimensat(AT_FDCWD, file.constData(), times, 0) == 0;
    };

    // Edited in place to the same size, the modification time put back (as "cp -p" does): only the change time tells.
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.write("[A]\r\nk=2\r\n");
    }
    struct stat now {};
    do { // the file system's clock may not have moved since the first write: put the time back until it has
        ASSERT_TRUE(putTimeBack(name));
        ASSERT_EQ(::stat(name.constData(), &now), 0);
    } while (sameTime(now.st_ctim, before.st_ctim));
    ASSERT_TRUE(sameTime(now.st_mtim, before.st_mtim));
    ASSERT_EQ(now.st_size, before.st_size);
    EXPECT_EQ(ini.read("A", "k"), "2");

    // Another file of the same size and time renamed over it.
    const QByteArray copy = QFile::encodeName(dir.filePath("copy"));
    {
        QFile f(QFile::decodeName(copy));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[A]\r\nk=3\r\n");
    }
    ASSERT_TRUE(putTimeBack(copy));
    ASSERT_EQ(::rename(copy.constData(), name.constData()), 0);
    EXPECT_EQ(ini.read("A", "k"), "3");
}

namespace {

const QString kUnreadable = QString::fromUtf8("ファイルを読み込めませんでした。\r\n");
const QString kUnsaved = QString::fromUtf8("ファイルを保存できませんでした。\r\n");

} // namespace

TEST(IniFileFailure, AFileThatExistsButCannotBeReadIsNeverWrittenOver) {
    // Without relying on permissions, which stop nothing for root.
    const struct {
        const char *how;
        std::function<void(TestApp &)> make;
        std::function<void(TestApp &)> check; // what is at the path afterwards
    } cases[] = {
        {"its path names a folder", [](TestApp &app) { ASSERT_TRUE(QDir(app.folder()).mkdir("Tsukiban.tdb")); },
         [](TestApp &app) { EXPECT_TRUE(QDir(app.path("Tsukiban.tdb")).isEmpty()); }},
        {"reading it fails", // /proc/self/mem answers a read at offset 0 with an I/O error
         [](TestApp &app) { ASSERT_TRUE(QFile::link("/proc/self/mem", app.path("Tsukiban.tdb"))); },
         [](TestApp &app) { EXPECT_EQ(QFileInfo(app.path("Tsukiban.tdb")).symLinkTarget(), "/proc/self/mem"); }},
        // A link is never read or written through, whatever it points at.
        {"it is a link to a file elsewhere",
         [](TestApp &app) {
             app.writeBytes("elsewhere.txt", "[PROGRAM]\r\n2026/12/01=x\r\n");
             ASSERT_TRUE(QFile::link(app.path("elsewhere.txt"), app.path("Tsukiban.tdb")));
         },
         [](TestApp &app) {
             EXPECT_EQ(app.bytes("elsewhere.txt"), "[PROGRAM]\r\n2026/12/01=x\r\n");
             EXPECT_TRUE(QFileInfo(app.path("Tsukiban.tdb")).isSymLink());
         }},
        {"it is a FIFO, which would block a reader",
         [](TestApp &app) { ASSERT_EQ(::mkfifo(QFile::encodeName(app.path("Tsukiban.tdb")).constData(), 0600), 0); },
         [](TestApp &app) {
             struct stat st {};
             ASSERT_EQ(::lstat(QFile::encodeName(app.path("Tsukiban.tdb")).constData(), &st), 0);
             EXPECT_TRUE(S_ISFIFO(st.st_mode));
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.how);
        TestApp app;
        c.make(app);
        AppContext &ctx = app.ctx();
        const QString path = app.path("Tsukiban.tdb");
        EXPECT_FALSE(ctx.reportUnreadableFiles());
        EXPECT_EQ(app.prompts.texts(), QStringList{kUnreadable + path});
        EXPECT_EQ(ctx.ReadData("PROGRAM", "2026/12/01"), "");
        // Said once; every write is refused.
        EXPECT_FALSE(ctx.WriteData("PROGRAM", QString("2026/12/03"), QString("c")));
        EXPECT_FALSE(ctx.WriteData({{"OFFDAY", std::nullopt, std::nullopt}}));
        EXPECT_FALSE(ctx.reportUnreadableFiles());
        EXPECT_EQ(app.prompts.texts(), QStringList({kUnreadable + path, kUnsaved + path, kUnsaved + path}));
        c.check(app);
        // The settings file is another file, and fine.
        EXPECT_TRUE(ctx.WriteSetting("FONT", QString("Rokuyo"), QString("1")));
    }
}

TEST(IniFileFailure, AFileThatTurnsUnreadableWhileRunningIsSaidSoAtTheNextWrite) {
    TestApp app;
    AppContext &ctx = app.ctx();
    ASSERT_TRUE(ctx.WriteData("PROGRAM", QString("2026/12/01"), QString("a")));
    EXPECT_TRUE(ctx.reportUnreadableFiles());
    ASSERT_TRUE(QFile::remove(app.path("Tsukiban.tdb")));
    ASSERT_TRUE(QFile::link("/proc/self/mem", app.path("Tsukiban.tdb")));
    EXPECT_FALSE(ctx.WriteData("PROGRAM", QString("2026/12/02"), QString("b")));
    const QString path = app.path("Tsukiban.tdb");
    EXPECT_EQ(app.prompts.texts(), QStringList({kUnreadable + path, kUnsaved + path}));
}

TEST(IniFileFailure, AFileWithoutReadPermissionIsNeverWrittenOver) {
    if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
    TestApp app;
    const QByteArray memos = "[PROGRAM]\r\n2026/12/01=a\r\n2026/12/02=b\r\n";
    app.writeBytes("Tsukiban.tdb", memos);
    ASSERT_TRUE(QFile::setPermissions(app.path("Tsukiban.tdb"), QFile::WriteOwner));
    EXPECT_FALSE(app.ctx().WriteData("PROGRAM", QString("2026/12/03"), QString("c")));
    ASSERT_TRUE(QFile::setPermissions(app.path("Tsukiban.tdb"), QFile::ReadOwner | QFile::WriteOwner));
    EXPECT_EQ(app.bytes("Tsukiban.tdb"), memos);
    EXPECT_EQ(app.prompts.texts(),
              QStringList({kUnreadable + app.path("Tsukiban.tdb"), kUnsaved + app.path("Tsukiban.tdb")}));
}

TEST(IniFileOldTools, AnEndOfFileMarkEndsTheFileAndStaysAtItsEnd) {
    const struct {
        const char *what;
        const char *file;
        const char *stored; // after a memo of the 8th is added and a setting written
    } cases[] = {
        {"after the last line end", "[PROGRAM]\r\n2026/12/07=会議\r\n\x1A",
         "[PROGRAM]\r\n2026/12/07=会議\r\n2026/12/08=新年会\r\n\x1A"},
        {"right after the value", "[PROGRAM]\r\n2026/12/07=会議\x1A",
         "[PROGRAM]\r\n2026/12/07=会議\r\n2026/12/08=新年会\r\n\x1A"},
        {"several, and line ends", "[PROGRAM]\r\n2026/12/07=会議\x1A\x1A\r\n",
         "[PROGRAM]\r\n2026/12/07=会議\r\n2026/12/08=新年会\r\n\x1A\x1A\r\n"},
        {"inside a value it is text", "[PROGRAM]\r\n2026/12/07=会\x1A議\r\n",
         "[PROGRAM]\r\n2026/12/07=会\x1A議\r\n2026/12/08=新年会\r\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        TestApp app;
        app.writeBytes("Tsukiban.tdb", Sjis(c.file));
        app.writeBytes("Tsukiban.ini", Sjis((std::string("[SYSTEM]\r\nVERSION=2.5.0\r\n") + "\x1A").c_str()));
        AppContext &ctx = app.restart();
        const bool markInside = std::string(c.file).find("会\x1A議") != std::string::npos;
        EXPECT_EQ(ctx.ReadData("PROGRAM", "2026/12/07"), QString::fromUtf8(markInside ? "会\x1A議" : "会議"));
        EXPECT_EQ(ctx.ReadDataSection("PROGRAM"), QStringList{ctx.ReadDataSection("PROGRAM").value(0)});
        EXPECT_EQ(ctx.ReadSetting("SYSTEM", "VERSION"), "2.5.0");
        ASSERT_TRUE(ctx.WriteData("PROGRAM", QStringLiteral("2026/12/08"), QString::fromUtf8("新年会")));
        ASSERT_TRUE(ctx.WriteSetting("FONT", QStringLiteral("Title_Font_Name"), QStringLiteral("IPAGothic")));
        EXPECT_EQ(app.bytes("Tsukiban.tdb"), Sjis(c.stored));
        EXPECT_EQ(app.bytes("Tsukiban.ini"),
                  QByteArray("[SYSTEM]\r\nVERSION=2.5.0\r\n[FONT]\r\nTitle_Font_Name=IPAGothic\r\n\x1A"));
    }
}

TEST(IniFileOldTools, ACarriageReturnAloneEndsALine) {
    TestApp app;
    app.writeBytes("Tsukiban.tdb", Sjis("[PROGRAM]\r2026/12/07=会議\r2026/12/08=忘年会\r[OFFDAY]\r2026/12/28=\r"));
    app.writeBytes("Tsukiban.ini", "[SYSTEM]\rVERSION=2.5.0\r[BACK]\rBack_Color=HFFFFFF");
    AppContext &ctx = app.restart();
    EXPECT_EQ(ctx.ReadData("PROGRAM", "2026/12/08"), QString::fromUtf8("忘年会"));
    EXPECT_EQ(ctx.ReadDataSection("OFFDAY"), QStringList{"2026/12/28="});
    EXPECT_EQ(ctx.ReadSetting("BACK", "Back_Color"), "HFFFFFF");

    // The next writes find the sections: no second copy of one; the old lines keep their bytes.
    ASSERT_TRUE(ctx.WriteData("PROGRAM", QStringLiteral("2026/12/09"), QString::fromUtf8("大掃除")));
    ASSERT_TRUE(ctx.WriteData("PROGRAM", QStringLiteral("2026/12/07"), std::nullopt));
    ASSERT_TRUE(ctx.WriteSetting("BACK", QStringLiteral("Back_Style"), QStringLiteral("1")));
    EXPECT_EQ(app.bytes("Tsukiban.tdb"),
              Sjis("[PROGRAM]\r2026/12/08=忘年会\r2026/12/09=大掃除\r\n[OFFDAY]\r2026/12/28=\r"));
    EXPECT_EQ(app.bytes("Tsukiban.ini"), "[SYSTEM]\rVERSION=2.5.0\r[BACK]\rBack_Color=HFFFFFF\r\nBack_Style=1\r\n");
    EXPECT_EQ(app.restart().ReadData("PROGRAM", "2026/12/09"), QString::fromUtf8("大掃除"));
}

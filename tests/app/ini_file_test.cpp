#include "DiskFull.h"
#include "TestApp.h"
#include "app/AppContext.h"
#include "app/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
    // The data file's path names a folder.
    ASSERT_TRUE(QDir(app.folder()).mkdir("Tsukiban.tdb"));
    EXPECT_FALSE(app.ctx().WriteData("PROGRAM", QString("2026/12/07"), QString("memo")));
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
        written = ini.write("PROGRAM", QString("2026/12/08"), QString("x").repeated(500));
    }

    EXPECT_FALSE(written);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
    EXPECT_EQ(ini.read("PROGRAM", "2026/12/08"), QString()); // memory follows the disk, not the failed change
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"Tsukiban.tdb"}); // no temporary left behind
}

TEST_F(IniFileTest, ABatchOfRemovalsAndAdditionsActsInOrder) {
    put("[PROGRAM]\r\na=1\r\nb=2\r\nA=dup\r\nc=3\r\n\r\n[OFFDAY]\r\nx=1\r\n");
    IniFile ini(path);
    ASSERT_TRUE(ini.write({{"PROGRAM", QString("a"), std::nullopt}, // both spellings of a go
                           {"PROGRAM", QString("c"), std::nullopt},
                           {"PROGRAM", QString("d"), QString("4")},
                           {"PROGRAM", QString("c"), QString("again")}, // removed, then written anew at the end
                           {"OFFDAY", QString("y"), QString("1")},
                           {"PROGRAM", QString("b"), std::nullopt}}));
    EXPECT_EQ(bytes(), QByteArray("[PROGRAM]\r\nd=4\r\nc=again\r\n\r\n[OFFDAY]\r\nx=1\r\ny=1\r\n"));
    EXPECT_EQ(ini.section("PROGRAM"), QStringList({"d=4", "c=again"}));
    EXPECT_EQ(ini.read("program", "A"), QString());
}

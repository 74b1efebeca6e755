#include "TestApp.h"
#include "core/program/Migration.h"
#include "core/program/Startup.h"
#include "core/settings/Settings.h"
#include "core/settings/SettingsStore.h"
#include "core/system/Cp932.h"
#include "core/system/ProgramPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kNewer =
    QString::fromUtf8("iniファイルが，現在のバージョンより新しいため、システムが正常に動作しません。\r\n"
                      "iniファイルのバージョンに合ったシステムをご利用下さい。\r\n"
                      "現在のバージョン：Ver2.5.0\r\niniファイルのバージョン：Ver");
const QString kOlder = QString::fromUtf8("iniファイルが，現在のバージョンより古いバージョンで作成されています。\r\n"
                                         "iniファイルを現在のバージョンに更新してもよろしいですか？\r\n"
                                         "現在のバージョン：Ver2.5.0\r\niniファイルのバージョン：Ver");
const QString kTooOld = QString::fromUtf8("iniファイルのバージョンが古いため、システムが正常に動作しません。\r\n"
                                          "iniファイルを現在のバージョンに更新して下さい。");
const QString kUpdated = QString::fromUtf8("iniファイルを更新しました。");

// A settings file of all defaults with another version, or without the SYSTEM section.
void writeVersion(TestApp &app, const std::optional<QString> &version) {
    ASSERT_TRUE(WriteDefaultSettings(app.ctx().settingsStore()));
    ASSERT_TRUE(app.ctx().WriteSetting("SYSTEM", version ? std::optional<QString>("VERSION") : std::nullopt, version));
}

} // namespace

TEST(Startup, FirstStartInAnEmptyFolder) {
    TestApp app;
    EXPECT_EQ(RunStartup(app.ctx()), StartupOutcome::ShowCalendar);
    EXPECT_TRUE(app.prompts.shown().empty());
    EXPECT_TRUE(QFileInfo(app.path("Fusen")).isDir());
    EXPECT_EQ(app.ctx().ReadSetting("SYSTEM", "VERSION"), "2.5.0");
    EXPECT_EQ(app.ctx().ReadSetting("OPTION", "StartMenu"), "0");
    EXPECT_TRUE(app.ctx().helpFilePath.isEmpty());
    // The next start finds everything in place and asks nothing.
    app.restart();
    EXPECT_EQ(RunStartup(app.ctx()), StartupOutcome::ShowCalendar);
    EXPECT_TRUE(app.prompts.shown().empty());
}

TEST(Startup, VersionCheck) {
    using A = Prompts::Answer;
    const struct {
        std::optional<QString> version;
        std::optional<A> answer;
        StartupOutcome outcome;
        QStringList texts;
        QString versionAfter;
    } cases[] = {
        {"2.4.0", A::Yes, StartupOutcome::ShowCalendar, {kOlder + "2.4.0", kUpdated}, "2.5.0"},
        {"2.4.0", A::No, StartupOutcome::Stop, {kOlder + "2.4.0", kTooOld}, "2.4.0"},
        {"2.6.0", {}, StartupOutcome::Stop, {kNewer + "2.6.0"}, "2.6.0"},
        {"3.0", {}, StartupOutcome::Stop, {kNewer + "3.0"}, "3.0"},
        {"2.5.0.1", {}, StartupOutcome::Stop, {kNewer + "2.5.0.1"}, "2.5.0.1"},
        {"2.10.0", A::Yes, StartupOutcome::ShowCalendar, {kOlder + "2.10.0", kUpdated}, "2.5.0"},
        {"2.4.1", A::Yes, StartupOutcome::ShowCalendar, {kOlder + "2.4.1", kUpdated}, "2.5.0"},
        {"", A::Yes, StartupOutcome::ShowCalendar, {kOlder, kUpdated}, "2.5.0"},
        {std::nullopt, A::Yes, StartupOutcome::ShowCalendar, {kOlder, kUpdated}, "2.5.0"},
        {std::nullopt, A::No, StartupOutcome::Stop, {kOlder, kTooOld}, ""},
        {"2.5.0", {}, StartupOutcome::ShowCalendar, {}, "2.5.0"},
    };
    for (const auto &c : cases) {
        const std::string name = c.version ? c.version->toStdString() : "<no SYSTEM>";
        TestApp app;
        writeVersion(app, c.version);
        if (c.answer) app.prompts.queueAnswer(*c.answer);
        app.restart();
        EXPECT_EQ(RunStartup(app.ctx()), c.outcome) << name;
        EXPECT_EQ(app.prompts.texts(), c.texts) << name;
        if (!app.prompts.shown().empty()) {
            EXPECT_EQ(app.prompts.shown()[0].kind, c.answer ? "question" : "information") << name;
        }
        EXPECT_EQ(app.ctx().ReadSetting("SYSTEM", "VERSION"), c.versionAfter) << name;
        EXPECT_EQ(QFileInfo(app.path("Fusen")).isDir(), c.outcome == StartupOutcome::ShowCalendar) << name;

        // After an upgrade the question is not asked again.
        if (c.outcome == StartupOutcome::ShowCalendar) {
            app.prompts.clear();
            app.restart();
            EXPECT_EQ(RunStartup(app.ctx()), StartupOutcome::ShowCalendar) << name;
            EXPECT_TRUE(app.prompts.shown().empty()) << name;
        }
    }
}

TEST(Startup, MigrationRows) {
    const struct {
        const char *version;
        std::vector<std::pair<const char *, const char *>> before; // key, value in an otherwise default file
        std::vector<std::pair<const char *, const char *>> after;
        QByteArrayList rowKeys;
    } cases[] = {
        {"1.0.0",
         {{"Back_PicturePos", "5"},
          {"Back_CellColor", "H123456"},
          {"Note_Frame_Color", "H0"},
          {"Disp_Schedule_Button", "0"},
          {"Disp_Pic_Button", "0"},
          {"Disp_Mode_ToolBar", "0"},
          {"Disp_Fusen_Button", "0"}},
         {{"Back_PicturePos", "0"},
          {"Back_CellColor", "HFFFFFF"},
          {"Note_Frame_Color", "HFFFFFF"},
          {"Disp_Schedule_Button", "1"},
          {"Disp_Pic_Button", "1"},
          {"Disp_Mode_ToolBar", "2"},
          {"Disp_Fusen_Button", "0"}},
         {"VERSION", "Back_PicturePos", "Back_CellColor", "Note_Frame_Color", "Disp_Schedule_Button", "Disp_Pic_Button",
          "Disp_Mode_ToolBar"}},
        {"1.0.0",
         {{"Back_PicturePos", "2"}},
         {{"Back_PicturePos", "2"}, {"Back_CellColor", "HFFFFFF"}},
         {"VERSION", "Back_PicturePos", "Back_CellColor", "Note_Frame_Color", "Disp_Schedule_Button", "Disp_Pic_Button",
          "Disp_Mode_ToolBar"}},
        {"1.0.0",
         {{"Back_PicturePos", "10"}},
         {{"Back_PicturePos", "10"}},
         {"VERSION", "Back_PicturePos", "Back_CellColor", "Note_Frame_Color", "Disp_Schedule_Button", "Disp_Pic_Button",
          "Disp_Mode_ToolBar"}}, // compared as text
        {"2.0.0",
         {{"Disp_Schedule_Button", "0"}, {"Disp_Mode_ToolBar", "0"}, {"Back_CellColor", "H123456"}},
         {{"Disp_Schedule_Button", "1"}, {"Disp_Mode_ToolBar", "2"}, {"Back_CellColor", "H123456"}},
         {"VERSION", "Disp_Schedule_Button", "Disp_Mode_ToolBar"}},
        {"2.1.0",
         {{"Disp_Fusen_Button", "0"}, {"Disp_Schedule_Button", "0"}},
         {{"Disp_Fusen_Button", "1"}, {"Disp_Schedule_Button", "0"}},
         {"VERSION", "Disp_Fusen_Button"}},
        {"2.3.0", {{"Disp_Fusen_Button", "0"}}, {{"Disp_Fusen_Button", "0"}}, {"VERSION"}},
    };
    for (const auto &c : cases) {
        TestApp app;
        writeVersion(app, QString(c.version));
        for (const auto &[key, value] : c.before) {
            const char *section = nullptr;
            for (const SettingKey &k : SettingKeys())
                if (QLatin1String(k.key) == QLatin1String(key)) section = k.section;
            ASSERT_TRUE(app.ctx().WriteSetting(section, QString(key), QString(value)));
        }
        const QByteArray before = app.bytes("Tsukiban.ini");
        ASSERT_TRUE(MigrateSettings(app.ctx()));
        LoadSettings(app.ctx().settingsStore(), app.ctx().settings);
        for (const auto &[key, value] : c.after) {
            QString loaded;
            for (const SettingKey &k : SettingKeys())
                if (QLatin1String(k.key) == QLatin1String(key)) loaded = app.ctx().settings.*k.field;
            EXPECT_EQ(loaded, value) << c.version << " " << key;
        }
        EXPECT_EQ(app.ctx().ReadSetting("SYSTEM", "VERSION"), "2.5.0");
        // Nothing else moved: only lines of the keys the row writes differ.
        const QList<QByteArray> a = before.split('\n'), b = app.bytes("Tsukiban.ini").split('\n');
        ASSERT_EQ(a.size(), b.size()) << c.version;
        for (qsizetype i = 0; i < a.size(); ++i)
            if (a[i] != b[i]) {
                EXPECT_TRUE(c.rowKeys.contains(a[i].left(a[i].indexOf('=')))) << c.version << " " << a[i].toStdString();
            }
    }
}

TEST(Startup, MigrationAddsWhatAnOlderFileLacks) {
    TestApp app;
    app.writeBytes("Tsukiban.ini", Sjis("[SYSTEM]\r\nVERSION=2.2.0\r\n[FONT]\r\nTitle_Font_Color=H123456\r\n"
                                        "Weekday_Font_Size=\r\nTime_Zone=ホノルル\r\n[OPTION]\r\nPosition=1\r\n"));
    ASSERT_TRUE(MigrateSettings(app.ctx()));
    LoadSettings(app.ctx().settingsStore(), app.ctx().settings);
    const Settings &s = app.ctx().settings;
    EXPECT_EQ(s.Title_Font_Color, "H123456");                 // kept
    EXPECT_EQ(s.Weekday_Font_Size, "");                       // present, though empty: kept
    EXPECT_EQ(s.Time_Zone, QString::fromUtf8("ホノルル"));    // kept
    EXPECT_EQ(s.Position, "1");                               // kept
    EXPECT_EQ(s.Today_Color, "H000000FF");                    // added
    EXPECT_EQ(s.Offday_Font_Size, "11.25");                   // added
    EXPECT_EQ(s.Back_PicturePath, app.folder() + "/Sample/"); // added
    EXPECT_EQ(app.ctx().ReadSetting("SYSTEM", "VERSION"), "2.5.0");
    // Added keys join their own sections.
    const QString text = Cp932::decode(app.bytes("Tsukiban.ini"));
    EXPECT_LT(text.indexOf("Today_Color="), text.indexOf("[OPTION]"));
    EXPECT_GT(text.indexOf("StartMenu="), text.indexOf("[OPTION]"));
}

TEST(Startup, HelpFileAndNoteFolder) {
    TestApp app;
    app.writeBytes("Tsukiban.html", "help");
    app.writeBytes("Fusen", "a plain file of that name");
    EXPECT_EQ(RunStartup(app.ctx()), StartupOutcome::ShowCalendar);
    EXPECT_EQ(app.ctx().helpFilePath, app.path("Tsukiban.html"));
    EXPECT_EQ(app.bytes("Fusen"), "a plain file of that name"); // left as it is
    EXPECT_TRUE(app.prompts.shown().empty());

    // The note folder cannot be made: reported once, start-up goes on.
    ProgramPaths paths = ProgramPaths::forFolder(app.folder());
    paths.noteFolderPath = app.path("Fusen/inner/");
    FakePrompts prompts;
    AppContext ctx(paths, prompts, app.clock);
    EXPECT_EQ(RunStartup(ctx), StartupOutcome::ShowCalendar);
    EXPECT_EQ(prompts.texts(),
              QStringList{QString::fromUtf8("付箋フォルダが作成できませんでした。\r\n") + paths.noteFolderPath});
}

TEST(Startup, ReadOnlyProgramFolderKeepsItsFilesInTheUserDataFolder) {
    QTemporaryDir data, program;
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
    const ProgramPaths paths = ProgramPaths::forFolder(program.path(), [](const QString &) { return false; });
    qputenv("XDG_DATA_HOME", saved);
    EXPECT_EQ(paths.settingsFilePath, data.path() + "/tsukiban/Tsukiban.ini");
    EXPECT_EQ(paths.dataFilePath, data.path() + "/tsukiban/Tsukiban.tdb");
    EXPECT_EQ(paths.noteFolderPath, data.path() + "/tsukiban/Fusen/");
    EXPECT_EQ(paths.helpFilePath, program.path() + "/Tsukiban.html");
    // Installed: the manual under share/doc when none stands beside the executable.
    QTemporaryDir prefix;
    ASSERT_TRUE(QDir(prefix.path()).mkpath("bin") && QDir(prefix.path()).mkpath("share/doc/tsukiban"));
    QFile manual(prefix.path() + "/share/doc/tsukiban/Tsukiban.html");
    ASSERT_TRUE(manual.open(QIODevice::WriteOnly));
    manual.close();
    EXPECT_EQ(ProgramPaths::forFolder(prefix.path() + "/bin", [](const QString &) { return false; }).helpFilePath,
              prefix.path() + "/share/doc/tsukiban/Tsukiban.html");
    EXPECT_TRUE(QFileInfo(data.path() + "/tsukiban").isDir());

    // Without an injected check: a program folder path that is a plain file cannot hold files.
    const QString plain = program.filePath("plain");
    QFile(plain).open(QIODevice::WriteOnly);
    qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
    EXPECT_EQ(ProgramPaths::forFolder(plain).dataFolder, data.path() + "/tsukiban");
    qputenv("XDG_DATA_HOME", saved);
    EXPECT_EQ(ProgramPaths::forFolder(program.path()).dataFolder, program.path());
}

TEST(Startup, AnUnreadableSettingsFileIsNoOldVersion) {
    TestApp app;
    ASSERT_TRUE(QDir(app.folder()).mkdir("Tsukiban.ini")); // exists, cannot be read
    EXPECT_EQ(RunStartup(app.ctx()), StartupOutcome::ShowCalendar);
    EXPECT_EQ(app.prompts.texts(),
              QStringList{QString::fromUtf8("ファイルを読み込めませんでした。\r\n") + app.path("Tsukiban.ini")});
    EXPECT_TRUE(QDir(app.path("Tsukiban.ini")).isEmpty());
    // The run goes on with the defaults.
    LoadSettings(app.ctx().settingsStore(), app.ctx().settings);
    EXPECT_EQ(app.ctx().settings.Title_Font_Color, "H808080");
    EXPECT_EQ(app.ctx().settings.Back_PicturePath, app.folder() + "/Sample/");
}

TEST(Startup, ACurrentFileThatLacksKeysGetsThemWithoutAQuestion) {
    TestApp app;
    app.writeBytes("Tsukiban.ini", "[SYSTEM]\r\nVERSION=2.5.0\r\n[FONT]\r\nTitle_Font_Color=H123456\r\nRokuyo=\r\n");
    LoadSettings(app.ctx().settingsStore(), app.ctx().settings);
    EXPECT_EQ(app.ctx().settings.Weekday_Font_Color, "H808080"); // a missing key reads as its default
    EXPECT_EQ(app.ctx().settings.Rokuyo, "");                    // a present one as it is
    EXPECT_EQ(RunStartup(app.ctx()), StartupOutcome::ShowCalendar);
    EXPECT_TRUE(app.prompts.shown().empty());
    const QStringList lines = Cp932::decode(app.bytes("Tsukiban.ini")).split("\r\n", Qt::SkipEmptyParts);
    EXPECT_EQ(lines.filter("=").size(), 77);
    EXPECT_TRUE(lines.contains("Title_Font_Color=H123456"));
    EXPECT_TRUE(lines.contains("Rokuyo="));
    EXPECT_TRUE(lines.contains("Today_Color=H000000FF"));
}

TEST(Startup, LeftoversOfKilledSavesAreRemovedAndNothingElse) {
    TestApp app;
    ASSERT_TRUE(QDir(app.folder()).mkdir("Fusen"));
    const QDateTime old = QDateTime::currentDateTime().addSecs(-60);
    const struct {
        const char *name;
        bool removed;
        QDateTime modified;
    } cases[] = {
        {".Tsukiban.tdb.tsukiban-save-0123456789ab", true, old},
        {".Tsukiban.ini.tsukiban-save-a1b2c3d4e5f6", true, old},
        {"Fusen/.付箋20261207_090000.rtf.tsukiban-save-00000000ffff", true, old},
        // The user's own copies, whatever they look like.
        {"Tsukiban.tdb.backup", false, old},
        {"Tsukiban.tdb.Ab3xYz", false, old},
        {"Tsukiban.ini.000000", false, old},
        {"Tsukiban.tdb.bak", false, old},
        {"Fusen/memo.rtf.bak123", false, old},
        {"Fusen/付箋20261207_090000.rtf.QwErTy", false, old},
        {".Tsukiban.tdb.tsukiban-save-0123456789AB", false, old}, // not a name a save gives
        {".Tsukiban.tdb.tsukiban-save-0123456789abc", false, old},
        {".Tsukiban.tdb.tsukiban-save-a1b2c3d4e5f7", false, QDateTime::currentDateTime().addSecs(60)}, // this run's
    };
    for (const auto &c : cases) {
        app.writeBytes(QString::fromUtf8(c.name), "[PROGRAM]\r\n");
        QFile f(app.path(QString::fromUtf8(c.name)));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(c.modified, QFileDevice::FileModificationTime));
    }
    const QString link = app.path(".Tsukiban.ini.tsukiban-save-0000000000aa");
    ASSERT_TRUE(QFile::link(app.path("Tsukiban.tdb.backup"), link));
    EXPECT_EQ(RunStartup(app.ctx()), StartupOutcome::ShowCalendar);
    for (const auto &c : cases) EXPECT_EQ(QFile::exists(app.path(QString::fromUtf8(c.name))), !c.removed) << c.name;
    EXPECT_TRUE(QFileInfo(link).isSymLink()); // only plain files of ours
}

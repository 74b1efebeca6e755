#include "DiskFull.h"
#include "TestApp.h"
#include "core/notes/NoteStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

const QDateTime kNow(QDate(2006, 11, 25), QTime(9, 30, 15));

QString noteFolder(TestApp &app) {
    return app.ctx().paths().noteFolderPath;
}

void makeNoteFolder(TestApp &app) {
    ASSERT_TRUE(QDir().mkpath(noteFolder(app)));
}

void writeNoteFile(TestApp &app, const QString &name, const QByteArray &bytes = "{\\rtf1 x}") {
    QFile file(noteFolder(app) + name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << name.toStdString();
    file.write(bytes);
}

QByteArray settingsBytes(TestApp &app) {
    QFile file(app.ctx().paths().settingsFilePath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every key with a value of its own, as the editor writes them.
NoteSettings fullSettings() {
    NoteSettings s;
    s.Fusen_Font_Name = QStringLiteral("ＭＳ ゴシック");
    s.Fusen_Font_Size = "11.25";
    s.Fusen_Font_Italic = "False";
    s.Fusen_Font_Bold = "True";
    s.Fusen_Font_Color = "H0";
    s.Fusen_Font_UnderLine = "False";
    s.Fusen_Font_Strikethrough = "True";
    s.Fusen_Back_Color = "H80FFFF";
    s.Fusen_Top = "1800";
    s.Fusen_Left = "2412.5";
    s.Fusen_Height = "1500";
    s.Fusen_Width = "2400";
    s.Fusen_Disp = "1";
    s.Fusen_Form_Height = "3600";
    s.Fusen_Form_Width = "4800";
    s.Fusen_Disp_Position = "True";
    s.Fusen_Folder_Color = QStringLiteral("緑色");
    return s;
}

} // namespace

TEST(NoteStore, NamesANewNoteByTheSecond) {
    TestApp app;
    makeNoteFolder(app);
    NoteStore &store = app.ctx().notes();
    EXPECT_EQ(store.newNoteName(kNow), QStringLiteral("付箋20061125_093015.rtf"));
    EXPECT_EQ(store.filePath(QStringLiteral("付箋20061125_093015.rtf")),
              noteFolder(app) + QStringLiteral("付箋20061125_093015.rtf"));
}

TEST(NoteStore, NumbersANameTakenWithinTheSameSecond) {
    {
        TestApp app;
        makeNoteFolder(app);
        writeNoteFile(app, QStringLiteral("付箋20061125_093015.rtf"));
        EXPECT_EQ(app.ctx().notes().newNoteName(kNow), QStringLiteral("付箋20061125_093015_2.rtf"));
    }
    {
        // A section left without its file takes the name as well.
        TestApp app;
        makeNoteFolder(app);
        ASSERT_TRUE(app.ctx().WriteSetting(QStringLiteral("付箋20061125_093015.rtf"), "Fusen_Top", "1500"));
        EXPECT_EQ(app.ctx().notes().newNoteName(kNow), QStringLiteral("付箋20061125_093015_2.rtf"));
    }
    {
        TestApp app;
        makeNoteFolder(app);
        writeNoteFile(app, QStringLiteral("付箋20061125_093015.rtf"));
        ASSERT_TRUE(app.ctx().WriteSetting(QStringLiteral("付箋20061125_093015_2.rtf"), "Fusen_Top", "1500"));
        EXPECT_EQ(app.ctx().notes().newNoteName(kNow), QStringLiteral("付箋20061125_093015_3.rtf"));
    }
}

TEST(NoteStore, ShowsNothingFromAnEmptyFolderAndWritesNothing) {
    TestApp app;
    makeNoteFolder(app);
    EXPECT_TRUE(app.ctx().notes().notesToShow().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(app.ctx().paths().settingsFilePath));
    EXPECT_TRUE(app.prompts.shown().empty());
}

TEST(NoteStore, ShowsTheFilesWhoseSectionPlacesThem) {
    TestApp app;
    makeNoteFolder(app);
    for (const char *name : {"c.rtf", "a.rtf", "b.rtf", "d.rtf"}) writeNoteFile(app, name);
    ASSERT_TRUE(QDir().mkpath(noteFolder(app) + "e.rtf")); // a folder is no note
    ASSERT_TRUE(app.ctx().WriteSettings({
        {"c.rtf", "Fusen_Top", "1500"},
        {"a.rtf", "Fusen_Top", "1500"},
        {"d.rtf", "Fusen_Top", ""}, // placed nowhere
        {"d.rtf", "Fusen_Left", "300"},
        {"e.rtf", "Fusen_Top", "1500"},
        {"f.rtf", "Fusen_Top", "1500"}, // no file
    }));
    EXPECT_EQ(app.ctx().notes().notesToShow(), QStringList({"a.rtf", "c.rtf"}));

    TestApp two;
    makeNoteFolder(two);
    writeNoteFile(two, "a.rtf");
    writeNoteFile(two, "b.rtf");
    ASSERT_TRUE(two.ctx().WriteSetting("a.rtf", "Fusen_Top", "1500"));
    EXPECT_EQ(two.ctx().notes().notesToShow(), QStringList({"a.rtf"}));
}

TEST(NoteStore, WritesAllSeventeenKeysInOrderAndReadsThemBack) {
    TestApp app;
    NoteStore &store = app.ctx().notes();
    const QString name = QStringLiteral("付箋20061125_093015.rtf");
    ASSERT_TRUE(store.writeAll(name, fullSettings()));
    EXPECT_EQ(settingsBytes(app), Sjis("[付箋20061125_093015.rtf]\r\n"
                                       "Fusen_Font_Name=ＭＳ ゴシック\r\n"
                                       "Fusen_Font_Size=11.25\r\n"
                                       "Fusen_Font_Italic=False\r\n"
                                       "Fusen_Font_Bold=True\r\n"
                                       "Fusen_Font_Color=H0\r\n"
                                       "Fusen_Font_UnderLine=False\r\n"
                                       "Fusen_Font_Strikethrough=True\r\n"
                                       "Fusen_Back_Color=H80FFFF\r\n"
                                       "Fusen_Top=1800\r\n"
                                       "Fusen_Left=2412.5\r\n"
                                       "Fusen_Height=1500\r\n"
                                       "Fusen_Width=2400\r\n"
                                       "Fusen_Disp=1\r\n"
                                       "Fusen_Form_Height=3600\r\n"
                                       "Fusen_Form_Width=4800\r\n"
                                       "Fusen_Disp_Position=True\r\n"
                                       "Fusen_Folder_Color=緑色\r\n"));

    const NoteSettings editor = store.read(name, true);
    const NoteSettings expected = fullSettings();
    for (const NoteSettingKey &key : NoteSettingKeys()) EXPECT_EQ(editor.*key.member, expected.*key.member) << key.key;

    const NoteSettings window = store.read(name, false);
    for (const NoteSettingKey &key : NoteSettingKeys()) {
        if (key.editorOnly)
            EXPECT_EQ(window.*key.member, QString()) << key.key;
        else
            EXPECT_EQ(window.*key.member, expected.*key.member) << key.key;
    }
}

TEST(NoteStore, ReadsAnEmptyDispAsExpanded) {
    TestApp app;
    NoteStore &store = app.ctx().notes();
    ASSERT_TRUE(app.ctx().WriteSettings({{"a.rtf", "Fusen_Top", "1500"}, {"a.rtf", "Fusen_Disp", ""}}));
    for (bool editorForm : {true, false}) {
        EXPECT_EQ(store.read("a.rtf", editorForm).Fusen_Disp, "0");
        EXPECT_FALSE(store.read("a.rtf", editorForm).collapsed());
        EXPECT_EQ(store.read("none.rtf", editorForm).Fusen_Disp, "0");
    }
}

TEST(NoteStore, StoresWhiteAsHffffffAndReadsItBack) {
    TestApp app;
    NoteStore &store = app.ctx().notes();
    NoteSettings settings;
    settings.setBackColor(Qt::white);
    settings.setFontColor(Qt::black);
    ASSERT_TRUE(store.writeAll("a.rtf", settings));
    EXPECT_EQ(app.ctx().ReadSetting("a.rtf", "Fusen_Back_Color"), "HFFFFFF");
    EXPECT_EQ(app.ctx().ReadSetting("a.rtf", "Fusen_Font_Color"), "H0");
    EXPECT_EQ(store.read("a.rtf", false).backColor(), QColor(Qt::white));
    EXPECT_EQ(store.read("a.rtf", false).fontColor(), QColor(Qt::black));
}

TEST(NoteStore, WritesThePlaceAndSingleKeys) {
    TestApp app;
    NoteStore &store = app.ctx().notes();
    ASSERT_TRUE(store.writeAll("a.rtf", fullSettings()));
    ASSERT_TRUE(store.writePlace("a.rtf", QPoint(2412, 1800), "0"));
    ASSERT_TRUE(store.writeKey("a.rtf", "Fusen_Disp_Position", "False"));
    const NoteSettings s = store.read("a.rtf", true);
    EXPECT_EQ(s.Fusen_Left, "2412");
    EXPECT_EQ(s.Fusen_Top, "1800");
    EXPECT_EQ(s.Fusen_Disp, "0");
    EXPECT_FALSE(s.fixed());
    EXPECT_EQ(s.Fusen_Form_Width, "4800"); // untouched
    EXPECT_EQ(settingsBytes(app).count("[a.rtf]"), 1);
}

TEST(NoteStore, RemovesTheWholeSection) {
    TestApp app;
    NoteStore &store = app.ctx().notes();
    ASSERT_TRUE(store.writeAll("a.rtf", fullSettings()));
    ASSERT_TRUE(store.writeAll("b.rtf", fullSettings()));
    ASSERT_TRUE(store.removeSettings("a.rtf"));
    EXPECT_FALSE(app.ctx().settingsFile().hasSection("a.rtf"));
    EXPECT_TRUE(app.ctx().settingsFile().hasSection("b.rtf"));
}

TEST(NoteStore, SavingTwiceKeepsOneFileAndOneSection) {
    TestApp app;
    makeNoteFolder(app);
    NoteStore &store = app.ctx().notes();
    QSignalSpy saved(&store, &NoteStore::noteSaved);
    const QString name = store.newNoteName(kNow);
    NoteSettings settings = fullSettings();
    ASSERT_TRUE(store.saveNote(name, "{\\rtf1 first}", settings));
    settings.Fusen_Top = "3000";
    ASSERT_TRUE(store.saveNote(name, "{\\rtf1 second}", settings));

    EXPECT_EQ(QDir(noteFolder(app)).entryList(QDir::Files | QDir::Hidden), QStringList({name}));
    QFile file(store.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "{\\rtf1 second}");
    const QByteArray ini = settingsBytes(app);
    EXPECT_EQ(ini.count(Sjis("[付箋20061125_093015.rtf]")), 1);
    EXPECT_EQ(ini.count("Fusen_Top="), 1);
    EXPECT_EQ(store.read(name, true).Fusen_Top, "3000");
    ASSERT_EQ(saved.count(), 2);
    EXPECT_EQ(saved.at(1).at(0).toString(), name);
    EXPECT_EQ(store.notesToShow(), QStringList({name}));
    EXPECT_TRUE(app.prompts.shown().empty());
}

TEST(NoteStore, WritesNoSettingsWhenTheFileCannotBeSaved) {
    // The note folder is a plain file.
    TestApp app;
    const QString folder = noteFolder(app);
    app.writeBytes(QFileInfo(folder.chopped(1)).fileName(), "not a folder");
    ASSERT_TRUE(QFileInfo(folder.chopped(1)).isFile());
    NoteStore &store = app.ctx().notes();
    QSignalSpy saved(&store, &NoteStore::noteSaved);
    EXPECT_FALSE(store.saveNote("a.rtf", "{\\rtf1 x}", fullSettings()));
    EXPECT_EQ(app.prompts.texts(), QStringList({QStringLiteral("ファイルを保存できませんでした。\r\n") +
                                                QDir::toNativeSeparators(folder + "a.rtf")}));
    EXPECT_FALSE(app.ctx().settingsFile().hasSection("a.rtf"));
    EXPECT_EQ(saved.count(), 0);
}

TEST(NoteStore, WritesNoSettingsOnAFullDisk) {
    TestApp app;
    makeNoteFolder(app);
    NoteStore &store = app.ctx().notes();
    {
        const DiskFull full;
        ASSERT_TRUE(full.active());
        EXPECT_FALSE(store.saveNote("a.rtf", "{\\rtf1 more than a few bytes}", fullSettings()));
    }
    // One message, the note's: the settings were never tried.
    EXPECT_EQ(app.prompts.texts(), QStringList({QStringLiteral("ファイルを保存できませんでした。\r\n") +
                                                QDir::toNativeSeparators(store.filePath("a.rtf"))}));
    EXPECT_FALSE(app.ctx().settingsFile().hasSection("a.rtf"));
    EXPECT_FALSE(QFileInfo::exists(store.filePath("a.rtf")));
    EXPECT_TRUE(QDir(noteFolder(app)).entryList(QDir::Files | QDir::Hidden).isEmpty()); // no temporary left
}

TEST(NoteStore, DeletesTheSectionAndTheFileWhenAsked) {
    TestApp app;
    makeNoteFolder(app);
    NoteStore &store = app.ctx().notes();
    QSignalSpy deleted(&store, &NoteStore::noteDeleted);
    ASSERT_TRUE(store.saveNote("a.rtf", "{\\rtf1 a}", fullSettings()));
    ASSERT_TRUE(store.saveNote("b.rtf", "{\\rtf1 b}", fullSettings()));

    EXPECT_TRUE(store.deleteNote("a.rtf", true));
    EXPECT_FALSE(QFileInfo::exists(store.filePath("a.rtf")));
    EXPECT_FALSE(app.ctx().settingsFile().hasSection("a.rtf"));

    EXPECT_TRUE(store.deleteNote("b.rtf", false));
    EXPECT_TRUE(QFileInfo::exists(store.filePath("b.rtf")));
    EXPECT_FALSE(app.ctx().settingsFile().hasSection("b.rtf"));

    // A note whose file is already gone.
    ASSERT_TRUE(store.writeAll("c.rtf", fullSettings()));
    EXPECT_TRUE(store.deleteNote("c.rtf", true));

    ASSERT_EQ(deleted.count(), 3);
    EXPECT_EQ(deleted.at(0).at(0).toString(), "a.rtf");
    EXPECT_EQ(deleted.at(1).at(0).toString(), "b.rtf");
    EXPECT_TRUE(store.notesToShow().isEmpty());
    EXPECT_TRUE(app.prompts.shown().empty());
}

TEST(NoteSettings, ConvertsItsTexts) {
    NoteSettings s = fullSettings();
    EXPECT_EQ(s.position(), QPoint(2412, 1800));
    EXPECT_EQ(s.textSize(), QSize(2400, 1500));
    EXPECT_EQ(s.formSize(), QSize(4800, 3600));
    EXPECT_TRUE(s.collapsed());
    EXPECT_TRUE(s.fixed());
    EXPECT_EQ(s.folderColor(), FolderColor::Green);
    EXPECT_EQ(s.backColor(), QColor(0xFF, 0xFF, 0x80)); // 0x00BBGGRR
    EXPECT_EQ(s.font().family(), QStringLiteral("ＭＳ ゴシック"));
    EXPECT_EQ(s.font().pointSizeF(), 11.25);
    EXPECT_TRUE(s.font().bold());
    EXPECT_TRUE(s.font().strikeOut());
    EXPECT_FALSE(s.font().italic());

    s.Fusen_Top.clear();
    EXPECT_EQ(s.position(), std::nullopt);
    s.Fusen_Top = "0";
    s.Fusen_Left.clear();
    EXPECT_EQ(s.position(), std::nullopt);

    s.setPosition(QPoint(2412, -300));
    EXPECT_EQ(s.Fusen_Left, "2412");
    EXPECT_EQ(s.Fusen_Top, "-300");
    s.setTextSize(QSize(1000, 2000));
    EXPECT_EQ(s.Fusen_Width, "1000");
    EXPECT_EQ(s.Fusen_Height, "2000");
    s.setCollapsed(false);
    EXPECT_EQ(s.Fusen_Disp, "0");
    s.setFixed(false);
    EXPECT_EQ(s.Fusen_Disp_Position, "False");
    s.Fusen_Disp_Position.clear();
    EXPECT_FALSE(s.fixed());

    // A hand-edited position far off stays a number, not an undefined conversion.
    s.Fusen_Left = "1E+30";
    ASSERT_TRUE(s.position());
    EXPECT_GT(s.position()->x(), 0);
}

TEST(NoteSettings, NamesTheFolderColoursBothWays) {
    const std::pair<FolderColor, const char *> cases[] = {
        {FolderColor::Blue, "青色"},  {FolderColor::Green, "緑色"}, {FolderColor::Purple, "紫色"},
        {FolderColor::Red, "赤色"},   {FolderColor::White, "白色"}, {FolderColor::Yellow, "黄色"},
        {FolderColor::Black, "黒色"},
    };
    for (const auto &[color, text] : cases) {
        EXPECT_EQ(FolderColorText(color), QString::fromUtf8(text));
        EXPECT_EQ(FolderColorFromText(QString::fromUtf8(text)), color) << text;
    }
    EXPECT_EQ(FolderColorFromText(""), std::nullopt);
    EXPECT_EQ(FolderColorFromText(QStringLiteral("茶色")), std::nullopt);
    NoteSettings s;
    s.setFolderColor(FolderColor::Yellow);
    EXPECT_EQ(s.Fusen_Folder_Color, QStringLiteral("黄色"));
}

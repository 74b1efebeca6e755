#include "TestApp.h"
#include "core/settings/SettingValues.h"
#include "core/settings/Settings.h"
#include "core/settings/SettingsModel.h"
#include "core/settings/SettingsStore.h"
#include "core/system/Cp932.h"
#include "core/system/Twips.h"
#include "core/view/BackgroundPicture.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

// The decoded lines of a file.
QStringList lines(const QByteArray &bytes) {
    QStringList list = Cp932::decode(bytes).split("\r\n");
    if (!list.isEmpty() && list.back().isEmpty()) list.pop_back();
    return list;
}

} // namespace

TEST(Settings, DefaultsAreTheSeventySevenKeysInOrder) {
    TestApp app;
    ASSERT_TRUE(WriteDefaultSettings(app.ctx().settingsStore()));
    const QStringList written = lines(app.bytes("Tsukiban.ini"));

    QStringList expected{"[SYSTEM]", "VERSION=2.5.0"};
    QString section = "SYSTEM";
    for (const SettingKey &k : SettingKeys()) {
        if (section != k.section) {
            section = k.section;
            expected << "[" + section + "]";
        }
        expected << QString(k.key) + "=" + DefaultSettingValue(app.ctx().paths(), k.key);
    }
    EXPECT_EQ(written, expected);
    EXPECT_EQ(written.filter("=").size(), 77);
    EXPECT_EQ(written.filter("[").size(), 6);

    // Japanese defaults are stored in code page 932; the machine-dependent ones follow the screen and the folder.
    const QByteArray bytes = app.bytes("Tsukiban.ini");
    EXPECT_TRUE(bytes.contains(Sjis("Time_Zone=東京，ソウル，平壌\r\n")));
    EXPECT_TRUE(bytes.contains(Sjis("Title_Format=yyyy年m月\r\nDay_Format=日本語\r\n")));
    EXPECT_TRUE(written.contains("Today_Color=H000000FF"));
    EXPECT_TRUE(written.contains("Frame_X=" + QString::number(PrimaryScreenTwips().width() / 2)));
    EXPECT_TRUE(written.contains("Back_PicturePath=" + app.folder() + "/Sample/"));
    EXPECT_TRUE(written.contains("Back_Picture="));
}

TEST(Settings, ValueForms) {
    const std::pair<const char *, quint32> colours[] = {
        {"H000000FF", 0xFF},
        {"H800000", 0x800000},
        {"HFF0000", 0xFF0000},
        {"H808080", 0x808080},
        {"hff", 0xFF},
        {"", 0},
        {"FF", 0},
        {"H12G4", 0x12},
        {"H123456789", 0x12345678},
        {" H2F2F2F ", 0x2F2F2F},
    };
    for (const auto &[text, value] : colours) EXPECT_EQ(ColorValue(text), value) << text;
    EXPECT_EQ(ColorText(0xFFFFFF), "HFFFFFF");
    EXPECT_EQ(ColorText(0xFF), "HFF");
    EXPECT_EQ(ColorFromText("H000000FF"), QColor(255, 0, 0)); // blue-green-red order
    EXPECT_EQ(ColorFromText("HFF0000"), QColor(0, 0, 255));
    EXPECT_EQ(ColorText(BgrFromColor(QColor(0x12, 0x34, 0x56))), "H563412");

    const std::pair<const char *, bool> flags[] = {{"True", true}, {"False", false}, {"TRUE", true}, {"false", false},
                                                   {"-1", true},   {"0", false},     {"", false},    {"yes", false}};
    for (const auto &[text, on] : flags) EXPECT_EQ(FontFlag(text), on) << text;
    EXPECT_EQ(FontFlagText(true), "True");

    const std::pair<const char *, double> numbers[] = {{"11.25", 11.25}, {"12", 12},       {"14400", 14400}, {"", 0},
                                                       {"abc", 0},       {" 1000 ", 1000}, {"-5.5x", -5.5}};
    for (const auto &[text, value] : numbers) EXPECT_DOUBLE_EQ(NumberValue(text), value) << text;
    const std::pair<double, const char *> singles[] = {{11.25, "11.25"}, {12, "12"}, {14400, "14400"}, {9.75, "9.75"}};
    for (const auto &[value, text] : singles) EXPECT_EQ(SingleText(value), text) << value;
}

TEST(Settings, LoadedAndSavedAgainIsWrittenUnchanged) {
    TestApp app;
    ASSERT_TRUE(WriteDefaultSettings(app.ctx().settingsStore()));
    // Hand edits in forms the program would not write itself.
    QByteArray bytes = app.bytes("Tsukiban.ini");
    bytes.replace("Rokuyo=1", "rokuyo = 0 ");
    bytes.replace("Title_Font_Size=12", "Title_Font_Size=\"12.0\"");
    bytes.replace("Frame_Y=1000", "; where the window was\r\nFrame_Y=1000");
    app.writeBytes("Tsukiban.ini", bytes);

    LoadSettings(app.ctx().settingsStore(), app.ctx().settings);
    EXPECT_EQ(app.ctx().settings.Rokuyo, "0");
    EXPECT_EQ(app.ctx().settings.Title_Font_Size, "12.0");
    EXPECT_EQ(app.ctx().settings.Time_Zone, QString::fromUtf8("東京，ソウル，平壌"));
    ASSERT_TRUE(SaveSettings(app.ctx().settingsStore(), app.ctx().settings, "ALL"));
    EXPECT_EQ(app.bytes("Tsukiban.ini"), bytes);
}

TEST(Settings, SaveWritesOnlyItsGroup) {
    const struct {
        const char *group;
        QStringList changedSections;
    } cases[] = {
        {"ALL", {"FONT", "BACK", "FRAME", "NOTE", "OPTION"}},
        {"Picture", {"BACK"}},
        {"Move", {"FRAME"}},
        {"move", {}},
        {"", {}},
    };
    for (const auto &c : cases) {
        TestApp app;
        ASSERT_TRUE(WriteDefaultSettings(app.ctx().settingsStore()));
        LoadSettings(app.ctx().settingsStore(), app.ctx().settings);
        for (const SettingKey &k : SettingKeys()) app.ctx().settings.*k.field = "changed";
        ASSERT_TRUE(SaveSettings(app.ctx().settingsStore(), app.ctx().settings, c.group));
        app.restart();
        for (const SettingKey &k : SettingKeys()) {
            const bool changed = app.ctx().ReadSetting(k.section, k.key) == "changed";
            EXPECT_EQ(changed, c.changedSections.contains(k.section)) << c.group << " " << k.key;
        }
        EXPECT_EQ(app.ctx().ReadSetting("SYSTEM", "VERSION"), "2.5.0");
    }
}

TEST(Settings, MissingKeysLoadAsTheirDefaults) {
    TestApp app;
    app.writeBytes("Tsukiban.ini", "[FONT]\r\nRokuyo=0\r\nTitle_Font_Color=\r\nTitle_Font_Bold\r\n");
    LoadSettings(app.ctx().settingsStore(), app.ctx().settings);
    EXPECT_EQ(app.ctx().settings.Rokuyo, "0");
    EXPECT_EQ(app.ctx().settings.Title_Font_Color, "");     // present, though empty
    EXPECT_EQ(app.ctx().settings.Title_Font_Bold, "False"); // a line without "=" holds no value
    EXPECT_EQ(app.ctx().settings.Title_Font_Size, "12");
    EXPECT_EQ(app.ctx().settings.Frame_X, DefaultSettingValue(app.ctx().paths(), "Frame_X"));
}

TEST(Settings, NumbersAreBroughtIntoTheirRange) {
    const struct {
        const char *text;
        double low, high, fallback, value;
    } cases[] = {
        {"11.25", 1, 200, 9, 11.25}, {"2000", 1, 200, 9, 200}, {"0", 1, 200, 9, 1},
        {"", 1, 200, 9, 9},          {"abc", 1, 200, 9, 9},    {"1e30", 0, 20000, 0, 20000},
        {"-1e30", 0, 20000, 0, 0},   {"1e999", 0, 5, 0, 5},    {"1.5E+03", 0, 5000, 0, 1500},
        {"1e-999", -5, 5, 3, 0},     {"9", 1, 7, 1, 7},        {"3", 1, 7, 1, 3},
        {"1e", 0, 5, 0, 1},          {"-", 0, 5, 4, 4},
    };
    for (const auto &c : cases) EXPECT_DOUBLE_EQ(SettingNumber(c.text, c.low, c.high, c.fallback), c.value) << c.text;
    EXPECT_EQ(StartDayValue("9"), 7);
    EXPECT_EQ(StartDayValue(""), 1);
    // Sizes a month calendar can use: 300 points made a window of 5,621 x 4,899 pixels.
    for (const auto &[text, points] : {std::pair{"2000", 72.0}, {"300", 72.0}, {"72", 72.0}, {"11.25", 11.25},
                                       {"6", 6.0}, {"2", 6.0}, {"0", 6.0}, {"", 9.0}})
        EXPECT_DOUBLE_EQ(FontPoints(text), points) << text;
    EXPECT_EQ(StoredPosition("1e30", "-1e30", QRect(-1000, 0, 30000, 20000)), QPoint(28999, 0));
}

TEST(Settings, AValueTheFileCannotHoldIsRefusedAndTheFileKept) {
    TestApp app;
    ASSERT_TRUE(WriteDefaultSettings(app.ctx().settingsStore()));
    const QByteArray before = app.bytes("Tsukiban.ini");
    LoadSettings(app.ctx().settingsStore(), app.ctx().settings);
    app.ctx().settings.Back_Picture = QString::fromUtf8("/home/josé/写真–Ü.jpg");
    app.ctx().settings.Frame_X = "100";
    EXPECT_FALSE(SaveSettings(app.ctx().settingsStore(), app.ctx().settings, "ALL"));
    EXPECT_EQ(app.prompts.texts(), QStringList{QString::fromUtf8("保存できない文字が含まれています。\r\né–Ü")});
    EXPECT_EQ(app.bytes("Tsukiban.ini"), before);
}

TEST(Settings, TheSampleFolderOfAProgramFolderCodePage932CannotName) {
    TestApp app;
    const QString program = app.path(QString::fromUtf8("run-josé"));
    ASSERT_TRUE(QDir().mkpath(program + "/Sample"));
    app.writeBytes(QString::fromUtf8("run-josé/Sample/Sample1.jpg"), "a picture");

    FakePrompts prompts;
    AppContext ctx(ProgramPaths::forFolder(program), prompts, app.clock);
    ASSERT_TRUE(WriteDefaultSettings(ctx.settingsStore()));
    EXPECT_TRUE(prompts.shown().empty());
    AppContext again(ProgramPaths::forFolder(program), prompts, app.clock); // the second start
    again.settings.load();
    EXPECT_EQ(again.settings.Back_PicturePath, "Sample/");
    EXPECT_EQ(PictureFilePath(again.settings, program), program + "/Sample/Sample1.jpg");
}

TEST(Settings, EachKeyHasItsOwnRuleForOn) {
    TestApp app;
    SettingsModel &s = app.ctx().settings;
    const struct {
        QString Settings::*field;
        const char *text;
        bool on;
    } cases[] = {
        {&Settings::Back_Style, "1", true},
        {&Settings::Back_Style, "2", false},
        {&Settings::Back_Style, "", false},
        {&Settings::Rokuyo, "0", false},
        {&Settings::Frame_Style, "", true},
        {&Settings::Frame_Style, "0", false}, // anything but "0"
        {&Settings::Frame_Conner, "2", true},
        {&Settings::Position, "1", true},
        {&Settings::Position, "0", false},
        {&Settings::Disp_Quit_Button, "", true},
        {&Settings::Title_Font_Bold, "TRUE", true},
        {&Settings::Title_Font_Bold, "-1", true},
        {&Settings::Title_Font_Bold, "False", false},
    };
    for (const auto &c : cases) {
        s.*c.field = c.text;
        EXPECT_EQ(s.on(c.field), c.on) << c.text;
    }
    s.Title_Font_Size = "2000";
    s.Title_Font_Bold = "True";
    s.Weekday_Font_Bold = "True";
    EXPECT_EQ(s.font(TextClass::Title).pointSizeF(), 72.0);
    EXPECT_TRUE(s.font(TextClass::Title).bold());
    EXPECT_FALSE(s.font(TextClass::Weekday).bold()); // in the grid, bold marks a memo
    s.Disp_Mode_ToolBar = "5";
    EXPECT_FALSE(s.toolbarMode().has_value());
    s.Disp_Mode_ToolBar = "1";
    EXPECT_EQ(s.toolbarMode(), ToolbarMode::Custom);
}

TEST(Settings, AChangeIsWrittenAndToldOrPutBack) {
    TestApp app;
    ASSERT_TRUE(WriteDefaultSettings(app.ctx().settingsStore()));
    SettingsModel &s = app.ctx().settings;
    s.load();
    std::vector<SettingsGroup> told;
    QObject::connect(&s, &SettingsModel::changed, [&told](SettingsGroup g) { told.push_back(g); });
    EXPECT_TRUE(s.change(SettingsGroup::Move, [](Settings &r) { r.Frame_X = "3000"; }));
    EXPECT_EQ(IniFile(app.path("Tsukiban.ini")).read("FRAME", "Frame_X"), "3000");
    EXPECT_FALSE(s.change(SettingsGroup::Picture, [](Settings &r) {
        r.Back_PicturePath = QString::fromUtf8("/josé/");
        r.Back_PictureShowName = "b.jpg";
    }));
    EXPECT_EQ(s.Back_PictureShowName, "Sample1.jpg"); // put back
    EXPECT_EQ(told, std::vector<SettingsGroup>{SettingsGroup::Move});
}

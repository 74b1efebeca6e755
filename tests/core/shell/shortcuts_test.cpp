#include "FakePrompts.h"
#include "core/shell/FolderChoice.h"
#include "core/shell/ProgramShortcuts.h"
#include "core/shell/ShortcutSettings.h"
#include "core/system/ProgramPaths.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>
#include <ostream>

// Failures show the text, not its UTF-16 units.
void PrintTo(const QString &text, std::ostream *os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

const QString kFileName = QString::fromUtf8("ツキバン.desktop");
const QFileDevice::Permissions kModes = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                        QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                                        QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
// rwxr-xr-x
const QFileDevice::Permissions kLauncherModes = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                QFileDevice::ExeOwner | QFileDevice::ReadGroup | QFileDevice::ExeGroup |
                                                QFileDevice::ReadOther | QFileDevice::ExeOther;

// Every test gets a home of its own; the user's real folders are never touched.
class Shortcuts : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char *name : kVariables) {
            m_saved.push_back(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
        }
        ASSERT_TRUE(m_root.isValid());
        m_home = m_root.path() + "/home";
        ASSERT_TRUE(QDir().mkpath(m_home));
        qputenv("HOME", QFile::encodeName(m_home));
        qunsetenv("XDG_CONFIG_HOME");
        qunsetenv("XDG_DATA_HOME");
        // The machine's own menu (a package installed here) stays out of the tests.
        qputenv("XDG_DATA_DIRS", QFile::encodeName(outside("system")));
    }

    void TearDown() override {
        for (size_t i = 0; i < std::size(kVariables); ++i) {
            if (m_saved[i])
                qputenv(kVariables[i], *m_saved[i]);
            else
                qunsetenv(kVariables[i]);
        }
    }

    // A folder beside the home, for the XDG variables.
    QString outside(const QString &name) const { return m_root.path() + '/' + name; }

    // Every file and folder under the temporary root.
    QStringList everything() const {
        QStringList found;
        QDirIterator it(m_root.path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) found << it.next();
        found.sort();
        return found;
    }

    static void writeFile(const QString &path, const QByteArray &bytes) {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    static QByteArray readFile(const QString &path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // The Exec line of a launcher written to the applications menu.
    static QString execLine(const QString &executable) {
        if (!AddProgramShortcut("PROGRAMS", {executable, "tsukiban"})) return "<not written>";
        const QString path = ShortcutFolder("PROGRAMS") + '/' + kFileName;
        const QStringList lines = QString::fromUtf8(readFile(path)).split('\n');
        QFile::remove(path);
        for (const QString &line : lines) {
            if (line.startsWith("Exec=")) return line;
        }
        return "<no Exec>";
    }

    static constexpr const char *kVariables[] = {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_DATA_DIRS"};
    std::vector<std::optional<QByteArray>> m_saved;
    QTemporaryDir m_root;
    QString m_home;
};

TEST_F(Shortcuts, FolderOfEachLocation) {
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(outside("config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(outside("data")));
    const struct {
        QString location;
        QString folder;
    } cases[] = {
        {"DESKTOP", m_home + "/Desktop"},
        {"desktop", m_home + "/Desktop"},
        {"STARTUP", outside("config/autostart")},
        {"Startup", outside("config/autostart")},
        {"PROGRAMS", outside("data/applications")},
        {"STARTMENU", outside("data/applications")},
        {"startmenu", outside("data/applications")},
    };
    for (const auto &c : cases) {
        const std::string name = c.location.toStdString();
        EXPECT_EQ(ShortcutFolder(c.location), c.folder) << name;
        const QString path = c.folder + '/' + kFileName;
        ASSERT_TRUE(AddProgramShortcut(c.location, {"/usr/bin/tsukiban", "tsukiban"})) << name;
        ASSERT_TRUE(QFileInfo::exists(path)) << name;
        // Launchers on some desktops start only when executable.
        const QFileDevice::Permissions modes = QFileInfo(path).permissions() & kModes;
        EXPECT_EQ(modes, kLauncherModes) << name;
        EXPECT_TRUE(RemoveProgramShortcut(c.location, {"/usr/bin/tsukiban", "tsukiban"})) << name;
        EXPECT_FALSE(QFileInfo::exists(path)) << name;
    }
}

TEST_F(Shortcuts, DefaultsUnderTheHome) {
    EXPECT_EQ(ShortcutFolder("STARTUP"), m_home + "/.config/autostart");
    EXPECT_EQ(ShortcutFolder("PROGRAMS"), m_home + "/.local/share/applications");
    // An empty or relative XDG variable is ignored.
    for (const QByteArray &value : {QByteArray(""), QByteArray("relative/place")}) {
        qputenv("XDG_CONFIG_HOME", value);
        qputenv("XDG_DATA_HOME", value);
        EXPECT_EQ(ShortcutFolder("STARTUP"), m_home + "/.config/autostart") << value.toStdString();
        EXPECT_EQ(ShortcutFolder("STARTMENU"), m_home + "/.local/share/applications") << value.toStdString();
    }
}

TEST_F(Shortcuts, AddingTwiceLeavesTheFirstLauncher) {
    ASSERT_TRUE(AddProgramShortcut("desktop", {"/usr/bin/tsukiban", "tsukiban"}));
    const QString path = m_home + "/Desktop/" + kFileName;
    const QByteArray first = readFile(path);
    const QDateTime written = QFileInfo(path).lastModified();
    ASSERT_FALSE(first.isEmpty());

    // Another target through the other spelling: the same file, left as it was.
    EXPECT_TRUE(AddProgramShortcut("DESKTOP", {"/opt/other/tsukiban", "other"}));
    EXPECT_EQ(readFile(path), first);
    EXPECT_EQ(QFileInfo(path).lastModified(), written);
    EXPECT_EQ(QDir(m_home + "/Desktop").entryList(QDir::Files | QDir::Hidden), QStringList{kFileName});
}

TEST_F(Shortcuts, RemoveWhereThereIsNoneCreatesNothing) {
    for (const QString location : {"DESKTOP", "STARTUP", "PROGRAMS", "STARTMENU"}) {
        EXPECT_TRUE(RemoveProgramShortcut(location, {"/usr/bin/tsukiban", "tsukiban"})) << location.toStdString();
    }
    EXPECT_EQ(everything(), QStringList{m_home});
}

TEST_F(Shortcuts, RemoveAfterAdd) {
    ASSERT_TRUE(AddProgramShortcut("STARTUP", {"/usr/bin/tsukiban", "tsukiban"}));
    const QString path = m_home + "/.config/autostart/" + kFileName;
    ASSERT_TRUE(QFileInfo::exists(path));
    EXPECT_TRUE(RemoveProgramShortcut("startup", {"/usr/bin/tsukiban", "tsukiban"}));
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_TRUE(RemoveProgramShortcut("STARTUP", {"/usr/bin/tsukiban", "tsukiban"}));
}

TEST_F(Shortcuts, OtherLocationsAreRefused) {
    // Launchers already in every known folder must survive a refused removal.
    for (const QString location : {"DESKTOP", "STARTUP", "PROGRAMS"}) {
        ASSERT_TRUE(AddProgramShortcut(location, {"/usr/bin/tsukiban", "tsukiban"}));
    }
    const QStringList before = everything();
    for (const QString location :
         {"FAVORITES", "", "SENDTO", "FONTS", "MYDOCUMENTS", "RECENT", "DESK TOP", " DESKTOP", "APPDATA"}) {
        const std::string name = '"' + location.toStdString() + '"';
        EXPECT_TRUE(ShortcutFolder(location).isEmpty()) << name;
        EXPECT_FALSE(AddProgramShortcut(location, {"/usr/bin/tsukiban", "tsukiban"})) << name;
        EXPECT_FALSE(RemoveProgramShortcut(location, {"/usr/bin/tsukiban", "tsukiban"})) << name;
    }
    EXPECT_EQ(everything(), before);
}

TEST_F(Shortcuts, DesktopFolderFromUserDirs) {
    const QString elsewhere = outside("his desk");
    const struct {
        QString name;
        std::optional<QByteArray> userDirs;
        QString folder;
    } cases[] = {
        {"no file", std::nullopt, m_home + "/Desktop"},
        {"home relative", "XDG_DESKTOP_DIR=\"$HOME/デスクトップ\"\n", m_home + "/デスクトップ"},
        {"absolute", "XDG_DESKTOP_DIR=\"" + QFile::encodeName(elsewhere) + "\"\n", elsewhere},
        {"among others",
         "# This file is written by xdg-user-dirs-update\n"
         "XDG_DOWNLOAD_DIR=\"$HOME/ダウンロード\"\n"
         "  XDG_DESKTOP_DIR=\"$HOME/机の上\"  \n"
         "XDG_MUSIC_DIR=\"$HOME/Music\"\n",
         m_home + "/机の上"},
        {"comment only", "# XDG_DESKTOP_DIR=\"$HOME/Old\"\n", m_home + "/Desktop"},
        {"the home itself", "XDG_DESKTOP_DIR=\"$HOME/\"\n", m_home + "/Desktop"},
        {"relative value", "XDG_DESKTOP_DIR=\"Desk\"\n", m_home + "/Desktop"},
        {"escaped quote", "XDG_DESKTOP_DIR=\"$HOME/a\\\"b\"\n", m_home + "/a\"b"},
        {"last one wins", "XDG_DESKTOP_DIR=\"$HOME/First\"\nXDG_DESKTOP_DIR=\"$HOME/Second\"\n", m_home + "/Second"},
    };
    const QString userDirsPath = m_home + "/.config/user-dirs.dirs";
    for (const auto &c : cases) {
        const std::string name = c.name.toStdString();
        QFile::remove(userDirsPath);
        if (c.userDirs) writeFile(userDirsPath, *c.userDirs);
        EXPECT_EQ(ShortcutFolder("DESKTOP"), c.folder) << name;
    }
}

TEST_F(Shortcuts, LauncherLandsInTheNamedDesktop) {
    writeFile(m_home + "/.config/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/デスクトップ\"\n");
    ASSERT_TRUE(AddProgramShortcut("DESKTOP", {"/usr/bin/tsukiban", "tsukiban"}));
    EXPECT_TRUE(QFileInfo::exists(m_home + "/デスクトップ/" + kFileName));
    EXPECT_FALSE(QFileInfo::exists(m_home + "/Desktop"));
}

TEST_F(Shortcuts, RelativeConfigHomeIsIgnored) {
    writeFile(m_home + "/.config/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/デスクトップ\"\n");
    qputenv("XDG_CONFIG_HOME", "tsukiban-no-such-config");
    EXPECT_EQ(ShortcutFolder("DESKTOP"), m_home + "/デスクトップ");
    EXPECT_EQ(ShortcutFolder("STARTUP"), m_home + "/.config/autostart");
}

TEST_F(Shortcuts, WholeFile) {
    ASSERT_TRUE(AddProgramShortcut("PROGRAMS", {"/usr/bin/tsukiban", "/usr/share/icons/tsukiban.png"}));
    EXPECT_EQ(readFile(m_home + "/.local/share/applications/" + kFileName),
              QByteArray("[Desktop Entry]\n"
                         "Type=Application\n"
                         "Name=ツキバン\n"
                         "Comment=デスクトップの月めくりカレンダー\n"
                         "TryExec=/usr/bin/tsukiban\n"
                         "Exec=/usr/bin/tsukiban\n"
                         "Icon=/usr/share/icons/tsukiban.png\n"
                         "Terminal=false\n"
                         "Categories=Utility;Calendar;\n"));
}

TEST_F(Shortcuts, ExecQuoting) {
    const struct {
        QString executable;
        QString line;
    } cases[] = {
        {"/usr/bin/tsukiban", "Exec=/usr/bin/tsukiban"},
        {"/tmp/x/マイ プログラム/tsukiban", "Exec=\"/tmp/x/マイ プログラム/tsukiban\""},
        // Quoting escapes $ and \ with a backslash, and the file format doubles every backslash again.
        {R"(/opt/a$b\c/tsukiban)", R"(Exec="/opt/a\\$b\\\\c/tsukiban")"},
        {R"(/opt/say "hi"/tsukiban)", R"(Exec="/opt/say \\"hi\\"/tsukiban")"},
        {"/opt/a`b/tsukiban", R"(Exec="/opt/a\\`b/tsukiban")"},
        {"/opt/it's/tsukiban", R"(Exec="/opt/it's/tsukiban")"},
        {"/opt/a;b&c|d/tsukiban", R"(Exec="/opt/a;b&c|d/tsukiban")"},
        {"/opt/100%/tsukiban", "Exec=/opt/100%%/tsukiban"},
        {"/opt/100% sure/tsukiban", "Exec=\"/opt/100%% sure/tsukiban\""},
        {"/opt/a\tb/tsukiban", R"(Exec="/opt/a\tb/tsukiban")"},
        {"/opt/a\nb/tsukiban", R"(Exec="/opt/a\nb/tsukiban")"},
        {"/opt/a\rb/tsukiban", "Exec=/opt/a\\rb/tsukiban"},
        {"/opt/~me/(x)*?#<y>/tsukiban", "Exec=\"/opt/~me/(x)*?#<y>/tsukiban\""},
    };
    for (const auto &c : cases) EXPECT_EQ(execLine(c.executable), c.line) << c.executable.toStdString();
}

TEST_F(Shortcuts, IconValueIsEscaped) {
    ASSERT_TRUE(AddProgramShortcut("PROGRAMS", {"/usr/bin/tsukiban", "/icons/a\tb\\c.png"}));
    const QString text = QString::fromUtf8(readFile(ShortcutFolder("PROGRAMS") + '/' + kFileName));
    EXPECT_TRUE(text.contains("\nIcon=/icons/a\\tb\\\\c.png\n")) << text.toStdString();
}

TEST_F(Shortcuts, WriteFailureWritesNothing) {
    // A file where the folder should be: the folder cannot be made.
    qputenv("XDG_DATA_HOME", QFile::encodeName(outside("data")));
    writeFile(outside("data/applications"), "not a folder");
    EXPECT_FALSE(AddProgramShortcut("PROGRAMS", {"/usr/bin/tsukiban", "tsukiban"}));
    EXPECT_EQ(readFile(outside("data/applications")), "not a folder");
}

TEST_F(Shortcuts, PassesDesktopFileValidate) {
    const QString validator = QStandardPaths::findExecutable("desktop-file-validate");
    if (validator.isEmpty()) GTEST_SKIP() << "desktop-file-validate not found (Debian package desktop-file-utils)";
    for (const QString executable : {"/usr/bin/tsukiban", "/tmp/x/マイ プログラム/tsukiban",
                                     R"(/opt/a$b\c "d"/tsukiban)", "/opt/100% sure/tsukiban"}) {
        const std::string name = executable.toStdString();
        ASSERT_TRUE(AddProgramShortcut("PROGRAMS", {executable, "/usr/share/icons/tsukiban.png"})) << name;
        const QString path = ShortcutFolder("PROGRAMS") + '/' + kFileName;
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(validator, {path});
        ASSERT_TRUE(process.waitForFinished(30000)) << name;
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << name;
        EXPECT_EQ(process.exitCode(), 0) << name << "\n" << process.readAll().toStdString();
        ASSERT_TRUE(RemoveProgramShortcut("PROGRAMS", {executable, "tsukiban"})) << name;
    }
}

// What the earlier versions wrote: no TryExec, the icon by its theme name.
QByteArray OlderLauncher(const char *executable) {
    return QByteArray(
               "[Desktop Entry]\nType=Application\nName=ツキバン\nComment=デスクトップの月めくりカレンダー\nExec=") +
           executable + "\nIcon=tsukiban\nTerminal=false\nCategories=Utility;Calendar;\n";
}

TEST_F(Shortcuts, TheMenuShowsTheCalendarOnceWithThePackagesEntry) {
    const QByteArray package = "[Desktop Entry]\nType=Application\nName=ツキバン\nExec=tsukiban\nIcon=tsukiban\n";
    const QString system = outside("system/applications/tsukiban.desktop");
    const QString userEntry = m_home + "/.local/share/applications/tsukiban.desktop";
    const QString ours = m_home + "/.local/share/applications/" + kFileName;
    const struct {
        const char *name;
        std::optional<QByteArray> systemEntry; // the package's entry
        std::optional<QByteArray> userEntry;   // tsukiban.desktop in the user's own folder
        std::optional<QByteArray> before;      // ツキバン.desktop before
        bool oursAfter;                        // whether ツキバン.desktop is there afterwards
        bool packageShown;
    } cases[] = {
        {"no package", std::nullopt, std::nullopt, std::nullopt, true, false},
        {"the package's entry", package, std::nullopt, std::nullopt, false, true},
        {"an earlier launcher of this program goes", package, std::nullopt, OlderLauncher("/usr/bin/tsukiban"), false,
         true},
        {"a launcher of another copy stays", package, std::nullopt, OlderLauncher("/home/x/tsukiban"), true, true},
        {"installed in the user's folder", std::nullopt, package, std::nullopt, false, true},
        {"hidden by the user", package, "[Desktop Entry]\nType=Application\nName=ツキバン\nHidden=true\n", std::nullopt,
         true, false},
        {"left out of the menu", package + "NoDisplay=true\n", std::nullopt, std::nullopt, true, false},
        {"a program that is gone", package + "TryExec=/nonexistent/tsukiban\n", std::nullopt, std::nullopt, true,
         false},
        {"in another group", package + "[Desktop Action x]\nNoDisplay=true\n", std::nullopt, std::nullopt, false, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        for (const QString &path : {system, userEntry, ours}) QFile::remove(path);
        if (c.systemEntry) writeFile(system, *c.systemEntry);
        if (c.userEntry) writeFile(userEntry, *c.userEntry);
        if (c.before) writeFile(ours, *c.before);
        EXPECT_EQ(!PackageMenuEntry().isEmpty(), c.packageShown);
        for (const QString location : {"PROGRAMS", "STARTMENU"}) {
            EXPECT_TRUE(AddProgramShortcut(location, {"/usr/bin/tsukiban", "tsukiban"}));
            EXPECT_EQ(QFileInfo::exists(ours), c.oursAfter);
        }
        if (c.before && c.oursAfter) {
            EXPECT_EQ(readFile(ours), *c.before);
        }
        // The desktop and the autostart folder are no menu.
        for (const QString location : {"DESKTOP", "STARTUP"}) {
            EXPECT_TRUE(AddProgramShortcut(location, {"/usr/bin/tsukiban", "tsukiban"}));
            EXPECT_TRUE(QFileInfo::exists(ShortcutFolder(location) + '/' + kFileName));
            EXPECT_TRUE(RemoveProgramShortcut(location, {"/usr/bin/tsukiban", "tsukiban"}));
        }
    }
}

TEST_F(Shortcuts, SystemDataFolders) {
    const struct {
        std::optional<QByteArray> value;
        QStringList folders;
    } cases[] = {
        {std::nullopt, {"/usr/local/share", "/usr/share"}},       {"", {"/usr/local/share", "/usr/share"}},
        {"/opt/share/:/usr/share", {"/opt/share", "/usr/share"}}, {"relative:/usr/share", {"/usr/share"}},
        {"relative", {"/usr/local/share", "/usr/share"}},
    };
    for (const auto &c : cases) {
        if (c.value)
            qputenv("XDG_DATA_DIRS", *c.value);
        else
            qunsetenv("XDG_DATA_DIRS");
        EXPECT_EQ(SystemDataFolders(), c.folders) << c.value.value_or("(unset)").toStdString();
    }
}

TEST_F(Shortcuts, EarlierLaunchersOfThisProgramAreBroughtUpToDate) {
    const QString autostart = m_home + "/.config/autostart/" + kFileName;
    const QByteArray handMade = OlderLauncher("/usr/bin/tsukiban") + "X-GNOME-Autostart-Delay=10\n";
    const struct {
        const char *name;
        QByteArray before;
        bool rewritten;
    } cases[] = {
        {"an earlier version's", OlderLauncher("/usr/bin/tsukiban"), true},
        {"another program's", OlderLauncher("/opt/tsukiban/tsukiban"), false},
        {"changed by hand", handMade, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(autostart, c.before);
        ASSERT_TRUE(AddProgramShortcut("STARTUP", {"/usr/bin/tsukiban", "/usr/share/icons/tsukiban.svg"}));
        const QByteArray after = readFile(autostart);
        if (c.rewritten) {
            EXPECT_TRUE(after.contains("\nTryExec=/usr/bin/tsukiban\n")) << after.toStdString();
            EXPECT_TRUE(after.contains("\nIcon=/usr/share/icons/tsukiban.svg\n")) << after.toStdString();
        } else {
            EXPECT_EQ(after, c.before);
        }
    }
}

TEST_F(Shortcuts, ThisProgramsIcon) {
    const QString prefix = outside("prefix");
    const QString portable = outside("portable");
    const QString data = outside("data");
    writeFile(portable + "/tsukiban.svg", "<svg/>");
    writeFile(prefix + "/share/icons/hicolor/scalable/apps/tsukiban.svg", "<svg/>");
    ASSERT_TRUE(QDir().mkpath(prefix + "/bin") && QDir().mkpath(outside("bare")));
    const struct {
        const char *name;
        QString programFolder;
        QByteArray dataDirs;
        QString icon;
        QString iconSource;
    } cases[] = {
        {"beside the program", portable, "/usr/share", portable + "/tsukiban.svg", ""},
        {"installed where the menu looks", prefix + "/bin", QFile::encodeName(prefix + "/share"), "tsukiban", ""},
        {"installed elsewhere", prefix + "/bin", "/usr/share",
         prefix + "/share/icons/hicolor/scalable/apps/tsukiban.svg", ""},
        {"a copy without its icon", outside("bare"), "/usr/share", data + "/tsukiban.svg", ":/icons/tsukiban.svg"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        qputenv("XDG_DATA_DIRS", c.dataDirs);
        ProgramPaths paths;
        paths.programFolder = c.programFolder;
        paths.dataFolder = data;
        const ShortcutTarget target = ThisProgram(paths, c.programFolder + "/tsukiban");
        EXPECT_EQ(target.icon, c.icon);
        EXPECT_EQ(target.iconSource, c.iconSource);
    }
}

TEST_F(Shortcuts, TheBuiltInIconIsWrittenForTheLauncher) {
    const QString icon = outside("data/tsukiban.svg");
    QFile builtIn(":/icons/tsukiban.svg");
    ASSERT_TRUE(builtIn.open(QIODevice::ReadOnly));
    const QByteArray svg = builtIn.readAll();
    ASSERT_FALSE(svg.isEmpty());

    // Nothing is written while no launcher asks for it.
    EXPECT_TRUE(RemoveProgramShortcut("STARTUP", {"/opt/t/tsukiban", icon, ":/icons/tsukiban.svg"}));
    EXPECT_FALSE(QFileInfo::exists(icon));

    ASSERT_TRUE(AddProgramShortcut("STARTUP", {"/opt/t/tsukiban", icon, ":/icons/tsukiban.svg"}));
    EXPECT_EQ(readFile(icon), svg);
    const QString autostart = ShortcutFolder("STARTUP") + '/' + kFileName;
    EXPECT_TRUE(readFile(autostart).contains("\nIcon=" + QFile::encodeName(icon) + "\n"));

    // The icon file deleted since: the launcher is up to date once it is there again.
    QFile::remove(icon);
    ASSERT_TRUE(AddProgramShortcut("STARTUP", {"/opt/t/tsukiban", icon, ":/icons/tsukiban.svg"}));
    EXPECT_EQ(readFile(icon), svg);

    // An icon that cannot be written: the theme's name, never a missing file.
    ASSERT_TRUE(RemoveProgramShortcut("STARTUP", {}));
    writeFile(outside("plain"), "a file");
    const QString unwritable = outside("plain/tsukiban.svg");
    ASSERT_TRUE(AddProgramShortcut("STARTUP", {"/opt/t/tsukiban", unwritable, ":/icons/tsukiban.svg"}));
    EXPECT_TRUE(readFile(autostart).contains("\nIcon=tsukiban\n"));
}

// Records where the dialog would start.
class StartRecordingPrompts : public FakePrompts {
public:
    QString chooseFolder(const QString &title, const QString &startFolder) override {
        startFolders << startFolder;
        return FakePrompts::chooseFolder(title, startFolder);
    }
    QStringList startFolders;
};

TEST(FolderChoice, TitleStartAndResult) {
    const QString kIn = QString::fromUtf8("入力ファイル保存場所を指定してください。");
    const QString kOut = QString::fromUtf8("出力ファイル保存場所を指定してください。");
    const struct {
        QString mode;
        int rootKind;
        QString initial;
        std::optional<QString> chosen; // nullopt: cancelled
        QString title;
        QString start;
        QString result;
    } cases[] = {
        {"IN", 18, "/data/in", "/data/new", kIn, "/data/in", "/data/new"},
        {"IN", 18, "/data/in", std::nullopt, kIn, "/data/in", "/data/in"},
        {"OUT", 18, "/data/out", "/data/elsewhere", kOut, "/data/out", "/data/elsewhere"},
        {"OUT", 0, "", std::nullopt, kOut, QDir::homePath(), ""},
        {"OUT", 0, "", "/srv", kOut, QDir::homePath(), "/srv"},
        {"", 18, "/data", "/data/x", "", "/data", "/data/x"},
        {"OTHER", 18, "/data", std::nullopt, "", "/data", "/data"},
    };
    for (const auto &c : cases) {
        const std::string name = c.mode.toStdString() + " " + c.initial.toStdString();
        StartRecordingPrompts prompts;
        if (c.chosen) prompts.queueFolder(*c.chosen);
        EXPECT_EQ(BrowseForFolder(prompts, c.rootKind, c.initial, c.mode), c.result) << name;
        ASSERT_EQ(prompts.shown().size(), 1u) << name;
        EXPECT_EQ(prompts.shown()[0].kind, "folder") << name;
        EXPECT_EQ(prompts.shown()[0].text, c.title) << name;
        EXPECT_EQ(prompts.startFolders, QStringList{c.start}) << name;
    }
}

} // namespace

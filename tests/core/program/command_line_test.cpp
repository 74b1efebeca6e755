#include "core/program/About.h"
#include "core/program/CommandLine.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Kind = CommandLineRequest::Kind;

bool StartsWith(const QString &text, const char *start) {
    const QString expected = QString::fromUtf8(start);
    return text.left(expected.size()) == expected;
}

// Every file and folder under a folder.
QStringList Everything(const QString &folder) {
    QStringList found;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) found << QDir(folder).relativeFilePath(it.next());
    found.sort();
    return found;
}

} // namespace

TEST(CommandLine, WhatTheArgumentsAskFor) {
    const struct {
        QStringList args;
        Kind kind;
        const char *message; // the start of the error line
    } cases[] = {
        {{}, Kind::Run, ""},
        {{"--help"}, Kind::Help, ""},
        {{"-h"}, Kind::Help, ""},
        {{"--version"}, Kind::Version, ""},
        {{"-v"}, Kind::Version, ""},
        // Before Qt has taken its own options out, they stand beside ours.
        {{"-platform", "offscreen", "--version"}, Kind::Version, ""},
        {{"--help", "--version"}, Kind::Help, ""},
        {{"--verbose"}, Kind::Error, "tsukiban: 不明なオプションです: --verbose"},
        {{"memo.txt"}, Kind::Error, "tsukiban: 引数は使いません: memo.txt"},
    };
    for (const auto &c : cases) {
        const std::string name = c.args.join(u' ').toStdString();
        const CommandLineRequest request = ReadCommandLine(c.args);
        EXPECT_EQ(request.kind, c.kind) << name;
        EXPECT_TRUE(StartsWith(request.message, c.message)) << name;
        EXPECT_EQ(request.message.isEmpty(), c.kind != Kind::Error) << name;
    }
}

TEST(CommandLine, VersionNamesTheLicence) {
    const QString text = VersionText(QStringLiteral("tsukiban"));
    EXPECT_TRUE(text.startsWith(QString::fromUtf8("tsukiban 2.5.0 (ツキバン)\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QString::fromUtf8("GNU 一般公衆利用許諾書（GPL）バージョン 3 またはそれ以降")));
    EXPECT_TRUE(text.contains(QStringLiteral("https://www.gnu.org/licenses/gpl-3.0.html")));
    EXPECT_TRUE(CalendarHelpText().contains(QStringLiteral("--version")));
}

// The program itself, copied into a folder of its own so that a start would write its files there, run without a
// display: --help and --version answer and leave the folder and the home as they were.
TEST(CommandLine, TheProgramAnswersWithoutAWindowOrAFile) {
    QTemporaryDir program, home, runtime;
    ASSERT_TRUE(program.isValid() && home.isValid() && runtime.isValid());
    const QString executable = program.filePath("tsukiban");
    ASSERT_TRUE(QFile::copy(TSUKIBAN_EXE, executable));
    const QStringList before = Everything(program.path());

    const struct {
        QStringList args;
        const char *platform; // QT_QPA_PLATFORM, "" for none (and no display)
        int status;
        const char *out; // the start of standard output
        const char *err; // the start of standard error
    } cases[] = {
        {{"--version"}, "", 0, "tsukiban 2.5.0 (ツキバン)\nCopyright", ""},
        {{"-v"}, "", 0, "tsukiban 2.5.0 (ツキバン)\n", ""},
        {{"--help"}, "", 0, "使い方: tsukiban [--help | --version]\n", ""},
        {{"-platform", "offscreen", "-h"}, "", 0, "使い方: tsukiban", ""},
        // Unknown arguments are refused once Qt has taken its own: that needs a platform.
        {{"--verbose"}, "offscreen", 2, "", "tsukiban: 不明なオプションです: --verbose"},
        {{"-style", "fusion", "memo.txt"}, "offscreen", 2, "", "tsukiban: 引数は使いません: memo.txt"},
    };
    for (const auto &c : cases) {
        const std::string name = c.args.join(u' ').toStdString();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *variable :
             {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
            env.remove(QString::fromLatin1(variable));
        if (*c.platform) env.insert("QT_QPA_PLATFORM", QString::fromLatin1(c.platform));
        env.insert("HOME", home.path());
        env.insert("XDG_RUNTIME_DIR", runtime.path());
        // Leaks of the libraries Qt loads are not this test's concern.
        env.insert("ASAN_OPTIONS", "detect_leaks=0");
        QProcess process;
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(home.path());
        process.start(executable, c.args);
        ASSERT_TRUE(process.waitForFinished(60000)) << name;
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << name;
        EXPECT_EQ(process.exitCode(), c.status) << name;
        const QString out = QString::fromUtf8(process.readAllStandardOutput());
        const QString err = QString::fromUtf8(process.readAllStandardError());
        EXPECT_TRUE(StartsWith(out, c.out)) << name << "\n" << out.toStdString();
        if (*c.err) {
            EXPECT_TRUE(StartsWith(err, c.err)) << name << "\n" << err.toStdString();
            EXPECT_EQ(err.count(u'\n'), 1) << name << "\n" << err.toStdString();
        } else {
            EXPECT_TRUE(err.isEmpty()) << name << "\n" << err.toStdString();
        }
        EXPECT_EQ(Everything(program.path()), before) << name;
        EXPECT_EQ(Everything(home.path()), QStringList()) << name;
    }
}

#include "TestApp.h"
#include "cli/CalCommand.h"
#include "core/system/SingleInstance.h"

#include <QFile>
#include <QTextStream>

#include <gtest/gtest.h>

namespace {

struct Outcome {
    int status = -1;
    QString out, err;
};

Outcome Sync(const QStringList &args, const QString &defaultFolder = {}) {
    Outcome o;
    QTextStream out(&o.out), err(&o.err);
    o.status = RunCalCommand(args, QDate(2026, 12, 15), out, err,
                             [defaultFolder] { return defaultFolder; });
    return o;
}

void WriteSync(TestApp &app, const QByteArray &section) {
    QFile ini(app.path(QStringLiteral("Tsukiban.ini")));
    ASSERT_TRUE(ini.open(QIODevice::Append));
    ini.write("\r\n[SYNC]\r\n" + section);
}

class CalSync : public testing::Test {
protected:
    void SetUp() override {
        app.ctx().memos().store(QDate(2026, 12, 24), QStringLiteral("イブ"));
        before = app.bytes(QStringLiteral("Tsukiban.tdb"));
        qputenv("TSUKIBAN_SYNC_PASSWORD", "secret");
    }
    void TearDown() override { qunsetenv("TSUKIBAN_SYNC_PASSWORD"); }

    QString folder() const { return app.folder(); }
    TestApp app;
    QByteArray before;
};

TEST_F(CalSync, BadArgumentsExitWithTwo) {
    const QStringList cases[] = {
        {QStringLiteral("--sync"), QStringLiteral("extra")},
        {QStringLiteral("--sync"), QStringLiteral("--data")},
        {QStringLiteral("--sync"), QStringLiteral("--now")},
        {QStringLiteral("--sync"), QStringLiteral("--data"), QStringLiteral("/no/such/folder")},
        {QStringLiteral("--sync"), QStringLiteral("--data"), QStringLiteral("a"), QStringLiteral("--data"),
         QStringLiteral("b")},
    };
    for (const QStringList &args : cases) {
        const Outcome o = Sync(args);
        EXPECT_EQ(o.status, 2) << args.join(u' ').toStdString();
        EXPECT_TRUE(o.out.isEmpty());
        EXPECT_TRUE(o.err.startsWith(QStringLiteral("tsukiban-cal: "))) << o.err.toStdString();
        EXPECT_EQ(o.err.count(u'\n'), 1);
    }
}

TEST_F(CalSync, WithoutACalendarOrAPasswordItSaysWhatIsMissing) {
    Outcome o = Sync({QStringLiteral("--sync"), QStringLiteral("--data"), folder()});
    EXPECT_EQ(o.status, 1);
    EXPECT_TRUE(o.err.contains(QStringLiteral("Sync_Url"))) << o.err.toStdString();

    WriteSync(app, "Sync_Enabled=1\r\nSync_Url=http://127.0.0.1:1/cal/\r\nSync_User=alice\r\n");
    qunsetenv("TSUKIBAN_SYNC_PASSWORD");
    o = Sync({QStringLiteral("--sync"), QStringLiteral("--data"), folder()});
    EXPECT_EQ(o.status, 1);
    EXPECT_TRUE(o.err.contains(QStringLiteral("TSUKIBAN_SYNC_PASSWORD"))) << o.err.toStdString();
    EXPECT_EQ(app.bytes(QStringLiteral("Tsukiban.tdb")), before);
}

TEST_F(CalSync, AServerThatIsDownFailsWithOneLineAndTheDefaultFolderIsUsed) {
    WriteSync(app, "Sync_Url=http://127.0.0.1:1/cal/\r\nSync_User=alice\r\n");
    const Outcome o = Sync({QStringLiteral("--sync")}, folder());
    EXPECT_EQ(o.status, 1);
    EXPECT_TRUE(o.out.isEmpty());
    EXPECT_TRUE(o.err.contains(QStringLiteral("127.0.0.1"))) << o.err.toStdString();
    EXPECT_FALSE(o.err.contains(QStringLiteral("secret")));
    EXPECT_EQ(o.err.count(u'\n'), 1);
    EXPECT_EQ(app.bytes(QStringLiteral("Tsukiban.tdb")), before);
}

TEST_F(CalSync, PlainHttpToAnotherComputerNeedsTheConsentOfThatHost) {
    WriteSync(app, "Sync_Url=http://192.0.2.1:5232/cal/\r\nSync_User=alice\r\nSync_PlainHttp=192.0.2.7:5232\r\n");
    const Outcome o = Sync({QStringLiteral("--sync"), QStringLiteral("--data"), folder()});
    EXPECT_EQ(o.status, 1);
    EXPECT_TRUE(o.err.contains(QStringLiteral("http://"))) << o.err.toStdString();
}

TEST_F(CalSync, RefusesWhileTheCalendarRunsOnTheFolder) {
    WriteSync(app, "Sync_Url=http://127.0.0.1:1/cal/\r\nSync_User=alice\r\n");
    SingleInstance calendar(app.folder());
    ASSERT_TRUE(calendar.tryAcquire());
    const Outcome o = Sync({QStringLiteral("--sync"), QStringLiteral("--data"), folder()});
    EXPECT_EQ(o.status, 1);
    EXPECT_TRUE(o.err.contains(QStringLiteral("ツキバンがこのデータフォルダーを使っている"))) << o.err.toStdString();
    EXPECT_FALSE(QFile::exists(app.path(QStringLiteral("TsukibanSync.db"))));
}

} // namespace

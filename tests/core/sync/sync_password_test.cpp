#include "FakePrompts.h"
#include "core/sync/SyncPassword.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QUrl kServer("https://cloud.example.org/remote.php/dav/calendars/aki/personal/");

// The variable for one test, as cron would set it.
class Variable {
public:
    explicit Variable(const char *value) {
        if (value)
            qputenv("TSUKIBAN_SYNC_PASSWORD", value);
        else
            qunsetenv("TSUKIBAN_SYNC_PASSWORD");
    }
    ~Variable() { qunsetenv("TSUKIBAN_SYNC_PASSWORD"); }
};

std::optional<QString> fetched(SyncPassword &password, const QString &user = "aki") {
    std::optional<std::optional<QString>> result;
    password.fetch(user, kServer, [&](const std::optional<QString> &p) { result = p; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return result.has_value(); }, 10000));
    return result.value_or(std::nullopt);
}

} // namespace

TEST(SyncPassword, TheVariableComesFirstAndNothingIsAsked) {
    Variable variable("from-cron");
    FakePrompts prompts;
    SyncPassword password(prompts, false);
    EXPECT_TRUE(SyncPassword::fromEnvironment());
    EXPECT_EQ(fetched(password), "from-cron");
    EXPECT_EQ(fetched(password, "someone-else"), "from-cron");
    EXPECT_TRUE(prompts.shown().empty());
}

TEST(SyncPassword, WithoutAStoreTheUserIsAskedOncePerSession) {
    Variable variable(nullptr);
    FakePrompts prompts;
    SyncPassword password(prompts, false);
    prompts.queuePassword(QString("typed"));
    EXPECT_EQ(fetched(password), "typed");
    EXPECT_EQ(fetched(password), "typed") << "kept in memory";
    ASSERT_EQ(prompts.shown().size(), 1u);
    EXPECT_EQ(prompts.shown()[0].kind, "password");
    EXPECT_TRUE(prompts.shown()[0].text.contains("https://cloud.example.org"));
    EXPECT_TRUE(prompts.shown()[0].text.contains("aki"));
    EXPECT_FALSE(prompts.shown()[0].text.contains("typed"));

    // Another account is another question; cancelled, it is not asked again in this session.
    prompts.queuePassword(std::nullopt);
    EXPECT_EQ(fetched(password, "haru"), std::nullopt);
    EXPECT_EQ(fetched(password, "haru"), std::nullopt);
    EXPECT_EQ(prompts.shown().size(), 2u);
    // Typed in the 同期 tab, it is there without a question.
    password.set("haru", kServer, "from-tab");
    EXPECT_EQ(fetched(password, "haru"), "from-tab");
    EXPECT_EQ(prompts.shown().size(), 2u);
}

TEST(SyncPassword, ARefusedPasswordIsAskedForOnceEvenOverTheVariable) {
    Variable variable("wrong");
    FakePrompts prompts;
    SyncPassword password(prompts, false);
    EXPECT_EQ(fetched(password), "wrong");
    password.rejected("aki", kServer);
    prompts.queuePassword(QString("right"));
    EXPECT_EQ(fetched(password), "right");
    ASSERT_EQ(prompts.shown().size(), 1u);
    EXPECT_TRUE(prompts.shown()[0].text.contains("受け付けませんでした"));
    password.accepted("aki", kServer);
    EXPECT_EQ(fetched(password), "wrong") << "the variable again once nothing was refused";
}

TEST(SyncPassword, NoSecretStoreOnTheDesktopFallsBackToAskingAndWritesNothing) {
    // No session bus: the secret store cannot answer.
    Variable variable(nullptr);
    const QByteArray bus = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/tsukiban-test-bus");
    FakePrompts prompts;
    SyncPassword password(prompts, true);
    prompts.queuePassword(QString("typed"));
    EXPECT_EQ(fetched(password), "typed");
    QSignalSpy stored(&password, &SyncPassword::stored);
    password.accepted("aki", kServer);
    ASSERT_TRUE(stored.count() > 0 || stored.wait(10000));
    EXPECT_FALSE(stored.at(0).at(0).toBool()) << "kept in memory only";
    EXPECT_FALSE(password.secretStoreAvailable());
    if (bus.isNull())
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    else
        qputenv("DBUS_SESSION_BUS_ADDRESS", bus);
}

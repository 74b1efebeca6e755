#include "core/sync/SyncStatus.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QDate kDay(2026, 12, 24);

TEST(SyncStatus, KeepsDaysForeignEventsAndTheTokenAcrossOpenings) {
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("TsukibanSync.db"));
    const QString url = QStringLiteral("https://dav.example.org/cal/");
    ForeignEvent party{kDay, QStringLiteral("忘年会"), QStringLiteral("新宿"),
                       QDateTime(kDay, QTime(19, 0)), QDateTime(kDay, QTime(21, 0)), false};
    {
        SyncStatus status(path);
        QString error;
        ASSERT_TRUE(status.open(&error)) << error.toStdString();
        ASSERT_TRUE(status.useCollection(url));
        ASSERT_TRUE(status.begin());
        ASSERT_TRUE(status.putDay(kDay, {TextHash(QStringLiteral("メモ")), QStringLiteral("/cal/memo.ics"), QStringLiteral("\"e1\"")}));
        ASSERT_TRUE(status.putForeign(QStringLiteral("/cal/party.ics"), QStringLiteral("\"p\""), {party}));
        ASSERT_TRUE(status.setSyncToken(QStringLiteral("token-1")));
        ASSERT_TRUE(status.commit());
    }
    SyncStatus status(path);
    ASSERT_TRUE(status.open());
    ASSERT_TRUE(status.useCollection(url));
    const auto days = status.days();
    ASSERT_EQ(days.size(), 1u);
    EXPECT_EQ(days.at(kDay).href, QStringLiteral("/cal/memo.ics"));
    EXPECT_EQ(days.at(kDay).etag, QStringLiteral("\"e1\""));
    EXPECT_EQ(days.at(kDay).hash, TextHash(QStringLiteral("メモ")));
    EXPECT_EQ(status.syncToken(), QStringLiteral("token-1"));
    EXPECT_EQ(status.foreignEtags().at(QStringLiteral("/cal/party.ics")), QStringLiteral("\"p\""));
    const QList<ForeignEvent> events = status.foreignEvents(kDay);
    ASSERT_EQ(events.size(), 1);
    EXPECT_EQ(events[0].summary, party.summary);
    EXPECT_EQ(events[0].location, party.location);
    EXPECT_EQ(events[0].start, party.start);
    EXPECT_EQ(events[0].end, party.end);
    EXPECT_TRUE(status.foreignEvents(kDay.addDays(1)).isEmpty());
}

// A store on collection https://a/ with one day written in an open transaction.
class SyncStatusWithADay : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(status.open());
        ASSERT_TRUE(status.useCollection(QStringLiteral("https://a/")));
        ASSERT_TRUE(status.begin());
        ASSERT_TRUE(status.putDay(kDay, {QStringLiteral("h"), QStringLiteral("/a"), QString()}));
    }
    const QTemporaryDir dir;
    SyncStatus status{dir.filePath(QStringLiteral("s.db"))};
};

TEST_F(SyncStatusWithADay, ARolledBackChangeLeavesNothing) {
    status.rollback();
    EXPECT_TRUE(status.days().empty());
}

TEST_F(SyncStatusWithADay, AnotherCollectionStartsAfresh) {
    ASSERT_TRUE(status.putForeign(QStringLiteral("/f"), QStringLiteral("e"), {}));
    ASSERT_TRUE(status.setSyncToken(QStringLiteral("t")));
    ASSERT_TRUE(status.commit());
    ASSERT_TRUE(status.useCollection(QStringLiteral("https://a/")));
    EXPECT_EQ(status.days().size(), 1u);
    ASSERT_TRUE(status.useCollection(QStringLiteral("https://b/")));
    EXPECT_TRUE(status.days().empty());
    EXPECT_TRUE(status.foreignEtags().empty());
    EXPECT_TRUE(status.syncToken().isEmpty());
}

TEST(SyncStatus, AFolderThatCannotHoldTheFileSaysSo) {
    SyncStatus status(QStringLiteral("/proc/no-such-folder/TsukibanSync.db"));
    QString error;
    EXPECT_FALSE(status.open(&error));
    EXPECT_TRUE(error.contains(QStringLiteral("TsukibanSync.db")));
}

} // namespace

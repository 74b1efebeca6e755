#include "core/calendar/TimeZones.h"

#include <gtest/gtest.h>

#include <QTimeZone>

namespace {

QString Utf8(const char *text) {
    return QString::fromUtf8(text);
}

ZoneOffset Zone(const char *name) {
    ZoneOffset zone;
    EXPECT_TRUE(TimeZoneOffset(Utf8(name), zone));
    return zone;
}

// A computer clock set to Japan time.
QDateTime JapanTime(int h, int m, int s) {
    return QDateTime(QDate(2026, 1, 15), QTime(h, m, s), QTimeZone(9 * 3600));
}

} // namespace

TEST(TimeZones, NamesRunWestToEastOneHourApart) {
    const QStringList names = TimeZoneNames();
    ASSERT_EQ(names.size(), 25);
    EXPECT_EQ(names.first(), Utf8("ヌクアロファ"));
    EXPECT_EQ(names.at(12), Utf8("ロンドン，リスボン，レイキャビック，カサブランカ"));
    EXPECT_EQ(names.at(21), Utf8("東京，ソウル，平壌"));
    EXPECT_EQ(names.last(), Utf8("ウェリントン，ナンディ"));
    for (int i = 0; i < names.size(); ++i) {
        EXPECT_FALSE(names.at(i).contains(u',')) << i; // full-width commas only
        EXPECT_EQ(names.indexOf(names.at(i)), i) << i;
        ZoneOffset zone;
        TimeZoneOffset(names.at(i), zone);
        const int signedHours = (zone.sign == u"-" ? -1 : 1) * zone.seconds / 3600;
        EXPECT_EQ(signedHours, i - 12) << names.at(i).toStdString();
        EXPECT_EQ(zone.sign.isEmpty(), i == 12) << i;
    }
}

TEST(TimeZones, UnknownNameLeavesTheZoneAlone) {
    ZoneOffset zone = Zone("東京，ソウル，平壌");
    EXPECT_TRUE(TimeZoneOffset(Utf8("東京,ソウル,平壌"), zone));
    EXPECT_EQ(zone.seconds, 9 * 3600);
    EXPECT_EQ(zone.sign, QStringLiteral("+"));
}

TEST(TimeZones, ClockTimeInTheZone) {
    const struct {
        QDateTime now;
        const char *zone;
        QTime expected;
    } cases[] = {
        {JapanTime(8, 30, 0), "東京，ソウル，平壌", QTime(8, 30)},
        {JapanTime(8, 30, 0), "ロンドン，リスボン，レイキャビック，カサブランカ", QTime(23, 30)},
        {JapanTime(8, 30, 0), "ウェリントン，ナンディ", QTime(11, 30)},
        {JapanTime(10, 0, 0), "アメリカ東部時間，リマ，ボゴタ，キト", QTime(20, 0)},
        {JapanTime(9, 0, 0), "東京，ソウル，平壌", QTime(9, 0)},
        {JapanTime(23, 59, 59), "ウェリントン，ナンディ", QTime(2, 59, 59)},
        {JapanTime(0, 0, 0), "ヌクアロファ", QTime(3, 0)},
        // The same instant read from a clock in UTC gives the same time.
        {JapanTime(8, 30, 0).toUTC(), "ホノルル", QTime(13, 30)},
        {JapanTime(8, 30, 0), "ホノルル", QTime(13, 30)},
    };
    for (const auto &c : cases) EXPECT_EQ(ZoneClockTime(c.now, Zone(c.zone)), c.expected) << c.zone;
}

TEST(TimeZones, DescriptionAndTooltip) {
    EXPECT_EQ(ZoneDescription(Zone("ロンドン，リスボン，レイキャビック，カサブランカ")), QStringLiteral("GMT/UTC"));
    EXPECT_EQ(ZoneDescription(Zone("東京，ソウル，平壌")), QStringLiteral("GMT/UTC+9:00:00"));
    EXPECT_EQ(ZoneDescription(Zone("ホノルル")), QStringLiteral("GMT/UTC-10:00:00"));
    EXPECT_EQ(ZoneDescription(ZoneOffset()), QStringLiteral("GMT/UTC"));
    EXPECT_EQ(ClockTooltip(Utf8("東京，ソウル，平壌"), Zone("東京，ソウル，平壌")),
              Utf8("東京，ソウル，平壌 GMT/UTC+9:00:00"));
}

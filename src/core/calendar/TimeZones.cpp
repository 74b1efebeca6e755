#include "core/calendar/TimeZones.h"

#include <iterator>

namespace {

struct ZoneRow {
    const char16_t *name;
    int hours;
    char16_t sign; // 0 for UTC
};

constexpr ZoneRow kZones[] = {
    {u"ヌクアロファ", 12, u'-'},
    {u"サモア", 11, u'-'},
    {u"ホノルル", 10, u'-'},
    {u"アンカレジ", 9, u'-'},
    {u"アメリカ太平洋時間", 8, u'-'},
    {u"アメリカ山地時間", 7, u'-'},
    {u"アメリカ中部時間，メキシコシティ", 6, u'-'},
    {u"アメリカ東部時間，リマ，ボゴタ，キト", 5, u'-'},
    {u"大西洋標準時，カラカス，サンティアゴ，ラパス", 4, u'-'},
    {u"ブラジリア，ブエノスアイレス，アスンシオン", 3, u'-'},
    {u"中央大西洋", 2, u'-'},
    {u"カーボベルデ", 1, u'-'},
    {u"ロンドン，リスボン，レイキャビック，カサブランカ", 0, 0},
    {u"アムステルダム，ローマ，マドリッド，ストックホルム", 1, u'+'},
    {u"アテネ，イスタンブール，エルサレム，ハラレ", 2, u'+'},
    {u"テヘラン，モスクワ，ナイロビ，リヤド", 3, u'+'},
    {u"アブダビ，バクー，トリビシ，マスカット", 4, u'+'},
    {u"イスラマバード，カラチ，タシケント", 5, u'+'},
    {u"ダッカ，スリ・ジャヤワルダナプラ，アルマティ", 6, u'+'},
    {u"バンコク，プノンペン，ハノイ，ジャカルタ", 7, u'+'},
    {u"北京，台北，香港，シンガポール", 8, u'+'},
    {u"東京，ソウル，平壌", 9, u'+'},
    {u"シドニー，グアム，サイパン", 10, u'+'},
    {u"ヌーメア，マガダン", 11, u'+'},
    {u"ウェリントン，ナンディ", 12, u'+'},
};

constexpr int kSecondsPerDay = 24 * 60 * 60;
constexpr int kMsecsPerDay = kSecondsPerDay * 1000;

} // namespace

QStringList TimeZoneNames() {
    QStringList names;
    names.reserve(std::size(kZones));
    for (const ZoneRow &row : kZones) names.append(QString::fromUtf16(row.name));
    return names;
}

bool TimeZoneOffset(const QString &name, ZoneOffset &zone) {
    for (const ZoneRow &row : kZones) {
        if (name == QStringView(row.name)) {
            zone.seconds = row.hours * 3600;
            zone.sign = row.sign ? QString(QChar(row.sign)) : QString();
            return true;
        }
    }
    return true;
}

QTime ZoneClockTime(const QDateTime &now, const ZoneOffset &zone) {
    int msecs = now.toUTC().time().msecsSinceStartOfDay();
    if (zone.sign == u"+")
        msecs += zone.seconds * 1000;
    else if (zone.sign == u"-")
        msecs -= zone.seconds * 1000;
    msecs %= kMsecsPerDay;
    if (msecs < 0) msecs += kMsecsPerDay;
    return QTime::fromMSecsSinceStartOfDay(msecs);
}

QString ZoneDescription(const ZoneOffset &zone) {
    QString text = QStringLiteral("GMT/UTC");
    if (zone.sign.isEmpty()) return text;
    const int seconds = zone.seconds % kSecondsPerDay;
    return text + zone.sign +
           QStringLiteral("%1:%2:%3")
               .arg(seconds / 3600)
               .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
               .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString ClockTooltip(const QString &zoneName, const ZoneOffset &zone) {
    return zoneName + QLatin1Char(' ') + ZoneDescription(zone);
}

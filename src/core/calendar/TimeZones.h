#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTime>

// Distance of a clock zone from UTC. The sign is "+" east of UTC, "-" west of
// it and empty for UTC itself; seconds is never negative.
struct ZoneOffset {
    int seconds = 0;
    QString sign;
};

// Zone display names in the order of the options dialog, west to east.
QStringList TimeZoneNames();

// Looks the display name up; an unknown name leaves zone unchanged. Always true.
bool TimeZoneOffset(const QString &name, ZoneOffset &zone);

// Time of day in the zone at the moment now. No zone observes daylight saving time.
QTime ZoneClockTime(const QDateTime &now, const ZoneOffset &zone);

// "GMT/UTC", followed by sign and offset as in "+9:00:00" unless the sign is empty.
QString ZoneDescription(const ZoneOffset &zone);

// Tooltip of the clock: zone name, a blank, then the description.
QString ClockTooltip(const QString &zoneName, const ZoneOffset &zone);

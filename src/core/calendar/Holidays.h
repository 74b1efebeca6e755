#pragma once

#include <QDate>
#include <QString>

// Name of the Japanese national holiday on this date, or empty text.
// Follows the holidays law as amended up to today, from its first day 1948-07-20.
QString HolidayName(const QDate &date);

// Day of March of the vernal equinox holiday; 99 outside 1948..2150.
int VernalEquinoxDay(int year);

// Day of September of the autumnal equinox holiday; 99 outside 1948..2150.
int AutumnalEquinoxDay(int year);

#pragma once

#include <QString>

// The old Japanese lunisolar calendar, computed from short series for the
// longitudes of the sun and the moon. All moments are day numbers in Japan
// Standard Time: every whole number falls on 00:00 JST.

struct LunarDate {
    int month = 0; // 1..12; a leap month repeats the number of the month before it
    bool leap = false;
    int day = 0; // 1..30

    friend bool operator==(const LunarDate &, const LunarDate &) = default;
};

// Six lunar months around one winter or summer solstice or equinox, with the
// moments they were derived from.
struct LunarMonthTable {
    static constexpr int kRows = 6;
    int month[kRows] = {};
    bool leap[kRows] = {};
    double firstDay[kRows] = {}; // whole day numbers
    double term[5] = {};         // solar terms: term[0] is the equinox or solstice, term[3] the next one
};

double DayNumber(int y, int m, int d, int h, int mi, int s);
double SunLongitude(double t);
double MoonLongitude(double t);
double NormalizeAngle(double a);

// Last moment at or before D at which the sun's longitude was a multiple of
// step degrees; that multiple goes to *targetLongitude when it is not null.
double SolarTermBefore(double D, int step, double *targetLongitude);

// As a rule the last new moon at or before D.
double NewMoonBefore(double D);

// The month table that the conversion of day number D0 builds.
LunarMonthTable BuildLunarMonthTable(double D0);
// Finds the lunar date of the whole day number D0 in a table built for it.
LunarDate LookupLunarDate(const LunarMonthTable &table, double D0);

// The literal conversion: a fresh month table for every call.
LunarDate LunarDateUncached(int y, int m, int d);
// Same results as LunarDateUncached, reusing recent month tables.
LunarDate LunarDateOf(int y, int m, int d);

QString RokuyoName(const LunarDate &date);
QString RokuyoName(int y, int m, int d);

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

// The lunar months of one year, from the 11th month (the one that holds the
// winter solstice of a Gregorian year) up to the next 11th month: 12 months, or
// 13 when the first month without a principal term is a leap month.
struct LunarYearTable {
    static constexpr int kMaxMonths = 13;
    int count = 0;
    int month[kMaxMonths] = {};
    bool leap[kMaxMonths] = {};
    double firstDay[kMaxMonths + 1] = {}; // whole day numbers; firstDay[count] begins the next 11th month
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

// The months from the 11th month that holds the winter solstice of Gregorian
// year `year`; every day of that span gets the same table, bit for bit.
LunarYearTable BuildLunarYearTable(int year);
// Finds the lunar date of the whole day number D0 in a table whose span holds it.
LunarDate LookupLunarDate(const LunarYearTable &table, double D0);

// The literal conversion: fresh year tables for every call.
LunarDate LunarDateUncached(int y, int m, int d);
// Same results as LunarDateUncached, reusing recent year tables.
LunarDate LunarDateOf(int y, int m, int d);

QString RokuyoName(const LunarDate &date);
QString RokuyoName(int y, int m, int d);

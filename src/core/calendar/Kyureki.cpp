#include "core/calendar/Kyureki.h"

#include <cmath>

namespace {

// The series were fitted with this value of pi; keep it for identical results.
constexpr double kPi = 3.14159265358979;
constexpr double kJstOffset = 9.0 / 24.0;
constexpr double kOneSecond = 1.0 / 86400.0;

struct PeriodicTerm {
    double rate;
    double phase;
    double amplitude;
};

constexpr PeriodicTerm kSunTerms[] = {
    {31557, 161, 0.0004},  {29930, 48, 0.0004}, {2281, 221, 0.0005}, {155, 118, 0.0005},     {33718, 316, 0.0006},
    {9038, 64, 0.0007},    {3035, 110, 0.0007}, {65929, 45, 0.0007}, {22519, 352, 0.0013},   {45038, 254, 0.0015},
    {445267, 208, 0.0018}, {19, 159, 0.0018},   {32964, 158, 0.002}, {71998.1, 265.1, 0.02},
};

constexpr PeriodicTerm kMoonTerms[] = {
    {2322131, 191, 0.0003},       {4067, 70, 0.0003},          {549197, 220, 0.0003},      {1808933, 58, 0.0003},
    {349472, 337, 0.0003},        {381404, 354, 0.0003},       {958465, 340, 0.0003},      {12006, 187, 0.0004},
    {39871, 223, 0.0004},         {509131, 242, 0.0005},       {1745069, 24, 0.0005},      {1908795, 90, 0.0005},
    {2258267, 156, 0.0006},       {111869, 38, 0.0006},        {27864, 127, 0.0007},       {485333, 186, 0.0007},
    {405201, 50, 0.0007},         {790672, 114, 0.0007},       {1403732, 98, 0.0008},      {858602, 129, 0.0009},
    {1920802, 186, 0.0011},       {1267871, 249, 0.0012},      {1856938, 152, 0.0016},     {401329, 274, 0.0018},
    {341337, 16, 0.0021},         {71998, 85, 0.0021},         {990397, 357, 0.0021},      {818536, 151, 0.0022},
    {922466, 163, 0.0023},        {99863, 122, 0.0024},        {1379739, 17, 0.0026},      {918399, 182, 0.0027},
    {1934, 145, 0.0028},          {541062, 259, 0.0037},       {1781068, 21, 0.0038},      {133, 29, 0.004},
    {1844932, 56, 0.004},         {1331734, 283, 0.004},       {481266, 205, 0.005},       {31932, 107, 0.0052},
    {926533, 323, 0.0068},        {449334, 188, 0.0079},       {826671, 111, 0.0085},      {1431597, 315, 0.01},
    {1303870, 246, 0.0107},       {489205, 142, 0.011},        {1443603, 52, 0.0125},      {75870, 41, 0.0154},
    {513197.9, 222.5, 0.0304},    {445267.1, 27.9, 0.0347},    {441199.8, 47.4, 0.0409},   {854535.2, 148.2, 0.0458},
    {1367733.1, 280.7, 0.0533},   {377336.3, 13.2, 0.0571},    {63863.5, 124.2, 0.0588},   {966404, 276.5, 0.1144},
    {35999.05, 87.53, 0.1851},    {954397.74, 179.93, 0.2136}, {890534.22, 145.7, 0.6583}, {413335.35, 10.74, 1.274},
    {477198.868, 44.963, 6.2888},
};

double CosDegrees(double degrees) {
    return std::cos(degrees * kPi / 180);
}

template <std::size_t N> double SumSeries(const PeriodicTerm (&terms)[N], double t) {
    double sum = 0;
    for (const PeriodicTerm &term : terms)
        sum += term.amplitude * CosDegrees(NormalizeAngle(term.rate * t + term.phase));
    return sum;
}

// Julian centuries of universal time from a day number split into whole part and rest.
double Centuries(double d1, double d2) {
    return (d2 + 0.5 + d1 - 2451545) / 36525;
}

// Moves (d1, d2) back by k days, keeping d2 a fraction of a day.
void StepBack(double &d1, double &d2, double k1, double k2) {
    d1 -= k1;
    d2 -= k2;
    if (d2 < 0) {
        d2 += 1;
        d1 -= 1;
    }
}

const QString kRokuyoNames[] = {
    QStringLiteral("大安"), QStringLiteral("赤口"), QStringLiteral("先勝"),
    QStringLiteral("友引"), QStringLiteral("先負"), QStringLiteral("仏滅"),
};

} // namespace

double DayNumber(int y, int m, int d, int h, int mi, int s) {
    if (m < 3) {
        y -= 1;
        m += 12;
    }
    const double day = std::floor(365.25 * y) + std::floor(y / 400.0) - std::floor(y / 100.0) +
                       std::floor(30.59 * (m - 2)) + 1721088 + d;
    return day + (h + mi / 60.0 + s / 3600.0) / 24;
}

double NormalizeAngle(double a) {
    return a - 360 * std::floor(a / 360);
}

double SunLongitude(double t) {
    double sum = SumSeries(kSunTerms, t);
    const double anomaly = NormalizeAngle(35999.05 * t + 267.52);
    sum = sum - 0.0048 * t * CosDegrees(anomaly);
    sum = sum + 1.9147 * CosDegrees(anomaly);
    const double mean = NormalizeAngle(NormalizeAngle(36000.7695 * t) + 280.4659);
    return NormalizeAngle(sum + mean);
}

double MoonLongitude(double t) {
    const double sum = SumSeries(kMoonTerms, t);
    const double mean = NormalizeAngle(NormalizeAngle(481267.8809 * t) + 218.3162);
    return NormalizeAngle(sum + mean);
}

double SolarTermBefore(double D, int step, double *targetLongitude) {
    double d1 = std::floor(D);
    double d2 = D - d1 - kJstOffset;
    double longitude = SunLongitude(Centuries(d1, d2));
    const double target = step * std::floor(longitude / step);
    if (targetLongitude) *targetLongitude = target;

    for (;;) {
        double delta = longitude - target;
        if (delta > 180)
            delta -= 360;
        else if (delta < -180)
            delta += 360;
        const double k = delta * 365.24219878 / 360;
        const double k1 = std::floor(k);
        const double k2 = k - k1;
        StepBack(d1, d2, k1, k2);
        if (std::fabs(k1 + k2) < kOneSecond) break;
        longitude = SunLongitude(Centuries(d1, d2));
    }
    return d2 + d1 + kJstOffset;
}

double NewMoonBefore(double D) {
    double d1 = std::floor(D);
    double d2 = D - d1 - kJstOffset;
    for (int n = 1;; ++n) {
        const double t = Centuries(d1, d2);
        const double sun = SunLongitude(t);
        const double moon = MoonLongitude(t);
        double delta = moon - sun;
        if (delta < 0 && n == 1)
            delta = NormalizeAngle(delta);
        else if (sun >= 0 && sun <= 20 && moon >= 300)
            delta = 360 - NormalizeAngle(delta);
        else if (std::fabs(delta) > 40)
            delta = NormalizeAngle(delta);

        const double k = delta * 29.530589 / 360;
        const double k1 = std::floor(k);
        const double k2 = k - k1;
        StepBack(d1, d2, k1, k2);

        const bool moved = std::fabs(k1 + k2) > kOneSecond;
        if (moved && n == 15) {
            // Stuck: start again a lunation earlier.
            d1 = std::floor(D - 26);
            d2 = 0;
        } else if (moved && n > 30) {
            d1 = D;
            d2 = 0;
            break;
        }
        if (std::fabs(k1 + k2) < kOneSecond) break;
    }
    return d2 + d1 + kJstOffset;
}

namespace {

// The next new moon after the one at moon; a search that finds the same one again looks further on.
double NextNewMoon(double moon) {
    const double next = NewMoonBefore(moon + 30);
    if (std::fabs(std::floor(moon) - std::floor(next)) <= 26) return NewMoonBefore(moon + 35);
    return next;
}

// The winter solstice of Gregorian year y (always in the last ten days of December).
double WinterSolstice(int y) {
    return SolarTermBefore(DayNumber(y, 12, 31, 0, 0, 0), 90, nullptr);
}

// The new moon that begins the month whose days hold the moment term.
double NewMoonOfMonthHolding(double term) {
    double moon = NewMoonBefore(term);
    const double next = NextNewMoon(moon);
    if (std::floor(next) <= std::floor(term))
        moon = next;
    else if (std::floor(moon) > std::floor(term))
        moon = NewMoonBefore(moon - 27);
    return moon;
}

} // namespace

LunarYearTable BuildLunarYearTable(int year) {
    const double solstice = WinterSolstice(year);
    const double nextEleventh = std::floor(NewMoonOfMonthHolding(WinterSolstice(year + 1)));

    LunarYearTable table;
    double moon = NewMoonOfMonthHolding(solstice);
    table.firstDay[0] = std::floor(moon);
    int count = 0;
    // The next 11th month is found from its own solstice, so that the table of the year
    // before ends exactly where this one's successor begins.
    while (count < LunarYearTable::kMaxMonths) {
        moon = NextNewMoon(moon);
        ++count;
        if (std::floor(moon) >= nextEleventh - 2) break;
        table.firstDay[count] = std::floor(moon);
    }
    table.count = count;
    table.firstDay[count] = nextEleventh;

    // In a span of 13 months the first one without a principal term is the leap month;
    // a span of 12 has none, even where a month lacks a principal term.
    int leapRow = -1;
    if (count == 13) {
        double terms[12];
        terms[0] = solstice;
        for (int i = 1; i < 12; ++i) terms[i] = SolarTermBefore(terms[i - 1] + 32, 30, nullptr);
        for (int row = 1; row < count && leapRow < 0; ++row) {
            bool holdsTerm = false;
            for (const double term : terms)
                holdsTerm = holdsTerm || (table.firstDay[row] < term && table.firstDay[row + 1] > term);
            if (!holdsTerm) leapRow = row;
        }
    }

    table.month[0] = 11;
    for (int row = 1; row < count; ++row) {
        table.leap[row] = row == leapRow;
        table.month[row] = table.leap[row] ? table.month[row - 1] : table.month[row - 1] % 12 + 1;
    }
    return table;
}

LunarDate LookupLunarDate(const LunarYearTable &table, double D0) {
    const double day = std::floor(D0);
    int row = 0;
    while (row + 1 < table.count && day >= table.firstDay[row + 1]) ++row;

    LunarDate result;
    result.month = table.month[row];
    result.leap = table.leap[row];
    result.day = static_cast<int>(day - table.firstDay[row]) + 1;
    return result;
}

LunarDate LunarDateUncached(int y, int m, int d) {
    const double D0 = DayNumber(y, m, d, 0, 0, 0);
    LunarYearTable table = BuildLunarYearTable(y);
    if (std::floor(D0) < table.firstDay[0]) table = BuildLunarYearTable(y - 1);
    return LookupLunarDate(table, D0);
}

QString RokuyoName(const LunarDate &date) {
    const int index = (date.month + date.day) % 6;
    return kRokuyoNames[index < 0 ? index + 6 : index];
}

QString RokuyoName(int y, int m, int d) {
    return RokuyoName(LunarDateOf(y, m, d));
}

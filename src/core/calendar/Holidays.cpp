#include "core/calendar/Holidays.h"

#include <cmath>

namespace {

constexpr int kMonday = 1; // QDate::dayOfWeek numbering
constexpr int kSunday = 7;

const QDate kLawStart(1948, 7, 20);
const QDate kSubstituteStart(1973, 4, 12);
const QDate kCitizensHolidayStart(1985, 12, 27);
const QDate kAmendment2007(2007, 1, 1);

bool IsNthMonday(int day, int dayOfWeek, int n) {
    return dayOfWeek == kMonday && (day - 1) / 7 + 1 == n;
}

int EquinoxDay(int year, double k1948, double k1980, double k2100) {
    if (year < 1948 || year > 2150) return 99;
    const double k = year <= 1979 ? k1948 : (year <= 2099 ? k1980 : k2100);
    const double d = year - 1980;
    return static_cast<int>(std::floor(k + 0.242194 * d - std::floor(d / 4)));
}

// Holidays named by the law itself, without the substitute and in-between days.
// Returns a string literal so that the neighbour checks allocate nothing.
const char16_t *NamedHoliday(const QDate &date) {
    if (date < kLawStart) return nullptr;
    int y = 0, m = 0, d = 0;
    date.getDate(&y, &m, &d);
    const int dow = date.dayOfWeek();
    const int ymd = y * 10000 + m * 100 + d;

    switch (m) {
    case 1:
        if (d == 1) return u"元日";
        if (y >= 2000 ? IsNthMonday(d, dow, 2) : d == 15) return u"成人の日";
        break;
    case 2:
        if (d == 11 && y >= 1967) return u"建国記念の日";
        if (d == 23 && y >= 2020) return u"天皇誕生日";
        if (ymd == 19890224) return u"昭和天皇の大喪の礼";
        break;
    case 3:
        if (d == VernalEquinoxDay(y)) return u"春分の日";
        break;
    case 4:
        if (d == 29) return y >= 2007 ? u"昭和の日" : (y >= 1989 ? u"みどりの日" : u"天皇誕生日");
        if (ymd == 19590410) return u"皇太子明仁親王の結婚の儀";
        break;
    case 5:
        if (d == 3) return u"憲法記念日";
        if (d == 4 && y >= 2007) return u"みどりの日";
        if (d == 5) return u"こどもの日";
        if (ymd == 20190501) return u"天皇の即位の日";
        break;
    case 6:
        if (ymd == 19930609) return u"皇太子徳仁親王の結婚の儀";
        break;
    case 7:
        // The Olympic years moved three holidays by special law.
        if (y == 2020) return d == 23 ? u"海の日" : (d == 24 ? u"スポーツの日" : nullptr);
        if (y == 2021) return d == 22 ? u"海の日" : (d == 23 ? u"スポーツの日" : nullptr);
        if (y >= 2003 ? IsNthMonday(d, dow, 3) : (y >= 1996 && d == 20)) return u"海の日";
        break;
    case 8:
        if (y == 2020) return d == 10 ? u"山の日" : nullptr;
        if (y == 2021) return d == 8 ? u"山の日" : nullptr;
        if (y >= 2016 && d == 11) return u"山の日";
        break;
    case 9:
        if (d == AutumnalEquinoxDay(y)) return u"秋分の日";
        if (y >= 2003 ? IsNthMonday(d, dow, 3) : (y >= 1966 && d == 15)) return u"敬老の日";
        break;
    case 10:
        if (ymd == 20191022) return u"即位礼正殿の儀";
        if (y == 2020 || y == 2021) break;
        if (y >= 2000 ? IsNthMonday(d, dow, 2) : (y >= 1966 && d == 10))
            return y >= 2020 ? u"スポーツの日" : u"体育の日";
        break;
    case 11:
        if (d == 3) return u"文化の日";
        if (d == 23) return u"勤労感謝の日";
        if (ymd == 19901112) return u"即位礼正殿の儀";
        break;
    case 12:
        if (d == 23 && y >= 1989 && y <= 2018) return u"天皇誕生日";
        break;
    }
    return nullptr;
}

bool IsNamedHoliday(const QDate &date) {
    return NamedHoliday(date) != nullptr;
}

// Called only for a date that is no named holiday.
bool IsSubstituteHoliday(const QDate &date) {
    if (date < kSubstituteStart) return false;
    if (date < kAmendment2007) {
        const QDate before = date.addDays(-1);
        return before.dayOfWeek() == kSunday && IsNamedHoliday(before);
    }
    // Since 2007 the substitute moves past a run of holidays to the first free day.
    // Runs of named holidays are at most three days long, so this loop is short.
    for (QDate day = date.addDays(-1); IsNamedHoliday(day); day = day.addDays(-1)) {
        if (day.dayOfWeek() == kSunday) return true;
    }
    return false;
}

// Called only for a date that is neither a named holiday nor a substitute holiday.
bool IsCitizensHoliday(const QDate &date) {
    if (date < kCitizensHolidayStart) return false;
    if (date < kAmendment2007 && date.dayOfWeek() == kSunday) return false;
    return IsNamedHoliday(date.addDays(-1)) && IsNamedHoliday(date.addDays(1));
}

} // namespace

QString HolidayName(const QDate &date) {
    if (!date.isValid()) return {};
    if (const char16_t *name = NamedHoliday(date)) return QString::fromUtf16(name);
    if (IsSubstituteHoliday(date)) return QStringLiteral("振替休日");
    if (IsCitizensHoliday(date)) return QStringLiteral("国民の休日");
    return {};
}

int VernalEquinoxDay(int year) {
    return EquinoxDay(year, 20.8357, 20.8431, 21.851);
}

int AutumnalEquinoxDay(int year) {
    return EquinoxDay(year, 23.2588, 23.2488, 24.2488);
}

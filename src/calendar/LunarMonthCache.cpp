#include "calendar/LunarMonthCache.h"

namespace {

// Keeps days whose own search could end on a neighbouring term out of the shared tables.
constexpr double kBoundMargin = 1.0 / 24.0;

bool InCachedYears(int y) {
    return y >= LunarMonthCache::kFirstYear && y <= LunarMonthCache::kLastYear;
}

} // namespace

const LunarMonthCache::Entry *LunarMonthCache::find(double dayNumber) const {
    for (const Entry &entry : m_entries) {
        if (!entry.used) continue;
        // term[3] is the next equinox or solstice after term[0].
        if (dayNumber >= entry.table.term[0] + kBoundMargin && dayNumber < entry.table.term[3] - kBoundMargin)
            return &entry;
    }
    return nullptr;
}

LunarDate LunarMonthCache::lunarDate(int y, int m, int d) {
    const double dayNumber = DayNumber(y, m, d, 0, 0, 0);
    if (!InCachedYears(y)) return LunarDateUncached(y, m, d);
    if (const Entry *entry = find(dayNumber)) return LookupLunarDate(entry->table, dayNumber);

    Entry &entry = m_entries[m_next];
    m_next = (m_next + 1) % kCapacity;
    entry.table = BuildLunarMonthTable(dayNumber);
    entry.used = true;
    return LookupLunarDate(entry.table, dayNumber);
}

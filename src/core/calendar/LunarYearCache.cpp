#include "core/calendar/LunarYearCache.h"

#include <cmath>

const LunarYearTable &LunarYearCache::tableOf(int year) {
    for (const Entry &entry : m_entries)
        if (entry.used && entry.year == year) return entry.table;

    Entry &entry = m_entries[m_next];
    m_next = (m_next + 1) % kCapacity;
    entry.table = BuildLunarYearTable(year);
    entry.year = year;
    entry.used = true;
    return entry.table;
}

LunarDate LunarYearCache::lunarDate(int y, int m, int d) {
    const double dayNumber = DayNumber(y, m, d, 0, 0, 0);
    // Days before this year's 11th month belong to the lunar year that began in the last one.
    const LunarYearTable &table = tableOf(y);
    if (std::floor(dayNumber) >= table.firstDay[0]) return LookupLunarDate(table, dayNumber);
    return LookupLunarDate(tableOf(y - 1), dayNumber);
}

LunarDate LunarDateOf(int y, int m, int d) {
    static LunarYearCache cache;
    return cache.lunarDate(y, m, d);
}

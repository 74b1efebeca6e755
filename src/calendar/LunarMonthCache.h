#pragma once

#include "calendar/Kyureki.h"

#include <array>

// Keeps the month tables of the last few quarters (equinox or solstice to the
// next) so that the days of one quarter share one table instead of each
// running the new-moon searches again.
//
// Every day of one quarter builds the same table, apart from
// rounding in the last bits of the converged moments; that this never changes
// a result is checked day by day for the years the cache serves. Days outside
// them, and days within an hour of a quarter's bounds, take the full
// conversion.
class LunarMonthCache {
public:
    static constexpr int kFirstYear = 1900;
    static constexpr int kLastYear = 2100;
    static constexpr int kCapacity = 8;

    LunarDate lunarDate(int y, int m, int d);

private:
    struct Entry {
        LunarMonthTable table;
        bool used = false;
    };

    const Entry *find(double dayNumber) const;

    std::array<Entry, kCapacity> m_entries;
    int m_next = 0; // oldest entry, replaced next
};

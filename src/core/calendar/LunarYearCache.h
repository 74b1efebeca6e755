#pragma once

#include "core/calendar/Kyureki.h"

#include <array>

// Keeps the year tables of the last few lunar years so that the days of one
// year share one table instead of each running the new-moon searches again.
// A year's table depends on the year alone, so a cached table is the one the
// full conversion builds, to the last bit.
class LunarYearCache {
public:
    static constexpr int kCapacity = 4;

    LunarDate lunarDate(int y, int m, int d);

private:
    struct Entry {
        LunarYearTable table;
        int year = 0;
        bool used = false;
    };

    const LunarYearTable &tableOf(int year);

    std::array<Entry, kCapacity> m_entries;
    int m_next = 0; // oldest entry, replaced next
};

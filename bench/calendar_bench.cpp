// Cost of the per-cell calendar rules: the month grid asks for 42 days at every redraw.
#include "core/calendar/Holidays.h"
#include "core/calendar/Kyureki.h"

#include <QDate>

#include <benchmark/benchmark.h>

#include <vector>

namespace {

// Days of the month grids of every month from 1990 to 2060, in grid order.
std::vector<QDate> GridDays() {
    std::vector<QDate> days;
    for (QDate month(1990, 1, 1); month.year() <= 2060; month = month.addMonths(1)) {
        const QDate first = month.addDays(-(month.dayOfWeek() % 7));
        for (int cell = 0; cell < 42; ++cell) days.push_back(first.addDays(cell));
    }
    return days;
}

// Days far apart, so that no two calls share a lunar year.
std::vector<QDate> ScatteredDays() {
    std::vector<QDate> days;
    const QDate first(1900, 1, 1);
    for (int i = 0; i < 4096; ++i) days.push_back(first.addDays((i * 7919LL) % 73000));
    return days;
}

void BM_HolidayName(benchmark::State &state) {
    const std::vector<QDate> days = GridDays();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(HolidayName(days[i]));
        if (++i == days.size()) i = 0;
    }
}
BENCHMARK(BM_HolidayName);

void BM_RokuyoNameGridOrder(benchmark::State &state) {
    const std::vector<QDate> days = GridDays();
    std::size_t i = 0;
    for (auto _ : state) {
        const QDate &d = days[i];
        benchmark::DoNotOptimize(RokuyoName(d.year(), d.month(), d.day()));
        if (++i == days.size()) i = 0;
    }
}
BENCHMARK(BM_RokuyoNameGridOrder);

void BM_RokuyoNameScattered(benchmark::State &state) {
    const std::vector<QDate> days = ScatteredDays();
    std::size_t i = 0;
    for (auto _ : state) {
        const QDate &d = days[i];
        benchmark::DoNotOptimize(RokuyoName(d.year(), d.month(), d.day()));
        if (++i == days.size()) i = 0;
    }
}
BENCHMARK(BM_RokuyoNameScattered);

void BM_RokuyoNameUncached(benchmark::State &state) {
    const std::vector<QDate> days = GridDays();
    std::size_t i = 0;
    for (auto _ : state) {
        const QDate &d = days[i];
        benchmark::DoNotOptimize(RokuyoName(LunarDateUncached(d.year(), d.month(), d.day())));
        i = (i + 97) % days.size();
    }
}
BENCHMARK(BM_RokuyoNameUncached);

// One redraw: holiday and rokuyo for each of the 42 cells of a month.
void BM_MonthGrid(benchmark::State &state) {
    const std::vector<QDate> days = GridDays();
    std::size_t month = 0;
    const std::size_t months = days.size() / 42;
    for (auto _ : state) {
        for (std::size_t cell = 0; cell < 42; ++cell) {
            const QDate &d = days[month * 42 + cell];
            benchmark::DoNotOptimize(HolidayName(d));
            benchmark::DoNotOptimize(RokuyoName(d.year(), d.month(), d.day()));
        }
        month = (month + 1) % months;
    }
}
BENCHMARK(BM_MonthGrid)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();

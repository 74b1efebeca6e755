// One month of the grid as the calendar window draws it: 42 day classes and 42 rokuyo names, over a data file of
// ten years of daily memos and 300 extra off and working days.
#include "BenchFolder.h"
#include "core/calendar/DayClass.h"
#include "core/calendar/Kyureki.h"
#include "core/memos/MemoBook.h"
#include "core/memos/MemoStore.h"

#include <benchmark/benchmark.h>

namespace {

void BM_MonthGrid(benchmark::State &state) {
    const QDate first(2017, 1, 1);
    std::vector<IniEdit> extraDays;
    for (int i = 0; i < 150; ++i) {
        extraDays.push_back({"OFFDAY", DayKey(first.addDays(i * 23)), "1"});
        extraDays.push_back({"WEEKDAY", DayKey(first.addDays(i * 23 + 5)), "2"});
    }
    BenchFolder folder(first, extraDays);
    AppContext &ctx = folder.ctx;
    ctx.settings.StartDay = "1";
    ctx.settings.OffDay = "1,7";

    const auto marksOf = [&ctx](const QDate &date) { return ctx.memos().marks(date); };
    QDate month = first;
    for (auto _ : state) {
        for (int cell = 0; cell < 42; ++cell) {
            const GridDay day = ClassifyGridDay(cell, month, ctx.settings.startDay(), ctx.settings.OffDay, marksOf);
            if (day.date.isValid())
                benchmark::DoNotOptimize(RokuyoName(day.date.year(), day.date.month(), day.date.day()));
        }
        month = month.addMonths(1);
        if (month.year() >= 2027) month = first;
    }
    state.SetLabel("a different month each time");
}
BENCHMARK(BM_MonthGrid)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();

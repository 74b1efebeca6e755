// Redrawing the calendar window for another month: the 42 cells, their rokuyo, the today marker and the
// see-through shape, with default settings and a data file of ten years of daily memos.
#include "BenchFolder.h"
#include "core/memos/MemoStore.h"
#include "core/settings/SettingsStore.h"
#include "gui/calendar/frmMain.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

void BM_MonthRedraw(benchmark::State &state) {
    const QDate first(2020, 1, 1);
    BenchFolder folder(first);
    AppContext &ctx = folder.ctx;
    WriteDefaultSettings(ctx.settingsStore());
    ctx.settings.load();
    frmMain window(ctx);
    window.activateCalendar();
    QDate month = first;
    for (auto _ : state) {
        window.ShowMonth(month);
        month = month.addMonths(1);
        if (month.year() >= 2030) month = first;
    }
}
BENCHMARK(BM_MonthRedraw)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

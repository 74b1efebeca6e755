#include "core/notes/RtfReader.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <benchmark/benchmark.h>

namespace {

// One paragraph of runs that switch between bold and normal text.
QByteArray BoldSwitches(int runs) {
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg932\\deff0{\\fonttbl{\\f0\\fnil\\fcharset128 IPAGothic;}}\\f0\\fs20 ";
    for (int i = 0; i < runs; ++i) rtf += i % 2 ? "\\b0 word " : "\\b word ";
    return rtf + "\\par}";
}

// One paragraph of runs of changing colours.
QByteArray ColouredRuns(int runs) {
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg932\\deff0{\\fonttbl{\\f0\\fnil\\fcharset128 IPAGothic;}}{\\colortbl ;";
    for (int c = 0; c < 16; ++c) rtf += "\\red" + QByteArray::number(c * 16) + "\\green0\\blue" + QByteArray::number(255 - c * 16) + ';';
    rtf += "}\\f0\\fs20 ";
    for (int i = 0; i < runs; ++i) rtf += "\\cf" + QByteArray::number(1 + i % 16) + " \\'82\\'a0\\'82\\'a2 ";
    return rtf + "\\par}";
}

void ReadRuns(benchmark::State &state, QByteArray (*make)(int)) {
    const QByteArray rtf = make(int(state.range(0)));
    for (auto _ : state) {
        QTextDocument document;
        ReadRtf(rtf, document);
        benchmark::DoNotOptimize(document.characterCount());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["runs/s"] = benchmark::Counter(double(state.iterations() * state.range(0)), benchmark::Counter::kIsRate);
}

void BM_ReadBoldSwitches(benchmark::State &state) {
    ReadRuns(state, BoldSwitches);
}
void BM_ReadColouredRuns(benchmark::State &state) {
    ReadRuns(state, ColouredRuns);
}
BENCHMARK(BM_ReadBoldSwitches)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadColouredRuns)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}

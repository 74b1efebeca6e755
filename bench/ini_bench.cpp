// Reading and writing memos in a data file of 10,000 days.
#include "core/system/IniFile.h"

#include <QDate>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

struct DataFile {
    QTemporaryDir dir;
    QString path = dir.filePath("Tsukiban.tdb");
    QStringList keys;

    DataFile() {
        IniFile ini(path);
        std::vector<IniEdit> edits;
        const QDate first(2000, 1, 1);
        for (int i = 0; i < 10000; ++i) {
            const QString key = first.addDays(i).toString("yyyy/MM/dd");
            keys << key;
            edits.push_back({"PROGRAM", key, QString::fromUtf8("会議 %1 件\\CRLF\\資料を用意する").arg(i)});
        }
        for (int i = 0; i < 300; ++i) edits.push_back({"OFFDAY", first.addDays(i * 7).toString("yyyy/MM/dd"), "1"});
        ini.write(edits);
    }
};

void BM_ReadDataParsed(benchmark::State &state) {
    DataFile data;
    IniFile ini(data.path);
    ini.read("PROGRAM", data.keys[0]); // parse once
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ini.read("PROGRAM", data.keys[i]));
        i = (i + 7919) % data.keys.size();
    }
}
BENCHMARK(BM_ReadDataParsed);

void BM_ReadDataFirstParse(benchmark::State &state) {
    DataFile data;
    for (auto _ : state) {
        IniFile ini(data.path);
        benchmark::DoNotOptimize(ini.read("PROGRAM", data.keys[5000]));
    }
    state.SetLabel("parse of 10,300 lines");
}
BENCHMARK(BM_ReadDataFirstParse)->Unit(benchmark::kMillisecond);

void BM_WriteData(benchmark::State &state) {
    DataFile data;
    IniFile ini(data.path);
    ini.read("PROGRAM", data.keys[0]);
    int i = 0;
    for (auto _ : state) {
        ini.write("PROGRAM", data.keys[i], QString::fromUtf8("変更 %1").arg(i));
        i = (i + 7919) % data.keys.size();
    }
    state.SetLabel("atomic rewrite of the whole file");
}
BENCHMARK(BM_WriteData)->Unit(benchmark::kMillisecond);

// Clearing a month: 31 keys removed in one write, as the memo list's clear command does.
void BM_ClearMonth(benchmark::State &state) {
    DataFile data;
    IniFile ini(data.path);
    int month = 0;
    for (auto _ : state) {
        std::vector<IniEdit> edits;
        for (int d = 0; d < 31; ++d)
            edits.push_back({"PROGRAM", data.keys[(month * 31 + d) % data.keys.size()], std::nullopt});
        ini.write(edits);
        ++month;
    }
    state.SetLabel("31 removals, one atomic rewrite");
}
BENCHMARK(BM_ClearMonth)->Unit(benchmark::kMillisecond);

// An import of a year of appointments: 365 keys new to the section, in one write.
void BM_AddYear(benchmark::State &state) {
    DataFile data;
    IniFile ini(data.path);
    int year = 0;
    for (auto _ : state) {
        std::vector<IniEdit> edits;
        const QDate first(2100 + year++, 1, 1);
        for (int d = 0; d < 365; ++d) edits.push_back({"PROGRAM", first.addDays(d).toString("yyyy/MM/dd"), "imported"});
        ini.write(edits);
    }
    state.SetLabel("365 new keys, one atomic rewrite");
}
BENCHMARK(BM_AddYear)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

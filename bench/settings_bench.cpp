// The settings file of 5 MB (a log appended to it by mistake): the start reads the meter's keys
// from it, the close writes them back (one read, one rewrite). Budget: both within a second.
#include <benchmark/benchmark.h>

#include <string>

#include "common/IniPlatformCases.h"
#include "common/MemoryFileStore.h"
#include "forms/MeterSettings.h"

namespace {

using namespace zq;

// The meter's sections first, then the log; as ANSI text or as UTF-16LE.
std::string FiveMegabytes(bool utf16) {
    std::string text = "[Colors]\r\nPro1=4227072\r\n[Window]\r\nLeft=120\r\nTop=150\r\n[Log]\r\n";
    while (text.size() < (utf16 ? 5u << 19 : 5u << 20))
        text += "2026-12-08 12:00:00 something was logged here by mistake, line after line\r\n";
    if (!utf16)
        return text;
    return zqtest::Utf16(std::u16string(text.begin(), text.end()));
}

void BM_SettingsStartAndClose5MB(benchmark::State& state) {
    zqtest::TMemoryFileStore store;
    const std::string file = FiveMegabytes(state.range(0) != 0);
    for (auto _ : state) {
        store.Files[kSettingsFileName] = file;
        TIniFile ini(kSettingsFileName, store);
        const MeterSettings settings = ReadMeterSettings(ini);
        WriteMeterSettings(ini, settings);
        benchmark::DoNotOptimize(store.Files[kSettingsFileName].data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(file.size()));
    state.SetLabel(state.range(0) != 0 ? "UTF-16LE" : "ANSI");
}
BENCHMARK(BM_SettingsStartAndClose5MB)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

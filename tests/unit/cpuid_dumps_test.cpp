// Real processors' registers (unit/data/cpuid) read through the fake reader into a snapshot, as
// the System Information dialog reads them: vendor, names and caches against the figures their
// makers publish.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <sstream>
#include <string>
#include <string_view>

#include "cpuid/ProcessorIdentity.h"
#include "unit/cpuid_fake.h"

using namespace zq;
using namespace cpuidtest;

namespace {

struct TDump {
    const char* Name;
    const char* Text;
};
const TDump dumps[] = {
#include "cpuid_dumps.inc"
};

// Processor 0: the lines up to the first leaf (or sub-leaf) seen again. A line marked [SL nn]
// is that sub-leaf of its leaf; the others answer whatever ECX holds. Intel processors answer a
// level above their highest with the registers of the highest standard level.
TFakeCpu Replay(const std::string& text) {
    TFakeCpu cpu;
    std::set<std::pair<unsigned, unsigned>> seen;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        unsigned level, eax, ebx, ecx, edx, subleaf = ~0u;
        if (std::sscanf(line.c_str(), "CPUID %x: %x-%x-%x-%x", &level, &eax, &ebx, &ecx, &edx) != 5)
            continue;
        if (const auto mark = line.find("[SL "); mark != std::string::npos) {
            EXPECT_EQ(std::sscanf(line.c_str() + mark, "[SL %x]", &subleaf), 1) << line;
        }
        if (!seen.insert({level, subleaf}).second)
            break;
        if (subleaf == ~0u)
            cpu.Set(level, {eax, ebx, ecx, edx});
        else
            cpu.SetSub(level, subleaf, {eax, ebx, ecx, edx});
    }
    if (cpu.Leaves.count(0) && cpu.Leaves[0][0].EBX == 0x756E6547) // "Genu"
        cpu.Beyond = TBeyondRange::HighestBasic;
    return cpu;
}

std::string WithoutPadding(std::string text) {
    text.erase(text.find_last_not_of(std::string_view(" \0", 2)) + 1);
    return text.erase(0, text.find_first_not_of(' '));
}

// The makers' figures: cache sizes in KB; the brand is the loaded full name without its padding.
const struct {
    const char* file;
    const char *vendor, *cpu, *brand;
    int l1Data, l1Code, level1, level2, level3;
} processors[] = {
    // K6-2 (CXT): 32 KB data and 32 KB code caches; its L2 is on the board.
    {"AuthenticAMD000058C_K6_ChomperExt_CPUID.txt", "Advanced Micro Devices", "K6-2",
     "AMD-K6(tm) 3D processor", 32, 32, 0, 0, 0},
    // VIA Nano (Isaiah): 64 KB + 64 KB, 1 MB L2.
    {"CentaurHauls00006F2_CNA_Isaiah_CPUID.txt", "IDT/Centaur", "", "VIA CNA processor 1800MHz", 64,
     64, 0, 1024, 0},
    // Core 2 Extreme X6800: 32 KB + 32 KB per core, a 4 MB L2 shared by both.
    {"GenuineIntel00006F6_Conroe_CPUID.txt", "Intel Corporation", "Pentium II/III class",
     "Intel(R) Core(TM)2 CPU         X6800  @ 2.93GHz", 32, 32, 0, 4096, 0},
    // Pentium 4 (Northwood): 8 KB data cache, a trace cache of 12K micro-ops, 512 KB L2.
    {"GenuineIntel0000F29_P4_Northwood_CPUID.txt", "Intel Corporation", "Pentium 4 class",
     "Intel(R) Pentium(R) 4 CPU 2.80GHz", 8, 0, 0, 512, 0},
};

} // namespace

TEST(CpuidDumps, RealProcessorsDecodeToTheirPublishedFigures) {
    ASSERT_EQ(std::size(dumps), std::size(processors));
    for (const auto& p : processors) {
        SCOPED_TRACE(p.file);
        const auto* dump = std::find_if(std::begin(dumps), std::end(dumps), [&](const TDump& d) {
            return std::string_view(d.Name) == p.file;
        });
        ASSERT_NE(dump, std::end(dumps));
        TFakeCpu cpu = Replay(dump->Text);
        TProcessorIdentity ident(nullptr, cpu.Snapshot(), cpu);
        ident.LoadedTree();

        EXPECT_EQ(ident.Vendor(), p.vendor);
        EXPECT_EQ(ident.CPU(), p.cpu);
        EXPECT_EQ(WithoutPadding(ident.FullName()), p.brand);
        const TCpuCacheInfo& cache = *ident.Cache();
        EXPECT_EQ(cache.L1Data(), p.l1Data);
        EXPECT_EQ(cache.L1Code(), p.l1Code);
        EXPECT_EQ(cache.Level1(), p.level1);
        EXPECT_EQ(cache.Level2(), p.level2);
        EXPECT_EQ(cache.Level3(), p.level3);
    }
}

#pragma once
// Recorded processors. A snapshot filled with leaves is what the decoding tests need; a fake
// processor behind the register reader and the clock (leaves and sub-leaves answered from tables,
// a clock that advances with every tick-count read and every sleep, and a log of priority changes
// and sleeps) is what the reading and the clock measurement need.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "cpuid/CpuClock.h"
#include "cpuid/CpuidReader.h"
#include "cpuid/CpuidSnapshot.h"

namespace cpuidtest {

using zq::TCpuidSnapshot;
using zq::TCpuRegisters;

// What a processor answers for a level above its highest one.
enum class TBeyondRange {
    Zeros,        // AMD, Cyrix, Centaur
    HighestBasic, // Intel: the registers of the highest standard level
};

inline TCpuRegisters VendorLeaf(std::uint32_t maxLevel, const char (&vendor)[13]) {
    auto word = [&](int at) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(vendor[at])) |
               static_cast<std::uint32_t>(static_cast<unsigned char>(vendor[at + 1])) << 8 |
               static_cast<std::uint32_t>(static_cast<unsigned char>(vendor[at + 2])) << 16 |
               static_cast<std::uint32_t>(static_cast<unsigned char>(vendor[at + 3])) << 24;
    };
    return {maxLevel, word(0), word(8), word(4)};
}

// A leaf 4 (or 0x8000001D) sub-leaf: type (1 data, 2 instruction, 3 unified), level, ways, line
// size, sets.
inline TCpuRegisters CacheParameters(int type, int level, int ways, int line, int sets) {
    return {static_cast<std::uint32_t>(type | level << 5),
            static_cast<std::uint32_t>((ways - 1) << 22 | (line - 1)),
            static_cast<std::uint32_t>(sets - 1), 0};
}

// 48 characters of brand string, padded with zero characters, into levels 0x80000002 to
// 0x80000004 of a snapshot or a fake processor.
template <class TProcessor> void SetBrand(TProcessor& processor, std::string text) {
    text.resize(48, '\0');
    for (int piece = 0; piece < 3; ++piece) {
        std::array<std::uint32_t, 4> w{};
        for (int r = 0; r < 4; ++r)
            for (int b = 0; b < 4; ++b)
                w[r] |= static_cast<std::uint32_t>(
                            static_cast<unsigned char>(text[piece * 16 + r * 4 + b]))
                        << (8 * b);
        processor.Set(0x80000002u + piece, {w[0], w[1], w[2], w[3]});
    }
}

class TFakeCpu : public zq::TCpuidReader, public zq::TCpuClock {
public:
    bool HasCpuid = true;
    TBeyondRange Beyond = TBeyondRange::Zeros;
    std::map<std::uint32_t, std::vector<TCpuRegisters>> Leaves; // answers in turn, any ECX
    // Leaves with sub-leaves: the registers of each (level, ECX); an unset sub-leaf reads zeros.
    std::map<std::pair<std::uint32_t, std::uint32_t>, TCpuRegisters> SubLeaves;
    zq::TSystemProcessorInfo Facts{1, 586};
    double MHz = 0;                        // time stamp counter rate
    std::uint64_t StepMicros = 50;         // time that passes per tick-count read
    std::uint64_t TickPeriodMicros = 1000; // how often the tick count is brought up to date
    std::uint32_t TickBase = 0;
    std::vector<std::string> Log; // priority calls and sleeps
    int Executions = 0;
    std::map<std::pair<std::uint32_t, std::uint32_t>, int> ExecutionsOf; // by (level, ECX)
    int TimeStampReads = 0;

    void Set(std::uint32_t level, TCpuRegisters regs) { Leaves[level] = {regs}; }
    void SetSub(std::uint32_t level, std::uint32_t subleaf, TCpuRegisters regs) {
        SubLeaves[{level, subleaf}] = regs;
    }
    // What the library reads of this processor.
    TCpuidSnapshot Snapshot() { return zq::ReadCpuidSnapshot(*this, Facts); }

    std::uint32_t ReadFlags() override { return FFlags; }
    void WriteFlags(std::uint32_t value) override {
        // Without CPUID the identification bit keeps its value.
        FFlags = HasCpuid ? value : (value & ~0x00200000u) | (FFlags & 0x00200000u);
    }
    TCpuRegisters Cpuid(std::uint32_t level, std::uint32_t subleaf) override {
        ++Executions;
        ++ExecutionsOf[{level, subleaf}];
        if (!HasCpuid) {
            ADD_FAILURE() << "CPUID executed on a processor without it";
            return {};
        }
        if (auto first = SubLeaves.lower_bound({level, 0});
            first != SubLeaves.end() && first->first.first == level) {
            auto found = SubLeaves.find({level, subleaf});
            return found == SubLeaves.end() ? TCpuRegisters{} : found->second;
        }
        auto found = Leaves.find(level);
        if (found != Leaves.end() && !found->second.empty()) {
            std::size_t& n = FCalls[level];
            return found->second[n++ % found->second.size()];
        }
        if (Beyond == TBeyondRange::HighestBasic && InRange(level) == false) {
            const std::uint32_t top = Leaves.count(0) ? Leaves[0][0].EAX : 0;
            auto basic = Leaves.find(top);
            if (basic != Leaves.end() && !basic->second.empty())
                return basic->second.front();
        }
        return {};
    }
    std::uint64_t ReadTimeStamp() override {
        ++TimeStampReads;
        return static_cast<std::uint64_t>(static_cast<double>(FMicros) * MHz);
    }
    std::uint32_t TickCount() override {
        FMicros += StepMicros;
        const std::uint64_t updated = FMicros / TickPeriodMicros * TickPeriodMicros;
        return TickBase + static_cast<std::uint32_t>(updated / 1000);
    }
    void Sleep(std::uint32_t milliseconds) override {
        FMicros += std::uint64_t{milliseconds} * 1000;
        Log.push_back("sleep " + std::to_string(milliseconds));
    }
    int ThreadPriority() override {
        Log.push_back("get thread");
        return 2;
    }
    void SetThreadPriority(int value) override {
        Log.push_back("set thread " + std::to_string(value));
    }
    std::uint32_t ProcessorCount() override { return Facts.NumberOfProcessors; }

private:
    bool InRange(std::uint32_t level) {
        const std::uint32_t maxBasic = Leaves.count(0) ? Leaves[0][0].EAX : 0;
        if (level < 0x80000000u)
            return level <= maxBasic;
        const std::uint32_t maxExt = Leaves.count(0x80000000u) ? Leaves[0x80000000u][0].EAX : 0;
        return maxExt >= 0x80000000u && level <= maxExt;
    }

    std::uint32_t FFlags = 0x00000202;
    std::uint64_t FMicros = 0;
    std::map<std::uint32_t, std::size_t> FCalls;
};

// Levels 0 and 1 (and whatever the test adds) of a snapshot or a fake processor.
template <class TProcessor>
TProcessor Recorded(const char (&vendor)[13], std::uint32_t signature, std::uint32_t features = 0,
                    std::uint32_t level1Ebx = 0, std::uint32_t maxLevel = 1) {
    TProcessor processor;
    processor.Set(0, VendorLeaf(maxLevel, vendor));
    processor.Set(1, {signature, level1Ebx, 0, features});
    return processor;
}

inline TCpuidSnapshot Processor(const char (&vendor)[13], std::uint32_t signature,
                                std::uint32_t features = 0, std::uint32_t level1Ebx = 0,
                                std::uint32_t maxLevel = 1) {
    return Recorded<TCpuidSnapshot>(vendor, signature, features, level1Ebx, maxLevel);
}

inline TFakeCpu SimpleCpu(const char (&vendor)[13], std::uint32_t signature,
                          std::uint32_t features = 0, std::uint32_t level1Ebx = 0,
                          std::uint32_t maxLevel = 1) {
    return Recorded<TFakeCpu>(vendor, signature, features, level1Ebx, maxLevel);
}

// A processor without CPUID, of the system's processor type.
inline TCpuidSnapshot ProcessorWithoutCpuid(std::uint32_t processorType = 486) {
    TCpuidSnapshot processor;
    processor.System = {1, processorType};
    return processor;
}

inline TFakeCpu NoCpuid(std::uint32_t processorType = 486) {
    TFakeCpu cpu;
    cpu.HasCpuid = false;
    cpu.Facts = {1, processorType};
    return cpu;
}

} // namespace cpuidtest

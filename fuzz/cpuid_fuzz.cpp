// Links: zq_cpuid_logic zq_toolkit_logic
// Processor identification over a processor whose registers come from the input: a header
// (no-CPUID flag, answers beyond the range, system facts, clock) and then records of a level
// selector and four registers; several records for one level answer in turn. The selector's
// multiples of the level count pick a sub-leaf; a level given only as sub-leaf 0 answers that
// for every sub-leaf (as a leaf without sub-leaves ignores ECX), so leaf 4 may never end. The
// snapshot is read from it and the whole component created on that snapshot and loaded; every
// property must be defined, CPUID never runs on a processor without it, the snapshot holds no
// more than the reading may execute, and the clock measurement restores the priorities it
// raised.
#include "FuzzInput.h"

#include <map>
#include <vector>

#include "cpuid/CpuidQueries.h"
#include "cpuid/CpuidReader.h"
#include "cpuid/ProcessorIdentity.h"

using namespace zq;
using zq::fuzz::TFuzzReader;

namespace {

constexpr std::uint32_t kLevels[] = {0,           1,           2,           3,
                                     0x80000000u, 0x80000001u, 0x80000002u, 0x80000003u,
                                     0x80000004u, 0x80000005u, 0x80000006u, 4};
constexpr int kNormalThread = 0;

class TFuzzCpu : public TCpuidReader, public TCpuClock {
public:
    bool HasCpuid = true;
    bool AnswersHighestBasic = false; // beyond the range: the highest standard level's registers
    std::map<std::uint32_t, std::vector<TCpuRegisters>> Leaves;
    std::map<std::pair<std::uint32_t, std::uint32_t>, TCpuRegisters> SubLeaves;
    TSystemProcessorInfo Facts;
    std::uint32_t MHz = 0;
    std::uint64_t StepMicros = 50;
    std::uint64_t TickPeriodMicros = 1000;
    std::uint32_t TickBase = 0;
    int Thread = kNormalThread;

    std::uint32_t ReadFlags() override { return FFlags; }
    void WriteFlags(std::uint32_t value) override {
        FFlags = HasCpuid ? value : (value & ~0x00200000u) | (FFlags & 0x00200000u);
    }
    int Executions = 0;

    TCpuRegisters Cpuid(std::uint32_t level, std::uint32_t subleaf) override {
        ZQ_FUZZ_CHECK(HasCpuid);
        ++Executions;
        if (auto found = SubLeaves.find({level, subleaf}); found != SubLeaves.end())
            return found->second;
        if (auto found = Leaves.find(level); found != Leaves.end())
            return found->second[FCalls[level]++ % found->second.size()];
        if (AnswersHighestBasic && !InRange(level)) {
            if (auto top = Leaves.find(First(0).EAX); top != Leaves.end())
                return top->second.front();
        }
        return {};
    }
    std::uint64_t ReadTimeStamp() override { return FMicros * MHz; }
    std::uint32_t TickCount() override {
        FMicros += StepMicros;
        return TickBase +
               static_cast<std::uint32_t>(FMicros / TickPeriodMicros * TickPeriodMicros / 1000);
    }
    void Sleep(std::uint32_t milliseconds) override {
        FMicros += std::uint64_t{milliseconds} * 1000;
    }
    int ThreadPriority() override { return Thread; }
    void SetThreadPriority(int value) override { Thread = value; }
    std::uint32_t ProcessorCount() override { return Facts.NumberOfProcessors; }

private:
    TCpuRegisters First(std::uint32_t level) const {
        auto found = Leaves.find(level);
        return found == Leaves.end() ? TCpuRegisters{} : found->second.front();
    }
    bool InRange(std::uint32_t level) const {
        if (level < 0x80000000u)
            return level <= First(0).EAX;
        const std::uint32_t top = First(0x80000000u).EAX;
        return top >= 0x80000000u && level <= top;
    }

    std::uint32_t FFlags = 0x00000202;
    std::uint64_t FMicros = 0;
    std::map<std::uint32_t, std::size_t> FCalls;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TFuzzReader in(data, size);
    TFuzzCpu cpu;
    const auto flags = in.Take<std::uint8_t>();
    cpu.HasCpuid = (flags & 1) == 0;
    cpu.AnswersHighestBasic = (flags & 2) != 0;
    const bool measure = (flags & 4) != 0;
    cpu.Facts.NumberOfProcessors = in.Take<std::uint32_t>();
    cpu.Facts.ProcessorType = in.Take<std::uint32_t>();
    cpu.MHz = in.Take<std::uint16_t>();
    cpu.StepMicros = in.InRange<std::uint16_t>(1, 2000);
    cpu.TickPeriodMicros = in.InRange<std::uint16_t>(1, 20000);
    cpu.TickBase = in.Take<std::uint32_t>();
    const int delay = in.InRange<std::uint8_t>(0, 64);
    while (!in.Empty()) {
        const std::uint8_t selector = in.Take<std::uint8_t>();
        const std::uint32_t level = kLevels[selector % std::size(kLevels)];
        const std::uint32_t subleaf = selector / std::size(kLevels);
        TCpuRegisters regs;
        regs.EAX = in.Take<std::uint32_t>();
        regs.EBX = in.Take<std::uint32_t>();
        regs.ECX = in.Take<std::uint32_t>();
        regs.EDX = in.Take<std::uint32_t>();
        if (subleaf == 0)
            cpu.Leaves[level].push_back(regs);
        else
            cpu.SubLeaves[{level, subleaf}] = regs;
    }

    const TCpuidSnapshot processor = ReadCpuidSnapshot(cpu, cpu.Facts);
    // Leaves 0 and 0x80000000, eight more leaves, leaf 2 with up to 255 repeats and two leaves of
    // up to 32 sub-leaves.
    ZQ_FUZZ_CHECK(cpu.Executions <= 10 + 256 + 2 * 32);
    TProcessorIdentity ident(nullptr, processor, cpu);
    ident.AutoBench()->SetEnabled(measure);
    ident.AutoBench()->SetDelay(delay);
    ident.LoadedTree();
    ZQ_FUZZ_CHECK(cpu.Thread == kNormalThread);

    const TCpuDetectedInfo& raw = *ident.InternalResults();
    ZQ_FUZZ_CHECK(ident.CPUID()->Available() == cpu.HasCpuid);
    if (cpu.HasCpuid) {
        ZQ_FUZZ_CHECK(ident.CPUID()->MaxLevelEx() >= 0 && ident.CPUID()->MaxLevelEx() <= 7);
        ZQ_FUZZ_CHECK(raw.cpuFamily() >= 0 && raw.cpuFamily() <= 15);
        ZQ_FUZZ_CHECK(raw.cpuModel() >= 0 && raw.cpuModel() <= 15);
        ZQ_FUZZ_CHECK(raw.cpuType() >= 0 && raw.cpuType() <= 3);
        ZQ_FUZZ_CHECK(raw.cpuFamilyEx() >= 0 && raw.cpuFamilyEx() <= 255);
        ZQ_FUZZ_CHECK(raw.Brand() >= 0 && raw.Brand() <= 255);
        ZQ_FUZZ_CHECK(raw.VendorID().size() == 12);
    } else {
        ZQ_FUZZ_CHECK(ident.CPUID()->MaxLevel() == -1 && ident.CPUID()->MaxLevelEx() == -1);
        ZQ_FUZZ_CHECK(raw.Signature() == -1 && raw.VendorID().empty());
        ZQ_FUZZ_CHECK(ident.Serial().empty() && !ident.MMX() && !ident.FDivBug());
    }
    ZQ_FUZZ_CHECK(ident.Serial().empty() || ident.Serial().size() == 29);
    ZQ_FUZZ_CHECK(ident.Speed() >= 0);
    if (!measure || delay == 0)
        ZQ_FUZZ_CHECK(ident.Speed() == 0);
    ZQ_FUZZ_CHECK(ident.Count() >= 0 && ident.Count() <= 255);
    for (int kb : {ident.Cache()->L1Data(), ident.Cache()->L1Code(), ident.Cache()->Level1(),
                   ident.Cache()->Level2(), ident.Cache()->Level3()})
        ZQ_FUZZ_CHECK(kb >= 0);
    ZQ_FUZZ_CHECK(ident.FullName().size() <= 48 + 64);
    // Read once, the processor is named consistently however its answers change.
    const TCpuVendorModule& module = VendorModule(GetVendorCode(processor));
    ZQ_FUZZ_CHECK(ident.Vendor() == module.LongName());
    if (ident.CPUID()->MaxLevelEx() < 4)
        ZQ_FUZZ_CHECK(ident.FullName() == module.ShortName() + ident.CPU());
    return 0;
}

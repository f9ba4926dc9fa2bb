#include "cpuid/CpuidReader.h"

#include "cpuid/CpuidConst.h"

namespace zq {

bool CpuidAvailable(TCpuidReader& reader) {
    const std::uint32_t before = reader.ReadFlags();
    reader.WriteFlags(before ^ cpuidFlagMask);
    const std::uint32_t after = reader.ReadFlags();
    reader.WriteFlags(before);
    return ((before ^ after) & cpuidFlagMask) != 0;
}

TCpuidSnapshot ReadCpuidSnapshot(TCpuidReader& reader, const TSystemProcessorInfo& system) {
    TCpuidSnapshot snapshot;
    snapshot.System = system;
    if (!CpuidAvailable(reader))
        return snapshot;
    auto read = [&](std::uint32_t level, std::uint32_t subleaf = 0) {
        const TCpuRegisters registers = reader.Cpuid(level, subleaf);
        snapshot.SetSub(level, subleaf, registers);
        return registers;
    };
    read(cpuidLevel::MaxLevel);
    read(cpuidLevel::MaxLevelEx);
    for (std::uint32_t level : {cpuidLevel::Signature, cpuidLevel::SerialNumber,
                                cpuidLevel::ExtFeatures, cpuidLevel::Brand1, cpuidLevel::Brand2,
                                cpuidLevel::Brand3, cpuidLevel::ExtL1Cache, cpuidLevel::ExtL2Cache})
        if (snapshot.InRange(level))
            read(level);
    // Leaf 2 is executed again as often as the low byte of its EAX asks; the last answer counts.
    if (snapshot.InRange(cpuidLevel::CacheDescriptors)) {
        TCpuRegisters descriptors = reader.Cpuid(cpuidLevel::CacheDescriptors, 0);
        const std::uint32_t repeat = descriptors.EAX & 0xFFu;
        if (repeat >= 2)
            for (std::uint32_t i = 0; i < repeat; ++i)
                descriptors = reader.Cpuid(cpuidLevel::CacheDescriptors, 0);
        snapshot.Set(cpuidLevel::CacheDescriptors, descriptors);
    }
    // One sub-leaf per cache, up to the first of type 0 (EAX bits 0-4).
    for (std::uint32_t level : {cpuidLevel::CacheParameters, cpuidLevel::ExtCacheTopology})
        if (snapshot.InRange(level))
            for (std::uint32_t subleaf = 0; subleaf < cpuidMaxCacheSubleaves; ++subleaf)
                if ((read(level, subleaf).EAX & 0x1Fu) == 0)
                    break;
    return snapshot;
}

} // namespace zq

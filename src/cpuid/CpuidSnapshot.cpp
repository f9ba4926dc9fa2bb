#include "cpuid/CpuidSnapshot.h"

#include <algorithm>
#include <utility>

#include "cpuid/CpuidConst.h"

namespace zq {

void TCpuidSnapshot::SetSub(std::uint32_t level, std::uint32_t subleaf,
                            const TCpuRegisters& registers) {
    const auto at = std::ranges::lower_bound(FLeaves, std::pair{level, subleaf}, {}, Key);
    if (at != FLeaves.end() && Key(*at) == std::pair{level, subleaf})
        at->Registers = registers;
    else
        FLeaves.insert(at, {level, subleaf, registers});
}

const TCpuRegisters* TCpuidSnapshot::Find(std::uint32_t level, std::uint32_t subleaf) const {
    const auto at = std::ranges::lower_bound(FLeaves, std::pair{level, subleaf}, {}, Key);
    return at != FLeaves.end() && Key(*at) == std::pair{level, subleaf} ? &at->Registers : nullptr;
}

bool TCpuidSnapshot::InRange(std::uint32_t level) const {
    const TCpuRegisters* highest =
        Find(level < cpuidLevel::MaxLevelEx ? cpuidLevel::MaxLevel : cpuidLevel::MaxLevelEx);
    return highest != nullptr && level <= highest->EAX;
}

} // namespace zq

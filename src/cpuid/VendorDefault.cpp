#include "cpuid/VendorDefault.h"

#include <cmath>
#include <cstdlib>

#include "cpuid/CpuidRegisters.h"
#include "cpuid/CpuidConst.h"

namespace zq {

namespace {

class TDefaultVendor final : public TCpuVendorModule {
public:
    std::string VendorID() const override { return {}; }
    std::string ShortName() const override { return "Unknown "; }
    std::string LongName() const override { return "Unknown Vendor"; }
    std::string ModelName(TCpuPort& port, std::uint8_t) const override {
        const std::uint32_t type = port.ProcessorFacts().ProcessorType;
        switch (type) {
        case 386:
            return "386 class";
        case 486:
            return "486 class";
        case 586:
            return "Pentium class";
        case 686:
            return "Pentium II class";
        default:
            return std::to_string(type) + " class";
        }
    }
};

template <std::size_t N> int NearestEntry(const std::array<int, N>& table, long long rest) {
    int kept = table[0];
    long long best = std::llabs(rest - table[0]);
    for (int entry : table) {
        const long long distance = std::llabs(rest - entry);
        if (distance <= best) {
            best = distance;
            kept = entry;
        }
    }
    return kept;
}

} // namespace

float TCpuVendorModule::RawSpeed(TCpuPort& port, std::uint8_t cpu, int delay) const {
    return MeasureRawClock(port, cpu, delay);
}

const TCpuVendorModule& DefaultVendor() {
    static const TDefaultVendor vendor;
    return vendor;
}

bool RawClockMeasurable(TCpuPort& port, int delay) {
    return delay > 0 && CpuidAvailable(port) && TestBit(ReadFeatureWord(port), cpuidBitTSC);
}

TClockMark MarkClockEdge(TCpuPort& port) {
    const std::uint32_t before = port.TickCount();
    std::uint32_t edge;
    do {
        edge = port.TickCount();
    } while (edge == before);
    return {edge, port.ReadTimeStamp()};
}

TClockMark MarkClockAfter(TCpuPort& port, const TClockMark& start, int delay) {
    const auto length = static_cast<std::uint32_t>(delay);
    std::uint32_t now = port.TickCount();
    if (now - start.Tick >= length) {
        const std::uint32_t late = now;
        do {
            now = port.TickCount();
        } while (now == late);
    } else {
        while (now - start.Tick < length)
            now = port.TickCount();
    }
    return {now, port.ReadTimeStamp()};
}

float RawClockBetween(const TClockMark& start, const TClockMark& end) {
    const std::uint32_t elapsed = end.Tick - start.Tick;
    if (elapsed == 0)
        return -1.0f;
    const long double ticks = static_cast<long double>(end.Stamp - start.Stamp);
    return static_cast<float>(ticks / (1000.0L * elapsed));
}

float MeasureRawClock(TCpuPort& port, std::uint8_t, int delay) {
    if (!RawClockMeasurable(port, delay))
        return -1.0f;
    const TMeasuringPriority raised(port, true);
    const TClockMark start = MarkClockEdge(port);
    return RawClockBetween(start, MarkClockAfter(port, start, delay));
}

int RoundClock(float raw) {
    long double x = raw;
    if (!std::isfinite(x) || std::fabs(x) > 2.0e9L)
        x = -1.0L;
    const long long hundreds = static_cast<long long>(std::trunc(x)) / 100;
    const long long base = hundreds * 100;
    const long long rest = static_cast<long long>(std::trunc(x - static_cast<long double>(base)));
    if (base >= cpuidClockTableHighFrom) {
        const long long clock = base + NearestEntry(cpuidClockTableHigh, rest);
        return static_cast<int>(clock == 666 ? 667 : clock);
    }
    const int entry = NearestEntry(cpuidClockTableLow, rest);
    if (hundreds <= 0)
        return entry;
    return static_cast<int>(base + entry);
}

std::string ModelNameByFamily(TCpuPort& port, std::uint8_t, TFamilyNamer family4,
                              TFamilyNamer family5, TFamilyNamer family6) {
    if (!CpuidAvailable(port))
        return {};
    const std::uint32_t signature = ReadSignature(port);
    const int model = SignatureModel(signature);
    switch (SignatureFamily(signature)) {
    case 4:
        return family4(model);
    case 5:
        return family5(model);
    case 6:
        return family6(model);
    default:
        return {};
    }
}

} // namespace zq

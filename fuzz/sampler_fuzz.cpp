// Links: zq_cpuusage_logic zq_toolkit_logic
// The CPU usage sampler over a system whose every answer comes from the input: the platform,
// the performance-data reads (status, bytes, byte count), the per-processor times and the
// Windows 9x statistics keys. Samples may fail with the sampler's own failures, nothing else;
// fractions are numbers.
#include "FuzzInput.h"

#include <cmath>

#include "cpuusage/CpuUsage.h"
#include "cpuusage/PerfData.h"
#include "toolkit/Exceptions.h"

using namespace zq;
using zq::fuzz::TFuzzReader;

namespace {

class TFuzzSystem : public TCpuUsagePort {
public:
    explicit TFuzzSystem(TFuzzReader& in) : FIn(in) {}

    std::optional<std::uint32_t> QueryPlatformId() override {
        switch (FIn.Take<std::uint8_t>() % 3) {
        case 0:
            return std::nullopt;
        case 1:
            return 1;
        default:
            return kPlatformWin32NT;
        }
    }

    // One answer: a selector (0 success, 1 another error, 2 success with a foreign byte
    // count), then the data behind a 16-bit length; data that does not fit asks for more room.
    long QueryPerformanceData(const char*, std::uint8_t* buffer, std::uint32_t size,
                              std::uint32_t& returned) override {
        const std::uint8_t kind = FIn.Take<std::uint8_t>() % 3;
        const std::string_view bytes = FIn.Bytes(FIn.Take<std::uint16_t>());
        if (bytes.size() > size)
            return kErrorMoreData;
        std::memcpy(buffer, bytes.data(), bytes.size());
        returned = static_cast<std::uint32_t>(bytes.size());
        if (kind == 1)
            return 2;
        if (kind == 2)
            returned = FIn.Take<std::uint32_t>();
        return kErrorSuccess;
    }

    bool HasProcessorTimes() override { return FIn.Flag(); }
    int ProcessorCount() override { return FIn.Take<std::int32_t>(); }

    bool QueryProcessorTimes(std::uint8_t* buffer, std::uint32_t size,
                             std::uint32_t& returned) override {
        const std::uint8_t kind = FIn.Take<std::uint8_t>() % 3;
        const std::string_view bytes = FIn.Bytes(FIn.Take<std::uint16_t>());
        const std::size_t n = std::min<std::size_t>(bytes.size(), size);
        std::memcpy(buffer, bytes.data(), n);
        returned = static_cast<std::uint32_t>(n);
        if (kind == 1)
            return false;
        if (kind == 2)
            returned = FIn.Take<std::uint32_t>();
        return true;
    }

    bool OpenDynDataKey(const char*, bool, std::uintptr_t& key) override {
        key = ++FKeys;
        return FIn.Flag();
    }
    void ReadDynDataValue(std::uintptr_t, const char*, std::uint32_t& value) override {
        if (FIn.Flag())
            value = FIn.Take<std::uint32_t>();
    }
    void CloseDynDataKey(std::uintptr_t) override {}

private:
    TFuzzReader& FIn;
    std::uintptr_t FKeys = 0;
};

void CheckFraction(TCpuUsageSampler& sampler, int index) {
    try {
        ZQ_FUZZ_CHECK(!std::isnan(sampler.CpuLoadFraction(index)));
    } catch (const Exception&) {
        // A failed read or an index outside the processors.
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TFuzzReader in(data, size);
    TFuzzSystem system(in);
    std::optional<TCpuUsageSampler> sampler;
    try {
        sampler.emplace(system);
    } catch (const Exception&) {
        return 0;
    }
    for (int sample = 0; sample < 16 && !in.Empty(); ++sample) {
        try {
            sampler->TakeCpuSample();
        } catch (const Exception&) {
        }
        const int count = sampler->ProcessorCount();
        ZQ_FUZZ_CHECK(count == -1 || (count >= 1 && count <= kMaxProcessorInstances));
        ZQ_FUZZ_CHECK(sampler->BufferSize() <= kMaxBufferSize);
        for (int index : {-1, 0, 1, count - 1, count})
            CheckFraction(*sampler, index);
        try {
            const double all = sampler->AllProcessorsLoadFraction();
            ZQ_FUZZ_CHECK(!std::isnan(all));
            for (double load : sampler->ProcessorLoadFractions())
                ZQ_FUZZ_CHECK(!std::isnan(load));
        } catch (const Exception&) {
        }
    }
    return 0;
}

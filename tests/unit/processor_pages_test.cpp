// The System Information dialog's processor pages: value texts, its clock measurement over the
// processor port, and the feature list.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <stdexcept>

#include "forms/ProcessorPages.h"
#include "unit/cpuid_fake.h"

using namespace zq;
using namespace cpuidtest;

namespace {

const std::vector<std::string> RaisedAndRestored = {"get class",     "get thread",  "set class 256",
                                                    "set thread 15", "sleep 10",    "sleep 500",
                                                    "set thread 2",  "set class 32"};

// Which bit of which word each row shows: the feature word, or the extended one of an AMD
// processor.
struct TRowBit {
    const char* name;
    bool extended;
    int bit;
};
const TRowBit rowBits[] = {
    {"FPU", false, 0},     {"VME", false, 1},     {"DE", false, 2},       {"PSE", false, 3},
    {"TSC", false, 4},     {"MSR", false, 5},     {"PAE", false, 6},      {"MCE", false, 7},
    {"CX8", false, 8},     {"APIC", false, 9},    {"SEP", false, 11},     {"MTRR", false, 12},
    {"PGE", false, 13},    {"MCA", false, 14},    {"CMOV", false, 15},    {"PAT", false, 16},
    {"PSE36", false, 17},  {"SERIAL", false, 18}, {"CLFLUSH", false, 19}, {"DTS", false, 21},
    {"ACPI", false, 22},   {"MMX", false, 23},    {"FXSR", false, 24},    {"SIMD", false, 25},
    {"SIMD2", false, 26},  {"SS", false, 27},     {"TM", false, 29},      {"3DNOW", true, 31},
    {"3DNOWEX", true, 30}, {"MMXEX", true, 22}};

} // namespace

TEST(ProcessorPages, ValueTexts) {
    const std::pair<const char* (*)(bool), std::pair<const char*, const char*>> texts[] = {
        {FDivText, {"Present", "Not Present"}},
        {ProcessorTypeText, {"OverDrive Processor", "OEM or Retail Processor"}},
        {MMXText, {"MMX Instructions Supported", "MMX Instructions not supported"}},
        {SIMDText, {"SIMD Instructions Supported", "SIMD Instructions not supported"}},
        {AMD3DNowText, {"3DNow! Instructions Supported", "3DNow! Instructions not supported"}}};
    for (auto [text, expected] : texts) {
        EXPECT_STREQ(text(true), expected.first);
        EXPECT_STREQ(text(false), expected.second);
    }
    EXPECT_EQ(CacheSizeText(512), "512 Kb");
    EXPECT_EQ(CacheSizeText(0), "0 Kb");
}

TEST(ProcessorPages, ClockIsMeasuredOverHalfASecondAtRealtimePriority) {
    TFakeCpu cpu = SimpleCpu("GenuineIntel", 0x906EA, 0xBFEBFBFF);
    cpu.MHz = 3700.0;
    EXPECT_DOUBLE_EQ(MeasureClockSpeed(cpu, true), 3700.0);
    EXPECT_EQ(cpu.Log, RaisedAndRestored);
    EXPECT_EQ(cpu.TimeStampReads, 2);

    // The difference is taken in 32 bits: 9 GHz counts 4.5e9 - 2^32 ticks in half a second.
    cpu.MHz = 9000.0;
    EXPECT_DOUBLE_EQ(MeasureClockSpeed(cpu, true), (4500000000.0 - 4294967296.0) / 500000.0);
    // A counter that does not advance.
    cpu.MHz = 0;
    EXPECT_EQ(MeasureClockSpeed(cpu, true), 0.0);
}

TEST(ProcessorPages, WithoutATimeStampCounterNothingRuns) {
    TFakeCpu cpu = SimpleCpu("GenuineIntel", 0x435, 0x00000001);
    cpu.MHz = 33;
    EXPECT_EQ(MeasureClockSpeed(cpu, false), 0.0);
    EXPECT_EQ(cpu.TimeStampReads, 0);
    EXPECT_TRUE(cpu.Log.empty());
}

TEST(ProcessorPages, PrioritiesAreRestoredWhenTheMeasurementFails) {
    struct TFailingCounter : TFakeCpu {
        std::uint64_t ReadTimeStamp() override { throw std::runtime_error("no counter"); }
    } cpu;
    EXPECT_THROW(MeasureClockSpeed(cpu, true), std::runtime_error);
    EXPECT_EQ(cpu.Log,
              (std::vector<std::string>{"get class", "get thread", "set class 256", "set thread 15",
                                        "sleep 10", "set thread 2", "set class 32"}));
}

TEST(ProcessorPages, ClockTextHasTwoDecimalsAndTheUsersSeparator) {
    const std::tuple<double, const char*, const char*> cases[] = {
        {0.0, ".", "0.00 MHz"},
        {3700.0, ".", "3700.00 MHz"},
        {2992.504, ",", "2992,50 MHz"},
        {133.336, ",", "133,34 MHz"},
        {0.004, ".", "0.00 MHz"},
        {8589.9345, ".", "8589.93 MHz"},
        {99.999, " dec ", "100 dec 00 MHz"}};
    for (auto [mhz, separator, text] : cases)
        EXPECT_EQ(ClockSpeedText(mhz, separator), text) << mhz;
}

TEST(ProcessorPages, FeatureRowsInTableOrderWithUniqueNames) {
    ASSERT_EQ(FeatureRows.size(), 30u);
    EXPECT_STREQ(FeatureRows.front().Name, "FPU");
    EXPECT_STREQ(FeatureRows[22].Name, "FXSR");
    EXPECT_STREQ(FeatureRows[22].Description, "Floating Point Save and Restore");
    EXPECT_STREQ(FeatureRows.back().Name, "MMXEX");
    std::set<std::string> names;
    for (const TFeatureRow& row : FeatureRows) {
        names.insert(row.Name);
        EXPECT_NE(row.Standard == nullptr, row.Extended == nullptr) << row.Name;
        EXPECT_GT(std::strlen(row.Description), 0u);
    }
    EXPECT_EQ(names.size(), 30u);

    // The list view sorts its captions ascending; for these upper-case names and digits the
    // system's comparison orders as the bytes do.
    std::vector<std::string> sorted(names.begin(), names.end());
    EXPECT_EQ(std::vector<std::string>(sorted.begin(), sorted.begin() + 4),
              (std::vector<std::string>{"3DNOW", "3DNOWEX", "ACPI", "APIC"}));
    EXPECT_EQ(std::vector<std::string>(sorted.end() - 3, sorted.end()),
              (std::vector<std::string>{"TM", "TSC", "VME"}));
}

TEST(ProcessorPages, EachRowShowsItsOwnFlag) {
    for (const TRowBit& r : rowBits) {
        SCOPED_TRACE(r.name);
        const std::uint32_t word = 1u << r.bit;
        TFakeCpu cpu = SimpleCpu("AuthenticAMD", 0x642, r.extended ? 0 : word);
        cpu.Set(0x80000000u, {0x80000001u, 0, 0, 0});
        cpu.Set(0x80000001u, {0, 0, 0, r.extended ? word : 0});
        const TCpuFeatureSet standard(cpu);
        const TCpuExFeatureSet extended(cpu);
        for (const TFeatureRow& row : FeatureRows)
            EXPECT_EQ(row.Present(standard, extended), std::strcmp(row.Name, r.name) == 0)
                << row.Name;
    }
}

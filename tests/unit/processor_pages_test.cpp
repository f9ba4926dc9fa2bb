// The System Information dialog's clock speed text and feature list.
#include <gtest/gtest.h>

#include <set>

#include "forms/ProcessorPages.h"
#include "unit/cpuid_fake.h"

using namespace zq;
using namespace cpuidtest;

TEST(ProcessorPages, ClockTextHasTwoDecimalsAndTheUsersSeparator) {
    EXPECT_EQ(ClockSpeedText(0.0, "."), "0.00 MHz");
    EXPECT_EQ(ClockSpeedText(2992.504, ","), "2992,50 MHz");
    EXPECT_EQ(ClockSpeedText(133.336, ","), "133,34 MHz");
    EXPECT_EQ(ClockSpeedText(99.999, " dec "), "100 dec 00 MHz");
    EXPECT_EQ(ClockSpeedText(8589.93459, "."), "8589.93 MHz"); // the longest measurement
    EXPECT_EQ(ClockSpeedText(-0.5, "."), "-0.50 MHz");
}

TEST(ProcessorPages, FeatureRows) {
    // Table order: feature word bits, then the extended word's bits 31, 30 and 22 (AMD).
    const int bits[30] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  11, 12, 13, 14, 15,
                          16, 17, 18, 19, 21, 22, 23, 24, 25, 26, 27, 29, 31, 30, 22};
    std::set<std::string> names;
    for (int i = 0; i < 30; ++i) {
        SCOPED_TRACE(FeatureRows[i].Name);
        names.insert(FeatureRows[i].Name);
        TCpuidSnapshot cpu = Processor("AuthenticAMD", 0x642, i < 27 ? 1u << bits[i] : 0);
        cpu.Set(0x80000000u, {0x80000001u, 0, 0, 0});
        cpu.Set(0x80000001u, {0, 0, 0, i < 27 ? 0 : 1u << bits[i]});
        const TCpuFeatureSet standard(cpu);
        const TCpuExFeatureSet extended(cpu);
        for (int j = 0; j < 30; ++j)
            EXPECT_EQ(FeatureRows[j].Present(standard, extended), i == j) << FeatureRows[j].Name;
    }
    EXPECT_STREQ(FeatureRows[22].Name, "FXSR");
    EXPECT_STREQ(FeatureRows[22].Description, "Floating Point Save and Restore");

    // The list sorts its captions with the system's comparison, which for upper-case letters
    // and digits orders as the bytes do.
    ASSERT_EQ(names.size(), 30u);
    const std::vector<std::string> sorted(names.begin(), names.end());
    EXPECT_EQ(std::vector<std::string>(sorted.begin(), sorted.begin() + 4),
              (std::vector<std::string>{"3DNOW", "3DNOWEX", "ACPI", "APIC"}));
    EXPECT_EQ(std::vector<std::string>(sorted.end() - 3, sorted.end()),
              (std::vector<std::string>{"TM", "TSC", "VME"}));
}

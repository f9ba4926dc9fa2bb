#include <gtest/gtest.h>

#include "sysinfo/OsName.h"
#include "sysinfo/MachineFactsLogic.h"
#include "toolkit/IniCodec.h"

#include <string>

using namespace zq;

namespace {

std::string Name(std::uint32_t platform, std::uint32_t major, std::uint32_t minor,
                 std::string servicePack = "", std::uint32_t kernel = 0) {
    TOsVersionFacts facts;
    facts.PlatformId = platform;
    facts.MajorVersion = major;
    facts.MinorVersion = minor;
    facts.CSDVersion = std::move(servicePack);
    facts.KernelProductVersionMS = kernel;
    return ClassifyOsName(facts);
}

constexpr std::uint32_t Kernel98 = 0x0004000A;

} // namespace

TEST(OsName, Windows95Family) {
    EXPECT_EQ(Name(1, 4, 0), "Windows 95");
    EXPECT_EQ(Name(1, 4, 0, " B "), "Windows 95 OSR2");
    EXPECT_EQ(Name(1, 4, 0, "B"), "Windows 95 OSR2");
    EXPECT_EQ(Name(1, 4, 9, "\tB\r\n"), "Windows 95 OSR2");
    EXPECT_EQ(Name(1, 4, 0, " C "), "Windows 95");
    EXPECT_EQ(Name(1, 4, 0, " b "), "Windows 95");
    EXPECT_EQ(Name(1, 4, 0, " B B "), "Windows 95");

    EXPECT_EQ(Name(1, 4, 10, "", Kernel98), "Windows 98");
    EXPECT_EQ(Name(1, 4, 10, " A ", Kernel98), "Windows 98SE");
    EXPECT_EQ(Name(1, 4, 89, "A", Kernel98), "Windows 98SE");
    EXPECT_EQ(Name(1, 4, 10, " a ", Kernel98), "Windows 98");
    EXPECT_EQ(Name(1, 4, 10, " B ", Kernel98), "Windows 98");
    // The kernel's 4.90 wins over a 98 minor version and over the service-pack letter.
    EXPECT_EQ(Name(1, 4, 10, "", KernelVersionWindowsME), "Windows ME");
    EXPECT_EQ(Name(1, 4, 10, " A ", KernelVersionWindowsME), "Windows ME");
    // Only in the 98 range: a 95 minor version ignores the kernel.
    EXPECT_EQ(Name(1, 4, 0, "", KernelVersionWindowsME), "Windows 95");

    EXPECT_EQ(Name(1, 4, 90), "Windows ME");
    EXPECT_EQ(Name(1, 4, 90, " A "), "Windows ME");
    EXPECT_EQ(Name(1, 4, 91, "", KernelVersionWindowsME), "Unknown");
    EXPECT_EQ(Name(1, 4, 0xFFFFFFFF), "Unknown");
}

TEST(OsName, NTFamilyAndOtherPlatformsByVersionProductTypeAndBuild) {
    constexpr std::uint8_t W = ProductTypeWorkstation, S = ProductTypeServer,
                           DC = ProductTypeDomainController;
    struct Row {
        std::uint32_t Platform, Major, Minor, Build;
        std::uint8_t ProductType;
        const char* Name;
    };
    const Row rows[] = {
        {2, 3, 51, 1057, 0, "Windows NT3"},
        {2, 4, 0, 1381, 0, "Windows NT4"},
        {2, 5, 0, 2195, W, "Windows 2000"},
        {2, 5, 1, 2600, W, "Windows XP"},
        {2, 5, 1, 2600, 0, "Windows XP"}, // no product type reported
        {2, 5, 2, 3790, W, "Windows XP"}, // the x64 edition
        {2, 5, 2, 3790, S, "Windows Server 2003"},
        {2, 6, 0, 6002, W, "Windows Vista"},
        {2, 6, 0, 6002, S, "Windows Server 2008"},
        {2, 6, 1, 7601, W, "Windows 7"},
        {2, 6, 1, 7601, DC, "Windows Server 2008 R2"},
        {2, 6, 2, 9200, W, "Windows 8"},
        {2, 6, 2, 9200, S, "Windows Server 2012"},
        {2, 6, 3, 9600, W, "Windows 8.1"},
        {2, 6, 3, 9600, S, "Windows Server 2012 R2"},
        {2, 10, 0, 10240, W, "Windows 10"},
        {2, 10, 0, 21999, W, "Windows 10"},
        {2, 10, 0, 22000, W, "Windows 11"},
        {2, 10, 0, 14393, S, "Windows Server 2016"},
        {2, 10, 0, 17762, S, "Windows Server 2016"},
        {2, 10, 0, 17763, DC, "Windows Server 2019"},
        {2, 10, 0, 20347, S, "Windows Server 2019"},
        {2, 10, 0, 20348, S, "Windows Server 2022"},
        {2, 10, 0, 26099, S, "Windows Server 2022"},
        {2, 10, 0, 26100, S, "Windows Server 2025"},
        {2, 6, 4, 9841, W, "Windows 6.4"},
        {2, 10, 1, 30000, W, "Windows 10.1"},
        {2, 12, 0, 30000, S, "Windows 12.0"},
        {2, 4294967295u, 4294967295u, 0, 0, "Windows 4294967295.4294967295"},
        // Other platforms than the two families.
        {0, 3, 10, 0, 0, "Unknown"},
        {3, 5, 1, 2600, W, "Unknown"},
        {0xFFFFFFFF, 10, 0, 22000, W, "Unknown"},
    };
    for (const Row& row : rows) {
        const TOsVersionFacts facts{.PlatformId = row.Platform,
                                    .MajorVersion = row.Major,
                                    .MinorVersion = row.Minor,
                                    .BuildNumber = row.Build,
                                    .ProductType = row.ProductType,
                                    .CSDVersion = "",
                                    // never changes an NT name
                                    .KernelProductVersionMS = KernelVersionWindowsME};
        EXPECT_EQ(ClassifyOsName(facts), row.Name)
            << row.Platform << " " << row.Major << "." << row.Minor << "." << row.Build << " type "
            << int(row.ProductType);
    }
}

TEST(OsName, TrimRemovesBlanksAndControlCharacters) {
    EXPECT_EQ(TrimBlanks(""), "");
    EXPECT_EQ(TrimBlanks(" \t\x01 "), "");
    EXPECT_EQ(TrimBlanks(" Service Pack 2\n"), "Service Pack 2");
    EXPECT_EQ(TrimBlanks("\xA0"
                         "A\xA0"),
              "\xA0"
              "A\xA0"); // high characters are kept
}

TEST(MachineFactsLogic, ArchitectureAndProcessorType) {
    struct Case {
        std::uint16_t Architecture;
        std::uint32_t Type;
        const char* ArchitectureText;
        const char* TypeText;
    };
    const Case cases[] = {
        {0, 386, "Intel Processor Architecture", "80386"},
        {0, 486, "Intel Processor Architecture", "80486"},
        {0, 586, "Intel Processor Architecture", "Pentium"},
        {0, 686, "Intel Processor Architecture", "Unknown"},
        {0, 0, "Intel Processor Architecture", "Unknown"},
        {1, 586, "MIPS Processor Architecture", "Unknown"},
        {2, 586, "DEC ALPHA Processor Architecture", "Unknown"},
        {3, 586, "PPC Processor Architecture", "Unknown"},
        {0xFFFF, 586, "Unknown Processor Architecture", "Unknown"},
        {6, 586, "", "Unknown"},
        {9, 8664, "", "Unknown"},
    };
    for (const Case& c : cases) {
        TProcessorFacts facts = ClassifyProcessor(4, c.Architecture, c.Type);
        EXPECT_EQ(facts.Architecture, c.ArchitectureText) << c.Architecture << "/" << c.Type;
        EXPECT_EQ(facts.ProcessorType, c.TypeText) << c.Architecture << "/" << c.Type;
        EXPECT_EQ(facts.NumberOfProcessors, 4);
    }
}

TEST(MachineFactsLogic, PlatformAndKilobytes) {
    EXPECT_EQ(PlatformText(0), "Win 32s under Windows 3.1");
    EXPECT_EQ(PlatformText(1), "Windows 95");
    EXPECT_EQ(PlatformText(2), "Windows NT");
    EXPECT_EQ(PlatformText(3), "");

    EXPECT_EQ(BytesToKilobytes(1023), 0);
    EXPECT_EQ(BytesToKilobytes(1024), 1);
    EXPECT_EQ(BytesToKilobytes(2047), 1);
    EXPECT_EQ(BytesToKilobytes(0x7FFFFFFF), 2097151);
    EXPECT_EQ(BytesToKilobytes(0xFFFFFFFF), 4194303);   // a logical shift: never negative
    EXPECT_EQ(BytesToKilobytes(24ull << 30), 25165824); // 24 GB
    EXPECT_EQ(BytesToKilobytes((2ull << 40) - 1), 2147483647);
    EXPECT_EQ(BytesToKilobytes(2ull << 40), 2147483647); // saturates from 2 TB on
    EXPECT_EQ(BytesToKilobytes(UINT64_MAX), 2147483647);

    EXPECT_EQ(AvailableKilobytes(1023, 4096), 0);
    EXPECT_EQ(AvailableKilobytes(261000 * 1024, 523000 * 1024), 261000);
    // More free than the total (as Wine reports an oversized paging file): the total.
    EXPECT_EQ(AvailableKilobytes(0xFFFFFFFF, 0xFFF7FFFF), 4193791);
    EXPECT_EQ(AvailableKilobytes(22ull << 30, 24ull << 30), 23068672);
    EXPECT_EQ(AvailableKilobytes(UINT64_MAX, 8ull << 40), 2147483647);
}

TEST(MachineFactsLogic, VersionNumbersAreUnsignedParts) {
    EXPECT_EQ(VersionNumberText(0x00010001, 0x00010005), "1.1.1.5");
    EXPECT_EQ(VersionNumberText(0, 0), "0.0.0.0");
    EXPECT_EQ(VersionNumberText(0xFFFF8000, 0x7FFFFFFF), "65535.32768.32767.65535");
}

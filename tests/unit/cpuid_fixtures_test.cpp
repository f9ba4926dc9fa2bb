// Whole processors of the era and two of today, each from its documented CPUID register values,
// through the component: vendor, names, caches, flags, serial number and clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string_view>

#include "cpuid/ProcessorIdentity.h"
#include "cpuid/ProcessorCheck.h"
#include "unit/cpuid_fake.h"

using namespace zq;
using namespace cpuidtest;

namespace {

std::string StandardFlags(const TCpuFeatureSet& f) {
    const std::pair<const char*, bool> flags[] = {
        {"FPU", f.FPU()},     {"VME", f.VME()},         {"DE", f.DE()},
        {"PSE", f.PSE()},     {"TSC", f.TSC()},         {"MSR", f.MSR()},
        {"PAE", f.PAE()},     {"MCE", f.MCE()},         {"CX8", f.CX8()},
        {"APIC", f.APIC()},   {"SEP", f.SEP()},         {"MTRR", f.MTRR()},
        {"PGE", f.PGE()},     {"MCA", f.MCA()},         {"CMOV", f.CMOV()},
        {"PAT", f.PAT()},     {"PSE36", f.PSE36()},     {"SERIAL", f.SERIAL()},
        {"MMX", f.MMX()},     {"XSR", f.XSR()},         {"SIMD", f.SIMD()},
        {"SIMD2", f.SIMD2()}, {"CLFLUSH", f.CLFLUSH()}, {"DTS", f.DTS()},
        {"ACPI", f.ACPI()},   {"SS", f.SS()},           {"TM", f.TM()}};
    std::string text;
    for (auto [name, on] : flags)
        if (on)
            text += (text.empty() ? "" : " ") + std::string(name);
    return text;
}

std::string ExtendedFlags(const TCpuExFeatureSet& f) {
    std::string text;
    for (auto [name, on] : {std::pair{"3DNow", f.AMD3DNow()}, std::pair{"3DNowEx", f.AMD3DNowEx()},
                            std::pair{"MMXEx", f.MMXEx()}})
        if (on)
            text += (text.empty() ? "" : " ") + std::string(name);
    return text;
}

// AMD pads its brand strings with blanks up to the final zero character.
std::string BlankPadded(std::string text) {
    text.resize(47, ' ');
    return text;
}

std::string Brand(const std::string& text) {
    std::string brand = text;
    brand.resize(48, '\0');
    return brand;
}

struct TProcessor {
    const char* label;
    std::function<TFakeCpu()> make;
    std::string vendor, cpu, fullName, loadedFullName;
    int l1Data, l1Code, level1, level2, level3;
    std::string flags, extFlags, serial;
    int speed;
};

TFakeCpu Intel(std::uint32_t maxLevel) {
    TFakeCpu cpu;
    cpu.Beyond = TBeyondRange::HighestBasic;
    cpu.Set(0, VendorLeaf(maxLevel, "GenuineIntel"));
    return cpu;
}

TFakeCpu Other(const char (&vendor)[13], std::uint32_t maxLevel) {
    TFakeCpu cpu;
    cpu.Set(0, VendorLeaf(maxLevel, vendor));
    return cpu;
}

const std::string P6Flags = "FPU VME DE PSE TSC MSR PAE MCE CX8 APIC SEP MTRR PGE MCA CMOV PAT "
                            "PSE36 MMX XSR";

// A Ryzen 5000 (Vermeer): what differs between the models is the logical processor count
// (level 1 EBX), the L3 of level 0x80000006 EDX, the core count (0x80000008 ECX), the name and
// the clock.
TFakeCpu Zen3(std::uint32_t level1Ebx, std::uint32_t level6Edx, std::uint32_t level8Ecx,
              const std::string& brand, double mhz) {
    TFakeCpu cpu = Other("AuthenticAMD", 0x10);
    cpu.Set(1, {0x00A20F10, level1Ebx, 0x7ED8320B, 0x178BFBFF});
    cpu.Set(0x80000000u, {0x80000020u, 0x68747541, 0x444D4163, 0x69746E65});
    cpu.Set(0x80000001u, {0x00A20F10, 0x20000000, 0x75C237FF, 0x2FD3FBFF});
    SetBrand(cpu, BlankPadded(brand));
    cpu.Set(0x80000005u, {0xFF40FF40, 0xFF40FF40, 0x20080140, 0x20080140});
    cpu.Set(0x80000006u, {0x48002200, 0x68004200, 0x02006140, level6Edx});
    cpu.Set(0x80000008u, {0x00003030, 0x111EF657, level8Ecx, 0});
    cpu.SetSub(0x8000001Du, 0, {0x00004121, 0x01C0003F, 0x0000003F, 0});
    cpu.SetSub(0x8000001Du, 1, {0x00004122, 0x01C0003F, 0x0000003F, 0});
    cpu.SetSub(0x8000001Du, 2, {0x00004143, 0x01C0003F, 0x000003FF, 0x00000002});
    cpu.SetSub(0x8000001Du, 3, {0x0003C163, 0x03C0003F, 0x00007FFF, 0x00000001});
    cpu.SetSub(0x8000001Du, 4, {0, 0, 0, 0});
    cpu.MHz = mhz;
    return cpu;
}

const std::string K7Flags = "FPU VME DE PSE TSC MSR PAE MCE CX8 SEP MTRR PGE MCA CMOV PAT PSE36 "
                            "MMX XSR";

const TProcessor processors[] = {
    {"Intel 80486DX2 (no CPUID)",
     [] {
         TFakeCpu cpu = NoCpuid(486);
         cpu.MHz = 66;
         return cpu;
     },
     "Unknown Vendor", "486 class", "Unknown 486 class", "Unknown 486 class", 0, 0, 0, 0, 0, "", "",
     "", 0},

    {"Intel Pentium 133 (P54C, 0x52C)",
     [] {
         TFakeCpu cpu = Intel(1);
         cpu.Set(1, {0x0000052C, 0, 0, 0x000003BF});
         cpu.MHz = 133.33;
         return cpu;
     },
     "Intel Corporation", "Pentium (P54C)", "Intel Pentium (P54C)", "Intel Pentium (P54C)", 0, 0, 0,
     0, 0, "FPU VME DE PSE TSC MSR MCE CX8 APIC", "", "", 133},

    // Without extended levels, level 0x80000005 would answer level 1 (the feature word's MMX
    // byte is 0x80): it is not read.
    {"Intel Pentium MMX 166 (P55C, 0x543)",
     [] {
         TFakeCpu cpu = Intel(1);
         cpu.Set(1, {0x00000543, 0, 0, 0x008001BF});
         cpu.MHz = 166.0;
         return cpu;
     },
     "Intel Corporation", "Pentium MMX", "Intel Pentium MMX", "Intel Pentium MMX", 0, 0, 0, 0, 0,
     "FPU VME DE PSE TSC MSR MCE CX8 MMX", "", "", 166},

    {"Intel Pentium II 350 (Deschutes, 0x652)",
     [] {
         TFakeCpu cpu = Intel(2);
         cpu.Set(1, {0x00000652, 0, 0, 0x0183FBFF});
         cpu.Set(2, {0x03020101, 0, 0, 0x0C040843});
         cpu.MHz = 350.0;
         return cpu;
     },
     "Intel Corporation", "Pentium II (Model 5)", "Intel Pentium II (Model 5)",
     "Intel Pentium II (Model 5)", 16, 16, 0, 512, 0, P6Flags, "", "", 350},

    {"Intel Celeron 333 (Mendocino, 0x665)",
     [] {
         TFakeCpu cpu = Intel(2);
         cpu.Set(1, {0x00000665, 0, 0, 0x0183FBFF});
         cpu.Set(2, {0x03020101, 0, 0, 0x0C040841});
         cpu.MHz = 333.0;
         return cpu;
     },
     "Intel Corporation", "Celeron", "Intel Celeron", "Intel Celeron", 16, 16, 0, 128, 0, P6Flags,
     "", "", 333},

    {"Intel Pentium III 500 (Katmai, 0x672, serial number enabled)",
     [] {
         TFakeCpu cpu = Intel(3);
         cpu.Set(1, {0x00000672, 0, 0, 0x0387FBFF});
         cpu.Set(2, {0x03020101, 0, 0, 0x0C040843});
         cpu.Set(3, {0, 0, 0x2D4E5F60, 0x00030B1C});
         cpu.MHz = 500.0;
         return cpu;
     },
     "Intel Corporation", "Pentium III", "Intel Pentium III", "Intel Pentium III", 16, 16, 0, 512,
     0,
     "FPU VME DE PSE TSC MSR PAE MCE CX8 APIC SEP MTRR PGE MCA CMOV PAT PSE36 SERIAL MMX XSR SIMD",
     "", "0000-0672-0003-0B1C-2D4E-5F60", 500},

    {"Intel Pentium III 866 (Coppermine, 0x683, serial number disabled)",
     [] {
         TFakeCpu cpu = Intel(2);
         cpu.Set(1, {0x00000683, 0x00000002, 0, 0x0383FBFF});
         cpu.Set(2, {0x03020101, 0, 0, 0x0C040882});
         cpu.MHz = 866.0;
         return cpu;
     },
     "Intel Corporation", "Pentium III", "Intel Pentium III", "Intel Pentium III", 16, 16, 0, 256,
     0, P6Flags + " SIMD", "", "", 866},

    {"Intel Pentium 4 1.5 GHz (Willamette, 0xF12)",
     [] {
         TFakeCpu cpu = Intel(2);
         cpu.Set(1, {0x00000F12, 0x00010808, 0, 0x3FEBFBFF});
         cpu.Set(2, {0x665B5001, 0, 0, 0x007A7040});
         cpu.Set(0x80000000u, {0x80000004u, 0, 0, 0});
         cpu.Set(0x80000001u, {0, 0, 0, 0});
         SetBrand(cpu, std::string(14, ' ') + "Intel(R) Pentium(R) 4 CPU 1500MHz");
         cpu.MHz = 1500.0;
         return cpu;
     },
     "Intel Corporation", "Pentium 4 class", "Intel Pentium 4 class",
     Brand(std::string(14, ' ') + "Intel(R) Pentium(R) 4 CPU 1500MHz"), 8, 0, 0, 256, 0,
     P6Flags + " SIMD SIMD2 CLFLUSH DTS ACPI SS TM", "", "", 1500},

    {"AMD K6-2 400 (0x58C)",
     [] {
         TFakeCpu cpu = Other("AuthenticAMD", 1);
         cpu.Set(1, {0x0000058C, 0, 0, 0x008021BF});
         cpu.Set(0x80000000u, {0x80000005u, 0, 0, 0});
         cpu.Set(0x80000001u, {0x0000068C, 0, 0, 0x808029BF});
         SetBrand(cpu, "AMD-K6(tm) 3D processor");
         cpu.Set(0x80000005u, {0, 0x02800140, 0x20020220, 0x20020220});
         cpu.MHz = 400.0;
         return cpu;
     },
     "Advanced Micro Devices", "K6-2", "AMD K6-2", Brand("AMD-K6(tm) 3D processor"), 32, 32, 0, 0,
     0, "FPU VME DE PSE TSC MSR MCE CX8 PGE MMX", "3DNow", "", 400},

    {"AMD Athlon 1000 (Thunderbird, 0x642)",
     [] {
         TFakeCpu cpu = Other("AuthenticAMD", 1);
         cpu.Set(1, {0x00000642, 0, 0, 0x0183F9FF});
         cpu.Set(0x80000000u, {0x80000006u, 0, 0, 0});
         cpu.Set(0x80000001u, {0x00000742, 0, 0, 0xC1C3F9FF});
         SetBrand(cpu, "AMD Athlon(tm) Processor");
         cpu.Set(0x80000005u, {0x0408FF08, 0xFF18FF10, 0x40020140, 0x40020140});
         cpu.Set(0x80000006u, {0, 0x41004100, 0x01008140, 0});
         cpu.MHz = 1000.0;
         return cpu;
     },
     "Advanced Micro Devices", "Athlon", "AMD Athlon", Brand("AMD Athlon(tm) Processor"), 64, 64, 0,
     256, 0, K7Flags, "3DNow 3DNowEx MMXEx", "", 1000},

    {"AMD Duron 700 (Spitfire, 0x631, L2 misreported as 1 KB)",
     [] {
         TFakeCpu cpu = Other("AuthenticAMD", 1);
         cpu.Set(1, {0x00000631, 0, 0, 0x0183F9FF});
         cpu.Set(0x80000000u, {0x80000006u, 0, 0, 0});
         cpu.Set(0x80000001u, {0x00000731, 0, 0, 0xC1C3F9FF});
         SetBrand(cpu, "AMD Duron(tm) Processor");
         cpu.Set(0x80000005u, {0x0408FF08, 0xFF18FF10, 0x40020140, 0x40020140});
         cpu.Set(0x80000006u, {0, 0x41004100, 0x00018140, 0});
         cpu.MHz = 700.0;
         return cpu;
     },
     "Advanced Micro Devices", "Duron", "AMD Duron", Brand("AMD Duron(tm) Processor"), 64, 64, 0,
     64, 0, K7Flags, "3DNow 3DNowEx MMXEx", "", 700},

    {"Cyrix 6x86MX PR233 (188 MHz, 0x600)",
     [] {
         TFakeCpu cpu = Other("CyrixInstead", 1);
         cpu.Set(1, {0x00000600, 0, 0, 0x0080A135});
         cpu.MHz = 187.5;
         return cpu;
     },
     "Cyrix Corporation", "6x86MX", "Cyrix 6x86MX", "Cyrix 6x86MX", 0, 0, 0, 0, 0,
     "FPU DE TSC MSR CX8 PGE CMOV MMX", "", "", 188},

    // The naming table's C3 is family 5 model 9; the VIA C3 is family 6, which the IDT rule
    // does not name, so it is known by its brand string once loaded.
    {"VIA/Centaur C3 733 (Samuel 2, 0x673)",
     [] {
         TFakeCpu cpu = Other("CentaurHauls", 1);
         cpu.Set(1, {0x00000673, 0, 0, 0x00803135});
         cpu.Set(0x80000000u, {0x80000006u, 0, 0, 0});
         cpu.Set(0x80000001u, {0x00000673, 0, 0, 0x80000000});
         SetBrand(cpu, "VIA Samuel 2");
         cpu.Set(0x80000005u, {0, 0, 0x40040120, 0x40040120});
         cpu.Set(0x80000006u, {0, 0, 0x40040120, 0}); // the L2 in the level 1 layout
         cpu.MHz = 733.0;
         return cpu;
     },
     "IDT/Centaur", "", "IDT ", Brand("VIA Samuel 2"), 64, 64, 0, 64, 0,
     "FPU DE TSC MSR CX8 MTRR PGE MMX", "3DNow", "", 733},

    {"IDT WinChip 2 233 (0x585)",
     [] {
         TFakeCpu cpu = Other("CentaurHauls", 1);
         cpu.Set(1, {0x00000585, 0, 0, 0x008001B5});
         cpu.Set(0x80000000u, {0x80000005u, 0, 0, 0});
         cpu.Set(0x80000001u, {0x00000585, 0, 0, 0x80000000});
         SetBrand(cpu, "IDT WinChip 2");
         cpu.Set(0x80000005u, {0, 0x02800240, 0x20020120, 0x20020120}); // EBX: TLB entries
         cpu.MHz = 233.0;
         return cpu;
     },
     "IDT/Centaur", "C2", "IDT C2", Brand("IDT WinChip 2"), 32, 32, 0, 0, 0,
     "FPU DE TSC MSR MCE CX8 MMX", "3DNow", "", 233},

    // Processors of today report a highest extended level of 0x80000008 or more. Intel leaves
    // level 0x80000005 empty; leaf 2 sends to leaf 4 for the caches (0xFF). An extended model
    // (9 here) is beyond the P6 names, so the brand string names the processor.
    {"Intel Core i7-8700K (Coffee Lake, 0x906EA)",
     [] {
         TFakeCpu cpu = Intel(0x16);
         cpu.Set(1, {0x000906EA, 0x00100800, 0x7FFAFBFF, 0xBFEBFBFF});
         cpu.Set(2, {0x00FEFF01, 0x000000F0, 0, 0});
         cpu.SetSub(4, 0, {0x1C004121, 0x01C0003F, 0x0000003F, 0});
         cpu.SetSub(4, 1, {0x1C004122, 0x01C0003F, 0x0000003F, 0});
         cpu.SetSub(4, 2, {0x1C004143, 0x00C0003F, 0x000003FF, 0});
         cpu.SetSub(4, 3, {0x1C03C163, 0x03C0003F, 0x00002FFF, 0x00000006});
         cpu.Set(0x16, {0x00000E74, 0x000011F8, 0x00000064, 0});
         cpu.Set(0x80000000u, {0x80000008u, 0, 0, 0});
         cpu.Set(0x80000001u, {0, 0, 0x00000121, 0x2C100800});
         SetBrand(cpu, "Intel(R) Core(TM) i7-8700K CPU @ 3.70GHz");
         cpu.Set(0x80000005u, {0, 0, 0, 0});
         cpu.Set(0x80000006u, {0, 0, 0x01006040, 0});
         cpu.Set(0x80000008u, {0x00003027, 0, 0, 0});
         cpu.MHz = 3700.0;
         return cpu;
     },
     "Intel Corporation", "Intel(R) Core(TM) i7-8700K CPU @ 3.70GHz",
     "Intel Intel(R) Core(TM) i7-8700K CPU @ 3.70GHz",
     Brand("Intel(R) Core(TM) i7-8700K CPU @ 3.70GHz"), 32, 32, 0, 256, 12288,
     P6Flags + " SIMD SIMD2 CLFLUSH DTS ACPI SS TM", "", "", 3700},

    // Family 15 with extended family 0x0A (family 0x19) is beyond the naming table too. Zen 3
    // reports topology extensions (0x80000001 ECX bit 22): leaf 0x8000001D describes each cache,
    // the L3 of one core complex (CCD) among them, 32 MB. The 5800X has one CCD, so level
    // 0x80000006 says 32 MB too; the 5950X has two, and 0x80000006 says 64 MB.
    {"AMD Ryzen 7 5800X (Zen 3, 0xA20F10)",
     [] {
         return Zen3(0x00100800, 0x01009140, 0x0000500F, "AMD Ryzen 7 5800X 8-Core Processor",
                     3800.0);
     },
     "Advanced Micro Devices", "", "AMD ", Brand(BlankPadded("AMD Ryzen 7 5800X 8-Core Processor")),
     32, 32, 0, 512, 32768, P6Flags + " SIMD SIMD2 CLFLUSH", "MMXEx", "", 3800},
    {"AMD Ryzen 9 5950X (Zen 3, 0xA20F10)",
     [] {
         return Zen3(0x00200800, 0x02009140, 0x0000601F, "AMD Ryzen 9 5950X 16-Core Processor",
                     3400.0);
     },
     "Advanced Micro Devices", "", "AMD ",
     Brand(BlankPadded("AMD Ryzen 9 5950X 16-Core Processor")), 32, 32, 0, 512, 32768,
     P6Flags + " SIMD SIMD2 CLFLUSH", "MMXEx", "", 3400},

    // Leaf 2 sends to leaf 4 (0xFF), which lists L1 data, L1 code, L2 and the shared L3.
    {"Intel Core i5-2400 (Sandy Bridge, 0x206A7)",
     [] {
         TFakeCpu cpu = Intel(0xD);
         cpu.Set(1, {0x000206A7, 0x00100800, 0x1FBAE3FF, 0xBFEBFBFF});
         cpu.Set(2, {0x76035A01, 0x00F0B0FF, 0, 0x00CA0000});
         cpu.SetSub(4, 0, {0x1C004121, 0x01C0003F, 0x0000003F, 0});
         cpu.SetSub(4, 1, {0x1C004122, 0x01C0003F, 0x0000003F, 0});
         cpu.SetSub(4, 2, {0x1C004143, 0x01C0003F, 0x000001FF, 0});
         cpu.SetSub(4, 3, {0x1C03C163, 0x02C0003F, 0x00001FFF, 0x00000006});
         cpu.Set(0x80000000u, {0x80000008u, 0, 0, 0});
         cpu.Set(0x80000001u, {0, 0, 0x00000001, 0x28100800});
         SetBrand(cpu, "        Intel(R) Core(TM) i5-2400 CPU @ 3.10GHz");
         cpu.Set(0x80000006u, {0, 0, 0x01006040, 0});
         cpu.Set(0x80000008u, {0x00003024, 0, 0, 0});
         cpu.MHz = 3100.0;
         return cpu;
     },
     "Intel Corporation", "Intel(R) Core(TM) i5-2400 CPU @ 3.10GHz",
     "Intel Intel(R) Core(TM) i5-2400 CPU @ 3.10GHz",
     Brand("        Intel(R) Core(TM) i5-2400 CPU @ 3.10GHz"), 32, 32, 0, 256, 6144,
     P6Flags + " SIMD SIMD2 CLFLUSH DTS ACPI SS TM", "", "", 3100},

    // Level 0x80000006 EDX: no L3 (0).
    {"AMD Athlon 64 3400+ (ClawHammer, 0xF48)",
     [] {
         TFakeCpu cpu = Other("AuthenticAMD", 1);
         cpu.Set(1, {0x00000F48, 0x00000800, 0, 0x078BFBFF});
         cpu.Set(0x80000000u, {0x80000018u, 0, 0, 0});
         cpu.Set(0x80000001u, {0x00000F48, 0, 0, 0xE1D3FBFF});
         SetBrand(cpu, BlankPadded("AMD Athlon(tm) 64 Processor 3400+"));
         cpu.Set(0x80000005u, {0xFF08FF08, 0xFF20FF20, 0x40020140, 0x40020140});
         cpu.Set(0x80000006u, {0, 0x42004200, 0x04008140, 0});
         cpu.MHz = 2200.0;
         return cpu;
     },
     "Advanced Micro Devices", "", "AMD ", Brand(BlankPadded("AMD Athlon(tm) 64 Processor 3400+")),
     64, 64, 0, 1024, 0, P6Flags + " SIMD SIMD2 CLFLUSH", "3DNow 3DNowEx MMXEx", "", 2200},
};

} // namespace

TEST(CpuidFixtures, RecordedProcessorsThroughTheComponent) {
    for (const TProcessor& p : processors) {
        SCOPED_TRACE(p.label);
        TFakeCpu cpu = p.make();
        TComponent form(nullptr);
        auto* ident = new TProcessorIdentity(&form, cpu.Snapshot(), cpu);
        ident->AutoBench()->SetEnabled(true); // as the form stores it

        EXPECT_EQ(ident->Vendor(), p.vendor);
        EXPECT_EQ(ident->CPU(), p.cpu);
        EXPECT_EQ(ident->FullName(), p.fullName);
        EXPECT_EQ(ident->Cache()->L1Data(), p.l1Data);
        EXPECT_EQ(ident->Cache()->L1Code(), p.l1Code);
        EXPECT_EQ(ident->Cache()->Level1(), p.level1);
        EXPECT_EQ(ident->Cache()->Level2(), p.level2);
        EXPECT_EQ(ident->Cache()->Level3(), p.level3);
        EXPECT_EQ(StandardFlags(*ident->FeatureSet()), p.flags);
        EXPECT_EQ(ExtendedFlags(*ident->FeatureSetEx()), p.extFlags);
        EXPECT_EQ(ident->Serial(), p.serial);
        EXPECT_EQ(ident->MMX(), ident->FeatureSet()->MMX());
        EXPECT_FALSE(ident->FDivBug());
        EXPECT_FALSE(ident->OverDrive());
        EXPECT_EQ(ident->Count(), 1);
        EXPECT_EQ(ident->Speed(), 0);

        form.LoadedTree();
        EXPECT_EQ(ident->Speed(), p.speed);
        EXPECT_EQ(ident->FullName(), p.loadedFullName);
    }
}

TEST(CpuidFixtures, TheProcessorWithoutCpuidReportsFallbacksEverywhere) {
    TFakeCpu cpu = NoCpuid(486);
    TProcessorIdentity ident(nullptr, cpu.Snapshot(), cpu);
    ident.AutoBench()->SetEnabled(true);
    ident.LoadedTree();
    EXPECT_FALSE(ident.CPUID()->Available());
    EXPECT_EQ(ident.CPUID()->MaxLevel(), -1);
    EXPECT_EQ(ident.CPUID()->MaxLevelEx(), -1);
    const TCpuDetectedInfo& raw = *ident.InternalResults();
    for (int value :
         {raw.Brand(), raw.cpuFamily(), raw.cpuFamilyEx(), raw.cpuModel(), raw.cpuModelEx(),
          raw.cpuStepping(), raw.cpuType(), raw.FeatureSet(), raw.FeatureSetEx(), raw.Signature()})
        EXPECT_EQ(value, -1);
    EXPECT_EQ(raw.VendorID(), "");
    EXPECT_EQ(ident.Speed(), 0);
    EXPECT_EQ(cpu.Executions, 0);
    EXPECT_EQ(cpu.TimeStampReads, 0);
}

// Whether each recorded processor runs the program (by the start of its label); every recorded
// processor needs its line here.
const std::pair<std::string_view, bool> runsProgram[] = {
    {"Intel 80486DX2", false},  {"Intel Pentium 133", false}, {"Intel Pentium MMX", false},
    {"Intel Pentium II", true}, {"Intel Celeron", true},      {"Intel Pentium III", true},
    {"Intel Pentium 4", true},  {"Intel Core", true},         {"AMD K6-2", false},
    {"AMD Athlon", true},       {"AMD Duron", true},          {"AMD Ryzen", true},
    {"Cyrix 6x86MX", true},     {"VIA/Centaur C3", false},    {"IDT WinChip 2", false}};

// The start-up check: P6-class processors run the program, older ones are told what it needs.
TEST(CpuidFixtures, OnlyProcessorsWithConditionalMovesRunTheProgram) {
    for (const TProcessor& p : processors) {
        SCOPED_TRACE(p.label);
        const auto* expected =
            std::find_if(std::begin(runsProgram), std::end(runsProgram), [&](const auto& r) {
                return std::string_view(p.label).starts_with(r.first);
            });
        ASSERT_NE(expected, std::end(runsProgram)) << "no line in runsProgram for this processor";
        TFakeCpu cpu = p.make();
        const std::uint32_t flags = cpu.ReadFlags();
        EXPECT_EQ(ProcessorRunsProgram(cpu), expected->second);
        EXPECT_EQ(cpu.ReadFlags(), flags);
    }

    // CPUID without level 1, and conditional moves without the floating-point unit (whose
    // FCMOV and FCOMI the runtime uses as well).
    TFakeCpu levelZero = SimpleCpu("GenuineIntel", 0x652, 0x0183FBFF, 0, 0);
    levelZero.Leaves.erase(1);
    EXPECT_FALSE(ProcessorRunsProgram(levelZero));
    TFakeCpu noFpu = SimpleCpu("GenuineIntel", 0x652, kFeatureCmov);
    EXPECT_FALSE(ProcessorRunsProgram(noFpu));
    TFakeCpu both = SimpleCpu("GenuineIntel", 0x652, kFeatureCmov | kFeatureFpu);
    EXPECT_TRUE(ProcessorRunsProgram(both));
}

TEST(CpuidFixtures, RawValuesOfAPentium4) {
    TFakeCpu cpu = processors[7].make();
    TProcessorIdentity ident(nullptr, cpu.Snapshot(), cpu);
    EXPECT_TRUE(ident.CPUID()->Available());
    EXPECT_EQ(ident.CPUID()->MaxLevel(), 2);
    EXPECT_EQ(ident.CPUID()->MaxLevelEx(), 4);
    const TCpuDetectedInfo& raw = *ident.InternalResults();
    EXPECT_EQ(raw.Signature(), 0xF12);
    EXPECT_EQ(raw.cpuFamily(), 15);
    EXPECT_EQ(raw.cpuModel(), 1);
    EXPECT_EQ(raw.cpuStepping(), 2);
    EXPECT_EQ(raw.cpuType(), 0);
    EXPECT_EQ(raw.cpuFamilyEx(), 0);
    EXPECT_EQ(raw.cpuModelEx(), 0);
    EXPECT_EQ(raw.Brand(), 8);
    EXPECT_EQ(raw.FeatureSet(), 0x3FEBFBFF);
    EXPECT_EQ(raw.FeatureSetEx(), 0);
    EXPECT_EQ(raw.VendorID(), "GenuineIntel");
}

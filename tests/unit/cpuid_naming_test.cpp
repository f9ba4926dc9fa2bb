// Vendor modules: fixed texts and the model-naming rules, on snapshots.
#include <gtest/gtest.h>

#include "cpuid/CpuidQueries.h"
#include "unit/cpuid_fake.h"

using namespace zq;
using namespace cpuidtest;

namespace {

std::uint32_t Sig(int family, int model, int type = 0) {
    return static_cast<std::uint32_t>(type << 12 | family << 8 | model << 4 | 1);
}

// An Intel processor with level 2 descriptors naming the given L2 size.
TCpuidSnapshot Intel(int family, int model, int brand = 0, int l2 = 0, std::uint32_t features = 0,
                     int type = 0) {
    TCpuidSnapshot cpu = Processor("GenuineIntel", Sig(family, model, type), features,
                                   static_cast<std::uint32_t>(brand), 2);
    const std::uint32_t descriptor = l2 == 128    ? 0x41
                                     : l2 == 256  ? 0x82
                                     : l2 == 512  ? 0x43
                                     : l2 == 1024 ? 0x44
                                     : l2 == 2048 ? 0x45
                                                  : 0x00;
    cpu.Set(2, {0x03020101, 0, 0, 0x0C040800 | descriptor});
    return cpu;
}

std::string IntelName(int family, int model, int brand = 0, int l2 = 0, std::uint32_t features = 0,
                      int type = 0) {
    TCpuidSnapshot cpu = Intel(family, model, brand, l2, features, type);
    return GetModelName(cpu);
}

std::string Name(const char (&vendor)[13], int family, int model) {
    TCpuidSnapshot cpu = Processor(vendor, Sig(family, model));
    return GetModelName(cpu);
}

} // namespace

TEST(CpuidNaming, VendorTexts) {
    const struct {
        const char* id;
        const char* shortName;
        const char* longName;
    } vendors[] = {
        {"GenuineIntel", "Intel ", "Intel Corporation"},
        {"AuthenticAMD", "AMD ", "Advanced Micro Devices"},
        {"CyrixInstead", "Cyrix ", "Cyrix Corporation"},
        {"CentaurHauls", "IDT ", "IDT/Centaur"},
        {"NexGenDriven", "NexGen ", "NexGen Inc"},
        {"UMC UMC UMC ", "UMC ", "United Microelectronics Corp"},
        {"RiseRiseRise", "Rise ", "Rise Technology"},
        {"GenuineTMx86", "Unknown ", "Unknown Vendor"},
    };
    for (const auto& v : vendors) {
        char id[13] = {};
        std::copy_n(v.id, 12, id);
        TCpuidSnapshot cpu = Processor(id, Sig(9, 0)); // a family no module names
        cpu.System.ProcessorType = 586;
        EXPECT_EQ(GetVendorName(cpu), v.longName);
        const std::string model = GetModelName(cpu);
        EXPECT_EQ(GetFullName(cpu), v.shortName + model);
    }
    EXPECT_EQ(VendorModule(0).VendorID(), "");
}

TEST(CpuidNaming, IntelFamiliesFourFiveAndFifteen) {
    EXPECT_EQ(IntelName(4, 4), "80486SL");
    EXPECT_EQ(IntelName(4, 7), "80486DX2");
    EXPECT_EQ(IntelName(4, 8), "80486DX4");
    EXPECT_EQ(IntelName(4, 1), "486 class");
    EXPECT_EQ(IntelName(5, 0), "Pentium (P5)");
    EXPECT_EQ(IntelName(5, 1), "Pentium (P5)");
    EXPECT_EQ(IntelName(5, 2), "Pentium (P54C)");
    EXPECT_EQ(IntelName(5, 7), "Pentium (P54C)");
    EXPECT_EQ(IntelName(5, 3), "Pentium 486 OverDrive");
    EXPECT_EQ(IntelName(5, 4), "Pentium MMX");
    EXPECT_EQ(IntelName(5, 8), "Pentium class");
    EXPECT_EQ(IntelName(15, 0), "Pentium 4");
    EXPECT_EQ(IntelName(15, 2), "Pentium 4 class");
    EXPECT_EQ(IntelName(7, 0), "");
    TCpuidSnapshot family7 = Intel(7, 0);
    EXPECT_EQ(GetFullName(family7), "Intel ");
}

TEST(CpuidNaming, IntelFamilySixUsesTypeL2BrandAndSerialBit) {
    EXPECT_EQ(IntelName(6, 1), "Pentium Pro");
    EXPECT_EQ(IntelName(6, 3, 0, 512, 0, 1), "Pentium II Overdrive");
    EXPECT_EQ(IntelName(6, 3, 0, 512), "Pentium II (Model 3)");
    EXPECT_EQ(IntelName(6, 5, 0, 0), "Celeron (Model 5)");
    EXPECT_EQ(IntelName(6, 5, 0, 128), "Pentium II (Model 5)");
    EXPECT_EQ(IntelName(6, 5, 0, 512), "Pentium II (Model 5)");
    EXPECT_EQ(IntelName(6, 5, 0, 1024), "Pentium II Xeon");
    EXPECT_EQ(IntelName(6, 6, 0, 256), "Mobile Pentium II");
    EXPECT_EQ(IntelName(6, 6, 0, 128, 1u << 18), "Mobile Celeron");
    EXPECT_EQ(IntelName(6, 6, 0, 128), "Celeron");
    EXPECT_EQ(IntelName(6, 7, 0, 512), "Pentium III");
    EXPECT_EQ(IntelName(6, 7, 0, 1024), "Pentium III Xeon");
    EXPECT_EQ(IntelName(6, 8, 1, 128), "Celeron");
    EXPECT_EQ(IntelName(6, 8, 2, 256), "Pentium III");
    EXPECT_EQ(IntelName(6, 8, 3, 256), "Pentium III Xeon");
    EXPECT_EQ(IntelName(6, 7, 8), "Pentium 4");
    EXPECT_EQ(IntelName(6, 8, 4), "Pentium III class");
    EXPECT_EQ(IntelName(6, 10, 0, 1024), "Pentium III Xeon");
    for (int model : {2, 4, 9, 11, 12, 13, 14, 15})
        EXPECT_EQ(IntelName(6, model), "Pentium II/III class") << model;

    TCpuidSnapshot p3 = Intel(6, 8, 2, 256);
    EXPECT_EQ(GetVendorName(p3), "Intel Corporation");
    EXPECT_EQ(GetFullName(p3), "Intel Pentium III");
}

// With an extended model the P6 names do not apply: the brand string without its padding names
// the processor, the family's class name where it has none.
TEST(CpuidNaming, IntelFamilySixBeyondTheP6Generation) {
    TCpuidSnapshot atom = Processor("GenuineIntel", 0x000106C2, 0, 0, 0xA);
    atom.Set(0x80000000u, {0x80000008u, 0, 0, 0});
    SetBrand(atom, "         Intel(R) Atom(TM) CPU N270   @ 1.60GHz");
    EXPECT_EQ(GetModelName(atom), "Intel(R) Atom(TM) CPU N270   @ 1.60GHz");

    TCpuidSnapshot noBrand = Processor("GenuineIntel", 0x000206A7, 0, 0, 0xD); // model 10
    EXPECT_EQ(GetModelName(noBrand), "Pentium II/III class");
    noBrand.Set(0x80000000u, {0x80000004u, 0, 0, 0});
    SetBrand(noBrand, std::string(47, ' '));
    EXPECT_EQ(GetModelName(noBrand), "Pentium II/III class");
}

TEST(CpuidNaming, AMD) {
    for (int model : {3, 7, 8, 9})
        EXPECT_EQ(Name("AuthenticAMD", 4, model), "Am486");
    EXPECT_EQ(Name("AuthenticAMD", 4, 14), "Am5x86");
    EXPECT_EQ(Name("AuthenticAMD", 4, 15), "Am5x86");
    EXPECT_EQ(Name("AuthenticAMD", 4, 1), "486 class");
    EXPECT_EQ(Name("AuthenticAMD", 5, 0), "K5 (Model 0)");
    EXPECT_EQ(Name("AuthenticAMD", 5, 1), "K5 (Model 1)");
    EXPECT_EQ(Name("AuthenticAMD", 5, 2), "K5 (Model 2)");
    EXPECT_EQ(Name("AuthenticAMD", 5, 3), "K5 (Model 3)");
    EXPECT_EQ(Name("AuthenticAMD", 5, 6), "K6 (Model 6)");
    EXPECT_EQ(Name("AuthenticAMD", 5, 7), "K6 (Model 7)");
    EXPECT_EQ(Name("AuthenticAMD", 5, 8), "K6-2");
    EXPECT_EQ(Name("AuthenticAMD", 5, 9), "K6-III");
    EXPECT_EQ(Name("AuthenticAMD", 5, 13), "K6-2+/K6-III+");
    EXPECT_EQ(Name("AuthenticAMD", 5, 10), "Pentium class");
    for (int model : {1, 2, 4})
        EXPECT_EQ(Name("AuthenticAMD", 6, model), "Athlon");
    EXPECT_EQ(Name("AuthenticAMD", 6, 3), "Duron");
    EXPECT_EQ(Name("AuthenticAMD", 6, 8), "Athlon class");
    EXPECT_EQ(Name("AuthenticAMD", 15, 1), "");
}

TEST(CpuidNaming, CyrixAndTheSmallVendors) {
    EXPECT_EQ(Name("CyrixInstead", 4, 4), "Media GX");
    EXPECT_EQ(Name("CyrixInstead", 4, 9), "Cx5x86");
    EXPECT_EQ(Name("CyrixInstead", 4, 2), "486 class");
    EXPECT_EQ(Name("CyrixInstead", 5, 2), "6x86");
    EXPECT_EQ(Name("CyrixInstead", 5, 4), "GXm");
    EXPECT_EQ(Name("CyrixInstead", 5, 5), "Pentium class");
    EXPECT_EQ(Name("CyrixInstead", 6, 0), "6x86MX");
    EXPECT_EQ(Name("CyrixInstead", 6, 5), "VIA Cyrix III");
    EXPECT_EQ(Name("CyrixInstead", 6, 2), "M2 Class");
    EXPECT_EQ(Name("CyrixInstead", 7, 0), "");

    EXPECT_EQ(Name("CentaurHauls", 5, 4), "C6");
    EXPECT_EQ(Name("CentaurHauls", 5, 8), "C2");
    EXPECT_EQ(Name("CentaurHauls", 5, 9), "C3");
    EXPECT_EQ(Name("CentaurHauls", 5, 6), "Pentium class");
    EXPECT_EQ(Name("CentaurHauls", 6, 7), "");
    EXPECT_EQ(Name("NexGenDriven", 5, 0), "Nx586");
    EXPECT_EQ(Name("NexGenDriven", 5, 1), "Pentium class");
    EXPECT_EQ(Name("NexGenDriven", 4, 0), "");
    EXPECT_EQ(Name("UMC UMC UMC ", 4, 1), "U5D");
    EXPECT_EQ(Name("UMC UMC UMC ", 4, 2), "U5S");
    EXPECT_EQ(Name("UMC UMC UMC ", 4, 3), "Pentium class");
    EXPECT_EQ(Name("UMC UMC UMC ", 5, 1), "");
    EXPECT_EQ(Name("RiseRiseRise", 5, 0), "mP6");
    EXPECT_EQ(Name("RiseRiseRise", 5, 2), "mP6");
    EXPECT_EQ(Name("RiseRiseRise", 5, 8), "Pentium class");
    EXPECT_EQ(Name("RiseRiseRise", 6, 0), "");

    TCpuidSnapshot winchip2 = Processor("CentaurHauls", Sig(5, 8));
    EXPECT_EQ(GetFullName(winchip2), "IDT C2");
}

TEST(CpuidNaming, UnknownVendorsAndOldProcessorsAreNamedFromTheSystem) {
    const std::pair<std::uint32_t, const char*> types[] = {
        {386, "386 class"},        {486, "486 class"},   {586, "Pentium class"},
        {686, "Pentium II class"}, {2200, "2200 class"}, {0, "0 class"}};
    for (auto [type, name] : types) {
        const TCpuidSnapshot old = ProcessorWithoutCpuid(type);
        EXPECT_EQ(GetModelName(old), name);
        EXPECT_EQ(GetFullName(old), std::string("Unknown ") + name);
        EXPECT_EQ(GetVendorName(old), "Unknown Vendor");

        TCpuidSnapshot transmeta = Processor("GenuineTMx86", 0x543);
        transmeta.System.ProcessorType = type;
        EXPECT_EQ(GetModelName(transmeta), name);
    }
}

// TProcessorIdentity: creation, loading, the read-only property tree and its version records.
#include <gtest/gtest.h>

#include "cpuid/ProcessorIdentity.h"
#include "cpuid/CpuidQueries.h"
#include "unit/cpuid_fake.h"

using namespace zq;
using namespace cpuidtest;

namespace {

TFakeCpu Pentium4() {
    TFakeCpu cpu = SimpleCpu("GenuineIntel", 0xF12, 0x3FEBFBFF, 0x00010808, 2);
    cpu.Beyond = TBeyondRange::HighestBasic;
    cpu.Set(2, {0x665B5001, 0, 0, 0x007A7040});
    cpu.Set(0x80000000u, {0x80000004u, 0, 0, 0});
    SetBrand(cpu, std::string(14, ' ') + "Intel(R) Pentium(R) 4 CPU 1500MHz");
    cpu.MHz = 1500;
    return cpu;
}

} // namespace

TEST(ProcessorIdentity, CreatedInCodeAndNeverLoaded) {
    TFakeCpu cpu = Pentium4();
    TProcessorIdentity ident(nullptr, cpu.Snapshot(), cpu);
    EXPECT_EQ(ident.Speed(), 0);
    EXPECT_EQ(ident.FullName(), "Intel Pentium 4 class");
    EXPECT_FALSE(ident.AutoBench()->Enabled());
    EXPECT_EQ(ident.AutoBench()->Delay(), 500);
    EXPECT_EQ(cpu.TimeStampReads, 0) << "measured without being loaded";
}

TEST(ProcessorIdentity, LoadedMeasuresWhenEnabledAndTakesTheBrandString) {
    TFakeCpu cpu = Pentium4();
    TComponent form(nullptr);
    auto* ident = new TProcessorIdentity(&form, cpu.Snapshot(), cpu);
    ident->AutoBench()->SetEnabled(true);
    ident->AutoBench()->SetDelay(200);
    form.LoadedTree();
    EXPECT_EQ(ident->Speed(), 1500);
    const std::string brand = ident->FullName();
    EXPECT_EQ(brand.size(), 48u);
    EXPECT_EQ(brand.substr(0, 14), std::string(14, ' '));
    EXPECT_EQ(brand.substr(14, 33), "Intel(R) Pentium(R) 4 CPU 1500MHz");
    EXPECT_EQ(brand[47], '\0');
}

// With its benchmark off the component reads no clock; an owner that measures hands the figure in.
TEST(ProcessorIdentity, LoadedWithAutoBenchOffKeepsSpeedZeroUntilTheOwnerHandsItIn) {
    TFakeCpu cpu = Pentium4();
    TProcessorIdentity ident(nullptr, cpu.Snapshot(), cpu);
    ident.LoadedTree();
    EXPECT_EQ(ident.Speed(), 0);
    EXPECT_EQ(cpu.TimeStampReads, 0);
    EXPECT_EQ(ident.FullName().size(), 48u);
    ident.SetMeasuredSpeed(GetCPUSpeed(cpu.Snapshot(), cpu, ident.AutoBench()->Delay()));
    EXPECT_EQ(ident.Speed(), 1500);
}

TEST(ProcessorIdentity, ReadOnlyPropertiesIgnoreWrites) {
    TFakeCpu cpu = Pentium4();
    TProcessorIdentity ident(nullptr, cpu.Snapshot(), cpu);
    ident.AutoBench()->SetEnabled(true);
    ident.LoadedTree();
    ident.SetSpeed(5);
    ident.SetCount(9);
    ident.SetCPU("x");
    ident.SetFullName("x");
    ident.SetVendor("x");
    ident.SetSerial("x");
    ident.SetFDivBug(true);
    ident.SetMMX(false);
    ident.SetOverDrive(true);
    ident.Cache()->SetLevel2(0);
    ident.Cache()->SetL1Data(99);
    ident.Cache()->SetLevel3(512);
    ident.CPUID()->SetMaxLevel(0);
    ident.CPUID()->SetAvailable(false);
    ident.InternalResults()->SetcpuFamily(3);
    ident.InternalResults()->SetVendorID("x");
    ident.FeatureSet()->SetSIMD(false);
    ident.FeatureSetEx()->SetAMD3DNow(true);
    ident.VersionInfo()->API()->SetBuild(1);

    EXPECT_EQ(ident.Speed(), 1500);
    EXPECT_EQ(ident.Count(), 1);
    EXPECT_EQ(ident.CPU(), "Pentium 4 class");
    EXPECT_EQ(ident.FullName().size(), 48u);
    EXPECT_EQ(ident.Vendor(), "Intel Corporation");
    EXPECT_EQ(ident.Serial(), "");
    EXPECT_FALSE(ident.FDivBug());
    EXPECT_TRUE(ident.MMX());
    EXPECT_FALSE(ident.OverDrive());
    EXPECT_EQ(ident.Cache()->Level2(), 256);
    EXPECT_EQ(ident.Cache()->L1Data(), 8);
    EXPECT_EQ(ident.Cache()->Level3(), 0);
    EXPECT_EQ(ident.CPUID()->MaxLevel(), 2);
    EXPECT_TRUE(ident.CPUID()->Available());
    EXPECT_EQ(ident.InternalResults()->cpuFamily(), 15);
    EXPECT_EQ(ident.InternalResults()->VendorID(), "GenuineIntel");
    EXPECT_TRUE(ident.FeatureSet()->SIMD());
    EXPECT_FALSE(ident.FeatureSetEx()->AMD3DNow());
    EXPECT_EQ(ident.VersionInfo()->API()->Build(), 45);
}

TEST(ProcessorIdentity, VersionRecords) {
    TFakeCpu cpu = NoCpuid();
    TProcessorIdentity ident(nullptr, cpu.Snapshot(), cpu);
    const TVersionRecord* api = ident.VersionInfo()->API();
    const TVersionRecord* vcl = ident.VersionInfo()->VCL();
    EXPECT_EQ(api->Version(), 1.0f);
    EXPECT_EQ(api->Build(), 45);
    EXPECT_EQ(api->Status(), bsFinal);
    EXPECT_EQ(api->Release(), rsPublic);
    EXPECT_FALSE(api->Product().empty());
    EXPECT_FALSE(api->Copyright().empty());
    EXPECT_EQ(vcl->Version(), 3.0f);
    EXPECT_EQ(vcl->Build(), 44);
    EXPECT_EQ(vcl->Status(), bsFinal);
    EXPECT_EQ(vcl->Release(), rsPublic);
    EXPECT_NE(vcl->Product(), api->Product());

    TVersionRecord record;
    record.SetInfo("c", "p", 2.5f, 7, bsBeta, rsPrivate);
    EXPECT_EQ(record.Copyright(), "c");
    EXPECT_EQ(record.Product(), "p");
    EXPECT_EQ(record.Version(), 2.5f);
    EXPECT_EQ(record.Build(), 7);
    EXPECT_EQ(record.Status(), bsBeta);
    EXPECT_EQ(record.Release(), rsPrivate);
}

TEST(ProcessorIdentity, SerialNumberOnlyWhenTheProcessorReportsOne) {
    TFakeCpu p3 = SimpleCpu("GenuineIntel", 0x673, 0x0387FBFF, 0, 3);
    p3.Set(2, {0x03020101, 0, 0, 0x0C040843});
    p3.Set(3, {0, 0, 0xC4D5E6F7, 0x0001A2B3});
    TProcessorIdentity withSerial(nullptr, p3.Snapshot(), p3);
    EXPECT_EQ(withSerial.Serial(), "0000-0673-0001-A2B3-C4D5-E6F7");
    EXPECT_EQ(withSerial.Serial().size(), 29u);

    TFakeCpu disabled = SimpleCpu("GenuineIntel", 0x673, 0x0383FBFF, 0, 2);
    TProcessorIdentity without(nullptr, disabled.Snapshot(), disabled);
    EXPECT_EQ(without.Serial(), "");
}

TEST(ProcessorIdentity, BelongsToItsOwnerAndIsFreedWithIt) {
    TFakeCpu cpu = Pentium4();
    auto* form = new TComponent(nullptr);
    auto* ident = new TProcessorIdentity(form, cpu.Snapshot(), cpu);
    ident->SetName("ProcessorIdentity");
    ASSERT_EQ(form->ComponentCount(), 1);
    EXPECT_EQ(form->Components(0), ident);
    delete form; // frees the component and its sub-objects (checked by the sanitizers)
}

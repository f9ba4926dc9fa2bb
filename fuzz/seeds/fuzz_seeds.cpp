// Writes the seed inputs of the fuzz targets into fuzz/corpus/<target>/, each in the layout
// its target reads (see the comment at the top of each fuzz/<target>_fuzz.cpp).
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "unit/cpuusage_perf_block.h"

using namespace zq::testing;

namespace {

class TSeed {
public:
    template <typename T> TSeed& Put(T value) {
        const auto* p = reinterpret_cast<const char*>(&value);
        FBytes.append(p, sizeof value);
        return *this;
    }
    TSeed& U8(std::uint8_t v) { return Put(v); }
    TSeed& U16(std::uint16_t v) { return Put(v); }
    TSeed& U32(std::uint32_t v) { return Put(v); }
    TSeed& I32(std::int32_t v) { return Put(v); }
    TSeed& I64(std::int64_t v) { return Put(v); }
    TSeed& Raw(std::string_view bytes) {
        FBytes.append(bytes);
        return *this;
    }
    TSeed& Raw(const std::vector<std::uint8_t>& bytes) {
        FBytes.append(bytes.begin(), bytes.end());
        return *this;
    }
    TSeed& Piece(std::string_view bytes) {
        return U8(static_cast<std::uint8_t>(bytes.size())).Raw(bytes);
    }
    // A run behind a 16-bit length.
    template <typename Bytes> TSeed& Run16(const Bytes& bytes) {
        return U16(static_cast<std::uint16_t>(bytes.size())).Raw(bytes);
    }
    const std::string& Bytes() const { return FBytes; }

private:
    std::string FBytes;
};

void Write(const std::string& target, const std::string& name, const std::string& bytes) {
    const std::filesystem::path folder = std::filesystem::path(ZQ_CORPUS_DIR) / target;
    std::filesystem::create_directories(folder);
    std::ofstream(folder / name, std::ios::binary) << bytes;
}

std::string Text(const std::vector<std::uint8_t>& bytes) {
    return {bytes.begin(), bytes.end()};
}

void PerfData() {
    Write("perfdata", "one-processor", Text(ProcessorBlock(At(1), {100}).Bytes));
    Write("perfdata", "four-processors",
          Text(ProcessorBlock(At(2, 500), {100, 200, 300, 400}).Bytes));
    Write("perfdata", "two-processors-and-total",
          Text(ProcessorBlock(At(2), {100, 300}, 200).Bytes));
    Write("perfdata", "no-objects", Text(BuildPerfBlock(At(3), {}).Bytes));
    Write("perfdata", "no-idle-counter",
          Text(BuildPerfBlock(At(4), {{238, {142, 144}, {{1, 2}, {3, 4}}}}).Bytes));
    Write("perfdata", "only-other-objects",
          Text(BuildPerfBlock(At(5), {{2, {10}, {{1}}}, {4, {6}, {{2}}}}).Bytes));
}

void Sampler() {
    const auto first = ProcessorBlock(At(1), {1000, 2000}).Bytes;
    const auto second = ProcessorBlock(At(2), {6000, 2500}).Bytes;
    Write("sampler", "nt-two-samples",
          TSeed().U8(2).U8(0).Run16(first).U8(0).Run16(second).Bytes());
    // A block without objects switches to the per-processor times.
    std::string times(96, '\0');
    const std::int64_t t[] = {100, 400, 100, 200, 500, 300};
    std::memcpy(times.data(), &t[0], 24);
    std::memcpy(times.data() + 48, &t[3], 24);
    Write("sampler", "nt-processor-times",
          TSeed()
              .U8(2)
              .U8(0)
              .Run16(BuildPerfBlock(At(1), {}).Bytes)
              .U8(1)
              .I32(2)
              .U8(0)
              .Run16(times)
              .U8(0)
              .Run16(times)
              .Bytes());
    Write("sampler", "win9x-statistics",
          TSeed().U8(1).U8(1).U8(1).U32(0).U8(1).U8(1).U32(37).U8(1).U8(1).U32(42).Bytes());
}

// Header of the processor target: flags, processor count and type, MHz, tick step and period,
// tick base, measuring delay.
TSeed Cpu(std::uint8_t flags, std::uint32_t type, std::uint16_t mhz) {
    return TSeed().U8(flags).U32(1).U32(type).U16(mhz).U16(49).U16(999).U32(0xFFFFFF00u).U8(20);
}

TSeed& Leaf(TSeed& seed, std::uint8_t selector, std::uint32_t a, std::uint32_t b, std::uint32_t c,
            std::uint32_t d) {
    return seed.U8(selector).U32(a).U32(b).U32(c).U32(d);
}

std::uint32_t Word(const char* four) {
    std::uint32_t w = 0;
    std::memcpy(&w, four, 4);
    return w;
}

// Levels 0x80000002..4 (selectors 6..8) from a brand text.
void Brand(TSeed& seed, std::string text) {
    text.resize(48, '\0');
    for (int piece = 0; piece < 3; ++piece) {
        const char* p = text.data() + 16 * piece;
        Leaf(seed, static_cast<std::uint8_t>(6 + piece), Word(p), Word(p + 4), Word(p + 8),
             Word(p + 12));
    }
}

void Processors() {
    Write("cpuid", "no-cpuid-486", Cpu(1 | 4, 486, 66).Bytes());
    {
        TSeed s = Cpu(2 | 4, 586, 500);
        Leaf(s, 0, 3, Word("Genu"), Word("ntel"), Word("ineI"));
        Leaf(s, 1, 0x00000672, 0, 0, 0x0387FBFF);
        Leaf(s, 2, 0x03020101, 0, 0, 0x0C040843);
        Leaf(s, 3, 0, 0, 0x2D4E5F60, 0x00030B1C);
        Write("cpuid", "intel-pentium-iii-serial", s.Bytes());
    }
    {
        TSeed s = Cpu(2 | 4, 586, 1500);
        Leaf(s, 0, 2, Word("Genu"), Word("ntel"), Word("ineI"));
        Leaf(s, 1, 0x00000F12, 0x00010808, 0, 0x3FEBFBFF);
        Leaf(s, 2, 0x665B5001, 0, 0, 0x007A7040);
        Leaf(s, 4, 0x80000004u, 0, 0, 0);
        Leaf(s, 5, 0, 0, 0, 0);
        Brand(s, "              Intel(R) Pentium(R) 4 CPU 1500MHz");
        Write("cpuid", "intel-pentium-4-brand", s.Bytes());
    }
    {
        TSeed s = Cpu(4, 586, 1000);
        Leaf(s, 0, 1, Word("Auth"), Word("cAMD"), Word("enti"));
        Leaf(s, 1, 0x00000642, 0, 0, 0x0183F9FF);
        Leaf(s, 4, 0x80000006u, 0, 0, 0);
        Leaf(s, 5, 0x00000742, 0, 0, 0xC1C3F9FF);
        Brand(s, "AMD Athlon(tm) Processor");
        Leaf(s, 9, 0x0408FF08, 0xFF18FF10, 0x40020140, 0x40020140);
        Leaf(s, 10, 0, 0x41004100, 0x01008140, 0);
        Write("cpuid", "amd-athlon", s.Bytes());
    }
    {
        TSeed s = Cpu(4, 586, 233);
        Leaf(s, 0, 1, Word("Cyri"), Word("tead"), Word("xIns"));
        Leaf(s, 1, 0x00000600, 0, 0, 0x00808131);
        Leaf(s, 4, 0x80000005u, 0, 0, 0);
        Leaf(s, 5, 0x00000620, 0, 0, 0x80808131);
        Leaf(s, 9, 0, 0, 0x80, 0);
        Write("cpuid", "cyrix-extended-descriptors", s.Bytes());
    }
    {
        // Level 2 asks to be executed twice; the two answers differ.
        TSeed s = Cpu(4, 586, 450);
        Leaf(s, 0, 2, Word("Genu"), Word("ntel"), Word("ineI"));
        Leaf(s, 1, 0x00000652, 0, 0, 0x0183FBFF);
        Leaf(s, 2, 0x03020102, 0, 0, 0x0C040841);
        Leaf(s, 2, 0x03020102, 0, 0, 0x0C040843);
        Write("cpuid", "intel-level-2-twice", s.Bytes());
    }
    {
        // Leaf 2 sends to leaf 4 (selector 11 + 12 x sub-leaf): L1 data, L1 code, L2, L3.
        TSeed s = Cpu(4, 586, 3100);
        Leaf(s, 0, 0xD, Word("Genu"), Word("ntel"), Word("ineI"));
        Leaf(s, 1, 0x000206A7, 0x00100800, 0x1FBAE3FF, 0xBFEBFBFF);
        Leaf(s, 2, 0x76035A01, 0x00F0B0FF, 0, 0x00CA0000);
        Leaf(s, 11, 0x1C004121, 0x01C0003F, 0x0000003F, 0);
        Leaf(s, 23, 0x1C004122, 0x01C0003F, 0x0000003F, 0);
        Leaf(s, 35, 0x1C004143, 0x01C0003F, 0x000001FF, 0);
        Leaf(s, 47, 0x1C03C163, 0x02C0003F, 0x00001FFF, 0x00000006);
        Leaf(s, 59, 0, 0, 0, 0);
        Leaf(s, 4, 0x80000008u, 0, 0, 0);
        Brand(s, "        Intel(R) Core(TM) i5-2400 CPU @ 3.10GHz");
        Write("cpuid", "intel-leaf-4", s.Bytes());
    }
}

void Durations() {
    const struct {
        const char* name;
        std::int64_t seconds;
        std::uint8_t flags;
        const char* separator;
    } seeds[] = {
        {"zero", 0, 0, "."},
        {"one-day-words", 93784, 1, "."},
        {"all-units-decimals", 3157920000LL + 31579200LL + 61, 2, ","},
        {"clock", 45296, 4 | 1, "."},
        {"clock-all-units", 400000000, 4 | 2, "."},
        {"negative", -1, 2, "."},
        {"beyond-the-counts", INT64_MAX, 0, "::"},
    };
    for (const auto& s : seeds)
        Write("duration", s.name, TSeed().I64(s.seconds).U8(s.flags).Raw(s.separator).Bytes());
}

void TextIcon() {
    const struct {
        const char* name;
        std::int32_t dx, dy, distance, width, height;
        std::uint8_t iconSize;
        std::string_view text;
    } seeds[] = {
        {"percent", 0, 0, 0, 6, 13, 16, "37"},
        {"two-lines", 1, -1, 0, 5, 8, 20, "37\r%"},
        {"trailing-break", 0, 0, 2, 5, 8, 16, "100\r"},
        {"extreme-offsets", INT32_MAX, INT32_MIN, INT32_MIN, 7, 13, 32, "1\r2\r3"},
        {"extreme-extent", -5, 5, 0, INT32_MAX, INT32_MIN, 24, "\r\r"},
        {"many-digits", 0, 0, 0, 6, 13, 5, "12345678901234567890"},
        {"digit-wider-than-icon", 0, 0, 0, 6, 13, 1, "1"},
    };
    for (const auto& s : seeds)
        Write("texticon", s.name,
              TSeed()
                  .I32(s.dx)
                  .I32(s.dy)
                  .I32(s.distance)
                  .I32(s.width)
                  .I32(s.height)
                  .U8(s.iconSize)
                  .Raw(s.text)
                  .Bytes());
}

TSeed& Rect(TSeed& seed, std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b) {
    return seed.I32(l).I32(t).I32(r).I32(b);
}

// Header: properties (active 1, screen 2, glue 4, main form 8, dragging the main form 16) and
// area; then the other forms (bounds, main form flag); then steps (proposed rectangle, bounds
// before, work area behind a flag, milliseconds).
void Magnet() {
    {
        TSeed s;
        s.U8(1 | 2 | 4).U32(15).U8(2);
        Rect(s, 300, 0, 398, 34).U8(1);    // the meter, main form
        Rect(s, 398, 0, 500, 100).U8(0);   // touching its right edge
        Rect(s, 290, 0, 388, 34);          // dragged 10 pixels left...
        Rect(s, 300, 0, 398, 34).U8(1);    // ...from here
        Rect(s, 0, 0, 800, 570).U32(1000); // the work area
        Rect(s, 5, 3, 103, 37);            // then near the top-left corner
        Rect(s, 20, 10, 118, 44).U8(1);
        Rect(s, 0, 0, 800, 570).U32(1100);
        Write("magnet", "glue-and-work-area", s.Bytes());
    }
    {
        TSeed s;
        s.U8(1 | 8).U32(300).U8(1);
        Rect(s, 100, 100, 200, 134).U8(1);
        Rect(s, 205, 90, 305, 190); // close to the main form's right edge
        Rect(s, 215, 90, 315, 190).U8(0).U32(5);
        Write("magnet", "main-form-magnet", s.Bytes());
    }
    {
        TSeed s;
        s.U8(1 | 2 | 4 | 8).U32(255).U8(1);
        Rect(s, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX).U8(1);
        Rect(s, INT32_MAX - 5, INT32_MIN, INT32_MIN, INT32_MAX);
        Rect(s, INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN).U8(1);
        Rect(s, INT32_MIN + 1, INT32_MIN + 1, INT32_MAX - 1, INT32_MAX - 1).U32(0xFFFFFFFFu);
        Write("magnet", "extreme-coordinates", s.Bytes());
    }
}

const char kSettingsFile[] =
    "[Colors]\r\nBackground=0\r\nPro1=4227072\r\nPro2=65408\r\nPro3=255\r\n"
    "Text=16776960\r\n[Window]\r\nHeight=34\r\nWidth=98\r\nLeft=300\r\n"
    "Top=0\r\nAlwaysTop=1\r\nShowNumeric=1\r\nSnapWindow=1\r\nAlphaOn=0\r\n"
    "Alpha=192\r\n[Orientation]\r\nHorizontal=1\r\n[Misc]\r\nWelcome=1\r\n";

void Settings() {
    Write("settings", "as-written", kSettingsFile);
    Write("settings", "hand-edited",
          "; my colours\n[ colors ]\n pro1 = 0x00FF00 \nBackground=-1\n[Window]\nAlpha=300\n"
          "Height=2147483648\nleft=-2147483648\n[window]\nTop=12\n[Misc]\nWelcome=yes\n");
    Write("settings", "foreign-lines",
          "Pro1=5\n[Unknown]\nkey=value\n\n# note\n[Window]\r\nWidth\r\n=7\r\n[Misc\r\n");
    // Notepad's "Unicode" with another program's section; an editor's CR-only lines; "UTF-8".
    std::string wide = "\xFF\xFE";
    for (char c : "[Other]\r\nName=\"x\"\r\n" + std::string(kSettingsFile))
        wide.append({c, '\0'});
    Write("settings", "utf16le", wide);
    std::string cr = kSettingsFile;
    cr.erase(std::remove(cr.begin(), cr.end(), '\n'), cr.end());
    Write("settings", "cr-only", cr);
    Write("settings", "utf8-bom", "\xEF\xBB\xBF" + std::string(kSettingsFile));
}

void Ini() {
    Write("ini", "settings-file", TSeed().Run16(std::string_view(kSettingsFile)).Bytes());
    Write("ini", "set-keys",
          TSeed()
              .Run16(std::string_view(
                  "; comment\r\n[Colors]\r\nPro1=1\r\nOther=x\r\n\r\n[Extra]\nk=v"))
              .Piece("colors")
              .Piece("PRO1")
              .Piece("0x00FF00")
              .Piece("Misc")
              .Piece("Welcome")
              .Piece(" 0 ")
              .Piece("Extra")
              .Piece("K")
              .Piece("-2147483648")
              .Bytes());
    // UTF-16LE (header bit 14) with CR line ends (bit 15).
    const std::string_view body = "[S]\na=\"1\"\nb\n[s]\nb=2\n";
    Write("ini", "utf16-cr-lines",
          TSeed()
              .U16(static_cast<std::uint16_t>(0xC000 | body.size()))
              .Raw(body)
              .Piece("S")
              .Piece("b")
              .Piece(" 3 ")
              .Bytes());
    Write("ini", "duplicate-sections",
          TSeed()
              .Run16(std::string_view("[A]\nx=1\n[B]\ny=2\n[a]\nz=3\n[A\nw=4\n"))
              .Piece("a")
              .Piece("z")
              .Piece("4")
              .Piece("b")
              .Piece("x")
              .Piece("5")
              .Bytes());
}

} // namespace

int main() {
    PerfData();
    Sampler();
    Processors();
    Durations();
    TextIcon();
    Magnet();
    Settings();
    Ini();
    std::printf("seeds written to %s\n", ZQ_CORPUS_DIR);
    return 0;
}

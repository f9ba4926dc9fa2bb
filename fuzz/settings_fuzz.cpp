// Links: zq_app_logic zq_toolkit_logic
// The meter's settings file as the user may have left it (ANSI, UTF-8 or UTF-16 with their
// byte-order marks, any line ends): the eighteen keys are read from arbitrary content, written
// back through the accessor and read again; what was written reads back equal, writing it again
// changes nothing, the byte-order mark stays, and every line but those of the eighteen keys
// survives the rewrite byte for byte in its order.
#include "FuzzInput.h"
#include "IniText.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>
#include <vector>

#include "app/MeterSettings.h"
#include "common/SettingsMemory.h"

using namespace zq;

namespace {

using zqtest::TCollect;
using zqtest::TMemoryStore;

bool Same(const MeterSettings& a, const MeterSettings& b) {
    return a.Background == b.Background && a.Pro1 == b.Pro1 && a.Pro2 == b.Pro2 &&
           a.Pro3 == b.Pro3 && a.Text == b.Text && a.Height == b.Height && a.Width == b.Width &&
           a.Left == b.Left && a.Top == b.Top && a.Alpha == b.Alpha &&
           a.SnapWindow == b.SnapWindow && a.AlwaysTop == b.AlwaysTop && a.AlphaOn == b.AlphaOn &&
           a.ShowNumeric == b.ShowNumeric && a.AllProcessors == b.AllProcessors &&
           a.HideFullScreen == b.HideFullScreen && a.Horizontal == b.Horizontal &&
           a.Welcome == b.Welcome;
}

const char* const kKeys[] = {
    "Background", "Pro1",        "Pro2",       "Pro3",    "Text",          "Height",
    "Width",      "Left",        "Top",        "Alpha",   "SnapWindow",    "AlwaysTop",
    "AlphaOn",    "ShowNumeric", "Horizontal", "Welcome", "AllProcessors", "HideFullScreen"};

// Whether the line may be one of the eighteen keys: after blanks it starts with a key's name.
bool MayBeAKey(std::string line) {
    const std::size_t start = line.find_first_not_of(" \t\n\v\f\r\x1A");
    if (start == std::string::npos)
        return false;
    line.erase(0, start);
    for (char& c : line)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (std::string key : kKeys) {
        for (char& c : key)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (line.compare(0, key.size(), key) == 0)
            return true;
    }
    return false;
}

bool KeepsForeignLines(std::string_view before, std::string_view after) {
    const zq::fuzz::TIniText old = zq::fuzz::SplitIniText(before);
    const zq::fuzz::TIniText now = zq::fuzz::SplitIniText(after);
    if (old.Mark != now.Mark)
        return false;
    std::size_t at = 0;
    for (std::string_view line : old.Lines) {
        if (MayBeAKey(old.Ascii(line)))
            continue;
        while (at < now.Lines.size() && now.Lines[at] != line)
            ++at;
        if (at == now.Lines.size())
            return false;
        ++at;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TMemoryStore store;
    store.Content.assign(reinterpret_cast<const char*>(data), size);
    TIniFile ini(kSettingsFileName, store);

    TCollect first;
    ReadMeterSettings(ini, first);
    ZQ_FUZZ_CHECK(ReadMeterHeight(ini) == first.S.Height);
    WriteMeterSettings(ini, first.S);

    TCollect second;
    ReadMeterSettings(ini, second);
    ZQ_FUZZ_CHECK(Same(first.S, second.S));
    ZQ_FUZZ_CHECK(KeepsForeignLines(std::string_view(reinterpret_cast<const char*>(data), size),
                                    store.Content));

    // Writing the same values again changes nothing.
    const std::string once = store.Content;
    WriteMeterSettings(ini, second.S);
    ZQ_FUZZ_CHECK(store.Content == once);
    return 0;
}

// Links: zq_forms_logic zq_toolkit_logic
// The meter's settings file as the user may have left it (ANSI, UTF-8 or UTF-16 with their
// byte-order marks, any line ends): the keys of the settings table are read from arbitrary
// content, written back through the accessor and read again; what was written reads back equal,
// writing it again changes nothing, the byte-order mark stays, and every line but those of the
// table's keys survives the rewrite byte for byte in its order.
#include "FuzzInput.h"
#include "IniText.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>
#include <vector>

#include "common/MemoryFileStore.h"
#include "forms/MeterSettings.h"

using namespace zq;

namespace {

using zqtest::TMemoryFileStore;

std::string Lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Whether the line may be one of the table's keys: after blanks it starts with a key's name.
bool MayBeAKey(const std::string& line) {
    const std::size_t start = line.find_first_not_of(" \t\n\v\f\r\x1A");
    if (start == std::string::npos)
        return false;
    const std::string text = Lower(line.substr(start));
    for (const TSettingKey& key : kMeterSettingKeys) {
        const std::string name = Lower(key.Key);
        if (text.compare(0, name.size(), name) == 0)
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
    TMemoryFileStore store;
    std::string& content = store.Files[kSettingsFileName];
    content.assign(reinterpret_cast<const char*>(data), size);
    TIniFile ini(kSettingsFileName, store);

    const MeterSettings first = ReadMeterSettings(ini);
    WriteMeterSettings(ini, first);

    const MeterSettings second = ReadMeterSettings(ini);
    ZQ_FUZZ_CHECK(first == second);
    ZQ_FUZZ_CHECK(
        KeepsForeignLines(std::string_view(reinterpret_cast<const char*>(data), size), content));

    // Writing the same values again changes nothing.
    const std::string once = content;
    WriteMeterSettings(ini, second);
    ZQ_FUZZ_CHECK(content == once);
    return 0;
}

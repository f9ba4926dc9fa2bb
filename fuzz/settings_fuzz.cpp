// Links: zq_app_logic zq_toolkit_logic
// The meter's settings file as the user may have left it: the sixteen keys are read from
// arbitrary content, written back through the accessor and read again; what was written reads
// back equal, writing it again changes nothing, and lines without '=' (comments, headers,
// anything foreign) survive the rewrite in their order.
#include "FuzzInput.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "app/MeterSettings.h"

using namespace zq;

namespace {

class TMemoryStore : public IFileStore {
public:
    std::string Content;
    FileReadResult Read(const std::string&) override { return {FileReadResult::Ok, Content}; }
    bool Write(const std::string&, const std::string& data) override {
        Content = data;
        return true;
    }
};

class TCollect : public IMeterSettingsSink {
public:
    MeterSettings S;
    void Background(TColor v) override { S.Background = v; }
    void Pro1(TColor v) override { S.Pro1 = v; }
    void Pro2(TColor v) override { S.Pro2 = v; }
    void Pro3(TColor v) override { S.Pro3 = v; }
    void Text(TColor v) override { S.Text = v; }
    void Height(int v) override { S.Height = v; }
    void Width(int v) override { S.Width = v; }
    void Left(int v) override { S.Left = v; }
    void Top(int v) override { S.Top = v; }
    void Alpha(unsigned char v) override { S.Alpha = v; }
    void SnapWindow(bool v) override { S.SnapWindow = v; }
    void AlwaysTop(bool v) override { S.AlwaysTop = v; }
    void AlphaOn(bool v) override { S.AlphaOn = v; }
    void ShowNumeric(bool v) override { S.ShowNumeric = v; }
    void Horizontal(bool v) override { S.Horizontal = v; }
    void Welcome(bool v) override { S.Welcome = v; }
};

bool Same(const MeterSettings& a, const MeterSettings& b) {
    return a.Background == b.Background && a.Pro1 == b.Pro1 && a.Pro2 == b.Pro2 &&
           a.Pro3 == b.Pro3 && a.Text == b.Text && a.Height == b.Height && a.Width == b.Width &&
           a.Left == b.Left && a.Top == b.Top && a.Alpha == b.Alpha &&
           a.SnapWindow == b.SnapWindow && a.AlwaysTop == b.AlwaysTop && a.AlphaOn == b.AlphaOn &&
           a.ShowNumeric == b.ShowNumeric && a.Horizontal == b.Horizontal && a.Welcome == b.Welcome;
}

// The lines of a file: split at LF, one CR before it dropped.
std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return lines;
}

// Lines without '=' (comments, headers, anything foreign) are kept, in their order.
bool KeepsForeignLines(std::string_view before, std::string_view after) {
    const auto kept = Lines(after);
    std::size_t at = 0;
    for (std::string_view line : Lines(before)) {
        if (line.find('=') != std::string_view::npos)
            continue;
        while (at < kept.size() && kept[at] != line)
            ++at;
        if (at == kept.size())
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

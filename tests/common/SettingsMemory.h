#pragma once
// The meter's settings in memory, for the fuzz targets and benchmarks: one file held in a
// string, and a sink that collects what the meter reads from it.
#include <string>

#include "app/MeterSettings.h"

namespace zqtest {

class TMemoryStore : public zq::IFileStore {
public:
    std::string Content;
    zq::FileReadResult Read(const std::string&) override {
        return {zq::FileReadResult::Ok, Content};
    }
    bool Write(const std::string&, const std::string& data) override {
        Content = data;
        return true;
    }
};

class TCollect : public zq::IMeterSettingsSink {
public:
    zq::MeterSettings S;
    void Background(zq::TColor v) override { S.Background = v; }
    void Pro1(zq::TColor v) override { S.Pro1 = v; }
    void Pro2(zq::TColor v) override { S.Pro2 = v; }
    void Pro3(zq::TColor v) override { S.Pro3 = v; }
    void Text(zq::TColor v) override { S.Text = v; }
    void Height(int v) override { S.Height = v; }
    void Width(int v) override { S.Width = v; }
    void Left(int v) override { S.Left = v; }
    void Top(int v) override { S.Top = v; }
    void Alpha(unsigned char v) override { S.Alpha = v; }
    void SnapWindow(bool v) override { S.SnapWindow = v; }
    void AlwaysTop(bool v) override { S.AlwaysTop = v; }
    void AlphaOn(bool v) override { S.AlphaOn = v; }
    void ShowNumeric(bool v) override { S.ShowNumeric = v; }
    void AllProcessors(bool v) override { S.AllProcessors = v; }
    void HideFullScreen(bool v) override { S.HideFullScreen = v; }
    void Horizontal(bool v) override { S.Horizontal = v; }
    void Welcome(bool v) override { S.Welcome = v; }
};

} // namespace zqtest

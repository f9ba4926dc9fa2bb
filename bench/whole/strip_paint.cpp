// The strip's bar repainted as the meter's tick repaints it, under Wine or Windows: the default
// strip (98 by 34) showing the load alone, and with "Each Processor" on at 64 simulated
// processors, as rows and as columns. Prints the time of one tick's repaint for each.
//   strip_paint [ticks]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "controls/GradientBar.h"
#include "toolkit/Application.h"
#include "toolkit/Forms.h"

using namespace zq;

int main(int argc, char** argv) {
    const int ticks = argc > 1 ? std::atoi(argv[1]) : 5000;
    TApplication app;
    app.Initialize();
    auto* strip = new TForm(Application);
    strip->SetBounds(0, 0, 98, 34);
    strip->Show();
    auto* bar = new TGradientBar(strip);
    bar->SetParent(strip);
    bar->SetBounds(0, 0, 98, 34);
    bar->SetBackgroundColor(clBlack);
    bar->SetPosTextSuffix("%");
    const struct {
        const char* Name;
        bool Slices;
        TProgressDirection Direction;
    } cases[] = {{"the load alone", false, pdLeftToRight},
                 {"each of 64 processors, 32 rows", true, pdLeftToRight},
                 {"each of 64 processors, 64 columns", true, pdBottomToTop}};
    std::vector<int> loads(64);
    LARGE_INTEGER frequency, began, ended;
    QueryPerformanceFrequency(&frequency);
    for (const auto& c : cases) {
        bar->SetShowSlices(c.Slices);
        bar->SetDirection(c.Direction);
        QueryPerformanceCounter(&began);
        for (int tick = 0; tick < ticks; ++tick) {
            for (std::size_t i = 0; i < loads.size(); ++i)
                loads[i] = static_cast<int>((i * 37 + static_cast<std::size_t>(tick)) % 101);
            bar->SetPositions(tick % 101, loads);
        }
        QueryPerformanceCounter(&ended);
        std::printf("%s: %.1f us a tick\n", c.Name,
                    static_cast<double>(ended.QuadPart - began.QuadPart) * 1e6 /
                        static_cast<double>(frequency.QuadPart) / ticks);
    }
    delete strip;
    return 0;
}

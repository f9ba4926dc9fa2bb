// Counts every allocation made through operator new while a step of the magnet runs.
#include <gtest/gtest.h>

#include "common/AllocCounter.h"
#include "magnet/MagnetEngine.h"

using namespace zq;

TEST(MagnetAllocation, AStepAllocatesNothing) {
    // The counter sees allocations at all.
    zqtest::StartCountingAllocations();
    void* volatile probe = ::operator new(16);
    ASSERT_EQ(zqtest::StopCountingAllocations(), 1);
    ::operator delete(probe);

    TMagnetEngine e;
    e.SetActive(true);
    e.SetArea(10);
    e.SetMainFormMagnet(true);
    int ids[4];
    TMagnetForm forms[] = {{&ids[0], {300, 300, 500, 400}, true},
                           {&ids[1], {200, 0, 250, 50}, false},
                           {&ids[2], {0, 140, 60, 200}, false},
                           {&ids[3], {900, 900, 950, 950}, false}};
    TMagnetContext ctx;
    ctx.WorkArea = TRect{0, 0, 800, 600};
    ctx.Forms = forms;
    std::size_t moved = 0;

    zqtest::StartCountingAllocations();
    for (int i = 0; i < 2000; ++i) {
        ctx.Current = {100 + i % 120 - 60, 100, 200 + i % 120 - 60, 140};
        ctx.Now = 46000.5 + i / 86400000.0 * 40; // a step every 40 ms
        TRect rect = {ctx.Current.Left - 3, ctx.Current.Top + i % 7 - 3, ctx.Current.Right - 3,
                      ctx.Current.Bottom + i % 7 - 3};
        moved += e.OnMoving(rect, ctx).size();
    }
    EXPECT_EQ(zqtest::StopCountingAllocations(), 0);
    EXPECT_GT(moved, 0u); // glue did move forms
}

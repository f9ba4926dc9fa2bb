// Counts every allocation made through operator new while a step of the magnet runs.
#include <gtest/gtest.h>

#include "magnet/MagnetEngine.h"

#include <cstdlib>
#include <new>

namespace {
std::size_t gAllocations = 0;
bool gCounting = false;

void* Allocate(std::size_t n) {
    if (gCounting)
        ++gAllocations;
    if (void* p = std::malloc(n ? n : 1))
        return p;
    throw std::bad_alloc();
}
} // namespace

void* operator new(std::size_t n) {
    return Allocate(n);
}
void* operator new[](std::size_t n) {
    return Allocate(n);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}

using namespace zq;

TEST(MagnetAllocation, AStepAllocatesNothing) {
    // The counter sees allocations at all.
    gAllocations = 0;
    gCounting = true;
    void* volatile probe = ::operator new(16);
    gCounting = false;
    ::operator delete(probe);
    ASSERT_EQ(gAllocations, 1u);

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

    gAllocations = 0;
    gCounting = true;
    for (int i = 0; i < 2000; ++i) {
        ctx.Current = {100 + i % 120 - 60, 100, 200 + i % 120 - 60, 140};
        ctx.Now = 46000.5 + i / 86400000.0 * 40; // a step every 40 ms
        TRect rect = {ctx.Current.Left - 3, ctx.Current.Top + i % 7 - 3, ctx.Current.Right - 3,
                      ctx.Current.Bottom + i % 7 - 3};
        moved += e.OnMoving(rect, ctx).size();
    }
    gCounting = false;
    EXPECT_EQ(gAllocations, 0u);
    EXPECT_GT(moved, 0u); // glue did move forms
}

// Replaces the global allocation functions of the Windows test program with counting ones.
#include <cstdlib>
#include <new>

#include "AllocCounter.h"

namespace {
bool gCounting = false;
long gAllocations = 0;

void* Allocate(std::size_t size) {
    if (gCounting)
        ++gAllocations;
    if (void* p = std::malloc(size != 0 ? size : 1))
        return p;
    throw std::bad_alloc();
}
} // namespace

void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
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

namespace zqtest {

void StartCountingAllocations() {
    gAllocations = 0;
    gCounting = true;
}

long StopCountingAllocations() {
    gCounting = false;
    return gAllocations;
}

} // namespace zqtest

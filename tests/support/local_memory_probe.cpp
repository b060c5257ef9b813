#include "tests/support/local_memory_probe.h"

#include <atomic>

namespace quarn::test {
namespace {

std::atomic<int> g_allocations{0};
std::atomic<int> g_live{0};
std::atomic<int> g_failAt{0};

HLOCAL WINAPI CountingAllocate(UINT flags, SIZE_T bytes) {
    int n = ++g_allocations;
    if (n == g_failAt.load()) return nullptr;
    HLOCAL block = ::LocalAlloc(flags, bytes);
    if (block != nullptr) ++g_live;
    return block;
}

HLOCAL WINAPI CountingRelease(HLOCAL block) {
    if (block != nullptr) --g_live;
    return ::LocalFree(block);
}

}  // namespace

LocalMemoryProbe::LocalMemoryProbe()
    : previous_(ReplaceLocalMemoryCalls({&CountingAllocate, &CountingRelease})) {
    g_allocations = 0;
    g_live = 0;
    g_failAt = 0;
}

LocalMemoryProbe::~LocalMemoryProbe() { ReplaceLocalMemoryCalls(previous_); }

void LocalMemoryProbe::FailAllocation(int n) {
    g_failAt = n == 0 ? 0 : g_allocations.load() + n;
}

int LocalMemoryProbe::Allocations() const { return g_allocations; }
int LocalMemoryProbe::LiveBlocks() const { return g_live; }
void LocalMemoryProbe::Free(HLOCAL block) { CountingRelease(block); }

}  // namespace quarn::test

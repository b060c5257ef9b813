#include "plugin/local_memory.h"

namespace quarn {
namespace {

LocalMemoryCalls g_calls = {&::LocalAlloc, &::LocalFree};

}  // namespace

LocalMemoryCalls ReplaceLocalMemoryCalls(LocalMemoryCalls calls) {
    LocalMemoryCalls previous = g_calls;
    g_calls = calls;
    return previous;
}

HLOCAL AllocateLocal(UINT flags, SIZE_T bytes) { return g_calls.allocate(flags, bytes); }

void FreeLocal(HLOCAL block) {
    if (block != nullptr) g_calls.release(block);
}

}  // namespace quarn

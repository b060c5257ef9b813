// Local memory, the kind of block the host receives and frees with LocalFree.
// Every allocation and release of the module goes through one replaceable
// table, so that tests can fail the Nth allocation and count what is left.
#pragma once

#include <windows.h>

#include "plugin/unique_handles.h"

namespace quarn {

struct LocalMemoryCalls {
    HLOCAL(WINAPI* allocate)(UINT flags, SIZE_T bytes);
    HLOCAL(WINAPI* release)(HLOCAL block);
};

// Installs `calls` and returns the table that was in force (tests only).
LocalMemoryCalls ReplaceLocalMemoryCalls(LocalMemoryCalls calls);

HLOCAL AllocateLocal(UINT flags, SIZE_T bytes);
void FreeLocal(HLOCAL block);

struct LocalBlockTraits {
    using Value = HLOCAL;
    static Value Invalid() noexcept { return nullptr; }
    static void Close(Value value) noexcept { FreeLocal(value); }
};

// A block this module still owns; release() where it passes to its next owner.
using UniqueLocal = UniqueResource<LocalBlockTraits>;

}  // namespace quarn

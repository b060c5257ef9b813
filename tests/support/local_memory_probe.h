// Counts the module's local-memory blocks and fails a chosen allocation, so a
// test can walk every allocation of an operation through failure and check
// that nothing is left behind.
#pragma once

#include <windows.h>

#include "plugin/local_memory.h"

namespace quarn::test {

class LocalMemoryProbe {
public:
    LocalMemoryProbe();
    ~LocalMemoryProbe();
    LocalMemoryProbe(const LocalMemoryProbe&) = delete;
    LocalMemoryProbe& operator=(const LocalMemoryProbe&) = delete;

    // The `n`th allocation from now on (counted from 1) fails; 0 fails none.
    void FailAllocation(int n);
    int Allocations() const;
    // Blocks allocated through the module and not yet released. Blocks handed
    // to a host are released by the test with Free() to keep the count exact.
    int LiveBlocks() const;
    static void Free(HLOCAL block);

private:
    LocalMemoryCalls previous_;
};

}  // namespace quarn::test

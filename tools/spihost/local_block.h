// Owners for blocks and modules spihost receives, on the pattern of the
// project's handle owners.
#pragma once

#include <windows.h>

#include <cstddef>

#include "plugin/unique_handles.h"

namespace quarn::spihost {

struct LocalBlockTraits {
    using Value = HLOCAL;
    static Value Invalid() noexcept { return nullptr; }
    static void Close(Value value) noexcept { ::LocalFree(value); }
};

// A block received from the plug-in or the system, freed with LocalFree.
using UniqueLocalBlock = UniqueResource<LocalBlockTraits>;

struct ModuleTraits {
    using Value = HMODULE;
    static Value Invalid() noexcept { return nullptr; }
    static void Close(Value value) noexcept { ::FreeLibrary(value); }
};

using UniqueModule = UniqueResource<ModuleTraits>;

// The bytes of a local block, locked for as long as this lives: a block
// allocated movable has no address until locked.
class LockedLocalBlock {
public:
    explicit LockedLocalBlock(HLOCAL block) noexcept
        : block_(block), data_(::LocalLock(block)), size_(data_ != nullptr ? ::LocalSize(block) : 0) {}
    ~LockedLocalBlock() {
        if (data_ != nullptr) ::LocalUnlock(block_);
    }
    LockedLocalBlock(const LockedLocalBlock&) = delete;
    LockedLocalBlock& operator=(const LockedLocalBlock&) = delete;

    const void* data() const noexcept { return data_; }
    size_t size() const noexcept { return size_; }

private:
    HLOCAL block_;
    void* data_;
    size_t size_;
};

}  // namespace quarn::spihost

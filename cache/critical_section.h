// A critical section owned for an object's lifetime, and a guard that holds
// it for a scope.
#pragma once

#include <windows.h>

namespace quarn {

class CriticalSection {
public:
    CriticalSection() noexcept { ::InitializeCriticalSection(&section_); }
    ~CriticalSection() { ::DeleteCriticalSection(&section_); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    void Enter() noexcept { ::EnterCriticalSection(&section_); }
    void Leave() noexcept { ::LeaveCriticalSection(&section_); }

private:
    CRITICAL_SECTION section_;
};

class CriticalSectionGuard {
public:
    explicit CriticalSectionGuard(CriticalSection& section) noexcept : section_(section) {
        section_.Enter();
    }
    ~CriticalSectionGuard() { section_.Leave(); }
    CriticalSectionGuard(const CriticalSectionGuard&) = delete;
    CriticalSectionGuard& operator=(const CriticalSectionGuard&) = delete;

private:
    CriticalSection& section_;
};

}  // namespace quarn

// Keeps tool-running operations apart. Every run writes the same two capture
// files in the one per-user work folder, so two host threads, or two host
// processes of one user, would otherwise read each other's listings. One
// named mutex per user and work folder is held from the creation of the
// first capture file to the deletion of the last.
#pragma once

#include "plugin/unique_handles.h"

namespace quarn {

class ToolRunLock {
public:
    // Waits without a time limit. A mutex abandoned by a process that died
    // mid-run is taken over. If the mutex cannot be made at all, the run goes
    // on unguarded rather than failing.
    explicit ToolRunLock(const wchar_t* workDirectory);
    ~ToolRunLock();
    ToolRunLock(const ToolRunLock&) = delete;
    ToolRunLock& operator=(const ToolRunLock&) = delete;

    // True when no other thread or process holds the lock right now; takes
    // and releases it without waiting.
    static bool IsFree(const wchar_t* workDirectory);

private:
    UniqueHandle mutex_;
    bool owned_ = false;
};

}  // namespace quarn

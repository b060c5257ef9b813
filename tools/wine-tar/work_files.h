// The files one run shares with its shell, in the Windows temp folder under a
// name of their own, so that runs side by side never meet. All of them are
// removed when the run ends.
#pragma once

#include <string>

#include "tools/wine-tar/shell_script.h"

namespace quarn {

class WorkFiles {
public:
    WorkFiles() = default;
    ~WorkFiles();
    WorkFiles(const WorkFiles&) = delete;
    WorkFiles& operator=(const WorkFiles&) = delete;

    // Claims a fresh name in the temp folder. False when none could be made.
    bool Create();

    const std::wstring& Folder() const { return folder_; }
    // The claimed name itself holds the script.
    std::wstring Script() const { return base_; }
    std::wstring Output() const { return base_ + L".out"; }
    std::wstring Error() const { return base_ + L".err"; }
    std::wstring ExitPart() const { return base_ + L".exit.part"; }
    std::wstring Exit() const { return base_ + L".exit"; }
    std::wstring Pid() const { return base_ + L".pid"; }

    // The names as the shell, started in Folder(), sees them.
    ScriptFiles ForScript() const;
    // The script's name relative to Folder().
    std::wstring ScriptName() const { return name_; }

private:
    std::wstring folder_;
    std::wstring name_;
    std::wstring base_;
};

}  // namespace quarn

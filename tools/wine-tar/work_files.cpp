#include "tools/wine-tar/work_files.h"

#include <windows.h>

#include "tools/common/utf8.h"

namespace quarn {

WorkFiles::~WorkFiles() {
    if (base_.empty()) return;
    for (const std::wstring& path : {Output(), Error(), ExitPart(), Exit(), Pid(), Script()}) {
        ::DeleteFileW(path.c_str());
    }
}

bool WorkFiles::Create() {
    wchar_t folder[MAX_PATH + 1];
    DWORD length = ::GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH) return false;
    wchar_t base[MAX_PATH];
    // Creates the file, so the name stays ours; the other files only add a
    // suffix to it, which no other claimed name can have.
    if (::GetTempFileNameW(folder, L"qtr", 0, base) == 0) return false;
    folder_ = folder;
    base_ = base;
    name_ = base_.substr(base_.find_last_of(L'\\') + 1);
    return true;
}

ScriptFiles WorkFiles::ForScript() const {
    std::string name = Utf8FromWide(name_);
    ScriptFiles files;
    files.output = name + ".out";
    files.error = name + ".err";
    files.exitPart = name + ".exit.part";
    files.exit = name + ".exit";
    files.pid = name + ".pid";
    return files;
}

}  // namespace quarn

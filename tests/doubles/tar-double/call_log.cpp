#include "tests/doubles/tar-double/call_log.h"

#include <windows.h>

#include "plugin/unique_handles.h"
#include "tools/common/utf8.h"

namespace quarn {

bool AppendToCallLog(const std::wstring& logPath, const std::wstring& commandLine) {
    UniqueFile log(::CreateFileW(logPath.c_str(), FILE_APPEND_DATA,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!log) return false;
    std::string line = Utf8FromWide(commandLine) + "\n";
    DWORD written = 0;
    return ::WriteFile(log.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
           written == line.size();
}

}  // namespace quarn

#include "tests/support/built_files.h"

#include <windows.h>

#include "tests/support/temp_folder.h"

namespace quarn::test {

std::wstring WindowsPathOfBuiltFile(const std::string& unixPath) {
    std::wstring path = !unixPath.empty() && unixPath[0] == '/' ? L"Z:" : L"";
    for (wchar_t unit : FromUtf8(unixPath)) path += unit == L'/' ? L'\\' : unit;
    return path;
}

std::wstring SettingsFileBesideThisProgram() {
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring program(path, length);
    return program.substr(0, program.rfind(L'.')) + L".ini";
}

std::wstring WriteSettingsBesideThisProgram(const std::wstring& toolFolder) {
    const std::wstring settings = SettingsFileBesideThisProgram();
    WriteFileBytes(settings, "[UserSetting]\r\ndir=" + Utf8(toolFolder) + "\r\n");
    return settings;
}

}  // namespace quarn::test

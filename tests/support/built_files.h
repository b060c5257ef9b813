// The files a test program works with, by the Windows paths it opens them
// by under Wine: what the build made, and the settings file beside itself.
#pragma once

#include <string>

namespace quarn::test {

// The build names its outputs by Unix paths; Wine shows the Unix root as Z:.
std::wstring WindowsPathOfBuiltFile(const std::string& unixPath);

// The settings file exports linked into this program read: the program's
// own path with ".ini" in place of ".exe".
std::wstring SettingsFileBesideThisProgram();

// Writes that settings file naming `toolFolder` as the tool's folder, and
// returns its path.
std::wstring WriteSettingsBesideThisProgram(const std::wstring& toolFolder);

}  // namespace quarn::test

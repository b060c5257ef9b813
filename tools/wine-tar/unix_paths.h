// Paths between Windows and Unix form, through the conversions Wine's
// kernel32 exports. They are looked up at run time: on Windows they do not
// exist and the program says so.
#pragma once

#include <string>

namespace quarn {

// True when this process runs under Wine and both conversions are there.
bool CanConvertUnixPaths();

// The Unix bytes naming `windowsPath`; a relative path is taken from the
// current folder. False when Wine cannot map it.
bool UnixPathFromWindows(const std::wstring& windowsPath, std::string& unixPath);

// The Windows form of an absolute Unix path, e.g. "/bin/sh" as "Z:\bin\sh".
bool WindowsPathFromUnix(const std::string& unixPath, std::wstring& windowsPath);

}  // namespace quarn

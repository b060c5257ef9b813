// quarn.ini beside the library, section "UserSetting": read afresh at every
// use, never written; a missing file or key gives the default silently.
#pragma once

#include <windows.h>

#include <cstdint>

#include "plugin/text_conversion.h"

namespace quarn {

// The library's own module, recorded at every loader notification; zero
// until the first (then the settings file is named after the host's exe).
extern HINSTANCE moduleHandle;

// The library's path with its extension replaced by ".ini". False when that
// path does not fit; readers then use their defaults.
bool SettingsFilePath(wchar_t (&path)[kPathUnits]);

// "dir" joined with "tar.exe". False (and an empty path) when the folder or
// the joined path does not fit: a cut path would name another program.
bool ReadToolPath(wchar_t (&toolPath)[kPathUnits]);
bool ReadToolPath(const wchar_t* settingsFile, wchar_t (&toolPath)[kPathUnits]);

// "maxMB" in bytes. Values above 2047 act as 2047 and negative ones as 0, so
// the shift never wraps into a limit nobody wrote.
int32_t ReadSizeLimit();
int32_t ReadSizeLimit(const wchar_t* settingsFile);

// "ext" with every "," turned into ";".
void ReadExtensionFilter(wchar_t (&filter)[kPathUnits]);
void ReadExtensionFilter(const wchar_t* settingsFile, wchar_t (&filter)[kPathUnits]);

}  // namespace quarn

// One hidden run of the archive tool with its output in a capture file.
#pragma once

#include <windows.h>

#include <string>

namespace quarn {

enum class ErrorStream { Discarded, IntoCapture };

// Starts `commandLine` hidden, with no console window, no standard input and
// `capture` (an inheritable handle, or null) as standard output, and waits
// for it to end without a time limit. False when the tool could not be
// started. Listings go by what the tool wrote, whatever its exit code (a cut
// archive still lists what can be read); `exitCode`, when given, receives it
// for the extraction, where it tells a whole entry from one padded out.
bool RunTool(const std::wstring& commandLine, HANDLE capture, ErrorStream errors, DWORD* exitCode = nullptr);

}  // namespace quarn

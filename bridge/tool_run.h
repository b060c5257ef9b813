// One hidden run of the archive tool with its output in a capture file.
#pragma once

#include <windows.h>

#include <string>

namespace quarn {

enum class ErrorStream { Discarded, IntoCapture };

// Starts `commandLine` hidden, with no console window, no standard input and
// `capture` (an inheritable handle, or null) as standard output, and waits
// for it to end without a time limit. The exit code is not read: only what
// the tool wrote counts. False when the tool could not be started.
bool RunTool(const std::wstring& commandLine, HANDLE capture, ErrorStream errors);

}  // namespace quarn

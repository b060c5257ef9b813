// The program's output: UTF-8 bytes on standard output and standard error,
// whatever the console's or the C runtime's code page.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace quarn::spihost {

// Writes `utf8` to standard output; false when it could not be written.
bool WriteOutput(std::string_view utf8);

// True once any write to standard output has failed, so that a cut-off
// listing never ends with a successful exit status.
bool OutputFailed();

// Writes "spihost: <message>" and a line break to standard error.
void ReportError(std::string_view message);

// "error 5: Access is denied." for a Windows error code.
std::string DescribeWindowsError(DWORD code);

}  // namespace quarn::spihost

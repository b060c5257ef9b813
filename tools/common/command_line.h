// A Windows command line split into arguments the way the Microsoft C runtime
// splits it for main's argv, which is how the real tool reads what the
// plug-in sends it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quarn {

// The program name comes first: it ends at the first blank outside quotes and
// takes no backslash escapes. Every later argument follows the runtime's
// rules: 2N backslashes and a quote give N backslashes and open or close a
// quoted part, 2N+1 give N and a literal quote, a doubled quote inside a
// quoted part is one literal quote, and other backslashes stay as they are.
std::vector<std::wstring> SplitCommandLine(std::wstring_view commandLine);

// As above, but when the line starts with `programPath` unquoted (case
// ignored) and then a blank or its end, that whole path is the program name.
// CreateProcessW finds an unquoted path holding spaces by trying each blank
// in turn, while the runtime would cut it at the first blank and take the
// rest of the path for arguments.
std::vector<std::wstring> SplitCommandLine(std::wstring_view commandLine,
                                           std::wstring_view programPath);

}  // namespace quarn

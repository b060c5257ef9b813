// Where the running program's own file is.
#pragma once

#include <string>

namespace quarn {

// The full path of the running executable; empty when it cannot be had.
std::wstring ProgramPath();

// The folder holding it, with no trailing backslash.
std::wstring ProgramFolder();

}  // namespace quarn

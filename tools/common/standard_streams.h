// Writing to the standard handles a parent handed over. The plug-in gives a
// null standard error for listings, and a program may be started with no
// standard handles at all: such a stream is dropped, never an error.
#pragma once

#include <windows.h>

#include <string_view>

namespace quarn {

// `which` is STD_OUTPUT_HANDLE or STD_ERROR_HANDLE. Returns false only when a
// present handle refused the bytes.
bool WriteToStandard(DWORD which, std::string_view bytes);

}  // namespace quarn

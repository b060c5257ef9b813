// Small files read and written in one piece: scenarios, captured streams,
// the exit marker.
#pragma once

#include <string>

namespace quarn {

// False when the file cannot be opened or read; `bytes` then holds nothing.
bool ReadWholeFile(const std::wstring& path, std::string& bytes);

// Creates or truncates the file. False when any byte could not be written.
bool WriteWholeFile(const std::wstring& path, const std::string& bytes);

}  // namespace quarn

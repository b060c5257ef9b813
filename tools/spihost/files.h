// The few file operations the commands need, each failing with the Windows
// error code.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace quarn::spihost {

// Creates `folder` and any missing parents; an existing folder is fine.
bool CreateFolders(const std::wstring& folder, DWORD& error);

// Replaces `path` with exactly `size` bytes from `data`.
bool WriteWholeFile(const std::wstring& path, const void* data, size_t size, DWORD& error);

bool GetSizeOfFile(const std::wstring& path, uint64_t& size, DWORD& error);

// `folder` and `name` joined by one backslash.
std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);

}  // namespace quarn::spihost

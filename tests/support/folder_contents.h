// What a folder holds, for tests that check what was written or left behind.
#pragma once

#include <string>
#include <vector>

namespace quarn::test {

// The names in a folder, "." and ".." left out; empty when it is missing.
std::vector<std::wstring> NamesIn(const std::wstring& folder);

// The files anywhere below a folder, by their paths relative to it; folders
// themselves are left out, so an emptied tree of folders holds none.
std::vector<std::wstring> FilesBelow(const std::wstring& folder);

}  // namespace quarn::test

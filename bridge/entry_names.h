// Entry names come from the archive, which may be hostile: these checks keep
// every path formed from one inside the folder it is meant for.
#pragma once

#include <string>
#include <string_view>

namespace quarn {

// True when the name line stays inside the folder it is extracted into: no
// ".." component (separated by "/" or "\"), no leading separator, no ":"
// (a drive letter, or an NTFS alternate stream), and not empty.
bool IsContainedNameLine(std::wstring_view nameLine);

// Where the tool writes a name line below its folder: "/" becomes "\", and
// the characters Windows forbids in file names ("*", "?", "\"", "<", ">",
// "|") become "_", as the tool replaces them when it writes to disk.
std::wstring RelativePathFromNameLine(std::wstring_view nameLine);

// True when `filename` can be created directly in the host's folder: not
// empty, not "." or "..", and holding no "\", "/" or ":".
bool IsPlainFileName(std::wstring_view filename);

}  // namespace quarn

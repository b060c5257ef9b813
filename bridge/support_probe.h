// Whether the tool recognises a file as an archive.
#pragma once

#include <string_view>

namespace quarn {

// True unless the tool's verbose listing of the file holds its
// unrecognised-format complaint on a line of its own. False without asking
// the tool for a null path, a path that names no file (or a folder), or a
// tool folder without the tool.
bool ProbeArchive(const wchar_t* archivePath);

// The complaint, as the tool prints it on standard error, with its own name
// in front ("tar.exe: " on Windows, "tar: " from other builds), compared
// without regard to case; `line` must have ended with a line feed.
bool IsUnrecognisedFormatLine(std::wstring_view line, bool endedByLineFeed);

}  // namespace quarn

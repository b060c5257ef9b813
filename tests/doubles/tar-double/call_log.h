// log.txt beside the double: one line per run, so that tests can see what
// the plug-in asked for, and how often.
#pragma once

#include <string>

namespace quarn {

// Appends `commandLine` in UTF-8 and a line feed in a single write to an
// append-only handle: runs from several processes at once never mix within a
// line. False when the log cannot be written.
bool AppendToCallLog(const std::wstring& logPath, const std::wstring& commandLine);

}  // namespace quarn

// The command lines given to the archive tool, built at their exact length
// (CreateProcessW takes up to 32767 units), so long paths and names are never
// cut.
#pragma once

#include <string>
#include <string_view>

namespace quarn {

// "%s tf \"%s\"": the tool path stands unquoted.
std::wstring NameListCommand(std::wstring_view toolPath, std::wstring_view archivePath);
// "%s tvf \"%s\"".
std::wstring VerboseListCommand(std::wstring_view toolPath, std::wstring_view archivePath);
// "\"%s\" xf \"%s\" -C\"%s\" \"%s\"" with the member as a pattern.
std::wstring ExtractCommand(std::wstring_view toolPath, std::wstring_view archivePath,
                            std::wstring_view workDirectory, std::wstring_view nameLine);

// The tool takes each member name as a wildcard pattern, so "[", "]", "*" and
// "?" get a backslash before them; the listing's own "\\" (a literal
// backslash) already is the escaped form and stays.
std::wstring MemberPatternFromNameLine(std::wstring_view nameLine);

}  // namespace quarn

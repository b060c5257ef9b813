// Extraction played back from the scenario's A.xf folder.
#pragma once

#include <string>

namespace quarn {

// The member name a pattern stands for: the plug-in escapes the pattern
// characters with a backslash, and the tool lists a literal backslash as
// two, so a backslash always gives the character after it.
std::wstring UnescapeMember(const std::wstring& pattern);

// Copies `sourceFolder`\member to `targetFolder`\member (member with "/" as
// "\"), making the folders on the way and keeping the source's attributes.
// False when the source has no such member or the copy fails.
bool ExtractMember(const std::wstring& sourceFolder, const std::wstring& targetFolder,
                   const std::wstring& pattern);

}  // namespace quarn

// Text between UTF-16 and the process's ANSI code page, the form the narrow
// exports take and give.
#pragma once

#include <string>
#include <string_view>

namespace quarn::spihost {

// UTF-16 of narrow plug-in text in the ANSI code page.
std::wstring WideFromAnsi(std::string_view text);

// The ANSI form of `text`; false when a character has no exact form in the
// code page, since a path with a stand-in character names another file.
bool AnsiFromWide(std::wstring_view text, std::string& out);

}  // namespace quarn::spihost

// UTF-8, the form of text on the Unix side and in the test double's log.
#pragma once

#include <string>
#include <string_view>

namespace quarn {

// Unpaired surrogates become U+FFFD.
std::string Utf8FromWide(std::wstring_view text);

// Invalid sequences become U+FFFD.
std::wstring WideFromUtf8(std::string_view text);

}  // namespace quarn

// Text as spihost shows it: UTF-16 from the plug-in, UTF-8 on the way out.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quarn::spihost {

// Appends the UTF-8 form of one code point.
void AppendUtf8(std::string& out, char32_t codePoint);

// UTF-8 of `text`; a surrogate without its partner becomes U+FFFD, since a
// record may hold any units at all.
std::string Utf8FromWide(std::wstring_view text);

// Columns a terminal gives `text`: East Asian wide and fullwidth characters
// take two, so that table columns after a Japanese name still line up.
size_t DisplayWidth(std::wstring_view text);

// `text` with each control character shown as \xNN, so that a name holding
// a line break or an escape sequence cannot break a table or the terminal.
std::wstring EscapeControls(std::wstring_view text);

// The text of a fixed record field: up to its first terminator, or the whole
// field when the plug-in left it unterminated.
std::wstring_view FieldText(const wchar_t* field, size_t units);
std::string_view FieldText(const char* field, size_t bytes);

// The method field of a record as text. It holds ASCII by custom, but a
// wide plug-in may store UTF-16 there ("T\0A\0R\0"), which reads as such;
// bytes outside printable ASCII show as \xNN.
std::wstring DescribeMethod(const unsigned char (&method)[8]);

// True when `name` can stand after "<position>_" as the last component of a
// path in the output folder: no separators, no drive or stream colon, none of
// the characters Windows refuses in names, no trailing dot or space (Windows
// would drop them and name another file), no "." or "..".
bool IsPlainFileName(std::wstring_view name);

}  // namespace quarn::spihost

// Text between the host's narrow form (the calling thread's ANSI code page)
// and the UTF-16 used inside, and bounded copies into fixed fields.
#pragma once

#include <windows.h>

#include <cstddef>

namespace quarn {

// Paths from the host and inner paths hold 259 units and a terminator.
constexpr int kPathUnits = MAX_PATH;

// Converts narrow host text with its terminator into `out` (`outUnits` units).
// Refuses (false, `out` emptied) a null text or one whose wide form does not
// fit: a cut path would name another file.
bool WideFromNarrow(const char* text, wchar_t* out, int outUnits);

// Converts wide text into at most `outBytes` - 1 bytes and a terminator,
// cutting on a character boundary when the whole does not fit; characters the
// code page lacks become its default character. Returns how many wide units
// of `text` made it into `out`.
int NarrowFromWide(const wchar_t* text, char* out, int outBytes);

// Copies at most `outUnits` - 1 units of `text` and a terminator, never
// splitting a surrogate pair. Returns how many units were copied.
size_t CopyWideBounded(const wchar_t* text, size_t textUnits, wchar_t* out, size_t outUnits);

// True when `text` (not null) fits `outUnits` units with its terminator.
bool FitsUnits(const wchar_t* text, size_t outUnits);

}  // namespace quarn

// Turns the tool's two listings (names, and verbose lines) into a wide
// listing block. Pure logic over lines: the capture files, the size limit and
// the archive's time come from the caller.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "plugin/records.h"

namespace quarn {

// The k-th name line paired with the k-th verbose line, each without its
// line end. Name lines lead: a missing verbose line reads as empty.
class LinePairSource {
public:
    virtual ~LinePairSource() = default;
    // False once the name listing has no line left.
    virtual bool ReadLinePair(std::wstring& nameLine, std::wstring& verboseLine) = 0;
};

// The size column of a verbose line: the token before the three date tokens,
// counted from the right after the name. 0 when the line does not end with a
// space and the name, has too few columns, or the column is not a number;
// sizes above 2147483647 read as 2147483647.
int32_t EntrySizeFromVerboseLine(std::wstring_view verboseLine, std::wstring_view nameLine);

// Folders and empty files (0) and entries above the limit are left out.
bool IsAdmittedSize(int32_t size, int32_t sizeLimit);

// Seconds since 1970 as the record's signed 32-bit field holds them
// (truncated toward zero, low 32 bits kept).
int32_t UnixTimeFromFileTime(FILETIME lastWrite);

// The entry's name after its last "/" (only "/" separates folders).
std::wstring_view BareNameOf(std::wstring_view nameLine);

// First pass: how many entries the listing will hold.
uint32_t CountAdmittedEntries(LinePairSource& lines, int32_t sizeLimit);

// Second pass over the same lines: fills one record per admitted entry, never
// more than `recordCapacity`, into a zeroed block with room for that many and
// the terminating record. Returns the number of records filled.
uint32_t FillListing(LinePairSource& lines, int32_t sizeLimit, FILETIME lastWrite,
                     fileInfoW* block, uint32_t recordCapacity);

}  // namespace quarn

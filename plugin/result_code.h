// Result codes and flag-word bits of the plug-in interface.
#pragma once

#include <cstdint>

namespace quarn {

enum ResultCode : int32_t {
    Success = 0,
    NotImplemented = -1,     // input other than a file, or entry not in a fresh listing
    UnsupportedFormat = 2,   // not an archive, or entry not in a stored listing
    OutOfMemory = 4,
    ReadError = 6,
    WriteError = 9,
};

// Bits 0 to 2 of the flag word: the input kind; only 0 (a file by path) is served.
constexpr uint32_t InputKindMask = 0x7;
// Bit 8: GetFile delivers into a memory block instead of a file.
constexpr uint32_t OutputToMemory = 0x100;

inline bool AsksForFileInput(uint32_t flag) { return (flag & InputKindMask) == 0; }

}  // namespace quarn

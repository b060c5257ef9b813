// Listing blocks as the host reads them, and the entries they describe.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quarn::spihost {

// The host keeps its own copy of the record layouts rather than the
// plug-in's, so that a layout fault on either side shows up in a listing
// instead of being shared.
#pragma pack(push, 1)
struct fileInfoW {
    unsigned char method[8];
    uint32_t position;
    uint32_t compsize;
    uint32_t filesize;
    int32_t timestamp;
    wchar_t path[200];
    wchar_t filename[200];
    uint32_t crc;
};

struct fileInfo {
    unsigned char method[8];
    uint32_t position;
    uint32_t compsize;
    uint32_t filesize;
    int32_t timestamp;
    char path[200];
    char filename[200];
    uint32_t crc;
};
#pragma pack(pop)

static_assert(sizeof(fileInfoW) == 828, "wide record as the host reads it");
static_assert(sizeof(fileInfo) == 428, "narrow record as the host reads it");

// One record, its text in UTF-16 whichever export gave it.
struct Entry {
    std::wstring method;
    uint32_t position = 0;
    uint32_t compsize = 0;
    uint32_t filesize = 0;
    int32_t timestamp = 0;
    std::wstring path;
    std::wstring filename;
    uint32_t crc = 0;
};

struct Listing {
    std::vector<Entry> entries;
    // False when the block ends before a record with a zero first byte, or
    // ends inside a record.
    bool terminated = false;
};

// Reads the records of a listing block of `blockBytes` bytes, never past
// its end. Narrow text is read in the process's ANSI code page.
Listing ReadWideListing(const void* block, size_t blockBytes);
Listing ReadNarrowListing(const void* block, size_t blockBytes);

}  // namespace quarn::spihost

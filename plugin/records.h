// Entry records and listing blocks exchanged with the host, byte for byte as
// the host reads them (packed, little-endian, no gaps).
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace quarn {

// Units of the text fields, terminator included.
constexpr int kRecordTextUnits = 200;

#pragma pack(push, 1)
struct fileInfoW {
    unsigned char method[8];  // UTF-16 "TAR" and its terminator
    uint32_t position;
    uint32_t compsize;
    uint32_t filesize;
    int32_t timestamp;
    wchar_t path[kRecordTextUnits];      // always empty
    wchar_t filename[kRecordTextUnits];  // last name component, at most 199 units
    uint32_t crc;
};

struct fileInfo {
    unsigned char method[8];  // "T" and seven zero bytes
    uint32_t position;
    uint32_t compsize;
    uint32_t filesize;
    int32_t timestamp;
    char path[kRecordTextUnits];
    char filename[kRecordTextUnits];  // at most 199 bytes of the thread's code page
    uint32_t crc;
};
#pragma pack(pop)

static_assert(sizeof(wchar_t) == 2, "records hold UTF-16");
static_assert(sizeof(fileInfoW) == 828, "wide record size");
static_assert(offsetof(fileInfoW, method) == 0, "wide method");
static_assert(offsetof(fileInfoW, position) == 8, "wide position");
static_assert(offsetof(fileInfoW, compsize) == 12, "wide compsize");
static_assert(offsetof(fileInfoW, filesize) == 16, "wide filesize");
static_assert(offsetof(fileInfoW, timestamp) == 20, "wide timestamp");
static_assert(offsetof(fileInfoW, path) == 24, "wide path");
static_assert(offsetof(fileInfoW, filename) == 424, "wide filename");
static_assert(offsetof(fileInfoW, crc) == 824, "wide crc");

static_assert(sizeof(fileInfo) == 428, "narrow record size");
static_assert(offsetof(fileInfo, method) == 0, "narrow method");
static_assert(offsetof(fileInfo, position) == 8, "narrow position");
static_assert(offsetof(fileInfo, compsize) == 12, "narrow compsize");
static_assert(offsetof(fileInfo, filesize) == 16, "narrow filesize");
static_assert(offsetof(fileInfo, timestamp) == 20, "narrow timestamp");
static_assert(offsetof(fileInfo, path) == 24, "narrow path");
static_assert(offsetof(fileInfo, filename) == 224, "narrow filename");
static_assert(offsetof(fileInfo, crc) == 424, "narrow crc");

// The record that ends a listing block is the first whose first byte is zero.
inline bool IsTerminatingRecord(const fileInfoW& record) { return record.method[0] == 0; }

// Number of records in a listing block before its terminating record, never
// reading past `blockBytes`.
size_t CountListingRecords(const fileInfoW* listing, size_t blockBytes);

// Fills a narrow record from a wide one; text goes through the calling
// thread's ANSI code page and is cut on a character boundary where its narrow
// form would not fit the 199 bytes of a field.
void NarrowRecordFromWide(const fileInfoW& wide, fileInfo& narrow);

}  // namespace quarn

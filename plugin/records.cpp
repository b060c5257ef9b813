#include "plugin/records.h"

#include <cstring>

#include "plugin/text_conversion.h"

namespace quarn {
namespace {

// A record's text field need not be terminated (a host may fill it), so it is
// bounded to its 199 units before conversion.
void NarrowFieldFromWide(const wchar_t (&field)[kRecordTextUnits], char (&out)[kRecordTextUnits]) {
    size_t units = 0;
    while (units < kRecordTextUnits && field[units] != L'\0') ++units;
    wchar_t text[kRecordTextUnits];
    CopyWideBounded(field, units, text, kRecordTextUnits);
    NarrowFromWide(text, out, kRecordTextUnits);
}

}  // namespace

size_t CountListingRecords(const fileInfoW* listing, size_t blockBytes) {
    size_t capacity = blockBytes / sizeof(fileInfoW);
    size_t count = 0;
    while (count < capacity && !IsTerminatingRecord(listing[count])) ++count;
    return count;
}

void NarrowRecordFromWide(const fileInfoW& wide, fileInfo& narrow) {
    std::memset(&narrow, 0, sizeof narrow);
    for (size_t i = 0; i < sizeof narrow.method && wide.method[i] != 0; ++i) {
        narrow.method[i] = wide.method[i];
    }
    narrow.position = wide.position;
    narrow.compsize = wide.compsize;
    narrow.filesize = wide.filesize;
    narrow.timestamp = wide.timestamp;
    NarrowFieldFromWide(wide.path, narrow.path);
    NarrowFieldFromWide(wide.filename, narrow.filename);
}

}  // namespace quarn

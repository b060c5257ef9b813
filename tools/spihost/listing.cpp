#include "tools/spihost/listing.h"

#include <cstring>

#include "tools/spihost/code_page.h"
#include "tools/spihost/text.h"

namespace quarn::spihost {
namespace {

std::wstring RecordText(const wchar_t (&field)[200]) {
    return std::wstring(FieldText(field, 200));
}

std::wstring RecordText(const char (&field)[200]) {
    return WideFromAnsi(FieldText(field, 200));
}

template <typename Record>
Listing ReadListing(const void* block, size_t blockBytes) {
    Listing listing;
    const unsigned char* bytes = static_cast<const unsigned char*>(block);
    for (size_t offset = 0; offset < blockBytes; offset += sizeof(Record)) {
        if (bytes[offset] == 0) {
            listing.terminated = true;
            break;
        }
        if (blockBytes - offset < sizeof(Record)) break;
        // The block need not be aligned for the record's fields.
        Record record;
        std::memcpy(&record, bytes + offset, sizeof record);
        Entry entry;
        entry.method = DescribeMethod(record.method);
        entry.position = record.position;
        entry.compsize = record.compsize;
        entry.filesize = record.filesize;
        entry.timestamp = record.timestamp;
        entry.path = RecordText(record.path);
        entry.filename = RecordText(record.filename);
        entry.crc = record.crc;
        listing.entries.push_back(std::move(entry));
    }
    return listing;
}

}  // namespace

Listing ReadWideListing(const void* block, size_t blockBytes) {
    return ReadListing<fileInfoW>(block, blockBytes);
}

Listing ReadNarrowListing(const void* block, size_t blockBytes) {
    return ReadListing<fileInfo>(block, blockBytes);
}

}  // namespace quarn::spihost

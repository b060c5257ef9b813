#include "plugin/query_archive.h"

#include "bridge/build_listing.h"
#include "bridge/support_probe.h"
#include "cache/listing_cache.h"
#include "plugin/local_memory.h"
#include "plugin/text_conversion.h"
#include "plugin/unique_handles.h"

namespace quarn {
namespace {

constexpr DWORD kHeadBytes = 8;

// Shows that the file can be read at `offset` and holds eight bytes from
// there on; the bytes themselves are not examined.
ResultCode CheckHead(const wchar_t* archivePath, int32_t offset) {
    UniqueFile archive(::CreateFileW(archivePath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                     nullptr));
    if (!archive) return ReadError;
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    LARGE_INTEGER reached;
    if (!::SetFilePointerEx(archive.get(), distance, &reached, FILE_BEGIN) || reached.QuadPart != offset) {
        return ReadError;
    }
    unsigned char head[kHeadBytes];
    DWORD read = 0;
    if (!::ReadFile(archive.get(), head, kHeadBytes, &read, nullptr)) return ReadError;
    return read < kHeadBytes ? UnsupportedFormat : Success;
}

}  // namespace

ResultCode QueryArchive(const wchar_t* archivePath, int32_t offset, HLOCAL* wholeCopy, fileInfoW* query) {
    if (archivePath == nullptr || !FitsUnits(archivePath, kPathUnits)) return ReadError;
    ResultCode cached = listingCache.Lookup(archivePath, wholeCopy, query);
    if (cached != NotImplemented) return cached;

    ResultCode head = CheckHead(archivePath, offset);
    if (head != Success) return head;
    if (!ProbeArchive(archivePath)) return UnsupportedFormat;

    UniqueLocal listing;
    ResultCode built = BuildListing(archivePath, listing);
    if (built != Success) return built;

    // The new listing is read here, before the cache owns it; from then on
    // another thread may evict and release it.
    ResultCode outcome = Success;
    if (wholeCopy != nullptr) {
        *wholeCopy = CopyListing(listing.get());
        if (*wholeCopy == nullptr) outcome = OutOfMemory;
    } else if (query == nullptr || !FindListingRecord(listing.get(), *query)) {
        outcome = NotImplemented;
    }
    listingCache.Add(archivePath, listing.release());
    return outcome;
}

}  // namespace quarn

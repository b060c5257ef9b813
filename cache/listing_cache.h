// The listings of the sixteen most recently listed archives, by archive path,
// behind one lock. Callers only ever receive copies.
#pragma once

#include <windows.h>

#include <cstdint>

#include "cache/critical_section.h"
#include "plugin/records.h"
#include "plugin/result_code.h"
#include "plugin/text_conversion.h"

namespace quarn {

class ListingCache {
public:
    static constexpr int kSlotCount = 16;

    ListingCache() noexcept = default;
    ~ListingCache();
    ListingCache(const ListingCache&) = delete;
    ListingCache& operator=(const ListingCache&) = delete;

    // Takes ownership of `listing` and stores it under `archivePath`, evicting
    // the oldest listing once all slots are filled. A path that does not fit
    // a slot is not stored cut short (two such paths could then share a key):
    // its listing is released at once.
    void Add(const wchar_t* archivePath, HLOCAL listing) noexcept;

    // Releases every stored listing and restarts the ring at slot 0.
    void Clear() noexcept;

    // Whole-copy mode (`wholeCopy` not null): a new block with the stored
    // bytes; 4 (handle null) when it cannot be allocated. Record mode: the
    // first record whose filename equals the query's without regard to case,
    // or, for an empty query filename, whose position equals the query's, is
    // copied over `query`; 2 when none matches. -1 when the path is not
    // stored, with nothing written.
    ResultCode Lookup(const wchar_t* archivePath, HLOCAL* wholeCopy, fileInfoW* query) noexcept;

private:
    struct CacheSlot {
        HLOCAL listing = nullptr;
        wchar_t archivePath[kPathUnits] = {};
    };

    CriticalSection lock_;
    CacheSlot slots_[kSlotCount];
    int32_t nextSlot_ = 0;
};

// Copies the whole of `listing` into a new LMEM_FIXED block for a new owner;
// null when the allocation fails.
HLOCAL CopyListing(HLOCAL listing);

// Finds the record a query names (by filename, or by position when the
// filename is empty) and copies it over `query`. False when none matches.
bool FindListingRecord(HLOCAL listing, fileInfoW& query);

// The one cache of the module, built before the first export call and torn
// down at unload.
extern ListingCache listingCache;

}  // namespace quarn

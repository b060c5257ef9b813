#include "cache/listing_cache.h"

#include <cstring>

#include "plugin/local_memory.h"

namespace quarn {

ListingCache listingCache;

HLOCAL CopyListing(HLOCAL listing) {
    SIZE_T bytes = ::LocalSize(listing);
    HLOCAL copy = AllocateLocal(LMEM_FIXED, bytes);
    if (copy != nullptr) std::memcpy(copy, listing, bytes);
    return copy;
}

bool FindListingRecord(HLOCAL listing, fileInfoW& query) {
    const auto* records = static_cast<const fileInfoW*>(listing);
    const size_t count = CountListingRecords(records, ::LocalSize(listing));
    const bool byName = query.filename[0] != L'\0';
    for (size_t i = 0; i < count; ++i) {
        const fileInfoW& record = records[i];
        bool match = byName ? ::lstrcmpiW(record.filename, query.filename) == 0
                            : record.position == query.position;
        if (match) {
            std::memcpy(&query, &record, sizeof query);
            return true;
        }
    }
    return false;
}

ListingCache::~ListingCache() {
    // Teardown at unload: no caller can reach the cache any more.
    for (CacheSlot& slot : slots_) FreeLocal(slot.listing);
}

void ListingCache::Add(const wchar_t* archivePath, HLOCAL listing) noexcept {
    if (listing == nullptr) return;
    if (archivePath == nullptr || !FitsUnits(archivePath, kPathUnits)) {
        FreeLocal(listing);
        return;
    }
    CriticalSectionGuard guard(lock_);
    CacheSlot& slot = slots_[nextSlot_];
    FreeLocal(slot.listing);
    slot.listing = listing;
    ::lstrcpyW(slot.archivePath, archivePath);
    nextSlot_ = (nextSlot_ + 1) % kSlotCount;
}

void ListingCache::Clear() noexcept {
    CriticalSectionGuard guard(lock_);
    for (CacheSlot& slot : slots_) {
        FreeLocal(slot.listing);
        slot.listing = nullptr;
    }
    nextSlot_ = 0;
}

ResultCode ListingCache::Lookup(const wchar_t* archivePath, HLOCAL* wholeCopy,
                                fileInfoW* query) noexcept {
    if (archivePath == nullptr) return NotImplemented;
    CriticalSectionGuard guard(lock_);
    int32_t index = nextSlot_;
    for (int visited = 0; visited < kSlotCount; ++visited) {
        index = (index + kSlotCount - 1) % kSlotCount;
        const CacheSlot& slot = slots_[index];
        if (slot.listing == nullptr) break;  // the run of filled slots ends here
        if (::lstrcmpiW(slot.archivePath, archivePath) != 0) continue;
        if (wholeCopy != nullptr) {
            *wholeCopy = CopyListing(slot.listing);
            return *wholeCopy != nullptr ? Success : OutOfMemory;
        }
        if (query == nullptr) return UnsupportedFormat;
        return FindListingRecord(slot.listing, *query) ? Success : UnsupportedFormat;
    }
    return NotImplemented;
}

}  // namespace quarn

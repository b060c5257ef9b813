// The listing of an archive, and the record of one entry by name.
#include <cstring>

#include "cache/listing_cache.h"
#include "plugin/exports.h"
#include "plugin/local_memory.h"
#include "plugin/query_archive.h"
#include "plugin/text_conversion.h"

namespace quarn {
namespace {

// The narrow listing that replaces a wide copy in the host's variable.
ResultCode NarrowListingFromWide(HLOCAL& listing) {
    UniqueLocal wide(listing);
    listing = nullptr;
    const auto* records = static_cast<const fileInfoW*>(wide.get());
    const size_t count = CountListingRecords(records, ::LocalSize(wide.get()));
    UniqueLocal narrow(AllocateLocal(LMEM_FIXED, (count + 1) * sizeof(fileInfo)));
    if (!narrow) return OutOfMemory;
    auto* out = static_cast<fileInfo*>(narrow.get());
    for (size_t i = 0; i < count; ++i) NarrowRecordFromWide(records[i], out[i]);
    std::memset(&out[count], 0, sizeof out[count]);
    listing = narrow.release();
    return Success;
}

// Copies an entry name into a query record; a name of 200 units or more can
// equal no record's filename and does not fit the field.
bool SetQueryName(fileInfoW& query, const wchar_t* name) {
    if (name == nullptr || !FitsUnits(name, kRecordTextUnits)) return false;
    ::lstrcpyW(query.filename, name);
    return true;
}

}  // namespace
}  // namespace quarn

using namespace quarn;

int WINAPI GetArchiveInfoW(LPCWSTR buf, LONG_PTR len, unsigned int flag, HLOCAL* lphInf) noexcept {
    if (!AsksForFileInput(flag)) return NotImplemented;
    if (lphInf == nullptr) return NotImplemented;
    return Guarded(OutOfMemory, [&] {
        listingCache.Clear();
        *lphInf = nullptr;
        return static_cast<int>(QueryArchive(buf, static_cast<int32_t>(len), lphInf, nullptr));
    });
}

int WINAPI GetArchiveInfo(LPCSTR buf, LONG_PTR len, unsigned int flag, HLOCAL* lphInf) noexcept {
    if (!AsksForFileInput(flag)) return NotImplemented;
    if (lphInf == nullptr) return NotImplemented;
    return Guarded(OutOfMemory, [&] {
        listingCache.Clear();
        *lphInf = nullptr;
        wchar_t path[kPathUnits];
        if (!WideFromNarrow(buf, path, kPathUnits)) return static_cast<int>(ReadError);
        ResultCode result = QueryArchive(path, static_cast<int32_t>(len), lphInf, nullptr);
        if (result != Success) return static_cast<int>(result);
        return static_cast<int>(NarrowListingFromWide(*lphInf));
    });
}

int WINAPI GetFileInfoW(LPCWSTR buf, LONG_PTR len, LPCWSTR filename, unsigned int flag,
                        fileInfoW* lpInfo) noexcept {
    if (!AsksForFileInput(flag)) return NotImplemented;
    if (lpInfo == nullptr) return NotImplemented;
    return Guarded(OutOfMemory, [&] {
        listingCache.Clear();
        if (!SetQueryName(*lpInfo, filename)) return static_cast<int>(NotImplemented);
        return static_cast<int>(QueryArchive(buf, static_cast<int32_t>(len), nullptr, lpInfo));
    });
}

int WINAPI GetFileInfo(LPCSTR buf, LONG_PTR len, LPCSTR filename, unsigned int flag, fileInfo* lpInfo) noexcept {
    if (!AsksForFileInput(flag)) return NotImplemented;
    if (lpInfo == nullptr) return NotImplemented;
    return Guarded(OutOfMemory, [&] {
        wchar_t path[kPathUnits];
        wchar_t name[kPathUnits];
        bool converted = WideFromNarrow(buf, path, kPathUnits);
        converted = WideFromNarrow(filename, name, kPathUnits) && converted;
        listingCache.Clear();
        if (!converted) return static_cast<int>(path[0] == L'\0' ? ReadError : NotImplemented);
        fileInfoW query{};
        query.position = lpInfo->position;
        if (!SetQueryName(query, name)) return static_cast<int>(NotImplemented);
        ResultCode result = QueryArchive(path, static_cast<int32_t>(len), nullptr, &query);
        if (result == Success) NarrowRecordFromWide(query, *lpInfo);
        return static_cast<int>(result);
    });
}

#include "bridge/build_listing.h"

#include <cstdint>

#include "bridge/listing_captures.h"

namespace quarn {
namespace {

// The archive's own last-write time, which every record carries.
bool ReadLastWriteTime(const wchar_t* archivePath, FILETIME& lastWrite) {
    UniqueFile archive(::CreateFileW(archivePath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                     nullptr));
    return archive && ::GetFileTime(archive.get(), nullptr, nullptr, &lastWrite);
}

}  // namespace

ResultCode BuildListing(const wchar_t* archivePath, UniqueLocal& listing) {
    listing.reset();
    ListingRun run;
    ResultCode started = run.Start(archivePath);
    if (started != Success) return started;

    const uint32_t count = CountAdmittedEntries(run.captures(), run.sizeLimit());
    if (count >= SIZE_MAX / sizeof(fileInfoW)) return OutOfMemory;  // the size would wrap
    UniqueLocal block(AllocateLocal(LMEM_FIXED | LMEM_ZEROINIT, (static_cast<SIZE_T>(count) + 1) * sizeof(fileInfoW)));
    if (!block) return OutOfMemory;

    FILETIME lastWrite;
    if (!ReadLastWriteTime(archivePath, lastWrite)) return ReadError;
    if (!run.captures().Rewind()) return ReadError;
    FillListing(run.captures(), run.sizeLimit(), lastWrite, static_cast<fileInfoW*>(block.get()), count);
    listing = std::move(block);
    return Success;
}

}  // namespace quarn

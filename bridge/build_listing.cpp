#include "bridge/build_listing.h"

#include <cstdint>

#include "bridge/listing_captures.h"
#include "bridge/settings.h"
#include "bridge/tool_lock.h"
#include "bridge/work_directory.h"

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
    wchar_t toolPath[kPathUnits];
    if (!ReadToolPath(toolPath)) return ReadError;
    const int32_t sizeLimit = ReadSizeLimit();
    WorkPaths paths;
    if (!PrepareWorkPaths(paths)) return ReadError;

    ToolRunLock lock(paths.workDirectory);
    ListingCaptures captures(paths);
    if (!captures.Run(toolPath, archivePath)) return ReadError;

    const uint32_t count = CountAdmittedEntries(captures, sizeLimit);
    if (count >= SIZE_MAX / sizeof(fileInfoW)) return OutOfMemory;  // the size would wrap
    UniqueLocal block(AllocateLocal(LMEM_FIXED | LMEM_ZEROINIT, (static_cast<SIZE_T>(count) + 1) * sizeof(fileInfoW)));
    if (!block) return OutOfMemory;

    FILETIME lastWrite;
    if (!ReadLastWriteTime(archivePath, lastWrite)) return ReadError;
    if (!captures.Rewind()) return ReadError;
    FillListing(captures, sizeLimit, lastWrite, static_cast<fileInfoW*>(block.get()), count);
    listing = std::move(block);
    return Success;
}

}  // namespace quarn

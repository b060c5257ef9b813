// The listing block of an archive, made by two tool runs and the parser.
#pragma once

#include "plugin/local_memory.h"
#include "plugin/result_code.h"

namespace quarn {

// Success with the block in `listing`; OutOfMemory when the block cannot be
// allocated; ReadError when the tool cannot be run or its output read, or the
// archive's time cannot be read. The listing always covers the whole file.
ResultCode BuildListing(const wchar_t* archivePath, UniqueLocal& listing);

}  // namespace quarn

// The content of one archive entry, chosen by its position among the
// admitted entries, as a block of local memory.
#pragma once

#include <windows.h>

#include "plugin/records.h"
#include "plugin/result_code.h"

namespace quarn {

// Lists the archive afresh, counts admitted entries up to `record.position`,
// has the tool extract that one entry into the work folder, reads it into a
// new LMEM_FIXED block of the file's exact size and deletes the file. On
// Success `*destination` holds the block; on every other result it keeps its
// value:
//   NotImplemented  the fresh listing has no entry at that position
//   ReadError       the tool could not be run or its output read, the name
//                   would reach outside the work folder, something stood at
//                   the target path (a leftover file there is deleted), or
//                   the tool failed (its exit code is not 0) or produced no
//                   readable file
//   OutOfMemory     the block could not be allocated
ResultCode ExtractEntry(const wchar_t* archivePath, HLOCAL* destination, const fileInfoW& record);

}  // namespace quarn

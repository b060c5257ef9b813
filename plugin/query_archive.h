// The core shared by the listing, entry-record and retrieval exports.
#pragma once

#include <windows.h>

#include <cstdint>

#include "plugin/records.h"
#include "plugin/result_code.h"

namespace quarn {

// With `wholeCopy`: a copy of the archive's whole listing for the caller.
// Without: the record `query` names (by filename, or by position when that is
// empty) copied over it. Answers from the cache when the path is stored;
// otherwise checks that eight bytes can be read at `offset` (6 when the file
// cannot be opened or read, 2 when fewer are there), asks the tool whether it
// recognises the file (2 when not), builds the listing and stores it in the
// cache. An entry missing from a fresh listing answers -1, from a stored one 2.
ResultCode QueryArchive(const wchar_t* archivePath, int32_t offset, HLOCAL* wholeCopy, fileInfoW* query);

}  // namespace quarn

// The content of one entry, into a memory block or a new file in the host's
// folder.
#include "bridge/entry_names.h"
#include "bridge/extract_entry.h"
#include "bridge/work_directory.h"
#include "plugin/exports.h"
#include "plugin/local_memory.h"
#include "plugin/query_archive.h"
#include "plugin/text_conversion.h"

namespace quarn {
namespace {

// Writes the block into a new file; the record's size may exceed a block
// made from an archive that changed since it was listed, and no byte past the
// block is read. A file that cannot be written whole is removed again, so a
// failure is never reported as success.
ResultCode WriteNewFile(const wchar_t* path, HLOCAL block, uint32_t filesize) {
    UniqueFile file(::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return WriteError;
    SIZE_T blockBytes = ::LocalSize(block);
    DWORD bytes = static_cast<DWORD>(filesize < blockBytes ? filesize : blockBytes);
    DWORD written = 0;
    bool whole = bytes == 0 || (::WriteFile(file.get(), block, bytes, &written, nullptr) && written == bytes);
    file.reset();
    if (!whole) {
        ::DeleteFileW(path);
        return WriteError;
    }
    return Success;
}

// File output: `dest` joined with the bare filename. Names that would leave
// `dest` (they come from the archive) are refused before anything runs.
ResultCode DeliverToFolder(const wchar_t* src, const wchar_t* dest, const fileInfoW& record) {
    wchar_t path[kPathUnits];
    if (dest == nullptr || !IsPlainFileName(record.filename) || !JoinPath(dest, record.filename, path)) {
        return WriteError;
    }
    HLOCAL content = nullptr;
    ResultCode result = ExtractEntry(src, &content, record);
    if (result != Success) return result;
    UniqueLocal block(content);
    return WriteNewFile(path, block.get(), record.filesize);
}

ResultCode RetrieveEntry(const wchar_t* src, LONG_PTR len, void* dest, unsigned int flag) {
    fileInfoW record{};
    record.position = static_cast<uint32_t>(len);
    ResultCode found = QueryArchive(src, 0, nullptr, &record);
    if (found != Success) return found;
    if ((flag & OutputToMemory) == 0) return DeliverToFolder(src, static_cast<const wchar_t*>(dest), record);
    if (dest == nullptr) return NotImplemented;
    return ExtractEntry(src, static_cast<HLOCAL*>(dest), record);
}

}  // namespace
}  // namespace quarn

using namespace quarn;

int WINAPI GetFileW(LPCWSTR src, LONG_PTR len, LPWSTR dest, unsigned int flag, FARPROC, LONG_PTR) noexcept {
    if (!AsksForFileInput(flag)) return NotImplemented;
    return Guarded(OutOfMemory, [&] { return static_cast<int>(RetrieveEntry(src, len, dest, flag)); });
}

int WINAPI GetFile(LPCSTR src, LONG_PTR len, LPSTR dest, unsigned int flag, FARPROC, LONG_PTR) noexcept {
    if (!AsksForFileInput(flag)) return NotImplemented;
    return Guarded(OutOfMemory, [&] {
        wchar_t path[kPathUnits];
        if (!WideFromNarrow(src, path, kPathUnits)) return static_cast<int>(ReadError);
        if (flag & OutputToMemory) return static_cast<int>(RetrieveEntry(path, len, dest, flag));
        // For file output `dest` is a folder in the host's code page.
        wchar_t folder[kPathUnits];
        if (!WideFromNarrow(dest, folder, kPathUnits)) return static_cast<int>(WriteError);
        return static_cast<int>(RetrieveEntry(path, len, folder, flag));
    });
}

#include "bridge/extract_entry.h"

#include <string>

#include "bridge/capture_file.h"
#include "bridge/command_lines.h"
#include "bridge/entry_names.h"
#include "bridge/listing_captures.h"
#include "bridge/tool_run.h"
#include "bridge/work_directory.h"
#include "plugin/local_memory.h"

namespace quarn {
namespace {

// The name line of the admitted entry at `position`, numbered exactly as the
// listing numbers them.
bool FindNameLine(LinePairSource& lines, int32_t sizeLimit, uint32_t position, std::wstring& nameLine) {
    std::wstring verboseLine;
    uint32_t count = 0;
    while (lines.ReadLinePair(nameLine, verboseLine)) {
        if (!IsAdmittedSize(EntrySizeFromVerboseLine(verboseLine, nameLine), sizeLimit)) continue;
        if (count == position) return true;
        ++count;
    }
    return false;
}

bool SamePath(const wchar_t* a, const wchar_t* b) { return ::lstrcmpiW(a, b) == 0; }

// Reads the whole extracted file into a new block; the file is deleted
// whatever happens.
ResultCode ReadExtractedFile(const wchar_t* targetPath, UniqueLocal& block) {
    UniqueFile file(::CreateFileW(targetPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return ReadError;
    ResultCode result = ReadError;
    LARGE_INTEGER size;
    if (::GetFileSizeEx(file.get(), &size)) {
        if (size.QuadPart > INT32_MAX) {
            result = OutOfMemory;
        } else {
            const DWORD bytes = static_cast<DWORD>(size.QuadPart);
            block.reset(AllocateLocal(LMEM_FIXED, bytes));
            result = block ? Success : OutOfMemory;
            for (DWORD done = 0; result == Success && done < bytes;) {
                DWORD read = 0;
                if (!::ReadFile(file.get(), static_cast<char*>(block.get()) + done, bytes - done, &read, nullptr) ||
                    read == 0) {
                    result = ReadError;  // a short file is never delivered as if whole
                }
                done += read;
            }
            if (result != Success) block.reset();
        }
    }
    file.reset();
    DeleteWorkFile(targetPath);
    return result;
}

}  // namespace

ResultCode ExtractEntry(const wchar_t* archivePath, HLOCAL* destination, const fileInfoW& record) {
    if (destination == nullptr) return ReadError;
    ListingRun run;
    ResultCode started = run.Start(archivePath);
    if (started != Success) return started;
    std::wstring nameLine;
    if (!FindNameLine(run.captures(), run.sizeLimit(), record.position, nameLine)) return NotImplemented;
    run.captures().CloseReaders();

    const WorkPaths& paths = run.paths();
    wchar_t targetPath[kPathUnits];
    if (!IsContainedNameLine(nameLine) ||
        !JoinPath(paths.workDirectory, RelativePathFromNameLine(nameLine).c_str(), targetPath) ||
        SamePath(targetPath, paths.nameCapture) || SamePath(targetPath, paths.verboseCapture)) {
        return ReadError;
    }
    // Whatever stands at the target would be taken for the extracted entry.
    if (::GetFileAttributesW(targetPath) != INVALID_FILE_ATTRIBUTES) {
        DeleteWorkFile(targetPath);
        return ReadError;
    }

    DWORD exitCode = 0;
    {
        UniqueFile output = CreateCaptureFile(paths.nameCapture);
        if (!RunTool(ExtractCommand(run.toolPath(), archivePath, paths.workDirectory, nameLine),
                     output ? output.get() : nullptr, ErrorStream::Discarded, &exitCode)) {
            return ReadError;
        }
    }
    // An entry whose data is cut short (a truncated or damaged archive) is
    // still written at its full size, padded with zeros; only the tool's exit
    // code tells. Such a file is never delivered as the entry.
    if (exitCode != 0) {
        DeleteWorkFile(targetPath);
        return ReadError;
    }
    UniqueLocal block;
    ResultCode result = ReadExtractedFile(targetPath, block);
    if (result == Success) *destination = block.release();
    return result;
}

}  // namespace quarn

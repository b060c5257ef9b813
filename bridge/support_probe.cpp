#include "bridge/support_probe.h"

#include <windows.h>
#include <shlwapi.h>

#include <string>

#include "bridge/capture_file.h"
#include "bridge/command_lines.h"
#include "bridge/settings.h"
#include "bridge/tool_lock.h"
#include "bridge/tool_run.h"
#include "bridge/work_directory.h"

namespace quarn {
namespace {

bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() &&
           ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()),
                                  TRUE) == CSTR_EQUAL;
}

// Looked at without opening it, so a host that holds the file open is not
// disturbed.
bool IsExistingFile(const wchar_t* path) {
    DWORD attributes = ::GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CaptureHoldsComplaint(const wchar_t* capturePath, bool& complaint) {
    CaptureReader capture;
    if (!capture.Open(capturePath)) return false;
    complaint = false;
    std::wstring line;
    bool endedByLineFeed = false;
    while (!complaint && capture.ReadLine(line, &endedByLineFeed)) {
        complaint = IsUnrecognisedFormatLine(line, endedByLineFeed);
    }
    return true;
}

}  // namespace

bool IsUnrecognisedFormatLine(std::wstring_view line, bool endedByLineFeed) {
    constexpr std::wstring_view kComplaint = L"Error opening archive: Unrecognized archive format";
    return endedByLineFeed && (EqualsIgnoringCase(line, std::wstring(L"tar: ").append(kComplaint)) ||
                               EqualsIgnoringCase(line, std::wstring(L"tar.exe: ").append(kComplaint)));
}

bool ProbeArchive(const wchar_t* archivePath) {
    if (archivePath == nullptr || !IsExistingFile(archivePath)) return false;
    wchar_t toolPath[kPathUnits];
    if (!ReadToolPath(toolPath) || !::PathFileExistsW(toolPath)) return false;
    WorkPaths paths;
    if (!PrepareWorkPaths(paths)) return false;

    ToolRunLock lock(paths.workDirectory);
    bool complaint = false;
    {
        UniqueFile capture = CreateCaptureFile(paths.nameCapture);
        // Standard error too: that is where the tool complains.
        if (!capture || !RunTool(VerboseListCommand(toolPath, archivePath), capture.get(),
                                 ErrorStream::IntoCapture)) {
            return false;
        }
    }
    bool readable = CaptureHoldsComplaint(paths.nameCapture, complaint);
    ::DeleteFileW(paths.nameCapture);
    return readable && !complaint;
}

}  // namespace quarn

// The per-user work folder "quarn" in the temporary folder, and the two
// capture files every tool run writes into it.
#pragma once

#include "plugin/text_conversion.h"

namespace quarn {

constexpr wchar_t kNameCaptureFile[] = L"quarn.txt";
constexpr wchar_t kVerboseCaptureFile[] = L"quarnv.txt";

// The folder's path; false when it does not fit 259 units.
bool WorkDirectory(wchar_t (&path)[kPathUnits]);

// The same, creating the folder when it is missing. The creation is not
// checked here: a folder that cannot exist shows up as a capture file that
// cannot be created.
bool EnsureWorkDirectory(wchar_t (&path)[kPathUnits]);

// `folder` joined with `name`; false when the result does not fit.
bool JoinPath(const wchar_t* folder, const wchar_t* name, wchar_t (&path)[kPathUnits]);

// Deletes a file in the work folder, read-only or not. The tool restores an
// entry's read-only attribute, and DeleteFileW refuses such a file: without
// this an extracted entry would stick in the work folder.
bool DeleteWorkFile(const wchar_t* path);

// The paths a tool-running operation works with.
struct WorkPaths {
    wchar_t workDirectory[kPathUnits];
    wchar_t nameCapture[kPathUnits];
    wchar_t verboseCapture[kPathUnits];
};

// Ensures the folder and forms both capture paths; false when any of them
// does not fit.
bool PrepareWorkPaths(WorkPaths& paths);

}  // namespace quarn

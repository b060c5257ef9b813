// The tool double as an end-to-end test sees it: a tool folder holding the
// double as tar.exe, the scenario files that script it per archive, and the
// log of the command lines it was run with.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace quarn::e2e {

// One entry of a scripted listing, named as the tool lists it: folders end in
// "/", "/" separates every level.
struct ListedEntry {
    std::wstring name;
    uint64_t size;
};

// What the tool prints for `entries` in the given code page (the Windows tool
// prints in the ANSI one, characters it lacks as '?'), CR LF after each line:
// the name listing, and the verbose listing in the Windows tool's columns.
std::string NameListing(const std::vector<ListedEntry>& entries, UINT codePage = CP_ACP);
std::string VerboseListing(const std::vector<ListedEntry>& entries, UINT codePage = CP_ACP);

// The complaint the tool prints for a file that is no archive.
constexpr char kUnrecognisedComplaint[] = "tar.exe: Error opening archive: Unrecognized archive format";

class ToolDouble {
public:
    // Copies the built double into `folder` (created) as tar.exe, unless
    // `copyDouble` is false: then the folder is one another process set up.
    explicit ToolDouble(std::wstring folder, bool copyDouble = true);

    // False (with `error()` saying why) when the double could not be put in place.
    bool ready() const { return error_.empty(); }
    const std::string& error() const { return error_; }

    const std::wstring& folder() const { return folder_; }
    // The tool's path as the plug-in forms it from the "dir" setting.
    std::wstring path() const { return folder_ + L"\\tar.exe"; }

    // The command line the plug-in gives the tool for listing `archivePath`;
    // `mode` is "tf" or "tvf".
    std::wstring ListCommand(const wchar_t* mode, const std::wstring& archivePath) const;

    // Scenario file "<archiveName>.<suffix>" holding `bytes` exactly.
    void Script(const std::wstring& archiveName, const std::wstring& suffix, const std::string& bytes) const;
    // Both listings of `entries`.
    void ScriptListing(const std::wstring& archiveName, const std::vector<ListedEntry>& entries,
                       UINT codePage = CP_ACP) const;
    // Milliseconds every run for the archive waits before printing.
    void ScriptDelay(const std::wstring& archiveName, unsigned milliseconds) const;
    // A member the double extracts for the archive ("/" separates folders).
    void ScriptMember(const std::wstring& archiveName, const std::wstring& member, const std::string& bytes) const;
    // The double's copy of that member, which it extracts with its attributes.
    std::wstring MemberPath(const std::wstring& archiveName, const std::wstring& member) const;

    // The command lines of every run since the last ClearRuns, oldest first.
    std::vector<std::wstring> Runs() const;
    void ClearRuns() const;

private:
    std::wstring folder_;
    std::string error_;
};

}  // namespace quarn::e2e

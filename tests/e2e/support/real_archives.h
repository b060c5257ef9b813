// The real archives tests/e2e/fixtures/make_archives.sh packs at build time,
// what its manifest says each holds, and the tool that reads them under Wine.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace quarn::e2e {

// Last-write time the script gives every archive and non-archive file:
// 2021-06-15 10:20:30 UTC, a time none of the members has.
constexpr int64_t kRealArchiveTime = 1623752430;

// The folder holding the archives, the manifest and the members' bytes.
std::wstring RealArchiveFolder();
std::wstring RealArchive(const std::wstring& name);
// The folder of the built tools/wine-tar tar.exe, for the "dir" setting.
std::wstring WineTarFolder();

// One member as bsdtar lists it.
struct ArchiveMember {
    std::wstring archive;    // "sample.7z"
    uint32_t order = 0;      // its line in the tool's listing, from 0
    bool isFolder = false;
    uint32_t size = 0;       // 0 for a folder
    std::wstring content;    // its bytes, relative to the folder; empty for a folder
    std::wstring name;       // the listed name, folders ending in "/"
};

// Every member of every archive, in each archive's listing order; empty when
// the manifest cannot be read.
const std::vector<ArchiveMember>& RealArchiveMembers();

// The members of `archive` a listing admits under `sizeLimit` bytes (regular
// files of 1 to `sizeLimit` bytes), in the tool's order.
std::vector<ArchiveMember> AdmittedMembers(const std::wstring& archive, uint32_t sizeLimit);

// The bytes the member holds.
std::string ContentOf(const ArchiveMember& member);

// The name after its last "/".
std::wstring BareName(const std::wstring& name);

// True when the ANSI code page holds every character of `text`: the tool
// prints the others as "?", and such a name can be neither shown nor asked
// for as it is.
bool FitsAnsiCodePage(const std::wstring& text);
// `text` as the tool prints it in the ANSI code page and the plug-in reads it
// back: unchanged when it fits, with "?" for each missing character otherwise.
std::wstring AsAnsiCodePageShowsIt(const std::wstring& text);
// `text` in the ANSI code page ("?" where a character is missing).
std::string AnsiFromWide(const std::wstring& text);

// Unix seconds of a file's last write; -1 when it cannot be read.
int64_t LastWriteUnixTime(const std::wstring& path);

}  // namespace quarn::e2e

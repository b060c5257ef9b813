#include "tests/e2e/support/real_archives.h"

#include "plugin/unique_handles.h"
#include "tests/support/built_files.h"
#include "tests/support/split.h"
#include "tests/support/temp_folder.h"

namespace quarn::e2e {
namespace {

using test::FromUtf8;
using test::ReadFileBytes;
using test::Split;
using test::WindowsPathOfBuiltFile;

// "archive order kind size content name", tab-separated, UTF-8.
std::vector<ArchiveMember> ReadManifest() {
    std::vector<ArchiveMember> members;
    for (const std::string& line : Split(ReadFileBytes(RealArchive(L"manifest.tsv")), '\n')) {
        const std::vector<std::string> fields = Split(line, '\t');
        if (fields.size() != 6) continue;
        ArchiveMember member;
        member.archive = FromUtf8(fields[0]);
        member.order = static_cast<uint32_t>(std::stoul(fields[1]));
        member.isFolder = fields[2] == "folder";
        member.size = static_cast<uint32_t>(std::stoul(fields[3]));
        if (fields[4] != "-") member.content = FromUtf8(fields[4]);
        member.name = FromUtf8(fields[5]);
        members.push_back(member);
    }
    return members;
}

}  // namespace

std::wstring RealArchiveFolder() { return WindowsPathOfBuiltFile(QUARN_REAL_ARCHIVES); }
std::wstring RealArchive(const std::wstring& name) { return RealArchiveFolder() + L"\\" + name; }

std::wstring WineTarFolder() {
    const std::wstring tool = WindowsPathOfBuiltFile(WINE_TAR);
    return tool.substr(0, tool.find_last_of(L'\\'));
}

const std::vector<ArchiveMember>& RealArchiveMembers() {
    static const std::vector<ArchiveMember> members = ReadManifest();
    return members;
}

std::vector<ArchiveMember> AdmittedMembers(const std::wstring& archive, uint32_t sizeLimit) {
    std::vector<ArchiveMember> admitted;
    for (const ArchiveMember& member : RealArchiveMembers()) {
        if (member.archive == archive && !member.isFolder && member.size >= 1 && member.size <= sizeLimit) {
            admitted.push_back(member);
        }
    }
    return admitted;
}

std::string ContentOf(const ArchiveMember& member) {
    std::wstring path = member.content;
    for (wchar_t& c : path) c = c == L'/' ? L'\\' : c;
    return ReadFileBytes(RealArchive(path));
}

std::wstring BareName(const std::wstring& name) { return name.substr(name.find_last_of(L'/') + 1); }

std::string AnsiFromWide(const std::wstring& text) {
    if (text.empty()) return {};
    const int units = static_cast<int>(text.size());
    const int bytes = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), units, nullptr, 0, nullptr,
                                            nullptr);
    std::string out(bytes > 0 ? bytes : 0, '\0');
    if (bytes > 0) {
        ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), units, &out[0], bytes, nullptr, nullptr);
    }
    return out;
}

bool FitsAnsiCodePage(const std::wstring& text) {
    if (text.empty()) return true;
    BOOL usedDefault = FALSE;
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()), nullptr, 0,
                          nullptr, &usedDefault);
    return !usedDefault;
}

std::wstring AsAnsiCodePageShowsIt(const std::wstring& text) {
    const std::string bytes = AnsiFromWide(text);
    if (bytes.empty()) return {};
    const int units = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(units > 0 ? units : 0, L'\0');
    if (units > 0) {
        ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), &out[0], units);
    }
    return out;
}

int64_t LastWriteUnixTime(const std::wstring& path) {
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    FILETIME lastWrite;
    if (!file || !::GetFileTime(file.get(), nullptr, nullptr, &lastWrite)) return -1;
    const uint64_t ticks = (static_cast<uint64_t>(lastWrite.dwHighDateTime) << 32) | lastWrite.dwLowDateTime;
    return static_cast<int64_t>(ticks / 10000000ULL) - 11644473600LL;
}

}  // namespace quarn::e2e

#include "tests/e2e/support/tool_double.h"

#include "tests/e2e/support/build_outputs.h"
#include "tests/support/temp_folder.h"

namespace quarn::e2e {
namespace {

using test::FromUtf8;
using test::ReadFileBytes;
using test::WriteFileBytes;

std::string Encoded(const std::wstring& text, UINT codePage) {
    if (text.empty()) return {};
    int units = static_cast<int>(text.size());
    int bytes = ::WideCharToMultiByte(codePage, 0, text.data(), units, nullptr, 0, nullptr, nullptr);
    std::string out(bytes > 0 ? bytes : 0, '\0');
    if (bytes > 0) ::WideCharToMultiByte(codePage, 0, text.data(), units, &out[0], bytes, nullptr, nullptr);
    return out;
}

bool IsFolder(const ListedEntry& entry) { return !entry.name.empty() && entry.name.back() == L'/'; }

// "-rw-rw-rw-  0 0      0       52431 Jan 01  2020 photos/IMG_0001.JPG", as
// the Windows tool prints an entry: the size right-aligned before the date.
std::wstring VerboseLine(const ListedEntry& entry) {
    std::wstring size = std::to_wstring(entry.size);
    if (size.size() < 8) size.insert(0, 8 - size.size(), L' ');
    return std::wstring(IsFolder(entry) ? L"drwxrwxrwx" : L"-rw-rw-rw-") + L"  0 0      0 " + size +
           L" Jan 01  2020 " + entry.name;
}

}  // namespace

std::string NameListing(const std::vector<ListedEntry>& entries, UINT codePage) {
    std::string bytes;
    for (const ListedEntry& entry : entries) bytes += Encoded(entry.name, codePage) + "\r\n";
    return bytes;
}

std::string VerboseListing(const std::vector<ListedEntry>& entries, UINT codePage) {
    std::string bytes;
    for (const ListedEntry& entry : entries) bytes += Encoded(VerboseLine(entry), codePage) + "\r\n";
    return bytes;
}

ToolDouble::ToolDouble(std::wstring folder, bool copyDouble) : folder_(std::move(folder)) {
    if (!copyDouble) return;
    ::CreateDirectoryW(folder_.c_str(), nullptr);
    if (!::CopyFileW(BuiltToolDouble().c_str(), path().c_str(), FALSE)) {
        error_ = "cannot copy the tool double from " + test::Utf8(BuiltToolDouble()) + " (error " +
                 std::to_string(::GetLastError()) + ")";
    }
}

std::wstring ToolDouble::ListCommand(const wchar_t* mode, const std::wstring& archivePath) const {
    return path() + L" " + mode + L" \"" + archivePath + L"\"";
}

void ToolDouble::Script(const std::wstring& archiveName, const std::wstring& suffix,
                        const std::string& bytes) const {
    WriteFileBytes(folder_ + L"\\" + archiveName + L"." + suffix, bytes);
}

void ToolDouble::ScriptListing(const std::wstring& archiveName, const std::vector<ListedEntry>& entries,
                               UINT codePage) const {
    Script(archiveName, L"tf", NameListing(entries, codePage));
    Script(archiveName, L"tvf", VerboseListing(entries, codePage));
}

void ToolDouble::ScriptDelay(const std::wstring& archiveName, unsigned milliseconds) const {
    Script(archiveName, L"delay", std::to_string(milliseconds));
}

void ToolDouble::ScriptMember(const std::wstring& archiveName, const std::wstring& member,
                              const std::string& bytes) const {
    WriteFileBytes(MemberPath(archiveName, member), bytes);
}

std::wstring ToolDouble::MemberPath(const std::wstring& archiveName, const std::wstring& member) const {
    std::wstring relative = member;
    for (wchar_t& unit : relative) {
        if (unit == L'/') unit = L'\\';
    }
    return folder_ + L"\\" + archiveName + L".xf\\" + relative;
}

std::vector<std::wstring> ToolDouble::Runs() const {
    std::vector<std::wstring> runs;
    std::wstring log = FromUtf8(ReadFileBytes(folder_ + L"\\log.txt"));
    size_t start = 0;
    for (size_t feed = log.find(L'\n'); feed != std::wstring::npos; feed = log.find(L'\n', start)) {
        runs.push_back(log.substr(start, feed - start));
        start = feed + 1;
    }
    return runs;
}

void ToolDouble::ClearRuns() const { ::DeleteFileW((folder_ + L"\\log.txt").c_str()); }

}  // namespace quarn::e2e

#include "tests/doubles/tar-double/scenario.h"

#include <windows.h>

#include "tools/common/whole_file.h"

namespace quarn {
namespace {

constexpr const wchar_t* kSuffixes[] = {L"tf",   L"tvf",   L"tf.err", L"tvf.err",
                                        L"exit", L"delay", L"xf"};

std::wstring LastComponent(const std::wstring& path) {
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// A decimal number with an optional sign, blanks around it allowed.
long ParseNumber(const std::string& text) {
    size_t at = text.find_first_not_of(" \t\r\n");
    if (at == std::string::npos) return 0;
    bool negative = text[at] == '-';
    if (negative || text[at] == '+') ++at;
    long value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9' && value < 100000000; ++at) {
        value = value * 10 + (text[at] - '0');
    }
    return negative ? -value : value;
}

}  // namespace

Scenario::Scenario(std::wstring folder, const std::wstring& archiveArgument)
    : folder_(std::move(folder)), key_(LastComponent(archiveArgument)) {}

bool Scenario::Exists() const {
    if (key_.empty()) return false;
    for (const wchar_t* suffix : kSuffixes) {
        if (::GetFileAttributesW(PathOf(suffix).c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    }
    return false;
}

std::wstring Scenario::PathOf(const wchar_t* suffix) const {
    return folder_ + L"\\" + key_ + L"." + suffix;
}

std::string Scenario::Bytes(const wchar_t* suffix) const {
    std::string bytes;
    ReadWholeFile(PathOf(suffix), bytes);
    return bytes;
}

int Scenario::ExitCode() const { return static_cast<int>(ParseNumber(Bytes(L"exit"))); }

unsigned Scenario::DelayMilliseconds() const {
    long delay = ParseNumber(Bytes(L"delay"));
    return delay > 0 ? static_cast<unsigned>(delay) : 0;
}

}  // namespace quarn

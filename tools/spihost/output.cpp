#include "tools/spihost/output.h"

#include <vector>

#include "tools/spihost/local_block.h"
#include "tools/spihost/text.h"

namespace quarn::spihost {
namespace {

bool outputFailed = false;

// A console shows text in its own code page, so it gets UTF-16; a pipe or a
// file gets the UTF-8 bytes as they are.
bool WriteTo(DWORD which, std::string_view utf8) {
    HANDLE handle = ::GetStdHandle(which);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return false;
    if (utf8.empty()) return true;

    DWORD mode = 0;
    if (::GetConsoleMode(handle, &mode)) {
        const int size = static_cast<int>(utf8.size());
        const int units = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
        std::vector<wchar_t> text(static_cast<size_t>(units > 0 ? units : 0));
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, text.data(), units);
        DWORD written = 0;
        return ::WriteConsoleW(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) != 0;
    }

    while (!utf8.empty()) {
        DWORD written = 0;
        if (!::WriteFile(handle, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr) ||
            written == 0) {
            return false;
        }
        utf8.remove_prefix(written);
    }
    return true;
}

}  // namespace

bool WriteOutput(std::string_view utf8) {
    const bool written = WriteTo(STD_OUTPUT_HANDLE, utf8);
    if (!written) outputFailed = true;
    return written;
}

bool OutputFailed() { return outputFailed; }

void ReportError(std::string_view message) {
    std::string line = "spihost: ";
    line += message;
    line += '\n';
    WriteTo(STD_ERROR_HANDLE, line);
}

std::string DescribeWindowsError(DWORD code) {
    std::string text = "error " + std::to_string(code);
    wchar_t* message = nullptr;
    const DWORD units = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    const UniqueLocalBlock owner(message);
    std::wstring_view wide(message != nullptr ? message : L"", units);
    while (!wide.empty() && (wide.back() == L'\n' || wide.back() == L'\r' || wide.back() == L' ')) {
        wide.remove_suffix(1);
    }
    if (!wide.empty()) text += ": " + Utf8FromWide(wide);
    return text;
}

}  // namespace quarn::spihost

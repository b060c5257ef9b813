#include "tools/wine-tar/relay.h"

#include <algorithm>

#include "tools/common/utf8.h"

namespace quarn {
namespace {

constexpr std::string_view kUnixName = "bsdtar: ";
constexpr std::string_view kWindowsName = "tar.exe: ";

std::string WithWindowsLineEnds(std::string_view text) {
    std::string lines;
    lines.reserve(text.size() + text.size() / 16);
    for (size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '\n' && (at == 0 || text[at - 1] != '\r')) lines += '\r';
        lines += text[at];
    }
    return lines;
}

// Only at the start of a line, where bsdtar names itself: a member name
// quoted later in a message may hold the same words.
std::string WithWindowsToolName(std::string_view text) {
    std::string renamed;
    renamed.reserve(text.size() + 16);
    for (size_t at = 0; at < text.size();) {
        if (text.substr(at, kUnixName.size()) == kUnixName) {
            renamed += kWindowsName;
            at += kUnixName.size();
        }
        size_t end = text.find('\n', at);
        end = end == std::string_view::npos ? text.size() : end + 1;
        renamed += text.substr(at, end - at);
        at = end;
    }
    return renamed;
}

std::string NarrowFromWide(const std::wstring& text, UINT codePage) {
    if (text.empty()) return {};
    int units = static_cast<int>(text.size());
    // Best-fit stand-ins would turn a name into another name; the default
    // character at least shows that something was lost.
    DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    int bytes = ::WideCharToMultiByte(codePage, flags, text.data(), units, nullptr, 0, nullptr, nullptr);
    std::string result(bytes > 0 ? bytes : 0, '\0');
    if (bytes > 0) {
        ::WideCharToMultiByte(codePage, flags, text.data(), units, result.data(), bytes, nullptr, nullptr);
    }
    return result;
}

// One pass, trying the longest path first at each place, so that neither a
// path inside a longer one nor a put-back Windows form is replaced again.
std::string WithWindowsPaths(std::string_view text, std::vector<PathForms> paths) {
    std::sort(paths.begin(), paths.end(), [](const PathForms& a, const PathForms& b) {
        return a.unixForm.size() > b.unixForm.size();
    });
    std::string result;
    result.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        auto found = std::find_if(paths.begin(), paths.end(), [&](const PathForms& path) {
            return path.unixForm.size() > 1 && text.substr(at, path.unixForm.size()) == path.unixForm;
        });
        if (found == paths.end()) {
            result += text[at++];
        } else {
            result += found->windowsForm;
            at += found->unixForm.size();
        }
    }
    return result;
}

}  // namespace

std::string WindowsToolText(std::string_view bsdtarText, UINT codePage) {
    std::string lines = WithWindowsLineEnds(bsdtarText);
    if (codePage == CP_UTF8) return lines;
    return NarrowFromWide(WideFromUtf8(lines), codePage);
}

std::string WindowsToolMessages(std::string_view bsdtarText, UINT codePage,
                                const std::vector<PathForms>& paths) {
    return WindowsToolText(WithWindowsToolName(WithWindowsPaths(bsdtarText, paths)), codePage);
}

}  // namespace quarn

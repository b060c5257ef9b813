#include "tools/common/command_line.h"

#include <windows.h>

namespace quarn {
namespace {

bool IsBlank(wchar_t unit) { return unit == L' ' || unit == L'\t'; }

// Reads the program name from the start of `line`; returns where it ended.
size_t ReadProgramName(std::wstring_view line, std::wstring& name) {
    bool quoted = false;
    size_t at = 0;
    for (; at < line.size(); ++at) {
        wchar_t unit = line[at];
        if (unit == L'"') {
            quoted = !quoted;
        } else if (!quoted && IsBlank(unit)) {
            break;
        } else {
            name.push_back(unit);
        }
    }
    return at;
}

// Reads one argument starting at `at` (not a blank); returns where it ended.
size_t ReadArgument(std::wstring_view line, size_t at, std::wstring& argument) {
    bool quoted = false;
    while (at < line.size()) {
        size_t backslashes = 0;
        while (at < line.size() && line[at] == L'\\') {
            ++backslashes;
            ++at;
        }
        bool atQuote = at < line.size() && line[at] == L'"';
        if (!atQuote) {
            argument.append(backslashes, L'\\');
            if (at == line.size() || (!quoted && IsBlank(line[at]))) break;
            argument.push_back(line[at++]);
            continue;
        }
        argument.append(backslashes / 2, L'\\');
        if (backslashes % 2 == 1) {
            argument.push_back(L'"');
        } else if (quoted && at + 1 < line.size() && line[at + 1] == L'"') {
            argument.push_back(L'"');
            ++at;
        } else {
            quoted = !quoted;
        }
        ++at;
    }
    return at;
}

std::vector<std::wstring> SplitFrom(std::wstring_view line, size_t at,
                                    std::wstring programName) {
    std::vector<std::wstring> arguments{std::move(programName)};
    for (;;) {
        while (at < line.size() && IsBlank(line[at])) ++at;
        if (at == line.size()) break;
        std::wstring argument;
        at = ReadArgument(line, at, argument);
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

bool StartsWithPath(std::wstring_view line, std::wstring_view path) {
    if (path.empty() || line.size() < path.size()) return false;
    if (line.size() > path.size() && !IsBlank(line[path.size()])) return false;
    return ::CompareStringOrdinal(line.data(), static_cast<int>(path.size()), path.data(),
                                  static_cast<int>(path.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

std::vector<std::wstring> SplitCommandLine(std::wstring_view commandLine) {
    std::wstring programName;
    size_t at = ReadProgramName(commandLine, programName);
    return SplitFrom(commandLine, at, std::move(programName));
}

std::vector<std::wstring> SplitCommandLine(std::wstring_view commandLine,
                                           std::wstring_view programPath) {
    if (!StartsWithPath(commandLine, programPath)) return SplitCommandLine(commandLine);
    return SplitFrom(commandLine, programPath.size(),
                     std::wstring(commandLine.substr(0, programPath.size())));
}

}  // namespace quarn

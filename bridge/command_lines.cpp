#include "bridge/command_lines.h"

namespace quarn {
namespace {

// One argument in double quotes as the C runtime splits command lines:
// backslashes before a quote (or before the closing quote) are doubled and
// the quote escaped, so a name holding '"' or ending in '\\' arrives whole.
// Text without either is just put between quotes.
std::wstring Quoted(std::wstring_view text) {
    std::wstring quoted;
    quoted.reserve(text.size() + 2);
    quoted += L'"';
    size_t backslashes = 0;
    for (wchar_t unit : text) {
        if (unit == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(unit == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += unit;
    }
    quoted.append(2 * backslashes, L'\\');
    quoted += L'"';
    return quoted;
}

std::wstring ListCommand(std::wstring_view toolPath, std::wstring_view mode, std::wstring_view archivePath) {
    std::wstring command(toolPath);
    command += L' ';
    command += mode;
    command += L' ';
    command += Quoted(archivePath);
    return command;
}

}  // namespace

std::wstring NameListCommand(std::wstring_view toolPath, std::wstring_view archivePath) {
    return ListCommand(toolPath, L"tf", archivePath);
}

std::wstring VerboseListCommand(std::wstring_view toolPath, std::wstring_view archivePath) {
    return ListCommand(toolPath, L"tvf", archivePath);
}

std::wstring MemberPatternFromNameLine(std::wstring_view nameLine) {
    std::wstring pattern;
    pattern.reserve(nameLine.size() + 8);
    for (wchar_t unit : nameLine) {
        if (unit == L'[' || unit == L']' || unit == L'*' || unit == L'?') pattern += L'\\';
        pattern += unit;
    }
    return pattern;
}

std::wstring ExtractCommand(std::wstring_view toolPath, std::wstring_view archivePath,
                            std::wstring_view workDirectory, std::wstring_view nameLine) {
    std::wstring command = Quoted(toolPath);
    command += L" xf ";
    command += Quoted(archivePath);
    command += L" -C";
    command += Quoted(workDirectory);
    command += L' ';
    command += Quoted(MemberPatternFromNameLine(nameLine));
    return command;
}

}  // namespace quarn

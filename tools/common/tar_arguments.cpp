#include "tools/common/tar_arguments.h"

#include <string_view>

namespace quarn {
namespace {

// bsdtar's single letters that take a value, and those whose value is a file.
bool TakesValue(wchar_t letter) {
    return std::wstring_view(L"bCfIsTWX").find(letter) != std::wstring_view::npos;
}
bool NamesFile(wchar_t letter) {
    return std::wstring_view(L"CfITX").find(letter) != std::wstring_view::npos;
}

struct LongOption {
    const wchar_t* name;
    wchar_t letter;  // the single letter it stands for, or 0
    bool namesFile;
};

// Long options taking a value; any other long option is read as a flag.
constexpr LongOption kLongOptions[] = {
    {L"file", L'f', true},           {L"directory", L'C', true},
    {L"cd", L'C', true},             {L"files-from", L'T', true},
    {L"exclude-from", L'X', true},   {L"newer-than", 0, true},
    {L"newer-mtime-than", 0, true},  {L"older-than", 0, true},
    {L"older-mtime-than", 0, true},  {L"exclude", 0, false},
    {L"include", 0, false},          {L"format", 0, false},
    {L"options", 0, false},          {L"strip-components", 0, false},
    {L"newer", 0, false},            {L"newer-mtime", 0, false},
    {L"older", 0, false},            {L"older-mtime", 0, false},
    {L"uid", 0, false},              {L"gid", 0, false},
    {L"uname", 0, false},            {L"gname", 0, false},
    {L"passphrase", 0, false},       {L"use-compress-program", 0, false},
};

const LongOption* FindLongOption(std::wstring_view name) {
    for (const LongOption& option : kLongOptions) {
        if (name == option.name) return &option;
    }
    return nullptr;
}

bool IsAbsoluteWindowsPath(std::wstring_view text) {
    if (text.size() >= 2 && text[0] == L'\\' && text[1] == L'\\') return true;
    return text.size() >= 3 && text[1] == L':' && (text[2] == L'\\' || text[2] == L'/');
}

class Reader {
public:
    explicit Reader(const std::vector<std::wstring>& arguments) : arguments_(arguments) {
        result_.pathStarts.assign(arguments.size(), kNoPath);
    }

    TarArguments Read() {
        if (next_ < arguments_.size() && !arguments_[0].empty() && arguments_[0][0] != L'-') {
            ReadBundle();
        }
        while (next_ < arguments_.size() && ReadOption()) {
        }
        ReadOperands();
        return std::move(result_);
    }

private:
    // "tvf archive": each letter that takes a value takes the next argument.
    void ReadBundle() {
        const std::wstring& bundle = arguments_[next_++];
        for (wchar_t letter : bundle) {
            result_.letters.push_back(letter);
            if (TakesValue(letter) && next_ < arguments_.size()) {
                Take(letter, NamesFile(letter), next_++, 0);
            }
        }
    }

    // Reads the option at next_; false at the end of the options.
    bool ReadOption() {
        const std::wstring& argument = arguments_[next_];
        if (argument == L"--") {
            ++next_;
            return false;
        }
        if (argument.size() < 2 || argument[0] != L'-') return false;
        if (argument[1] == L'-') {
            ReadLongOption();
        } else {
            ReadShortOptions();
        }
        return true;
    }

    void ReadLongOption() {
        size_t index = next_++;
        std::wstring_view argument = arguments_[index];
        size_t equals = argument.find(L'=');
        bool glued = equals != std::wstring_view::npos;
        const LongOption* option = FindLongOption(argument.substr(2, glued ? equals - 2 : equals));
        if (option == nullptr) return;
        if (glued) {
            Take(option->letter, option->namesFile, index, equals + 1);
        } else if (next_ < arguments_.size()) {
            Take(option->letter, option->namesFile, next_++, 0);
        }
    }

    // "-xvf archive", "-Cdir", "-C dir": a letter taking a value takes the
    // rest of its argument, or the next argument when nothing is left.
    void ReadShortOptions() {
        size_t index = next_++;
        const std::wstring& argument = arguments_[index];
        for (size_t at = 1; at < argument.size(); ++at) {
            wchar_t letter = argument[at];
            result_.letters.push_back(letter);
            if (!TakesValue(letter)) continue;
            if (at + 1 < argument.size()) {
                Take(letter, NamesFile(letter), index, at + 1);
            } else if (next_ < arguments_.size()) {
                Take(letter, NamesFile(letter), next_++, 0);
            }
            return;
        }
    }

    // Operands name files on disk only when an archive is being written.
    void ReadOperands() {
        bool writing =
            HasLetter(result_, L'c') || HasLetter(result_, L'r') || HasLetter(result_, L'u');
        for (; next_ < arguments_.size(); ++next_) {
            const std::wstring& operand = arguments_[next_];
            if (writing && IsAbsoluteWindowsPath(operand)) result_.pathStarts[next_] = 0;
            result_.operands.push_back(operand);
        }
    }

    void Take(wchar_t letter, bool namesFile, size_t index, size_t offset) {
        std::wstring value = arguments_[index].substr(offset);
        // "-" is standard input or output, never a file.
        if (namesFile && value != L"-") result_.pathStarts[index] = offset;
        if (letter == L'f') result_.archive = value;
        if (letter == L'C') result_.directory = value;
    }

    const std::vector<std::wstring>& arguments_;
    size_t next_ = 0;
    TarArguments result_;
};

}  // namespace

TarArguments ReadTarArguments(const std::vector<std::wstring>& arguments) {
    return Reader(arguments).Read();
}

bool HasLetter(const TarArguments& arguments, wchar_t letter) {
    return arguments.letters.find(letter) != std::wstring::npos;
}

}  // namespace quarn

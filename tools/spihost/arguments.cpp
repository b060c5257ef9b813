#include "tools/spihost/arguments.h"

#include <cstddef>

namespace quarn::spihost {
namespace {

struct CommandForm {
    const wchar_t* name;
    Command command;
    size_t operands;
    const wchar_t* synopsis;
};

constexpr CommandForm kCommandForms[] = {
    {L"info", Command::Info, 1, L"info PLUGIN"},
    {L"supported", Command::Supported, 2, L"supported PLUGIN FILE"},
    {L"list", Command::List, 2, L"list PLUGIN ARCHIVE"},
    {L"extract", Command::Extract, 3, L"extract PLUGIN ARCHIVE OUTDIR"},
};

const CommandForm* FindCommandForm(const std::wstring& name) {
    for (const CommandForm& form : kCommandForms) {
        if (name == form.name) return &form;
    }
    return nullptr;
}

ParsedArguments Refuse(std::wstring error) {
    ParsedArguments parsed;
    parsed.error = std::move(error);
    return parsed;
}

// Applies one option word; false when the word names no option.
bool ApplyOption(const std::wstring& word, Arguments& arguments, bool& help) {
    if (word == L"--narrow") {
        arguments.narrow = true;
    } else if (word == L"--json") {
        arguments.json = true;
    } else if (word == L"--to-file") {
        arguments.toFile = true;
    } else if (word == L"--help" || word == L"-h") {
        help = true;
    } else {
        return false;
    }
    return true;
}

}  // namespace

ParsedArguments ParseArguments(const std::vector<std::wstring>& words) {
    Arguments arguments;
    bool help = false;
    bool optionsEnded = false;
    std::vector<std::wstring> operands;
    for (const std::wstring& word : words) {
        if (optionsEnded || word.empty() || word[0] != L'-' || word == L"-") {
            operands.push_back(word);
        } else if (word == L"--") {
            optionsEnded = true;
        } else if (!ApplyOption(word, arguments, help)) {
            return Refuse(L"unknown option " + word);
        }
    }

    ParsedArguments parsed;
    if (help) {
        parsed.ok = true;
        parsed.arguments = arguments;
        parsed.arguments.command = Command::Help;
        return parsed;
    }
    if (operands.empty()) return Refuse(L"no command given");

    const CommandForm* form = FindCommandForm(operands[0]);
    if (form == nullptr) return Refuse(L"unknown command " + operands[0]);
    if (operands.size() - 1 != form->operands) {
        return Refuse(std::wstring(L"usage: spihost [options] ") + form->synopsis);
    }
    if (arguments.toFile && form->command != Command::Extract) {
        return Refuse(L"--to-file applies to extract only");
    }

    arguments.command = form->command;
    arguments.plugin = operands[1];
    if (form->operands >= 2) arguments.file = operands[2];
    if (form->operands >= 3) arguments.outputFolder = operands[3];
    parsed.ok = true;
    parsed.arguments = arguments;
    return parsed;
}

const char* UsageText() {
    return
        "usage: spihost [--narrow] [--json] info PLUGIN\n"
        "       spihost [--narrow] [--json] supported PLUGIN FILE\n"
        "       spihost [--narrow] [--json] list PLUGIN ARCHIVE\n"
        "       spihost [--narrow] [--json] [--to-file] extract PLUGIN ARCHIVE OUTDIR\n"
        "\n"
        "Loads a Susie archive plug-in (00AM) and drives it as an image viewer does.\n"
        "\n"
        "  info       the plug-in's information strings: 0 API version, 1 name,\n"
        "             then pairs of file patterns and description from 2 on\n"
        "  supported  IsSupported on FILE, first with an open handle on it, then\n"
        "             with the address of a buffer holding its first 2 KiB\n"
        "  list       GetArchiveInfo: position, size, time (UTC), method, path and\n"
        "             filename of every entry\n"
        "  extract    GetFile for every entry of the listing, into memory blocks\n"
        "             written to OUTDIR\\<position>_<filename>; the position prefix\n"
        "             keeps entries with equal filenames apart\n"
        "\n"
        "  --narrow   use the ANSI exports (text in the process's code page)\n"
        "             instead of the W ones\n"
        "  --json     print JSON instead of tables\n"
        "  --to-file  extract: the plug-in writes each entry itself, into\n"
        "             OUTDIR\\<position>\\<filename> (folders created), so equal\n"
        "             filenames do not collide\n"
        "  -h, --help this text\n"
        "\n"
        "Output is UTF-8. Exit status: 0 success; 1 a plug-in call or a file\n"
        "operation failed, or FILE is not supported; 2 bad arguments or a plug-in\n"
        "that cannot be loaded or lacks the exports the command needs.\n";
}

}  // namespace quarn::spihost

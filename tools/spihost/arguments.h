// The command line of spihost, read into what each command needs.
#pragma once

#include <string>
#include <vector>

namespace quarn::spihost {

enum class Command { Help, Info, Supported, List, Extract };

struct Arguments {
    Command command = Command::Help;
    bool narrow = false;  // the ANSI exports instead of the W ones
    bool json = false;
    bool toFile = false;  // extract: the plug-in writes each entry itself
    std::wstring plugin;
    std::wstring file;    // the archive, or the file to test for support
    std::wstring outputFolder;
};

struct ParsedArguments {
    bool ok = false;
    Arguments arguments;
    std::wstring error;  // why the line was refused, when not ok
};

// Reads the words after the program's name. Options may stand anywhere;
// "--" makes every later word an operand.
ParsedArguments ParseArguments(const std::vector<std::wstring>& words);

// The text --help prints.
const char* UsageText();

}  // namespace quarn::spihost

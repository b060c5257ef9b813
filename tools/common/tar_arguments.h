// The tool's arguments read the way bsdtar reads them, as far as the programs
// standing in for it need: the command letters, the archive, the folder to
// extract into, the members, and where a file system path sits inside each
// argument (so that only paths are turned into another system's form).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace quarn {

struct TarArguments {
    // Every single-letter option given, e.g. "tvf" or "xf".
    std::wstring letters;
    // What f (or --file) names; empty without one.
    std::wstring archive;
    // What the last C (or --directory) names; empty without one.
    std::wstring directory;
    // The operands after the options: member patterns, or files to add.
    std::vector<std::wstring> operands;
    // One entry per argument: where a path begins inside it (2 for "-Cdir"),
    // or kNoPath.
    std::vector<size_t> pathStarts;
};

constexpr size_t kNoPath = static_cast<size_t>(-1);

// `arguments` come without the program name. A first argument without a dash
// is a bundle of letters whose values follow it in order ("xf archive");
// options end at "--" or at the first argument that is not one, as in bsdtar.
TarArguments ReadTarArguments(const std::vector<std::wstring>& arguments);

bool HasLetter(const TarArguments& arguments, wchar_t letter);

}  // namespace quarn

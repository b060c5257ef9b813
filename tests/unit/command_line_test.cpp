// The tool's command line as the programs standing in for it read it: split
// as the Microsoft C runtime splits it, then read as bsdtar reads options.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "tools/common/command_line.h"
#include "tools/common/tar_arguments.h"

namespace quarn {
namespace {

using Words = std::vector<std::wstring>;

struct SplitCase {
    const char* behaviour;
    const wchar_t* line;
    Words expected;
};

const SplitCase kSplitCases[] = {
    {"plain words split at blanks and tabs", L"tar.exe  tf \t a.7z ", {L"tar.exe", L"tf", L"a.7z"}},
    {"a quoted path keeps its spaces", L"tar.exe tf \"C:\\some dir\\a b.7z\"",
     {L"tar.exe", L"tf", L"C:\\some dir\\a b.7z"}},
    {"a quoted part glued to an option joins it", L"tar.exe xf a.7z -C\"C:\\x y\" m",
     {L"tar.exe", L"xf", L"a.7z", L"-CC:\\x y", L"m"}},
    {"a quoted program path is one word", L"\"C:\\some dir\\tar.exe\" tf a.7z",
     {L"C:\\some dir\\tar.exe", L"tf", L"a.7z"}},
    {"without its path an unquoted program with spaces is cut at the first blank",
     L"C:\\some dir\\tar.exe tf a.7z", {L"C:\\some", L"dir\\tar.exe", L"tf", L"a.7z"}},
    {"the program name takes no backslash escapes", L"\"C:\\dir\\\"x.exe a",
     {L"C:\\dir\\x.exe", L"a"}},
    {"backslashes not before a quote stay", L"p a\\\\b\\c \\\\server\\share",
     {L"p", L"a\\\\b\\c", L"\\\\server\\share"}},
    {"escaped pattern characters pass as they are", L"p \"dir/\\[Author\\] Title/0\\*\\?.jpg\"",
     {L"p", L"dir/\\[Author\\] Title/0\\*\\?.jpg"}},
    {"one backslash before a quote gives a literal quote", L"p a\\\"b", {L"p", L"a\"b"}},
    {"two backslashes before a quote give one and open a quoted part", L"p \"a\\\\\" b",
     {L"p", L"a\\", L"b"}},
    {"three backslashes before a quote give one and a literal quote", L"p a\\\\\\\"b",
     {L"p", L"a\\\"b"}},
    {"four backslashes before a closing quote give two", L"p \"a\\\\\\\\\" b",
     {L"p", L"a\\\\", L"b"}},
    {"a trailing backslash in a quoted path must be doubled", L"p \"C:\\dir\\\" next",
     {L"p", L"C:\\dir\" next"}},
    {"a doubled quote inside quotes is one literal quote", L"p \"a\"\"b\" c",
     {L"p", L"a\"b", L"c"}},
    {"an empty quoted word is an empty argument", L"p \"\" x", {L"p", L"", L"x"}},
    {"an unclosed quote runs to the end", L"p \"a b", {L"p", L"a b"}},
    {"quotes inside a word only switch the blanks off", L"p a\"b c\"d", {L"p", L"ab cd"}},
    {"an empty line still has a program name", L"", {L""}},
};

void PrintTo(const SplitCase& c, std::ostream* out) { *out << c.behaviour; }

class SplitCommandLineTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitCommandLineTest, GivesTheRuntimesArguments) {
    const SplitCase& c = GetParam();
    EXPECT_EQ(c.expected, SplitCommandLine(c.line)) << c.behaviour;
}

INSTANTIATE_TEST_SUITE_P(Cases, SplitCommandLineTest, testing::ValuesIn(kSplitCases));

struct ProgramPathCase {
    const char* behaviour;
    const wchar_t* line;
    const wchar_t* programPath;
    Words expected;
};

const ProgramPathCase kProgramPathCases[] = {
    {"an unquoted tool path with spaces is the program name",
     L"C:\\some dir\\tar.exe tf \"C:\\path\\archive.7z\"", L"C:\\some dir\\tar.exe",
     {L"C:\\some dir\\tar.exe", L"tf", L"C:\\path\\archive.7z"}},
    {"case does not matter in the path", L"c:\\SOME DIR\\TAR.EXE tvf a.7z",
     L"C:\\some dir\\tar.exe", {L"c:\\SOME DIR\\TAR.EXE", L"tvf", L"a.7z"}},
    {"a path alone is the whole line", L"C:\\some dir\\tar.exe", L"C:\\some dir\\tar.exe",
     {L"C:\\some dir\\tar.exe"}},
    {"a longer name that only starts with the path is split as usual",
     L"C:\\some dir\\tar.exe2 tf", L"C:\\some dir\\tar.exe", {L"C:\\some", L"dir\\tar.exe2", L"tf"}},
    {"a quoted program is read as usual", L"\"C:\\some dir\\tar.exe\" xf a.7z",
     L"C:\\some dir\\tar.exe", {L"C:\\some dir\\tar.exe", L"xf", L"a.7z"}},
    {"another program is read as usual", L"C:\\other dir\\x.exe a", L"C:\\some dir\\tar.exe",
     {L"C:\\other", L"dir\\x.exe", L"a"}},
};

void PrintTo(const ProgramPathCase& c, std::ostream* out) { *out << c.behaviour; }

class SplitWithProgramPathTest : public testing::TestWithParam<ProgramPathCase> {};

TEST_P(SplitWithProgramPathTest, FindsTheProgramAsCreateProcessDid) {
    const ProgramPathCase& c = GetParam();
    EXPECT_EQ(c.expected, SplitCommandLine(c.line, c.programPath)) << c.behaviour;
}

INSTANTIATE_TEST_SUITE_P(Cases, SplitWithProgramPathTest, testing::ValuesIn(kProgramPathCases));

constexpr size_t X = kNoPath;

struct TarCase {
    const char* behaviour;
    Words arguments;
    const wchar_t* letters;
    const wchar_t* archive;
    const wchar_t* directory;
    Words operands;
    std::vector<size_t> pathStarts;
};

const TarCase kTarCases[] = {
    {"name listing", {L"tf", L"C:\\a.7z"}, L"tf", L"C:\\a.7z", L"", {}, {X, 0}},
    {"verbose listing", {L"tvf", L"C:\\a.7z"}, L"tvf", L"C:\\a.7z", L"", {}, {X, 0}},
    {"extraction with the folder glued to -C",
     {L"xf", L"C:\\a.7z", L"-CC:\\x y", L"dir/\\[A\\] T/1.jpg"}, L"xfC", L"C:\\a.7z",
     L"C:\\x y", {L"dir/\\[A\\] T/1.jpg"}, {X, 0, 2, X}},
    {"a member that looks like a path stays a member when reading",
     {L"xf", L"a.7z", L"C:\\x"}, L"xf", L"a.7z", L"", {L"C:\\x"}, {X, 0, X}},
    {"-C with its folder in the next argument", {L"-x", L"-C", L"D:\\out", L"-f", L"a.zip"},
     L"xCf", L"a.zip", L"D:\\out", {}, {X, X, 0, X, 0}},
    {"a dashed bundle takes the rest of its word", {L"-xvfC:\\a.tar"}, L"xvf", L"C:\\a.tar",
     L"", {}, {4}},
    {"bundled values follow in the order of the letters", {L"xfC", L"a.tar", L"out", L"m"},
     L"xfC", L"a.tar", L"out", {L"m"}, {X, 0, 0, X}},
    {"long options with = and with a separate value",
     {L"-t", L"--file=C:\\a.7z", L"--format", L"zip", L"--directory", L"C:\\d"}, L"t",
     L"C:\\a.7z", L"C:\\d", {}, {X, 7, X, X, X, 0}},
    {"a dash for the archive is a stream, not a path", {L"tf", L"-"}, L"tf", L"-", L"", {},
     {X, X}},
    {"options end at the first operand", {L"-x", L"-f", L"a.tar", L"m", L"-Cdir"}, L"xf",
     L"a.tar", L"", {L"m", L"-Cdir"}, {X, X, 0, X, X}},
    {"options end at --", {L"-xf", L"a.tar", L"--", L"-m"}, L"xf", L"a.tar", L"", {L"-m"},
     {X, 0, X, X}},
    {"absolute operands are paths when writing", {L"cf", L"o.tar", L"C:\\in", L"rel"}, L"cf",
     L"o.tar", L"", {L"C:\\in", L"rel"}, {X, 0, 0, X}},
    {"a letter whose value is missing takes nothing", {L"tf"}, L"tf", L"", L"", {}, {X}},
    {"no arguments at all", {}, L"", L"", L"", {}, {}},
};

void PrintTo(const TarCase& c, std::ostream* out) { *out << c.behaviour; }

class ReadTarArgumentsTest : public testing::TestWithParam<TarCase> {};

TEST_P(ReadTarArgumentsTest, FindsWhatBsdtarFinds) {
    const TarCase& c = GetParam();
    TarArguments read = ReadTarArguments(c.arguments);
    EXPECT_EQ(c.letters, read.letters) << c.behaviour;
    EXPECT_EQ(c.archive, read.archive) << c.behaviour;
    EXPECT_EQ(c.directory, read.directory) << c.behaviour;
    EXPECT_EQ(c.operands, read.operands) << c.behaviour;
    EXPECT_EQ(c.pathStarts, read.pathStarts) << c.behaviour;
}

INSTANTIATE_TEST_SUITE_P(Cases, ReadTarArgumentsTest, testing::ValuesIn(kTarCases));

}  // namespace
}  // namespace quarn

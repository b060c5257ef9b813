// What the plug-in hands the tool and how it reads names that come back:
// command lines, member patterns, the complaint line, and the names that must
// never reach outside the work folder or the host's folder.
#include <gtest/gtest.h>

#include <string>

#include "bridge/command_lines.h"
#include "bridge/entry_names.h"
#include "bridge/support_probe.h"
#include "tests/support/temp_folder.h"

namespace quarn {
namespace {

TEST(CommandLines, ListingsLeaveTheToolUnquotedAndQuoteTheArchive) {
    EXPECT_EQ(L"C:\\Windows\\System32\\tar.exe tf \"D:\\a b\\x.7z\"",
              NameListCommand(L"C:\\Windows\\System32\\tar.exe", L"D:\\a b\\x.7z"));
    EXPECT_EQ(L"C:\\tools dir\\tar.exe tvf \"D:\\x.rar\"", VerboseListCommand(L"C:\\tools dir\\tar.exe", L"D:\\x.rar"));
}

TEST(CommandLines, LongPathsAreNeitherCutNorRefused) {
    std::wstring archive = L"D:\\" + std::wstring(600, L'a') + L".7z";
    std::wstring command = NameListCommand(L"C:\\t\\tar.exe", archive);
    EXPECT_EQ(L"C:\\t\\tar.exe tf \"" + archive + L"\"", command);
}

TEST(CommandLines, ExtractionQuotesEveryFieldAndEscapesPatternCharacters) {
    const struct {
        const wchar_t* nameLine;
        const wchar_t* member;  // as it stands in the command, quotes included
    } cases[] = {
        {L"dir/001.jpg", L"\"dir/001.jpg\""},
        {L"[Author] Title/001.jpg", L"\"\\[Author\\] Title/001.jpg\""},
        {L"a*b?.png", L"\"a\\*b\\?.png\""},
        {L"back\\\\slash.png", L"\"back\\\\slash.png\""},         // the listing's own escape stays
        {L"say \"hi\".png", L"\"say \\\"hi\\\".png\""},            // a quote stays inside the field
        {L"trailing\\\\", L"\"trailing\\\\\\\\\""},                // and so does a final backslash
    };
    for (const auto& c : cases) {
        EXPECT_EQ(std::wstring(L"\"C:\\my tools\\tar.exe\" xf \"D:\\x.7z\" -C\"C:\\Temp\\quarn\" ") + c.member,
                  ExtractCommand(L"C:\\my tools\\tar.exe", L"D:\\x.7z", L"C:\\Temp\\quarn", c.nameLine))
            << test::Utf8(c.nameLine);
    }
}

TEST(ComplaintLine, OnlyTheWholeLineWithItsLineFeedCounts) {
    const struct {
        const wchar_t* line;
        bool endedByLineFeed;
        bool complaint;
    } cases[] = {
        {L"tar: Error opening archive: Unrecognized archive format", true, true},
        {L"tar.exe: Error opening archive: Unrecognized archive format", true, true},
        {L"TAR.EXE: ERROR OPENING ARCHIVE: UNRECOGNIZED ARCHIVE FORMAT", true, true},
        {L"tar: Error opening archive: Unrecognized archive format", false, false},
        {L"bsdtar: Error opening archive: Unrecognized archive format", true, false},
        {L"tar: Error opening archive: Unrecognized archive format.", true, false},
        {L" tar: Error opening archive: Unrecognized archive format", true, false},
        {L"tar.exe: Error opening archive: Failed to open 'x.7z'", true, false},
        {L"", true, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.complaint, IsUnrecognisedFormatLine(c.line, c.endedByLineFeed)) << test::Utf8(c.line);
    }
}

TEST(EntryNames, NamesThatWouldLeaveTheWorkFolderAreRefused) {
    const struct {
        const wchar_t* nameLine;
        bool contained;
    } cases[] = {
        {L"a.jpg", true},
        {L"dir/sub/a.jpg", true},
        {L"..a/b..c/a..jpg", true},
        {L"./a.jpg", true},
        {L"../a.jpg", false},
        {L"dir/../../Documents/report.docx", false},
        {L"dir\\..\\..\\x.dll", false},
        {L"dir/..", false},
        {L"..", false},
        {L"/etc/passwd", false},
        {L"\\Windows\\x.dll", false},
        {L"C:/x.dll", false},
        {L"a.jpg:stream", false},
        {L"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.contained, IsContainedNameLine(c.nameLine)) << test::Utf8(c.nameLine);
    }
}

TEST(EntryNames, TargetPathFollowsTheToolsWindowsNames) {
    EXPECT_EQ(L"dir\\sub\\a.jpg", RelativePathFromNameLine(L"dir/sub/a.jpg"));
    EXPECT_EQ(L"[A] T\\a_b_.jpg", RelativePathFromNameLine(L"[A] T/a*b?.jpg"));
    EXPECT_EQ(L"q____.txt", RelativePathFromNameLine(L"q\"<>|.txt"));
}

TEST(EntryNames, FileOutputNamesMustStayInTheHostsFolder) {
    const struct {
        const wchar_t* filename;
        bool plain;
    } cases[] = {
        {L"a.jpg", true}, {L"..a", true}, {L"a b [1].png", true},
        {L"..\\..\\x.dll", false}, {L"a\\b", false}, {L"a/b", false}, {L"C:x", false},
        {L"a:stream", false}, {L".", false}, {L"..", false}, {L"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.plain, IsPlainFileName(c.filename)) << test::Utf8(c.filename);
    }
}

}  // namespace
}  // namespace quarn

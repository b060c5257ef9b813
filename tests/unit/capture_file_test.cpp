// Captured tool output read back as lines: whole lines whatever their length,
// line ends as text mode reads them, bytes in the user's ANSI code page.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bridge/capture_file.h"
#include "tests/support/temp_folder.h"

namespace quarn {
namespace {

struct Line {
    std::wstring text;
    bool endedByLineFeed;
    bool operator==(const Line& other) const {
        return text == other.text && endedByLineFeed == other.endedByLineFeed;
    }
};

std::vector<Line> ReadAll(CaptureReader& reader) {
    std::vector<Line> lines;
    Line line;
    while (reader.ReadLine(line.text, &line.endedByLineFeed)) lines.push_back(line);
    return lines;
}

std::vector<Line> LinesOf(const std::string& bytes) {
    test::TempFolder folder;
    std::wstring path = folder / L"capture.txt";
    test::WriteFileBytes(path, bytes);
    CaptureReader reader;
    EXPECT_TRUE(reader.Open(path.c_str()));
    return ReadAll(reader);
}

TEST(CaptureReader, LineEndsAsTextModeReadsThem) {
    const struct {
        const char* what;
        std::string bytes;
        std::vector<Line> lines;
    } cases[] = {
        {"empty file", "", {}},
        {"line feeds", "a\nb\n", {{L"a", true}, {L"b", true}}},
        {"CR LF", "a\r\nb\r\n", {{L"a", true}, {L"b", true}}},
        {"last line keeps its last character", "a\nlast", {{L"a", true}, {L"last", false}}},
        {"empty lines", "\n\r\n", {{L"", true}, {L"", true}}},
        {"a lone CR stays", "a\rb\n", {{L"a\rb", true}}},
        {"CR before the end of file stays", "a\r", {{L"a\r", false}}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.lines, LinesOf(c.bytes)) << c.what;
    }
}

TEST(CaptureReader, LongLinesArriveWholeSoPairsKeepTheirOrder) {
    std::string longLine(70000, 'x');  // beyond one read chunk too
    std::vector<Line> lines = LinesOf(std::string(300, 'n') + "\n" + longLine + "\nend\n");
    ASSERT_EQ(3u, lines.size());
    EXPECT_EQ(300u, lines[0].text.size());
    EXPECT_EQ(70000u, lines[1].text.size());
    EXPECT_EQ(L"end", lines[2].text);
}

TEST(CaptureReader, BytesAreDecodedInTheUsersAnsiCodePage) {
    // One byte that every single-byte Western code page and code page 932
    // decode alike would prove nothing; compare with the system's own decoding.
    std::string bytes = "caf\xE9.jpg";
    wchar_t expected[32] = {};
    ::MultiByteToWideChar(CP_ACP, 0, bytes.c_str(), -1, expected, 32);
    std::vector<Line> lines = LinesOf(bytes + "\n");
    ASSERT_EQ(1u, lines.size());
    EXPECT_EQ(std::wstring(expected), lines[0].text);
}

TEST(CaptureReader, RewindReadsTheSameLinesAgain) {
    test::TempFolder folder;
    std::wstring path = folder / L"capture.txt";
    test::WriteFileBytes(path, "one\ntwo\n");
    CaptureReader reader;
    ASSERT_TRUE(reader.Open(path.c_str()));
    std::vector<Line> first = ReadAll(reader);
    ASSERT_TRUE(reader.Rewind());
    EXPECT_EQ(first, ReadAll(reader));
    EXPECT_EQ(2u, first.size());
}

TEST(CaptureReader, MissingFileDoesNotOpen) {
    test::TempFolder folder;
    CaptureReader reader;
    EXPECT_FALSE(reader.Open((folder / L"missing.txt").c_str()));
    std::wstring line;
    EXPECT_FALSE(reader.ReadLine(line));
}

}  // namespace
}  // namespace quarn

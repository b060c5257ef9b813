// The narrow exports under code page 932, where the host's paths and names
// and the tool's output are Shift-JIS: Japanese text, lead bytes followed by
// a trail byte equal to '\\', and a character the code page lacks, which the
// tool prints as '?'. Runs with a Japanese locale, which gives Wine's ANSI
// code page 932.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "tests/e2e/support/host_block.h"
#include "tests/e2e/support/plugin_under_test.h"

namespace quarn::e2e {
namespace {

constexpr UINT kShiftJis = 932;

std::string ShiftJis(const std::wstring& text) {
    if (text.empty()) return {};
    int bytes = ::WideCharToMultiByte(kShiftJis, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string out(bytes, '\0');
    ::WideCharToMultiByte(kShiftJis, 0, text.c_str(), static_cast<int>(text.size()), &out[0], bytes, nullptr,
                          nullptr);
    return out;
}

// 写真 (photo), 桜 (cherry blossom), 表 and ソ (both end in the byte '\\'),
// 가 (Hangul, not in the code page).
const std::wstring kFolder = L"\x5199\x771F";
const std::wstring kCherry = L"\x685C";
const std::wstring kTable = L"\x8868";
const std::wstring kSo = L"\x30BD";
const std::wstring kHangul = L"\xAC00";

const std::vector<ListedEntry> kJapaneseAlbum = {
    {kFolder + L"/", 0},
    {kFolder + L"/" + kCherry + L".jpg", 2048},
    {kFolder + L"/" + kHangul + L".jpg", 512},
    {kSo + kTable + L".txt", 100},
};

// The bare names as the listing holds them: the Hangul one as the tool
// printed it.
const std::vector<std::wstring> kListedNames = {kCherry + L".jpg", L"?.jpg", kSo + kTable + L".txt"};
const std::vector<uint32_t> kListedSizes = {2048, 512, 100};

class CodePage932 : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(932u, ::GetACP()) << "these tests need Wine's ANSI code page 932: run them with "
                                       "LANG=ja_JP.UTF-8 (the ja_JP.UTF-8 locale must be installed)";
        ASSERT_TRUE(plugin.loaded()) << plugin.error();
        // The Windows tool prints in the ANSI code page.
        plugin.tool().ScriptListing(kArchiveName, kJapaneseAlbum, kShiftJis);
        archive = plugin.WriteArchive(kFolder + L"\\" + kArchiveName);
    }

    // An archive whose own name holds a '\\' trail byte, in a Japanese folder.
    const std::wstring kArchiveName = L"\x30A2\x30EB\x30D0\x30E0" + kTable + L".tar";  // アルバム表.tar

    PluginUnderTest plugin;
    std::wstring archive;
};

TEST_F(CodePage932, NarrowAndWideListingsAgreeAndNarrowNamesAreShiftJis) {
    HostBlock wideListing;
    HostBlock narrowListing;
    ASSERT_EQ(0, plugin->GetArchiveInfoW(archive.c_str(), 0, 0, wideListing.out()));
    ASSERT_EQ(0, plugin->GetArchiveInfo(ShiftJis(archive).c_str(), 0, 0, narrowListing.out()));

    const std::vector<fileInfoW> wide = ListingRecords<fileInfoW>(wideListing);
    const std::vector<fileInfo> narrow = ListingRecords<fileInfo>(narrowListing);
    ASSERT_EQ(kListedNames.size(), wide.size());
    ASSERT_EQ(kListedNames.size(), narrow.size());
    EXPECT_EQ((kListedNames.size() + 1) * sizeof(fileInfo), narrowListing.bytes());
    for (size_t i = 0; i < kListedNames.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(kListedNames[i], FieldText(wide[i].filename));
        EXPECT_EQ(ShiftJis(kListedNames[i]), FieldText(narrow[i].filename));
        EXPECT_EQ(i, wide[i].position);
        EXPECT_EQ(wide[i].position, narrow[i].position);
        EXPECT_EQ(kListedSizes[i], wide[i].filesize);
        EXPECT_EQ(wide[i].filesize, narrow[i].filesize);
        EXPECT_EQ(kArchiveTime, wide[i].timestamp);
        EXPECT_EQ(wide[i].timestamp, narrow[i].timestamp);
    }
    // Both exports named the same file to the tool.
    const std::vector<std::wstring> once = {plugin.tool().ListCommand(L"tvf", archive),
                                            plugin.tool().ListCommand(L"tf", archive),
                                            plugin.tool().ListCommand(L"tvf", archive)};
    std::vector<std::wstring> twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(twice, plugin.tool().Runs());
}

TEST_F(CodePage932, FileInfoFindsEntriesByTheirShiftJisNames) {
    const struct {
        std::wstring name;  // asked for in Shift-JIS by the narrow export
        size_t listed;
    } cases[] = {
        {kCherry + L".jpg", 0},
        {kCherry + L".JPG", 0},
        {L"?.jpg", 1},
        {kSo + kTable + L".TXT", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.listed);
        fileInfo narrow{};
        fileInfoW wide{};
        ASSERT_EQ(0, plugin->GetFileInfo(ShiftJis(archive).c_str(), 0, ShiftJis(c.name).c_str(), 0, &narrow));
        ASSERT_EQ(0, plugin->GetFileInfoW(archive.c_str(), 0, c.name.c_str(), 0, &wide));
        EXPECT_EQ(ShiftJis(kListedNames[c.listed]), FieldText(narrow.filename));
        EXPECT_EQ(kListedNames[c.listed], FieldText(wide.filename));
        EXPECT_EQ(c.listed, narrow.position);
        EXPECT_EQ(kListedSizes[c.listed], narrow.filesize);
    }
}

TEST_F(CodePage932, NarrowNamesTooLongForTheFieldAreCutOnACharacterBoundary) {
    // 150 double-byte characters: 154 units fit the wide field, 304 bytes do
    // not fit the narrow one's 199.
    const std::wstring name(150, kCherry[0]);
    plugin.tool().ScriptListing(L"long.tar", {{name + L".jpg", 10}}, kShiftJis);
    const std::wstring longArchive = plugin.WriteArchive(L"long.tar");
    HostBlock wide;
    HostBlock narrow;
    ASSERT_EQ(0, plugin->GetArchiveInfoW(longArchive.c_str(), 0, 0, wide.out()));
    ASSERT_EQ(0, plugin->GetArchiveInfo(ShiftJis(longArchive).c_str(), 0, 0, narrow.out()));
    ASSERT_EQ(1u, ListingRecords<fileInfoW>(wide).size());
    ASSERT_EQ(1u, ListingRecords<fileInfo>(narrow).size());
    EXPECT_EQ(name + L".jpg", FieldText(ListingRecords<fileInfoW>(wide)[0].filename));
    EXPECT_EQ(ShiftJis(std::wstring(99, kCherry[0])), FieldText(ListingRecords<fileInfo>(narrow)[0].filename));
}

TEST_F(CodePage932, SupportOfAShiftJisPathAsksTheToolAboutThatFile) {
    char header[2048] = {};
    EXPECT_EQ(1, plugin->IsSupported(ShiftJis(archive).c_str(), reinterpret_cast<DWORD_PTR>(header)));
    EXPECT_EQ(std::vector<std::wstring>{plugin.tool().ListCommand(L"tvf", archive)}, plugin.tool().Runs());
}

TEST_F(CodePage932, PluginInfoCountsWhatItWritesInBytesAndNeverSplitsACharacter) {
    plugin.WriteSettings({std::nullopt, std::nullopt, L"*." + kCherry + L",*.tar"});
    const struct {
        int buflen;
        std::wstring text;
    } cases[] = {
        {100, L"*." + kCherry + L";*.tar"},
        {5, L"*." + kCherry},
        {4, L"*."},  // the double-byte character does not fit whole
        {3, L"*."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.buflen);
        char narrow[128];
        std::fill(std::begin(narrow), std::end(narrow), '#');
        const std::string expected = ShiftJis(c.text);
        EXPECT_EQ(static_cast<int>(expected.size()), plugin->GetPluginInfo(2, narrow, c.buflen));
        EXPECT_EQ(expected, std::string(narrow));
        EXPECT_EQ('#', narrow[c.buflen]) << "nothing written past the buffer";
    }
}

}  // namespace
}  // namespace quarn::e2e

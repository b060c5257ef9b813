// The built plug-in with the real archive tool (the system's bsdtar behind
// tools/wine-tar) on archives packed by 7-Zip, Info-ZIP and bsdtar at build
// time: what a viewer gets from real files, checked against the manifest the
// packing script wrote. The program runs whole under code page 1252, where
// Japanese names cannot pass, and again for its listings and Japanese names
// under 932.
#include <gtest/gtest.h>

#include <windows.h>

#include <iostream>
#include <string>
#include <vector>

#include "tests/e2e/support/host_block.h"
#include "tests/e2e/support/plugin_under_test.h"
#include "tests/e2e/support/real_archives.h"
#include "tests/support/folder_contents.h"
#include "tests/support/temp_folder.h"

namespace quarn::e2e {
namespace {

using test::Exists;
using test::FilesBelow;
using test::ReadFileBytes;
using test::Utf8;

constexpr unsigned kFileInput = 0;
constexpr unsigned kToMemory = 0x100;
constexpr int kSuccess = 0;
constexpr int kUnsupportedFormat = 2;
constexpr int kReadError = 6;
constexpr uint32_t kOneMiB = 1u << 20;
constexpr uint32_t kDefaultLimit = 64u << 20;

struct ArchiveKind {
    const char* label;
    const wchar_t* sample;  // the whole sample tree
    const wchar_t* cut;     // the same broken off inside its last member
};

const ArchiveKind kArchiveKinds[] = {
    {"SevenZip", L"sample.7z", L"cut.7z"},
    {"Zip", L"sample.zip", L"cut.zip"},
    {"Tar", L"sample.tar", L"cut.tar"},
    {"TarGz", L"sample.tar.gz", L"cut.tar.gz"},
};

std::string Describe(const ArchiveMember& member) { return Utf8(member.archive + L": " + member.name); }

// The member of `members` listed as `name`; null when there is none.
const ArchiveMember* Named(const std::vector<ArchiveMember>& members, const std::wstring& name) {
    for (const ArchiveMember& member : members) {
        if (member.name == name) return &member;
    }
    return nullptr;
}

// The admitted member's position: its index among the admitted ones.
uint32_t PositionOf(const std::vector<ArchiveMember>& admitted, const ArchiveMember& member) {
    return static_cast<uint32_t>(&member - admitted.data());
}

// A record's filename and what it should hold for `member`: the wide one as
// UTF-8 (with "?" where the code page, through which the tool printed it,
// lacks a character), the narrow one as the code page's bytes.
std::string FilenameOf(const fileInfoW& record) { return Utf8(FieldText(record.filename)); }
std::string FilenameOf(const fileInfo& record) { return FieldText(record.filename); }
std::string ExpectedFilename(const fileInfoW&, const ArchiveMember& member) {
    return Utf8(AsAnsiCodePageShowsIt(BareName(member.name)));
}
std::string ExpectedFilename(const fileInfo&, const ArchiveMember& member) {
    return AnsiFromWide(BareName(member.name));
}

// The listing's record at `position` stands for `member`: its place, its
// size and its bare name.
template <typename Record>
void ExpectRecordOf(const ArchiveMember& member, size_t position, const Record& record) {
    EXPECT_EQ(record.position, position);
    EXPECT_EQ(record.filesize, member.size);
    EXPECT_EQ(FilenameOf(record), ExpectedFilename(record, member));
}

class RealTool : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(RealArchiveMembers().empty())
            << "no manifest in " << Utf8(RealArchiveFolder()) << "; the build makes it";
        plugin_.WriteSettings({WineTarFolder(), std::nullopt, std::nullopt});
        ASSERT_TRUE(plugin_.loaded()) << plugin_.error();
    }

    void UseSizeLimit(uint32_t megabytes) {
        plugin_.WriteSettings({WineTarFolder(), std::to_wstring(megabytes), std::nullopt});
    }

    int ListWide(const std::wstring& archive, std::vector<fileInfoW>& records) {
        HostBlock block;
        const int result = plugin_->GetArchiveInfoW(archive.c_str(), 0, kFileInput, block.out());
        records = ListingRecords<fileInfoW>(block);
        return result;
    }

    int ListNarrow(const std::wstring& archive, std::vector<fileInfo>& records) {
        HostBlock block;
        const int result = plugin_->GetArchiveInfo(AnsiFromWide(archive).c_str(), 0, kFileInput, block.out());
        records = ListingRecords<fileInfo>(block);
        return result;
    }

    int ExtractWide(const std::wstring& archive, uint32_t position, std::string& bytes) {
        HostBlock block;
        const int result = plugin_->GetFileW(archive.c_str(), static_cast<LONG_PTR>(position),
                                             reinterpret_cast<LPWSTR>(block.out()), kFileInput | kToMemory,
                                             nullptr, 0);
        bytes.assign(static_cast<const char*>(block.get()), block.bytes());
        return result;
    }

    int ExtractNarrow(const std::wstring& archive, uint32_t position, std::string& bytes) {
        HostBlock block;
        const int result = plugin_->GetFile(AnsiFromWide(archive).c_str(), static_cast<LONG_PTR>(position),
                                            reinterpret_cast<LPSTR>(block.out()), kFileInput | kToMemory,
                                            nullptr, 0);
        bytes.assign(static_cast<const char*>(block.get()), block.bytes());
        return result;
    }

    // A fresh folder for file output, so no earlier file stands in the way.
    std::wstring FreshOutputFolder(const std::wstring& name) {
        const std::wstring folder = plugin_.OutputFolder() + L"\\" + name;
        ::CreateDirectoryW(folder.c_str(), nullptr);
        return folder;
    }

    // Files the plug-in and the tool left in the temporary folder, the work
    // folder's tree included. The folders the tool makes for an entry's path
    // stay in the work folder until the plug-in is unloaded; files must not.
    static std::vector<std::wstring> FilesLeftInTemporaryFolder() {
        wchar_t temp[MAX_PATH];
        const DWORD length = ::GetTempPathW(MAX_PATH, temp);
        if (length == 0 || length >= MAX_PATH) return {};
        return FilesBelow(std::wstring(temp, length - 1));
    }

    PluginUnderTest plugin_;
};

class SampleArchive : public RealTool, public ::testing::WithParamInterface<ArchiveKind> {
protected:
    std::wstring Sample() const { return RealArchive(GetParam().sample); }
    std::vector<ArchiveMember> Admitted(uint32_t sizeLimit) const {
        return AdmittedMembers(GetParam().sample, sizeLimit);
    }
};

INSTANTIATE_TEST_SUITE_P(Packers, SampleArchive, ::testing::ValuesIn(kArchiveKinds),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_P(SampleArchive, IsRecognisedAsAnArchive) {
    char head[2048] = {};
    EXPECT_EQ(plugin_->IsSupportedW(Sample().c_str(), reinterpret_cast<DWORD_PTR>(head)), 1);
    EXPECT_EQ(plugin_->IsSupported(AnsiFromWide(Sample()).c_str(), reinterpret_cast<DWORD_PTR>(head)), 1);
}

// Folders and empty files are left out; every other member appears once, at
// the place the tool lists it, with its own size and name, and with the time
// of the archive file rather than its own.
TEST_P(SampleArchive, ListsEveryNonEmptyFileOnceInTheToolsOrder) {
    const std::vector<ArchiveMember> expected = Admitted(kDefaultLimit);
    ASSERT_EQ(LastWriteUnixTime(Sample()), kRealArchiveTime);
    std::vector<fileInfoW> records;
    ASSERT_EQ(ListWide(Sample(), records), kSuccess);
    ASSERT_EQ(records.size(), expected.size());
    for (size_t i = 0; i < records.size(); ++i) {
        SCOPED_TRACE(Describe(expected[i]));
        ExpectRecordOf(expected[i], i, records[i]);
        EXPECT_EQ(records[i].timestamp, kRealArchiveTime);
        EXPECT_EQ(FieldText(records[i].path), L"");
    }
}

TEST_P(SampleArchive, NarrowListingHoldsTheSameRecordsInTheCodePage) {
    const std::vector<ArchiveMember> expected = Admitted(kDefaultLimit);
    std::vector<fileInfo> records;
    ASSERT_EQ(ListNarrow(Sample(), records), kSuccess);
    ASSERT_EQ(records.size(), expected.size());
    for (size_t i = 0; i < records.size(); ++i) {
        SCOPED_TRACE(Describe(expected[i]));
        ExpectRecordOf(expected[i], i, records[i]);
        EXPECT_EQ(records[i].timestamp, kRealArchiveTime);
    }
}

// Every listed position, brackets, spaces, "*" and "?" in names included,
// gives exactly its member's bytes. A name the code page cannot show reaches
// the host with "?" in it and cannot be asked for: it must fail, never
// deliver another member. Nothing is left behind in the temporary folder.
TEST_P(SampleArchive, DeliversEveryListedEntryIntoMemoryWithItsExactBytes) {
    const std::vector<ArchiveMember> expected = Admitted(kDefaultLimit);
    for (const ArchiveMember& member : expected) {
        SCOPED_TRACE(Describe(member));
        std::string bytes;
        const int result = ExtractWide(Sample(), PositionOf(expected, member), bytes);
        if (FitsAnsiCodePage(member.name)) {
            ASSERT_EQ(result, kSuccess);
            EXPECT_EQ(bytes.size(), member.size);
            EXPECT_TRUE(bytes == ContentOf(member)) << "other bytes than the member's";
        } else {
            EXPECT_NE(result, kSuccess);
        }
    }
    EXPECT_EQ(FilesLeftInTemporaryFolder(), std::vector<std::wstring>{});
}

TEST_P(SampleArchive, LeavesOutTheEntryAboveTheLimitAndKeepsLaterPositions) {
    UseSizeLimit(1);
    const std::vector<ArchiveMember> expected = Admitted(kOneMiB);
    ASSERT_EQ(expected.size() + 1, Admitted(kDefaultLimit).size()) << "the sample holds one member above 1 MiB";
    std::vector<fileInfoW> records;
    ASSERT_EQ(ListWide(Sample(), records), kSuccess);
    ASSERT_EQ(records.size(), expected.size());
    for (size_t i = 0; i < records.size(); ++i) {
        SCOPED_TRACE(Describe(expected[i]));
        ExpectRecordOf(expected[i], i, records[i]);
    }
    // The member above the limit comes first: every position after it must
    // still reach its own member. Exactly 1 MiB is still admitted.
    const ArchiveMember* atLimit = Named(expected, L"limit.bin");
    ASSERT_NE(atLimit, nullptr);
    for (const ArchiveMember* member : {&expected.front(), atLimit, &expected.back()}) {
        if (!FitsAnsiCodePage(member->name)) continue;
        SCOPED_TRACE(Describe(*member));
        std::string bytes;
        ASSERT_EQ(ExtractWide(Sample(), PositionOf(expected, *member), bytes), kSuccess);
        EXPECT_TRUE(bytes == ContentOf(*member)) << "other bytes than the member's (" << bytes.size() << " bytes)";
    }
}

// The size column is read in the recent date form ("Oct  1 12:00", single
// digit days padded), the old one ("Mar  4  2015") and for a file written
// while the archive was made; a listing already compares every size, this
// names the cases.
TEST_P(SampleArchive, KeepsTheSizeOfRecentOldAndSingleDigitDayEntries) {
    struct Case {
        const wchar_t* name;
        const char* date;
    };
    const Case cases[] = {
        {L"[Author] Title/001.jpg", "day 1, recent"}, {L"[Author] Title/002.jpg", "day 2, recent"},
        {L"my notes/read me.txt", "day 3, recent"},   {L"写真/桜.jpg", "day 4, recent"},
        {L"写真/cover.jpg", "day 5, recent"},         {L"deep/a/b/c/deep.bin", "day 6, recent"},
        {L"wild/star*.txt", "day 7, recent"},         {L"wild/what?.txt", "day 8, recent"},
        {L"days/nine.bin", "day 9, recent"},          {L"recent.bin", "written while packing"},
        {L"old.bin", "2015-01-01"},                   {L"[Author] Title/cover.jpg", "2015-03-04"},
    };
    const std::vector<ArchiveMember> expected = Admitted(kDefaultLimit);
    std::vector<fileInfoW> records;
    ASSERT_EQ(ListWide(Sample(), records), kSuccess);
    ASSERT_EQ(records.size(), expected.size());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.date);
        const ArchiveMember* member = Named(expected, c.name);
        ASSERT_NE(member, nullptr) << Utf8(c.name);
        EXPECT_EQ(records[PositionOf(expected, *member)].filesize, member->size) << Utf8(c.name);
    }
}

TEST_P(SampleArchive, WritesEntriesIntoTheHostsFolderThroughBothExports) {
    const std::vector<ArchiveMember> expected = Admitted(kDefaultLimit);
    const std::wstring wideFolder = FreshOutputFolder(L"wide");
    const std::wstring narrowFolder = FreshOutputFolder(L"narrow");
    for (const wchar_t* name : {L"[Author] Title/001.jpg", L"my notes/read me.txt", L"one.bin"}) {
        const ArchiveMember* member = Named(expected, name);
        ASSERT_NE(member, nullptr) << Utf8(name);
        SCOPED_TRACE(Describe(*member));
        const LONG_PTR position = PositionOf(expected, *member);
        const std::wstring bare = BareName(member->name);

        ASSERT_EQ(plugin_->GetFileW(Sample().c_str(), position, const_cast<LPWSTR>(wideFolder.c_str()), kFileInput,
                                    nullptr, 0),
                  kSuccess);
        EXPECT_TRUE(ReadFileBytes(wideFolder + L"\\" + bare) == ContentOf(*member));

        std::string narrowFolderBytes = AnsiFromWide(narrowFolder);
        ASSERT_EQ(plugin_->GetFile(AnsiFromWide(Sample()).c_str(), position, &narrowFolderBytes[0], kFileInput,
                                   nullptr, 0),
                  kSuccess);
        EXPECT_TRUE(ReadFileBytes(narrowFolder + L"\\" + bare) == ContentOf(*member));
    }
}

// "*" and "?" cannot stand in a Windows file name: such an entry reaches
// memory (above) but cannot become a file in the host's folder, and no other
// file may appear there in its place.
TEST_P(SampleArchive, RefusesFileOutputUnderANameWindowsForbids) {
    const std::vector<ArchiveMember> expected = Admitted(kDefaultLimit);
    const std::wstring folder = FreshOutputFolder(L"forbidden");
    for (const wchar_t* name : {L"wild/star*.txt", L"wild/what?.txt"}) {
        const ArchiveMember* member = Named(expected, name);
        ASSERT_NE(member, nullptr) << Utf8(name);
        SCOPED_TRACE(Describe(*member));
        EXPECT_NE(plugin_->GetFileW(Sample().c_str(), PositionOf(expected, *member),
                                    const_cast<LPWSTR>(folder.c_str()), kFileInput, nullptr, 0),
                  kSuccess);
    }
    EXPECT_EQ(FilesBelow(folder), std::vector<std::wstring>{});
    EXPECT_EQ(FilesLeftInTemporaryFolder(), std::vector<std::wstring>{});
}

TEST_P(SampleArchive, NarrowExportDeliversTheSameBytesIntoMemory) {
    const std::vector<ArchiveMember> expected = Admitted(kDefaultLimit);
    for (const wchar_t* name : {L"[Author] Title/cover.jpg", L"wild/what?.txt", L"wild/star*.txt", L"one.bin"}) {
        const ArchiveMember* member = Named(expected, name);
        ASSERT_NE(member, nullptr) << Utf8(name);
        SCOPED_TRACE(Describe(*member));
        std::string bytes;
        ASSERT_EQ(ExtractNarrow(Sample(), PositionOf(expected, *member), bytes), kSuccess);
        EXPECT_TRUE(bytes == ContentOf(*member)) << "other bytes than the member's (" << bytes.size() << " bytes)";
    }
}

// Names taken literally, "*" and "?" included; the first of two equal bare
// names is the one found.
TEST_P(SampleArchive, FindsEntriesByTheirBareName) {
    const std::vector<ArchiveMember> expected = Admitted(kDefaultLimit);
    for (const wchar_t* name :
         {L"my notes/read me.txt", L"wild/star*.txt", L"wild/what?.txt", L"[Author] Title/cover.jpg"}) {
        const ArchiveMember* member = Named(expected, name);
        ASSERT_NE(member, nullptr) << Utf8(name);
        const std::wstring bare = BareName(member->name);
        const ArchiveMember* first = member;
        for (const ArchiveMember& other : expected) {
            if (BareName(other.name) == bare) {
                first = &other;
                break;
            }
        }
        SCOPED_TRACE(Describe(*first));

        fileInfoW wide{};
        ASSERT_EQ(plugin_->GetFileInfoW(Sample().c_str(), 0, bare.c_str(), kFileInput, &wide), kSuccess);
        EXPECT_EQ(wide.position, PositionOf(expected, *first));
        EXPECT_EQ(wide.filesize, first->size);
        EXPECT_EQ(FieldText(wide.filename), bare);

        fileInfo narrow{};
        ASSERT_EQ(plugin_->GetFileInfo(AnsiFromWide(Sample()).c_str(), 0, AnsiFromWide(bare).c_str(), kFileInput,
                                       &narrow),
                  kSuccess);
        EXPECT_EQ(narrow.position, PositionOf(expected, *first));
        EXPECT_EQ(narrow.filesize, first->size);
    }
}

// An archive broken off inside its last member's data: the tool lists what
// it could read, or nothing. Whatever the plug-in lists must be members of
// the archive in its order, and each must either give exactly the member's
// bytes or fail: a member whose data was cut must never arrive as if whole.
TEST_P(SampleArchive, CutCopyListsWhatTheToolReadAndNeverDeliversWrongBytes) {
    const std::wstring cut = RealArchive(GetParam().cut);
    const std::vector<ArchiveMember> whole = Admitted(kDefaultLimit);
    char head[2048] = {};
    const int supported = plugin_->IsSupportedW(cut.c_str(), reinterpret_cast<DWORD_PTR>(head));
    std::vector<fileInfoW> records;
    const int listed = ListWide(cut, records);
    std::cout << "[ observed ] " << Utf8(GetParam().cut) << ": IsSupportedW " << supported << ", GetArchiveInfoW "
              << listed << ", " << records.size() << " of " << whole.size() << " entries\n";
    if (listed != kSuccess) {
        EXPECT_TRUE(listed == kUnsupportedFormat || listed == kReadError) << listed;
        EXPECT_TRUE(records.empty());
        return;
    }
    ASSERT_LE(records.size(), whole.size());
    for (size_t i = 0; i < records.size(); ++i) {
        SCOPED_TRACE(Describe(whole[i]));
        ExpectRecordOf(whole[i], i, records[i]);
        if (!FitsAnsiCodePage(whole[i].name)) continue;
        std::string bytes;
        const int result = ExtractWide(cut, static_cast<uint32_t>(i), bytes);
        std::cout << "[ observed ]   " << Describe(whole[i]) << ": GetFileW " << result << "\n";
        if (result == kSuccess) {
            EXPECT_TRUE(bytes == ContentOf(whole[i]))
                << "delivered " << bytes.size() << " bytes that are not the member's";
        }
    }
    EXPECT_EQ(FilesLeftInTemporaryFolder(), std::vector<std::wstring>{});
}

// Under code page 932 Japanese names pass both ways: the wide record holds
// the UTF-16 name, the narrow one its 932 bytes (表 ends in a backslash
// byte), the 932 name finds the entry, and both exports deliver it, into
// memory and into a file of that name.
TEST_P(SampleArchive, JapaneseNamesRoundTripUnderCodePage932) {
    if (::GetACP() != 932) GTEST_SKIP() << "runs under code page 932 only (LANG=ja_JP.UTF-8)";
    struct Case {
        const wchar_t* name;
        const char* narrowBareName;
    };
    const Case cases[] = {
        {L"写真/桜.jpg", "\x8d\xf7.jpg"},
        {L"写真/古い/富士山.jpg", "\x95\x78\x8e\x6d\x8e\x52.jpg"},
        {L"写真/表紙.jpg", "\x95\x5c\x8e\x86.jpg"},
    };
    const std::vector<ArchiveMember> expected = Admitted(kDefaultLimit);
    std::vector<fileInfoW> wideRecords;
    ASSERT_EQ(ListWide(Sample(), wideRecords), kSuccess);
    std::vector<fileInfo> narrowRecords;
    ASSERT_EQ(ListNarrow(Sample(), narrowRecords), kSuccess);
    ASSERT_EQ(wideRecords.size(), expected.size());
    ASSERT_EQ(narrowRecords.size(), expected.size());
    const std::wstring folder = FreshOutputFolder(L"japanese");
    for (const Case& c : cases) {
        const ArchiveMember* member = Named(expected, c.name);
        ASSERT_NE(member, nullptr) << Utf8(c.name);
        SCOPED_TRACE(Describe(*member));
        const uint32_t position = PositionOf(expected, *member);
        const std::wstring bare = BareName(member->name);
        EXPECT_EQ(Utf8(FieldText(wideRecords[position].filename)), Utf8(bare));
        EXPECT_EQ(FieldText(narrowRecords[position].filename), c.narrowBareName);

        fileInfo found{};
        ASSERT_EQ(plugin_->GetFileInfo(AnsiFromWide(Sample()).c_str(), 0, c.narrowBareName, kFileInput, &found),
                  kSuccess);
        EXPECT_EQ(found.position, position);
        EXPECT_EQ(found.filesize, member->size);
        fileInfoW foundWide{};
        ASSERT_EQ(plugin_->GetFileInfoW(Sample().c_str(), 0, bare.c_str(), kFileInput, &foundWide), kSuccess);
        EXPECT_EQ(foundWide.position, position);

        std::string bytes;
        ASSERT_EQ(ExtractWide(Sample(), position, bytes), kSuccess);
        EXPECT_TRUE(bytes == ContentOf(*member)) << "wide export: other bytes than the member's";
        ASSERT_EQ(ExtractNarrow(Sample(), position, bytes), kSuccess);
        EXPECT_TRUE(bytes == ContentOf(*member)) << "narrow export: other bytes than the member's";
        ASSERT_EQ(plugin_->GetFileW(Sample().c_str(), position, const_cast<LPWSTR>(folder.c_str()), kFileInput,
                                    nullptr, 0),
                  kSuccess);
        EXPECT_TRUE(ReadFileBytes(folder + L"\\" + bare) == ContentOf(*member)) << "file output";
    }
}

// Files that are no archive: prose and a picture. The tool says it does not
// recognise them, and the plug-in says the same through every export.
class NotAnArchive : public RealTool, public ::testing::WithParamInterface<const wchar_t*> {};

INSTANTIATE_TEST_SUITE_P(Files, NotAnArchive, ::testing::Values(L"notes.txt", L"picture.png"),
                         [](const auto& info) { return Utf8(info.param).substr(0, Utf8(info.param).find('.')); });

TEST_P(NotAnArchive, IsRefusedByEveryExport) {
    const std::wstring path = RealArchive(GetParam());
    char head[2048] = {};
    EXPECT_EQ(plugin_->IsSupportedW(path.c_str(), reinterpret_cast<DWORD_PTR>(head)), 0);
    EXPECT_EQ(plugin_->IsSupported(AnsiFromWide(path).c_str(), reinterpret_cast<DWORD_PTR>(head)), 0);
    std::vector<fileInfoW> wide;
    EXPECT_EQ(ListWide(path, wide), kUnsupportedFormat);
    std::vector<fileInfo> narrow;
    EXPECT_EQ(ListNarrow(path, narrow), kUnsupportedFormat);
    std::string bytes;
    EXPECT_EQ(ExtractWide(path, 0, bytes), kUnsupportedFormat);
    EXPECT_TRUE(bytes.empty());
}

// bsdtar takes a text of one word a line for an mtree file list: to the tool
// it is an archive of entries without size, which no listing admits. The
// plug-in follows the tool: the file is supported and lists nothing.
TEST_F(RealTool, WordListTheToolReadsAsAFileListGivesAnEmptyListing) {
    const std::wstring path = RealArchive(L"names.txt");
    char head[2048] = {};
    EXPECT_EQ(plugin_->IsSupportedW(path.c_str(), reinterpret_cast<DWORD_PTR>(head)), 1);
    std::vector<fileInfoW> records;
    EXPECT_EQ(ListWide(path, records), kSuccess);
    EXPECT_TRUE(records.empty());
    std::string bytes;
    EXPECT_NE(ExtractWide(path, 0, bytes), kSuccess);
}

TEST_F(RealTool, UnloadingRemovesTheWorkFolder) {
    const std::wstring archive = RealArchive(L"sample.zip");
    std::vector<fileInfoW> records;
    ASSERT_EQ(ListWide(archive, records), kSuccess);
    ASSERT_FALSE(records.empty());
    std::string bytes;
    ASSERT_EQ(ExtractWide(archive, static_cast<uint32_t>(records.size() - 1), bytes), kSuccess);
    ASSERT_TRUE(Exists(PluginUnderTest::WorkFolder()));
    plugin_.Unload();
    EXPECT_FALSE(Exists(PluginUnderTest::WorkFolder()));
}

}  // namespace
}  // namespace quarn::e2e

// The eight query and information exports of the built plug-in, called as a
// host calls them, with the tool double scripted per archive.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "plugin/unique_handles.h"
#include "tests/e2e/support/host_block.h"
#include "tests/e2e/support/host_text.h"
#include "tests/e2e/support/plugin_under_test.h"

namespace quarn::e2e {
namespace {

// An album as the tool lists it: folders and an empty file among the files,
// which the listing leaves out, and a name with a blank.
const std::vector<ListedEntry> kAlbum = {
    {L"photos/", 0},
    {L"photos/IMG_0001.JPG", 52431},
    {L"photos/empty.txt", 0},
    {L"photos/raw/", 0},
    {L"photos/raw/IMG 0002.CR2", 1048576},
    {L"readme.txt", 12},
    {L"big.bin", 1048577},
};

struct ExpectedRecord {
    uint32_t position;
    std::wstring filename;
    uint32_t size;
};

const std::vector<ExpectedRecord> kAlbumRecords = {
    {0, L"IMG_0001.JPG", 52431},
    {1, L"IMG 0002.CR2", 1048576},
    {2, L"readme.txt", 12},
    {3, L"big.bin", 1048577},
};

std::wstring FilenameOf(const fileInfoW& record) { return FieldText(record.filename); }
std::wstring FilenameOf(const fileInfo& record) {
    const std::string text = FieldText(record.filename);
    if (text.empty()) return {};
    std::wstring wide(text.size(), L'\0');
    int units = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0],
                                      static_cast<int>(wide.size()));
    wide.resize(units > 0 ? units : 0);
    return wide;
}

// The method field: "TAR" in UTF-16 in the wide record; its first byte only
// in the narrow one, which takes the wide field's bytes up to the first zero.
std::string MethodOf(const fileInfoW&) { return std::string("T\0A\0R\0\0\0", 8); }
std::string MethodOf(const fileInfo&) { return std::string("T\0\0\0\0\0\0\0", 8); }

template <typename Record>
void ExpectRecord(const ExpectedRecord& expected, const Record& record, int64_t archiveTime) {
    EXPECT_EQ(MethodOf(record), MethodBytes(record.method)) << test::Utf8(expected.filename);
    EXPECT_EQ(expected.position, record.position) << test::Utf8(expected.filename);
    EXPECT_EQ(expected.size, record.filesize) << test::Utf8(expected.filename);
    EXPECT_EQ(archiveTime, record.timestamp) << test::Utf8(expected.filename);
    EXPECT_EQ(0, record.path[0]) << test::Utf8(expected.filename);
    EXPECT_EQ(expected.filename, FilenameOf(record));
}

// A listing block holds the expected records in order, then its terminator,
// and nothing more.
template <typename Record>
void ExpectListing(const std::vector<ExpectedRecord>& expected, const HostBlock& listing,
                   int64_t archiveTime = kArchiveTime) {
    ASSERT_NE(nullptr, listing.get());
    EXPECT_EQ((expected.size() + 1) * sizeof(Record), listing.bytes());
    const std::vector<Record> records = ListingRecords<Record>(listing);
    ASSERT_EQ(expected.size(), records.size());
    for (size_t i = 0; i < expected.size(); ++i) ExpectRecord(expected[i], records[i], archiveTime);
}

// What the record variables hold before a call, to show an export left
// them alone.
template <typename Record>
Record Untouched() {
    Record record;
    std::memset(&record, 0xCD, sizeof record);
    return record;
}

template <typename Record>
bool SameBytes(const Record& a, const Record& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

class QueryExports : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(plugin.loaded()) << plugin.error(); }

    ToolDouble& tool() { return plugin.tool(); }

    // An archive file whose listing the double plays back.
    std::wstring Archive(const std::wstring& name, const std::vector<ListedEntry>& entries = kAlbum) {
        tool().ScriptListing(name, entries);
        return plugin.WriteArchive(name);
    }

    std::wstring Probe(const std::wstring& archive) const { return plugin.tool().ListCommand(L"tvf", archive); }
    // The runs of `times` listings: each the probe, the name listing and the
    // verbose listing.
    std::vector<std::wstring> ListingRuns(const std::wstring& archive, int times = 1) const {
        std::vector<std::wstring> runs;
        for (int i = 0; i < times; ++i) {
            runs.insert(runs.end(), {Probe(archive), plugin.tool().ListCommand(L"tf", archive),
                                     plugin.tool().ListCommand(L"tvf", archive)});
        }
        return runs;
    }

    PluginUnderTest plugin;
};

// ---------------------------------------------------------------- GetArchiveInfoW / GetArchiveInfo

TEST_F(QueryExports, WideListingHoldsEveryFileInOrderWithTheArchiveTime) {
    const std::wstring archive = Archive(L"album.tar");
    HostBlock listing;
    ASSERT_EQ(0, plugin->GetArchiveInfoW(archive.c_str(), 0, 0, listing.out()));
    ExpectListing<fileInfoW>(kAlbumRecords, listing);
}

TEST_F(QueryExports, NarrowListingHoldsTheSameRecords) {
    const std::wstring archive = Archive(L"album.tar");
    HostBlock listing;
    ASSERT_EQ(0, plugin->GetArchiveInfo(Narrow(archive).c_str(), 0, 0, listing.out()));
    ExpectListing<fileInfo>(kAlbumRecords, listing);
}

TEST_F(QueryExports, RecordsCarryTheArchiveFilesOwnLastWriteTime) {
    const int64_t times[] = {0, 86400, 1234567890, 2147483647};
    for (int64_t time : times) {
        tool().ScriptListing(L"dated.tar", {{L"a.txt", 1}});
        const std::wstring archive = plugin.WriteArchive(L"dated.tar", kArchiveBytes, time);
        HostBlock wide;
        HostBlock narrow;
        ASSERT_EQ(0, plugin->GetArchiveInfoW(archive.c_str(), 0, 0, wide.out())) << time;
        ASSERT_EQ(0, plugin->GetArchiveInfo(Narrow(archive).c_str(), 0, 0, narrow.out())) << time;
        ExpectListing<fileInfoW>({{0, L"a.txt", 1}}, wide, time);
        ExpectListing<fileInfo>({{0, L"a.txt", 1}}, narrow, time);
    }
}

TEST_F(QueryExports, EveryListingRunsTheToolThreeTimesAndLeavesNoCaptureBehind) {
    const std::wstring archive = Archive(L"album one.tar");
    HostBlock first;
    HostBlock second;
    HostBlock narrow;
    ASSERT_EQ(0, plugin->GetArchiveInfoW(archive.c_str(), 0, 0, first.out()));
    EXPECT_EQ(ListingRuns(archive), tool().Runs());
    EXPECT_EQ(std::vector<std::wstring>{}, PluginUnderTest::WorkFolderEntries());

    ASSERT_EQ(0, plugin->GetArchiveInfoW(archive.c_str(), 0, 0, second.out()));
    ASSERT_EQ(0, plugin->GetArchiveInfo(Narrow(archive).c_str(), 0, 0, narrow.out()));
    EXPECT_EQ(ListingRuns(archive, 3), tool().Runs());
    EXPECT_EQ(std::vector<std::wstring>{}, PluginUnderTest::WorkFolderEntries());
}

TEST_F(QueryExports, SizeLimitLeavesOutLargerEntriesAndStaysWithinItsBounds) {
    const std::vector<ListedEntry> sizes = {
        {L"one.bin", 1},
        {L"1mib.bin", 1048576},
        {L"1mib+1.bin", 1048577},
        {L"64mib.bin", 67108864},
        {L"64mib+1.bin", 67108865},
        {L"2047mib.bin", 2146435072},
        {L"2047mib+1.bin", 2146435073},
        {L"4gib.bin", 4294967296},
    };
    const std::vector<std::wstring> upTo64MiB = {L"one.bin", L"1mib.bin", L"1mib+1.bin", L"64mib.bin"};
    const std::vector<std::wstring> upTo2047MiB = {L"one.bin",     L"1mib.bin",    L"1mib+1.bin",
                                                   L"64mib.bin",   L"64mib+1.bin", L"2047mib.bin"};
    const struct {
        std::optional<std::wstring> maxMB;
        std::vector<std::wstring> listed;
    } cases[] = {
        {std::nullopt, upTo64MiB},
        {L"64", upTo64MiB},
        {L"1", {L"one.bin", L"1mib.bin"}},
        {L"0", {}},
        {L"-3", {}},
        {L"2047", upTo2047MiB},
        {L"5000", upTo2047MiB},
    };
    const std::wstring archive = Archive(L"sizes.tar", sizes);
    for (const auto& c : cases) {
        SCOPED_TRACE("maxMB=" + test::Utf8(c.maxMB.value_or(L"(none)")));
        plugin.WriteSettings({std::nullopt, c.maxMB, std::nullopt});
        HostBlock listing;
        ASSERT_EQ(0, plugin->GetArchiveInfoW(archive.c_str(), 0, 0, listing.out()));
        std::vector<std::wstring> listed;
        for (const fileInfoW& record : ListingRecords<fileInfoW>(listing)) listed.push_back(FilenameOf(record));
        EXPECT_EQ(c.listed, listed);
        EXPECT_EQ((c.listed.size() + 1) * sizeof(fileInfoW), listing.bytes());
    }
}

TEST_F(QueryExports, ToolInAFolderWithBlanksIsRunByItsUnquotedPath) {
    ToolDouble spaced(plugin.root() + L"\\my tools");
    ASSERT_TRUE(spaced.ready()) << spaced.error();
    spaced.ScriptListing(L"album.tar", kAlbum);
    plugin.WriteSettings({spaced.folder(), std::nullopt, std::nullopt});
    const std::wstring archive = plugin.WriteArchive(L"album.tar");
    HostBlock listing;
    ASSERT_EQ(0, plugin->GetArchiveInfoW(archive.c_str(), 0, 0, listing.out()));
    ExpectListing<fileInfoW>(kAlbumRecords, listing);
    // The plug-in gives the path as it is; Wine, unlike Windows, hands the
    // started program a path with a blank in quotes.
    const std::vector<std::wstring> runs = spaced.Runs();
    for (const std::wstring& program : {spaced.path(), L"\"" + spaced.path() + L"\""}) {
        const std::wstring archiveArgument = L" \"" + archive + L"\"";
        if (runs.size() == 3 && runs[0] == program + L" tvf" + archiveArgument) {
            EXPECT_EQ(std::vector<std::wstring>({program + L" tvf" + archiveArgument, program + L" tf" + archiveArgument,
                                                 program + L" tvf" + archiveArgument}),
                      runs);
            return;
        }
    }
    ADD_FAILURE() << "runs: " << testing::PrintToString(runs);
}

TEST_F(QueryExports, ArchivesWithNothingToListGiveOnlyTheTerminator) {
    const struct {
        const char* what;
        std::string names;
        std::string verbose;
    } cases[] = {
        {"folders and empty files only",
         NameListing({{L"d/", 0}, {L"d/e/", 0}, {L"d/zero.txt", 0}}),
         VerboseListing({{L"d/", 0}, {L"d/e/", 0}, {L"d/zero.txt", 0}})},
        {"a tool that prints nothing", "", ""},
    };
    for (const auto& c : cases) {
        tool().Script(L"empty.tar", L"tf", c.names);
        tool().Script(L"empty.tar", L"tvf", c.verbose);
        const std::wstring archive = plugin.WriteArchive(L"empty.tar");
        HostBlock wide;
        HostBlock narrow;
        ASSERT_EQ(0, plugin->GetArchiveInfoW(archive.c_str(), 0, 0, wide.out())) << c.what;
        ASSERT_EQ(0, plugin->GetArchiveInfo(Narrow(archive).c_str(), 0, 0, narrow.out())) << c.what;
        ExpectListing<fileInfoW>({}, wide);
        ExpectListing<fileInfo>({}, narrow);
    }
}

TEST_F(QueryExports, LongLinesAndListingsLargerThanOneReadKeepNamesPairedWithSizes) {
    // A name line of 304 characters (longer than any path) among the first,
    // then enough entries that each capture spans several reads.
    const std::wstring longName = std::wstring(150, L'd') + L"/" + std::wstring(149, L'n') + L".bin";
    std::vector<ListedEntry> entries = {{longName, 111}, {L"after.txt", 222}};
    std::vector<ExpectedRecord> expected = {{0, std::wstring(149, L'n') + L".bin", 111}, {1, L"after.txt", 222}};
    for (uint32_t i = 0; i < 2000; ++i) {
        const std::wstring name = L"bulk-" + std::to_wstring(i) + L".dat";
        entries.push_back({L"bulk/" + name, 1000 + i});
        expected.push_back({i + 2, name, 1000 + i});
    }
    const std::wstring archive = Archive(L"long.tar", entries);
    HostBlock listing;
    ASSERT_EQ(0, plugin->GetArchiveInfoW(archive.c_str(), 0, 0, listing.out()));
    ExpectListing<fileInfoW>(expected, listing);
}

TEST_F(QueryExports, ArchiveInfoAnswersInputsItCannotListWithTheirCodes) {
    using Arrange = std::optional<std::wstring> (*)(PluginUnderTest&);
    const struct {
        const char* what;
        Arrange arrange;  // the path to ask for; nullopt asks with a null path
        int32_t offset;
        std::optional<int> code;  // nullopt: any failure
        size_t runs;
    } cases[] = {
        {"missing file", [](PluginUnderTest& p) -> std::optional<std::wstring> { return p.ArchivePath(L"none.tar"); },
         0, 6, 0},
        {"a folder",
         [](PluginUnderTest& p) -> std::optional<std::wstring> { return p.root() + L"\\archives"; }, 0, 6, 0},
        {"seven bytes",
         [](PluginUnderTest& p) -> std::optional<std::wstring> {
             p.tool().ScriptListing(L"short.tar", kAlbum);
             return p.WriteArchive(L"short.tar", "1234567");
         },
         0, 2, 0},
        {"offset at the end",
         [](PluginUnderTest& p) -> std::optional<std::wstring> {
             p.tool().ScriptListing(L"a.tar", kAlbum);
             return p.WriteArchive(L"a.tar", std::string(16, 'x'));
         },
         16, 2, 0},
        {"offset past the end",
         [](PluginUnderTest& p) -> std::optional<std::wstring> {
             p.tool().ScriptListing(L"a.tar", kAlbum);
             return p.WriteArchive(L"a.tar", std::string(16, 'x'));
         },
         1000, 2, 0},
        {"no archive: the tool complains",
         [](PluginUnderTest& p) -> std::optional<std::wstring> { return p.WriteArchive(L"notes.txt"); }, 0, 2, 1},
        {"a tool folder without tar.exe",
         [](PluginUnderTest& p) -> std::optional<std::wstring> {
             p.tool().ScriptListing(L"a.tar", kAlbum);
             p.WriteSettings({p.OutputFolder(), std::nullopt, std::nullopt});
             return p.WriteArchive(L"a.tar");
         },
         0, 2, 0},
        {"null path", [](PluginUnderTest&) -> std::optional<std::wstring> { return std::nullopt; }, 0, std::nullopt,
         0},
        {"path of 300 units",
         [](PluginUnderTest& p) -> std::optional<std::wstring> {
             return p.root() + L"\\" + std::wstring(300 - p.root().size() - 1, L'x');
         },
         0, std::nullopt, 0},
    };
    for (const auto& c : cases) {
        for (bool wide : {true, false}) {
            SCOPED_TRACE(std::string(c.what) + (wide ? " (wide)" : " (narrow)"));
            tool().ClearRuns();
            const std::optional<std::wstring> path = c.arrange(plugin);
            const std::string narrowPath = path ? Narrow(*path) : std::string();
            HostBlock listing;
            int result = wide ? plugin->GetArchiveInfoW(path ? path->c_str() : nullptr, c.offset, 0, listing.out())
                              : plugin->GetArchiveInfo(path ? narrowPath.c_str() : nullptr, c.offset, 0,
                                                       listing.out());
            if (c.code) {
                EXPECT_EQ(*c.code, result);
            } else {
                EXPECT_NE(0, result);
            }
            EXPECT_EQ(nullptr, listing.get());
            EXPECT_EQ(c.runs, tool().Runs().size());
            plugin.WriteSettings({});
        }
    }
}

TEST_F(QueryExports, ArchiveAtAnOffsetIsListedWholeWhenEightBytesAreThere) {
    const std::wstring archive = Archive(L"at-offset.tar");
    plugin.WriteArchive(L"at-offset.tar", std::string(16, 'x'));
    HostBlock listing;
    ASSERT_EQ(0, plugin->GetArchiveInfoW(archive.c_str(), 8, 0, listing.out()));
    ExpectListing<fileInfoW>(kAlbumRecords, listing);
    EXPECT_EQ(ListingRuns(archive), tool().Runs());
}

TEST_F(QueryExports, ArchiveInfoServesOnlyFileInputAndLeavesTheVariableAlone) {
    const std::wstring archive = Archive(L"album.tar");
    const HLOCAL untouched = reinterpret_cast<HLOCAL>(0x5A5A5A5A);
    for (unsigned flag : {1u, 2u, 3u, 4u, 7u, 0x101u}) {
        HLOCAL wide = untouched;
        HLOCAL narrow = untouched;
        EXPECT_EQ(-1, plugin->GetArchiveInfoW(archive.c_str(), 0, flag, &wide)) << flag;
        EXPECT_EQ(-1, plugin->GetArchiveInfo(Narrow(archive).c_str(), 0, flag, &narrow)) << flag;
        EXPECT_EQ(untouched, wide) << flag;
        EXPECT_EQ(untouched, narrow) << flag;
    }
    EXPECT_EQ(-1, plugin->GetArchiveInfoW(archive.c_str(), 0, 0, nullptr));
    EXPECT_EQ(-1, plugin->GetArchiveInfo(Narrow(archive).c_str(), 0, 0, nullptr));
    EXPECT_EQ(std::vector<std::wstring>{}, tool().Runs());
}

// ---------------------------------------------------------------- GetFileInfoW / GetFileInfo

TEST_F(QueryExports, FileInfoFindsAnEntryByItsNameWithoutRegardToCase) {
    const struct {
        std::wstring name;
        int code;
        std::optional<size_t> record;  // index into kAlbumRecords
    } cases[] = {
        {L"IMG_0001.JPG", 0, 0},
        {L"img_0001.jpg", 0, 0},
        {L"README.TXT", 0, 2},
        {L"img 0002.cr2", 0, 1},
        {L"big.bin", 0, 3},
        {L"photos/IMG_0001.JPG", -1, std::nullopt},  // records hold the bare name
        {L"photos", -1, std::nullopt},               // folders are not listed
        {L"empty.txt", -1, std::nullopt},            // nor are empty files
        {L"IMG_0001", -1, std::nullopt},
        {L"missing.jpg", -1, std::nullopt},
    };
    const std::wstring archive = Archive(L"album.tar");
    for (const auto& c : cases) {
        SCOPED_TRACE(test::Utf8(c.name));
        fileInfoW wide{};
        fileInfo narrow{};
        EXPECT_EQ(c.code, plugin->GetFileInfoW(archive.c_str(), 0, c.name.c_str(), 0, &wide));
        EXPECT_EQ(c.code, plugin->GetFileInfo(Narrow(archive).c_str(), 0, Narrow(c.name).c_str(), 0, &narrow));
        if (c.record) {
            ExpectRecord(kAlbumRecords[*c.record], wide, kArchiveTime);
            ExpectRecord(kAlbumRecords[*c.record], narrow, kArchiveTime);
        }
    }
}

TEST_F(QueryExports, FileInfoWithAnEmptyNameFindsTheEntryByPosition) {
    const std::wstring archive = Archive(L"album.tar");
    for (uint32_t position : {0u, 1u, 3u, 4u, 99u}) {
        SCOPED_TRACE(position);
        const int expected = position < kAlbumRecords.size() ? 0 : -1;
        fileInfoW wide{};
        fileInfo narrow{};
        wide.position = narrow.position = position;
        EXPECT_EQ(expected, plugin->GetFileInfoW(archive.c_str(), 0, L"", 0, &wide));
        EXPECT_EQ(expected, plugin->GetFileInfo(Narrow(archive).c_str(), 0, "", 0, &narrow));
        if (expected == 0) {
            ExpectRecord(kAlbumRecords[position], wide, kArchiveTime);
            ExpectRecord(kAlbumRecords[position], narrow, kArchiveTime);
        }
    }
}

TEST_F(QueryExports, FileInfoRefusesWhatItCannotAnswerAndLeavesTheRecordAlone) {
    const std::wstring archive = Archive(L"album.tar");
    const std::wstring notes = plugin.WriteArchive(L"notes.txt");  // the tool complains
    const std::wstring name200(200, L'n');
    const std::wstring name400(400, L'n');
    const struct {
        const char* what;
        std::wstring path;
        const wchar_t* name;
        unsigned flag;
        int code;
        bool wideUntouched;  // the wide record takes the name asked for before the search
    } cases[] = {
        {"name of 200 units", archive, name200.c_str(), 0, -1, true},
        {"name of 400 units", archive, name400.c_str(), 0, -1, true},
        {"null name", archive, nullptr, 0, -1, true},
        {"input other than a file", archive, L"readme.txt", 1, -1, true},
        {"input kind 7", archive, L"readme.txt", 7, -1, true},
        {"missing archive", plugin.ArchivePath(L"none.tar"), L"readme.txt", 0, 6, false},
        {"no archive", notes, L"readme.txt", 0, 2, false},
        {"no such entry", archive, L"missing.jpg", 0, -1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fileInfoW wide = Untouched<fileInfoW>();
        fileInfo narrow = Untouched<fileInfo>();
        const std::string narrowName = c.name != nullptr ? Narrow(c.name) : std::string();
        EXPECT_EQ(c.code, plugin->GetFileInfoW(c.path.c_str(), 0, c.name, c.flag, &wide));
        EXPECT_EQ(c.code, plugin->GetFileInfo(Narrow(c.path).c_str(), 0, c.name != nullptr ? narrowName.c_str() : nullptr,
                                              c.flag, &narrow));
        EXPECT_TRUE(SameBytes(Untouched<fileInfo>(), narrow));
        if (c.wideUntouched) {
            EXPECT_TRUE(SameBytes(Untouched<fileInfoW>(), wide));
        }
    }
    EXPECT_EQ(-1, plugin->GetFileInfoW(archive.c_str(), 0, L"readme.txt", 0, nullptr));
    EXPECT_EQ(-1, plugin->GetFileInfo(Narrow(archive).c_str(), 0, "readme.txt", 0, nullptr));
}

TEST_F(QueryExports, FileInfoListsTheArchiveAfreshEvenRightAfterAListing) {
    const std::wstring archive = Archive(L"album.tar");
    HostBlock listing;
    fileInfoW wide{};
    fileInfo narrow{};
    ASSERT_EQ(0, plugin->GetArchiveInfoW(archive.c_str(), 0, 0, listing.out()));
    ASSERT_EQ(0, plugin->GetFileInfoW(archive.c_str(), 0, L"readme.txt", 0, &wide));
    ASSERT_EQ(0, plugin->GetFileInfo(Narrow(archive).c_str(), 0, "readme.txt", 0, &narrow));
    EXPECT_EQ(ListingRuns(archive, 3), tool().Runs());
    EXPECT_EQ(std::vector<std::wstring>{}, PluginUnderTest::WorkFolderEntries());
}

// ---------------------------------------------------------------- GetPluginInfoW / GetPluginInfo

TEST_F(QueryExports, PluginInfoGivesItsFourTexts) {
    const struct {
        std::optional<std::wstring> ext;
        int infono;
        std::wstring text;
    } cases[] = {
        {std::nullopt, 0, L"00AM"},
        {std::nullopt, 1, L"quarn by Vop"},
        {std::nullopt, 3, L"tar file"},
        {L"*.tar,*.tgz,*.zip", 2, L"*.tar;*.tgz;*.zip"},
        {L"*.7z;*.rar", 2, L"*.7z;*.rar"},
        {L"", 2, L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("infono " + std::to_string(c.infono) + ", ext=" + test::Utf8(c.ext.value_or(L"(none)")));
        plugin.WriteSettings({std::nullopt, std::nullopt, c.ext});
        wchar_t wide[300];
        char narrow[300];
        EXPECT_EQ(static_cast<int>(c.text.size()), plugin->GetPluginInfoW(c.infono, wide, 300));
        EXPECT_EQ(static_cast<int>(c.text.size()), plugin->GetPluginInfo(c.infono, narrow, 300));
        EXPECT_EQ(c.text, std::wstring(wide));
        EXPECT_EQ(Narrow(c.text), std::string(narrow));
    }
}

TEST_F(QueryExports, PluginInfoCutsTextToTheBufferWithItsTerminator) {
    const struct {
        int buflen;
        std::wstring text;
    } cases[] = {
        {5, L"00AM"},
        {4, L"00A"},
        {2, L"0"},
        {1, L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.buflen);
        wchar_t wide[8];
        char narrow[8];
        std::fill(std::begin(wide), std::end(wide), L'#');
        std::fill(std::begin(narrow), std::end(narrow), '#');
        EXPECT_EQ(static_cast<int>(c.text.size()), plugin->GetPluginInfoW(0, wide, c.buflen));
        EXPECT_EQ(static_cast<int>(c.text.size()), plugin->GetPluginInfo(0, narrow, c.buflen));
        EXPECT_EQ(c.text, std::wstring(wide));
        EXPECT_EQ(Narrow(c.text), std::string(narrow));
        EXPECT_EQ(L'#', wide[c.buflen]) << "nothing written past the buffer";
        EXPECT_EQ('#', narrow[c.buflen]) << "nothing written past the buffer";
    }
}

TEST_F(QueryExports, PluginInfoWritesNothingForUnknownNumbersOrAnEmptyBuffer) {
    const struct {
        int infono;
        int buflen;
    } cases[] = {{4, 100}, {-1, 100}, {1000, 100}, {0, 0}, {2, 0}, {0, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE("infono " + std::to_string(c.infono) + ", buflen " + std::to_string(c.buflen));
        wchar_t wide[100];
        char narrow[100];
        std::fill(std::begin(wide), std::end(wide), L'#');
        std::fill(std::begin(narrow), std::end(narrow), '#');
        EXPECT_EQ(0, plugin->GetPluginInfoW(c.infono, wide, c.buflen));
        EXPECT_EQ(0, plugin->GetPluginInfo(c.infono, narrow, c.buflen));
        EXPECT_TRUE(std::all_of(std::begin(wide), std::end(wide), [](wchar_t unit) { return unit == L'#'; }));
        EXPECT_TRUE(std::all_of(std::begin(narrow), std::end(narrow), [](char unit) { return unit == '#'; }));
    }
}

// ---------------------------------------------------------------- IsSupportedW / IsSupported

// A header buffer as hosts pass it: an address, which the plug-in must not
// take for a handle.
char g_header[2048];
DWORD_PTR HeaderAddress() { return reinterpret_cast<DWORD_PTR>(g_header); }

TEST_F(QueryExports, SupportFollowsTheProbesVerdict) {
    const std::string complaint = kUnrecognisedComplaint;
    const std::string capitals = "TAR.EXE: ERROR OPENING ARCHIVE: UNRECOGNIZED ARCHIVE FORMAT";
    const std::string other = "tar: Error opening archive: Unrecognized archive format";
    const std::string listing = VerboseListing(kAlbum);
    const struct {
        const char* what;
        std::optional<std::string> out;  // the verbose run's standard output
        std::optional<std::string> err;  // and its standard error
        std::optional<std::string> names;  // the name listing, which the probe never asks for
        int supported;
    } cases[] = {
        {"a listing", listing, std::nullopt, std::nullopt, 1},
        {"no scenario: the double complains", std::nullopt, std::nullopt, std::nullopt, 0},
        {"complaint on standard error", std::nullopt, complaint + "\r\n", std::nullopt, 0},
        {"complaint on standard output", complaint + "\r\n", std::nullopt, std::nullopt, 0},
        {"complaint in capitals", std::nullopt, capitals + "\r\n", std::nullopt, 0},
        {"complaint of a tool named tar", std::nullopt, other + "\n", std::nullopt, 0},
        {"complaint with a bare line feed", complaint + "\n", std::nullopt, std::nullopt, 0},
        {"complaint after other lines", "first\r\nsecond\r\n" + complaint + "\r\n", std::nullopt, std::nullopt, 0},
        {"complaint after a listing", listing, complaint + "\r\n", std::nullopt, 0},
        {"complaint as a last line without line feed", "first\r\n" + complaint, std::nullopt, std::nullopt, 1},
        {"text before the complaint on its line", "oops " + complaint + "\r\n", std::nullopt, std::nullopt, 1},
        {"text after the complaint on its line", complaint + " again\r\n", std::nullopt, std::nullopt, 1},
        {"complaint with a trailing blank", complaint + " \r\n", std::nullopt, std::nullopt, 1},
        {"empty output", "", std::nullopt, std::nullopt, 1},
        {"complaint only in the name listing", listing, std::nullopt, complaint + "\r\n", 1},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::wstring name = L"probe" + std::to_wstring(++n) + L".bin";
        if (c.out) tool().Script(name, L"tvf", *c.out);
        if (c.err) tool().Script(name, L"tvf.err", *c.err);
        if (c.names) tool().Script(name, L"tf", *c.names);
        const std::wstring archive = plugin.WriteArchive(name);
        tool().ClearRuns();
        EXPECT_EQ(c.supported, plugin->IsSupportedW(archive.c_str(), HeaderAddress()));
        EXPECT_EQ(c.supported, plugin->IsSupported(Narrow(archive).c_str(), HeaderAddress()));
        EXPECT_EQ(std::vector<std::wstring>({Probe(archive), Probe(archive)}), tool().Runs());
    }
    EXPECT_EQ(std::vector<std::wstring>{}, PluginUnderTest::WorkFolderEntries());
}

TEST_F(QueryExports, SupportReadsTheHostsHandleButNeverAnAddress) {
    const std::wstring archive = Archive(L"album.tar");
    const std::wstring notes = plugin.WriteArchive(L"notes.txt");  // the tool complains
    enum class Dw { Zero, HandleAtStart, HandleAtEnd, Address };
    const struct {
        const char* what;
        Dw dw;
        bool isArchive;
        int supported;
        size_t runs;
    } cases[] = {
        {"zero", Dw::Zero, true, 0, 0},
        {"handle at the start, archive", Dw::HandleAtStart, true, 1, 1},
        {"handle at the end, archive", Dw::HandleAtEnd, true, 1, 1},
        {"handle at the end, no archive", Dw::HandleAtEnd, false, 0, 1},
        {"address, archive", Dw::Address, true, 1, 1},
        {"address, no archive", Dw::Address, false, 0, 1},
    };
    for (const auto& c : cases) {
        for (bool wide : {true, false}) {
            SCOPED_TRACE(std::string(c.what) + (wide ? " (wide)" : " (narrow)"));
            const std::wstring& path = c.isArchive ? archive : notes;
            UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                          nullptr));
            ASSERT_TRUE(file.valid());
            ASSERT_EQ(0u, reinterpret_cast<DWORD_PTR>(file.get()) & 0xFFFF0000u) << "a handle as hosts pass it";
            if (c.dw == Dw::HandleAtEnd) ::SetFilePointer(file.get(), 0, nullptr, FILE_END);
            DWORD_PTR dw = 0;
            if (c.dw == Dw::HandleAtStart || c.dw == Dw::HandleAtEnd) dw = reinterpret_cast<DWORD_PTR>(file.get());
            if (c.dw == Dw::Address) dw = HeaderAddress();

            tool().ClearRuns();
            EXPECT_EQ(c.supported, wide ? plugin->IsSupportedW(path.c_str(), dw)
                                        : plugin->IsSupported(Narrow(path).c_str(), dw));
            EXPECT_EQ(c.runs, tool().Runs().size());
            if (c.dw == Dw::HandleAtStart) {
                EXPECT_EQ(8u, ::SetFilePointer(file.get(), 0, nullptr, FILE_CURRENT)) << "eight bytes were read";
            }
        }
    }
}

TEST_F(QueryExports, SupportRefusesWhatIsNoFileWithoutRunningTheTool) {
    tool().ScriptListing(L"folder.tar", kAlbum);
    ::CreateDirectoryW(plugin.ArchivePath(L"folder.tar").c_str(), nullptr);
    const struct {
        const char* what;
        std::optional<std::wstring> path;
    } cases[] = {
        {"missing file", plugin.ArchivePath(L"none.tar")},
        {"a folder", plugin.root() + L"\\archives"},
        {"a folder the tool would list", plugin.ArchivePath(L"folder.tar")},
        {"null path", std::nullopt},
        {"path of 300 units", plugin.root() + L"\\" + std::wstring(300 - plugin.root().size() - 1, L'x')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string narrow = c.path ? Narrow(*c.path) : std::string();
        EXPECT_EQ(0, plugin->IsSupportedW(c.path ? c.path->c_str() : nullptr, HeaderAddress()));
        EXPECT_EQ(0, plugin->IsSupported(c.path ? narrow.c_str() : nullptr, HeaderAddress()));
    }
    EXPECT_EQ(std::vector<std::wstring>{}, tool().Runs());
}

TEST_F(QueryExports, SupportWithoutTheToolIsRefusedWithoutRunningAnything) {
    const std::wstring archive = Archive(L"album.tar");
    plugin.WriteSettings({plugin.OutputFolder(), std::nullopt, std::nullopt});
    EXPECT_EQ(0, plugin->IsSupportedW(archive.c_str(), HeaderAddress()));
    EXPECT_EQ(0, plugin->IsSupported(Narrow(archive).c_str(), HeaderAddress()));
    EXPECT_EQ(std::vector<std::wstring>{}, tool().Runs());
}

}  // namespace
}  // namespace quarn::e2e

// Retrieval of one entry through GetFileW and GetFile of the built plug-in,
// into a memory block or a file in the host's folder, with the tool double
// extracting the members.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/e2e/support/host_block.h"
#include "tests/e2e/support/host_text.h"
#include "tests/e2e/support/plugin_under_test.h"
#include "tests/support/folder_contents.h"

namespace quarn::e2e {
namespace {

using test::Exists;
using test::FilesBelow;
using test::NamesIn;
using test::ReadFileBytes;
using test::Utf8;
using test::WriteFileBytes;

constexpr unsigned kFileOutput = 0;
constexpr unsigned kMemoryOutput = 0x100;

// What the host's variable holds before a call, to show a failing call left
// it alone. Never a block: nothing may free it.
const HLOCAL kHostValue = reinterpret_cast<HLOCAL>(static_cast<uintptr_t>(0x5A5A5A5A));

// The host's variable for a block: holds kHostValue until a call puts a
// block there, which is freed with the variable.
struct HostVariable {
    HLOCAL value = kHostValue;
    HostVariable() = default;
    ~HostVariable() {
        if (value != kHostValue && value != nullptr) ::LocalFree(value);
    }
    HostVariable(const HostVariable&) = delete;
    HostVariable& operator=(const HostVariable&) = delete;
};

// Bytes that are no text, so that any conversion on the way would show.
std::string MemberBytes(size_t size, unsigned seed) {
    std::string bytes(size, '\0');
    unsigned state = seed;
    for (char& byte : bytes) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<char>(state >> 16);
    }
    return bytes;
}

// An entry of a scripted archive: a folder when the name ends in "/" (and
// the bytes are empty), otherwise a member the double extracts.
struct Member {
    std::wstring name;
    std::string bytes;
};

bool IsFolder(const Member& member) { return !member.name.empty() && member.name.back() == L'/'; }

// Folders among the files; the two "same.jpg" share their bare name.
const std::vector<Member> kAlbum = {
    {L"photos/", ""},
    {L"photos/IMG_0001.JPG", MemberBytes(3000, 1)},
    {L"readme.txt", "hello, album"},
    {L"[Author] Title/", ""},
    {L"[Author] Title/001.jpg", MemberBytes(777, 2)},
    {L"a/same.jpg", MemberBytes(100, 3)},
    {L"b/same.jpg", MemberBytes(200, 4)},
};

// The album's files by position, with the name a file output gets.
struct AlbumFile {
    LONG_PTR position;
    std::wstring bareName;
    std::string bytes;
};
const std::vector<AlbumFile> kAlbumFiles = {
    {0, L"IMG_0001.JPG", kAlbum[1].bytes},
    {1, L"readme.txt", kAlbum[2].bytes},
    {2, L"001.jpg", kAlbum[4].bytes},
    {3, L"same.jpg", kAlbum[5].bytes},
    {4, L"same.jpg", kAlbum[6].bytes},
};

std::wstring BareNameOf(const std::wstring& nameLine) { return nameLine.substr(nameLine.rfind(L'/') + 1); }

std::string BlockBytes(HLOCAL block) {
    if (block == nullptr || block == kHostValue) return {};
    return std::string(static_cast<const char*>(block), ::LocalSize(block));
}

const std::vector<std::wstring> kNothing;

class Retrieval : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(plugin.loaded()) << plugin.error();
        ASSERT_NE(nullptr, plugin->GetFileW);
        ASSERT_NE(nullptr, plugin->GetFile);
    }

    ToolDouble& tool() { return plugin.tool(); }

    // An archive file whose listing holds `members` in order and whose double
    // extracts the files among them.
    std::wstring Archive(const std::wstring& name, const std::vector<Member>& members = kAlbum) {
        std::vector<ListedEntry> entries;
        for (const Member& member : members) {
            entries.push_back({member.name, member.bytes.size()});
            if (!IsFolder(member)) tool().ScriptMember(name, member.name, member.bytes);
        }
        tool().ScriptListing(name, entries);
        return plugin.WriteArchive(name);
    }

    int ToMemory(const std::wstring& archive, LONG_PTR position, HLOCAL* block, unsigned flag = kMemoryOutput) {
        return plugin->GetFileW(archive.c_str(), position, reinterpret_cast<LPWSTR>(block), flag, nullptr, 0);
    }

    int ToFolder(const std::wstring& archive, LONG_PTR position, std::wstring folder, unsigned flag = kFileOutput) {
        return plugin->GetFileW(archive.c_str(), position, &folder[0], flag, nullptr, 0);
    }

    // The extraction runs since the last ClearRuns.
    std::vector<std::wstring> ExtractionRuns() {
        std::vector<std::wstring> runs;
        for (const std::wstring& run : tool().Runs()) {
            if (run.find(L" xf ") != std::wstring::npos) runs.push_back(run);
        }
        return runs;
    }

    // The extraction command line for `archive` and a member pattern.
    std::wstring ExtractCommand(const std::wstring& archive, const std::wstring& pattern) {
        return L"\"" + tool().path() + L"\" xf \"" + archive + L"\" -C\"" + PluginUnderTest::WorkFolder() +
               L"\" \"" + pattern + L"\"";
    }

    PluginUnderTest plugin;
    const std::wstring output = plugin.OutputFolder();
};

// ---------------------------------------------------------------- delivery

TEST_F(Retrieval, MemoryOutputHoldsExactlyTheMemberBytes) {
    const std::wstring archive = Archive(L"album.tar");
    for (const AlbumFile& file : kAlbumFiles) {
        SCOPED_TRACE(file.position);
        HostBlock block;
        ASSERT_EQ(0, ToMemory(archive, file.position, block.out()));
        EXPECT_EQ(file.bytes.size(), block.bytes());
        EXPECT_TRUE(file.bytes == BlockBytes(block.get()));
    }
    EXPECT_EQ(kNothing, FilesBelow(PluginUnderTest::WorkFolder())) << "extracted files are deleted; folders stay";
}

TEST_F(Retrieval, FileOutputWritesTheMemberUnderItsBareName) {
    const std::wstring archive = Archive(L"album.tar");
    for (const AlbumFile& file : kAlbumFiles) {
        if (file.position == 4) continue;  // shares its name with position 3
        SCOPED_TRACE(file.position);
        ASSERT_EQ(0, ToFolder(archive, file.position, output));
        EXPECT_TRUE(file.bytes == ReadFileBytes(output + L"\\" + file.bareName));
    }
    const std::vector<std::wstring> written = {L"001.jpg", L"IMG_0001.JPG", L"readme.txt", L"same.jpg"};
    std::vector<std::wstring> names = NamesIn(output);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(written, names) << "no folders of the archive in the host's folder";
}

TEST_F(Retrieval, SecondFileWithTheSameNameIsRefusedAndTheFirstKept) {
    const std::wstring archive = Archive(L"album.tar");
    ASSERT_EQ(0, ToFolder(archive, 3, output));
    EXPECT_EQ(9, ToFolder(archive, 4, output));
    EXPECT_TRUE(kAlbumFiles[3].bytes == ReadFileBytes(output + L"\\same.jpg"));
    EXPECT_EQ(kNothing, FilesBelow(PluginUnderTest::WorkFolder())) << "the refused extraction is not left behind";
}

TEST_F(Retrieval, OutputToMemoryIsChosenByBit8Alone) {
    const std::wstring archive = Archive(L"album.tar");
    const struct {
        unsigned flag;
        bool memory;
    } cases[] = {{0x000, false}, {0x200, false}, {0x400, false}, {0x100, true}, {0x300, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.flag);
        const std::wstring folder = output + L"\\" + std::to_wstring(c.flag);
        ::CreateDirectoryW(folder.c_str(), nullptr);
        if (c.memory) {
            HostBlock block;
            ASSERT_EQ(0, ToMemory(archive, 1, block.out(), c.flag));
            EXPECT_EQ(kAlbumFiles[1].bytes, BlockBytes(block.get()));
        } else {
            // Taken as a block variable, the folder's text would be overwritten
            // and no file would appear.
            ASSERT_EQ(0, ToFolder(archive, 1, folder, c.flag));
            EXPECT_EQ(kAlbumFiles[1].bytes, ReadFileBytes(folder + L"\\readme.txt"));
        }
    }
}

TEST_F(Retrieval, InputOtherThanAFileDoesNothing) {
    const std::wstring archive = Archive(L"album.tar");
    tool().ClearRuns();
    for (unsigned flag : {1u, 2u, 4u, 7u, 0x101u, 0x201u}) {
        SCOPED_TRACE(flag);
        HostVariable block;
        EXPECT_EQ(-1, ToMemory(archive, 1, &block.value, flag | kMemoryOutput));
        EXPECT_EQ(kHostValue, block.value);
        EXPECT_EQ(-1, ToFolder(archive, 1, output, flag & ~kMemoryOutput));
    }
    EXPECT_EQ(kNothing, NamesIn(output));
    EXPECT_EQ(kNothing, tool().Runs());
}

TEST_F(Retrieval, NarrowGetFileDeliversToMemoryAndToAFolder) {
    const std::string archive = Narrow(Archive(L"album.tar"));
    HostBlock block;
    ASSERT_EQ(0, plugin->GetFile(archive.c_str(), 0, reinterpret_cast<LPSTR>(block.out()), kMemoryOutput, nullptr,
                                 0));
    EXPECT_TRUE(kAlbumFiles[0].bytes == BlockBytes(block.get()));

    std::string folder = Narrow(output);
    ASSERT_EQ(0, plugin->GetFile(archive.c_str(), 2, &folder[0], kFileOutput, nullptr, 0));
    EXPECT_TRUE(kAlbumFiles[2].bytes == ReadFileBytes(output + L"\\001.jpg"));

    HostVariable untouched;  // the listing is cached by now: a missing position answers 2
    EXPECT_EQ(2, plugin->GetFile(archive.c_str(), 99, reinterpret_cast<LPSTR>(&untouched.value), kMemoryOutput,
                                 nullptr, 0));
    EXPECT_EQ(kHostValue, untouched.value);
}

// ---------------------------------------------------------------- the record and the runs

TEST_F(Retrieval, AfterArchiveInfoTheRecordComesFromTheCacheAndTheToolRunsThreeTimes) {
    const std::wstring archive = Archive(L"album.tar");
    HostBlock listing;
    ASSERT_EQ(0, plugin->GetArchiveInfoW(archive.c_str(), 0, 0, listing.out()));
    tool().ClearRuns();

    HostBlock block;
    ASSERT_EQ(0, ToMemory(archive, 2, block.out()));
    EXPECT_TRUE(kAlbumFiles[2].bytes == BlockBytes(block.get()));
    // No probe: the listing again to find the entry's name line, then the
    // member with its pattern characters escaped.
    const std::vector<std::wstring> expected = {
        tool().ListCommand(L"tf", archive),
        tool().ListCommand(L"tvf", archive),
        ExtractCommand(archive, L"\\[Author\\] Title/001.jpg"),
    };
    EXPECT_EQ(expected, tool().Runs());
}

TEST_F(Retrieval, PositionBeyondTheListingAnswersByWhereTheListingCameFrom) {
    const struct {
        const char* what;
        bool listedBefore;
        bool memory;
        int code;
    } cases[] = {
        {"fresh listing, memory", false, true, -1},
        {"fresh listing, file", false, false, -1},
        {"listing from the cache, memory", true, true, 2},
        {"listing from the cache, file", true, false, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::wstring archive = Archive(L"album" + std::to_wstring(&c - cases) + L".tar");
        if (c.listedBefore) {
            HostBlock listing;
            ASSERT_EQ(0, plugin->GetArchiveInfoW(archive.c_str(), 0, 0, listing.out()));
        }
        tool().ClearRuns();
        HostVariable block;
        if (c.memory) {
            EXPECT_EQ(c.code, ToMemory(archive, kAlbumFiles.size(), &block.value));
        } else {
            EXPECT_EQ(c.code, ToFolder(archive, kAlbumFiles.size(), output));
        }
        EXPECT_EQ(kHostValue, block.value);
        EXPECT_EQ(kNothing, NamesIn(output));
        EXPECT_EQ(kNothing, ExtractionRuns());
    }
}

TEST_F(Retrieval, ToolProducingNoFileGivesReadError) {
    const struct {
        const char* what;
        bool otherMember;  // false: the double has no members at all
    } cases[] = {{"no members", false}, {"member missing", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::wstring name = L"nofile" + std::to_wstring(&c - cases) + L".tar";
        tool().ScriptListing(name, {{L"gone.jpg", 10}});
        if (c.otherMember) tool().ScriptMember(name, L"other.jpg", "other");
        const std::wstring archive = plugin.WriteArchive(name);
        HostVariable block;
        EXPECT_EQ(6, ToMemory(archive, 0, &block.value));
        EXPECT_EQ(kHostValue, block.value);
        EXPECT_EQ(6, ToFolder(archive, 0, output));
        EXPECT_EQ(kNothing, NamesIn(output));
    }
}

// ---------------------------------------------------------------- the host's folder

TEST_F(Retrieval, FileOutputRefusesUnusableFoldersWithWriteError) {
    const std::wstring name = L"a-file-name-of-exactly-forty-units-1.jpg";
    ASSERT_EQ(40u, name.size());
    const std::wstring archive = Archive(L"host.tar", {{name, "member"}});
    const std::wstring holding = output + L"\\holding";
    WriteFileBytes(holding + L"\\" + name, "the host's own file");
    // The folder itself fits; joined with the name it passes 259 units.
    std::wstring deep = output + L"\\";
    deep += std::wstring(230 - deep.size(), L'd');
    ASSERT_TRUE(::CreateDirectoryW(deep.c_str(), nullptr)) << Utf8(deep);

    const struct {
        const char* what;
        std::wstring folder;
        bool extracts;  // the refusal may come after the extraction
    } cases[] = {
        {"missing folder", output + L"\\missing", true},
        {"file already there", holding, true},
        {"joined path too long", deep, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        tool().ClearRuns();
        EXPECT_EQ(9, ToFolder(archive, 0, c.folder));
        if (!c.extracts) {
            EXPECT_EQ(kNothing, ExtractionRuns());
        }
        EXPECT_EQ(kNothing, PluginUnderTest::WorkFolderEntries()) << "an extracted file is never left behind";
    }
    EXPECT_EQ("the host's own file", ReadFileBytes(holding + L"\\" + name));
    EXPECT_FALSE(Exists(output + L"\\missing"));
    EXPECT_EQ(kNothing, NamesIn(deep));
}

TEST_F(Retrieval, FileOutputRefusesNamesThatAreNoPlainFileName) {
    // Name lines whose part after the last "/" cannot be created as it is in
    // the host's folder; the tool lists a literal backslash as two.
    const std::wstring names[] = {L"dir/..", L"dir/.", L"back\\\\slash.jpg", L"c:drive.jpg", L"file.jpg:stream"};
    for (const std::wstring& name : names) {
        SCOPED_TRACE(Utf8(name));
        const std::wstring archive = Archive(L"odd" + std::to_wstring(&name - names) + L".tar", {{name, "odd"}});
        tool().ClearRuns();
        EXPECT_EQ(9, ToFolder(archive, 0, output));
        EXPECT_EQ(kNothing, ExtractionRuns());
        EXPECT_EQ(kNothing, NamesIn(output));
    }
}

// ---------------------------------------------------------------- the work folder

TEST_F(Retrieval, NamesReachingOutsideTheWorkFolderAreRefusedAndTouchNothing) {
    // The work folder is <root>\temp\quarn and the host's folder <root>\output:
    // canaries stand where the names would reach.
    const std::wstring root = plugin.root();
    ASSERT_EQ(L':', root[1]);
    const std::wstring drive = root.substr(0, 2);
    const std::wstring rootBelowDrive = root.substr(3);
    std::wstring rootWithSlashes = rootBelowDrive;
    for (wchar_t& unit : rootWithSlashes) {
        if (unit == L'\\') unit = L'/';
    }
    const std::wstring canaries[] = {root + L"\\temp\\x", root + L"\\x"};

    const std::wstring names[] = {
        L"../x",
        L"../../x",
        L"a/../../x",
        L"..\\x",
        L"/" + rootWithSlashes + L"/x",
        L"\\" + rootBelowDrive + L"\\x",
        drive + L"/" + rootWithSlashes + L"/x",
        drive + L"x",
        L"a:b",
    };
    for (const std::wstring& name : names) {
        SCOPED_TRACE(Utf8(name));
        for (const std::wstring& canary : canaries) WriteFileBytes(canary, "canary");
        const std::wstring archiveName = L"hostile" + std::to_wstring(&name - names) + L".tar";
        tool().ScriptListing(archiveName, {{name, 5}});
        const std::wstring archive = plugin.WriteArchive(archiveName);
        tool().ClearRuns();

        HostVariable block;
        EXPECT_EQ(6, ToMemory(archive, 0, &block.value));
        EXPECT_EQ(kHostValue, block.value);
        EXPECT_NE(0, ToFolder(archive, 0, output));

        for (const std::wstring& canary : canaries) EXPECT_EQ("canary", ReadFileBytes(canary)) << Utf8(canary);
        EXPECT_EQ(kNothing, ExtractionRuns());
        EXPECT_EQ(kNothing, NamesIn(output));
        EXPECT_EQ(kNothing, PluginUnderTest::WorkFolderEntries());
    }
}

TEST_F(Retrieval, LeftoverAtTheTargetIsDeletedAndTheNextCallDelivers) {
    const std::wstring archive = Archive(L"album.tar");
    const struct {
        LONG_PTR position;
        std::wstring leftover;  // below the work folder
    } cases[] = {{1, L"readme.txt"}, {0, L"photos\\IMG_0001.JPG"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.leftover));
        const std::wstring leftover = PluginUnderTest::WorkFolder() + L"\\" + c.leftover;
        WriteFileBytes(leftover, "left by an earlier run");
        tool().ClearRuns();

        HostVariable block;
        EXPECT_EQ(6, ToMemory(archive, c.position, &block.value));
        EXPECT_EQ(kHostValue, block.value);
        EXPECT_FALSE(Exists(leftover));
        EXPECT_EQ(kNothing, ExtractionRuns());

        HostBlock delivered;
        ASSERT_EQ(0, ToMemory(archive, c.position, delivered.out()));
        EXPECT_TRUE(kAlbumFiles[c.position].bytes == BlockBytes(delivered.get()));
        EXPECT_FALSE(Exists(leftover));
    }
}

TEST_F(Retrieval, EntriesNamedLikeTheCaptureFilesAreNeverDelivered) {
    const struct {
        std::wstring name;
        bool delivered;
    } cases[] = {
        {L"quarn.txt", false},
        {L"quarnv.txt", false},
        {L"QUARN.TXT", false},
        {L"./quarnv.txt", false},
        {L"sub/quarn.txt", true},  // only the top level is the capture files' place
    };
    const std::string member = "member named like a capture file";
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.name));
        const std::wstring index = std::to_wstring(&c - cases);
        const std::wstring archive = Archive(L"captures" + index + L".tar", {{c.name, member}});
        const std::wstring folder = output + L"\\" + index;
        ::CreateDirectoryW(folder.c_str(), nullptr);

        HostVariable block;
        const int memoryResult = ToMemory(archive, 0, &block.value);
        const int fileResult = ToFolder(archive, 0, folder);
        if (c.delivered) {
            EXPECT_EQ(0, memoryResult);
            EXPECT_EQ(member, BlockBytes(block.value));
            EXPECT_EQ(0, fileResult);
            EXPECT_EQ(member, ReadFileBytes(folder + L"\\" + BareNameOf(c.name)));
        } else {
            EXPECT_NE(0, memoryResult);
            EXPECT_EQ(kHostValue, block.value);
            EXPECT_NE(0, fileResult);
            EXPECT_EQ(kNothing, NamesIn(folder));
        }
    }
}

TEST_F(Retrieval, ReadOnlyMemberIsDeliveredEveryTimeAndLeavesNothingBehind) {
    const struct {
        std::wstring name;
        std::vector<std::wstring> workFolderAfter;  // folders the tool made stay until unload
    } cases[] = {
        {L"ro.jpg", {}},
        {L"ro/pic.jpg", {L"ro"}},
    };
    const std::string bytes = MemberBytes(1500, 7);
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.name));
        const std::wstring index = std::to_wstring(&c - cases);
        const std::wstring archiveName = L"readonly" + index + L".tar";
        const std::wstring archive = Archive(archiveName, {{c.name, bytes}});
        ASSERT_TRUE(::SetFileAttributesW(tool().MemberPath(archiveName, c.name).c_str(), FILE_ATTRIBUTE_READONLY));

        for (int round = 0; round < 2; ++round) {
            SCOPED_TRACE(round);
            HostBlock block;
            ASSERT_EQ(0, ToMemory(archive, 0, block.out()));
            EXPECT_TRUE(bytes == BlockBytes(block.get()));
            const std::wstring folder = output + L"\\" + index + L"-" + std::to_wstring(round);
            ::CreateDirectoryW(folder.c_str(), nullptr);
            ASSERT_EQ(0, ToFolder(archive, 0, folder));
            EXPECT_TRUE(bytes == ReadFileBytes(folder + L"\\" + BareNameOf(c.name)));
        }
        EXPECT_EQ(c.workFolderAfter, PluginUnderTest::WorkFolderEntries());
        EXPECT_EQ(kNothing, FilesBelow(PluginUnderTest::WorkFolder()));
    }
}

}  // namespace
}  // namespace quarn::e2e

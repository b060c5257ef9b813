// spihost, the test host for archive plug-ins: its pure parts one by one,
// then the whole program driving a stand-in plug-in.
#include <gtest/gtest.h>

#include <windows.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "plugin/unique_handles.h"
#include "tests/support/built_files.h"
#include "tests/support/temp_folder.h"
#include "tools/spihost/arguments.h"
#include "tools/spihost/code_page.h"
#include "tools/spihost/json.h"
#include "tools/spihost/listing.h"
#include "tools/spihost/result_meaning.h"
#include "tools/spihost/table.h"
#include "tools/spihost/text.h"
#include "tools/spihost/timestamp.h"

namespace quarn::spihost {
namespace {

// ---------------------------------------------------------------- result codes

TEST(ResultMeaning, EveryCodeOfTheInterfaceHasItsMeaning) {
    const struct {
        int code;
        const char* meaning;
    } cases[] = {
        {0, "success"},
        {-1, "not implemented or no such entry"},
        {1, "cancelled by the progress callback"},
        {2, "unknown format"},
        {3, "data broken"},
        {4, "out of memory"},
        {5, "memory error"},
        {6, "file read error"},
        {7, "window error"},
        {8, "internal error"},
        {9, "file write error"},
        {10, "end of file"},
        {11, "unknown result code"},
        {-2, "unknown result code"},
        {INT_MIN, "unknown result code"},
    };
    for (const auto& c : cases) EXPECT_STREQ(c.meaning, DescribeResult(c.code)) << c.code;
}

TEST(ResultMeaning, MessagesShowTheCodeWithItsMeaning) {
    EXPECT_EQ("3 (data broken)", FormatResult(3));
    EXPECT_EQ("-1 (not implemented or no such entry)", FormatResult(-1));
    EXPECT_EQ("42 (unknown result code)", FormatResult(42));
}

// ---------------------------------------------------------------- JSON

TEST(JsonString, EscapesWhatJsonRequiresAndKeepsEveryUnit) {
    const struct {
        std::wstring text;
        std::string json;
    } cases[] = {
        {L"", "\"\""},
        {L"plain.jpg", "\"plain.jpg\""},
        {L"say \"hi\"", "\"say \\\"hi\\\"\""},
        {L"C:\\dir\\a.jpg", "\"C:\\\\dir\\\\a.jpg\""},
        {L"a/b", "\"a/b\""},
        {L"\b\f\n\r\t", "\"\\b\\f\\n\\r\\t\""},
        {std::wstring(L"nul\0x", 5), "\"nul\\u0000x\""},
        {L"\x01\x1F\x7F", "\"\\u0001\\u001f\x7F\""},
        {L"\x5199\x771F/\x685C.jpg", "\"\xE5\x86\x99\xE7\x9C\x9F/\xE6\xA1\x9C.jpg\""},  // 写真/桜.jpg
        {L"\xE9", "\"\xC3\xA9\""},
        {L"\xD83D\xDE00", "\"\xF0\x9F\x98\x80\""},                   // a pair becomes one code point
        {L"a\xD83D", "\"a\\ud83d\""},                               // high surrogate at the end
        {L"\xDE00z", "\"\\ude00z\""},                               // low surrogate alone
        {L"\xDE00\xD83D", "\"\\ude00\\ud83d\""},                    // a pair in the wrong order
        {L"\xD83D\xD83D\xDE00", "\"\\ud83d\xF0\x9F\x98\x80\""},     // lone high before a pair
    };
    for (const auto& c : cases) {
        std::string out;
        AppendJsonString(out, c.text);
        EXPECT_EQ(c.json, out) << testing::PrintToString(Utf8FromWide(c.text));
    }
}

TEST(JsonString, OwnMessagesInUtf8AreEscapedTheSameWay) {
    std::string out;
    AppendJsonString(out, std::string_view("on Z:\\a \"b\"\n\xE5\x86\x99"));
    EXPECT_EQ("\"on Z:\\\\a \\\"b\\\"\\u000a\xE5\x86\x99\"", out);
}

TEST(JsonWriter, PlacesCommasBetweenMembersAndElementsOnly) {
    JsonWriter json;
    json.BeginObject();
    json.Key("a");
    json.Number(-1);
    json.Key("list");
    json.BeginArray();
    json.Number(1);
    json.BeginObject();
    json.Key("ok");
    json.Bool(true);
    json.Key("no");
    json.Bool(false);
    json.EndObject();
    json.BeginArray();
    json.EndArray();
    json.String(L"x");
    json.EndArray();
    json.Key("empty");
    json.BeginObject();
    json.EndObject();
    json.Key("big");
    json.Number(4294967295LL);
    json.EndObject();
    EXPECT_EQ("{\"a\":-1,\"list\":[1,{\"ok\":true,\"no\":false},[],\"x\"],\"empty\":{},\"big\":4294967295}",
              json.text());
}

// ---------------------------------------------------------------- arguments

struct ArgumentCase {
    std::vector<std::wstring> words;
    bool ok;
    Command command;
    bool narrow;
    bool json;
    bool toFile;
    std::wstring plugin;
    std::wstring file;
    std::wstring outputFolder;
    std::wstring error;
};

TEST(Arguments, CommandsOptionsAndOperandsAreReadOrRefusedWithAReason) {
    const ArgumentCase cases[] = {
        {{L"info", L"a.spi"}, true, Command::Info, false, false, false, L"a.spi", L"", L"", L""},
        {{L"supported", L"a.spi", L"x.7z"}, true, Command::Supported, false, false, false, L"a.spi", L"x.7z", L"", L""},
        {{L"--json", L"list", L"a.spi", L"x.7z"}, true, Command::List, false, true, false, L"a.spi", L"x.7z", L"", L""},
        // Options may follow the operands.
        {{L"list", L"a.spi", L"x.7z", L"--narrow", L"--json"}, true, Command::List, true, true, false, L"a.spi",
         L"x.7z", L"", L""},
        {{L"extract", L"a.spi", L"x.7z", L"out", L"--to-file"}, true, Command::Extract, false, false, true, L"a.spi",
         L"x.7z", L"out", L""},
        {{L"extract", L"C:\\\x5199\x771F\\q.spi", L"\x685C.zip", L"D:\\out dir"}, true, Command::Extract, false,
         false, false, L"C:\\\x5199\x771F\\q.spi", L"\x685C.zip", L"D:\\out dir", L""},
        // After "--" and for a lone "-", words are operands.
        {{L"list", L"a.spi", L"--", L"--odd.7z"}, true, Command::List, false, false, false, L"a.spi", L"--odd.7z",
         L"", L""},
        {{L"list", L"a.spi", L"-"}, true, Command::List, false, false, false, L"a.spi", L"-", L"", L""},
        // Help wins over everything else on the line.
        {{L"-h"}, true, Command::Help, false, false, false, L"", L"", L"", L""},
        {{L"list", L"--help"}, true, Command::Help, false, false, false, L"", L"", L"", L""},
        {{L"--bogus", L"--help"}, false, Command::Help, false, false, false, L"", L"", L"", L"unknown option --bogus"},

        {{}, false, Command::Help, false, false, false, L"", L"", L"", L"no command given"},
        {{L"--json"}, false, Command::Help, false, false, false, L"", L"", L"", L"no command given"},
        {{L"unpack", L"a.spi"}, false, Command::Help, false, false, false, L"", L"", L"", L"unknown command unpack"},
        {{L"--verbose", L"info", L"a.spi"}, false, Command::Help, false, false, false, L"", L"", L"", L"unknown option --verbose"},
        {{L"info"}, false, Command::Help, false, false, false, L"", L"", L"", L"usage: spihost [options] info PLUGIN"},
        {{L"list", L"a.spi"}, false, Command::Help, false, false, false, L"", L"", L"", L"usage: spihost [options] list PLUGIN ARCHIVE"},
        {{L"list", L"a.spi", L"x.7z", L"more"}, false, Command::Help, false, false, false, L"", L"", L"", L"usage: spihost [options] list PLUGIN ARCHIVE"},
        {{L"extract", L"a.spi", L"x.7z"}, false, Command::Help, false, false, false, L"", L"", L"", L"usage: spihost [options] extract PLUGIN ARCHIVE OUTDIR"},
        {{L"--to-file", L"list", L"a.spi", L"x.7z"}, false, Command::Help, false, false, false, L"", L"", L"", L"--to-file applies to extract only"},
    };
    for (const ArgumentCase& c : cases) {
        std::wstring line;
        for (const std::wstring& word : c.words) line += L"[" + word + L"]";
        SCOPED_TRACE(Utf8FromWide(line));
        const ParsedArguments parsed = ParseArguments(c.words);
        ASSERT_EQ(c.ok, parsed.ok);
        if (!c.ok) {
            EXPECT_EQ(Utf8FromWide(c.error), Utf8FromWide(parsed.error));
            continue;
        }
        const Arguments& a = parsed.arguments;
        EXPECT_EQ(c.command, a.command);
        if (c.command == Command::Help) continue;
        EXPECT_EQ(c.narrow, a.narrow);
        EXPECT_EQ(c.json, a.json);
        EXPECT_EQ(c.toFile, a.toFile);
        EXPECT_EQ(Utf8FromWide(c.plugin), Utf8FromWide(a.plugin));
        EXPECT_EQ(Utf8FromWide(c.file), Utf8FromWide(a.file));
        EXPECT_EQ(Utf8FromWide(c.outputFolder), Utf8FromWide(a.outputFolder));
    }
}

TEST(Arguments, UsageNamesEveryCommandAndOption) {
    const std::string usage = UsageText();
    for (const char* word : {"info PLUGIN", "supported PLUGIN FILE", "list PLUGIN ARCHIVE",
                             "extract PLUGIN ARCHIVE OUTDIR", "--narrow", "--json", "--to-file", "--help",
                             "OUTDIR\\<position>_<filename>", "OUTDIR\\<position>\\<filename>"}) {
        EXPECT_NE(std::string::npos, usage.find(word)) << word;
    }
}

// ---------------------------------------------------------------- times

TEST(UtcTime, EveryValueOfTheFieldHasItsCalendarDate) {
    const struct {
        int32_t seconds;
        const wchar_t* text;
    } cases[] = {
        {0, L"1970-01-01 00:00:00"},
        {1425427200, L"2015-03-04 00:00:00"},
        {1700000000, L"2023-11-14 22:13:20"},
        {951782400, L"2000-02-29 00:00:00"},  // a century year that is a leap year
        {951868800, L"2000-03-01 00:00:00"},
        {68169600, L"1972-02-29 00:00:00"},
        {1709251199, L"2024-02-29 23:59:59"},
        {-1, L"1969-12-31 23:59:59"},          // before 1970 the day still starts at midnight
        {-31536000, L"1969-01-01 00:00:00"},
        {INT32_MAX, L"2038-01-19 03:14:07"},
        {INT32_MIN, L"1901-12-13 20:45:52"},
    };
    for (const auto& c : cases) EXPECT_EQ(Utf8FromWide(c.text), Utf8FromWide(FormatUtcTime(c.seconds))) << c.seconds;
}

// ---------------------------------------------------------------- text

TEST(Text, Utf8KeepsCharactersAndReplacesLoneSurrogates) {
    EXPECT_EQ("a\xC3\xA9\xE6\xA1\x9C\xF0\x9F\x98\x80", Utf8FromWide(L"a\xE9\x685C\xD83D\xDE00"));
    EXPECT_EQ("\xEF\xBF\xBDx\xEF\xBF\xBD", Utf8FromWide(L"\xD83Dx\xDE00"));
    EXPECT_EQ(std::string("a\0b", 3), Utf8FromWide(std::wstring(L"a\0b", 3)));
}

TEST(Text, WideCharactersTakeTwoColumns) {
    const struct {
        const wchar_t* text;
        size_t width;
    } cases[] = {
        {L"", 0},
        {L"cover.jpg", 9},
        {L"\x5199\x771F", 4},                 // 写真
        {L"\x3055\x304F\x3089.jpg", 10},      // さくら.jpg
        {L"\xFF21", 2},                       // fullwidth A
        {L"\xFF76", 1},                       // halfwidth katakana
        {L"\xE9", 1},
        {L"\xD840\xDC0B", 2},                 // a CJK character beyond the BMP
    };
    for (const auto& c : cases) EXPECT_EQ(c.width, DisplayWidth(c.text)) << Utf8FromWide(c.text);
}

TEST(Text, ControlCharactersAreShownNotObeyed) {
    EXPECT_EQ("a\\x0Ab\\x1B[2Jc\\x7F", Utf8FromWide(EscapeControls(L"a\nb\x1B[2Jc\x7F")));
    EXPECT_EQ("\xE5\x86\x99 \\", Utf8FromWide(EscapeControls(L"\x5199 \\")));
}

TEST(Text, FixedFieldsEndAtTheirTerminatorOrTheirSize) {
    const wchar_t wide[4] = {L'a', L'b', L'\0', L'c'};
    EXPECT_EQ(L"ab", std::wstring(FieldText(wide, 4)));
    const wchar_t full[3] = {L'x', L'y', L'z'};
    EXPECT_EQ(L"xyz", std::wstring(FieldText(full, 3)));
    const char narrow[3] = {'p', 'q', 'r'};
    EXPECT_EQ("pq", std::string(FieldText(narrow, 2)));
}

TEST(Text, MethodReadsAsAsciiOrAsUtf16) {
    const struct {
        unsigned char bytes[8];
        const wchar_t* text;
    } cases[] = {
        {{'T', 0, 'A', 0, 'R', 0, 0, 0}, L"TAR"},
        {{'T', 0, 0, 0, 0, 0, 0, 0}, L"T"},
        {{'l', 'h', '5', 0, 0, 0, 0, 0}, L"lh5"},
        {{'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H'}, L"ABCDEFGH"},  // unterminated
        {{'X', 'Y', 'Z', 'W', 0, 0, 0, 0}, L"XYZW"},
        {{'Z', 0, 'I', 0, 'P', 0, '!', 0}, L"ZIP!"},               // four units, no terminator
        {{0, 'x', 0, 0, 0, 0, 0, 0}, L""},
        {{'a', 0x01, 0xE9, 0, 0, 0, 0, 0}, L"a\\x01\\xE9"},
    };
    for (const auto& c : cases) EXPECT_EQ(Utf8FromWide(c.text), Utf8FromWide(DescribeMethod(c.bytes)));
}

TEST(Text, OnlyPlainNamesCanBeWrittenIntoTheOutputFolder) {
    const struct {
        const wchar_t* name;
        bool plain;
    } cases[] = {
        {L"cover.jpg", true},
        {L"\x685C.jpg", true},
        {L"page 01.png", true},
        {L"[Author] Title.png", true},
        {L".hidden", true},
        {L"CON", true},  // harmless behind the position prefix
        {L"", false},
        {L".", false},
        {L"..", false},
        {L"a\\b.jpg", false},
        {L"a/b.jpg", false},
        {L"..\\..\\evil.dll", false},
        {L"C:evil", false},
        {L"a.jpg:stream", false},
        {L"what?.jpg", false},
        {L"a*b", false},
        {L"a<b>c", false},
        {L"a|b", false},
        {L"say\"hi\"", false},
        {L"line\nbreak", false},
        {L"trailing.", false},
        {L"trailing ", false},
    };
    for (const auto& c : cases) EXPECT_EQ(c.plain, IsPlainFileName(c.name)) << Utf8FromWide(c.name);
}

// ---------------------------------------------------------------- tables

TEST(Table, ColumnsLineUpAfterWideCharactersAndLinesEndWithText) {
    const std::string table = FormatTable({{L"n", Align::Right}, {L"name", Align::Left}, {L"note", Align::Left}},
                                          {{L"7", L"\x5199\x771F", L"x"},
                                           {L"12345", L"ab", L""},
                                           {L"0", L"tab\there", L"last"}});
    EXPECT_EQ(
        "    n  name         note\n"
        "    7  \xE5\x86\x99\xE7\x9C\x9F         x\n"
        "12345  ab\n"
        "    0  tab\\x09here  last\n",
        table);
}

// ---------------------------------------------------------------- listing blocks

fileInfoW WideRecord(uint32_t position, const wchar_t* filename, uint32_t size, int32_t timestamp) {
    fileInfoW record{};
    const unsigned char method[8] = {'T', 0, 'A', 0, 'R', 0, 0, 0};
    std::memcpy(record.method, method, sizeof method);
    record.position = position;
    record.compsize = size + 1;
    record.filesize = size;
    record.timestamp = timestamp;
    ::lstrcpynW(record.filename, filename, 200);
    record.crc = 0xDEADBEEF;
    return record;
}

TEST(ListingBlock, RecordsAreReadUpToTheTerminatingRecord) {
    std::vector<unsigned char> block(3 * sizeof(fileInfoW) + 5, 0xCC);
    const fileInfoW first = WideRecord(0, L"cover.jpg", 11, 1425427200);
    const fileInfoW second = WideRecord(7, L"\x5199\x771F.jpg", 8, -1);
    std::memcpy(block.data(), &first, sizeof first);
    std::memcpy(block.data() + sizeof first, &second, sizeof second);
    block[2 * sizeof(fileInfoW)] = 0;  // only the first byte of the terminating record counts

    const Listing listing = ReadWideListing(block.data(), block.size());
    EXPECT_TRUE(listing.terminated);
    ASSERT_EQ(2u, listing.entries.size());
    const Entry& entry = listing.entries[1];
    EXPECT_EQ(L"TAR", entry.method);
    EXPECT_EQ(7u, entry.position);
    EXPECT_EQ(9u, entry.compsize);
    EXPECT_EQ(8u, entry.filesize);
    EXPECT_EQ(-1, entry.timestamp);
    EXPECT_EQ(L"", entry.path);
    EXPECT_EQ(L"\x5199\x771F.jpg", entry.filename);
    EXPECT_EQ(0xDEADBEEFu, entry.crc);
}

// A block whose last byte sits right before an inaccessible page, so that
// reading one byte past it faults instead of passing unnoticed.
class GuardedBlock {
public:
    explicit GuardedBlock(size_t bytes) : bytes_(bytes) {
        const size_t page = 4096;
        const size_t dataPages = (bytes + page - 1) / page;
        base_ = static_cast<unsigned char*>(
            ::VirtualAlloc(nullptr, (dataPages + 1) * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD previous = 0;
        if (base_ != nullptr) ::VirtualProtect(base_ + dataPages * page, page, PAGE_NOACCESS, &previous);
        data_ = base_ == nullptr ? nullptr : base_ + dataPages * page - bytes;
    }
    ~GuardedBlock() {
        if (base_ != nullptr) ::VirtualFree(base_, 0, MEM_RELEASE);
    }
    GuardedBlock(const GuardedBlock&) = delete;
    GuardedBlock& operator=(const GuardedBlock&) = delete;

    unsigned char* data() const { return data_; }
    size_t size() const { return bytes_; }

private:
    size_t bytes_;
    unsigned char* base_ = nullptr;
    unsigned char* data_ = nullptr;
};

TEST(ListingBlock, BlockEndingWithoutTerminatorIsReportedAndNeverOverread) {
    const fileInfoW record = WideRecord(3, L"a.jpg", 1, 0);
    const unsigned char* recordBytes = reinterpret_cast<const unsigned char*>(&record);
    constexpr size_t kNone = SIZE_MAX;
    constexpr size_t kRecord = sizeof(fileInfoW);
    const struct {
        size_t bytes;         // of the block, filled with copies of `record`
        size_t terminatorAt;  // where a zero byte starts the terminating record
        size_t entries;
        bool terminated;
    } cases[] = {
        {0, kNone, 0, false},
        {1, 0, 0, true},  // a lone zero byte ends an empty listing
        {kRecord, kNone, 1, false},
        {kRecord + 1, kRecord, 1, true},
        {2 * kRecord - 1, kNone, 1, false},  // ends inside the second record
        {3 * kRecord, 2 * kRecord, 2, true},
    };
    for (const auto& c : cases) {
        GuardedBlock block(c.bytes);
        ASSERT_TRUE(c.bytes == 0 || block.data() != nullptr);
        for (size_t i = 0; i < c.bytes; ++i) block.data()[i] = recordBytes[i % kRecord];
        if (c.terminatorAt != kNone) block.data()[c.terminatorAt] = 0;
        const Listing listing = ReadWideListing(block.data(), block.size());
        EXPECT_EQ(c.entries, listing.entries.size()) << c.bytes;
        EXPECT_EQ(c.terminated, listing.terminated) << c.bytes;
    }
}

TEST(ListingBlock, UnterminatedTextFieldsStopAtTheFieldsEnd) {
    fileInfoW record = WideRecord(0, L"", 1, 0);
    for (wchar_t& unit : record.path) unit = L'p';
    for (wchar_t& unit : record.filename) unit = L'f';
    const fileInfoW records[2] = {record, fileInfoW{}};
    const Listing listing = ReadWideListing(records, sizeof records);
    ASSERT_EQ(1u, listing.entries.size());
    EXPECT_EQ(std::wstring(200, L'p'), listing.entries[0].path);
    EXPECT_EQ(std::wstring(200, L'f'), listing.entries[0].filename);
}

TEST(ListingBlock, NarrowRecordsAreReadInTheAnsiCodePage) {
    fileInfo records[2] = {};
    std::memcpy(records[0].method, "T", 1);
    records[0].position = 5;
    records[0].filesize = 42;
    records[0].timestamp = 1425427200;
    std::strcpy(records[0].path, "sub\\dir");
    std::strcpy(records[0].filename, "page 01.png");
    const Listing listing = ReadNarrowListing(records, sizeof records);
    EXPECT_TRUE(listing.terminated);
    ASSERT_EQ(1u, listing.entries.size());
    EXPECT_EQ(L"T", listing.entries[0].method);
    EXPECT_EQ(5u, listing.entries[0].position);
    EXPECT_EQ(42u, listing.entries[0].filesize);
    EXPECT_EQ(L"sub\\dir", listing.entries[0].path);
    EXPECT_EQ(L"page 01.png", listing.entries[0].filename);
}

// ---------------------------------------------------------------- the program

#if defined(SPIHOST_EXE) && defined(FAKE_SPI)

using test::WindowsPathOfBuiltFile;

// Unlike test::WriteFileBytes, fails the test when the file cannot be
// written: every case counts on the stand-in archives being there.
void WriteWholeFile(const std::wstring& path, const std::string& bytes) {
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(file.valid());
    DWORD written = 0;
    ASSERT_TRUE(::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
}

struct ProgramRun {
    DWORD exitCode = 0xFFFFFFFF;
    std::string out;
    std::string err;
};

// A work folder with the stand-in archives, removed afterwards. Each kind of
// archive is told apart by its first bytes.
class SpihostProgram : public testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        ASSERT_GT(::GetTempPathW(MAX_PATH, temp), 0u);
        folder_ = std::wstring(temp) + L"spihost_test_" + std::to_wstring(::GetCurrentProcessId()) + L"_" +
                  std::to_wstring(::GetTickCount());
        ASSERT_TRUE(::CreateDirectoryW(folder_.c_str(), nullptr));
        WriteWholeFile(Path(L"good.fake"), "FAKE archive");
        WriteWholeFile(Path(L"broken.fake"), "FAKE broken");
        WriteWholeFile(Path(L"unterminated.fake"), "FAKE unterminated");
        WriteWholeFile(Path(L"other.bin"), "NOPE, not an archive");
    }
    void TearDown() override { test::RemoveTreeForTest(folder_); }

    std::wstring Path(const std::wstring& name) const { return folder_ + L"\\" + name; }

    // Runs spihost with `arguments`, capturing what it prints.
    ProgramRun Spihost(const std::wstring& arguments) {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        const std::wstring outPath = Path(L"stdout.txt");
        const std::wstring errPath = Path(L"stderr.txt");
        ProgramRun run;
        {
            UniqueFile out(::CreateFileW(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                         0, nullptr));
            UniqueFile err(::CreateFileW(errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                         0, nullptr));
            if (!out || !err) return run;
            STARTUPINFOW startup{};
            startup.cb = sizeof startup;
            startup.dwFlags = STARTF_USESTDHANDLES;
            startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
            startup.hStdOutput = out.get();
            startup.hStdError = err.get();
            std::wstring line = L"\"" + WindowsPathOfBuiltFile(SPIHOST_EXE) + L"\" " + arguments;
            PROCESS_INFORMATION process{};
            if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                                  &process)) {
                return run;
            }
            UniqueHandle processHandle(process.hProcess);
            UniqueHandle threadHandle(process.hThread);
            ::WaitForSingleObject(processHandle.get(), 60000);
            ::GetExitCodeProcess(processHandle.get(), &run.exitCode);
        }
        run.out = test::ReadFileBytes(outPath);
        run.err = test::ReadFileBytes(errPath);
        return run;
    }

    // `words` quoted for the command line.
    static std::wstring Quoted(const std::wstring& word) { return L"\"" + word + L"\""; }
    static std::wstring Plugin() { return Quoted(WindowsPathOfBuiltFile(FAKE_SPI)); }
    std::wstring Archive(const wchar_t* name) const { return Quoted(Path(name)); }

    // `text` as JSON writes a Windows path: each backslash doubled.
    static std::string JsonPath(const std::wstring& path) {
        std::string out;
        for (char c : Utf8FromWide(path)) {
            out += c;
            if (c == '\\') out += '\\';
        }
        return out;
    }

    std::wstring folder_;
};

TEST_F(SpihostProgram, InfoShowsTheFourStringsAndEveryFurtherPair) {
    const ProgramRun run = Spihost(L"info " + Plugin());
    EXPECT_EQ(0u, run.exitCode) << run.err;
    EXPECT_EQ(
        "infono  kind           returned  text\n"
        "     0  API version           4  00AM\n"
        "     1  plug-in name         20  fake archive plug-in\n"
        "     2  file patterns         6  *.fake\n"
        "     3  description          13  Fake archives\n"
        "     4  file patterns         6  *.fak2\n"
        "     5  description          26  Fake archives, second kind\n",
        run.out);
}

TEST_F(SpihostProgram, ListShowsEveryRecordInUtf8AndAsJson) {
    const ProgramRun table = Spihost(L"list " + Plugin() + L" " + Archive(L"good.fake"));
    EXPECT_EQ(0u, table.exitCode) << table.err;
    EXPECT_EQ(
        "position  size  time (UTC)           method  path  filename\n"
        "       0    11  2015-03-04 00:00:00  TAR           cover.jpg\n"
        "       7     8  2023-11-14 22:13:20  TAR           \xE5\x86\x99\xE7\x9C\x9F 1.jpg\n"
        "2 entries\n",
        table.out);

    const ProgramRun json = Spihost(L"--json list " + Plugin() + L" " + Archive(L"good.fake"));
    EXPECT_EQ(0u, json.exitCode) << json.err;
    EXPECT_EQ("{\"plugin\":\"" + JsonPath(WindowsPathOfBuiltFile(FAKE_SPI)) + "\",\"exports\":\"W\",\"archive\":\"" +
                  JsonPath(Path(L"good.fake")) +
                  "\",\"result\":0,\"meaning\":\"success\",\"entries\":["
                  "{\"position\":0,\"compsize\":11,\"filesize\":11,\"timestamp\":1425427200,"
                  "\"time\":\"2015-03-04 00:00:00\",\"method\":\"TAR\",\"path\":\"\",\"filename\":\"cover.jpg\","
                  "\"crc\":0},"
                  "{\"position\":7,\"compsize\":8,\"filesize\":8,\"timestamp\":1700000000,"
                  "\"time\":\"2023-11-14 22:13:20\",\"method\":\"TAR\",\"path\":\"\","
                  "\"filename\":\"\xE5\x86\x99\xE7\x9C\x9F 1.jpg\",\"crc\":0}]}\n",
              json.out);
}

TEST_F(SpihostProgram, ListFailuresGiveTheCodeWithItsMeaning) {
    const ProgramRun unknown = Spihost(L"--json list " + Plugin() + L" " + Archive(L"other.bin"));
    EXPECT_EQ(1u, unknown.exitCode);
    EXPECT_NE(std::string::npos, unknown.out.find("\"result\":2,\"meaning\":\"unknown format\"")) << unknown.out;
    EXPECT_NE(std::string::npos, unknown.err.find("GetArchiveInfoW failed on ")) << unknown.err;
    EXPECT_NE(std::string::npos, unknown.err.find(": 2 (unknown format)")) << unknown.err;

    const ProgramRun unterminated = Spihost(L"list " + Plugin() + L" " + Archive(L"unterminated.fake"));
    EXPECT_EQ(1u, unterminated.exitCode);
    EXPECT_NE(std::string::npos,
              unterminated.err.find("the listing block of 1656 bytes ends without a terminating record"))
        << unterminated.err;
}

TEST_F(SpihostProgram, ExtractWritesEveryEntryByPositionAndName) {
    const std::wstring out = Path(L"out");
    const ProgramRun run = Spihost(L"extract " + Plugin() + L" " + Archive(L"good.fake") + L" " + Quoted(out));
    EXPECT_EQ(0u, run.exitCode) << run.err;
    EXPECT_EQ(
        "[1/2] cover.jpg  11 bytes\n"
        "[2/2] \xE5\x86\x99\xE7\x9C\x9F 1.jpg  8 bytes\n"
        "2 of 2 entries extracted, 19 bytes\n",
        run.out);
    EXPECT_EQ("cover bytes", test::ReadFileBytes(out + L"\\0_cover.jpg"));
    EXPECT_EQ(std::string("\x00\xFF\x80\x7F" "data", 8), test::ReadFileBytes(out + L"\\7_\x5199\x771F 1.jpg"));
}

TEST_F(SpihostProgram, ExtractToFileLetsThePluginWriteIntoAFolderPerPosition) {
    const std::wstring out = Path(L"nested\\out");
    const ProgramRun run =
        Spihost(L"--to-file extract " + Plugin() + L" " + Archive(L"good.fake") + L" " + Quoted(out));
    EXPECT_EQ(0u, run.exitCode) << run.err;
    EXPECT_EQ("cover bytes", test::ReadFileBytes(out + L"\\0\\cover.jpg"));
    EXPECT_EQ(std::string("\x00\xFF\x80\x7F" "data", 8), test::ReadFileBytes(out + L"\\7\\\x5199\x771F 1.jpg"));
}

TEST_F(SpihostProgram, ExtractGoesOnPastAFailingEntryAndFailsOverall) {
    const std::wstring out = Path(L"out");
    const ProgramRun run = Spihost(L"--json extract " + Plugin() + L" " + Archive(L"broken.fake") + L" " + Quoted(out));
    EXPECT_EQ(1u, run.exitCode);
    EXPECT_EQ("cover bytes", test::ReadFileBytes(out + L"\\0_cover.jpg"));
    EXPECT_FALSE(test::Exists(out + L"\\7_\x5199\x771F 1.jpg"));
    EXPECT_NE(std::string::npos,
              run.out.find("\"result\":3,\"meaning\":\"data broken\",\"bytes\":0,\"written\":\"\",\"ok\":false,"
                           "\"error\":\"GetFileW failed: 3 (data broken)\"}],\"failures\":1}"))
        << run.out;
    EXPECT_NE(std::string::npos, run.err.find("position 7 (\xE5\x86\x99\xE7\x9C\x9F 1.jpg): GetFileW failed: 3"))
        << run.err;
}

TEST_F(SpihostProgram, NarrowExportsGiveNamesInTheAnsiCodePage) {
    // Whatever the code page, the name comes back as the plug-in spelled it.
    std::string ansi(64, '\0');
    const int bytes = ::WideCharToMultiByte(CP_ACP, 0, L"\x5199\x771F 1.jpg", -1, ansi.data(), 64, nullptr, nullptr);
    ansi.resize(bytes > 0 ? bytes - 1 : 0);
    const std::wstring name = WideFromAnsi(ansi);

    const ProgramRun list = Spihost(L"--narrow --json list " + Plugin() + L" " + Archive(L"good.fake"));
    EXPECT_EQ(0u, list.exitCode) << list.err;
    EXPECT_NE(std::string::npos, list.out.find("\"exports\":\"narrow\"")) << list.out;
    EXPECT_NE(std::string::npos, list.out.find("\"filename\":\"" + Utf8FromWide(name) + "\"")) << list.out;

    const std::wstring out = Path(L"out");
    const ProgramRun extract = Spihost(L"--narrow extract " + Plugin() + L" " + Archive(L"good.fake") + L" " + Quoted(out));
    EXPECT_EQ("cover bytes", test::ReadFileBytes(out + L"\\0_cover.jpg"));
    if (IsPlainFileName(name)) {
        EXPECT_EQ(0u, extract.exitCode) << extract.err;
        EXPECT_EQ(8u, test::ReadFileBytes(out + L"\\7_" + name).size());
    } else {
        // A code page without the characters gives stand-ins such as '?'.
        EXPECT_EQ(1u, extract.exitCode);
        EXPECT_NE(std::string::npos, extract.err.find("cannot name a file")) << extract.err;
    }
}

TEST_F(SpihostProgram, SupportedAsksWithAHandleAndWithTheHead) {
    const ProgramRun good = Spihost(L"supported " + Plugin() + L" " + Archive(L"good.fake"));
    EXPECT_EQ(0u, good.exitCode) << good.err;
    EXPECT_EQ(
        "given   verdict\n"
        "handle  supported (1)\n"
        "buffer  supported (1)\n",
        good.out);

    const ProgramRun other = Spihost(L"--json supported " + Plugin() + L" " + Archive(L"other.bin"));
    EXPECT_EQ(1u, other.exitCode);
    EXPECT_NE(std::string::npos,
              other.out.find("\"handle\":{\"value\":0,\"supported\":false},"
                             "\"buffer\":{\"value\":0,\"supported\":false}}"))
        << other.out;
}

TEST_F(SpihostProgram, ModulesWithoutTheExportsAreRefusedByName) {
    const ProgramRun wide = Spihost(L"list C:\\windows\\system32\\kernel32.dll " + Archive(L"good.fake"));
    EXPECT_EQ(2u, wide.exitCode);
    EXPECT_NE(std::string::npos, wide.err.find("is not a usable archive plug-in: it does not export GetArchiveInfoW"))
        << wide.err;

    const ProgramRun narrow =
        Spihost(L"--narrow extract C:\\windows\\system32\\kernel32.dll " + Archive(L"good.fake") + L" out");
    EXPECT_EQ(2u, narrow.exitCode);
    EXPECT_NE(std::string::npos, narrow.err.find("it does not export GetArchiveInfo, GetFile")) << narrow.err;

    const ProgramRun missing = Spihost(L"info " + Archive(L"no such.spi"));
    EXPECT_EQ(2u, missing.exitCode);
    EXPECT_NE(std::string::npos, missing.err.find("cannot load the plug-in")) << missing.err;
}

TEST_F(SpihostProgram, BadArgumentsExitWithUsageStatus) {
    const ProgramRun run = Spihost(L"list");
    EXPECT_EQ(2u, run.exitCode);
    EXPECT_EQ("", run.out);
    EXPECT_NE(std::string::npos, run.err.find("usage: spihost [options] list PLUGIN ARCHIVE")) << run.err;
}

#endif  // SPIHOST_EXE && FAKE_SPI

}  // namespace
}  // namespace quarn::spihost

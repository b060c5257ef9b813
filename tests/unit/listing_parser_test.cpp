// The listing parser: sizes from verbose lines as the tool prints them on
// Windows and on Linux, the admission rule, and the two-pass contract.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "bridge/listing_parser.h"
#include "tests/support/line_pairs.h"

namespace quarn {
namespace {

using test::LinePairs;

struct SizeCase {
    const char* what;
    const wchar_t* verbose;
    const wchar_t* name;
    int32_t size;
};

const SizeCase kSizeCases[] = {
    {"year form, two-digit day", L"-rw-r--r--  0 user   group     1234 Jan 01  2020 dir/file.txt",
     L"dir/file.txt", 1234},
    {"time-of-day form (recent entry)", L"-rw-r--r--  0 user   group     1234 Jan 01 12:34 dir/file.txt",
     L"dir/file.txt", 1234},
    {"time of day after a single space", L"-rw-r--r--  0 user   group 987 Jan 01 12:34 a.bin", L"a.bin", 987},
    {"time of day with link count 1", L"-rw-r--r--  1 user   group 987 Jan 01 12:34 a.bin", L"a.bin", 987},
    {"year form after a single space", L"-rw-r--r--  0 user   group 987 Jan 01  2020 a.bin", L"a.bin", 987},
    {"single-digit day, year form (Linux %e)", L"-rw-r--r--  0 root   root     1234 Mar  4  2015 smp/d/old file.bin",
     L"smp/d/old file.bin", 1234},
    {"single-digit day, time form", L"-rw-r--r--  0 root   root        3 Dec  1 14:14 smp/new.txt",
     L"smp/new.txt", 3},
    {"Windows tool, numeric owner", L"-rw-rw-rw-  0 0      0        52431 Jan 01  2020 photos/IMG_0001.JPG",
     L"photos/IMG_0001.JPG", 52431},
    {"day first", L"-rw-r--r--  0 user   group     1234 01 Jan  2020 x.jpg", L"x.jpg", 1234},
    {"folder", L"drwxr-xr-x  0 user   group        0 Jan 01  2020 dir/", L"dir/", 0},
    {"empty file", L"-rw-r--r--  0 user   group        0 Jan 01  2020 empty", L"empty", 0},
    {"name also earlier in the line", L"-rw-r--r--  0 user   group     1234 Jan 01  2020 user", L"user", 1234},
    {"name with spaces", L"-rw-r--r--  0 user   group       77 Jan 01  2020 x/y z.txt", L"x/y z.txt", 77},
    {"name that looks like a date", L"-rw-r--r--  0 u g 55 Mar  3 10:00 Jan 01  2020 x.jpg",
     L"Jan 01  2020 x.jpg", 55},
    {"Japanese name", L"-rw-r--r--  0 user   group     2048 Feb 29  2020 \x5199\x771F/\x685C.jpg",
     L"\x5199\x771F/\x685C.jpg", 2048},
    {"above 2^31 saturates", L"-rw-r--r--  0 user   group 3000000000 Jan 01  2020 big.iso", L"big.iso",
     2147483647},
    {"exactly 2^31 - 1", L"-rw-r--r--  0 user   group 2147483647 Jan 01  2020 big.iso", L"big.iso",
     2147483647},
    {"line ends with another name", L"-rw-r--r--  0 user   group     1234 Jan 01  2020 other.txt",
     L"file.txt", 0},
    {"name glued to the date", L"-rw-r--r--  0 user   group     1234 Jan 01  2020x.txt", L"x.txt", 0},
    {"symbolic link", L"lrwxrwxrwx  0 user   group        0 Jan 01  2020 link -> target", L"link", 0},
    {"size column not a number", L"-rw-r--r--  0 user   group     12ab Jan 01  2020 x", L"x", 0},
    {"negative size column", L"-rw-r--r--  0 user   group       -5 Jan 01  2020 x", L"x", 0},
    {"too few columns", L"Jan 01  2020 x", L"x", 0},
    {"missing verbose line", L"", L"x", 0},
};

TEST(EntrySize, ReadsTheSizeColumnInEveryDateForm) {
    for (const SizeCase& c : kSizeCases) {
        EXPECT_EQ(c.size, EntrySizeFromVerboseLine(c.verbose, c.name)) << c.what;
    }
}

TEST(EntrySize, AdmitsNonEmptyEntriesUpToTheLimit) {
    const int32_t oneMiB = 1 << 20;
    EXPECT_TRUE(IsAdmittedSize(1, oneMiB));
    EXPECT_TRUE(IsAdmittedSize(oneMiB, oneMiB));
    EXPECT_FALSE(IsAdmittedSize(oneMiB + 1, oneMiB));
    EXPECT_FALSE(IsAdmittedSize(0, oneMiB));
    EXPECT_FALSE(IsAdmittedSize(1, 0));
    EXPECT_FALSE(IsAdmittedSize(2147483647, 2047 << 20));
}

FILETIME FileTimeFromTicks(int64_t ticks) {
    FILETIME time;
    time.dwLowDateTime = static_cast<DWORD>(static_cast<uint64_t>(ticks));
    time.dwHighDateTime = static_cast<DWORD>(static_cast<uint64_t>(ticks) >> 32);
    return time;
}

TEST(Timestamp, TruncatesTowardZeroAndKeepsTheLow32Bits) {
    const int64_t epoch = 116444736000000000LL;
    const int64_t second = 10000000LL;
    struct {
        int64_t ticks;
        int32_t expected;
    } cases[] = {
        {epoch, 0},
        {epoch - second / 2, 0},
        {epoch - second - second / 2, -1},
        {epoch + 2147483647LL * second, 2147483647},
        {epoch + 2147483648LL * second, -2147483647 - 1},
        {epoch + 1577836800LL * second, 1577836800},  // 2020-01-01
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.expected, UnixTimeFromFileTime(FileTimeFromTicks(c.ticks))) << c.ticks;
    }
}

// Runs both passes over `lines` as the listing builder does.
std::vector<fileInfoW> BuildBlock(LinePairs& lines, int32_t limit, FILETIME time, uint32_t* filled = nullptr) {
    uint32_t count = CountAdmittedEntries(lines, limit);
    std::vector<fileInfoW> block(count + 1);
    std::memset(block.data(), 0, block.size() * sizeof(fileInfoW));
    lines.Rewind();
    uint32_t n = FillListing(lines, limit, time, block.data(), count);
    if (filled != nullptr) *filled = n;
    EXPECT_EQ(count, n);
    return block;
}

const FILETIME kArchiveTime = FileTimeFromTicks(116444736000000000LL + 1577836800LL * 10000000LL);

TEST(Listing, KeepsAdmittedEntriesInOrderWithContiguousPositions) {
    LinePairs lines(
        {L"dir/", L"dir/a.jpg", L"dir/empty", L"dir/sub/b.png", L"huge.bin", L"c.gif"},
        {L"drwxr-xr-x  0 u g        0 Jan 01  2020 dir/",
         L"-rw-r--r--  0 u g       10 Jan 01  2019 dir/a.jpg",
         L"-rw-r--r--  0 u g        0 Jan 01  2020 dir/empty",
         L"-rw-r--r--  0 u g       20 Dec 11 14:14 dir/sub/b.png",
         L"-rw-r--r--  0 u g  1048577 Jan 01  2020 huge.bin",
         L"-rw-r--r--  0 u g  1048576 Jan  9  2020 c.gif"});
    std::vector<fileInfoW> block = BuildBlock(lines, 1 << 20, kArchiveTime);

    ASSERT_EQ(4u, block.size());
    const struct {
        const wchar_t* filename;
        uint32_t size;
    } expected[] = {{L"a.jpg", 10}, {L"b.png", 20}, {L"c.gif", 1048576}};
    const unsigned char method[8] = {'T', 0, 'A', 0, 'R', 0, 0, 0};
    for (uint32_t i = 0; i < 3; ++i) {
        const fileInfoW& record = block[i];
        EXPECT_EQ(0, std::memcmp(record.method, method, 8));
        EXPECT_EQ(i, record.position);
        EXPECT_EQ(expected[i].size, record.filesize);
        EXPECT_EQ(expected[i].size, record.compsize);
        EXPECT_EQ(1577836800, record.timestamp) << "the archive's own time, not the entry's";
        EXPECT_EQ(std::wstring(expected[i].filename), record.filename);
        EXPECT_EQ(L'\0', record.path[0]);
        EXPECT_EQ(0u, record.crc);
    }
    const fileInfoW zero{};
    EXPECT_EQ(0, std::memcmp(&block[3], &zero, sizeof zero)) << "the terminator is all zero";
}

TEST(Listing, EmptyListingIsOneZeroRecord) {
    LinePairs lines({L"dir/", L"empty"},
                    {L"drwxr-xr-x  0 u g 0 Jan 01  2020 dir/", L"-rw-r--r--  0 u g 0 Jan 01  2020 empty"});
    std::vector<fileInfoW> block = BuildBlock(lines, 64 << 20, kArchiveTime);
    ASSERT_EQ(1u, block.size());
    EXPECT_TRUE(IsTerminatingRecord(block[0]));
}

TEST(Listing, NameLinesWithoutVerboseLinesAreLeftOutAlike) {
    LinePairs lines({L"a", L"b", L"c"}, {L"-rw-r--r--  0 u g 5 Jan 01  2020 a"});
    uint32_t filled = 0;
    std::vector<fileInfoW> block = BuildBlock(lines, 64 << 20, kArchiveTime, &filled);
    EXPECT_EQ(1u, filled);
    EXPECT_EQ(std::wstring(L"a"), block[0].filename);
}

TEST(Listing, BackslashIsAnOrdinaryCharacterAndLongNamesAreCut) {
    std::wstring longName(250, L'n');
    LinePairs lines({L"dir\\x.jpg", L"folder/" + longName, std::wstring(198, L'e') + L"\xD83D\xDE00"},
                    {L"-rw-r--r--  0 u g 5 Jan 01  2020 dir\\x.jpg",
                     L"-rw-r--r--  0 u g 6 Jan 01  2020 folder/" + longName,
                     L"-rw-r--r--  0 u g 7 Jan 01  2020 " + std::wstring(198, L'e') + L"\xD83D\xDE00"});
    std::vector<fileInfoW> block = BuildBlock(lines, 64 << 20, kArchiveTime);
    ASSERT_EQ(4u, block.size());
    EXPECT_EQ(std::wstring(L"dir\\x.jpg"), block[0].filename);
    EXPECT_EQ(std::wstring(199, L'n'), block[1].filename);
    // 200 units whose cut at 199 would split a surrogate pair: the pair goes.
    EXPECT_EQ(std::wstring(198, L'e'), block[2].filename);
}

TEST(Listing, SecondPassNeverWritesPastTheCountedRecords) {
    LinePairs lines({L"a"}, {L"-rw-r--r--  0 u g 5 Jan 01  2020 a"});
    uint32_t count = CountAdmittedEntries(lines, 64 << 20);
    ASSERT_EQ(1u, count);
    lines.Append(L"b", L"-rw-r--r--  0 u g 6 Jan 01  2020 b");
    lines.Rewind();
    std::vector<fileInfoW> block(3);
    std::memset(block.data(), 0xAB, block.size() * sizeof(fileInfoW));
    EXPECT_EQ(1u, FillListing(lines, 64 << 20, kArchiveTime, block.data(), count));
    EXPECT_TRUE(IsTerminatingRecord(block[1]));
    EXPECT_EQ(0xAB, block[2].method[0]) << "nothing written beyond the terminator";
}

}  // namespace
}  // namespace quarn

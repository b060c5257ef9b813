// Records as the host reads them, and text crossing between the host's code
// page and UTF-16.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "plugin/records.h"
#include "plugin/text_conversion.h"

namespace quarn {
namespace {

fileInfoW WideRecord(const wchar_t* filename, uint32_t position, uint32_t size) {
    fileInfoW record{};
    const unsigned char tar[8] = {0x54, 0, 0x41, 0, 0x52, 0, 0, 0};
    std::memcpy(record.method, tar, sizeof tar);
    record.position = position;
    record.compsize = size;
    record.filesize = size;
    record.timestamp = -5;
    std::wcsncpy(record.filename, filename, kRecordTextUnits - 1);
    return record;
}

TEST(NarrowRecord, CopiesNumbersAndKeepsOnlyTheLetterTInMethod) {
    fileInfoW wide = WideRecord(L"photo.jpg", 7, 1234);
    fileInfo narrow;
    std::memset(&narrow, 0xCC, sizeof narrow);
    NarrowRecordFromWide(wide, narrow);

    const unsigned char method[8] = {0x54, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(0, std::memcmp(narrow.method, method, sizeof method));
    EXPECT_EQ(7u, narrow.position);
    EXPECT_EQ(1234u, narrow.compsize);
    EXPECT_EQ(1234u, narrow.filesize);
    EXPECT_EQ(-5, narrow.timestamp);
    EXPECT_STREQ("photo.jpg", narrow.filename);
    EXPECT_EQ(0u, narrow.crc);
    for (char c : narrow.path) EXPECT_EQ(0, c);
    for (size_t i = std::strlen(narrow.filename); i < sizeof narrow.filename; ++i) {
        EXPECT_EQ(0, narrow.filename[i]) << "byte " << i;
    }
}

TEST(NarrowRecord, CharacterOutsideTheCodePageBecomesItsDefaultCharacter) {
    // U+AC00 (Hangul) is in neither code page 1252 nor 932, and has no
    // best-fit stand-in in either.
    fileInfoW wide = WideRecord(L"a\xAC00.jpg", 0, 1);
    fileInfo narrow;
    NarrowRecordFromWide(wide, narrow);
    EXPECT_STREQ("a?.jpg", narrow.filename);
    EXPECT_EQ(std::wstring(L"a\xAC00.jpg"), wide.filename);
}

TEST(NarrowRecord, UnterminatedWideFieldIsBoundedAndCut) {
    fileInfoW wide = WideRecord(L"", 0, 1);
    for (wchar_t& unit : wide.filename) unit = L'x';  // no terminator at all
    fileInfo narrow;
    NarrowRecordFromWide(wide, narrow);
    EXPECT_EQ(199u, std::strlen(narrow.filename));
    EXPECT_EQ(0u, narrow.crc);
}

TEST(ListingBlock, CountStopsAtTerminatorOrBlockEnd) {
    fileInfoW block[3] = {WideRecord(L"a", 0, 1), WideRecord(L"b", 1, 1), fileInfoW{}};
    EXPECT_EQ(2u, CountListingRecords(block, sizeof block));
    EXPECT_EQ(1u, CountListingRecords(block, sizeof(fileInfoW)));  // no terminator inside
    EXPECT_EQ(0u, CountListingRecords(block + 2, sizeof(fileInfoW)));
}


TEST(HostText, NarrowPathsConvertWholeOrAreRefused) {
    wchar_t out[kPathUnits];
    std::string exact(259, 'p');
    std::string over(260, 'p');
    EXPECT_TRUE(WideFromNarrow(exact.c_str(), out, kPathUnits));
    EXPECT_EQ(259u, std::wcslen(out));
    EXPECT_FALSE(WideFromNarrow(over.c_str(), out, kPathUnits));
    EXPECT_EQ(L'\0', out[0]);
    EXPECT_FALSE(WideFromNarrow(nullptr, out, kPathUnits));
    EXPECT_TRUE(WideFromNarrow("", out, kPathUnits));
    EXPECT_EQ(L'\0', out[0]);
}

TEST(HostText, NarrowFromWideCutsOnCharacterBoundaryAndReportsUnits) {
    char out[6];
    EXPECT_EQ(3, NarrowFromWide(L"abc", out, sizeof out));
    EXPECT_STREQ("abc", out);
    EXPECT_EQ(5, NarrowFromWide(L"abcdefgh", out, sizeof out));
    EXPECT_STREQ("abcde", out);
    EXPECT_EQ(0, NarrowFromWide(L"abc", out, 1));
    EXPECT_STREQ("", out);
}

TEST(HostText, BoundedWideCopyNeverSplitsASurrogatePair) {
    wchar_t out[4];
    const wchar_t text[] = L"ab\xD83D\xDE00";
    EXPECT_EQ(2u, CopyWideBounded(text, 4, out, 4));
    EXPECT_EQ(std::wstring(L"ab"), out);
    EXPECT_EQ(3u, CopyWideBounded(L"xyz", 3, out, 4));
    EXPECT_EQ(std::wstring(L"xyz"), out);
}

}  // namespace
}  // namespace quarn

// The listing cache: the ring of sixteen, copies that outlive what is stored,
// record lookups, and blocks released exactly once.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "cache/listing_cache.h"
#include "tests/support/local_memory_probe.h"

namespace quarn {
namespace {

using test::LocalMemoryProbe;

// A listing block of records named `names`, positions counted from 0.
HLOCAL MakeListing(const std::vector<std::wstring>& names) {
    HLOCAL block = AllocateLocal(LMEM_FIXED | LMEM_ZEROINIT, (names.size() + 1) * sizeof(fileInfoW));
    auto* records = static_cast<fileInfoW*>(block);
    for (size_t i = 0; i < names.size(); ++i) {
        records[i].method[0] = 'T';
        records[i].method[2] = 'A';
        records[i].method[4] = 'R';
        records[i].position = static_cast<uint32_t>(i);
        records[i].filesize = records[i].compsize = static_cast<uint32_t>(100 + i);
        std::wcsncpy(records[i].filename, names[i].c_str(), kRecordTextUnits - 1);
    }
    return block;
}

fileInfoW QueryByName(const wchar_t* name) {
    fileInfoW query{};
    std::wcsncpy(query.filename, name, kRecordTextUnits - 1);
    return query;
}

fileInfoW QueryByPosition(uint32_t position) {
    fileInfoW query{};
    query.position = position;
    return query;
}

std::wstring PathOf(int i) { return L"C:\\archives\\a" + std::to_wstring(i) + L".7z"; }

class ListingCacheTest : public ::testing::Test {
protected:
    void TearDown() override {
        cache.Clear();
        EXPECT_EQ(0, memory.LiveBlocks()) << "every stored or copied block is released";
    }

    LocalMemoryProbe memory;
    ListingCache cache;
};

TEST_F(ListingCacheTest, EmptyCacheKnowsNoPath) {
    HLOCAL copy = reinterpret_cast<HLOCAL>(0x1234);
    EXPECT_EQ(NotImplemented, cache.Lookup(L"C:\\a.7z", &copy, nullptr));
    EXPECT_EQ(reinterpret_cast<HLOCAL>(0x1234), copy) << "nothing written";
    fileInfoW query = QueryByPosition(0);
    EXPECT_EQ(NotImplemented, cache.Lookup(L"C:\\a.7z", nullptr, &query));
}

TEST_F(ListingCacheTest, SeventeenthListingEvictsTheOldest) {
    for (int i = 0; i < 17; ++i) cache.Add(PathOf(i).c_str(), MakeListing({L"x" + std::to_wstring(i)}));
    EXPECT_EQ(16, memory.LiveBlocks());
    fileInfoW query = QueryByPosition(0);
    EXPECT_EQ(NotImplemented, cache.Lookup(PathOf(0).c_str(), nullptr, &query));
    for (int i = 1; i < 17; ++i) {
        query = QueryByPosition(0);
        ASSERT_EQ(Success, cache.Lookup(PathOf(i).c_str(), nullptr, &query)) << i;
        EXPECT_EQ(L"x" + std::to_wstring(i), query.filename);
    }
}

TEST_F(ListingCacheTest, ClearForgetsEverythingAndTheRingStartsAgain) {
    for (int i = 0; i < 20; ++i) cache.Add(PathOf(i).c_str(), MakeListing({L"x"}));
    cache.Clear();
    EXPECT_EQ(0, memory.LiveBlocks());
    fileInfoW query = QueryByPosition(0);
    EXPECT_EQ(NotImplemented, cache.Lookup(PathOf(19).c_str(), nullptr, &query));
    for (int i = 0; i < 16; ++i) cache.Add(PathOf(i).c_str(), MakeListing({L"y"}));
    for (int i = 0; i < 16; ++i) {
        query = QueryByPosition(0);
        EXPECT_EQ(Success, cache.Lookup(PathOf(i).c_str(), nullptr, &query)) << i;
    }
}

TEST_F(ListingCacheTest, PathsMatchWithoutRegardToCaseOnly) {
    cache.Add(L"C:\\Photos\\Trip.7z", MakeListing({L"a.jpg"}));
    fileInfoW query = QueryByPosition(0);
    EXPECT_EQ(Success, cache.Lookup(L"c:\\PHOTOS\\trip.7Z", nullptr, &query));
    query = QueryByPosition(0);
    EXPECT_EQ(NotImplemented, cache.Lookup(L"C:/Photos/Trip.7z", nullptr, &query));
}

TEST_F(ListingCacheTest, WholeCopyHasTheStoredBytesAndOutlivesThem) {
    HLOCAL stored = MakeListing({L"a.jpg", L"b.png"});
    std::vector<unsigned char> bytes(static_cast<unsigned char*>(stored),
                                     static_cast<unsigned char*>(stored) + ::LocalSize(stored));
    cache.Add(L"C:\\a.7z", stored);
    HLOCAL copy = nullptr;
    ASSERT_EQ(Success, cache.Lookup(L"C:\\a.7z", &copy, nullptr));
    cache.Clear();
    ASSERT_EQ(bytes.size(), ::LocalSize(copy));
    EXPECT_EQ(0, std::memcmp(bytes.data(), copy, bytes.size()));
    LocalMemoryProbe::Free(copy);
}

TEST_F(ListingCacheTest, RecordLookupsByNameAndByPosition) {
    cache.Add(L"C:\\a.7z", MakeListing({L"Cover.JPG", L"x.png", L"cover.jpg", L"y.gif"}));
    const struct {
        const char* what;
        fileInfoW query;
        ResultCode result;
        uint32_t position;
        const wchar_t* filename;
    } cases[] = {
        {"first of two equal names, in its own case", QueryByName(L"COVER.jpg"), Success, 0, L"Cover.JPG"},
        {"by name", QueryByName(L"y.gif"), Success, 3, L"y.gif"},
        {"name with its folder", QueryByName(L"dir/y.gif"), UnsupportedFormat, 0, L"dir/y.gif"},
        {"empty name, position 0", QueryByPosition(0), Success, 0, L"Cover.JPG"},
        {"by position", QueryByPosition(2), Success, 2, L"cover.jpg"},
        {"position beyond the last", QueryByPosition(4), UnsupportedFormat, 4, L""},
    };
    for (const auto& c : cases) {
        fileInfoW query = c.query;
        query.crc = 77;  // shows whether the record was overwritten
        EXPECT_EQ(c.result, cache.Lookup(L"C:\\a.7z", nullptr, &query)) << c.what;
        EXPECT_EQ(c.position, query.position) << c.what;
        EXPECT_EQ(std::wstring(c.filename), query.filename) << c.what;
        EXPECT_EQ(c.result == Success ? 0u : 77u, query.crc) << c.what;
    }
}

TEST_F(ListingCacheTest, EmptyListingMatchesNoRecordButCopiesWhole) {
    cache.Add(L"C:\\empty.7z", MakeListing({}));
    fileInfoW query = QueryByPosition(0);
    EXPECT_EQ(UnsupportedFormat, cache.Lookup(L"C:\\empty.7z", nullptr, &query));
    query = QueryByName(L"a");
    EXPECT_EQ(UnsupportedFormat, cache.Lookup(L"C:\\empty.7z", nullptr, &query));
    HLOCAL copy = nullptr;
    ASSERT_EQ(Success, cache.Lookup(L"C:\\empty.7z", &copy, nullptr));
    EXPECT_EQ(sizeof(fileInfoW), ::LocalSize(copy));
    LocalMemoryProbe::Free(copy);
}

TEST_F(ListingCacheTest, PathsTooLongForASlotAreNeitherCutNorKept) {
    std::wstring common = L"C:\\" + std::wstring(270, L'd');
    cache.Add((common + L"\\one.7z").c_str(), MakeListing({L"a"}));
    EXPECT_EQ(0, memory.LiveBlocks()) << "the listing is released at once";
    fileInfoW query = QueryByPosition(0);
    EXPECT_EQ(NotImplemented, cache.Lookup((common + L"\\two.7z").c_str(), nullptr, &query));
    EXPECT_EQ(NotImplemented, cache.Lookup((common + L"\\one.7z").c_str(), nullptr, &query));

    std::wstring exact = L"C:\\" + std::wstring(256, L'e');  // 259 units
    cache.Add(exact.c_str(), MakeListing({L"a"}));
    EXPECT_EQ(Success, cache.Lookup(exact.c_str(), nullptr, &query));
}

TEST_F(ListingCacheTest, FailedCopyGivesOutOfMemoryAndKeepsTheListing) {
    cache.Add(L"C:\\a.7z", MakeListing({L"a"}));
    memory.FailAllocation(1);
    HLOCAL copy = reinterpret_cast<HLOCAL>(0x1234);
    EXPECT_EQ(OutOfMemory, cache.Lookup(L"C:\\a.7z", &copy, nullptr));
    EXPECT_EQ(nullptr, copy);
    EXPECT_EQ(1, memory.LiveBlocks());
    ASSERT_EQ(Success, cache.Lookup(L"C:\\a.7z", &copy, nullptr));
    LocalMemoryProbe::Free(copy);
}

TEST(ListingCacheTeardown, ReleasesWhatIsStillStored) {
    LocalMemoryProbe memory;
    {
        ListingCache cache;
        for (int i = 0; i < 5; ++i) cache.Add(PathOf(i).c_str(), MakeListing({L"a"}));
        EXPECT_EQ(5, memory.LiveBlocks());
    }
    EXPECT_EQ(0, memory.LiveBlocks());
}

TEST(ListingCacheThreads, ConcurrentStoresLookupsAndClearsStayConsistent) {
    LocalMemoryProbe memory;
    {
        ListingCache cache;
        std::vector<std::thread> threads;
        for (int t = 0; t < 4; ++t) {
            threads.emplace_back([&cache, t] {
                for (int i = 0; i < 300; ++i) {
                    std::wstring path = PathOf(t * 1000 + i % 20);
                    cache.Add(path.c_str(), MakeListing({L"a", L"b"}));
                    HLOCAL copy = nullptr;
                    if (cache.Lookup(path.c_str(), &copy, nullptr) == Success) {
                        EXPECT_EQ(3 * sizeof(fileInfoW), ::LocalSize(copy));
                        LocalMemoryProbe::Free(copy);
                    }
                    if (i % 50 == 0) cache.Clear();
                }
            });
        }
        for (std::thread& thread : threads) thread.join();
    }
    EXPECT_EQ(0, memory.LiveBlocks());
}

}  // namespace
}  // namespace quarn

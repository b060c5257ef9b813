// Every local-memory allocation an export makes, failed in turn: each failure
// answers 4 (OutOfMemory), leaves the host's variable null or unchanged, and
// leaves no block behind. The exports are linked in, so their settings file
// is the one beside this program, naming a tool folder with the test double.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "cache/listing_cache.h"
#include "plugin/exports.h"
#include "tests/support/built_files.h"
#include "tests/support/local_memory_probe.h"
#include "tests/support/temp_folder.h"

namespace quarn {
namespace {

using test::LocalMemoryProbe;
using test::WindowsPathOfBuiltFile;
using test::WriteFileBytes;

std::wstring ExtractedFile() {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + L"quarn\\sub\\b.png";
}

class AllocationFailureTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(::CopyFileW(WindowsPathOfBuiltFile(TAR_DOUBLE_EXE).c_str(), (tools / L"tar.exe").c_str(), FALSE));
        test::WriteSettingsBesideThisProgram(tools.path());
        WriteFileBytes(archive, "not read by the double, only by the head check");
        WriteFileBytes(tools / L"photos.7z.tf", "a.jpg\nsub/b.png\n");
        WriteFileBytes(tools / L"photos.7z.tvf",
                       "-rw-r--r--  0 u g 5 Jan 01  2020 a.jpg\n-rw-r--r--  0 u g 3 Dec 11 14:14 sub/b.png\n");
        WriteFileBytes(tools / L"photos.7z.xf\\sub\\b.png", "png");
    }

    void TearDown() override {
        listingCache.Clear();
        ::DeleteFileW(settings.c_str());
    }

    // Fails the 1st, 2nd, ... allocation of `call` (after `prepare`, which
    // fails nothing) until one run needs no more than were failed; `call`
    // answers and gives the host's block.
    template <typename Call, typename Prepare>
    void WalkAllocationFailures(Call call, Prepare prepare) {
        for (int n = 1;; ++n) {
            listingCache.Clear();
            LocalMemoryProbe memory;
            prepare();
            const int baseline = memory.Allocations();
            memory.FailAllocation(n);
            HLOCAL block = reinterpret_cast<HLOCAL>(0x5A5A);
            int result = call(block);
            bool failed = memory.Allocations() - baseline >= n;
            if (!failed) {
                ASSERT_EQ(0, result) << "a run with no failed allocation succeeds";
                LocalMemoryProbe::Free(block);
                listingCache.Clear();
                EXPECT_EQ(0, memory.LiveBlocks());
                EXPECT_GT(n, 1) << "the call allocates at least once";
                return;
            }
            EXPECT_EQ(4, result) << "allocation " << n;
            listingCache.Clear();
            EXPECT_EQ(0, memory.LiveBlocks()) << "allocation " << n;
            ASSERT_LT(n, 20) << "no end to the allocations";
        }
    }

    template <typename Call>
    void WalkAllocationFailures(Call call) {
        WalkAllocationFailures(call, [] {});
    }

    test::TempFolder tools;
    test::TempFolder data;
    std::wstring settings = test::SettingsFileBesideThisProgram();
    std::wstring archive = data / L"photos.7z";
};

TEST_F(AllocationFailureTest, WideListing) {
    WalkAllocationFailures([&](HLOCAL& block) {
        int result = GetArchiveInfoW(archive.c_str(), 0, 0, &block);
        if (result != 0) {
            EXPECT_EQ(nullptr, block);
        }
        return result;
    });
}

TEST_F(AllocationFailureTest, NarrowListing) {
    std::string narrow = test::Utf8(archive);  // ASCII path
    WalkAllocationFailures([&](HLOCAL& block) {
        int result = GetArchiveInfo(narrow.c_str(), 0, 0, &block);
        if (result != 0) {
            EXPECT_EQ(nullptr, block);
        }
        return result;
    });
}

TEST_F(AllocationFailureTest, EntryIntoMemoryAfterTheListing) {
    auto listFirst = [&] {
        HLOCAL listing = nullptr;
        ASSERT_EQ(0, GetArchiveInfoW(archive.c_str(), 0, 0, &listing));
        LocalMemoryProbe::Free(listing);
    };
    WalkAllocationFailures(
        [&](HLOCAL& block) {
            HLOCAL before = block;
            int result = GetFileW(archive.c_str(), 1, reinterpret_cast<LPWSTR>(&block), 0x100, nullptr, 0);
            if (result != 0) {
                EXPECT_EQ(before, block) << "the host's variable keeps its value";
            } else {
                EXPECT_EQ(std::string("png"), std::string(static_cast<char*>(block), ::LocalSize(block)));
            }
            EXPECT_FALSE(test::Exists(ExtractedFile())) << "read or not, the extracted file goes";
            return result;
        },
        listFirst);
}

TEST_F(AllocationFailureTest, EntryIntoAFile) {
    test::TempFolder output;
    WalkAllocationFailures([&](HLOCAL& block) {
        block = nullptr;
        ::DeleteFileW((output / L"b.png").c_str());
        int result = GetFileW(archive.c_str(), 1, const_cast<LPWSTR>(output.path().c_str()), 0, nullptr, 0);
        EXPECT_EQ(result == 0, test::Exists(output / L"b.png"));
        return result;
    });
}

}  // namespace
}  // namespace quarn

// How listing cost grows with the number of entries: the parser alone over
// in-memory lines, and whole GetArchiveInfoW calls through the tool double
// (three tool runs each). Prints times side by side in one run; the ratios
// matter, not the absolute numbers, which depend on the machine and Wine.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bridge/listing_parser.h"
#include "cache/listing_cache.h"
#include "plugin/exports.h"
#include "tests/support/built_files.h"
#include "tests/support/line_pairs.h"
#include "tests/support/temp_folder.h"

namespace quarn {
namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::wstring NameOf(int i) { return L"photos/IMG_" + std::to_wstring(10000 + i) + L".JPG"; }
std::wstring VerboseOf(int i) {
    return L"-rw-rw-rw-  0 0      0      " + std::to_wstring(100000 + i) + L" Mar 04  2015 " + NameOf(i);
}

double ParseMilliseconds(int entries, int repeats) {
    std::vector<std::wstring> names, verbose;
    for (int i = 0; i < entries; ++i) {
        names.push_back(NameOf(i));
        verbose.push_back(VerboseOf(i));
    }
    test::LinePairs lines(names, verbose);
    std::vector<fileInfoW> block(entries + 1);
    Clock::time_point start = Clock::now();
    for (int r = 0; r < repeats; ++r) {
        lines.Rewind();
        uint32_t count = CountAdmittedEntries(lines, 64 << 20);
        lines.Rewind();
        FillListing(lines, 64 << 20, FILETIME{}, block.data(), count);
    }
    return MillisecondsSince(start) / repeats;
}

double ListingMilliseconds(const test::TempFolder& tools, const test::TempFolder& data, int entries, int repeats) {
    std::string names, verbose;
    for (int i = 0; i < entries; ++i) {
        names += test::Utf8(NameOf(i)) + "\r\n";
        verbose += test::Utf8(VerboseOf(i)) + "\r\n";
    }
    std::wstring name = L"bench" + std::to_wstring(entries) + L".7z";
    test::WriteFileBytes(tools / (name + L".tf"), names);
    test::WriteFileBytes(tools / (name + L".tvf"), verbose);
    std::wstring archive = data / name;
    test::WriteFileBytes(archive, "archive bytes");
    Clock::time_point start = Clock::now();
    for (int r = 0; r < repeats; ++r) {
        HLOCAL listing = nullptr;
        if (GetArchiveInfoW(archive.c_str(), 0, 0, &listing) != 0 ||
            ::LocalSize(listing) != (entries + 1) * sizeof(fileInfoW)) {
            std::fprintf(stderr, "listing of %d entries failed\n", entries);
            return -1;
        }
        ::LocalFree(listing);
    }
    return MillisecondsSince(start) / repeats;
}

int Run() {
    test::TempFolder tools;
    test::TempFolder data;
    if (!::CopyFileW(test::WindowsPathOfBuiltFile(TAR_DOUBLE_EXE).c_str(), (tools / L"tar.exe").c_str(), FALSE)) {
        std::fprintf(stderr, "cannot copy the tool double\n");
        return 1;
    }
    const std::wstring settings = test::WriteSettingsBesideThisProgram(tools.path());

    std::printf("%8s  %14s  %16s  %14s\n", "entries", "parse ms", "GetArchiveInfoW ms", "ms per entry");
    for (int entries : {10, 1000, 10000}) {
        double parse = ParseMilliseconds(entries, entries >= 10000 ? 5 : 50);
        double listing = ListingMilliseconds(tools, data, entries, entries >= 10000 ? 3 : 10);
        std::printf("%8d  %14.3f  %16.1f  %14.4f\n", entries, parse, listing, listing / entries);
    }
    listingCache.Clear();
    ::DeleteFileW(settings.c_str());
    return 0;
}

}  // namespace
}  // namespace quarn

int main() { return quarn::Run(); }

// Listings asked for at the same time, by threads of one host and by two host
// processes, through a tool that takes its time: each caller gets its own
// archive's listing, and the runs of one listing are never split by another
// caller's (every run writes the same capture files).
#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "plugin/unique_handles.h"
#include "tests/e2e/support/host_block.h"
#include "tests/e2e/support/plugin_under_test.h"
#include "tests/support/split.h"

namespace quarn::e2e {
namespace {

// Long enough that runs of different callers would overlap without the lock.
constexpr unsigned kToolDelayMilliseconds = 100;

// The second process runs this executable again with these variables set.
constexpr wchar_t kChildArchivesVariable[] = L"QUARN_E2E_CHILD_ARCHIVES";  // paths joined by '|'
constexpr wchar_t kChildToolVariable[] = L"QUARN_E2E_CHILD_TOOL";
constexpr wchar_t kChildReadyVariable[] = L"QUARN_E2E_CHILD_READY";  // an event it sets before listing
constexpr wchar_t kChildTest[] = L"ConcurrentHosts.ChildProcessListsTheArchivesItIsGiven";

std::wstring FileNameOf(const std::wstring& path) { return path.substr(path.find_last_of(L'\\') + 1); }

uint32_t SizeFor(const std::wstring& name, uint32_t k) {
    uint32_t sum = 0;
    for (wchar_t unit : name) sum = sum * 31 + unit;
    return 1 + (sum + k * 7919) % 100000;
}

// An archive's listing names the archive in every entry, so a caller handed
// another caller's capture sees it at once.
std::vector<ListedEntry> EntriesOf(const std::wstring& archiveName) {
    return {{archiveName + L"/", 0},
            {archiveName + L"/first-" + archiveName + L".bin", SizeFor(archiveName, 1)},
            {archiveName + L"/second-" + archiveName + L".bin", SizeFor(archiveName, 2)}};
}

testing::AssertionResult ListsItsOwnEntries(const std::wstring& archivePath, int result, const HostBlock& listing) {
    const std::wstring name = FileNameOf(archivePath);
    if (result != 0) return testing::AssertionFailure() << test::Utf8(name) << ": result " << result;
    const std::vector<fileInfoW> records = ListingRecords<fileInfoW>(listing);
    const std::wstring expected[] = {L"first-" + name + L".bin", L"second-" + name + L".bin"};
    if (records.size() != 2 || listing.bytes() != 3 * sizeof(fileInfoW)) {
        return testing::AssertionFailure() << test::Utf8(name) << ": " << records.size() << " records";
    }
    for (uint32_t i = 0; i < 2; ++i) {
        if (FieldText(records[i].filename) != expected[i] || records[i].filesize != SizeFor(name, i + 1) ||
            records[i].position != i) {
            return testing::AssertionFailure() << test::Utf8(name) << ": record " << i << " is "
                                               << test::Utf8(FieldText(records[i].filename)) << ", "
                                               << records[i].filesize << " bytes";
        }
    }
    return testing::AssertionSuccess();
}

// Each archive ran the tool three times, and its name listing is directly
// followed by its verbose listing: nobody's run came between the two.
testing::AssertionResult RunsStayTogether(const ToolDouble& tool, const std::vector<std::wstring>& archives) {
    const std::vector<std::wstring> runs = tool.Runs();
    if (runs.size() != 3 * archives.size()) {
        return testing::AssertionFailure() << runs.size() << " runs for " << archives.size() << " archives";
    }
    for (const std::wstring& archive : archives) {
        const std::wstring names = tool.ListCommand(L"tf", archive);
        const std::wstring verbose = tool.ListCommand(L"tvf", archive);
        size_t nameRuns = 0;
        size_t verboseRuns = 0;
        for (size_t i = 0; i < runs.size(); ++i) {
            if (runs[i] == verbose) ++verboseRuns;
            if (runs[i] != names) continue;
            ++nameRuns;
            if (i + 1 >= runs.size() || runs[i + 1] != verbose) {
                return testing::AssertionFailure() << "another run came between the listings of "
                                                   << test::Utf8(archive);
            }
        }
        if (nameRuns != 1 || verboseRuns != 2) {
            return testing::AssertionFailure() << test::Utf8(archive) << ": " << nameRuns << " name and "
                                               << verboseRuns << " verbose runs";
        }
    }
    return testing::AssertionSuccess();
}

// Archives named `prefix`0, `prefix`1, ..., scripted with a slow tool.
std::vector<std::wstring> SlowArchives(PluginUnderTest& plugin, const std::wstring& prefix, int count) {
    std::vector<std::wstring> paths;
    for (int i = 0; i < count; ++i) {
        const std::wstring name = prefix + std::to_wstring(i) + L".tar";
        plugin.tool().ScriptListing(name, EntriesOf(name));
        plugin.tool().ScriptDelay(name, kToolDelayMilliseconds);
        paths.push_back(plugin.WriteArchive(name));
    }
    return paths;
}

TEST(ConcurrentHosts, EightThreadsEachGetTheirOwnArchivesListing) {
    PluginUnderTest plugin;
    ASSERT_TRUE(plugin.loaded()) << plugin.error();
    const std::vector<std::wstring> archives = SlowArchives(plugin, L"thread", 8);

    UniqueHandle start(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(start.valid());
    std::vector<int> results(archives.size(), -100);
    std::vector<HostBlock> listings(archives.size());
    std::vector<std::thread> threads;
    for (size_t i = 0; i < archives.size(); ++i) {
        threads.emplace_back([&, i] {
            ::WaitForSingleObject(start.get(), INFINITE);
            results[i] = plugin->GetArchiveInfoW(archives[i].c_str(), 0, 0, listings[i].out());
        });
    }
    ::SetEvent(start.get());
    for (std::thread& thread : threads) thread.join();

    for (size_t i = 0; i < archives.size(); ++i) EXPECT_TRUE(ListsItsOwnEntries(archives[i], results[i], listings[i]));
    EXPECT_TRUE(RunsStayTogether(plugin.tool(), archives));
    EXPECT_EQ(std::vector<std::wstring>{}, PluginUnderTest::WorkFolderEntries());
}

// This executable again, running only the child's test, with its output in
// a file.
class ChildProcess {
public:
    ChildProcess(const std::wstring& outputPath) {
        wchar_t self[MAX_PATH];
        if (::GetModuleFileNameW(nullptr, self, MAX_PATH) == 0) return;
        SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
        output_.reset(::CreateFileW(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inheritable, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!output_) return;
        std::wstring command = L"\"" + std::wstring(self) + L"\" --gtest_filter=" + kChildTest;
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = output_.get();
        startup.hStdError = output_.get();
        PROCESS_INFORMATION started = {};
        if (!::CreateProcessW(nullptr, &command[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                              &startup, &started)) {
            return;
        }
        process_.reset(started.hProcess);
        UniqueHandle thread(started.hThread);
    }
    ~ChildProcess() {
        if (process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
            ::TerminateProcess(process_.get(), 1);
        }
    }

    bool started() const { return process_.valid(); }
    HANDLE handle() const { return process_.get(); }

    // The exit code once it ended; a code no test program gives when it
    // has not ended within `milliseconds` (a hung child, not a slow one).
    DWORD Wait(DWORD milliseconds) {
        DWORD code = 0xDEAD;
        if (::WaitForSingleObject(process_.get(), milliseconds) == WAIT_OBJECT_0) {
            ::GetExitCodeProcess(process_.get(), &code);
        }
        output_.reset();
        return code;
    }

private:
    UniqueFile output_;
    UniqueHandle process_;
};

TEST(ConcurrentHosts, TwoProcessesEachGetTheirOwnArchivesListings) {
    PluginUnderTest plugin;
    ASSERT_TRUE(plugin.loaded()) << plugin.error();
    const std::vector<std::wstring> ours = SlowArchives(plugin, L"parent", 4);
    const std::vector<std::wstring> theirs = SlowArchives(plugin, L"child", 4);

    std::wstring joined;
    for (const std::wstring& path : theirs) joined += (joined.empty() ? L"" : L"|") + path;
    const std::wstring readyName = L"quarn-e2e-child-ready-" + std::to_wstring(::GetCurrentProcessId());
    UniqueHandle ready(::CreateEventW(nullptr, TRUE, FALSE, readyName.c_str()));
    ASSERT_TRUE(ready.valid());
    ScopedEnvironmentVariable archivesVariable(kChildArchivesVariable, joined);
    ScopedEnvironmentVariable toolVariable(kChildToolVariable, plugin.tool().folder());
    ScopedEnvironmentVariable readyVariable(kChildReadyVariable, readyName);
    const std::wstring outputPath = plugin.root() + L"\\child-output.txt";
    ChildProcess child(outputPath);
    ASSERT_TRUE(child.started());

    // Start listing once the child is about to, so that both list at once.
    const HANDLE waitFor[] = {ready.get(), child.handle()};
    ::WaitForMultipleObjects(2, waitFor, FALSE, 60000);
    std::vector<int> results;
    std::vector<HostBlock> listings(ours.size());
    for (size_t i = 0; i < ours.size(); ++i) {
        results.push_back(plugin->GetArchiveInfoW(ours[i].c_str(), 0, 0, listings[i].out()));
    }

    EXPECT_EQ(0u, child.Wait(120000)) << test::ReadFileBytes(outputPath);
    for (size_t i = 0; i < ours.size(); ++i) EXPECT_TRUE(ListsItsOwnEntries(ours[i], results[i], listings[i]));
    std::vector<std::wstring> all = ours;
    all.insert(all.end(), theirs.begin(), theirs.end());
    EXPECT_TRUE(RunsStayTogether(plugin.tool(), all)) << "the child ran too: its archives' runs are all there";
    EXPECT_EQ(std::vector<std::wstring>{}, PluginUnderTest::WorkFolderEntries());
}

// The second process of the test above; skipped when run on its own.
TEST(ConcurrentHosts, ChildProcessListsTheArchivesItIsGiven) {
    const std::optional<std::wstring> archives = EnvironmentVariable(kChildArchivesVariable);
    const std::optional<std::wstring> toolFolder = EnvironmentVariable(kChildToolVariable);
    if (!archives || !toolFolder) GTEST_SKIP() << "runs as the child of TwoProcessesEachGetTheirOwnArchivesListings";

    // The parent's work folder (inherited %TEMP%) and tool folder: the same
    // capture files, the same lock.
    PluginUnderTest::Options options;
    options.privateTemp = false;
    options.sharedToolFolder = *toolFolder;
    PluginUnderTest plugin(options);
    ASSERT_TRUE(plugin.loaded()) << plugin.error();

    if (const std::optional<std::wstring> readyName = EnvironmentVariable(kChildReadyVariable)) {
        UniqueHandle ready(::OpenEventW(EVENT_MODIFY_STATE, FALSE, readyName->c_str()));
        if (ready) ::SetEvent(ready.get());
    }
    for (const std::wstring& archive : test::Split(*archives, L'|')) {
        HostBlock listing;
        const int result = plugin->GetArchiveInfoW(archive.c_str(), 0, 0, listing.out());
        EXPECT_TRUE(ListsItsOwnEntries(archive, result, listing));
    }
}

}  // namespace
}  // namespace quarn::e2e

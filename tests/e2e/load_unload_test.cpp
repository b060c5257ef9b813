// Loading and unloading copies of the built plug-in: the work folder is made
// at load and emptied and removed at unload, except what is protected or in
// use by another process. Every fixture's %TEMP% is its own, so the work
// folder is too.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "bridge/tool_lock.h"
#include "bridge/work_directory.h"
#include "plugin/unique_handles.h"
#include "tests/e2e/support/host_block.h"
#include "tests/e2e/support/plugin_under_test.h"
#include "tests/support/folder_contents.h"

namespace quarn::e2e {
namespace {

using test::Exists;
using test::NamesIn;
using test::ReadFileBytes;
using test::WriteFileBytes;

const std::vector<std::wstring> kNothing;

// The events by which the second process of the tool-lock test says it
// holds the lock and is told to let go.
constexpr wchar_t kHeldEventVariable[] = L"QUARN_TEST_LOCK_HELD_EVENT";
constexpr wchar_t kReleaseEventVariable[] = L"QUARN_TEST_LOCK_RELEASE_EVENT";

std::wstring WorkFolder() { return PluginUnderTest::WorkFolder(); }
std::wstring InWorkFolder(const std::wstring& relative) { return WorkFolder() + L"\\" + relative; }

// The folder the work folder is made in.
std::wstring TemporaryFolder() {
    const std::wstring work = WorkFolder();
    return work.substr(0, work.rfind(L'\\'));
}

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

DWORD WINAPI EndAtOnce(void*) { return 0; }

// A second process of this test program holding the tool lock of the work
// folder it inherits through %TEMP%, from when it says so until Release.
class LockHoldingProcess {
public:
    LockHoldingProcess() {
        const std::wstring suffix = std::to_wstring(::GetCurrentProcessId());
        const std::wstring heldName = L"Local\\quarn-test-held-" + suffix;
        const std::wstring releaseName = L"Local\\quarn-test-release-" + suffix;
        held_.reset(::CreateEventW(nullptr, TRUE, FALSE, heldName.c_str()));
        release_.reset(::CreateEventW(nullptr, TRUE, FALSE, releaseName.c_str()));
        if (!held_ || !release_) return;

        wchar_t self[MAX_PATH];
        const DWORD length = ::GetModuleFileNameW(nullptr, self, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) return;
        std::wstring command = L"\"" + std::wstring(self) + L"\" --gtest_filter=ToolLockHolder.*";
        ScopedEnvironmentVariable held(kHeldEventVariable, heldName);
        ScopedEnvironmentVariable release(kReleaseEventVariable, releaseName);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started{};
        if (::CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                             &startup, &started)) {
            process_.reset(started.hProcess);
            UniqueHandle thread(started.hThread);
        }
    }

    ~LockHoldingProcess() { Release(); }
    LockHoldingProcess(const LockHoldingProcess&) = delete;
    LockHoldingProcess& operator=(const LockHoldingProcess&) = delete;

    // True once the process holds the lock; false when it ended before.
    bool WaitUntilHolding() const {
        if (!process_) return false;
        const HANDLE handles[] = {held_.get(), process_.get()};
        return ::WaitForMultipleObjects(2, handles, FALSE, INFINITE) == WAIT_OBJECT_0;
    }

    // Lets the process go and waits for its end; its exit code (0: it held
    // the lock as asked).
    DWORD Release() {
        if (!process_) return 1;
        ::SetEvent(release_.get());
        ::WaitForSingleObject(process_.get(), INFINITE);
        DWORD code = 1;
        ::GetExitCodeProcess(process_.get(), &code);
        process_.reset();
        return code;
    }

private:
    UniqueHandle held_;
    UniqueHandle release_;
    UniqueHandle process_;
};

// The part of LockHoldingProcess's program; skipped when run on its own.
TEST(ToolLockHolder, HoldsTheToolLockUntilReleased) {
    const auto held = EnvironmentVariable(kHeldEventVariable);
    const auto release = EnvironmentVariable(kReleaseEventVariable);
    if (!held || !release) GTEST_SKIP() << "runs only as the second process of the tool-lock test";
    wchar_t workDirectory[kPathUnits];
    ASSERT_TRUE(WorkDirectory(workDirectory));
    UniqueHandle heldEvent(::OpenEventW(EVENT_MODIFY_STATE, FALSE, held->c_str()));
    UniqueHandle releaseEvent(::OpenEventW(SYNCHRONIZE, FALSE, release->c_str()));
    ASSERT_TRUE(heldEvent && releaseEvent);

    ToolRunLock lock(workDirectory);
    ::SetEvent(heldEvent.get());
    ::WaitForSingleObject(releaseEvent.get(), INFINITE);
}

class LoadAndUnload : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(plugin.loaded()) << plugin.error(); }

    PluginUnderTest plugin;
};

TEST_F(LoadAndUnload, LoadCreatesTheWorkFolder) {
    // The fixture's temporary folder is new: only the load can have made it.
    EXPECT_TRUE(IsFolder(WorkFolder()));
    plugin.Unload();
    ASSERT_FALSE(Exists(WorkFolder()));
    ASSERT_TRUE(plugin.Load());
    EXPECT_TRUE(IsFolder(WorkFolder()));
}

TEST_F(LoadAndUnload, LoadKeepsLeftoversInTheWorkFolder) {
    plugin.Unload();
    WriteFileBytes(InWorkFolder(L"leftover.jpg"), "left");
    WriteFileBytes(InWorkFolder(L"old\\deep.jpg"), "deep");
    ASSERT_TRUE(plugin.Load());
    EXPECT_EQ("left", ReadFileBytes(InWorkFolder(L"leftover.jpg")));
    EXPECT_EQ("deep", ReadFileBytes(InWorkFolder(L"old\\deep.jpg")));
}

TEST_F(LoadAndUnload, ThreadsStartingAndEndingChangeNothing) {
    plugin.tool().ScriptListing(L"album.tar", {{L"a.jpg", 3}});
    const std::wstring archive = plugin.WriteArchive(L"album.tar");
    HostBlock listing;
    ASSERT_EQ(0, plugin->GetArchiveInfoW(archive.c_str(), 0, 0, listing.out()));
    WriteFileBytes(InWorkFolder(L"leftover.jpg"), "left");
    plugin.tool().ClearRuns();

    // The plug-in sees the thread's attach and detach notifications.
    UniqueHandle thread(::CreateThread(nullptr, 0, EndAtOnce, nullptr, 0, nullptr));
    ASSERT_TRUE(thread);
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(thread.get(), INFINITE));

    EXPECT_EQ("left", ReadFileBytes(InWorkFolder(L"leftover.jpg")));
    // The listing is still cached: an entry it lacks is answered from there,
    // with no tool run (a fresh listing would answer -1).
    HostBlock block;
    EXPECT_EQ(2, plugin->GetFileW(archive.c_str(), 1, reinterpret_cast<LPWSTR>(block.out()), 0x100, nullptr, 0));
    EXPECT_EQ(kNothing, plugin.tool().Runs());
}

TEST_F(LoadAndUnload, UnloadRemovesTheWorkFolderWithEverythingInIt) {
    ToolDouble& tool = plugin.tool();
    tool.ScriptListing(L"album.tar", {{L"a/b/deep.jpg", 4}, {L"top.jpg", 3}});
    tool.ScriptMember(L"album.tar", L"a/b/deep.jpg", "deep");
    tool.ScriptMember(L"album.tar", L"top.jpg", "top");
    const std::wstring archive = plugin.WriteArchive(L"album.tar");
    for (LONG_PTR position : {0, 1}) {
        HostBlock block;
        ASSERT_EQ(0, plugin->GetFileW(archive.c_str(), position, reinterpret_cast<LPWSTR>(block.out()), 0x100,
                                      nullptr, 0));
    }
    ASSERT_TRUE(IsFolder(InWorkFolder(L"a\\b"))) << "the tool's folders stay until unload";
    WriteFileBytes(InWorkFolder(L"leftover\\nested\\file.jpg"), "left");
    WriteFileBytes(InWorkFolder(L"readonly.jpg"), "left");
    ASSERT_TRUE(::SetFileAttributesW(InWorkFolder(L"readonly.jpg").c_str(), FILE_ATTRIBUTE_READONLY));

    plugin.Unload();
    EXPECT_FALSE(Exists(WorkFolder()));
    EXPECT_EQ(kNothing, NamesIn(TemporaryFolder()));
}

// Folders below the work folder that unload is to keep, with an attribute.
const struct ProtectedFolder {
    const wchar_t* folder;  // below the work folder
    const wchar_t* parent;  // the same for its parent, empty for the work folder itself
} kProtectedFolders[] = {
    {L"kept", L""},
    {L"a\\b\\kept", L"a\\b"},
};

// Whether this system keeps `attribute` on a folder; Wine takes the read-only
// one without keeping it.
bool KeepsFolderAttribute(const std::wstring& folder, DWORD attribute) {
    ::CreateDirectoryW(folder.c_str(), nullptr);
    ::SetFileAttributesW(folder.c_str(), attribute);
    const bool kept = (::GetFileAttributesW(folder.c_str()) & attribute) != 0;
    ::SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::RemoveDirectoryW(folder.c_str());
    return kept;
}

class ProtectedFolders : public LoadAndUnload {
protected:
    // Unloads with each protected folder in turn holding a file and a sibling
    // beside it, and checks what stays.
    void ExpectUnloadKeepsFoldersWith(DWORD attribute) {
        for (const ProtectedFolder& c : kProtectedFolders) {
            SCOPED_TRACE(test::Utf8(c.folder));
            ASSERT_TRUE(plugin.Load());
            const std::wstring kept = InWorkFolder(c.folder);
            const std::wstring parent = c.parent[0] == L'\0' ? WorkFolder() : InWorkFolder(c.parent);
            WriteFileBytes(kept + L"\\inner\\inside.jpg", "kept");
            WriteFileBytes(parent + L"\\sibling.jpg", "gone");
            WriteFileBytes(InWorkFolder(L"gone\\file.jpg"), "gone");
            ASSERT_TRUE(::SetFileAttributesW(kept.c_str(), attribute));

            plugin.Unload();
            EXPECT_EQ("kept", ReadFileBytes(kept + L"\\inner\\inside.jpg"));
            EXPECT_TRUE(IsFolder(WorkFolder()));
            EXPECT_FALSE(Exists(parent + L"\\sibling.jpg")) << "what stands beside the kept folder still goes";
            EXPECT_FALSE(Exists(InWorkFolder(L"gone")));

            ::SetFileAttributesW(kept.c_str(), FILE_ATTRIBUTE_NORMAL);
            test::RemoveTreeForTest(WorkFolder());
        }
    }
};

TEST_F(ProtectedFolders, UnloadKeepsSystemFoldersWithTheirContentsAndParents) {
    ExpectUnloadKeepsFoldersWith(FILE_ATTRIBUTE_SYSTEM);
}

TEST_F(ProtectedFolders, UnloadKeepsReadOnlyFoldersWithTheirContentsAndParents) {
    if (!KeepsFolderAttribute(InWorkFolder(L"probe"), FILE_ATTRIBUTE_READONLY)) {
        GTEST_SKIP() << "this system keeps no read-only attribute on folders";
    }
    ExpectUnloadKeepsFoldersWith(FILE_ATTRIBUTE_READONLY);
}

TEST_F(LoadAndUnload, UnloadLeavesEverythingWhileAnotherProcessRunsTheTool) {
    WriteFileBytes(InWorkFolder(L"quarn.txt"), "another process's listing");
    WriteFileBytes(InWorkFolder(L"photos\\001.jpg"), "another process's entry");
    LockHoldingProcess holder;
    ASSERT_TRUE(holder.WaitUntilHolding());
    ASSERT_FALSE(ToolRunLock::IsFree(WorkFolder().c_str())) << "the lock of this work folder is held";

    plugin.Unload();
    EXPECT_EQ("another process's listing", ReadFileBytes(InWorkFolder(L"quarn.txt")));
    EXPECT_EQ("another process's entry", ReadFileBytes(InWorkFolder(L"photos\\001.jpg")));
    EXPECT_EQ(0u, holder.Release());

    // The next unload takes what was left.
    ASSERT_TRUE(plugin.Load());
    plugin.Unload();
    EXPECT_FALSE(Exists(WorkFolder()));
}

TEST_F(LoadAndUnload, FileNamedLikeTheWorkFolderIsLeftAlone) {
    plugin.Unload();
    ASSERT_FALSE(Exists(WorkFolder()));
    WriteFileBytes(WorkFolder(), "a file, not a folder");
    const std::vector<std::wstring> onlyTheFile = {L"quarn"};

    ASSERT_TRUE(plugin.Load());
    EXPECT_EQ(onlyTheFile, NamesIn(TemporaryFolder()));
    plugin.tool().ScriptListing(L"album.tar", {{L"a.jpg", 3}});
    const std::wstring archive = plugin.WriteArchive(L"album.tar");
    HostBlock listing;
    EXPECT_NE(0, plugin->GetArchiveInfoW(archive.c_str(), 0, 0, listing.out()));
    EXPECT_EQ(onlyTheFile, NamesIn(TemporaryFolder()));

    plugin.Unload();
    EXPECT_EQ(onlyTheFile, NamesIn(TemporaryFolder()));
    EXPECT_EQ("a file, not a folder", ReadFileBytes(WorkFolder()));
}

}  // namespace
}  // namespace quarn::e2e

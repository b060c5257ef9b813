// Emptying a folder at unload: depth first, read-only files included,
// protected folders and what leads to them kept, links never followed.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "module/lifecycle.h"
#include "tests/support/temp_folder.h"

namespace quarn {
namespace {

using test::Exists;
using test::TempFolder;
using test::WriteFileBytes;

TEST(RemoveTree, RemovesNestedFilesAndFoldersButNotTheFolderItself) {
    TempFolder folder;
    WriteFileBytes(folder / L"quarn.txt", "x");
    WriteFileBytes(folder / L"a\\b\\c\\deep.jpg", "x");
    WriteFileBytes(folder / L"[Author] Title\\001.jpg", "x");
    WriteFileBytes(folder / L"ro.jpg", "x");
    ::SetFileAttributesW((folder / L"ro.jpg").c_str(), FILE_ATTRIBUTE_READONLY);
    ::CreateDirectoryW((folder / L"empty").c_str(), nullptr);

    RemoveTree(folder.path().c_str());

    EXPECT_TRUE(Exists(folder.path()));
    for (const wchar_t* name : {L"quarn.txt", L"a", L"[Author] Title", L"ro.jpg", L"empty"}) {
        EXPECT_FALSE(Exists(folder / name)) << test::Utf8(name);
    }
}

TEST(RemoveTree, KeepsSystemFoldersWithTheirContentsAndParents) {
    TempFolder folder;
    WriteFileBytes(folder / L"keep\\inner\\file.jpg", "x");
    WriteFileBytes(folder / L"keep\\other.jpg", "x");
    WriteFileBytes(folder / L"gone\\file.jpg", "x");
    ASSERT_TRUE(::SetFileAttributesW((folder / L"keep\\inner").c_str(), FILE_ATTRIBUTE_SYSTEM));

    RemoveTree(folder.path().c_str());

    EXPECT_TRUE(Exists(folder / L"keep\\inner\\file.jpg"));
    EXPECT_FALSE(Exists(folder / L"keep\\other.jpg")) << "siblings still go";
    EXPECT_FALSE(Exists(folder / L"gone"));
    ::SetFileAttributesW((folder / L"keep\\inner").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(RemoveTree, MissingFolderIsNoError) {
    TempFolder folder;
    RemoveTree((folder / L"missing").c_str());
    RemoveTree((folder.path() + L"\\" + std::wstring(300, L'x')).c_str());
    EXPECT_TRUE(Exists(folder.path()));
}

}  // namespace
}  // namespace quarn

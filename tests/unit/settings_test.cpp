// quarn.ini: defaults, each key, bounds, and edits seen at the next read.
#include <gtest/gtest.h>

#include <string>

#include "bridge/settings.h"
#include "tests/support/temp_folder.h"

namespace quarn {
namespace {

using test::TempFolder;
using test::WriteFileBytes;

std::wstring ToolPath(const std::wstring& settingsFile) {
    wchar_t path[kPathUnits];
    EXPECT_TRUE(ReadToolPath(settingsFile.c_str(), path));
    return path;
}

std::wstring Filter(const std::wstring& settingsFile) {
    wchar_t filter[kPathUnits];
    ReadExtensionFilter(settingsFile.c_str(), filter);
    return filter;
}

TEST(Settings, DefaultsWithoutAFile) {
    TempFolder folder;
    std::wstring missing = folder / L"quarn.ini";
    EXPECT_EQ(L"C:\\Windows\\System32\\tar.exe", ToolPath(missing));
    EXPECT_EQ(64 << 20, ReadSizeLimit(missing.c_str()));
    EXPECT_EQ(L"*.7z;*.rar", Filter(missing));
}

TEST(Settings, DefaultsForAFileWithoutTheKeys) {
    TempFolder folder;
    std::wstring file = folder / L"quarn.ini";
    WriteFileBytes(file, "[Other]\r\ndir=D:\\x\r\n");
    EXPECT_EQ(L"C:\\Windows\\System32\\tar.exe", ToolPath(file));
    EXPECT_EQ(64 << 20, ReadSizeLimit(file.c_str()));
    EXPECT_EQ(L"*.7z;*.rar", Filter(file));
}

TEST(Settings, ToolFolderWithOrWithoutTrailingBackslash) {
    TempFolder folder;
    std::wstring file = folder / L"quarn.ini";
    for (const char* dir : {"D:\\tools", "D:\\tools\\"}) {
        WriteFileBytes(file, std::string("[UserSetting]\r\ndir=") + dir + "\r\n");
        EXPECT_EQ(L"D:\\tools\\tar.exe", ToolPath(file)) << dir;
    }
}

TEST(Settings, ToolFolderTooLongIsRefusedNotCut) {
    TempFolder folder;
    std::wstring file = folder / L"quarn.ini";
    wchar_t path[kPathUnits];
    WriteFileBytes(file, "[UserSetting]\r\ndir=C:\\" + std::string(300, 'd') + "\r\n");
    EXPECT_FALSE(ReadToolPath(file.c_str(), path));
    EXPECT_EQ(L'\0', path[0]);
    // Fits alone, but not once joined with the program's name.
    WriteFileBytes(file, "[UserSetting]\r\ndir=C:\\" + std::string(252, 'd') + "\r\n");
    EXPECT_FALSE(ReadToolPath(file.c_str(), path));
}

TEST(Settings, SizeLimitInMebibytesWithinSoundBounds) {
    TempFolder folder;
    std::wstring file = folder / L"quarn.ini";
    const struct {
        const char* value;
        int32_t limit;
    } cases[] = {
        {"1", 1 << 20},     {"0", 0},           {"2047", 2047 << 20}, {"2048", 2047 << 20},
        {"4096", 2047 << 20}, {"99999999999", 2047 << 20}, {"-1", 0}, {"-4096", 0},
        {" 16", 16 << 20},  {"", 0},            {"abc", 0},           {"8MB", 8 << 20},
    };
    for (const auto& c : cases) {
        WriteFileBytes(file, std::string("[UserSetting]\r\nmaxMB=") + c.value + "\r\n");
        EXPECT_EQ(c.limit, ReadSizeLimit(file.c_str())) << "maxMB=" << c.value;
    }
}

TEST(Settings, FilterTurnsCommasIntoSemicolons) {
    TempFolder folder;
    std::wstring file = folder / L"quarn.ini";
    const struct {
        const char* value;
        const wchar_t* filter;
    } cases[] = {
        {"*.zip,*.cab,*.tar", L"*.zip;*.cab;*.tar"},
        {"*.zip", L"*.zip"},
        {"*.7z;*.rar,,*.zip", L"*.7z;*.rar;;*.zip"},
        {"", L""},
    };
    for (const auto& c : cases) {
        WriteFileBytes(file, std::string("[UserSetting]\r\next=") + c.value + "\r\n");
        EXPECT_EQ(c.filter, Filter(file)) << "ext=" << c.value;
    }
}

TEST(Settings, EditsAreSeenAtTheNextRead) {
    TempFolder folder;
    std::wstring file = folder / L"quarn.ini";
    WriteFileBytes(file, "[UserSetting]\r\nmaxMB=1\r\ndir=E:\\a\r\n");
    EXPECT_EQ(1 << 20, ReadSizeLimit(file.c_str()));
    EXPECT_EQ(L"E:\\a\\tar.exe", ToolPath(file));
    WriteFileBytes(file, "[UserSetting]\r\nmaxMB=2\r\ndir=E:\\b\r\n");
    EXPECT_EQ(2 << 20, ReadSizeLimit(file.c_str()));
    EXPECT_EQ(L"E:\\b\\tar.exe", ToolPath(file));
}

TEST(Settings, SettingsFileIsNamedAfterTheModule) {
    // No module recorded: the file beside the running program, ".exe" -> ".ini".
    wchar_t path[kPathUnits];
    ASSERT_TRUE(SettingsFilePath(path));
    std::wstring text = path;
    ASSERT_GT(text.size(), 4u);
    EXPECT_EQ(L".ini", text.substr(text.size() - 4));
    EXPECT_NE(std::wstring::npos, text.find(L"settings_test"));
}

}  // namespace
}  // namespace quarn

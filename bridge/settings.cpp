#include "bridge/settings.h"

#include <shlwapi.h>

namespace quarn {

HINSTANCE moduleHandle = nullptr;

namespace {

constexpr wchar_t kSection[] = L"UserSetting";
constexpr wchar_t kDefaultToolFolder[] = L"C:\\Windows\\System32";
constexpr wchar_t kToolFileName[] = L"tar.exe";
constexpr wchar_t kDefaultFilter[] = L"*.7z;*.rar";
constexpr wchar_t kDefaultSizeLimitMiB[] = L"64";
constexpr int32_t kLargestSizeLimitMiB = 2047;  // 2047 << 20 still fits in 31 bits

// A value read through a buffer larger than any path, so that an over-long
// one is seen as over-long instead of arriving cut.
constexpr DWORD kValueUnits = 4 * kPathUnits;

DWORD ReadValue(const wchar_t* settingsFile, const wchar_t* key, const wchar_t* fallback,
                wchar_t (&value)[kValueUnits]) {
    if (settingsFile == nullptr || settingsFile[0] == L'\0') {
        return static_cast<DWORD>(CopyWideBounded(fallback, ::lstrlenW(fallback), value, kValueUnits));
    }
    return ::GetPrivateProfileStringW(kSection, key, fallback, value, kValueUnits, settingsFile);
}

// The leading integer of `text` as the profile reader takes it (blanks, an
// optional sign, digits), saturated instead of wrapping; no digit gives 0.
int64_t LeadingInteger(const wchar_t* text) {
    while (*text == L' ' || *text == L'\t') ++text;
    bool negative = *text == L'-';
    if (*text == L'-' || *text == L'+') ++text;
    int64_t value = 0;
    for (; *text >= L'0' && *text <= L'9'; ++text) {
        if (value < INT32_MAX) value = value * 10 + (*text - L'0');
    }
    return negative ? -value : value;
}

}  // namespace

bool SettingsFilePath(wchar_t (&path)[kPathUnits]) {
    DWORD length = ::GetModuleFileNameW(moduleHandle, path, kPathUnits);
    if (length == 0 || length >= kPathUnits || !::PathRenameExtensionW(path, L".ini")) {
        path[0] = L'\0';
        return false;
    }
    return true;
}

bool ReadToolPath(const wchar_t* settingsFile, wchar_t (&toolPath)[kPathUnits]) {
    toolPath[0] = L'\0';
    wchar_t folder[kValueUnits];
    DWORD length = ReadValue(settingsFile, L"dir", kDefaultToolFolder, folder);
    if (length >= kPathUnits) return false;
    if (::PathCombineW(toolPath, folder, kToolFileName) == nullptr) {
        toolPath[0] = L'\0';
        return false;
    }
    return true;
}

bool ReadToolPath(wchar_t (&toolPath)[kPathUnits]) {
    wchar_t settingsFile[kPathUnits];
    SettingsFilePath(settingsFile);
    return ReadToolPath(settingsFile, toolPath);
}

int32_t ReadSizeLimit(const wchar_t* settingsFile) {
    wchar_t text[kValueUnits];
    // A key present with an empty value reads as 0, a missing one as 64.
    ReadValue(settingsFile, L"maxMB", kDefaultSizeLimitMiB, text);
    int64_t mebibytes = LeadingInteger(text);
    if (mebibytes < 0) mebibytes = 0;
    if (mebibytes > kLargestSizeLimitMiB) mebibytes = kLargestSizeLimitMiB;
    return static_cast<int32_t>(mebibytes << 20);
}

int32_t ReadSizeLimit() {
    wchar_t settingsFile[kPathUnits];
    SettingsFilePath(settingsFile);
    return ReadSizeLimit(settingsFile);
}

void ReadExtensionFilter(const wchar_t* settingsFile, wchar_t (&filter)[kPathUnits]) {
    wchar_t text[kValueUnits];
    ReadValue(settingsFile, L"ext", kDefaultFilter, text);
    size_t length = CopyWideBounded(text, ::lstrlenW(text), filter, kPathUnits);
    for (size_t i = 0; i < length; ++i) {
        if (filter[i] == L',') filter[i] = L';';
    }
}

void ReadExtensionFilter(wchar_t (&filter)[kPathUnits]) {
    wchar_t settingsFile[kPathUnits];
    SettingsFilePath(settingsFile);
    ReadExtensionFilter(settingsFile, filter);
}

}  // namespace quarn

// A stand-in archive plug-in for spihost's tests: it reads only the first
// bytes of the "archive" and answers with a fixed listing and fixed bytes.
//   "FAKE" ...              two entries, both extractable
//   "FAKE broken" ...       the second entry fails with 3 (data broken)
//   "FAKE unterminated" ... the listing block lacks its terminating record
//   anything else           2 (unknown format)
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "plugin/unique_handles.h"

namespace {

using quarn::UniqueFile;

#pragma pack(push, 1)
struct fileInfoW {
    unsigned char method[8];
    uint32_t position;
    uint32_t compsize;
    uint32_t filesize;
    int32_t timestamp;
    wchar_t path[200];
    wchar_t filename[200];
    uint32_t crc;
};

struct fileInfo {
    unsigned char method[8];
    uint32_t position;
    uint32_t compsize;
    uint32_t filesize;
    int32_t timestamp;
    char path[200];
    char filename[200];
    uint32_t crc;
};
#pragma pack(pop)

static_assert(sizeof(fileInfoW) == 828, "wide record");
static_assert(sizeof(fileInfo) == 428, "narrow record");

struct FakeEntry {
    uint32_t position;
    int32_t timestamp;
    const wchar_t* filename;
    const char* bytes;
    uint32_t size;
};

// The second entry's bytes include a zero and bytes above 0x7F, so that a
// host treating the block as text would show.
constexpr FakeEntry kEntries[] = {
    {0, 1425427200, L"cover.jpg", "cover bytes", 11},
    {7, 1700000000, L"\x5199\x771F 1.jpg", "\x00\xFF\x80\x7F" "data", 8},  // 写真 1.jpg
};
constexpr size_t kEntryCount = sizeof kEntries / sizeof kEntries[0];

constexpr uint32_t kInputKindMask = 0x7;
constexpr uint32_t kOutputToMemory = 0x100;

const wchar_t* const kInfo[] = {
    L"00AM", L"fake archive plug-in", L"*.fake", L"Fake archives", L"*.fak2", L"Fake archives, second kind",
};

enum class Kind { Unknown, Normal, Broken, Unterminated };

Kind KindOfHead(const char* head, size_t size) {
    const std::string text(head, size);
    if (text.compare(0, 4, "FAKE") != 0) return Kind::Unknown;
    if (text.compare(4, 7, " broken") == 0) return Kind::Broken;
    if (text.compare(4, 13, " unterminated") == 0) return Kind::Unterminated;
    return Kind::Normal;
}

Kind KindOfFile(HANDLE file) {
    char head[32] = {};
    DWORD read = 0;
    if (!::ReadFile(file, head, sizeof head, &read, nullptr)) return Kind::Unknown;
    return KindOfHead(head, read);
}

Kind KindOfPath(const std::wstring& path) {
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    return file ? KindOfFile(file.get()) : Kind::Unknown;
}

std::wstring WideFromAnsi(const char* text) {
    wchar_t wide[MAX_PATH] = {};
    ::MultiByteToWideChar(CP_ACP, 0, text, -1, wide, MAX_PATH);
    return wide;
}

void FillWide(const FakeEntry& entry, fileInfoW& record) {
    std::memset(&record, 0, sizeof record);
    const unsigned char method[8] = {'T', 0, 'A', 0, 'R', 0, 0, 0};
    std::memcpy(record.method, method, sizeof method);
    record.position = entry.position;
    record.compsize = entry.size;
    record.filesize = entry.size;
    record.timestamp = entry.timestamp;
    ::lstrcpynW(record.filename, entry.filename, 200);
}

void FillNarrow(const FakeEntry& entry, fileInfo& record) {
    std::memset(&record, 0, sizeof record);
    std::memcpy(record.method, "TAR", 3);
    record.position = entry.position;
    record.compsize = entry.size;
    record.filesize = entry.size;
    record.timestamp = entry.timestamp;
    ::WideCharToMultiByte(CP_ACP, 0, entry.filename, -1, record.filename, 199, nullptr, nullptr);
}

template <typename Record, typename Fill>
int MakeListing(Kind kind, HLOCAL* listing, Fill fill) {
    if (kind == Kind::Unknown) return 2;
    // An unterminated block ends right after the last record.
    const size_t records = kind == Kind::Unterminated ? kEntryCount : kEntryCount + 1;
    HLOCAL block = ::LocalAlloc(LMEM_FIXED | LMEM_ZEROINIT, records * sizeof(Record));
    if (block == nullptr) return 4;
    Record* out = static_cast<Record*>(block);
    for (size_t i = 0; i < kEntryCount; ++i) fill(kEntries[i], out[i]);
    *listing = block;
    return 0;
}

const FakeEntry* FindEntry(LONG_PTR position) {
    for (const FakeEntry& entry : kEntries) {
        if (static_cast<LONG_PTR>(entry.position) == position) return &entry;
    }
    return nullptr;
}

int ReportProgress(FARPROC progress, LONG_PTR data) {
    using Callback = int(WINAPI*)(int, int, LONG_PTR);
    if (progress == nullptr) return 0;
    Callback callback = reinterpret_cast<Callback>(reinterpret_cast<void*>(progress));
    if (callback(0, 1, data) != 0 || callback(1, 1, data) != 0) return 1;
    return 0;
}

// `destination` is an HLOCAL* for memory output, else the folder to write
// into, already joined with the entry's name by the caller.
int DeliverEntry(Kind kind, LONG_PTR position, unsigned flag, void* destination, const std::wstring& filePath,
                 FARPROC progress, LONG_PTR data) {
    if ((flag & kInputKindMask) != 0) return -1;
    if (kind == Kind::Unknown) return 2;
    const FakeEntry* entry = FindEntry(position);
    if (entry == nullptr) return -1;
    if (kind == Kind::Broken && entry->position == 7) return 3;
    if (ReportProgress(progress, data) != 0) return 1;

    if ((flag & kOutputToMemory) != 0) {
        // Movable, so that the host has to lock it to read it.
        HLOCAL block = ::LocalAlloc(LMEM_MOVEABLE, entry->size);
        if (block == nullptr) return 4;
        void* bytes = ::LocalLock(block);
        std::memcpy(bytes, entry->bytes, entry->size);
        ::LocalUnlock(block);
        *static_cast<HLOCAL*>(destination) = block;
        return 0;
    }
    UniqueFile file(::CreateFileW(filePath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!file) return 9;
    DWORD written = 0;
    if (!::WriteFile(file.get(), entry->bytes, entry->size, &written, nullptr) || written != entry->size) return 9;
    return 0;
}

std::wstring EntryFilePath(const std::wstring& folder, LONG_PTR position) {
    const FakeEntry* entry = FindEntry(position);
    return entry == nullptr ? std::wstring() : folder + L"\\" + entry->filename;
}

}  // namespace

extern "C" {

int WINAPI GetPluginInfoW(int infono, LPWSTR buf, int buflen) {
    if (infono < 0 || infono >= 6 || buf == nullptr || buflen <= 0) return 0;
    ::lstrcpynW(buf, kInfo[infono], buflen);
    return ::lstrlenW(buf);
}

int WINAPI GetPluginInfo(int infono, LPSTR buf, int buflen) {
    if (infono < 0 || infono >= 6 || buf == nullptr || buflen <= 0) return 0;
    const int bytes = ::WideCharToMultiByte(CP_ACP, 0, kInfo[infono], -1, buf, buflen, nullptr, nullptr);
    buf[buflen - 1] = '\0';
    return bytes > 0 ? bytes - 1 : 0;
}

int WINAPI IsSupportedW(LPCWSTR, DWORD_PTR dw) {
    if ((dw >> 16) == 0) return KindOfFile(reinterpret_cast<HANDLE>(dw)) != Kind::Unknown ? 1 : 0;
    return KindOfHead(reinterpret_cast<const char*>(dw), 2048) != Kind::Unknown ? 1 : 0;
}

int WINAPI IsSupported(LPCSTR, DWORD_PTR dw) { return IsSupportedW(nullptr, dw); }

int WINAPI GetArchiveInfoW(LPCWSTR path, LONG_PTR, unsigned flag, HLOCAL* listing) {
    if ((flag & kInputKindMask) != 0) return -1;
    return MakeListing<fileInfoW>(KindOfPath(path), listing, FillWide);
}

int WINAPI GetArchiveInfo(LPCSTR path, LONG_PTR, unsigned flag, HLOCAL* listing) {
    if ((flag & kInputKindMask) != 0) return -1;
    return MakeListing<fileInfo>(KindOfPath(WideFromAnsi(path)), listing, FillNarrow);
}

int WINAPI GetFileInfoW(LPCWSTR path, LONG_PTR, LPCWSTR name, unsigned flag, fileInfoW* info) {
    if ((flag & kInputKindMask) != 0) return -1;
    if (KindOfPath(path) == Kind::Unknown) return 2;
    for (const FakeEntry& entry : kEntries) {
        if (::lstrcmpiW(entry.filename, name) == 0) {
            FillWide(entry, *info);
            return 0;
        }
    }
    return -1;
}

int WINAPI GetFileInfo(LPCSTR path, LONG_PTR, LPCSTR name, unsigned flag, fileInfo* info) {
    if ((flag & kInputKindMask) != 0) return -1;
    if (KindOfPath(WideFromAnsi(path)) == Kind::Unknown) return 2;
    const std::wstring wideName = WideFromAnsi(name);
    for (const FakeEntry& entry : kEntries) {
        if (::lstrcmpiW(entry.filename, wideName.c_str()) == 0) {
            FillNarrow(entry, *info);
            return 0;
        }
    }
    return -1;
}

int WINAPI GetFileW(LPCWSTR src, LONG_PTR position, LPWSTR dest, unsigned flag,
                                          FARPROC progress, LONG_PTR lData) {
    const std::wstring filePath = (flag & kOutputToMemory) != 0 ? std::wstring() : EntryFilePath(dest, position);
    return DeliverEntry(KindOfPath(src), position, flag, dest, filePath, progress, lData);
}

int WINAPI GetFile(LPCSTR src, LONG_PTR position, LPSTR dest, unsigned flag,
                                         FARPROC progress, LONG_PTR lData) {
    const std::wstring filePath =
        (flag & kOutputToMemory) != 0 ? std::wstring() : EntryFilePath(WideFromAnsi(dest), position);
    return DeliverEntry(KindOfPath(WideFromAnsi(src)), position, flag, dest, filePath, progress, lData);
}

}  // extern "C"

// What the plug-in is, and whether it serves a given file.
#include "bridge/settings.h"
#include "bridge/support_probe.h"
#include "plugin/exports.h"
#include "plugin/text_conversion.h"

namespace quarn {
namespace {

constexpr int kInformationCount = 4;

// Information string `infono` into `text`; false when `infono` names none.
bool InformationText(int infono, wchar_t (&text)[kPathUnits]) {
    if (static_cast<unsigned>(infono) >= kInformationCount) return false;
    wchar_t filter[kPathUnits];
    ReadExtensionFilter(filter);  // read at every call, whatever is asked
    const wchar_t* const strings[kInformationCount] = {L"00AM", L"quarn by Vop", filter, L"tar file"};
    CopyWideBounded(strings[infono], ::lstrlenW(strings[infono]), text, kPathUnits);
    return true;
}

// A handle of the host's (upper 16 bits zero) is read for eight bytes, which
// also moves its position on; an address is not read at all.
bool ReadHostHead(DWORD_PTR dw) {
    if ((dw & 0xFFFF0000u) != 0) return true;
    unsigned char head[8];
    DWORD read = 0;
    return ::ReadFile(reinterpret_cast<HANDLE>(dw), head, sizeof head, &read, nullptr) != 0;
}

int SupportAnswer(const wchar_t* filename, DWORD_PTR dw) {
    if (!ReadHostHead(dw)) return 0;
    return ProbeArchive(filename) ? 1 : 0;
}

}  // namespace
}  // namespace quarn

using namespace quarn;

// A text that does not fit `buflen` is cut to fit with its terminator; the
// result is the length of what was written, in wide characters.
int WINAPI GetPluginInfoW(int infono, LPWSTR buf, int buflen) noexcept {
    return Guarded(0, [&] {
        wchar_t text[kPathUnits];
        if (!InformationText(infono, text) || buf == nullptr || buflen <= 0) return 0;
        return static_cast<int>(CopyWideBounded(text, ::lstrlenW(text), buf, static_cast<size_t>(buflen)));
    });
}

// The narrow form counts what it wrote in bytes, as the host reads its
// buffer: a double-byte character counts twice.
int WINAPI GetPluginInfo(int infono, LPSTR buf, int buflen) noexcept {
    return Guarded(0, [&] {
        wchar_t text[kPathUnits];
        if (!InformationText(infono, text) || buf == nullptr || buflen <= 0) return 0;
        NarrowFromWide(text, buf, buflen);
        return ::lstrlenA(buf);
    });
}

int WINAPI IsSupportedW(LPCWSTR filename, DWORD_PTR dw) noexcept {
    return Guarded(0, [&] { return SupportAnswer(filename, dw); });
}

int WINAPI IsSupported(LPCSTR filename, DWORD_PTR dw) noexcept {
    return Guarded(0, [&] {
        wchar_t wide[kPathUnits];
        if (!WideFromNarrow(filename, wide, kPathUnits)) return 0;
        return SupportAnswer(wide, dw);
    });
}

#include "plugin/text_conversion.h"

namespace quarn {
namespace {

bool IsHighSurrogate(wchar_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

// Bytes the first `units` units of `text` take in the thread's code page.
int NarrowBytes(const wchar_t* text, int units) {
    if (units == 0) return 0;
    return ::WideCharToMultiByte(CP_THREAD_ACP, 0, text, units, nullptr, 0, nullptr, nullptr);
}

}  // namespace

bool WideFromNarrow(const char* text, wchar_t* out, int outUnits) {
    if (outUnits <= 0) return false;
    out[0] = L'\0';
    if (text == nullptr) return false;
    int needed = ::MultiByteToWideChar(CP_THREAD_ACP, 0, text, -1, nullptr, 0);
    if (needed <= 0 || needed > outUnits) return false;
    return ::MultiByteToWideChar(CP_THREAD_ACP, 0, text, -1, out, outUnits) == needed;
}

int NarrowFromWide(const wchar_t* text, char* out, int outBytes) {
    if (outBytes <= 0) return 0;
    out[0] = '\0';
    if (text == nullptr) return 0;
    int units = ::lstrlenW(text);
    // Drop whole characters from the end until the rest fits; a double-byte
    // code page can need two bytes per unit.
    while (units > 0 && NarrowBytes(text, units) > outBytes - 1) {
        --units;
        if (units > 0 && IsHighSurrogate(text[units - 1])) --units;
    }
    int written = units == 0 ? 0
        : ::WideCharToMultiByte(CP_THREAD_ACP, 0, text, units, out, outBytes - 1, nullptr, nullptr);
    out[written > 0 ? written : 0] = '\0';
    return units;
}

size_t CopyWideBounded(const wchar_t* text, size_t textUnits, wchar_t* out, size_t outUnits) {
    if (outUnits == 0) return 0;
    size_t count = textUnits < outUnits - 1 ? textUnits : outUnits - 1;
    if (count < textUnits && count > 0 && IsHighSurrogate(text[count - 1])) --count;
    for (size_t i = 0; i < count; ++i) out[i] = text[i];
    out[count] = L'\0';
    return count;
}

bool FitsUnits(const wchar_t* text, size_t outUnits) {
    size_t length = 0;
    while (length < outUnits && text[length] != L'\0') ++length;
    return length < outUnits;
}

}  // namespace quarn

#include "tools/spihost/text.h"

namespace quarn::spihost {
namespace {

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Reads the code point at `index` and moves past it; a lone surrogate comes
// back as itself.
char32_t NextCodePoint(std::wstring_view text, size_t& index) {
    char32_t unit = static_cast<char16_t>(text[index++]);
    if (IsHighSurrogate(unit) && index < text.size()) {
        char32_t low = static_cast<char16_t>(text[index]);
        if (IsLowSurrogate(low)) {
            ++index;
            return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        }
    }
    return unit;
}

struct CodePointRange {
    char32_t first;
    char32_t last;
};

// East Asian Wide and Fullwidth blocks, coarse enough for file names.
constexpr CodePointRange kWideRanges[] = {
    {0x1100, 0x115F},   {0x2E80, 0x303E},   {0x3041, 0x33FF},   {0x3400, 0x4DBF},
    {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},   {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},
    {0xFE30, 0xFE4F},   {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6},   {0x1F300, 0x1F64F},
    {0x1F900, 0x1F9FF}, {0x20000, 0x3FFFD},
};

constexpr wchar_t kHexDigits[] = L"0123456789ABCDEF";

bool IsWide(char32_t codePoint) {
    for (const CodePointRange& range : kWideRanges) {
        if (codePoint >= range.first && codePoint <= range.last) return true;
    }
    return false;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t codePoint) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

std::string Utf8FromWide(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t index = 0; index < text.size();) {
        char32_t codePoint = NextCodePoint(text, index);
        if (IsHighSurrogate(codePoint) || IsLowSurrogate(codePoint)) codePoint = 0xFFFD;
        AppendUtf8(out, codePoint);
    }
    return out;
}

size_t DisplayWidth(std::wstring_view text) {
    size_t width = 0;
    for (size_t index = 0; index < text.size();) {
        width += IsWide(NextCodePoint(text, index)) ? 2 : 1;
    }
    return width;
}

std::wstring EscapeControls(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (wchar_t unit : text) {
        if (unit >= 0x20 && unit != 0x7F) {
            out += unit;
        } else {
            out += L"\\x";
            out += kHexDigits[(unit >> 4) & 0xF];
            out += kHexDigits[unit & 0xF];
        }
    }
    return out;
}

std::wstring_view FieldText(const wchar_t* field, size_t units) {
    size_t length = 0;
    while (length < units && field[length] != L'\0') ++length;
    return std::wstring_view(field, length);
}

std::string_view FieldText(const char* field, size_t bytes) {
    size_t length = 0;
    while (length < bytes && field[length] != '\0') ++length;
    return std::string_view(field, length);
}

std::wstring DescribeMethod(const unsigned char (&method)[8]) {
    std::wstring text;
    bool utf16 = method[0] != 0 && method[1] == 0 && method[2] != 0;
    if (utf16) {
        for (size_t i = 0; i + 1 < sizeof method; i += 2) {
            wchar_t unit = static_cast<wchar_t>(method[i] | (method[i + 1] << 8));
            if (unit == L'\0') break;
            text += unit;
        }
        return text;
    }
    for (unsigned char byte : method) {
        if (byte == 0) break;
        if (byte >= 0x20 && byte < 0x7F) {
            text += static_cast<wchar_t>(byte);
        } else {
            text += L"\\x";
            text += kHexDigits[byte >> 4];
            text += kHexDigits[byte & 0xF];
        }
    }
    return text;
}

bool IsPlainFileName(std::wstring_view name) {
    if (name.empty() || name == L"." || name == L"..") return false;
    if (name.back() == L'.' || name.back() == L' ') return false;
    for (wchar_t unit : name) {
        if (unit < 0x20) return false;
        if (std::wstring_view(L"\\/:*?\"<>|").find(unit) != std::wstring_view::npos) return false;
    }
    return true;
}

}  // namespace quarn::spihost

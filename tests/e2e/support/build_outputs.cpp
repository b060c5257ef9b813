#include "tests/e2e/support/build_outputs.h"

namespace quarn::e2e {
namespace {

// The build names its outputs by Unix paths; Wine shows the Unix root as Z:.
std::wstring WindowsPathOf(const char* path) {
    std::wstring out = path[0] == '/' ? L"Z:" : L"";
    for (const char* c = path; *c != '\0'; ++c) out += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    return out;
}

}  // namespace

std::wstring BuiltPlugin() { return WindowsPathOf(QUARN_SPI); }
std::wstring BuiltToolDouble() { return WindowsPathOf(TAR_DOUBLE); }

}  // namespace quarn::e2e

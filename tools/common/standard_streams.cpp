#include "tools/common/standard_streams.h"

namespace quarn {
namespace {

bool IsUsable(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }

}  // namespace

bool WriteToStandard(DWORD which, std::string_view bytes) {
    HANDLE handle = ::GetStdHandle(which);
    if (!IsUsable(handle)) return true;
    while (!bytes.empty()) {
        DWORD chunk = bytes.size() > 0x100000 ? 0x100000 : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!::WriteFile(handle, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

}  // namespace quarn

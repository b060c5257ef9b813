// Entry times as the records hold them: seconds since 1970-01-01 UTC.
#pragma once

#include <cstdint>
#include <string>

namespace quarn::spihost {

// "YYYY-MM-DD hh:mm:ss" in UTC for any value of the 32-bit field, those
// before 1970 included; worked out by calendar arithmetic, not through the
// C runtime's gmtime, whose range for negative times differs by runtime.
std::wstring FormatUtcTime(int32_t secondsSince1970);

}  // namespace quarn::spihost

#include "tools/spihost/timestamp.h"

namespace quarn::spihost {
namespace {

struct CivilDate {
    int64_t year;
    unsigned month;  // 1..12
    unsigned day;    // 1..31
};

// The proleptic Gregorian date `days` after 1970-01-01, counted in 400-year
// eras that start on March 1st so that the leap day ends each year.
CivilDate CivilFromDays(int64_t days) {
    days += 719468;  // days from 0000-03-01 to 1970-01-01
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t dayOfEra = days - era * 146097;
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;  // 0 is March
    CivilDate date;
    date.day = static_cast<unsigned>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    date.month = static_cast<unsigned>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    date.year = yearOfEra + era * 400 + (date.month <= 2 ? 1 : 0);
    return date;
}

// Never given a negative value: the 32-bit field spans the years 1901 to 2038.
void AppendPadded(std::wstring& text, int64_t value, size_t digits) {
    const std::wstring number = std::to_wstring(value);
    if (number.size() < digits) text.append(digits - number.size(), L'0');
    text += number;
}

}  // namespace

std::wstring FormatUtcTime(int32_t secondsSince1970) {
    constexpr int64_t kSecondsPerDay = 86400;
    const int64_t seconds = secondsSince1970;
    int64_t days = seconds / kSecondsPerDay;
    int64_t secondOfDay = seconds % kSecondsPerDay;
    if (secondOfDay < 0) {
        secondOfDay += kSecondsPerDay;
        --days;
    }
    const CivilDate date = CivilFromDays(days);
    std::wstring text;
    AppendPadded(text, date.year, 4);
    text += L'-';
    AppendPadded(text, date.month, 2);
    text += L'-';
    AppendPadded(text, date.day, 2);
    text += L' ';
    AppendPadded(text, secondOfDay / 3600, 2);
    text += L':';
    AppendPadded(text, secondOfDay / 60 % 60, 2);
    text += L':';
    AppendPadded(text, secondOfDay % 60, 2);
    return text;
}

}  // namespace quarn::spihost

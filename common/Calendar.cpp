#include "common/Calendar.h"

namespace {

constexpr std::int64_t kDay = 24 * 60 * 60;

// Days since 1970-01-01 of a civil date, and back (H. Hinnant,
// "chrono-Compatible Low-Level Date Algorithms"): years begin in March, so
// that the leap day comes last.
std::int64_t DaysOf(std::int64_t year, std::int64_t month, std::int64_t day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    return era * 146097 + yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear - 719468;
}

LocalTime DateOf(std::int64_t days) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shifted = (5 * dayOfYear + 2) / 153;
    const std::int64_t month = shifted < 10 ? shifted + 3 : shifted - 9;
    LocalTime date;
    date.year = static_cast<WORD>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
    date.month = static_cast<WORD>(month);
    date.day = static_cast<WORD>(dayOfYear - (153 * shifted + 2) / 5 + 1);
    return date;
}

}  // namespace

std::int64_t SecondsOf(const LocalTime& time) {
    return DaysOf(time.year, time.month, time.day) * kDay + time.hour * 3600 + time.minute * 60 + time.second;
}

LocalTime LocalTimeAt(std::int64_t seconds) {
    const std::int64_t days = (seconds >= 0 ? seconds : seconds - kDay + 1) / kDay;
    const std::int64_t second = seconds - days * kDay;
    LocalTime time = DateOf(days);
    time.hour = static_cast<WORD>(second / 3600);
    time.minute = static_cast<WORD>(second % 3600 / 60);
    time.second = static_cast<WORD>(second % 60);
    return time;
}

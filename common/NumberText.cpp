#include "common/NumberText.h"

namespace {

std::string InBase(unsigned long number, unsigned base, int digits) {
    std::string text;
    do {
        text.insert(text.begin(), "0123456789abcdef"[number % base]);
        number /= base;
    } while (number != 0);
    if (digits > static_cast<int>(text.size())) text.insert(0, digits - text.size(), '0');
    return text;
}

}  // namespace

std::string DecimalNumber(unsigned long number, int digits) { return InBase(number, 10, digits); }

std::string HexNumber(unsigned long number, int digits) { return InBase(number, 16, digits); }

std::optional<std::uint64_t> DigitsValue(const std::string& text, std::size_t most) {
    if (text.empty() || text.size() > most || text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (const char digit : text) value = value * 10 + static_cast<std::uint64_t>(digit - '0');
    return value;
}

std::string DateTimeText(const LocalTime& time, bool withSeconds) {
    return DecimalNumber(time.year, 4) + "-" + DecimalNumber(time.month, 2) + "-" + DecimalNumber(time.day, 2) + " " +
           DecimalNumber(time.hour, 2) + ":" + DecimalNumber(time.minute, 2) +
           (withSeconds ? ":" + DecimalNumber(time.second, 2) : std::string());
}

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

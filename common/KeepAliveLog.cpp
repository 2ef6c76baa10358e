#include "common/KeepAliveLog.h"

#include "common/NumberText.h"

namespace {

// What DateTimeText writes with seconds: '9' stands for a digit.
constexpr char kTimePattern[] = "9999-99-99 99:99:99";
constexpr std::size_t kTimeLength = sizeof kTimePattern - 1;

bool MatchesPattern(const std::string& line) {
    for (std::size_t i = 0; i < kTimeLength; ++i) {
        const bool digit = line[i] >= '0' && line[i] <= '9';
        if (kTimePattern[i] == '9' ? !digit : line[i] != kTimePattern[i]) return false;
    }
    return true;
}

// The digits at line[first, first + count) as a number within [low, high].
std::optional<WORD> Field(const std::string& line, std::size_t first, std::size_t count, int low, int high) {
    int value = 0;
    for (std::size_t i = first; i < first + count; ++i) value = value * 10 + (line[i] - '0');
    if (value < low || value > high) return std::nullopt;
    return static_cast<WORD>(value);
}

}  // namespace

std::string KeepAliveLog::Line(const LocalTime& time, const std::string& text) {
    return DateTimeText(time, true) + "  " + text + "\r\n";
}

std::optional<KeepAliveLog::Entry> KeepAliveLog::Read(const std::string& line) {
    if (line.size() <= kTimeLength + 2 || !MatchesPattern(line) || line.compare(kTimeLength, 2, "  ") != 0) {
        return std::nullopt;
    }
    const auto month = Field(line, 5, 2, 1, 12);
    const auto day = Field(line, 8, 2, 1, 31);
    const auto hour = Field(line, 11, 2, 0, 23);
    const auto minute = Field(line, 14, 2, 0, 59);
    const auto second = Field(line, 17, 2, 0, 59);
    if (!month || !day || !hour || !minute || !second) return std::nullopt;
    const WORD year = *Field(line, 0, 4, 0, 9999);
    return Entry{{year, *month, *day, *hour, *minute, *second}, line.substr(kTimeLength + 2)};
}

#include "day_watch_rules.h"

#include <algorithm>

bool IsDayWatchCommandLine(std::wstring_view arguments) {
    constexpr std::wstring_view kBlanks = L" \t";
    size_t first = arguments.find_first_not_of(kBlanks);
    if (first == std::wstring_view::npos)
        return false;
    arguments = arguments.substr(first, arguments.find_last_not_of(kBlanks) - first + 1);
    std::wstring_view name = std::wstring_view(kDayWatchSwitch).substr(1);
    if (arguments.size() != name.size() + 1 || (arguments[0] != L'/' && arguments[0] != L'-'))
        return false;
    // The switch is ASCII: folding a-z is all the case-blindness it needs.
    auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? wchar_t(c - L'A' + L'a') : c; };
    return std::equal(name.begin(), name.end(), arguments.begin() + 1,
                      [&](wchar_t a, wchar_t b) { return a == lower(b); });
}

int32_t DayNumber(int year, int month, int day) {
    return year * 10000 + month * 100 + day;
}

bool TakeDayToGreet(std::set<int32_t>& greetedDays, int32_t day) {
    return greetedDays.insert(day).second;
}

uint32_t MidnightTimerDelay(int64_t millisecondsToMidnight) {
    constexpr int64_t kPastMidnight = 1000;
    constexpr int64_t kLongestDay = 25 * 3600 * 1000;
    return static_cast<uint32_t>(std::clamp<int64_t>(millisecondsToMidnight, 0, kLongestDay) +
                                 kPastMidnight);
}

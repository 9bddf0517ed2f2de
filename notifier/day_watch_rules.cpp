#include "day_watch_rules.h"

#include <algorithm>
#include <vector>

namespace {

// "/name" or "-name", the name compared without case: the switches are ASCII, so folding a-z is
// all the case-blindness they need.
bool IsSwitch(std::wstring_view word, std::wstring_view name) {
    name.remove_prefix(1);
    auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? wchar_t(c - L'A' + L'a') : c; };
    return word.size() == name.size() + 1 && (word[0] == L'/' || word[0] == L'-') &&
           std::equal(name.begin(), name.end(), word.begin() + 1,
                      [&](wchar_t a, wchar_t b) { return a == lower(b); });
}

} // namespace

StartKind StartKindOf(std::wstring_view arguments) {
    constexpr std::wstring_view kBlanks = L" \t";
    std::vector<std::wstring_view> words;
    for (size_t start = arguments.find_first_not_of(kBlanks); start != std::wstring_view::npos;
         start = arguments.find_first_not_of(kBlanks, start)) {
        size_t end = std::min(arguments.find_first_of(kBlanks, start), arguments.size());
        words.push_back(arguments.substr(start, end - start));
        start = end;
    }
    if (words.empty() || !IsSwitch(words[0], kDayWatchSwitch))
        return StartKind::Plain;
    if (words.size() == 1)
        return StartKind::DayWatch;
    if (words.size() == 2 && IsSwitch(words[1], kRestartSwitch))
        return StartKind::RestartedWatch;
    return StartKind::Plain;
}

int32_t DayNumber(int year, int month, int day) {
    return year * 10000 + month * 100 + day;
}

bool TakeDayToGreet(std::set<int32_t>& greetedDays, int32_t day) {
    return greetedDays.insert(day).second;
}

uint32_t TimerDelay(int64_t millisecondsToDue) {
    constexpr int64_t kPastDue = 1000;
    constexpr int64_t kLongestDay = 25 * 3600 * 1000;
    return static_cast<uint32_t>(std::clamp<int64_t>(millisecondsToDue, 0, kLongestDay) + kPastDue);
}

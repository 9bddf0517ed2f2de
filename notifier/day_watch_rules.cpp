#include "day_watch_rules.h"

#include "date_text.h"
#include "greeting.h"

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

namespace {

int32_t DayOf(int64_t moment) {
    return static_cast<int32_t>(moment / kMomentsPerDay);
}

int32_t DayOf(const Today& day) {
    return DayOf(LocalMoment(day.year, day.month, day.day, 0, 0, 0));
}

} // namespace

void StartDays(WatchDays& watch, std::optional<int64_t> remembered, int64_t now, bool restarted) {
    watch.remembered = remembered;
    if (!restarted || !remembered || DayOf(*remembered) != DayOf(now))
        return;
    // Today's list was seen, and every alert due by the remembered moment.
    DayRecord& day = watch.days[DayOf(now)];
    day.listedAt = *remembered;
    day.lookedUntil = *remembered;
    watch.lastLook = *remembered;
}

DayRecord& VisitDay(WatchDays& watch, int64_t now, bool& isNew) {
    int32_t number = DayOf(now), lastDay = DayOf(watch.lastLook);
    bool back = now < watch.lastLook;
    if (back)
        watch.days.erase(watch.days.upper_bound(number), watch.days.end());
    auto [entry, added] = watch.days.try_emplace(number);
    DayRecord& day = entry->second;
    isNew = added;
    if (!added && back && now < day.lookedUntil)
        day.lookedUntil = std::max(now, day.listedAt);
    // What the last look found next was for another day, or for a later moment.
    if (!added && (back || number != lastDay))
        day.upToDate = false;
    watch.lastLook = now;
    while (watch.days.size() > kDaysKept)
        watch.days.erase(watch.days.begin());
    return day;
}

Today TodayAt(int64_t moment) {
    int64_t date = moment / kMomentsPerDay;
    return TodayFromDate(static_cast<int16_t>(date % 100), static_cast<int16_t>(date / 100 % 100),
                         static_cast<int16_t>(date / 10000));
}

void NoteFolderChange(WatchDays& watch, int64_t now) {
    auto found = watch.days.find(DayOf(now));
    if (found == watch.days.end() || found->first != DayOf(watch.lastLook) ||
        !found->second.upToDate)
        return;
    DayRecord& day = found->second;
    // Moments are whole seconds: one less orders just before the next alert's.
    int64_t seen = day.nextAlert ? std::min(now, *day.nextAlert - 1) : now;
    day.lookedUntil = std::max(day.lookedUntil, seen);
}

std::vector<MissedReminder> MissedReminders(const std::vector<Reminder>& table,
                                            std::optional<int64_t> remembered, const Today& today) {
    std::vector<MissedReminder> missed;
    if (!remembered || DayOf(*remembered) >= DayOf(today))
        return missed;
    for (size_t i = 0; i < table.size(); ++i) {
        int day = 0, month = 0, year = 0;
        if (table[i].active == 0 || !ReadLongDate(table[i].date, day, month, year))
            continue;
        int32_t number = DayOf(LocalMoment(year, month, day, 0, 0, 0));
        if (number > DayOf(*remembered) && number < DayOf(today))
            missed.push_back(
                {i, TodayFromDate(static_cast<int16_t>(day), static_cast<int16_t>(month),
                                  static_cast<int16_t>(year))});
    }
    std::stable_sort(missed.begin(), missed.end(),
                     [](const auto& a, const auto& b) { return DayOf(a.day) < DayOf(b.day); });
    return missed;
}

std::optional<int64_t> MomentToRemember(const WatchDays& watch) {
    auto found = watch.days.find(DayOf(watch.lastLook));
    if (found == watch.days.end())
        return std::nullopt;
    const DayRecord& day = found->second;
    if (!day.listedAt || !day.upToDate || !day.owed.empty())
        return std::nullopt;
    return day.lookedUntil;
}

uint32_t TimerDelay(int64_t millisecondsToDue) {
    constexpr int64_t kPastDue = 1000;
    constexpr int64_t kLongestDay = 25 * 3600 * 1000;
    return static_cast<uint32_t>(std::clamp<int64_t>(millisecondsToDue, 0, kLongestDay) + kPastDue);
}

uint32_t NextLookDelay(const ClockReading& now, const DayRecord& day, bool folderWatched,
                       LocalMomentAtFunction localMomentAt) {
    int64_t due = NextDayStart(now.moment);
    if (day.upToDate && day.nextAlert && *day.nextAlert < due)
        due = *day.nextAlert;
    int64_t wait = TimerDelay(FirstInstantShowing(due, now.instant, localMomentAt) - now.instant);
    if (!day.upToDate)
        wait = std::min(wait, kRetryAfterFailedRead);
    if (!folderWatched)
        wait = std::min(wait, kLookWithoutNotices);
    return static_cast<uint32_t>(wait);
}
